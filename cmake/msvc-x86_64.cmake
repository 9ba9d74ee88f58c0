# The x86_64 launcher built by Microsoft's rules: clang-cl with Wine's SDK.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
include(${CMAKE_CURRENT_LIST_DIR}/msvc-wine-sdk.cmake)

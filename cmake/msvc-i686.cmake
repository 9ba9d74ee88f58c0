# The shipped 32-bit launcher built by Microsoft's rules: clang-cl with Wine's SDK.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine32-run)
include(${CMAKE_CURRENT_LIST_DIR}/msvc-wine-sdk.cmake)

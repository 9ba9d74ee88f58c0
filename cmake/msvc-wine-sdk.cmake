# clang in MSVC mode (clang-cl, lld-link, llvm-rc) against Wine's Windows headers and import
# libraries: the language and linking rules of Microsoft's toolchain, checked on Linux. CMake
# sees an MSVC front end, so the project takes its MSVC branches. msvc-i686.cmake and
# msvc-x86_64.cmake set the processor and include this file.
set(CMAKE_SYSTEM_NAME Windows)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(wine_arch i386)
else()
  set(wine_arch x86_64)
endif()

# clang-cl comes with Debian's clang-tools-N, not with clang: the newest LLVM that has it
# serves, with its own linker, librarian and resource compiler.
file(GLOB llvm_clang_cl /usr/lib/llvm-*/bin/clang-cl)
if(NOT llvm_clang_cl)
  message(FATAL_ERROR "clang-cl not found under /usr/lib/llvm-*/bin (Debian's clang-tools; tools/setup installs it)")
endif()
list(SORT llvm_clang_cl COMPARE NATURAL ORDER DESCENDING)
list(GET llvm_clang_cl 0 clang_cl)
get_filename_component(llvm_bin ${clang_cl} DIRECTORY)
set(CMAKE_C_COMPILER ${clang_cl})
set(CMAKE_CXX_COMPILER ${clang_cl})
set(CMAKE_C_COMPILER_TARGET ${CMAKE_SYSTEM_PROCESSOR}-pc-windows-msvc)
set(CMAKE_CXX_COMPILER_TARGET ${CMAKE_SYSTEM_PROCESSOR}-pc-windows-msvc)
set(CMAKE_LINKER ${llvm_bin}/lld-link)
set(CMAKE_AR ${llvm_bin}/llvm-lib)
set(CMAKE_RC_COMPILER ${llvm_bin}/llvm-rc)
set(CMAKE_MT ${llvm_bin}/llvm-mt)

set(wine_include /usr/include/wine/wine)
set(wine_lib /usr/lib/${wine_arch}-linux-gnu/wine/${wine_arch}-windows)
if(NOT EXISTS ${wine_include}/windows/windows.h OR NOT EXISTS ${wine_lib}/libkernel32.a)
  message(FATAL_ERROR "Wine's headers or ${wine_arch} import libraries are missing (libwine-dev; tools/setup installs it)")
endif()

# Wine's headers as the SDK: its own C runtime's declarations (_MSVCR_VER=0 is msvcrt.dll,
# not the UCRT), WCHAR as wchar_t in C++, and the few Interlocked functions winnt.h defines
# inline that clang-cl knows as builtins renamed out of the way. Wine's runtime has no
# security-cookie support, so stack cookies are off.
set(wine_flags "/imsvc ${wine_include}/msvcrt /imsvc ${wine_include}/windows -D_MSVCR_VER=0 -DWINE_UNICODE_NATIVE /GS-")
if(wine_arch STREQUAL "i386")
  foreach(name And64 CompareExchangePointer ExchangeAdd64 ExchangePointer Increment64 Decrement64 Or64 Xor64)
    string(APPEND wine_flags " -D_Interlocked${name}=WineInterlocked${name}")
  endforeach()
else()
  string(APPEND wine_flags " -D_InterlockedCompareExchange128=WineInterlockedCompareExchange128")
endif()
set(CMAKE_C_FLAGS_INIT "${wine_flags}")
set(CMAKE_CXX_FLAGS_INIT "${wine_flags}")

# Wine's import libraries are GNU archives named libNAME.a; lld-link reads them under the
# NAME.lib names a link line uses. Wine ships no static C runtime: its msvcrt import library
# stands in, with its own start-up (mainCRTStartup, which calls WinMain through main and runs
# no C++ initialisers: the launcher has none). Its objects carry no SafeSEH table.
set(wine_libs ${CMAKE_BINARY_DIR}/wine-import-libraries)
file(MAKE_DIRECTORY ${wine_libs})
file(GLOB wine_archives ${wine_lib}/lib*.a)
foreach(archive ${wine_archives})
  get_filename_component(name ${archive} NAME_WE)
  string(REGEX REPLACE "^lib" "" name ${name})
  if(NOT EXISTS ${wine_libs}/${name}.lib)
    file(CREATE_LINK ${archive} ${wine_libs}/${name}.lib SYMBOLIC)
  endif()
endforeach()
set(wine_link "/libpath:${wine_libs} /nodefaultlib:libcmt /nodefaultlib:libcmtd /nodefaultlib:oldnames /entry:mainCRTStartup")
if(wine_arch STREQUAL "i386")
  string(APPEND wine_link " /safeseh:no")
endif()
set(CMAKE_EXE_LINKER_FLAGS_INIT "${wine_link}")
set(CMAKE_C_STANDARD_LIBRARIES "kernel32.lib user32.lib gdi32.lib ole32.lib oleaut32.lib uuid.lib msvcrt.lib")
set(CMAKE_CXX_STANDARD_LIBRARIES "${CMAKE_C_STANDARD_LIBRARIES}")

# There is no MSVC-ABI C++ standard library here, so GoogleTest cannot be built: this build is
# tested as executables, driven by the MinGW build's test programs.
set(CMAKE_DISABLE_FIND_PACKAGE_GTest TRUE)
set(LAUNCHER_GOOGLETEST_SOURCE "")

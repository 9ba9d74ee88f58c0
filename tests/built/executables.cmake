# The executables themselves, as built: format, subsystem, imports, resources, compatibility
# with the oldest supported Windows, a reproducible rebuild, the release zip, each check also
# shown to reject an executable built wrong; then the launcher driven under Wine by the
# end-to-end tests and its resources read back. The checks that need no Wine carry
# the label "static", so tools/test --skip-win32 still runs them.

set(EXECUTABLE_CHECK ${CMAKE_CURRENT_LIST_DIR}/check-executable)
set(COMPATIBILITY_CHECK ${CMAKE_CURRENT_LIST_DIR}/compatibility/check-compatibility)
add_test(NAME launcher_executable COMMAND ${EXECUTABLE_CHECK} $<TARGET_FILE:launcher> ${CMAKE_SYSTEM_PROCESSOR})
# Every import known on the oldest Windows the build supports, by name, no delay loading, and
# a subsystem version that Windows accepts.
add_test(NAME launcher_compatibility COMMAND ${COMPATIBILITY_CHECK} $<TARGET_FILE:launcher> ${CMAKE_SYSTEM_PROCESSOR})
set_tests_properties(launcher_executable launcher_compatibility PROPERTIES TIMEOUT 60 LABELS static)

# Every check shown to reject: the launcher itself, built wrong in one way each
# (rejected_launcher.cpp), its own entry point compiled in under another name, refused by the
# check's exit status and for that reason alone (rejected_by).
add_library(shipped_entry OBJECT ${PROJECT_SOURCE_DIR}/src/launch/main.cpp)
target_compile_definitions(shipped_entry PRIVATE WinMain=ShippedWinMain)
target_link_libraries(shipped_entry PUBLIC launcher_windows)
function(rejected_launcher name)
  cmake_parse_arguments(R "" "" "FAULT;SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} WIN32 ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/rejected_launcher.cpp
                               ${PROJECT_SOURCE_DIR}/res/launcher.rc ${R_SOURCES})
  target_compile_definitions(${name} PRIVATE ${R_FAULT})
  target_link_libraries(${name} PRIVATE shipped_entry ${R_LIBRARIES})
endfunction()

# Subsystem 6.0 (Vista), and one minor version above what XP takes (5.2 for i686: the whole
# version counts, not only its major part).
math(EXPR above_floor "${subsystem_minor} + 1")
foreach(version 6.0 5.${above_floor})
  string(REPLACE "." "_" name subsystem_${version})
  string(REPLACE "." ";" parts ${version})
  list(GET parts 0 major)
  list(GET parts 1 minor)
  rejected_launcher(${name})
  if(MSVC)
    target_link_options(${name} PRIVATE /SUBSYSTEM:WINDOWS,${major}.0${minor})
  else()
    target_link_options(${name} PRIVATE -Wl,--major-subsystem-version,${major}
                                        -Wl,--minor-subsystem-version,${minor})
  endif()
  rejected_by(compatibility_rejects_${name} "FAIL: subsystem version ${version},"
    ${COMPATIBILITY_CHECK} $<TARGET_FILE:${name}> ${CMAKE_SYSTEM_PROCESSOR})
endforeach()
# Functions XP lacks, each imported alone: the one the launcher looks up at run time instead,
# and GetTickCount64, the Vista import a change would most likely bring in.
foreach(row NEWER_IMPORT:SetDefaultDllDirectories TICK_COUNT_IMPORT:GetTickCount64)
  string(REPLACE ":" ";" row ${row})
  list(GET row 0 fault)
  list(GET row 1 function)
  string(TOLOWER ${function} name)
  rejected_launcher(${name}_import FAULT ${fault})
  rejected_by(compatibility_rejects_${name} "FAIL: kernel32.dll!${function} is not known"
    ${COMPATIBILITY_CHECK} $<TARGET_FILE:${name}_import> ${CMAKE_SYSTEM_PROCESSOR})
endforeach()
# Every other rule of both checks and of the PE reader, each broken alone in a copy of the launcher.
add_test(NAME executable_checks_reject_spoiled_copies
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/spoiled-executables $<TARGET_FILE:launcher> ${CMAKE_SYSTEM_PROCESSOR})
set_tests_properties(executable_checks_reject_spoiled_copies PROPERTIES TIMEOUT 60 LABELS static)

# A resource too many, version.dll imported, the toolchain's DLLs.
rejected_launcher(version_resource SOURCES ${CMAKE_CURRENT_LIST_DIR}/version_resource.rc)
rejected_launcher(version_import FAULT VERSION_IMPORT LIBRARIES version)
# Linked as the toolchain links by default, without -static, it imports the C++ runtime's
# DLLs. The MSVC-mode builds have no such runtime here: they take the MinGW build's program.
if(NOT MSVC)
  rejected_launcher(toolchain_dll_import FAULT RUNTIME_DLL)
  set_property(TARGET toolchain_dll_import PROPERTY LINK_OPTIONS "")
  set(toolchain_dll_import $<TARGET_FILE:toolchain_dll_import>)
elseif(LAUNCHER_TEST_PROGRAMS)
  set(toolchain_dll_import ${LAUNCHER_TEST_PROGRAMS}/toolchain_dll_import.exe)
endif()
rejected_by(executable_rejects_a_version_resource "FAIL: resources"
  ${EXECUTABLE_CHECK} $<TARGET_FILE:version_resource> ${CMAKE_SYSTEM_PROCESSOR})
rejected_by(executable_rejects_a_version_dll_import "FAIL: version.dll not imported"
  ${EXECUTABLE_CHECK} $<TARGET_FILE:version_import> ${CMAKE_SYSTEM_PROCESSOR})
if(toolchain_dll_import)
  rejected_by(executable_rejects_a_toolchain_dll "FAIL: no DLL but the system's"
    ${EXECUTABLE_CHECK} ${toolchain_dll_import} ${CMAKE_SYSTEM_PROCESSOR})
endif()
# For the checks that run the launcher (spoiled-executables finds them beside the window driver).
if(TARGET window_driver)
  rejected_launcher(exit_status_launcher FAULT EXIT_STATUS)
  rejected_launcher(exit_process_launcher FAULT EXIT_PROCESS)
  rejected_launcher(owner_window_at_gate_launcher FAULT OWNER_WINDOW_AT_GATE)
endif()

# A launcher built with the DLL runtime would need the runtime's DLL beside it (with Visual
# Studio, vcruntime140.dll), and Wine's single msvcrt would not show it: it must not build.
if(MSVC)
  add_executable(dll_runtime_launcher WIN32 EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/src/launch/main.cpp)
  target_link_libraries(dll_runtime_launcher PRIVATE launcher_windows)
  set_property(TARGET dll_runtime_launcher PROPERTY MSVC_RUNTIME_LIBRARY MultiThreadedDLL)
  rejected_by(dll_runtime_does_not_build "the launcher carries its C runtime"
    ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target dll_runtime_launcher)
endif()

# The shipped target, and every MSVC-mode launcher, built twice elsewhere from the same
# sources, gives the same bytes. Each preset builds in build/<preset name>.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686" OR MSVC)
  get_filename_component(preset ${CMAKE_BINARY_DIR} NAME)
  add_test(NAME launcher_reproducible
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-reproducible ${PROJECT_SOURCE_DIR} ${preset} $<TARGET_FILE:launcher>)
  add_test(NAME release_zip_rejects_spoiled_copies
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/spoiled-release-zips $<TARGET_FILE:launcher>)
  # The rebuilds take both processors each: one at a time, the other slot runs the tests that
  # show windows meanwhile.
  set_tests_properties(launcher_reproducible PROPERTIES TIMEOUT 300 LABELS static RESOURCE_LOCK rebuilds)
  set_tests_properties(release_zip_rejects_spoiled_copies PROPERTIES TIMEOUT 60 LABELS static)
endif()
# Every rule of the reproducibility check fires, on the shipped preset: each row's two builds
# are made once and kept for the runs after.
if(preset STREQUAL "win32")
  add_test(NAME reproducible_rejects_spoiled_sources
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/spoiled-sources ${PROJECT_SOURCE_DIR} $<TARGET_FILE:launcher>
            ${CMAKE_BINARY_DIR}/spoiled-sources)
  set_tests_properties(reproducible_rejects_spoiled_sources PROPERTIES TIMEOUT 600 LABELS static RESOURCE_LOCK rebuilds)
endif()

# GCC checks BoundedFormat's formats by the C runtime's rules, and its arguments against
# them: %Iu of a size compiles; %zu (GNU's, unknown to msvcrt), a pointer or a 64-bit value
# for %d must not.
if(NOT MSVC)
  foreach(rules KNOWN_TO_RUNTIME UNKNOWN_TO_RUNTIME POINTER_FOR_D WIDE_FOR_D)
    string(TOLOWER format_rules_${rules} test)
    add_test(NAME ${test}
      COMMAND ${CMAKE_CXX_COMPILER} -std=c++17 -fsyntax-only -Wformat -Werror -D${rules}
              -I${PROJECT_SOURCE_DIR}/src/launch ${PROJECT_SOURCE_DIR}/tests/launch/format_rules.cpp)
    set_tests_properties(${test} PROPERTIES TIMEOUT 60 LABELS static)
    if(NOT rules STREQUAL "KNOWN_TO_RUNTIME")
      set_tests_properties(${test} PROPERTIES WILL_FAIL TRUE)
    endif()
  endforeach()
endif()

# The programs that drive the launcher under Wine: this build's own, or those of the MinGW
# build of the same processor, pointed at this build's launcher (Wine's drive Z: is the root).
set(LAUNCHER_TEST_PROGRAMS "" CACHE PATH "A MinGW build's tests folder whose programs drive this build's launcher")
# Each run names the launcher it drives; the programs refuse to run without one.
set(launcher_environment "ORBIVANE_LAUNCHER=Z:$<TARGET_FILE:launcher>")
if(TARGET end_to_end_tests)
  set(end_to_end $<TARGET_FILE:end_to_end_tests>)
  set_property(TEST ui_tests APPEND PROPERTY ENVIRONMENT ${launcher_environment})
elseif(LAUNCHER_TEST_PROGRAMS)
  set(end_to_end ${LAUNCHER_TEST_PROGRAMS}/end_to_end_tests.exe)
  # The resources as this build's resource compiler wrote them.
  add_test(NAME launcher_resources COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${LAUNCHER_TEST_PROGRAMS}/ui_tests.exe)
  set_tests_properties(launcher_resources PROPERTIES TIMEOUT 60 RESOURCE_LOCK desktop)
  set_property(TEST launcher_resources PROPERTY ENVIRONMENT "GTEST_FILTER=LauncherResources.*" ${launcher_environment})
else()
  return()
endif()
add_test(NAME end_to_end_tests COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${end_to_end})
set_tests_properties(end_to_end_tests PROPERTIES TIMEOUT 240 RESOURCE_LOCK desktop)
set_property(TEST end_to_end_tests PROPERTY ENVIRONMENT "GTEST_FILTER=-*Gate*" ${launcher_environment})
# The same program once more, with Wine's DxDiag provider disabled for the gate.
add_test(NAME end_to_end_gate COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${end_to_end})
set_tests_properties(end_to_end_gate PROPERTIES TIMEOUT 120 RESOURCE_LOCK desktop)
set_property(TEST end_to_end_gate PROPERTY ENVIRONMENT "GTEST_FILTER=*Gate*" "WINEDLLOVERRIDES=mscoree,mshtml,dxdiagn="
  ${launcher_environment})

# What the real launcher hands the platform (the owner window, the dialog's owner, the message
# boxes, the replace, the game's command line), seen in Wine's relay trace as it arrives.
if(TARGET window_driver)
  set(test_programs $<TARGET_FILE_DIR:window_driver>)
else()
  set(test_programs ${LAUNCHER_TEST_PROGRAMS})
endif()
add_test(NAME launcher_calls
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-launcher-calls $<TARGET_FILE:launcher> ${CMAKE_SYSTEM_PROCESSOR}
          ${test_programs}/window_driver.exe)
set_tests_properties(launcher_calls PROPERTIES TIMEOUT 240 RESOURCE_LOCK desktop)

# Signed with a throwaway certificate, the launcher still verifies, checks out and starts.
if(TARGET window_driver)
  add_test(NAME launcher_signed
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/check-signing $<TARGET_FILE:launcher> ${CMAKE_SYSTEM_PROCESSOR}
            $<TARGET_FILE:window_driver>)
  set_tests_properties(launcher_signed PROPERTIES TIMEOUT 120 RESOURCE_LOCK desktop)
  # The checks that run the launcher, shown to reject spoiled copies of it.
  add_test(NAME checks_under_wine_reject_spoiled_copies
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/spoiled-executables $<TARGET_FILE:launcher> ${CMAKE_SYSTEM_PROCESSOR}
            $<TARGET_FILE:window_driver>)
  set_tests_properties(checks_under_wine_reject_spoiled_copies PROPERTIES TIMEOUT 240 RESOURCE_LOCK desktop)
endif()

# The executables themselves, as built: format, subsystem, imports, resources, compatibility
# with the oldest supported Windows, a reproducible rebuild; then the launcher driven under
# Wine by the end-to-end tests and its resources read back. The checks that need no Wine carry
# the label "static", so tools/test --skip-win32 still runs them.

add_test(NAME launcher_executable
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check-executable $<TARGET_FILE:launcher> ${CMAKE_SYSTEM_PROCESSOR})
set_tests_properties(launcher_executable PROPERTIES TIMEOUT 60 LABELS static)

# Every import known on the oldest Windows the build supports, by name, no delay loading, and
# a subsystem version that Windows accepts. Two programs newer than XP show that it rejects.
set(COMPATIBILITY_CHECK ${CMAKE_CURRENT_SOURCE_DIR}/compatibility/check-compatibility)
add_test(NAME launcher_compatibility COMMAND ${COMPATIBILITY_CHECK} $<TARGET_FILE:launcher> ${CMAKE_SYSTEM_PROCESSOR})
add_executable(vista_import WIN32 compatibility/newer_than_xp.cpp)
target_compile_definitions(vista_import PRIVATE VISTA_IMPORT)
add_executable(vista_subsystem WIN32 compatibility/newer_than_xp.cpp)
if(MSVC)
  target_link_options(vista_subsystem PRIVATE /SUBSYSTEM:WINDOWS,6.0)
else()
  target_link_options(vista_subsystem PRIVATE -Wl,--major-subsystem-version,6 -Wl,--minor-subsystem-version,0)
endif()
add_test(NAME compatibility_rejects_vista_import
  COMMAND ${COMPATIBILITY_CHECK} $<TARGET_FILE:vista_import> ${CMAKE_SYSTEM_PROCESSOR})
add_test(NAME compatibility_rejects_vista_subsystem
  COMMAND ${COMPATIBILITY_CHECK} $<TARGET_FILE:vista_subsystem> ${CMAKE_SYSTEM_PROCESSOR})
# The reason must be the one planted; the message appears only when the check fails.
set_tests_properties(compatibility_rejects_vista_import PROPERTIES
  PASS_REGULAR_EXPRESSION "FAIL: kernel32.dll!GetTickCount64 is not known")
set_tests_properties(compatibility_rejects_vista_subsystem PROPERTIES
  PASS_REGULAR_EXPRESSION "FAIL: subsystem version 6.0,")
set_tests_properties(launcher_compatibility compatibility_rejects_vista_import compatibility_rejects_vista_subsystem
  PROPERTIES TIMEOUT 60 LABELS static)

# The shipped target, and every MSVC-mode launcher, built twice elsewhere from the same
# sources, gives the same bytes. Each preset builds in build/<preset name>.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686" OR MSVC)
  get_filename_component(preset ${CMAKE_BINARY_DIR} NAME)
  add_test(NAME launcher_reproducible
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check-reproducible ${PROJECT_SOURCE_DIR} ${preset} $<TARGET_FILE:launcher>)
  set_tests_properties(launcher_reproducible PROPERTIES TIMEOUT 300 LABELS static)
endif()

# GCC checks BoundedFormat's formats by the C runtime's rules: a conversion only GNU's
# formatter knows is an error, one only the runtime knows is fine.
if(NOT MSVC)
  foreach(rules known unknown)
    set(define)
    if(rules STREQUAL "unknown")
      set(define -DUNKNOWN_TO_RUNTIME)
    endif()
    add_test(NAME format_rules_${rules}
      COMMAND ${CMAKE_CXX_COMPILER} -std=c++17 -fsyntax-only -Wformat -Werror ${define}
              -I${PROJECT_SOURCE_DIR}/src/launch ${CMAKE_CURRENT_SOURCE_DIR}/launch/format_rules.cpp)
    set_tests_properties(format_rules_${rules} PROPERTIES TIMEOUT 60 LABELS static)
  endforeach()
  set_tests_properties(format_rules_unknown PROPERTIES WILL_FAIL TRUE)
endif()

# The programs that drive the launcher under Wine: this build's own, or those of the MinGW
# build of the same processor, pointed at this build's launcher (Wine's drive Z: is the root).
set(LAUNCHER_TEST_PROGRAMS "" CACHE PATH "A MinGW build's tests folder whose programs drive this build's launcher")
if(TARGET end_to_end_tests)
  set(end_to_end $<TARGET_FILE:end_to_end_tests>)
  set(launcher_environment)
elseif(LAUNCHER_TEST_PROGRAMS)
  set(end_to_end ${LAUNCHER_TEST_PROGRAMS}/end_to_end_tests.exe)
  set(launcher_environment "ORBIVANE_LAUNCHER=Z:$<TARGET_FILE:launcher>")
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

# Signed with a throwaway certificate, the launcher still verifies, checks out and starts.
if(TARGET window_driver)
  add_test(NAME launcher_signed
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/check-signing $<TARGET_FILE:launcher> ${CMAKE_SYSTEM_PROCESSOR}
            $<TARGET_FILE:window_driver>)
  set_tests_properties(launcher_signed PROPERTIES TIMEOUT 120 RESOURCE_LOCK desktop)
endif()

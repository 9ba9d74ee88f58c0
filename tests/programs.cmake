# The GoogleTest programs: the platform-free tests (native and Windows builds), the Windows
# tests, the stand-in game and the window driver.

add_library(test_support STATIC support/temp_folder.cpp support/real_replacer.cpp)
if(WIN32)
  target_sources(test_support PRIVATE support/process_window.cpp)
endif()
target_include_directories(test_support PUBLIC support)
target_link_libraries(test_support PUBLIC launch_core GTest::gtest)

# A gtest program, registered with CTest.
function(launcher_test name)
  cmake_parse_arguments(T "GUI" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBRARIES} test_support GTest::gtest_main)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 60)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_GUI)
    # Windows of different tests share one desktop.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
  endif()
endfunction()

launcher_test(launch_tests
  SOURCES launch/bounded_text_test.cpp launch/settings_test.cpp
  LIBRARIES launch_core)
launcher_test(dxversion_tests
  SOURCES dxversion/version_detector_test.cpp dxversion/file_ladder_test.cpp
  LIBRARIES dxversion_core)

if(NOT WIN32)
  add_subdirectory(fuzz)
  return()
endif()

# The stand-in game: never shipped, never built beside launcher.exe.
add_executable(quarnel WIN32 launch/stand_in_game.cpp)
add_executable(window_driver ui/window_driver.cpp)
add_subdirectory(bench)

launcher_test(launch_windows_tests GUI
  SOURCES launch/launch_sequence_test.cpp launch/system_dlls_test.cpp
  LIBRARIES launcher_windows)
# A DLL that marks where it ran, under two names, only beside the test programs: what a load
# by name finds there is what a DLL dropped in the game's folder would get.
foreach(name planted_before planted_after)
  add_library(${name} MODULE launch/planted_dll.cpp)
  set_target_properties(${name} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(launch_windows_tests ${name})
endforeach()
launcher_test(dxversion_windows_tests
  SOURCES dxversion/dxdiag_query_test.cpp dxversion/file_version_test.cpp dxversion/real_platform_test.cpp
  LIBRARIES launcher_windows)
launcher_test(ui_tests GUI
  SOURCES ui/template_test.cpp ui/settings_dialog_test.cpp ui/owner_window_test.cpp ${PROJECT_SOURCE_DIR}/res/launcher.rc
  LIBRARIES launcher_windows)
# Registered with the checks of the executables, which also point it at other launchers.
add_executable(end_to_end_tests ui/end_to_end_test.cpp)
target_link_libraries(end_to_end_tests PRIVATE launcher_windows test_support GTest::gtest_main)
add_dependencies(end_to_end_tests launcher quarnel)
add_dependencies(ui_tests launcher)

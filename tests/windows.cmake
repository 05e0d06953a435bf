# The tests of the Windows build, included by tests/CMakeLists.txt: the core
# tests cross-built against Debian's googletest sources and run under Wine,
# and the two executables driven under Wine and a virtual display.

set(SCENARIO_GOOGLETEST_DIR /usr/src/googletest CACHE PATH
  "googletest's sources (Debian package googletest)")
# The Linux build whose files the Windows executables must write byte for byte
# (its velmora_dorsel and tools/scenarioc); without one that test is skipped.
set(SCENARIO_LINUX_BUILD "" CACHE PATH "A Linux build folder to compare the Windows files with")

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# googletest is built with its own warnings, not the project's.
get_directory_property(project_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS -ffp-contract=off)
add_subdirectory(${SCENARIO_GOOGLETEST_DIR} googletest EXCLUDE_FROM_ALL)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${project_options}")

# The core tests: those of the layers below the driver. The driver's and the
# tool's tests run the Linux programs through a shell; windows_wine_test.sh
# runs the Windows programs instead.
file(GLOB_RECURSE SCENARIO_TEST_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/base/*.cc ${CMAKE_CURRENT_SOURCE_DIR}/source/*.cc
  ${CMAKE_CURRENT_SOURCE_DIR}/compiler/*.cc ${CMAKE_CURRENT_SOURCE_DIR}/documents/*.cc)
list(APPEND SCENARIO_TEST_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/test_support.cc
  ${CMAKE_CURRENT_SOURCE_DIR}/golden_file.cc)
keep_platform_sources(SCENARIO_TEST_SOURCES)

add_executable(scenario_tests ${SCENARIO_TEST_SOURCES})
target_include_directories(scenario_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(scenario_tests PRIVATE scenario_core GTest::gtest GTest::gmock
  GTest::gtest_main)
# Wine shows the machine's root folder as drive Z:.
target_compile_definitions(scenario_tests PRIVATE
  SCENARIO_FIXTURES_DIR="Z:${CMAKE_CURRENT_SOURCE_DIR}/fixtures"
  SCENARIO_TESTS_DIR="Z:${CMAKE_CURRENT_SOURCE_DIR}")

# velmora_dorsel's own build with a pause and a board in the header cell, and
# a look at the windows and the console through Win32's own eyes.
add_executable(fatal_error_probe driver/fatal_error_probe_win32.cc)
target_link_libraries(fatal_error_probe PRIVATE scenario_core)
set_target_properties(fatal_error_probe PROPERTIES WIN32_EXECUTABLE ON)
add_executable(windows_on_screen driver/windows_on_screen_win32.cc)
target_link_libraries(windows_on_screen PRIVATE scenario_core)
add_executable(console_text driver/console_text_win32.cc)
target_link_libraries(console_text PRIVATE scenario_core)

add_test(NAME windows_dlls COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/windows_dlls_test.sh
  $<TARGET_FILE:velmora_dorsel> $<TARGET_FILE:scenarioc>)
set(run_under_wine ${CMAKE_CURRENT_SOURCE_DIR}/run_under_wine.sh)
add_test(NAME scenario_tests_wine COMMAND ${run_under_wine} $<TARGET_FILE:scenario_tests>)
add_test(NAME windows_wine
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/driver/windows_wine_test.sh
          $<TARGET_FILE:velmora_dorsel> $<TARGET_FILE:scenarioc>
          $<TARGET_FILE:fatal_error_probe> $<TARGET_FILE:windows_on_screen>
          $<TARGET_FILE:console_text> "${SCENARIO_LINUX_BUILD}")
# The language server of scenarioc.exe, driven by the same scripted editor as
# the Linux one's.
add_test(NAME lsp_client_wine
  COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/tools/scenarioc/lsp_client_test.py
          ${run_under_wine} $<TARGET_FILE:scenarioc>)
set_tests_properties(lsp_client_wine PROPERTIES TIMEOUT 300)
# One Wine at a time: the tests share the prefix and its server.
set_tests_properties(scenario_tests_wine windows_wine lsp_client_wine PROPERTIES RESOURCE_LOCK wine)
set_tests_properties(scenario_tests_wine PROPERTIES TIMEOUT 300)
set_tests_properties(windows_wine PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77
  ENVIRONMENT WINDOW_TEST_ARTIFACTS=${CMAKE_CURRENT_BINARY_DIR}/windows_wine)
# The zip of the two programs as the build made them, unpacked and run.
add_test(NAME windows_zip
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/packaging/windows_zip_test.sh ${CMAKE_CPACK_COMMAND}
          ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(windows_zip PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77 RESOURCE_LOCK wine)

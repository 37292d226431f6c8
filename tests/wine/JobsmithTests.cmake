# The real Jobsmith.exe under Wine. Included from this folder's CMakeLists.
add_executable(tm_jobsmith_e2e_tests
  jobtool/JobsmithEndToEndTest.cpp
  jobtool/Win32JobConsoleTest.cpp
  ${CMAKE_SOURCE_DIR}/jobtool/win32/Win32JobConsole.cpp   # its piped input, read in place
)
target_link_libraries(tm_jobsmith_e2e_tests PRIVATE tm_automation tm_jobtool_core tm_platform_win32 gtest_main)
add_dependencies(tm_jobsmith_e2e_tests Jobsmith)
add_test(NAME tm_jobsmith_e2e_tests COMMAND tm_jobsmith_e2e_tests)
set_tests_properties(tm_jobsmith_e2e_tests PROPERTIES TIMEOUT 600)

# End-to-end tests: the real programs started and driven through their
# windows with the automation library. Included from this folder's CMakeLists.
add_executable(tm_e2e_tests
  e2e/StartupEndToEndTest.cpp
  e2e/TidemarkSession.cpp
  e2e/WindowsEndToEndTest.cpp
)
target_include_directories(tm_e2e_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/e2e)
target_link_libraries(tm_e2e_tests PRIVATE tm_automation tm_shared tm_platform_win32 gtest_main user32 shell32)
add_dependencies(tm_e2e_tests Tidemark Ramhold)
add_test(NAME tm_e2e_tests COMMAND tm_e2e_tests)
set_tests_properties(tm_e2e_tests PROPERTIES TIMEOUT 600)

# The settings engine against the system's profile functions, and under
# concurrent and killed writers. Included from this folder's CMakeLists.

# Writes through the engine from processes of its own.
add_executable(tm_profile_writer helpers/ProfileWriter.cpp)
target_link_libraries(tm_profile_writer PRIVATE tm_shared tm_platform_win32 shell32)

add_executable(tm_win32_profile_tests
  shared/profile/ProfileConcurrencyTest.cpp
  shared/profile/ProfileDifferentialTest.cpp
)
target_link_libraries(tm_win32_profile_tests PRIVATE tm_shared tm_platform_win32 gtest_main)
add_dependencies(tm_win32_profile_tests tm_profile_writer)
add_test(NAME tm_win32_profile_tests COMMAND tm_win32_profile_tests)

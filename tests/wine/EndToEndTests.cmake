# End-to-end tests: the real programs started and driven through their
# windows with the automation library. Included from this folder's CMakeLists.
add_executable(tm_e2e_tests
  e2e/AccessibilityEndToEndTest.cpp
  e2e/AdminWindowsEndToEndTest.cpp
  e2e/CleaningEndToEndTest.cpp
  e2e/PasswordEndToEndTest.cpp
  e2e/ProcessWatchEndToEndTest.cpp
  e2e/ScalingEndToEndTest.cpp
  e2e/SettingsEndToEndTest.cpp
  e2e/StartupEndToEndTest.cpp
  e2e/TidemarkSession.cpp
  e2e/TrayKeyboardEndToEndTest.cpp
  e2e/WindowsEndToEndTest.cpp
)
target_include_directories(tm_e2e_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/e2e)
target_link_libraries(tm_e2e_tests PRIVATE tm_automation tm_shared tm_platform_win32 gtest_main
  user32 shell32
  gdi32      # ScalingEndToEndTest: text extents
  advapi32   # ScalingEndToEndTest: LogPixels
  oleacc ole32 oleaut32   # AccessibilityEndToEndTest: the controls read as a screen reader reads them
)
add_dependencies(tm_e2e_tests Tidemark Ramhold Stowel Jobsmith Corvid tm_jobsmith_standin tm_drop_source)
add_test(NAME tm_e2e_tests COMMAND tm_e2e_tests --gtest_filter=-EveryScaling/*:ScalingChange.*:ProcessWatch.*:CleaningResults.*:TwoScalings/*)
set_tests_properties(tm_e2e_tests PROPERTIES TIMEOUT 600)

# The process watch window and a monitor that waits a minute or two for its
# cleanings; files dropped on the window from another program through OLE.
add_executable(tm_drop_source helpers/DropSource.cpp)
target_link_libraries(tm_drop_source PRIVATE tm_platform ole32 shell32)
add_test(NAME tm_e2e_procwatch COMMAND tm_e2e_tests --gtest_filter=ProcessWatch.*)
set_tests_properties(tm_e2e_procwatch PROPERTIES TIMEOUT 400)

# Eight minutes of a monitor whose cleanings cannot reach the trigger.
add_test(NAME tm_e2e_cleaning COMMAND tm_e2e_tests --gtest_filter=CleaningResults.*)
set_tests_properties(tm_e2e_cleaning PROPERTIES TIMEOUT 700)

# The same program in a folder that admits no new file (made immutable from
# the Linux side around the run).
add_test(NAME tm_e2e_locked_install
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/locked-install.sh $<TARGET_FILE_DIR:tm_e2e_tests>)
set_tests_properties(tm_e2e_locked_install PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)

# The settings window for a user whose Startup folder admits no new file
# (made immutable from the Linux side around the run).
add_test(NAME tm_e2e_immutable_startup
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/immutable-startup.sh $<TARGET_FILE_DIR:tm_e2e_tests>)
set_tests_properties(tm_e2e_immutable_startup PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)

# Every window at 96, 120, 144, 168 and 192 DPI, and a window whose DPI
# changes; captures land beside the others as <window>_<dpi>.png.
add_test(NAME tm_e2e_scaling COMMAND tm_e2e_tests --gtest_filter=EveryScaling/*:ScalingChange.*)
set_tests_properties(tm_e2e_scaling PROPERTIES TIMEOUT 900)

# Every window's names, access keys and Tab order through the accessibility
# interface, at 96 and 192 DPI.
add_test(NAME tm_e2e_accessibility COMMAND tm_e2e_tests --gtest_filter=TwoScalings/*)
set_tests_properties(tm_e2e_accessibility PROPERTIES TIMEOUT 600)

# Every window of Tidemark and Stowel at 96 and 192 DPI with the system's
# colours changed in the registry; captures land beside the others as
# contrast_<window>_<dpi>.png.
add_executable(tm_e2e_contrast e2e/ContrastEndToEndTest.cpp e2e/TidemarkSession.cpp)
target_include_directories(tm_e2e_contrast PRIVATE ${CMAKE_CURRENT_LIST_DIR}/e2e)
target_link_libraries(tm_e2e_contrast PRIVATE tm_automation tm_shared tm_platform_win32 gtest_main
  user32 shell32 advapi32)
add_dependencies(tm_e2e_contrast Tidemark Ramhold Stowel)
add_test(NAME tm_e2e_contrast COMMAND tm_e2e_contrast)
set_tests_properties(tm_e2e_contrast PROPERTIES TIMEOUT 300)

# Records how it was started: stands in for CACLS and for planted programs.
add_executable(tm_standin WIN32 helpers/StandIn.cpp)
target_link_libraries(tm_standin PRIVATE tm_platform)

# Records its command line and standard input: stands in for Jobsmith, as
# Wine's Task Scheduler refuses the tasks' dotted names.
add_executable(tm_jobsmith_standin helpers/JobsmithStandIn.cpp)
target_link_libraries(tm_jobsmith_standin PRIVATE tm_platform)

# The windowless companions in a folder with blanks.
add_executable(tm_e2e_companions e2e/CompanionsEndToEndTest.cpp)
target_include_directories(tm_e2e_companions PRIVATE ${CMAKE_CURRENT_LIST_DIR}/e2e)
target_link_libraries(tm_e2e_companions PRIVATE tm_automation tm_shared tm_platform_win32 gtest_main user32)
add_dependencies(tm_e2e_companions Corvid Cascada Grantel Ramhold tm_standin)
add_test(NAME tm_e2e_companions COMMAND tm_e2e_companions)
# Wine loads the stand-in put in the place of its own CACLS.
set_tests_properties(tm_e2e_companions PROPERTIES TIMEOUT 600
  ENVIRONMENT "WINEDLLOVERRIDES=mscoree,mshtml=\;cacls.exe=n")

# The transfer tools: Inkett with every kind of argument, Stowel through the
# system's file dialogs, and a running Tidemark taking an imported list.
add_executable(tm_e2e_transfer e2e/TransferEndToEndTest.cpp e2e/TidemarkSession.cpp)
target_include_directories(tm_e2e_transfer PRIVATE ${CMAKE_CURRENT_LIST_DIR}/e2e)
target_link_libraries(tm_e2e_transfer PRIVATE tm_automation tm_shared tm_platform_win32 gtest_main user32 shell32)
add_dependencies(tm_e2e_transfer Tidemark Ramhold Stowel Inkett)
add_test(NAME tm_e2e_transfer COMMAND tm_e2e_transfer)
set_tests_properties(tm_e2e_transfer PROPERTIES TIMEOUT 600)

# The suite's events: Tidemark.exe's message table, and a silent import's
# event read back from Wine's debug channels (see event-channel.sh).
add_executable(tm_e2e_events e2e/EventLogEndToEndTest.cpp e2e/TidemarkSession.cpp)
target_include_directories(tm_e2e_events PRIVATE ${CMAKE_CURRENT_LIST_DIR}/e2e)
target_link_libraries(tm_e2e_events PRIVATE tm_automation tm_cleaner tm_shared tm_platform_win32 gtest_main
  user32 shell32 advapi32)
add_dependencies(tm_e2e_events Tidemark Ramhold Inkett)
add_test(NAME tm_e2e_events
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/event-channel.sh $<TARGET_FILE_DIR:tm_e2e_events>)
set_tests_properties(tm_e2e_events PROPERTIES TIMEOUT 300)

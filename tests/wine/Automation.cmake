# The automation library that end-to-end tests drive the programs' windows
# with, its command line, a target program of its own and the tests that
# prove it under Wine. Included from this folder's CMakeLists.
set(TM_AUTOMATION_DIR ${CMAKE_CURRENT_LIST_DIR}/automation)

add_library(tm_automation STATIC
  ${TM_AUTOMATION_DIR}/Controls.cpp
  ${TM_AUTOMATION_DIR}/MessageBoxes.cpp
  ${TM_AUTOMATION_DIR}/PngEncoder.cpp
  ${TM_AUTOMATION_DIR}/PopupMenus.cpp
  ${TM_AUTOMATION_DIR}/Processes.cpp
  ${TM_AUTOMATION_DIR}/Timing.cpp
  ${TM_AUTOMATION_DIR}/Tooltips.cpp
  ${TM_AUTOMATION_DIR}/TopLevelWindows.cpp
  ${TM_AUTOMATION_DIR}/WindowCapture.cpp
  ${TM_AUTOMATION_DIR}/WindowMessages.cpp
)
# Included as "automation/X.h".
target_include_directories(tm_automation PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(tm_automation
  PUBLIC tm_platform   # UTF-8 <-> UTF-16 (TextConversion)
  PRIVATE
    user32   # windows, messages, menus, PrintWindow
    gdi32    # WindowCapture: DIB section, BitBlt
)

# tm_automate: the library's operations for the shell.
add_executable(tm_automate ${TM_AUTOMATION_DIR}/cli/AutomateMain.cpp)
target_link_libraries(tm_automate PRIVATE
  tm_automation
  shell32   # CommandLineToArgvW
)

# A small GUI program with the kinds of windows the suite shows.
add_executable(tm_automation_target WIN32
  ${TM_AUTOMATION_DIR}/target/AutomationTarget.cpp
  ${TM_AUTOMATION_DIR}/target/AutomationTarget.rc
)
target_include_directories(tm_automation_target PRIVATE ${TM_AUTOMATION_DIR}/target)
target_link_libraries(tm_automation_target PRIVATE
  tm_platform
  comctl32   # InitCommonControlsEx, the tooltip control
  shell32    # CommandLineToArgvW
  user32
)

add_executable(tm_automation_tests
  ${TM_AUTOMATION_DIR}/tests/CaptureTest.cpp
  ${TM_AUTOMATION_DIR}/tests/CommandLineTest.cpp
  ${TM_AUTOMATION_DIR}/tests/ControlsTest.cpp
  ${TM_AUTOMATION_DIR}/tests/MessageBoxesTest.cpp
  ${TM_AUTOMATION_DIR}/tests/PngEncoderTest.cpp
  ${TM_AUTOMATION_DIR}/tests/PopupMenusTest.cpp
  ${TM_AUTOMATION_DIR}/tests/ProcessesTest.cpp
  ${TM_AUTOMATION_DIR}/tests/TargetProgram.cpp
  ${TM_AUTOMATION_DIR}/tests/TooltipsTest.cpp
  ${TM_AUTOMATION_DIR}/tests/WindowsTest.cpp
)
target_include_directories(tm_automation_tests PRIVATE ${TM_AUTOMATION_DIR}/target)
target_link_libraries(tm_automation_tests PRIVATE tm_automation gtest_main user32)
add_dependencies(tm_automation_tests tm_automation_target tm_automate)
add_test(NAME tm_automation_tests COMMAND tm_automation_tests)
set_tests_properties(tm_automation_tests PROPERTIES TIMEOUT 180)

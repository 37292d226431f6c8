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

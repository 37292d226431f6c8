// Resource and control IDs of the automation test target, shared by its
// resources, its code and the tests that drive it.
#pragma once

#define IDD_TARGET 100
#define IDR_TARGET_MENU 110
#define IDR_TRAY_MENU 111

#define IDC_TARGET_LABEL 1001
#define IDC_TARGET_HIDE 1002
#define IDC_TARGET_ASK 1003
#define IDC_TARGET_CHECK 1004
#define IDC_TARGET_DISABLED 1005
#define IDC_TARGET_EDIT 1006

#define IDM_TARGET_ABOUT 2001
#define IDM_TARGET_EXIT 2002

#define IDM_TRAY_SHOW 2101
#define IDM_TRAY_GRAYED 2102
#define IDM_TRAY_EXIT 2103

// Sent by the tests to the hidden owner window, as the tray icon would.
#define WM_TARGET_TRAY_CALLBACK (0x8000 + 1)

// Resource identifiers of Tidemark.exe.
#pragma once

#define IDI_TIDEMARK 100
#define IDI_FRM_00_BLUE 101
#define IDI_FRM_01_YELLOW 102
#define IDI_FRM_02_YELLOW 103
#define IDI_FRM_03_RED 104
#define IDI_FRM_04_RED 105

#define IDD_SIMPLE 200
#define IDD_GRAPH 201
#define IDD_ABOUT 202

// frmSimple and frmGraph (the graph window reuses the shared ones).
#define IDC_FRAME1 1001
#define IDC_LABEL1_0 1002
#define IDC_LABEL1_1 1003
#define IDC_LABEL2_0 1004
#define IDC_LABEL2_1 1005
#define IDC_LABEL3_0 1006
#define IDC_LABEL3_1 1007
#define IDC_LABEL4_0 1008
#define IDC_LABEL4_1 1009
#define IDC_CMDFIX 1010
#define IDC_CMDHIDE 1011
#define IDC_PICTGRAPH 1012
#define IDC_LABEL1 1013
#define IDC_LBLUSEMEM 1014

// frmAbout.
#define IDC_PICICON 1101
#define IDC_LBLTITLE 1102
#define IDC_LBLVERSION 1103
#define IDC_LBLDESCRIPTION 1104
#define IDC_CMDSYSINFO 1105
#define IDC_LINE1 1106
#define IDC_LINE2 1107

// The tray menu's items, in their order.
#define IDM_UNDERFILE_CANCEL 40001
#define IDM_UNDERFILE_CLOSE 40002
#define IDM_UNDERFILE_HIDE 40003
#define IDM_UNDERFILE_SHOW 40004
#define IDM_UNDERFILE_FIX 40005
#define IDM_UNDERFILE_ADMFIX 40006
#define IDM_UNDERFILE_VER 40007

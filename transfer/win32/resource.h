// Resource IDs of Stowel.exe and Inkett.exe.
#pragma once

#define IDI_TIDEMARK 100
#define IDD_SAVE 300
#define IDC_LBLCOVER 1001
#define IDC_CMDSAVE 1002
#define IDC_CMDLOAD 1003

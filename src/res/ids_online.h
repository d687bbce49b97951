#pragma once
// Templates and control ids of the update and new-version windows.
#define IDD_NEW_VERSION 115
#define IDD_CHECK_UPDATE 121
#define IDC_NOTES_TEXT 1057
#define IDC_UPDATE_DOWNLOAD 1095
#define IDC_UPDATE_TEXT 1096

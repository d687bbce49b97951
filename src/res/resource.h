#pragma once
// Resource ids shared by the .rc scripts and the code. Control ids lie in
// 1001-1096, menu commands in 32780-32804, bitmaps in 192-353. Each
// subsystem keeps its own control ids in its own header below.

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_CLEANUP_PAGE 102
#define IDD_MAINFRAME 105
#define IDD_TOOLKIT_PAGE 106
#define IDD_SHOPPING_PAGE 107
#define IDD_SKINNED_DIALOG 109
#define IDD_CHECKUP_PAGE 119
#define IDD_MEMORY_PAGE 120

// Icon, menus, strings
#define IDR_MAINFRAME 128
#define IDR_HEADER_MENU 222
#define IDR_CAPTION_MENU 269
#define IDS_ABOUTBOX 101

// Main window
#define IDC_LINK_SITE 1034
#define IDC_LINK_PROMOTION 1037

// System menu and menu commands
#define IDM_ABOUTBOX 0x0010
#define ID_HEADER_CLOSE 32780
#define ID_HEADER_ABOUT 32781
#define ID_HEADER_MAXIMIZE 32782
#define ID_HEADER_MINIMIZE 32783
#define ID_MENU_ABOUT 32791
#define ID_MENU_NEW_FEATURES 32794
#define ID_MENU_TIMED_SHUTDOWN 32799
#define ID_MENU_RESTART 32800
#define ID_MENU_POWER_OFF 32801
#define ID_MENU_CHECK_UPDATE 32804

#include "res/ids_cleanup.h"
#include "res/ids_tools.h"
#include "res/ids_checkup.h"
#include "res/ids_memory.h"
#include "res/ids_online.h"

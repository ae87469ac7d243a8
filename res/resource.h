// Identifiers shared by the resource scripts and the code. Values are fixed: saved settings,
// translations and the framework's own lookups depend on them. Plain numbers only, so that both
// windres and the compilers can read this file.
#ifndef VELLOQUIN_RES_RESOURCE_H
#define VELLOQUIN_RES_RESOURCE_H

// The framework's standard identifiers (ID_APP_ABOUT, AFX_IDS_*, ...).
#include "framework/afxres_ids.h"

// ---------------------------------------------------------------------------------------------
// Commands of the program. Each has a string of the same identifier: the status bar prompt, and
// after a "\n" the tool tip. ID_EDIT_COPY_DIR_PATH has no string.
#define ID_VIEW_REFRESH 32771
#define ID_EDIT_ADD_BOOKMARK 32778
#define ID_EDIT_FIND 32779
#define ID_EDIT_DELETE 32780
#define ID_VIEW_EXPAND_1 32781
#define ID_VIEW_EXPAND_2 32782
#define ID_VIEW_EXPAND_3 32783
#define ID_EDIT_ADD_SHORTCUT 32784
#define ID_VIEW_HIDDEN_SHARES 32785
#define ID_EDIT_COPY_FULL_PATH 32786
#define ID_EDIT_COPY_DIR_PATH 32787
#define ID_EDIT_COPY_NAME 32788

// ---------------------------------------------------------------------------------------------
// Resources
#define IDR_MAINFRAME 128 // menu, accelerators, tool bar and its bitmap, icon, title string
#define IDD_ABOUTBOX 100
#define IDD_SHORTCUT 101
#define IDR_POPUP_COPY 102   // menu whose first popup is the right-click menu
#define IDB_SORT_ARROWS 165  // 32x16: 0 arrow down (ascending), 1 arrow up; light grey is the mask
#define IDC_LINK_HAND 166    // cursor: pointing hand, hot spot at the fingertip
#define IDB_NET_STATES 2000  // 80x16: five 16x16 state marks, magenta transparent
#define IDB_OBJ_STATES 2001  // 80x16: five 16x16 state images, magenta transparent
#define IDI_UNREACHABLE 2008 // icon 16x16 and 32x32: red cross

// ---------------------------------------------------------------------------------------------
// Dialog controls
#define IDC_HOTKEY 1000    // shortcut dialog: hot-key control (msctls_hotkey32)
#define IDC_DEST_DIR 1001  // shortcut dialog: destination directory edit field
#define IDC_BROWSE 1002    // shortcut dialog: "..." button
#define IDC_LINK_MAIL 1004 // about box: e-mail link
#define IDC_LINK_WEB 1005  // about box: web link

// ---------------------------------------------------------------------------------------------
// Strings of the program (IDR_MAINFRAME, 128, is the title)
#define IDS_COPY_TO 129
#define IDS_TRANSFER_ONE 130
#define IDS_TRANSFER_MANY 131
#define IDS_TITLE_FORMAT 132
#define IDS_NETWORK_UNREACHABLE 133
#define IDS_FILE_COLUMNS 134
#define IDS_BOOKMARKS 135
#define IDS_SEARCHES 136
#define IDS_TRANSFERS 137
#define IDS_SHORTCUTS 138
#define IDS_INVALID_SHORTCUT 139

#endif // VELLOQUIN_RES_RESOURCE_H

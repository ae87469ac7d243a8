// Identifiers shared by the resource scripts and the code. Values are fixed: saved settings,
// translations and the framework's own lookups depend on them. Plain numbers only, so that both
// windres and the compilers can read this file.
#ifndef VELLOQUIN_RES_RESOURCE_H
#define VELLOQUIN_RES_RESOURCE_H

// ---------------------------------------------------------------------------------------------
// Framework standard identifiers. Each is guarded so that a framework header may define the same
// name before or after this file without a redefinition warning (use the same value).

// Commands
#ifndef ID_SEPARATOR
#define ID_SEPARATOR 0 // tool bar separator, status bar message pane
#endif
#ifndef ID_EDIT_COPY
#define ID_EDIT_COPY 57634 // 0xE122
#endif
#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT 57664 // 0xE140
#endif
#ifndef ID_APP_EXIT
#define ID_APP_EXIT 57665 // 0xE141
#endif
#ifndef ID_NEXT_PANE
#define ID_NEXT_PANE 57680 // 0xE150
#endif
#ifndef ID_PREV_PANE
#define ID_PREV_PANE 57681 // 0xE151
#endif
#ifndef ID_VIEW_LARGEICON
#define ID_VIEW_LARGEICON 59409 // 0xE811
#endif
#ifndef ID_VIEW_LIST
#define ID_VIEW_LIST 59410 // 0xE812
#endif
#ifndef ID_VIEW_DETAILS
#define ID_VIEW_DETAILS 59411 // 0xE813
#endif

// Status bar indicators; their strings hold the indicator texts.
#ifndef ID_INDICATOR_CAPS
#define ID_INDICATOR_CAPS 59137 // 0xE701
#endif
#ifndef ID_INDICATOR_NUM
#define ID_INDICATOR_NUM 59138 // 0xE702
#endif

// Child window identifiers of the frame. A splitter pane (row, col) is
// AFX_IDW_PANE_FIRST + row * 16 + col.
#ifndef AFX_IDW_TOOLBAR
#define AFX_IDW_TOOLBAR 0xE800
#endif
#ifndef AFX_IDW_STATUS_BAR
#define AFX_IDW_STATUS_BAR 0xE801
#endif
#ifndef AFX_IDW_PANE_FIRST
#define AFX_IDW_PANE_FIRST 0xE900
#endif
#ifndef AFX_IDW_PANE_LAST
#define AFX_IDW_PANE_LAST 0xE9FF
#endif

// Framework strings: application name, idle text of the status bar.
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 57344 // 0xE000
#endif
#ifndef AFX_IDS_IDLEMESSAGE
#define AFX_IDS_IDLEMESSAGE 57345 // 0xE001
#endif

// Status prompts of the system menu: the string for a WM_SYSCOMMAND code sc is
// AFX_IDS_SCFIRST + ((sc & 0x0FFF) >> 4) (SC_SIZE 0xF000 -> 0xEF00, SC_RESTORE 0xF120 -> 0xEF12).
#ifndef AFX_IDS_SCFIRST
#define AFX_IDS_SCFIRST 0xEF00
#endif
#ifndef AFX_IDS_SCSIZE
#define AFX_IDS_SCSIZE 0xEF00
#endif
#ifndef AFX_IDS_SCMOVE
#define AFX_IDS_SCMOVE 0xEF01
#endif
#ifndef AFX_IDS_SCMINIMIZE
#define AFX_IDS_SCMINIMIZE 0xEF02
#endif
#ifndef AFX_IDS_SCMAXIMIZE
#define AFX_IDS_SCMAXIMIZE 0xEF03
#endif
#ifndef AFX_IDS_SCNEXTWINDOW
#define AFX_IDS_SCNEXTWINDOW 0xEF04
#endif
#ifndef AFX_IDS_SCPREVWINDOW
#define AFX_IDS_SCPREVWINDOW 0xEF05
#endif
#ifndef AFX_IDS_SCCLOSE
#define AFX_IDS_SCCLOSE 0xEF06
#endif
#ifndef AFX_IDS_SCRESTORE
#define AFX_IDS_SCRESTORE 0xEF12
#endif
#ifndef AFX_IDS_SCTASKLIST
#define AFX_IDS_SCTASKLIST 0xEF13
#endif

// Framework message texts (message boxes of the framework itself).
#ifndef AFX_IDP_INTERNAL_FAILURE
#define AFX_IDP_INTERNAL_FAILURE 0xF108
#endif
#ifndef AFX_IDP_COMMAND_FAILURE
#define AFX_IDP_COMMAND_FAILURE 0xF109
#endif
#ifndef AFX_IDP_FAILED_MEMORY_ALLOC
#define AFX_IDP_FAILED_MEMORY_ALLOC 0xF10A
#endif

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Tool bar resource: type 241, same identifier as its bitmap (IDR_MAINFRAME). Data, all WORDs,
// little endian: version (1), button width (16), button height (16), item count, then one
// command identifier per item from left to right, ID_SEPARATOR (0) for a separator. The bitmap
// holds one image per non-separator item, in the same order, each button width pixels wide;
// its background is light grey (RGB 192, 192, 192), to be shown as the button face colour.
#ifndef VQ_RT_TOOLBAR
#define VQ_RT_TOOLBAR 241
#endif
#if !defined(RC_INVOKED) && !defined(RT_TOOLBAR)
#define RT_TOOLBAR MAKEINTRESOURCE(VQ_RT_TOOLBAR)
#endif

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

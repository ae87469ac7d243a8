// Identifiers of the framework itself: commands, child windows, strings, the tool bar resource
// type. Plain numbers only, so that both windres and the compilers can read this file; the
// resource scripts reach it through res/resource.h.
#ifndef VELLOQUIN_FRAMEWORK_AFXRES_IDS_H
#define VELLOQUIN_FRAMEWORK_AFXRES_IDS_H

// Commands
#define ID_SEPARATOR 0          // tool bar separator, status bar message pane
#define ID_EDIT_COPY 57634      // 0xE122
#define ID_APP_ABOUT 57664      // 0xE140
#define ID_APP_EXIT 57665       // 0xE141
#define ID_NEXT_PANE 57680      // 0xE150
#define ID_PREV_PANE 57681      // 0xE151
#define ID_VIEW_LARGEICON 59409 // 0xE811
#define ID_VIEW_LIST 59410      // 0xE812
#define ID_VIEW_DETAILS 59411   // 0xE813

// Status bar indicators; their strings hold the indicator texts.
#define ID_INDICATOR_CAPS 59137 // 0xE701
#define ID_INDICATOR_NUM 59138  // 0xE702

// Child window identifiers of the frame. A splitter pane (row, col) is
// AFX_IDW_PANE_FIRST + row * 16 + col.
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_PANE_LAST 0xE9FF

// Framework strings: application name, idle text of the status bar.
#define AFX_IDS_APP_TITLE 57344   // 0xE000
#define AFX_IDS_IDLEMESSAGE 57345 // 0xE001

// Status prompts of the system menu: the string for a WM_SYSCOMMAND code sc is
// AFX_IDS_SCFIRST + ((sc & 0x0FFF) >> 4) (SC_SIZE 0xF000 -> 0xEF00, SC_RESTORE 0xF120 -> 0xEF12).
#define AFX_IDS_SCFIRST 0xEF00
#define AFX_IDS_SCSIZE 0xEF00
#define AFX_IDS_SCMOVE 0xEF01
#define AFX_IDS_SCMINIMIZE 0xEF02
#define AFX_IDS_SCMAXIMIZE 0xEF03
#define AFX_IDS_SCNEXTWINDOW 0xEF04
#define AFX_IDS_SCPREVWINDOW 0xEF05
#define AFX_IDS_SCCLOSE 0xEF06
#define AFX_IDS_SCRESTORE 0xEF12
#define AFX_IDS_SCTASKLIST 0xEF13

// Framework message texts (message boxes of the framework itself).
#define AFX_IDP_INTERNAL_FAILURE 0xF108
#define AFX_IDP_COMMAND_FAILURE 0xF109
#define AFX_IDP_FAILED_MEMORY_ALLOC 0xF10A

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Tool bar resource: type 241, the same identifier as its bitmap. Data, all WORDs,
// little endian: version (1), button width (16), button height (16), item count, then one
// command identifier per item from left to right, ID_SEPARATOR (0) for a separator. The bitmap
// holds one image per non-separator item, in the same order, each button width pixels wide;
// its background is light grey (RGB 192, 192, 192), to be shown as the button face colour.
#define VQ_RT_TOOLBAR 241
#if !defined(RC_INVOKED) && !defined(RT_TOOLBAR)
#define RT_TOOLBAR MAKEINTRESOURCE(VQ_RT_TOOLBAR)
#endif

#endif

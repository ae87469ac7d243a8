// Identifiers and style bits of the framework itself. Each identifier is guarded because
// res/resource.h defines the same names with the same values for the resource scripts.
#pragma once

#include <windows.h>

#ifndef ID_SEPARATOR
#define ID_SEPARATOR 0
#endif
#ifndef ID_EDIT_COPY
#define ID_EDIT_COPY 57634
#endif
#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT 57664
#endif
#ifndef ID_APP_EXIT
#define ID_APP_EXIT 57665
#endif
#ifndef ID_NEXT_PANE
#define ID_NEXT_PANE 57680
#endif
#ifndef ID_PREV_PANE
#define ID_PREV_PANE 57681
#endif
#ifndef ID_VIEW_LARGEICON
#define ID_VIEW_LARGEICON 59409
#endif
#ifndef ID_VIEW_LIST
#define ID_VIEW_LIST 59410
#endif
#ifndef ID_VIEW_DETAILS
#define ID_VIEW_DETAILS 59411
#endif
#ifndef ID_INDICATOR_CAPS
#define ID_INDICATOR_CAPS 59137
#endif
#ifndef ID_INDICATOR_NUM
#define ID_INDICATOR_NUM 59138
#endif

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

#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 57344
#endif
#ifndef AFX_IDS_IDLEMESSAGE
#define AFX_IDS_IDLEMESSAGE 57345
#endif
// The prompt of a system-menu command sc is string AFX_IDS_SCFIRST + ((sc & 0x0FFF) >> 4).
#ifndef AFX_IDS_SCFIRST
#define AFX_IDS_SCFIRST 0xEF00
#endif

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Tool bar resource type: WORD version (1), width, height, count, then count command ids.
#ifndef VQ_RT_TOOLBAR
#define VQ_RT_TOOLBAR 241
#endif
#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCE(VQ_RT_TOOLBAR)
#endif

// Frame style: the frame adds the document part to its title (kept for the creation call;
// this framework has no documents, so the title is the resource string's first part).
#define FWS_ADDTOTITLE 0x00008000L

// Control bar styles (CBRS_*), passed together with the window styles and kept by the bar.
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_3D 0x0080L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_FLOATING 0x0001L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

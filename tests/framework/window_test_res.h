// Identifiers of the framework window tests' own resources (not the program's).
#pragma once

#define IDR_TEST_FRAME 9100
#define IDD_TEST_DIALOG 9300
#define IDC_TEST_EDIT 1001
#define IDC_TEST_LINK 1004

#define ID_TEST_PANE_CMD 9201   // handled by the panes
#define ID_TEST_FRAME_CMD 9202  // handled by the frame
#define ID_TEST_UNHANDLED 9203  // handled by nobody
#define ID_TEST_DISABLED 9204   // handled by the frame, disabled by its update handler
#define ID_TEST_APP_CMD 9205    // handled by the application
#define ID_TEST_CHECK 9206      // handled by the frame, checked by its update handler
#define ID_TEST_SHARED 9207     // handled by the panes and by the frame
#define ID_TEST_HIDDEN_OFF 9208 // not in the menu, disabled by the frame's update handler
#define IDS_TEST_NO_STRING 9299 // no such string
#define IDS_TEST_FORMAT 9101

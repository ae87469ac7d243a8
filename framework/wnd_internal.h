// Framework-internal: binding windows to objects, and the message call wrapper.
#pragma once

#include "framework/cmd_ui.h"
#include "framework/wnd.h"

struct AfxWndAccess {
    // Maps hWnd to pWnd; with bSubclass also routes the window's messages to pWnd by replacing
    // its window procedure (windows of other classes).
    static void Bind(CWnd* pWnd, HWND hWnd, bool bSubclass);
    // bWindowGone: after WM_NCDESTROY, when the window's procedure no longer matters.
    static void Unbind(CWnd* pWnd, bool bWindowGone = false);
    // Delivers one message to pWnd->WindowProc, keeping it as the current message for
    // Default(); after WM_NCDESTROY unbinds the object and runs PostNcDestroy.
    static LRESULT Call(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

// A CCmdUI that only records whether an update handler disabled the command.
class CTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR) override {}
    BOOL m_bEnabled = TRUE;
};

// The frame's handlers that reach into the panes: key filter, view modes, Add shortcut.
// Placeholders until the object tree's shortcuts and transfers are wired in.
#include "app/main_frame.h"

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg) {
    return CFrameWnd::PreTranslateMessage(pMsg);
}

void CMainFrame::OnViewMode(UINT) {}

void CMainFrame::OnUpdateViewMode(CCmdUI*) {}

void CMainFrame::OnAddShortcut() {}

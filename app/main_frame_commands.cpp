// The frame's handlers that reach into the panes: the key filter that runs the keyboard
// shortcuts before the accelerators, the file list's view modes, Add shortcut, and the copy
// transfer made from the focus pane's selection.
#include "app/main_frame.h"

#include "app/dlg_shortcut.h"
#include "res/resource.h"
#include "views/file_list.h"
#include "views/net_tree.h"
#include "views/obj_tree.h"

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg) {
    // WM_SYSKEYDOWN (Alt without Ctrl, F10) never reaches the shortcuts.
    if (pMsg->message == WM_KEYDOWN && m_pObjTree && m_pObjTree->m_hWnd) {
        BYTE modifiers = 0;
        if (::GetKeyState(VK_MENU) < 0)
            modifiers |= HOTKEYF_ALT;
        if (::GetKeyState(VK_CONTROL) < 0)
            modifiers |= HOTKEYF_CONTROL;
        if (::GetKeyState(VK_SHIFT) < 0)
            modifiers |= HOTKEYF_SHIFT;
        if (m_pObjTree->MatchShortcut(LOBYTE(pMsg->wParam), modifiers))
            return TRUE;
    }
    return CFrameWnd::PreTranslateMessage(pMsg);
}

void CMainFrame::OnViewMode(UINT nID) {
    DWORD dwStyle = LVS_REPORT;
    if (nID == ID_VIEW_LARGEICON)
        dwStyle = LVS_ICON;
    else if (nID == ID_VIEW_LIST)
        dwStyle = LVS_LIST;
    if (m_pFileList->m_hWnd)
        m_pFileList->SetViewMode(dwStyle);
}

void CMainFrame::OnUpdateViewMode(CCmdUI* pCmdUI) {
    if (!m_pFileList->m_hWnd)
        return;
    UINT nMarked = 0; // LVS_SMALLICON marks none
    switch (m_pFileList->GetStyle() & LVS_TYPEMASK) {
    case LVS_ICON:
        nMarked = ID_VIEW_LARGEICON;
        break;
    case LVS_REPORT:
        nMarked = ID_VIEW_DETAILS;
        break;
    case LVS_LIST:
        nMarked = ID_VIEW_LIST;
        break;
    }
    pCmdUI->SetRadio(pCmdUI->m_nID == nMarked);
}

void CMainFrame::OnAddShortcut() {
    auto* pDef = new CShortcutDef;
    CDlgShortcut dlg(pDef);
    if (dlg.DoModal() == IDOK)
        m_pObjTree->AddShortcut(pDef);
    else
        delete pDef;
}

bool CMainFrame::EditShortcut(CShortcutDef* pDef) {
    CDlgShortcut dlg(pDef);
    return dlg.DoModal() == IDOK;
}

void CMainFrame::CopySelectionTo(const char* pszDestDir) {
    auto* pJob = new CTransferJob;
    pJob->m_strDestDir = pszDestDir;
    if (m_pFocusPane && m_pFocusPane == m_pNetTree)
        m_pNetTree->AddSelectionTo(pJob->m_files);
    else if (m_pFocusPane && m_pFocusPane == m_pFileList)
        m_pFileList->AddSelectionTo(pJob->m_files);
    if (pJob->m_files.IsEmpty()) {
        delete pJob;
        return;
    }
    m_pObjTree->AddTransfer(pJob);
}

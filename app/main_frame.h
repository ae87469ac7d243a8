// The main frame: menu, tool bar, status bar and the three panes in two splitters; routes
// commands to the pane that last had the focus, and takes the foreground back from a copy
// transfer's progress window.
#pragma once

#include "framework/afxwin.h"
#include "views/pane_host.h"

class CNetTree;
class CFileList;
class CObjTree;

// Posted to the frame to take the foreground back.
#define WM_RECLAIM_FOCUS (WM_USER + 1)

// The panes reach the frame's copy and shortcut services as IPaneHost (views cannot see app/).
class CMainFrame : public CFrameWnd, public IPaneHost {
public:
    CMainFrame();
    ~CMainFrame() override;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void SetFocusPane(CWnd* pPane) override { m_pFocusPane = pPane; }

    // IPaneHost. CopySelectionTo: the focus pane's selection as a copy transfer.
    void CopySelectionTo(const char* pszDestDir) override;
    void SetTransferStart(DWORD dwTick) override { m_dwTransferStart = dwTick; }
    bool EditShortcut(CShortcutDef* pDef) override;

    // A deactivation this soon after a transfer started is taken back.
    static constexpr DWORD kReclaimMs = 1500;
    // The clock of the activation rule; tests replace it.
    static DWORD(WINAPI* s_pfnGetTickCount)();

    CNetTree* m_pNetTree;
    CFileList* m_pFileList;
    CObjTree* m_pObjTree;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CSplitterWnd m_wndSplitter;
    CSplitterWnd m_wndLeftSplitter;
    CWnd* m_pFocusPane = nullptr;
    DWORD m_dwTransferStart = 0;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnViewMode(UINT nID);
    afx_msg void OnUpdateViewMode(CCmdUI* pCmdUI);
    afx_msg void OnAddShortcut();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg LRESULT OnReclaimFocus(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

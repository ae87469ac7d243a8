// CFrameWnd: the top-level window with menu, accelerators, title, bars and one pane window
// (child id AFX_IDW_PANE_FIRST) filling the rest, and the command route frame -> application.
#pragma once

#include "framework/cstring.h"
#include "framework/gdi.h"
#include "framework/wnd.h"

#include <vector>

class CControlBar;

class CFrameWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    // Creation rectangle "let the system choose" (also for panes that a splitter lays out).
    static const CRect rectDefault;

    CFrameWnd() = default;
    ~CFrameWnd() override;

    // Menu, accelerators and title (string nIDResource up to its first "\n") from resource
    // nIDResource, then the window. When the window's creation fails (OnCreate answered -1),
    // the object has been deleted already: answer FALSE and touch nothing.
    virtual BOOL LoadFrame(UINT nIDResource,
                           DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // Top bars at the top, bottom bars at the bottom, the pane window in the rest.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Docking: the tool bar stays at the top; these only lay out again.
    void EnableDocking(DWORD dwDockStyle);
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);

    // Status bar message pane (pane 0 of the child AFX_IDW_STATUS_BAR).
    void SetMessageText(LPCSTR lpszText);
    void SetMessageText(UINT nID);
    // The prompt of a command: its string up to the first "\n" (empty without a string).
    virtual void GetMessageString(UINT nID, CString& rMessage) const;

    // Hook for the panes: a pane that gets the keyboard focus calls this on its parent frame
    // (GetParentFrame()->SetFocusPane(this)). The base does nothing; a derived frame records
    // the pane and offers it commands first in its OnCmdMsg.
    virtual void SetFocusPane(CWnd* pPane);

    // Route: this frame's own map, then the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Applies the accelerator table to key messages.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Default class (our own, with icon nIDResource) and WS_EX_CLIENTEDGE.
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // Idle time: the bars run the update handlers of their buttons and indicators.
    void OnIdleUpdateCmdUI();

    // Bars created with this frame as parent register here.
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);

    HACCEL m_hAccelTable = nullptr;
    CString m_strTitle;
    UINT m_nIDHelp = 0; // the resource id given to LoadFrame

protected:
    // The frame object deletes itself once its window is gone.
    void PostNcDestroy() override;
    // Tool tips of the tool bar: the text after "\n" of the command's string.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    // Focus goes back to the child that had it when the frame was deactivated, else to the
    // pane window.
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    // Update handlers for the items of a popup of the menu bar.
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    // Command prompts in the status bar while a menu item is highlighted.
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg LRESULT OnExitMenuLoop(WPARAM wParam, LPARAM lParam);
    // CAP / NUM indicators: shown while the key's toggle is on.
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);

private:
    std::vector<CControlBar*> m_bars;
    HWND m_hWndLastFocus = nullptr;
};

// Control bars of a frame: the tool bar (at the top) and the status bar (at the bottom).
// Both take their button and indicator states from update handlers in idle time.
#pragma once

#include "framework/cstring.h"
#include "framework/gdi.h"
#include "framework/wnd.h"

#include <commctrl.h>

#include <vector>

class CFrameWnd;

class CControlBar : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    ~CControlBar() override;
    // The bar's height for a frame of the given width (the width is the frame's).
    virtual CSize CalcFixedLayout(int nFrameWidth) = 0;
    // Runs the update handlers of the bar's items along pTarget's command route.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle; }
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }

    DWORD m_dwStyle = 0; // CBRS_* bits
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;

protected:
    // Creates the control with the window styles of dwStyle (the CBRS_* bits are kept apart)
    // and registers the bar with its parent frame.
    BOOL CreateBar(LPCSTR lpszClassName, DWORD dwCtrlStyle, DWORD dwStyle, CWnd* pParentWnd,
                   UINT nID);
    afx_msg void OnDestroy();
};

class CToolBar : public CControlBar {
    DECLARE_MESSAGE_MAP()

public:
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                  CRect rcBorders = CRect(0, 0, 0, 0), UINT nID = AFX_IDW_TOOLBAR);
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = AFX_IDW_TOOLBAR);
    // Buttons from tool bar resource nIDResource (type 241) with images from bitmap
    // nIDResource; light grey in the bitmap shows as the button face.
    BOOL LoadToolBar(UINT nIDResource);

    int GetCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
    UINT GetItemID(int nIndex) const;
    int CommandToIndex(UINT nIDFind) const {
        return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, nIDFind));
    }

    CSize CalcFixedLayout(int nFrameWidth) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    // Fly-by: the prompt of the button under the mouse in the status bar.
    afx_msg void OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult);
};

class CStatusBar : public CControlBar {
    DECLARE_MESSAGE_MAP()

public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
    // One pane per id: ID_SEPARATOR (0) is the message pane, stretching; any other id's string
    // is the pane's text (an indicator such as ID_INDICATOR_CAPS), shown while its update
    // handler enables it. FALSE when an indicator has no string.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    UINT GetItemID(int nIndex) const { return m_panes[nIndex].nID; }
    int CommandToIndex(UINT nIDFind) const;

    CSize CalcFixedLayout(int nFrameWidth) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);

private:
    struct Pane {
        UINT nID;
        CString strIndicator; // the indicator's string
        int cxWidth;          // pixels; the message pane stretches
    };
    friend class CStatusCmdUI;
    void UpdateParts();
    std::vector<Pane> m_panes;
};

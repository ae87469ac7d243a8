// Window framework tests, in the style of Wine's comctl32 tests: create the windows, send the
// messages that a user's action sends, compare what comes back.
#include "framework/afxwin.h"

#include "window_test_res.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// ---- The application object of these tests

class CTestApp : public CWinApp {
    DECLARE_MESSAGE_MAP()

public:
    int m_nAppCmd = 0;

protected:
    afx_msg void OnAppCmd() { ++m_nAppCmd; }
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_TEST_APP_CMD, OnAppCmd)
END_MESSAGE_MAP()

// ---- Message maps: typed handlers and chaining

UINT WM_TEST_REGISTERED = ::RegisterWindowMessageA("VqFrameworkTestRegistered");

class CBaseWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    std::vector<std::string> m_calls;
    CString m_strCreateName;
    int m_cxSize = -1, m_cySize = -1;
    bool m_bPostNcDestroy = false;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
        m_strCreateName = lpcs->lpszName;
        return CWnd::OnCreate(lpcs);
    }
    afx_msg void OnSize(UINT nType, int cx, int cy) {
        CWnd::OnSize(nType, cx, cy);
        m_cxSize = cx;
        m_cySize = cy;
    }
    afx_msg LRESULT OnApp1(WPARAM wParam, LPARAM) {
        m_calls.push_back("base app1");
        return wParam + 1;
    }
    afx_msg LRESULT OnApp2(WPARAM, LPARAM) {
        m_calls.push_back("base app2");
        return 0;
    }
    afx_msg LRESULT OnRegistered(WPARAM, LPARAM lParam) {
        m_calls.push_back("registered");
        return lParam * 2;
    }
    void PostNcDestroy() override { m_bPostNcDestroy = true; }
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_APP + 1, OnApp1)
    ON_MESSAGE(WM_APP + 2, OnApp2)
    ON_REGISTERED_MESSAGE(WM_TEST_REGISTERED, OnRegistered)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
    DECLARE_MESSAGE_MAP()

protected:
    afx_msg LRESULT OnApp2(WPARAM, LPARAM) {
        m_calls.push_back("derived app2");
        return 22;
    }
    // Handled with the answer 0: the default procedure must not run.
    afx_msg LRESULT OnSetTextBlocked(WPARAM, LPARAM) {
        m_calls.push_back("settext");
        return 0;
    }
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_MESSAGE(WM_APP + 2, OnApp2)
    ON_MESSAGE(WM_SETTEXT, OnSetTextBlocked)
END_MESSAGE_MAP()

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&icc);
    }
    void TearDown() override { AfxPumpPending(); }
    CTestApp m_app;
};

using MessageMapTest = FrameworkTest;

TEST_F(MessageMapTest, TypedHandlersChainToTheBaseMap) {
    CDerivedWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, "created", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    EXPECT_EQ(wnd.m_strCreateName, "created");

    EXPECT_EQ(wnd.SendMessage(WM_APP + 1, 41), 42);            // base entry, reached by chaining
    EXPECT_EQ(wnd.SendMessage(WM_APP + 2), 22);                // derived entry wins over the base's
    EXPECT_EQ(wnd.SendMessage(WM_TEST_REGISTERED, 0, 21), 42); // registered message id
    EXPECT_EQ(wnd.m_calls, (std::vector<std::string>{"base app1", "derived app2", "registered"}));

    wnd.MoveWindow(0, 0, 300, 150);
    CRect rc;
    wnd.GetClientRect(&rc);
    EXPECT_EQ(wnd.m_cxSize, rc.Width());
    EXPECT_EQ(wnd.m_cySize, rc.Height());
}

TEST_F(MessageMapTest, HandledWithResultZeroSkipsTheDefaultProcedure) {
    CDerivedWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, "before", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    wnd.SetWindowText("after");
    CString strText;
    wnd.GetWindowText(strText);
    EXPECT_EQ(strText, "before");
    EXPECT_EQ(wnd.m_calls, std::vector<std::string>{"settext"});
}

TEST_F(MessageMapTest, DestroyUnbindsAndRunsPostNcDestroy) {
    CBaseWnd wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, nullptr, "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    HWND hWnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_TRUE(wnd.m_bPostNcDestroy);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

// ---- Reflection: the child's map answers first

class CReflectTree : public CTreeCtrl {
    DECLARE_MESSAGE_MAP()

public:
    std::vector<std::string> m_calls;
    BOOL m_bConsumeDblClk = TRUE;

protected:
    afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
        auto* pInfo = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR);
        if (pInfo->item.mask & TVIF_TEXT)
            lstrcpynA(pInfo->item.pszText, "text from the tree's own map", pInfo->item.cchTextMax);
        *pResult = 0;
    }
    afx_msg void OnRClick(NMHDR*, LRESULT* pResult) {
        m_calls.push_back("tree rclick");
        *pResult = 7;
    }
    afx_msg BOOL OnDblClk(NMHDR*, LRESULT* pResult) {
        m_calls.push_back("tree dblclk");
        *pResult = 1;
        return m_bConsumeDblClk;
    }
};

BEGIN_MESSAGE_MAP(CReflectTree, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_GETDISPINFOA, OnGetDispInfo)
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRClick)
    ON_NOTIFY_REFLECT_EX(NM_DBLCLK, OnDblClk)
END_MESSAGE_MAP()

class CReflectEdit : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    int m_nChanges = 0;

protected:
    afx_msg void OnChange() { ++m_nChanges; }
};

BEGIN_MESSAGE_MAP(CReflectEdit, CWnd)
    ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
END_MESSAGE_MAP()

class CColorStatic : public CStatic {
    DECLARE_MESSAGE_MAP()

public:
    HBRUSH m_hbrOwn = nullptr; // none: leave the message to the parent
    HBRUSH m_hbrDefault = nullptr;

protected:
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) {
        EXPECT_EQ(nCtlColor, static_cast<UINT>(CTLCOLOR_STATIC));
        m_hbrDefault = reinterpret_cast<HBRUSH>(Default());
        pDC->SetTextColor(RGB(0, 0, 255));
        return m_hbrOwn;
    }
};

BEGIN_MESSAGE_MAP(CColorStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CReflectParent : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    std::vector<std::string> m_calls;

protected:
    afx_msg void OnTreeDblClk(NMHDR*, LRESULT* pResult) {
        m_calls.push_back("parent dblclk");
        *pResult = 5;
    }
    afx_msg void OnTreeKeyDown(NMHDR*, LRESULT* pResult) {
        m_calls.push_back("parent keydown");
        *pResult = 3;
    }
    afx_msg void OnTreeRClick(NMHDR*, LRESULT*) { m_calls.push_back("parent rclick"); }
};

BEGIN_MESSAGE_MAP(CReflectParent, CWnd)
    ON_NOTIFY(NM_DBLCLK, 100, OnTreeDblClk)
    ON_NOTIFY(TVN_KEYDOWN, 100, OnTreeKeyDown)
    ON_NOTIFY(NM_RCLICK, 100, OnTreeRClick)
END_MESSAGE_MAP()

class ReflectionTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                      nullptr, nullptr));
        ASSERT_TRUE(m_tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 200), &m_parent, 100));
    }
    LRESULT SendNotify(UINT nCode) {
        NMHDR hdr{m_tree.m_hWnd, 100, nCode};
        return m_parent.SendMessage(WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&hdr));
    }
    CReflectParent m_parent;
    CReflectTree m_tree;
};

TEST_F(ReflectionTest, ChildMapAnswersTheControlsOwnRequests) {
    // The tree asks its parent for a callback text; the parent reflects the request.
    HTREEITEM hItem = m_tree.InsertItem(LPSTR_TEXTCALLBACKA);
    ASSERT_NE(hItem, nullptr);
    EXPECT_EQ(m_tree.GetItemText(hItem), "text from the tree's own map");
}

TEST_F(ReflectionTest, NotificationGoesToTheChildFirst) {
    struct Case {
        UINT nCode;
        BOOL bConsume;
        LRESULT lExpected;
        std::vector<std::string> treeCalls;
        std::vector<std::string> parentCalls;
    };
    const Case cases[] = {
        {NM_RCLICK, TRUE, 7, {"tree rclick"}, {}}, // reflected: parent never sees it
        {NM_DBLCLK, TRUE, 1, {"tree dblclk"}, {}}, // _EX handler consumes it
        {NM_DBLCLK, FALSE, 5, {"tree dblclk"}, {"parent dblclk"}}, // _EX handler passes it on
        {TVN_KEYDOWN, TRUE, 3, {}, {"parent keydown"}},            // not in the child's map
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.nCode));
        m_tree.m_calls.clear();
        m_parent.m_calls.clear();
        m_tree.m_bConsumeDblClk = c.bConsume;
        EXPECT_EQ(SendNotify(c.nCode), c.lExpected);
        EXPECT_EQ(m_tree.m_calls, c.treeCalls);
        EXPECT_EQ(m_parent.m_calls, c.parentCalls);
    }
}

TEST_F(ReflectionTest, ControlCommandNotificationIsReflected) {
    CReflectEdit edit;
    HWND hEdit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 210, 100, 20,
                                   m_parent.m_hWnd, reinterpret_cast<HMENU>(101), nullptr, nullptr);
    ASSERT_TRUE(edit.SubclassWindow(hEdit));
    ::SetWindowTextA(hEdit, "typed");
    EXPECT_EQ(edit.m_nChanges, 1);
}

// A procedure put on top of ours by somebody else; it passes everything on.
WNDPROC g_pfnBelowForeign = nullptr;
int g_nForeignCalls = 0;
LRESULT CALLBACK ForeignProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_nForeignCalls;
    return ::CallWindowProcA(g_pfnBelowForeign, hWnd, message, wParam, lParam);
}

TEST_F(ReflectionTest, UnsubclassingGivesTheControlItsOwnProcedureBack) {
    for (bool bForeignOnTop : {false, true}) {
        SCOPED_TRACE(bForeignOnTop ? "another subclass on top" : "alone");
        CReflectEdit edit;
        HWND hEdit =
            ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 210, 100, 20,
                              m_parent.m_hWnd, reinterpret_cast<HMENU>(101), nullptr, nullptr);
        const auto pfnClass = ::GetWindowLongPtrA(hEdit, GWLP_WNDPROC);
        ASSERT_TRUE(edit.SubclassWindow(hEdit));
        if (bForeignOnTop)
            g_pfnBelowForeign = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrA(hEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignProc)));
        g_nForeignCalls = 0;
        EXPECT_EQ(edit.UnsubclassWindow(), hEdit);
        if (!bForeignOnTop) {
            EXPECT_EQ(::GetWindowLongPtrA(hEdit, GWLP_WNDPROC), pfnClass);
        }

        // The control goes on working; the object hears nothing more.
        ::SetWindowTextA(hEdit, "typed");
        char szText[16] = "";
        ::GetWindowTextA(hEdit, szText, sizeof szText);
        EXPECT_STREQ(szText, "typed");
        EXPECT_EQ(edit.m_nChanges, 0);
        EXPECT_EQ(g_nForeignCalls > 0, bForeignOnTop);
        EXPECT_TRUE(::DestroyWindow(hEdit));
    }
}

TEST_F(ReflectionTest, CtlColorStaticIsReflected) {
    CColorStatic label;
    ASSERT_TRUE(
        label.Create("label", WS_CHILD | WS_VISIBLE, CRect(0, 250, 100, 270), &m_parent, 102));
    HDC hDC = ::GetDC(label.m_hWnd);
    HBRUSH hbrDefault = reinterpret_cast<HBRUSH>(
        ::DefWindowProcA(m_parent.m_hWnd, WM_CTLCOLORSTATIC, (WPARAM)hDC, (LPARAM)label.m_hWnd));

    label.m_hbrOwn = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    LRESULT lBrush = m_parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)hDC, (LPARAM)label.m_hWnd);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(lBrush), label.m_hbrOwn);
    EXPECT_EQ(::GetTextColor(hDC), RGB(0, 0, 255));
    EXPECT_EQ(label.m_hbrDefault, hbrDefault); // Default() answered the original message

    label.m_hbrOwn = nullptr; // the child declines: the parent's default answers
    lBrush = m_parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)hDC, (LPARAM)label.m_hWnd);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(lBrush), hbrDefault);
    ::ReleaseDC(label.m_hWnd, hDC);
}

// ---- A frame with two splitters, panes, a tool bar and a status bar

class CTestPane : public CTreeCtrl {
    DECLARE_MESSAGE_MAP()

public:
    std::vector<std::string>* m_pLog = nullptr;
    const char* m_pszName = "";
    int m_nPaneCmd = 0;
    int m_nSharedCmd = 0;
    bool m_bEatKeys = false;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN && m_pLog)
            m_pLog->push_back(std::string(m_pszName) + " pretranslate");
        return m_bEatKeys && pMsg->message == WM_KEYDOWN;
    }

protected:
    afx_msg void OnSetFocus(CWnd* pOldWnd) {
        CTreeCtrl::OnSetFocus(pOldWnd);
        if (CFrameWnd* pFrame = GetParentFrame())
            pFrame->SetFocusPane(this);
    }
    afx_msg void OnPaneCmd() { ++m_nPaneCmd; }
    afx_msg void OnSharedCmd() { ++m_nSharedCmd; }
};

BEGIN_MESSAGE_MAP(CTestPane, CTreeCtrl)
    ON_WM_SETFOCUS()
    ON_COMMAND(ID_TEST_PANE_CMD, OnPaneCmd)
    ON_COMMAND(ID_TEST_SHARED, OnSharedCmd)
END_MESSAGE_MAP()

class CTestFrame : public CFrameWnd {
    DECLARE_MESSAGE_MAP()

public:
    static int s_nAlive;
    CTestFrame() { ++s_nAlive; }
    ~CTestFrame() override { --s_nAlive; }

    CWnd* m_pFocusPane = nullptr;
    CSplitterWnd m_wndSplitter;
    CSplitterWnd m_wndLeftSplitter;
    CTestPane m_paneTop;
    CTestPane m_paneBottom;
    CListCtrl m_list;
    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;
    std::vector<std::string> m_log;
    int m_nFrameCmd = 0;
    int m_nDisabledCmd = 0;
    int m_nSharedCmd = 0;
    int m_nHiddenCmd = 0;
    BOOL m_bEnableDisabled = FALSE;
    int m_nCheck = 1;
    bool m_bFailCreate = false;

    void SetFocusPane(CWnd* pPane) override { m_pFocusPane = pPane; }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
        if (m_pFocusPane && m_pFocusPane->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN)
            m_log.push_back("frame pretranslate");
        return CFrameWnd::PreTranslateMessage(pMsg);
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs) {
        if (m_bFailCreate || CFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        if (!m_wndSplitter.CreateStatic(this, 1, 2))
            return -1;
        m_wndSplitter.SetColumnInfo(0, 300, 0);
        m_wndSplitter.SetColumnInfo(1, 300, 0);
        if (!m_wndLeftSplitter.CreateStatic(&m_wndSplitter, 2, 1, WS_CHILD | WS_VISIBLE,
                                            m_wndSplitter.IdFromRowCol(0, 0)))
            return -1;
        m_wndLeftSplitter.SetRowInfo(0, 100, 0);
        m_wndLeftSplitter.SetRowInfo(1, 300, 0);
        const DWORD dwTree = WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT;
        m_paneTop.Create(dwTree, rectDefault, &m_wndLeftSplitter,
                         m_wndLeftSplitter.IdFromRowCol(0, 0));
        m_paneBottom.Create(dwTree, rectDefault, &m_wndLeftSplitter,
                            m_wndLeftSplitter.IdFromRowCol(1, 0));
        m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, rectDefault, &m_wndSplitter,
                      m_wndSplitter.IdFromRowCol(0, 1));
        if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                                   WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY |
                                       CBRS_SIZE_DYNAMIC) ||
            !m_wndToolBar.LoadToolBar(IDR_TEST_FRAME))
            return -1;
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 3))
            return -1;
        m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_wndToolBar);
        return 0;
    }
    afx_msg void OnFrameCmd() { ++m_nFrameCmd; }
    afx_msg void OnDisabledCmd() { ++m_nDisabledCmd; }
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bEnableDisabled); }
    afx_msg void OnCheckCmd() {}
    afx_msg void OnUpdateCheck(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_nCheck); }
    afx_msg void OnSharedCmd() { ++m_nSharedCmd; }
    afx_msg void OnHiddenCmd() { ++m_nHiddenCmd; }
};

int CTestFrame::s_nAlive = 0;

BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_COMMAND(ID_TEST_FRAME_CMD, OnFrameCmd)
    ON_COMMAND(ID_TEST_DISABLED, OnDisabledCmd)
    ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED, OnUpdateDisabled)
    ON_COMMAND(ID_TEST_CHECK, OnCheckCmd)
    ON_UPDATE_COMMAND_UI(ID_TEST_CHECK, OnUpdateCheck)
    ON_COMMAND(ID_TEST_SHARED, OnSharedCmd)
    ON_COMMAND(ID_TEST_HIDDEN_OFF, OnHiddenCmd)
    ON_UPDATE_COMMAND_UI(ID_TEST_HIDDEN_OFF, OnUpdateDisabled)
END_MESSAGE_MAP()

class FrameTest : public FrameworkTest {
protected:
    void SetUp() override {
        FrameworkTest::SetUp();
        m_pFrame = new CTestFrame;
        m_app.m_pMainWnd = m_pFrame;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_TEST_FRAME));
        m_pFrame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER);
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->UpdateWindow();
        AfxPumpPending();
    }
    void TearDown() override {
        if (m_app.m_pMainWnd)
            m_app.m_pMainWnd->DestroyWindow();
        AfxPumpPending();
        EXPECT_EQ(CTestFrame::s_nAlive, 0);
    }
    // The state of each item of the menu's popup after the menu opened.
    UINT OpenMenuAndGetState(UINT nID) {
        HMENU hPopup = ::GetSubMenu(::GetMenu(m_pFrame->m_hWnd), 0);
        m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)hPopup, MAKELPARAM(0, FALSE));
        return ::GetMenuState(hPopup, nID, MF_BYCOMMAND);
    }
    UINT ButtonState(UINT nID) {
        return static_cast<UINT>(m_pFrame->m_wndToolBar.SendMessage(TB_GETSTATE, nID));
    }
    void PressKey(HWND hWnd, UINT vk) {
        ::PostMessageA(hWnd, WM_KEYDOWN, vk, 1);
        ::PostMessageA(hWnd, WM_KEYUP, vk, 0xC0000001);
        AfxPumpPending();
    }
    CTestFrame* m_pFrame = nullptr;
};

TEST_F(FrameTest, LoadFrameTakesTitleMenuAndAccelerators) {
    CString strTitle;
    m_pFrame->GetWindowText(strTitle);
    EXPECT_EQ(strTitle, "Test Frame");
    EXPECT_NE(::GetMenu(m_pFrame->m_hWnd), nullptr);
    EXPECT_NE(m_pFrame->m_hAccelTable, nullptr);
    EXPECT_EQ(m_pFrame->m_wndStatusBar.GetPaneText(0), "Ready");
}

TEST_F(FrameTest, SplitterPanesHaveIdsAndIdealSizes) {
    const int kBar = CSplitterWnd::kBarSize;
    CRect rcClient;
    m_pFrame->m_wndSplitter.GetClientRect(&rcClient);
    ASSERT_GT(rcClient.Width(), 300 + kBar);
    ASSERT_GT(rcClient.Height(), 100 + kBar);

    EXPECT_EQ(m_pFrame->m_wndSplitter.GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(m_pFrame->m_wndSplitter.GetPane(0, 0), &m_pFrame->m_wndLeftSplitter);
    EXPECT_EQ(m_pFrame->m_wndSplitter.GetPane(0, 1), &m_pFrame->m_list);
    EXPECT_EQ(m_pFrame->m_wndLeftSplitter.GetPane(1, 0), &m_pFrame->m_paneBottom);
    EXPECT_EQ(m_pFrame->m_paneBottom.GetDlgCtrlID(), 0xE910);
    EXPECT_EQ(m_pFrame->m_list.GetDlgCtrlID(), 0xE901);

    auto rectIn = [](CWnd& wnd, CWnd& parent) {
        CRect rc;
        wnd.GetWindowRect(&rc);
        parent.ScreenToClient(&rc);
        return rc;
    };
    CRect rcLeft = rectIn(m_pFrame->m_wndLeftSplitter, m_pFrame->m_wndSplitter);
    CRect rcList = rectIn(m_pFrame->m_list, m_pFrame->m_wndSplitter);
    CRect rcTop = rectIn(m_pFrame->m_paneTop, m_pFrame->m_wndLeftSplitter);
    CRect rcBottom = rectIn(m_pFrame->m_paneBottom, m_pFrame->m_wndLeftSplitter);
    EXPECT_EQ(rcLeft, CRect(0, 0, 300, rcClient.Height()));
    EXPECT_EQ(rcList, CRect(300 + kBar, 0, rcClient.Width(), rcClient.Height())); // the rest
    EXPECT_EQ(rcTop, CRect(0, 0, 300, 100));
    EXPECT_EQ(rcBottom, CRect(0, 100 + kBar, 300, rcClient.Height()));

    // Dragging the bar 50 pixels to the right widens the left column.
    CSplitterWnd& splitter = m_pFrame->m_wndSplitter;
    int yMid = rcClient.Height() / 2;
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(302, yMid));
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(352, yMid));
    splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(352, yMid));
    int cxCur = 0, cxMin = 0;
    splitter.GetColumnInfo(0, cxCur, cxMin);
    EXPECT_EQ(cxCur, 350);
    EXPECT_EQ(rectIn(m_pFrame->m_list, splitter).left, 350 + kBar);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST(SplitterLayoutTest, LastColumnTakesTheRest) {
    const int kBar = CSplitterWnd::kBarSize;
    struct Case {
        int cxClient, cxIdeal, cxMin;
        int cxFirst, cxLast;
    };
    const Case cases[] = {
        {800, 300, 0, 300, 800 - 300 - kBar}, // ideal size, the last column the rest
        {200, 300, 0, 200, 0},                // too narrow: the first is cut, the last empty
        {800, 50, 100, 0, 800 - kBar},        // ideal below minimum: hidden
        {800, 0, 0, 0, 800 - kBar},
    };
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cxClient * 1000 + c.cxIdeal);
        CSplitterWnd splitter;
        ASSERT_TRUE(splitter.CreateStatic(&parent, 1, 2));
        splitter.SetColumnInfo(0, c.cxIdeal, c.cxMin);
        splitter.MoveWindow(0, 0, c.cxClient, 100);
        int cxFirst = -1, cxLast = -1, cxMin = 0;
        splitter.GetColumnInfo(0, cxFirst, cxMin);
        splitter.GetColumnInfo(1, cxLast, cxMin);
        EXPECT_EQ(cxFirst, c.cxFirst);
        EXPECT_EQ(cxLast, c.cxLast);
        splitter.DestroyWindow();
    }
}

TEST_F(FrameTest, BarsAtTopAndBottomAndThePaneBetween) {
    CRect rcClient, rcTool, rcStatus, rcPane;
    m_pFrame->GetClientRect(&rcClient);
    auto rectIn = [this](CWnd& wnd) {
        CRect rc;
        wnd.GetWindowRect(&rc);
        m_pFrame->ScreenToClient(&rc);
        return rc;
    };
    rcTool = rectIn(m_pFrame->m_wndToolBar);
    rcStatus = rectIn(m_pFrame->m_wndStatusBar);
    rcPane = rectIn(m_pFrame->m_wndSplitter);
    EXPECT_EQ(rcTool.top, 0);
    EXPECT_GT(rcTool.Height(), 16);
    EXPECT_EQ(rcStatus.bottom, rcClient.bottom);
    EXPECT_GT(rcStatus.Height(), 0);
    EXPECT_EQ(rcPane, CRect(0, rcTool.bottom, rcClient.right, rcStatus.top));
    EXPECT_EQ(m_pFrame->m_wndToolBar.GetCount(), 7);
    EXPECT_EQ(m_pFrame->m_wndToolBar.GetItemID(2), static_cast<UINT>(ID_SEPARATOR));
}

TEST_F(FrameTest, MenuPopupUpdateDisablesUnhandledCommands) {
    struct Case {
        UINT nID;
        bool bEnabled;
        bool bChecked;
    };
    // No pane has had the focus: the pane's command is nobody's yet.
    const Case before[] = {
        {ID_TEST_PANE_CMD, false, false},  {ID_TEST_FRAME_CMD, true, false},
        {ID_TEST_UNHANDLED, false, false}, {ID_TEST_DISABLED, false, false},
        {ID_TEST_APP_CMD, true, false},    {ID_TEST_CHECK, true, true},
    };
    for (const Case& c : before) {
        SCOPED_TRACE(c.nID);
        UINT nState = OpenMenuAndGetState(c.nID);
        EXPECT_EQ((nState & MF_GRAYED) == 0, c.bEnabled);
        EXPECT_EQ((nState & MF_CHECKED) != 0, c.bChecked);
    }
    m_pFrame->m_paneBottom.SetFocus();
    EXPECT_EQ(m_pFrame->m_pFocusPane, &m_pFrame->m_paneBottom);
    EXPECT_EQ(OpenMenuAndGetState(ID_TEST_PANE_CMD) & MF_GRAYED, 0u);

    m_pFrame->m_bEnableDisabled = TRUE;
    m_pFrame->m_nCheck = 0;
    EXPECT_EQ(OpenMenuAndGetState(ID_TEST_DISABLED) & MF_GRAYED, 0u);
    EXPECT_EQ(OpenMenuAndGetState(ID_TEST_CHECK) & MF_CHECKED, 0u);
}

TEST_F(FrameTest, ToolBarButtonsFollowTheUpdateHandlersInIdleTime) {
    EXPECT_FALSE(ButtonState(ID_TEST_PANE_CMD) & TBSTATE_ENABLED);
    EXPECT_TRUE(ButtonState(ID_TEST_FRAME_CMD) & TBSTATE_ENABLED);
    EXPECT_FALSE(ButtonState(ID_TEST_UNHANDLED) & TBSTATE_ENABLED);
    EXPECT_FALSE(ButtonState(ID_TEST_DISABLED) & TBSTATE_ENABLED);
    EXPECT_TRUE(ButtonState(ID_TEST_APP_CMD) & TBSTATE_ENABLED);
    EXPECT_TRUE(ButtonState(ID_TEST_CHECK) & TBSTATE_CHECKED);

    m_pFrame->m_paneTop.SetFocus();
    m_pFrame->m_nCheck = 0;
    AfxPumpPending();
    EXPECT_TRUE(ButtonState(ID_TEST_PANE_CMD) & TBSTATE_ENABLED);
    EXPECT_FALSE(ButtonState(ID_TEST_CHECK) & TBSTATE_CHECKED);
}

TEST_F(FrameTest, CommandsGoToTheFocusPaneThenFrameThenApplication) {
    auto send = [this](UINT nID) { m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0); };
    send(ID_TEST_PANE_CMD); // no focus pane yet: nobody handles it
    send(ID_TEST_SHARED);
    EXPECT_EQ(m_pFrame->m_paneTop.m_nPaneCmd + m_pFrame->m_paneBottom.m_nPaneCmd, 0);
    EXPECT_EQ(m_pFrame->m_nSharedCmd, 1);

    m_pFrame->m_paneTop.SetFocus();
    m_pFrame->m_list.SetFocus(); // not a pane that registers: the focus pane stays
    send(ID_TEST_PANE_CMD);
    send(ID_TEST_SHARED); // the pane handles it first, the frame no more
    send(ID_TEST_FRAME_CMD);
    send(ID_TEST_APP_CMD);
    EXPECT_EQ(m_pFrame->m_paneTop.m_nPaneCmd, 1);
    EXPECT_EQ(m_pFrame->m_paneTop.m_nSharedCmd, 1);
    EXPECT_EQ(m_pFrame->m_nSharedCmd, 1);
    EXPECT_EQ(m_pFrame->m_nFrameCmd, 1);
    EXPECT_EQ(m_app.m_nAppCmd, 1);

    send(ID_TEST_DISABLED); // from the menu while its update handler disables it
    EXPECT_EQ(m_pFrame->m_nDisabledCmd, 0);
}

TEST_F(FrameTest, AcceleratorOfADisabledCommandIsSwallowed) {
    HWND hFocus = m_pFrame->m_paneBottom.m_hWnd;
    m_pFrame->m_paneBottom.SetFocus();
    PressKey(hFocus, VK_F3);
    PressKey(hFocus, VK_F2); // in the menu, disabled
    PressKey(hFocus, VK_F4); // not in the menu, disabled
    PressKey(hFocus, VK_F6); // the focus pane's command
    EXPECT_EQ(m_pFrame->m_nFrameCmd, 1);
    EXPECT_EQ(m_pFrame->m_nDisabledCmd, 0);
    EXPECT_EQ(m_pFrame->m_nHiddenCmd, 0);
    EXPECT_EQ(m_pFrame->m_paneBottom.m_nPaneCmd, 1);

    m_pFrame->m_bEnableDisabled = TRUE;
    PressKey(hFocus, VK_F2);
    PressKey(hFocus, VK_F4);
    EXPECT_EQ(m_pFrame->m_nDisabledCmd, 1);
    EXPECT_EQ(m_pFrame->m_nHiddenCmd, 1);
}

TEST_F(FrameTest, PreTranslateRunsFromTheTargetWindowUpToTheFrame) {
    m_pFrame->m_paneTop.m_pLog = &m_pFrame->m_log;
    m_pFrame->m_paneTop.m_pszName = "pane";
    m_pFrame->m_paneTop.SetFocus();
    PressKey(m_pFrame->m_paneTop.m_hWnd, VK_F3);
    EXPECT_EQ(m_pFrame->m_log,
              (std::vector<std::string>{"pane pretranslate", "frame pretranslate"}));
    EXPECT_EQ(m_pFrame->m_nFrameCmd, 1);

    m_pFrame->m_log.clear();
    m_pFrame->m_paneTop.m_bEatKeys = true; // consumed by the pane: no accelerator
    PressKey(m_pFrame->m_paneTop.m_hWnd, VK_F3);
    EXPECT_EQ(m_pFrame->m_log, std::vector<std::string>{"pane pretranslate"});
    EXPECT_EQ(m_pFrame->m_nFrameCmd, 1);
}

TEST_F(FrameTest, FocusOnTheFrameGoesToThePaneWindowNotToAPane) {
    m_pFrame->SetFocus();
    EXPECT_EQ(::GetFocus(), m_pFrame->m_wndSplitter.m_hWnd);
    EXPECT_EQ(m_pFrame->m_pFocusPane, nullptr);
}

TEST_F(FrameTest, FocusComesBackToTheChildThatHadItWhenTheFrameIsReactivated) {
    m_pFrame->m_paneBottom.SetFocus();
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, nullptr, "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                               100, nullptr, nullptr));
    ::SetActiveWindow(other.m_hWnd);
    ASSERT_EQ(::GetActiveWindow(), other.m_hWnd);
    ::SetActiveWindow(m_pFrame->m_hWnd);
    EXPECT_EQ(::GetFocus(), m_pFrame->m_paneBottom.m_hWnd);
    EXPECT_EQ(m_pFrame->m_pFocusPane, &m_pFrame->m_paneBottom);
}

TEST_F(FrameTest, FlyByPromptFollowsTheHotButton) {
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    NMTBHOTITEM hot{};
    hot.hdr.hwndFrom = m_pFrame->m_wndToolBar.m_hWnd;
    hot.hdr.idFrom = AFX_IDW_TOOLBAR;
    hot.hdr.code = TBN_HOTITEMCHANGE;
    hot.idNew = ID_TEST_FRAME_CMD;
    hot.dwFlags = HICF_MOUSE | HICF_ENTERING;
    m_pFrame->SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, (LPARAM)&hot);
    EXPECT_EQ(bar.GetPaneText(0), "Frame command prompt");
    hot.idOld = ID_TEST_FRAME_CMD;
    hot.idNew = 0;
    hot.dwFlags = HICF_MOUSE | HICF_LEAVING;
    m_pFrame->SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, (LPARAM)&hot);
    EXPECT_EQ(bar.GetPaneText(0), "Ready");

    m_pFrame->SetMessageText(ID_TEST_PANE_CMD);
    m_pFrame->SendMessage(WM_EXITMENULOOP);
    EXPECT_EQ(bar.GetPaneText(0), "Ready");
}

TEST_F(FrameTest, StatusBarShowsIndicatorsAndPrompts) {
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    ASSERT_EQ(bar.GetCount(), 3);
    EXPECT_EQ(bar.SendMessage(SB_GETPARTS), 3);

    BYTE keys[256];
    ASSERT_TRUE(::GetKeyboardState(keys));
    const BYTE savedCaps = keys[VK_CAPITAL], savedNum = keys[VK_NUMLOCK];
    struct Case {
        bool bCaps, bNum;
        const char* pszCaps;
        const char* pszNum;
    };
    const Case cases[] = {
        {true, false, "CAP", ""}, {false, true, "", "NUM"}, {false, false, "", ""}};
    for (const Case& c : cases) {
        keys[VK_CAPITAL] = c.bCaps ? 1 : 0;
        keys[VK_NUMLOCK] = c.bNum ? 1 : 0;
        ::SetKeyboardState(keys);
        AfxPumpPending();
        EXPECT_EQ(bar.GetPaneText(1), c.pszCaps);
        EXPECT_EQ(bar.GetPaneText(2), c.pszNum);
    }
    keys[VK_CAPITAL] = savedCaps;
    keys[VK_NUMLOCK] = savedNum;
    ::SetKeyboardState(keys);

    HMENU hPopup = ::GetSubMenu(::GetMenu(m_pFrame->m_hWnd), 0);
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_TEST_FRAME_CMD, MF_HILITE), (LPARAM)hPopup);
    EXPECT_EQ(bar.GetPaneText(0), "Frame command prompt");
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_TEST_UNHANDLED, MF_HILITE), (LPARAM)hPopup);
    EXPECT_EQ(bar.GetPaneText(0), ""); // a command without a string
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(bar.GetPaneText(0), "Ready");

    UINT missing[] = {ID_SEPARATOR, IDS_TEST_NO_STRING};
    EXPECT_FALSE(bar.SetIndicators(missing, 2));
}

TEST_F(FrameTest, ToolTipIsTheTextAfterTheNewline) {
    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = m_pFrame->m_wndToolBar.m_hWnd;
    info.hdr.idFrom = ID_TEST_PANE_CMD;
    info.hdr.code = TTN_GETDISPINFOA;
    m_pFrame->SendMessage(WM_NOTIFY, ID_TEST_PANE_CMD, (LPARAM)&info);
    EXPECT_STREQ(info.lpszText, "Pane tip");
    info.hdr.idFrom = ID_TEST_DISABLED; // no "\n": no tip
    m_pFrame->SendMessage(WM_NOTIFY, ID_TEST_DISABLED, (LPARAM)&info);
    EXPECT_STREQ(info.lpszText, "");
}

TEST_F(FrameTest, ToolBarTooltipControlAsksTheFrame) {
    HWND hTips = reinterpret_cast<HWND>(m_pFrame->m_wndToolBar.SendMessage(TB_GETTOOLTIPS));
    ASSERT_NE(hTips, nullptr);
    char szText[80] = "";
    TTTOOLINFOA ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = m_pFrame->m_wndToolBar.m_hWnd;
    ti.uId = ID_TEST_FRAME_CMD;
    ti.lpszText = szText;
    ::SendMessageA(hTips, TTM_GETTEXTA, sizeof(szText), (LPARAM)&ti);
    EXPECT_STREQ(szText, "Frame tip");
}

TEST_F(FrameTest, AppExitClosesAndDeletesTheFrame) {
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0), 0);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(CTestFrame::s_nAlive, 0);
    EXPECT_FALSE(AfxPumpUntil([] { return false; }, 2000)); // the loop ends with WM_QUIT
    EXPECT_EQ(m_app.m_msgCur.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(FrameworkTest, FrameWhoseCreationFailsIsDeleted) {
    auto* pFrame = new CTestFrame;
    pFrame->m_bFailCreate = true;
    m_app.m_pMainWnd = pFrame;
    EXPECT_FALSE(pFrame->LoadFrame(IDR_TEST_FRAME));
    EXPECT_EQ(CTestFrame::s_nAlive, 0);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
}

// ---- Dialog data exchange

class CTestDialog : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    explicit CTestDialog(CWnd* pOwner = nullptr) : CDialog(IDD_TEST_DIALOG, pOwner) {}

    CString m_strDir;
    CColorStatic m_link;
    // What the script saw while the dialog ran.
    CString m_strShown;
    bool m_bLinkBound = false;
    bool m_bStayedOpen = false;
    bool m_bFocusOnEdit = false;
    DWORD m_dwSelection = 0;
    bool m_bCancel = false;
    // Where OnInitDialog puts the dialog (none: where it was), and where it was when shown.
    std::optional<POINT> m_ptPlace;
    RECT m_rcShown{};

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_TEST_LINK, m_link);
        DDX_Text(pDX, IDC_TEST_EDIT, m_strDir);
        if (pDX->m_bSaveAndValidate && m_strDir == "bad")
            pDX->Fail();
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_ptPlace)
            SetWindowPos(nullptr, m_ptPlace->x, m_ptPlace->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        PostMessage(WM_APP);
        return TRUE;
    }
    // Plays the user: reads the fields, types, presses OK.
    afx_msg LRESULT OnScript(WPARAM, LPARAM) {
        ::GetWindowRect(m_hWnd, &m_rcShown);
        GetDlgItemText(IDC_TEST_EDIT, m_strShown);
        m_bLinkBound = m_link.m_hWnd == ::GetDlgItem(m_hWnd, IDC_TEST_LINK) &&
                       CWnd::FromHandlePermanent(m_link.m_hWnd) == &m_link;
        HWND hOK = ::GetDlgItem(m_hWnd, IDOK);
        if (m_bCancel) {
            SetDlgItemText(IDC_TEST_EDIT, "D:\\Out");
            SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                        (LPARAM)::GetDlgItem(m_hWnd, IDCANCEL));
            return 0;
        }
        SetDlgItemText(IDC_TEST_EDIT, "bad");
        SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)hOK);
        m_bStayedOpen = IsWindow();
        m_bFocusOnEdit = ::GetFocus() == ::GetDlgItem(m_hWnd, IDC_TEST_EDIT);
        m_dwSelection =
            static_cast<DWORD>(::SendDlgItemMessageA(m_hWnd, IDC_TEST_EDIT, EM_GETSEL, 0, 0));
        SetDlgItemText(IDC_TEST_EDIT, "D:\\Out");
        SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)hOK);
        return 0;
    }
};

BEGIN_MESSAGE_MAP(CTestDialog, CDialog)
    ON_MESSAGE(WM_APP, OnScript)
END_MESSAGE_MAP()

TEST_F(FrameworkTest, DialogDataExchangeRoundTrip) {
    CTestDialog dlg;
    dlg.m_strDir = "C:\\In";
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strShown, "C:\\In");
    EXPECT_TRUE(dlg.m_bLinkBound);
    EXPECT_TRUE(dlg.m_bStayedOpen); // the failed exchange kept the dialog open
    EXPECT_TRUE(dlg.m_bFocusOnEdit);
    EXPECT_EQ(dlg.m_dwSelection, static_cast<DWORD>(MAKELONG(0, 3))); // all of "bad"
    EXPECT_EQ(dlg.m_strDir, "D:\\Out");
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.m_link.m_hWnd, nullptr);
}

TEST_F(FrameworkTest, DialogCancelKeepsTheMembers) {
    CTestDialog dlg;
    dlg.m_strDir = "C:\\In";
    dlg.m_bCancel = true;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_strDir, "C:\\In");
}

TEST_F(FrameworkTest, DialogOpensCentredOverItsOwnerUnlessPlaced) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner",
                               WS_POPUP | WS_VISIBLE | WS_CAPTION, 300, 150, 600, 400, nullptr,
                               nullptr));
    struct Case {
        std::optional<POINT> ptPlace;
        POINT ptExpected; // the dialog's centre, or its top left when placed
    };
    const Case cases[] = {{std::nullopt, {300 + 600 / 2, 150 + 400 / 2}},
                          {POINT{20, 30}, {20, 30}}};
    for (const Case& c : cases) {
        CTestDialog dlg(&owner);
        dlg.m_bCancel = true;
        dlg.m_ptPlace = c.ptPlace;
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        const RECT& rc = dlg.m_rcShown;
        const POINT pt = c.ptPlace ? POINT{rc.left, rc.top}
                                   : POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        EXPECT_NEAR(pt.x, c.ptExpected.x, 1) << (c.ptPlace ? "placed" : "centred");
        EXPECT_NEAR(pt.y, c.ptExpected.y, 1) << (c.ptPlace ? "placed" : "centred");
    }
    owner.DestroyWindow();
}

// ---- Smaller services

TEST_F(FrameworkTest, ProfileFunctionsUseTheProfileFile) {
    char szDir[MAX_PATH], szFile[MAX_PATH];
    ::GetTempPathA(MAX_PATH, szDir);
    ::GetTempFileNameA(szDir, "vq", 0, szFile);
    free(const_cast<char*>(m_app.m_pszProfileName));
    m_app.m_pszProfileName = _strdup(szFile);

    EXPECT_EQ(m_app.GetProfileInt("Main", "HiddenShares", 0), 0u);
    m_app.WriteProfileInt("Main", "HiddenShares", 7);
    m_app.WriteProfileString("Shortcuts", "0000_HotName", "Ctrl + A");
    EXPECT_EQ(m_app.GetProfileInt("Main", "HiddenShares", 0), 7u);
    EXPECT_EQ(m_app.GetProfileString("Shortcuts", "0000_HotName"), "Ctrl + A");
    m_app.WriteProfileString("Shortcuts", nullptr, nullptr); // the whole section goes
    EXPECT_EQ(m_app.GetProfileString("Shortcuts", "0000_HotName", "none"), "none");
    ::DeleteFileA(szFile);
}

TEST_F(FrameworkTest, AppNameAndFormatString) {
    EXPECT_STREQ(AfxGetAppName(), "VqFrameworkTest");
    EXPECT_EQ(AfxGetThread(), &m_app);
    CString str;
    AfxFormatString1(str, IDS_TEST_FORMAT, "\\\\SERVER\\docs");
    EXPECT_EQ(str, "Test - \\\\SERVER\\docs");
}

TEST_F(FrameworkTest, HotKeyNameListsModifiersInOrder) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    CHotKeyCtrl hotKey;
    ASSERT_TRUE(hotKey.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &parent, 1000));
    // The layout's own key names ("Ctrl" on Windows, "Control" under Wine).
    const std::string ctrl = CHotKeyCtrl::GetKeyName(VK_CONTROL, FALSE).str();
    const std::string shift = CHotKeyCtrl::GetKeyName(VK_SHIFT, FALSE).str();
    const std::string alt = CHotKeyCtrl::GetKeyName(VK_MENU, FALSE).str();
    ASSERT_FALSE(ctrl.empty() || shift.empty() || alt.empty());
    struct Case {
        WORD wVK, wModifiers;
        std::string name;
    };
    const Case cases[] = {
        {'A', HOTKEYF_SHIFT | HOTKEYF_CONTROL, ctrl + " + " + shift + " + A"},
        {'A', HOTKEYF_ALT | HOTKEYF_SHIFT | HOTKEYF_CONTROL,
         ctrl + " + " + shift + " + " + alt + " + A"},
        {'B', HOTKEYF_ALT, alt + " + B"},
        {VK_F5, 0, "F5"},
        {0, 0, ""},
    };
    for (const Case& c : cases) {
        hotKey.SetHotKey(c.wVK, c.wModifiers);
        EXPECT_EQ(hotKey.GetHotKey(), static_cast<DWORD>(MAKEWORD(c.wVK, c.wModifiers)));
        EXPECT_EQ(hotKey.GetHotKeyName().str(), c.name);
    }
}

} // namespace

#include "tests/app/app_test_util.h"

#include "model/net_items.h"
#include "simnet/simnet_control.h"
#include "views/file_list.h"
#include "views/net_tree.h"
#include "views/obj_tree.h"

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

using namespace apptest;

namespace {

class FrameTest : public AppTest {};

std::string ClassOf(HWND hWnd) {
    char cls[64] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    return cls;
}

TEST_F(FrameTest, PanesSitInTheSplittersWithTheirIdentifiersAndIdealSizes) {
    CMainFrame* f = m_pFrame;
    // The outer splitter fills the frame between the bars.
    EXPECT_EQ(::GetDlgItem(f->m_hWnd, AFX_IDW_PANE_FIRST), f->m_wndSplitter.m_hWnd);
    EXPECT_EQ(::GetDlgItem(f->m_hWnd, AFX_IDW_TOOLBAR), f->m_wndToolBar.m_hWnd);
    EXPECT_EQ(::GetDlgItem(f->m_hWnd, AFX_IDW_STATUS_BAR), f->m_wndStatusBar.m_hWnd);
    EXPECT_EQ(f->m_wndSplitter.GetRowCount(), 1);
    EXPECT_EQ(f->m_wndSplitter.GetColumnCount(), 2);
    EXPECT_EQ(f->m_wndLeftSplitter.GetRowCount(), 2);
    EXPECT_EQ(f->m_wndLeftSplitter.GetColumnCount(), 1);

    struct Pane {
        const char* name;
        HWND hWnd;
        HWND hParent;
        int nID;
        const char* cls;
        DWORD dwStyle;
    };
    const DWORD tree = WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
    const Pane panes[] = {
        {"left splitter", f->m_wndLeftSplitter.m_hWnd, f->m_wndSplitter.m_hWnd, 0xE900, nullptr,
         WS_CHILD | WS_VISIBLE},
        {"object tree", f->m_pObjTree->m_hWnd, f->m_wndLeftSplitter.m_hWnd, 0xE900, WC_TREEVIEWA,
         tree},
        {"network tree", f->m_pNetTree->m_hWnd, f->m_wndLeftSplitter.m_hWnd, 0xE910, WC_TREEVIEWA,
         tree},
        {"file list", f->m_pFileList->m_hWnd, f->m_wndSplitter.m_hWnd, 0xE901, WC_LISTVIEWA,
         WS_CHILD | WS_VISIBLE | LVS_REPORT},
    };
    for (const Pane& p : panes) {
        SCOPED_TRACE(p.name);
        ASSERT_TRUE(::IsWindow(p.hWnd));
        EXPECT_EQ(::GetParent(p.hWnd), p.hParent);
        EXPECT_EQ(::GetDlgCtrlID(p.hWnd), p.nID);
        if (p.cls) {
            EXPECT_EQ(ClassOf(p.hWnd), p.cls);
        }
        DWORD dwStyle = static_cast<DWORD>(::GetWindowLongPtrA(p.hWnd, GWL_STYLE));
        EXPECT_EQ(dwStyle & p.dwStyle, p.dwStyle) << std::hex << dwStyle;
    }
    EXPECT_EQ(f->m_wndLeftSplitter.GetPane(0, 0), f->m_pObjTree);
    EXPECT_EQ(f->m_wndLeftSplitter.GetPane(1, 0), f->m_pNetTree);
    EXPECT_EQ(f->m_wndSplitter.GetPane(0, 1), f->m_pFileList);
    EXPECT_EQ(f->m_pNetTree->m_pFileList, f->m_pFileList);
    EXPECT_EQ(f->m_pFileList->m_pNetTree, f->m_pNetTree);

    // Ideal sizes: the left column 300 wide, the object tree 100 high; the last row and column
    // take what remains.
    int nCur = 0, nMin = -1;
    f->m_wndSplitter.GetColumnInfo(0, nCur, nMin);
    EXPECT_EQ(nCur, 300);
    EXPECT_EQ(nMin, 0);
    f->m_wndLeftSplitter.GetRowInfo(0, nCur, nMin);
    EXPECT_EQ(nCur, 100);
    EXPECT_EQ(nMin, 0);
    CRect rcObj, rcNet, rcList, rcOuter;
    ::GetWindowRect(f->m_pObjTree->m_hWnd, &rcObj);
    ::GetWindowRect(f->m_pNetTree->m_hWnd, &rcNet);
    ::GetWindowRect(f->m_pFileList->m_hWnd, &rcList);
    ::GetClientRect(f->m_wndSplitter.m_hWnd, &rcOuter);
    EXPECT_EQ(rcObj.Width(), 300);
    EXPECT_EQ(rcObj.Height(), 100);
    EXPECT_EQ(rcNet.Width(), 300);
    EXPECT_GT(rcNet.top, rcObj.bottom - 1);
    EXPECT_GT(rcList.left, rcObj.right - 1);
    EXPECT_GT(rcList.Width(), rcOuter.Width() - 300 - 2 * CSplitterWnd::kBarSize);
}

TEST_F(FrameTest, TitleIconAndClassComeFromTheMainResource) {
    char title[64] = "";
    ::GetWindowTextA(m_pFrame->m_hWnd, title, sizeof(title));
    EXPECT_STREQ(title, "Velloquin");
    EXPECT_NE(m_pFrame->SendMessage(WM_GETICON, ICON_BIG), 0);
    EXPECT_FALSE(m_pFrame->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_EQ(::GetClassLongPtrA(m_pFrame->m_hWnd, GCLP_HBRBACKGROUND), 0);
    EXPECT_EQ(::GetClassLongPtrA(m_pFrame->m_hWnd, GCLP_HICON), 0);
    EXPECT_TRUE(::IsWindowVisible(m_pFrame->m_hWnd));
}

// Pane commands: handled by some pane, so disabled until a pane has had the focus.
const UINT kPaneCommands[] = {
    ID_EDIT_DELETE,        ID_EDIT_COPY,      ID_EDIT_COPY_FULL_PATH,
    ID_EDIT_COPY_DIR_PATH, ID_EDIT_COPY_NAME, ID_VIEW_REFRESH,
    ID_VIEW_EXPAND_1,      ID_VIEW_EXPAND_2,  ID_VIEW_EXPAND_3,
};
const UINT kAlwaysEnabled[] = {ID_VIEW_LARGEICON,    ID_VIEW_LIST,          ID_VIEW_DETAILS,
                               ID_EDIT_ADD_SHORTCUT, ID_VIEW_HIDDEN_SHARES, ID_APP_ABOUT,
                               ID_APP_EXIT};

TEST_F(FrameTest, RightAfterStartUpOnlyTheFrameAndApplicationCommandsAreEnabled) {
    ASSERT_EQ(m_pFrame->m_pFocusPane, nullptr);
    for (UINT nID : kPaneCommands)
        EXPECT_FALSE(MenuItemEnabled(m_pFrame, nID)) << nID;
    for (UINT nID : {ID_EDIT_ADD_BOOKMARK, ID_EDIT_FIND})
        EXPECT_FALSE(MenuItemEnabled(m_pFrame, nID)) << nID;
    for (UINT nID : kAlwaysEnabled) {
        SCOPED_TRACE(nID);
        EXPECT_TRUE(MenuItemEnabled(m_pFrame, nID));
    }
    // The tool bar agrees once idle time has run.
    for (UINT nID :
         {ID_EDIT_ADD_BOOKMARK, ID_EDIT_FIND, ID_EDIT_DELETE, ID_VIEW_REFRESH, ID_EDIT_COPY})
        EXPECT_FALSE(ToolButtonEnabled(m_pFrame, nID)) << nID;
    for (UINT nID : {ID_EDIT_ADD_SHORTCUT, ID_VIEW_LARGEICON, ID_VIEW_LIST, ID_VIEW_DETAILS,
                     ID_VIEW_HIDDEN_SHARES, ID_APP_ABOUT, ID_APP_EXIT})
        EXPECT_TRUE(ToolButtonEnabled(m_pFrame, nID)) << nID;
}

// Who answers a command: the first target on the route that has a handler.
CCmdTarget* HandlerOf(CMainFrame* pFrame, UINT nID) {
    AFX_CMDHANDLERINFO info{nullptr};
    if (!pFrame->OnCmdMsg(nID, CN_COMMAND, nullptr, &info))
        return nullptr;
    return info.pTarget;
}

TEST_F(FrameTest, ClickingIntoAPaneMakesItTheFirstTargetOfCommands) {
    CMainFrame* f = m_pFrame;
    CWnd* obj = f->m_pObjTree;
    CWnd* net = f->m_pNetTree;
    CWnd* list = f->m_pFileList;
    CCmdTarget* frame = f;
    CCmdTarget* app = &theApp;
    struct Row {
        UINT nID;
        CCmdTarget* objFocused;
        CCmdTarget* netFocused;
        CCmdTarget* listFocused;
    };
    const Row rows[] = {
        {ID_VIEW_REFRESH, nullptr, net, list},
        {ID_EDIT_DELETE, obj, net, list},
        {ID_VIEW_EXPAND_1, nullptr, net, nullptr},
        {ID_VIEW_EXPAND_3, nullptr, net, nullptr},
        {ID_EDIT_COPY, nullptr, net, list},
        {ID_EDIT_COPY_FULL_PATH, nullptr, net, list},
        {ID_EDIT_COPY_NAME, nullptr, net, list},
        {ID_EDIT_ADD_BOOKMARK, nullptr, nullptr, nullptr},
        {ID_EDIT_FIND, nullptr, nullptr, nullptr},
        {ID_NEXT_PANE, nullptr, nullptr, nullptr},
        {ID_EDIT_ADD_SHORTCUT, frame, frame, frame},
        {ID_VIEW_LIST, frame, frame, frame},
        {ID_VIEW_HIDDEN_SHARES, app, app, app},
        {ID_APP_ABOUT, app, app, app},
        {ID_APP_EXIT, app, app, app},
    };
    struct Focus {
        const char* name;
        CWnd* pane;
        CCmdTarget* Row::*column;
    };
    const Focus order[] = {{"object tree", obj, &Row::objFocused},
                           {"network tree", net, &Row::netFocused},
                           {"file list", list, &Row::listFocused}};
    for (const Focus& focus : order) {
        SCOPED_TRACE(focus.name);
        ClickInto(focus.pane->m_hWnd);
        ASSERT_EQ(f->m_pFocusPane, focus.pane);
        for (const Row& row : rows)
            EXPECT_EQ(HandlerOf(f, row.nID), row.*focus.column) << "command " << row.nID;
    }
    // The focus pane stays when the focus leaves the panes.
    ::SetFocus(f->m_wndToolBar.m_hWnd);
    AfxPumpPending();
    EXPECT_EQ(f->m_pFocusPane, list);
}

TEST_F(FrameTest, WithTheObjectTreeFocusedTheNetworkCommandsAreDisabled) {
    ClickInto(m_pFrame->m_pObjTree->m_hWnd);
    ASSERT_EQ(m_pFrame->m_pFocusPane, m_pFrame->m_pObjTree);
    for (UINT nID : {ID_VIEW_REFRESH, ID_VIEW_EXPAND_1, ID_VIEW_EXPAND_2, ID_VIEW_EXPAND_3,
                     ID_EDIT_COPY, ID_EDIT_COPY_NAME})
        EXPECT_FALSE(MenuItemEnabled(m_pFrame, nID)) << nID;
    EXPECT_FALSE(ToolButtonEnabled(m_pFrame, ID_VIEW_REFRESH));

    ClickInto(m_pFrame->m_pNetTree->m_hWnd);
    ASSERT_EQ(m_pFrame->m_pFocusPane, m_pFrame->m_pNetTree);
    EXPECT_TRUE(MenuItemEnabled(m_pFrame, ID_VIEW_REFRESH));
    EXPECT_TRUE(ToolButtonEnabled(m_pFrame, ID_VIEW_REFRESH));
}

bool OurDialogOpen() {
    HWND hFound = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            char cls[16] = "";
            ::GetClassNameA(hWnd, cls, sizeof(cls));
            if (strcmp(cls, "#32770") == 0 && ::IsWindowVisible(hWnd)) {
                *reinterpret_cast<HWND*>(lParam) = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&hFound));
    return hFound != nullptr;
}

LONG ServerEnumCalls() {
    return simnet::Stats().serverEnumCalls;
}

TEST_F(FrameTest, AnUnhandledCommandIsDisabledEverywhereAndItsAcceleratorDoesNothing) {
    ASSERT_TRUE(simnet::Available());
    ASSERT_EQ(simnet::LoadText("[domain Lab]\n[computer Lab/ONE]\n"), 0);
    for (UINT nID : {ID_EDIT_FIND, ID_EDIT_ADD_BOOKMARK}) {
        EXPECT_FALSE(MenuItemEnabled(m_pFrame, nID)) << nID;
        EXPECT_FALSE(ToolButtonEnabled(m_pFrame, nID)) << nID;
    }
    // Refresh and Expand belong to the network tree and the file list, not to the object tree.
    ClickInto(m_pFrame->m_pObjTree->m_hWnd);
    ASSERT_EQ(m_pFrame->m_pFocusPane, m_pFrame->m_pObjTree);
    EXPECT_FALSE(MenuItemEnabled(m_pFrame, ID_VIEW_REFRESH));
    ASSERT_TRUE(PumpUntil([] { return !g_root.m_bBusy; }, 15000));
    const LONG nCalls = ServerEnumCalls();
    const BYTE bHidden = theApp.m_bHiddenShares;

    PressKey('F', true);          // Find
    PressKey(VK_F6);              // next pane
    PressKey(VK_F6, false, true); // previous pane
    PressKey(VK_F5);              // Refresh
    PressKey('1', true);          // Expand one level
    EXPECT_EQ(ServerEnumCalls(), nCalls);
    EXPECT_FALSE(g_root.m_bBusy);
    EXPECT_FALSE(OurDialogOpen());
    EXPECT_EQ(::GetFocus(), m_pFrame->m_pObjTree->m_hWnd);
    EXPECT_EQ(m_pFrame->m_pFocusPane, m_pFrame->m_pObjTree);
    EXPECT_EQ(theApp.m_bHiddenShares, bHidden);

    // The same keys do reach a pane that handles them.
    ClickInto(m_pFrame->m_pNetTree->m_hWnd);
    m_pFrame->m_pNetTree->SelectItem(nullptr);
    PressKey(VK_F5);
    EXPECT_TRUE(PumpUntil([nCalls] { return ServerEnumCalls() > nCalls; }, 5000));
    ASSERT_TRUE(PumpUntil([] { return !g_root.m_bBusy; }, 15000));
}

TEST_F(FrameTest, ToolBarHasTwelveButtonsInFiveGroups) {
    CToolBar& bar = m_pFrame->m_wndToolBar;
    std::vector<std::vector<UINT>> groups(1);
    for (int i = 0; i < bar.GetCount(); ++i) {
        UINT nID = bar.GetItemID(i);
        if (nID == ID_SEPARATOR)
            groups.emplace_back();
        else
            groups.back().push_back(nID);
    }
    const std::vector<std::vector<UINT>> expected = {
        {ID_EDIT_ADD_BOOKMARK, ID_EDIT_FIND, ID_EDIT_ADD_SHORTCUT, ID_EDIT_DELETE},
        {ID_VIEW_REFRESH},
        {ID_EDIT_COPY},
        {ID_VIEW_LARGEICON, ID_VIEW_LIST, ID_VIEW_DETAILS, ID_VIEW_HIDDEN_SHARES},
        {ID_APP_ABOUT, ID_APP_EXIT},
    };
    EXPECT_EQ(groups, expected);
    DWORD dwStyle = static_cast<DWORD>(bar.GetStyle());
    EXPECT_TRUE(dwStyle & TBSTYLE_FLAT);
    EXPECT_TRUE(dwStyle & TBSTYLE_TOOLTIPS);
    EXPECT_EQ(bar.GetBarStyle() & (CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC),
              static_cast<DWORD>(CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC));
    // Docked at the top: above the splitter.
    CRect rcBar, rcSplit;
    bar.GetWindowRect(&rcBar);
    m_pFrame->m_wndSplitter.GetWindowRect(&rcSplit);
    EXPECT_LE(rcBar.bottom, rcSplit.top);
}

TEST_F(FrameTest, StatusBarShowsPromptsOfHighlightedItemsAndReadyWhenIdle) {
    CStatusBar& bar = m_pFrame->m_wndStatusBar;
    ASSERT_EQ(bar.GetCount(), 3);
    EXPECT_EQ(bar.GetItemID(0), static_cast<UINT>(ID_SEPARATOR));
    EXPECT_EQ(bar.GetItemID(1), static_cast<UINT>(ID_INDICATOR_CAPS));
    EXPECT_EQ(bar.GetItemID(2), static_cast<UINT>(ID_INDICATOR_NUM));
    EXPECT_EQ(StatusText(m_pFrame), "Ready");

    HMENU hMenu = ::GetMenu(m_pFrame->m_hWnd);
    struct Row {
        UINT nID;
        const char* prompt;
    };
    const Row rows[] = {
        {ID_VIEW_REFRESH, "Reload the computers list"},
        {ID_VIEW_HIDDEN_SHARES, "Show hidden shares ($ terminated)"},
        {ID_EDIT_COPY_FULL_PATH, "Copy the full path of the selection and put it on the Clipboard"},
        {ID_EDIT_COPY_DIR_PATH, ""},
        {ID_APP_EXIT, "Quit the application"},
    };
    for (const Row& row : rows) {
        HMENU hPopup;
        UINT nPos;
        ASSERT_TRUE(FindMenuItem(hMenu, row.nID, hPopup, nPos));
        m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(row.nID, MF_HILITE),
                              reinterpret_cast<LPARAM>(hPopup));
        EXPECT_EQ(StatusText(m_pFrame), row.prompt) << row.nID;
    }
    // The menu closes.
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(StatusText(m_pFrame), "Ready");
}

TEST_F(FrameTest, ShowHiddenSharesTogglesItsCheckMark) {
    ASSERT_EQ(theApp.m_bHiddenShares, 0);
    EXPECT_FALSE(MenuItemState(m_pFrame, ID_VIEW_HIDDEN_SHARES) & MF_CHECKED);
    EXPECT_FALSE(ToolButtonChecked(m_pFrame, ID_VIEW_HIDDEN_SHARES));
    for (int expected : {1, 0, 1}) {
        m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_VIEW_HIDDEN_SHARES, 0), 0);
        EXPECT_EQ(theApp.m_bHiddenShares, expected);
        EXPECT_EQ((MenuItemState(m_pFrame, ID_VIEW_HIDDEN_SHARES) & MF_CHECKED) != 0,
                  expected == 1);
        EXPECT_EQ(ToolButtonChecked(m_pFrame, ID_VIEW_HIDDEN_SHARES), expected == 1);
    }
    // The listing threads read the same byte.
    EXPECT_EQ(*g_pHiddenShares, 1);
}

// ---- Activation: the foreground comes back once when a transfer's progress window takes it.

DWORD g_dwNow = 0;
DWORD WINAPI FakeTick() {
    return g_dwNow;
}

class ActivationTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        if (HasFatalFailure())
            return;
        CMainFrame::s_pfnGetTickCount = FakeTick;
        m_hOther = ::CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                                     200, 100, nullptr, nullptr, nullptr, nullptr);
        ClickInto(m_pFrame->m_pFileList->m_hWnd);
    }
    void TearDown() override {
        ::DestroyWindow(m_hOther);
        AppTest::TearDown();
    }
    // Another window takes the activation; answers whether the frame took it back.
    bool Deactivate() {
        ::SetForegroundWindow(m_hOther);
        PumpUntil([this] { return ::GetForegroundWindow() == m_pFrame->m_hWnd; }, 300);
        AfxPumpPending();
        return ::GetForegroundWindow() == m_pFrame->m_hWnd;
    }
    HWND m_hOther = nullptr;
};

TEST_F(ActivationTest, DeactivationSoonAfterATransferStartIsTakenBackOnce) {
    struct Case {
        DWORD dwStart;
        DWORD dwNow;
        bool bReclaimed;
    };
    const Case cases[] = {
        {100000, 100000 + 1499, true},
        {100000, 100000 + 1500, false},
        {100000, 100000 + 60000, false},
        {100000, 100000, true},
        {0xFFFFFF00u, 0x100, true}, // the tick count wrapped: 512 ms
        {0xFFFFFF00u, 0x600, false},
        {0, 100, false}, // no transfer started, even right after the clock starts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dwStart << " -> " << c.dwNow);
        ::SetForegroundWindow(m_pFrame->m_hWnd);
        ::SetFocus(m_pFrame->m_pFileList->m_hWnd);
        AfxPumpPending();
        m_pFrame->m_dwTransferStart = c.dwStart;
        g_dwNow = c.dwNow;
        EXPECT_EQ(Deactivate(), c.bReclaimed);
        if (c.bReclaimed) {
            EXPECT_EQ(m_pFrame->m_dwTransferStart, 0u);
            EXPECT_EQ(::GetFocus(), m_pFrame->m_pFileList->m_hWnd);
            // A second deactivation within the same 1.5 seconds stays.
            EXPECT_FALSE(Deactivate());
        } else {
            EXPECT_EQ(m_pFrame->m_dwTransferStart, c.dwStart);
        }
    }
}

TEST_F(ActivationTest, ReclaimingGivesTheFocusBackToTheFocusPane) {
    ClickInto(m_pFrame->m_pNetTree->m_hWnd);
    m_pFrame->m_dwTransferStart = 5000;
    g_dwNow = 5001;
    ASSERT_TRUE(Deactivate());
    EXPECT_EQ(::GetFocus(), m_pFrame->m_pNetTree->m_hWnd);
}

} // namespace

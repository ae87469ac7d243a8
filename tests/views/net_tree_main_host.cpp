// Hosts the panes of the network tree's tests in the application's main frame, with its
// splitters, bars and focus-pane routing.
#include "tests/views/net_tree_support.h"

#include "app/main_frame.h"
#include "res/resource.h"

namespace nttest {
namespace {

Host OpenMainFrame(CNetTree* pTree, int cx, int cy) {
    Host host;
    auto* pFrame = new CMainFrame;
    if (pTree) {
        delete pFrame->m_pNetTree;
        pFrame->m_pNetTree = pTree;
    }
    if (!pFrame->LoadFrame(IDR_MAINFRAME)) {
        ADD_FAILURE() << "the main frame was not created";
        return host;
    }
    host.hFrame = pFrame->m_hWnd;
    host.pTree = pFrame->m_pNetTree;
    host.pList = pFrame->m_pFileList;
    host.hTree = host.pTree->m_hWnd;
    host.hList = host.pList->m_hWnd;
    SetWindowPos(host.hFrame, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(host.hFrame, SW_SHOW);
    UpdateWindow(host.hFrame);
    return host;
}

const bool s_bMainFrame = (g_pfnOpenHost = OpenMainFrame, true);

} // namespace
} // namespace nttest

namespace {

using nttest::NetTreeTest;

// The window tests run in the application's frame: the tree sits in the inner splitter and makes
// itself the frame's focus pane.
TEST_F(NetTreeTest, TreeIsAPaneOfTheMainFrame) {
    nttest::LoadNetwork("[network]\n[domain WG]\n");
    m_host = nttest::Host::Open();
    auto* pFrame = dynamic_cast<CMainFrame*>(CWnd::FromHandlePermanent(m_host.hFrame));
    ASSERT_TRUE(pFrame);
    EXPECT_EQ(GetParent(m_host.hTree), pFrame->m_wndLeftSplitter.m_hWnd);
    EXPECT_EQ(GetDlgCtrlID(m_host.hTree), AFX_IDW_PANE_FIRST + 16);
    SetFocus(m_host.hList);
    EXPECT_EQ(pFrame->m_pFocusPane, m_host.pList);
    SetFocus(m_host.hTree);
    EXPECT_EQ(pFrame->m_pFocusPane, m_host.pTree);
    ASSERT_TRUE(nttest::WaitIdle());
}

} // namespace

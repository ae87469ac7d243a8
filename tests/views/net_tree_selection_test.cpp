// The selection's link to the title and the file list, and the lifetimes of items, jobs and
// buffers when the tree goes while listings run.
#include "tests/views/net_tree_support.h"

#include "res/resource.h"

using namespace nttest;

namespace {

const char kNet[] = "[network]\n"
                    "[domain WG]\n"
                    "[computer WG/PC]\n"
                    "latency = 200\n"
                    "[share PC/Docs]\n";

class SelectionTest : public NetTreeTest {
protected:
    void SetUp() override {
        NetTreeTest::SetUp();
        LoadNetwork(kNet);
        FillShare(
            "PC", "Docs",
            {"reports\\", "reports\\2024\\", "reports\\b.txt", "reports\\a.txt", "readme.txt"});
    }

    void OpenDownTo(const std::vector<std::string>& last) {
        m_host = Host::Open();
        ASSERT_TRUE(SelectDownTo(m_host, last));
    }
    std::string Title() const {
        char buf[512] = "";
        GetWindowTextA(m_host.hFrame, buf, sizeof buf);
        return buf;
    }
    int Rows() const { return m_host.pList->GetItemCount(); }
    // Per row: "d " for a directory, "f " for a file, then the entry's file name.
    std::vector<std::string> RowEntries() const {
        std::vector<std::string> out;
        for (int i = 0; i < Rows(); ++i) {
            CFSItem* pEntry = m_host.pList->GetEntry(i);
            out.push_back(std::string(pEntry->GetItem() ? "d " : "f ") + pEntry->m_data.cFileName);
        }
        return out;
    }
};

TEST_F(SelectionTest, SelectingSetsTheTitleAndShowsTheItemOnceListed) {
    OpenDownTo({"Wg", "Pc", "Docs"});
    const HWND hTree = m_host.hTree;
    HTREEITEM hReports = FindPath(hTree, {"Wg", "Pc", "Docs", "reports"});
    ASSERT_TRUE(hReports);
    auto* pReports = reinterpret_cast<CItem*>(Data(hTree, hReports));

    Select(hTree, hReports);
    EXPECT_EQ(Title(), "Velloquin - WG\\PC\\Docs\\reports");
    EXPECT_EQ(m_host.pList->m_pItem, pReports);
    EXPECT_EQ(Mark(hTree, hReports), CNetTree::STATE_LISTING);
    EXPECT_EQ(Rows(), 0) << "nothing is listed yet";

    ASSERT_TRUE(WaitListed(m_host, {"Wg", "Pc", "Docs", "reports"}));
    EXPECT_EQ(RowEntries(), (std::vector<std::string>{"d 2024", "f a.txt", "f b.txt"}));
    EXPECT_TRUE(Expanded(hTree, hReports)) << "it has a subdirectory";

    // Back on a listed entry: shown again from what it holds, without a listing.
    Select(hTree, FindPath(hTree, {"Wg", "Pc", "Docs"}));
    EXPECT_EQ(Title(), "Velloquin - WG\\PC\\Docs");
    EXPECT_EQ(CListJob::s_nLive, 0);
    EXPECT_EQ(RowEntries(), (std::vector<std::string>{"d reports", "f readme.txt"}));

    // A computer shows an empty list.
    Select(hTree, FindPath(hTree, {"Wg", "Pc"}));
    EXPECT_EQ(Title(), "Velloquin - WG\\PC");
    EXPECT_EQ(Rows(), 0);
}

TEST_F(SelectionTest, NewListingOfTheShownItemEmptiesTheListUntilItsResultArrives) {
    OpenDownTo({"Wg", "Pc", "Docs"});
    const HWND hTree = m_host.hTree;
    ASSERT_EQ(RowEntries(), (std::vector<std::string>{"d reports", "f readme.txt"}));
    MakeFile(ShareFolder("PC", "Docs", "later.txt"));

    SetFocus(hTree);
    m_host.Command(ID_VIEW_REFRESH);
    EXPECT_EQ(Rows(), 0) << "rows of closed directories would remain";
    ASSERT_TRUE(WaitListed(m_host, {"Wg", "Pc", "Docs"}));
    EXPECT_EQ(RowEntries(), (std::vector<std::string>{"d reports", "f later.txt", "f readme.txt"}));
    DeleteFileA(ShareFolder("PC", "Docs", "later.txt").c_str());
}

TEST_F(SelectionTest, RefreshingAnAncestorOfTheShownItemMovesTheSelectionUp) {
    OpenDownTo({"Wg", "Pc", "Docs", "reports"});
    const HWND hTree = m_host.hTree;
    ASSERT_EQ(Rows(), 3);
    HTREEITEM hPc = FindPath(hTree, {"Wg", "Pc"});

    // The computer is refreshed from the Expand/Refresh route while a share below is shown.
    m_host.pTree->ListItem(hPc, true, 1);
    EXPECT_EQ(TreeView_GetSelection(hTree), hPc);
    EXPECT_EQ(Title(), "Velloquin - WG\\PC");
    EXPECT_EQ(m_host.pList->m_pItem, reinterpret_cast<CItem*>(Data(hTree, hPc)));
    EXPECT_EQ(Rows(), 0);
    ASSERT_TRUE(WaitListed(m_host, {"Wg", "Pc"}));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(CItem::s_nLive, CountItemEntries(hTree));
}

TEST_F(SelectionTest, RefreshingTheNetworkLeavesTheFileListEmpty) {
    OpenDownTo({"Wg", "Pc", "Docs"});
    ASSERT_EQ(Rows(), 2);
    m_host.pTree->ListRoot();
    EXPECT_EQ(TreeView_GetSelection(m_host.hTree), nullptr);
    EXPECT_EQ(m_host.pList->m_pItem, nullptr);
    EXPECT_EQ(Rows(), 0);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(ChildTexts(m_host.hTree, TVI_ROOT), std::vector<std::string>{"Wg"});
}

// ---- Lifetimes -------------------------------------------------------------------------------

TEST_F(NetTreeTest, ClosingWithListingsRunningAndWaitingFreesEverythingWithoutWaiting) {
    std::string net = "[network]\n[domain WG]\n";
    for (int i = 0; i < 35; ++i) {
        char name[16];
        wsprintfA(name, "PC%02d", i);
        net += std::string("[computer WG/") + name + "]\nlatency = 1500\n[share " + name + "/S]\n";
    }
    LoadNetwork(net);
    m_host = Host::Open();
    ASSERT_TRUE(SelectDownTo(m_host, {"Wg"}));
    SetFocus(m_host.hTree);
    m_host.Command(ID_VIEW_EXPAND_3);
    CThreadRegistry* pRegistry = m_host.pTree->m_threads.GetRegistry();
    ASSERT_TRUE(PumpUntil([] { return simnet::Stats().runningCalls == 30; }, 5000));
    EXPECT_EQ(pRegistry->GetWaitingCount(), 5);

    m_host.Close();
    EXPECT_GT(simnet::Stats().runningCalls, 0) << "the window waited for the network";
    EXPECT_FALSE(g_root.m_bBusy);

    // The abandoned listings end on their own and free what they made.
    EXPECT_TRUE(PumpUntil([] {
        return CItem::s_nLive == 0 && CListJob::s_nLive == 0 && CListResult::s_nLive == 0 &&
               simnet::Stats().runningCalls == 0;
    }));
    EXPECT_EQ(CNetBuffer::s_nLive, g_root.m_pBuffer.load() ? 1 : 0);
    EXPECT_EQ(simnet::Stats().liveBuffers, CNetBuffer::s_nLive);
}

// Expand three levels on many quick computers leaves results and listings waiting for the next
// slice of work; closing then frees them too.
TEST_F(NetTreeTest, ClosingWithResultsAndListingsWaitingForTheirTurnFreesThem) {
    std::string net = "[network]\n[domain WG]\n";
    for (int i = 0; i < 120; ++i) {
        char name[16];
        wsprintfA(name, "PC%03d", i);
        net += std::string("[computer WG/") + name + "]\n";
        for (int j = 0; j < 4; ++j)
            net += std::string("[share ") + name + "/S" + char('0' + j) + "]\n";
    }
    LoadNetwork(net);
    m_host = Host::Open();
    ASSERT_TRUE(SelectDownTo(m_host, {"Wg"}));
    SetFocus(m_host.hTree);
    m_host.Command(ID_VIEW_EXPAND_3);
    // Message by message: draining the queue would work everything off.
    bool bWaiting = m_host.pTree->HasWorkLeft();
    for (DWORD dwStart = GetTickCount(); !bWaiting && GetTickCount() - dwStart < 10000;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        bWaiting = m_host.pTree->HasWorkLeft();
    }
    ASSERT_TRUE(bWaiting);

    m_host.Close();
    EXPECT_TRUE(PumpUntil([] {
        return CItem::s_nLive == 0 && CListJob::s_nLive == 0 && CListResult::s_nLive == 0 &&
               simnet::Stats().runningCalls == 0;
    }));
    EXPECT_EQ(CNetBuffer::s_nLive, g_root.m_pBuffer.load() ? 1 : 0);
    EXPECT_EQ(simnet::Stats().liveBuffers, CNetBuffer::s_nLive);
}

TEST_F(NetTreeTest, TreeClosedWhileTheNetworkIsListedLeavesTheRootListable) {
    LoadNetwork("[network]\nlatency = 1500\n[domain OLD]\n");
    m_host = Host::Open();
    ASSERT_TRUE(g_root.m_bBusy);
    m_host.Close();
    EXPECT_FALSE(g_root.m_bBusy);

    LoadNetwork("[network]\n[domain NEW]\n");
    m_host = Host::Open();
    ASSERT_TRUE(PumpUntil([&] { return FindPath(m_host.hTree, {"New"}) != nullptr; }));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(ChildTexts(m_host.hTree, TVI_ROOT), std::vector<std::string>{"New"});
}

} // namespace

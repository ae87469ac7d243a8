// The road of an expansion: listing marks, sorted children, failures, the unreachable network,
// late results and multi-level listings.
#include "tests/views/net_tree_support.h"

#include "model/net_items.h"
#include "res/resource.h"
#include "tests/model/model_support.h"

#include <shellapi.h>

#include <algorithm>

using namespace nttest;

namespace {

const char kRoad[] = "[network]\n"
                     "[domain WG]\n"
                     "[computer WG/SLOWPC]\n"
                     "latency = 700\n"
                     "[share SLOWPC/zeta]\n"
                     "[share SLOWPC/Alpha]\n"
                     "[share SLOWPC/beta]\n"
                     "[share SLOWPC/IPC$]\n"
                     "type = ipc+special\n"
                     "[computer WG/DEADPC]\n"
                     "latency = 300\n"
                     "status = 53\n"
                     "[computer WG/EMPTYPC]\n";

class RoadTest : public NetTreeTest {
protected:
    // Opens the tree and lists the workgroup.
    HTREEITEM OpenWorkgroup() {
        m_host = Host::Open();
        return SelectDownTo(m_host, {"Wg"}) ? FindPath(m_host.hTree, {"Wg"}) : nullptr;
    }
};

TEST_F(RoadTest, ExpandingAnUnlistedComputerShowsDotsThenSortedSharesExpanded) {
    LoadNetwork(kRoad);
    ASSERT_TRUE(OpenWorkgroup());
    const HWND hTree = m_host.hTree;
    HTREEITEM hPc = FindPath(hTree, {"Wg", "Slowpc"});
    ASSERT_TRUE(hPc);
    EXPECT_EQ(Mark(hTree, hPc), CNetTree::STATE_UNLISTED);
    EXPECT_EQ(ChildrenFlag(hTree, hPc), 1);
    EXPECT_EQ(Image(hTree, hPc, false), 1);

    // The user opens the entry for the first time: the control asks before it expands.
    TreeView_Expand(hTree, hPc, TVE_EXPAND);
    EXPECT_EQ(Mark(hTree, hPc), CNetTree::STATE_LISTING);
    EXPECT_TRUE(Children(hTree, hPc).empty());

    ASSERT_TRUE(WaitListed(m_host, {"Wg", "Slowpc"}));
    EXPECT_EQ(Mark(hTree, hPc), CNetTree::STATE_LISTED);
    EXPECT_EQ(ChildTexts(hTree, hPc), (std::vector<std::string>{"Alpha", "beta", "zeta"}));
    EXPECT_TRUE(Expanded(hTree, hPc));
    EXPECT_EQ(ChildrenFlag(hTree, hPc), 1);
    for (HTREEITEM hShare : Children(hTree, hPc)) {
        EXPECT_EQ(Mark(hTree, hShare), CNetTree::STATE_UNLISTED);
        EXPECT_EQ(ChildrenFlag(hTree, hShare), 1);
        EXPECT_EQ(Image(hTree, hShare, false), 2);
        EXPECT_TRUE(Children(hTree, hShare).empty()) << "listed in advance";
        auto* pShare = reinterpret_cast<CItem*>(Data(hTree, hShare));
        ASSERT_TRUE(pShare);
        EXPECT_EQ(pShare->m_hTreeItem, hShare);
    }
    // The item keeps its children in the order of the listing.
    auto* pPc = reinterpret_cast<CItem*>(Data(hTree, hPc));
    std::vector<std::string> order;
    for (POSITION pos = pPc->GetHeadPosition(); pos;) {
        CString str;
        pPc->GetNext(pos)->GetText(str);
        order.push_back(str.GetString());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"zeta", "Alpha", "beta"}));
    EXPECT_EQ(pPc->m_nSerial, 0);
    EXPECT_FALSE(pPc->m_bBusy);
}

TEST_F(RoadTest, FailingComputerShowsCrossWithoutButtonAndIsListedAgain) {
    LoadNetwork(kRoad);
    ASSERT_TRUE(OpenWorkgroup());
    const HWND hTree = m_host.hTree;
    HTREEITEM hPc = FindPath(hTree, {"Wg", "Deadpc"});
    ASSERT_TRUE(hPc);
    simnet::ResetStats();

    TreeView_Expand(hTree, hPc, TVE_EXPAND);
    EXPECT_EQ(Mark(hTree, hPc), CNetTree::STATE_LISTING);
    ASSERT_TRUE(WaitListed(m_host, {"Wg", "Deadpc"}));
    EXPECT_EQ(Mark(hTree, hPc), CNetTree::STATE_FAILED);
    EXPECT_EQ(ChildrenFlag(hTree, hPc), 0);
    EXPECT_TRUE(Children(hTree, hPc).empty());
    EXPECT_EQ(simnet::Stats().shareEnumCalls, 1);

    // Expanding once more (Expand one level, with the entry selected) lists it again.
    Select(hTree, hPc);
    EXPECT_EQ(Mark(hTree, hPc), CNetTree::STATE_LISTING) << "the selection lists a failed entry";
    ASSERT_TRUE(WaitListed(m_host, {"Wg", "Deadpc"}));
    EXPECT_EQ(simnet::Stats().shareEnumCalls, 2);
    SetFocus(hTree);
    m_host.Command(ID_VIEW_EXPAND_1);
    EXPECT_EQ(Mark(hTree, hPc), CNetTree::STATE_LISTING);
    ASSERT_TRUE(WaitListed(m_host, {"Wg", "Deadpc"}));
    EXPECT_EQ(Mark(hTree, hPc), CNetTree::STATE_FAILED);
    EXPECT_EQ(simnet::Stats().shareEnumCalls, 3);
}

TEST_F(RoadTest, EmptyComputerShowsTickWithoutButton) {
    LoadNetwork(kRoad);
    ASSERT_TRUE(OpenWorkgroup());
    const HWND hTree = m_host.hTree;
    HTREEITEM hPc = FindPath(hTree, {"Wg", "Emptypc"});
    ASSERT_TRUE(hPc);
    TreeView_Expand(hTree, hPc, TVE_EXPAND);
    ASSERT_TRUE(WaitListed(m_host, {"Wg", "Emptypc"}));
    EXPECT_EQ(Mark(hTree, hPc), CNetTree::STATE_LISTED);
    EXPECT_EQ(ChildrenFlag(hTree, hPc), 0);
    EXPECT_TRUE(Children(hTree, hPc).empty());
}

TEST_F(RoadTest, ListedEntryIsNotListedAgainByExpandingOrSelecting) {
    LoadNetwork(kRoad);
    ASSERT_TRUE(OpenWorkgroup());
    const HWND hTree = m_host.hTree;
    HTREEITEM hPc = FindPath(hTree, {"Wg", "Emptypc"});
    Select(hTree, hPc);
    ASSERT_TRUE(WaitListed(m_host, {"Wg", "Emptypc"}));
    simnet::ResetStats();
    Select(hTree, FindPath(hTree, {"Wg"}));
    Select(hTree, hPc);
    TreeView_Expand(hTree, hPc, TVE_EXPAND);
    SetFocus(hTree);
    m_host.Command(ID_VIEW_EXPAND_1);
    PumpFor(200);
    EXPECT_EQ(simnet::Stats().shareEnumCalls, 0);
    EXPECT_EQ(Mark(hTree, hPc), CNetTree::STATE_LISTED);
}

TEST_F(RoadTest, EntryWhoseListingRunsIsNotListedTwice) {
    LoadNetwork(kRoad);
    ASSERT_TRUE(OpenWorkgroup());
    const HWND hTree = m_host.hTree;
    HTREEITEM hPc = FindPath(hTree, {"Wg", "Slowpc"});
    simnet::ResetStats();
    Select(hTree, hPc);
    ASSERT_EQ(Mark(hTree, hPc), CNetTree::STATE_LISTING);
    SetFocus(hTree);
    m_host.Command(ID_VIEW_REFRESH);
    m_host.Command(ID_VIEW_EXPAND_3);
    TreeView_Expand(hTree, hPc, TVE_EXPAND);
    ASSERT_TRUE(WaitListed(m_host, {"Wg", "Slowpc"}));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(simnet::Stats().shareEnumCalls, 1);
    EXPECT_EQ(ChildTexts(hTree, hPc).size(), 3u);
}

TEST_F(RoadTest, LastExpandedEntryIsBroughtIntoViewWhenItsListingDelivers) {
    std::string net = "[network]\n[domain WG]\n";
    for (int i = 0; i < 40; ++i) {
        char name[16];
        wsprintfA(name, "PC%02d", i);
        net += std::string("[computer WG/") + name + "]\nlatency = 300\n[share " + name + "/S]\n";
    }
    LoadNetwork(net);
    m_host = Host::Open(nullptr, 700, 300);
    const HWND hTree = m_host.hTree;
    HTREEITEM hGroup = WaitEntry(m_host, {"Wg"});
    ASSERT_TRUE(hGroup);
    TreeView_Expand(hTree, hGroup, TVE_EXPAND);
    ASSERT_TRUE(WaitListed(m_host, {"Wg"}));
    HTREEITEM hLast = FindPath(hTree, {"Wg", "Pc39"});
    ASSERT_TRUE(hLast);
    TreeView_EnsureVisible(hTree, hLast);
    TreeView_Expand(hTree, hLast, TVE_EXPAND);
    // The user scrolls back to the top while the listing runs.
    TreeView_EnsureVisible(hTree, hGroup);
    ASSERT_FALSE(InView(hTree, hLast));
    ASSERT_TRUE(WaitListed(m_host, {"Wg", "Pc39"}));
    EXPECT_TRUE(Expanded(hTree, hLast));
    EXPECT_TRUE(InView(hTree, hLast));
}

// ---- The unreachable network -----------------------------------------------------------------

struct UnreachableCase {
    const char* what;
    const char* network;
};

class UnreachableTest : public NetTreeTest, public testing::WithParamInterface<UnreachableCase> {};

TEST_P(UnreachableTest, OneEntryWithCrossNoButtonNoMark) {
    LoadNetwork(GetParam().network);
    m_host = Host::Open();
    ASSERT_TRUE(WaitIdle());
    const HWND hTree = m_host.hTree;
    std::vector<HTREEITEM> top = Children(hTree, TVI_ROOT);
    ASSERT_EQ(top.size(), 1u);
    HTREEITEM h = top[0];
    CString strExpected;
    strExpected.LoadString(IDS_NETWORK_UNREACHABLE);
    EXPECT_EQ(Text(hTree, h), strExpected.GetString());
    EXPECT_EQ(Image(hTree, h, false), CNetTree::IMAGE_UNREACHABLE);
    EXPECT_EQ(Image(hTree, h, true), CNetTree::IMAGE_UNREACHABLE);
    EXPECT_EQ(ChildrenFlag(hTree, h), 0);
    EXPECT_EQ(Mark(hTree, h), 0);
    EXPECT_EQ(Data(hTree, h), 0);
    EXPECT_EQ(m_host.pTree->ItemFromHandle(h), nullptr);

    // Refresh with the entry selected lists the network again.
    LoadNetwork("[network]\n[domain WG]\n");
    Select(hTree, h);
    SetFocus(hTree);
    m_host.Command(ID_VIEW_REFRESH);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(ChildTexts(hTree, TVI_ROOT), std::vector<std::string>{"Wg"});
}

INSTANTIATE_TEST_SUITE_P(
    Root, UnreachableTest,
    testing::Values(UnreachableCase{"fails", "[network]\nlatency = 200\nstatus = 53\n"},
                    UnreachableCase{"no buffer", "[network]\nstatus = nobuffer\n"},
                    UnreachableCase{"no domain", "[network]\n"},
                    UnreachableCase{"only a nameless domain", "[network]\n[domain /]\n"}),
    [](const testing::TestParamInfo<UnreachableCase>& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p)
            if (isalnum(static_cast<unsigned char>(*p)))
                name += *p;
        return name;
    });

TEST_F(NetTreeTest, RefreshWithNothingSelectedListsTheRootAgain) {
    LoadNetwork("[network]\nlatency = 300\n[domain WG]\n[domain CORP]\n");
    m_host = Host::Open();
    ASSERT_TRUE(WaitIdle());
    const HWND hTree = m_host.hTree;
    EXPECT_EQ(ChildTexts(hTree, TVI_ROOT), (std::vector<std::string>{"Corp", "Wg"}));
    LoadNetwork("[network]\nlatency = 300\n[domain WG]\n[domain HOME]\n");
    SetFocus(hTree); // selects the first entry
    Select(hTree, nullptr);
    ASSERT_EQ(TreeView_GetSelection(hTree), nullptr);
    m_host.Command(ID_VIEW_REFRESH);
    EXPECT_TRUE(Children(hTree, TVI_ROOT).empty()) << "the entries go while the root is listed";
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(ChildTexts(hTree, TVI_ROOT), (std::vector<std::string>{"Home", "Wg"}));
}

// ---- Late results ----------------------------------------------------------------------------

const char kLate[] = "[network]\n"
                     "[domain WG]\n"
                     "[computer WG/PC]\n"
                     "[share PC/Docs]\n"
                     "[share PC/Music]\n"
                     "[computer WG/SLOW]\n"
                     "latency = 1500\n"
                     "[share SLOW/Data]\n";

class LateTest : public RoadTest {
protected:
    void SetUp() override {
        RoadTest::SetUp();
        LoadNetwork(kLate);
        FillShare("PC", "Docs", {"reports\\", "old\\", "a.txt"});
    }
    // Entries with items and items alive agree, and so do the files.
    void ExpectConsistent() {
        EXPECT_EQ(CItem::s_nLive, CountItemEntries(m_host.hTree));
        EXPECT_EQ(CLanFile::s_nLive, FilesInTree(m_host.hTree));
        EXPECT_EQ(CListJob::s_nLive, 0);
        EXPECT_EQ(CListResult::s_nLive, 0);
    }
};

TEST_F(LateTest, RefreshOfComputerDropsTheResultOfItsShare) {
    m_host = Host::Open();
    ASSERT_TRUE(SelectDownTo(m_host, {"Wg", "Pc"}));
    const HWND hTree = m_host.hTree;
    HTREEITEM hPc = FindPath(hTree, {"Wg", "Pc"});
    HTREEITEM hDocs = FindPath(hTree, {"Wg", "Pc", "Docs"});
    ASSERT_TRUE(hDocs);

    // The share's listing runs and posts its result, which is not received yet...
    Select(hTree, hDocs);
    ASSERT_EQ(Mark(hTree, hDocs), CNetTree::STATE_LISTING);
    CThreadRegistry* pRegistry = m_host.pTree->m_threads.GetRegistry();
    for (int i = 0; i < 500 && pRegistry->GetRunningCount() + pRegistry->GetWaitingCount(); ++i)
        Sleep(10);
    ASSERT_EQ(pRegistry->GetRunningCount(), 0);
    // ...when the computer is refreshed: the share's entry goes at once.
    Select(hTree, hPc);
    SetFocus(hTree);
    m_host.Command(ID_VIEW_REFRESH);
    EXPECT_TRUE(Children(hTree, hPc).empty());
    EXPECT_EQ(Mark(hTree, hPc), CNetTree::STATE_LISTING);

    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(Mark(hTree, hPc), CNetTree::STATE_LISTED);
    HTREEITEM hNewDocs = FindPath(hTree, {"Wg", "Pc", "Docs"});
    ASSERT_TRUE(hNewDocs);
    EXPECT_EQ(Mark(hTree, hNewDocs), CNetTree::STATE_UNLISTED);
    EXPECT_TRUE(Children(hTree, hNewDocs).empty());
    auto* pDocs = reinterpret_cast<CItem*>(Data(hTree, hNewDocs));
    ASSERT_TRUE(pDocs);
    EXPECT_EQ(pDocs->m_pFiles, nullptr);
    EXPECT_FALSE(pDocs->m_bBusy);
    ExpectConsistent();

    // The new share lists as usual.
    Select(hTree, hNewDocs);
    ASSERT_TRUE(WaitListed(m_host, {"Wg", "Pc", "Docs"}));
    EXPECT_EQ(ChildTexts(hTree, hNewDocs), (std::vector<std::string>{"old", "reports"}));
    ExpectConsistent();
}

TEST_F(LateTest, SlowComputerAnsweringAfterItsWorkgroupWasRefreshedInsertsNothing) {
    ASSERT_TRUE(OpenWorkgroup());
    const HWND hTree = m_host.hTree;
    HTREEITEM hSlow = FindPath(hTree, {"Wg", "Slow"});
    TreeView_Expand(hTree, hSlow, TVE_EXPAND);
    ASSERT_EQ(Mark(hTree, hSlow), CNetTree::STATE_LISTING);

    Select(hTree, FindPath(hTree, {"Wg"}));
    SetFocus(hTree);
    m_host.Command(ID_VIEW_REFRESH);
    ASSERT_TRUE(WaitIdle()); // the workgroup's result, then the slow computer's
    HTREEITEM hNewSlow = FindPath(hTree, {"Wg", "Slow"});
    ASSERT_TRUE(hNewSlow);
    EXPECT_EQ(Mark(hTree, hNewSlow), CNetTree::STATE_UNLISTED);
    EXPECT_TRUE(Children(hTree, hNewSlow).empty());
    for (HTREEITEM h : Children(hTree, FindPath(hTree, {"Wg"})))
        EXPECT_TRUE(Children(hTree, h).empty()) << Text(hTree, h);
    ExpectConsistent();
}

// The item of a late result has left the tree while another listed item (serial 0, like every
// listed item) now has an entry at the same handle: the result must not be merged there.
TEST_F(LateTest, ResultOfAClosedItemIsDroppedEvenWhenItsHandleShowsAListedItem) {
    m_host = Host::Open();
    ASSERT_TRUE(SelectDownTo(m_host, {"Wg", "Pc", "Docs"}));
    const HWND hTree = m_host.hTree;
    HTREEITEM hDocs = FindPath(hTree, {"Wg", "Pc", "Docs"});
    auto* pDocs = reinterpret_cast<CItem*>(Data(hTree, hDocs));
    ASSERT_EQ(pDocs->m_nSerial, 0);
    const std::vector<std::string> before = ChildTexts(hTree, hDocs);

    // A share that was listed and then left the tree, whose listing comes back late.
    auto* pGone = new CItemShare(pDocs->m_pParent, vqtest::ShareRecord(L"Docs"));
    pGone->m_nSerial = 0;
    auto* pJob = new CListJob(m_host.pTree, hDocs, pGone, 1);
    pGone->Close();
    auto* pChildren = new CItemArray;
    WIN32_FIND_DATAA data = {};
    data.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    lstrcpyA(data.cFileName, "intruder");
    pChildren->Add(new CItemDir(pGone, data));
    auto* pResult = new CListResult(pJob, pChildren, new CLanFiles(10));
    SendMessageA(hTree, WM_LISTING_DONE, 1, reinterpret_cast<LPARAM>(pResult));

    EXPECT_EQ(ChildTexts(hTree, hDocs), before);
    EXPECT_EQ(Mark(hTree, hDocs), CNetTree::STATE_LISTED);
    ExpectConsistent();
}

// ---- Several levels --------------------------------------------------------------------------

TEST_F(RoadTest, ExpandThreeLevelsOnAWorkgroupFansOutAtMostThirtyAtOnce) {
    std::string net = "[network]\n[domain WG]\n";
    for (int i = 0; i < 40; ++i) {
        char name[16];
        wsprintfA(name, "PC%02d", i);
        net += std::string("[computer WG/") + name + "]\nlatency = 1500\n[share " + name +
               "/One]\n[share " + name + "/Two]\n";
    }
    LoadNetwork(net);
    for (int i = 0; i < 40; ++i) {
        char name[16];
        wsprintfA(name, "PC%02d", i);
        FillShare(name, "One", {"deeper\\", "deeper\\deepest\\"});
    }
    m_host = Host::Open();
    const HWND hTree = m_host.hTree;
    ASSERT_TRUE(SelectDownTo(m_host, {"Wg"}));
    HTREEITEM hGroup = FindPath(hTree, {"Wg"});
    ASSERT_EQ(Children(hTree, hGroup).size(), 40u);
    for (HTREEITEM h : Children(hTree, hGroup))
        ASSERT_EQ(Mark(hTree, h), CNetTree::STATE_UNLISTED);

    simnet::ResetStats();
    SetFocus(hTree);
    CThreadRegistry* pRegistry = m_host.pTree->m_threads.GetRegistry();
    int nMostRunning = 0;
    m_host.Command(ID_VIEW_EXPAND_3);
    ASSERT_TRUE(PumpUntil([&] {
        nMostRunning = std::max(nMostRunning, pRegistry->GetRunningCount());
        return CListJob::s_nLive == 0;
    }));
    EXPECT_LE(nMostRunning, 30);
    SIMNET_STATS stats = simnet::Stats();
    EXPECT_EQ(stats.maxRunningCalls, 30) << "the computers are listed side by side, 30 at most";
    EXPECT_EQ(stats.shareEnumCalls, 40);
    EXPECT_EQ(stats.serverEnumCalls, 0) << "the listed workgroup is not listed again";

    for (HTREEITEM hPc : Children(hTree, hGroup)) {
        EXPECT_EQ(Mark(hTree, hPc), CNetTree::STATE_LISTED) << Text(hTree, hPc);
        EXPECT_TRUE(Expanded(hTree, hPc));
        for (HTREEITEM hShare : Children(hTree, hPc)) {
            EXPECT_EQ(Mark(hTree, hShare), CNetTree::STATE_LISTED);
            for (HTREEITEM hDir : Children(hTree, hShare)) {
                EXPECT_EQ(Mark(hTree, hDir), CNetTree::STATE_UNLISTED) << "a fourth level";
                EXPECT_TRUE(Children(hTree, hDir).empty());
            }
        }
    }
    HTREEITEM hOne = FindPath(hTree, {"Wg", "Pc07", "One"});
    ASSERT_TRUE(hOne);
    EXPECT_EQ(ChildTexts(hTree, hOne), std::vector<std::string>{"deeper"});

    // Expand one level on a listed, collapsed entry leaves it as it is.
    HTREEITEM hPc = FindPath(hTree, {"Wg", "Pc07"});
    TreeView_Expand(hTree, hPc, TVE_COLLAPSE);
    Select(hTree, hPc);
    simnet::ResetStats();
    m_host.Command(ID_VIEW_EXPAND_1);
    PumpFor(100);
    EXPECT_FALSE(Expanded(hTree, hPc));
    EXPECT_EQ(simnet::Stats().totalCalls, 0);
}

// ---- Sorted insertion ------------------------------------------------------------------------

// The children appear exactly as the control's own sorted insertion would place them.
TEST_F(RoadTest, ChildrenComeInTheOrderOfTheControlsSortedInsertion) {
    // Names that differ only in case cannot be siblings: the file system takes them as one.
    const wchar_t* names[] = {L"b",     L"a",        L"_x",
                              L"-x",    L"x-y",      L"xy",
                              L"10",    L"9",        L"Z",
                              L"a b",   L"a.b",      L"ab",
                              L"Dup",   L"~t",       L"\u00e9t\u00e9",
                              L"ete",   L"co-op",    L"coop",
                              L"co op", L"a\u00adb", L"a\u00ad\u00adb",
                              L"x'y",   L"xy'",      L"\u00c9tf",
                              L"$x",    L"#1",       L"[b]",
                              L"aB1"};
    LoadNetwork("[network]\n[domain WG]\n[computer WG/PC]\n[share PC/Names]\n");
    const std::string folder = ShareFolder("PC", "Names");
    ClearFolder(folder);
    for (const wchar_t* name : names) {
        wchar_t path[MAX_PATH];
        wsprintfW(path, L"%S\\%s", folder.c_str(), name);
        ASSERT_TRUE(CreateDirectoryW(path, nullptr)) << GetLastError();
    }
    m_host = Host::Open();
    ASSERT_TRUE(SelectDownTo(m_host, {"Wg", "Pc", "Names"}));
    const HWND hTree = m_host.hTree;
    HTREEITEM hNames = FindPath(hTree, {"Wg", "Pc", "Names"});
    std::vector<LPARAM> shown;
    for (HTREEITEM h : Children(hTree, hNames))
        shown.push_back(Data(hTree, h));
    EXPECT_EQ(shown.size(), std::size(names));

    // The same texts, in the order of the listing, into a plain control with TVI_SORT.
    HWND hRef = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD, 0, 0, 100, 100, m_host.hFrame,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(hRef);
    auto* pNames = reinterpret_cast<CItem*>(Data(hTree, hNames));
    for (POSITION pos = pNames->GetHeadPosition(); pos;) {
        CItem* pDir = pNames->GetNext(pos);
        CString str;
        pDir->GetText(str);
        TVINSERTSTRUCTA tvis = {};
        tvis.hParent = TVI_ROOT;
        tvis.hInsertAfter = TVI_SORT;
        tvis.item.mask = TVIF_TEXT | TVIF_PARAM;
        tvis.item.pszText = const_cast<char*>(str.GetString());
        tvis.item.lParam = reinterpret_cast<LPARAM>(pDir);
        SendMessageA(hRef, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tvis));
    }
    std::vector<LPARAM> expected;
    std::string texts;
    for (HTREEITEM h : Children(hRef, TVI_ROOT)) {
        expected.push_back(Data(hRef, h));
        texts += Text(hRef, h);
        texts += '|';
    }
    DestroyWindow(hRef);
    EXPECT_EQ(shown, expected) << texts;
    ClearFolder(folder);
}

} // namespace

#include "tests/views/net_tree_support.h"

#include "framework/ole_data_source.h"
#include "res/resource.h"

#include <shellapi.h>

namespace nttest {

BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

// Once per run: OLE for the clipboard and drag and drop, the common controls, and the
// application's own reference on the root, as at start-up.
class Environment : public testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        g_root.AddRef();
    }
    void TearDown() override {
        g_root.Close();
        AfxOleTerm();
    }
};

const auto* const s_environment = testing::AddGlobalTestEnvironment(new Environment);

// A command's enabled state as an update handler along the route sets it.
class EnableProbe : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnabled = bOn != FALSE;
        m_bEnableChanged = TRUE;
    }
    bool m_bEnabled = false;
};

} // namespace

HostOpener g_pfnOpenHost = nullptr;

namespace {

// The tree of the open host, whose work left WaitIdle waits for too.
CNetTree* s_pOpenTree = nullptr;

Host OpenTestFrame(CNetTree* pTree, int cx, int cy) {
    Host host;
    host.pTree = pTree ? pTree : new CNetTree;
    host.pFrame = new TestFrame(host.pTree);
    host.pList = host.pFrame->m_pFileList;
    if (!host.pFrame->CreateEx(0, AfxRegisterWndClass(0), "Velloquin", WS_OVERLAPPEDWINDOW, 0, 0,
                               cx, cy, nullptr, nullptr)) {
        ADD_FAILURE() << "the test frame was not created";
        return Host();
    }
    host.hFrame = host.pFrame->m_hWnd;
    host.hTree = host.pTree->m_hWnd;
    host.hList = host.pList->m_hWnd;
    ShowWindow(host.hFrame, SW_SHOW);
    host.pFrame->RecalcLayout();
    UpdateWindow(host.hFrame);
    return host;
}

} // namespace

Host Host::Open(CNetTree* pTree, int cx, int cy) {
    Host host = g_pfnOpenHost ? g_pfnOpenHost(pTree, cx, cy) : OpenTestFrame(pTree, cx, cy);
    s_pOpenTree = host.pTree;
    return host;
}

void Host::Close() {
    if (pTree == s_pOpenTree)
        s_pOpenTree = nullptr;
    if (hFrame && IsWindow(hFrame))
        DestroyWindow(hFrame);
    hFrame = hTree = hList = nullptr;
    pFrame = nullptr;
    pTree = nullptr;
    pList = nullptr;
}

bool Host::Enabled(UINT nID) const {
    EnableProbe probe;
    probe.m_nID = nID;
    probe.DoUpdate(CWnd::FromHandlePermanent(hFrame), TRUE);
    return probe.m_bEnabled;
}

// ---- Reading the tree control ----------------------------------------------------------------

std::string Text(HWND hTree, HTREEITEM hItem) {
    char buf[512] = "";
    TVITEMA tvi = {};
    tvi.mask = TVIF_HANDLE | TVIF_TEXT;
    tvi.hItem = hItem;
    tvi.pszText = buf;
    tvi.cchTextMax = sizeof buf;
    if (!SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi)))
        return "<bad entry>";
    return tvi.pszText ? tvi.pszText : "";
}

std::vector<HTREEITEM> Children(HWND hTree, HTREEITEM hParent) {
    std::vector<HTREEITEM> out;
    HTREEITEM h = hParent == TVI_ROOT ? TreeView_GetRoot(hTree) : TreeView_GetChild(hTree, hParent);
    for (; h; h = TreeView_GetNextSibling(hTree, h))
        out.push_back(h);
    return out;
}

std::vector<std::string> ChildTexts(HWND hTree, HTREEITEM hParent) {
    std::vector<std::string> out;
    for (HTREEITEM h : Children(hTree, hParent))
        out.push_back(Text(hTree, h));
    return out;
}

HTREEITEM Find(HWND hTree, HTREEITEM hParent, const std::string& text) {
    for (HTREEITEM h : Children(hTree, hParent))
        if (Text(hTree, h) == text)
            return h;
    return nullptr;
}

HTREEITEM FindPath(HWND hTree, const std::vector<std::string>& path) {
    HTREEITEM h = TVI_ROOT;
    for (const std::string& text : path) {
        h = Find(hTree, h, text);
        if (!h)
            return nullptr;
    }
    return h == TVI_ROOT ? nullptr : h;
}

int Mark(HWND hTree, HTREEITEM hItem) {
    return static_cast<int>(TreeView_GetItemState(hTree, hItem, TVIS_STATEIMAGEMASK) >> 12);
}

int ChildrenFlag(HWND hTree, HTREEITEM hItem) {
    TVITEMA tvi = {};
    tvi.mask = TVIF_HANDLE | TVIF_CHILDREN;
    tvi.hItem = hItem;
    SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
    return tvi.cChildren;
}

bool Expanded(HWND hTree, HTREEITEM hItem) {
    return (TreeView_GetItemState(hTree, hItem, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

int Image(HWND hTree, HTREEITEM hItem, bool bSelected) {
    TVITEMA tvi = {};
    tvi.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tvi.hItem = hItem;
    SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
    return bSelected ? tvi.iSelectedImage : tvi.iImage;
}

LPARAM Data(HWND hTree, HTREEITEM hItem) {
    TVITEMA tvi = {};
    tvi.mask = TVIF_HANDLE | TVIF_PARAM;
    tvi.hItem = hItem;
    SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
    return tvi.lParam;
}

namespace {
void Walk(HWND hTree, HTREEITEM hParent, const std::function<void(HTREEITEM)>& visit) {
    for (HTREEITEM h : Children(hTree, hParent)) {
        visit(h);
        Walk(hTree, h, visit);
    }
}
} // namespace

int CountEntries(HWND hTree) {
    int n = 0;
    Walk(hTree, TVI_ROOT, [&](HTREEITEM) { ++n; });
    return n;
}

int CountItemEntries(HWND hTree) {
    int n = 0;
    Walk(hTree, TVI_ROOT, [&](HTREEITEM h) { n += Data(hTree, h) != 0; });
    return n;
}

long FilesInTree(HWND hTree) {
    long n = 0;
    Walk(hTree, TVI_ROOT, [&](HTREEITEM h) {
        auto* pItem = reinterpret_cast<CItem*>(Data(hTree, h));
        if (pItem && pItem->m_pFiles)
            n += pItem->m_pFiles->GetCount();
    });
    return n;
}

bool InView(HWND hTree, HTREEITEM hItem) {
    int nRows = static_cast<int>(SendMessageA(hTree, TVM_GETVISIBLECOUNT, 0, 0));
    HTREEITEM h = TreeView_GetFirstVisible(hTree);
    for (int i = 0; h && i < nRows; ++i, h = TreeView_GetNextVisible(hTree, h))
        if (h == hItem)
            return true;
    return false;
}

RECT LabelRect(HWND hTree, HTREEITEM hItem) {
    RECT rc = {};
    memcpy(&rc, &hItem, sizeof hItem); // the message takes the handle in the rectangle
    SendMessageA(hTree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rc));
    return rc;
}

void Select(HWND hTree, HTREEITEM hItem) {
    TreeView_SelectItem(hTree, hItem);
}

HTREEITEM WaitListed(const Host& host, const std::vector<std::string>& path, DWORD dwTimeoutMs) {
    HTREEITEM hFound = nullptr;
    PumpUntil(
        [&] {
            hFound = FindPath(host.hTree, path);
            if (!hFound)
                return false;
            int nMark = Mark(host.hTree, hFound);
            return (nMark == CNetTree::STATE_LISTED || nMark == CNetTree::STATE_FAILED) &&
                   !host.pTree->HasWorkLeft();
        },
        dwTimeoutMs);
    if (!hFound)
        return nullptr;
    int nMark = Mark(host.hTree, hFound);
    return nMark == CNetTree::STATE_LISTED || nMark == CNetTree::STATE_FAILED ? hFound : nullptr;
}

HTREEITEM WaitEntry(const Host& host, const std::vector<std::string>& path, DWORD dwTimeoutMs) {
    HTREEITEM hFound = nullptr;
    PumpUntil([&] { return (hFound = FindPath(host.hTree, path)) != nullptr; }, dwTimeoutMs);
    return hFound;
}

bool SelectDownTo(const Host& host, const std::vector<std::string>& path) {
    for (size_t n = 1; n <= path.size(); ++n) {
        std::vector<std::string> part(path.begin(), path.begin() + n);
        HTREEITEM h = WaitEntry(host, part);
        if (!h)
            return false;
        Select(host.hTree, h);
        if (!WaitListed(host, part))
            return false;
    }
    return WaitIdle();
}

bool WaitIdle(DWORD dwTimeoutMs) {
    return PumpUntil(
        [] { return CListJob::s_nLive == 0 && !(s_pOpenTree && s_pOpenTree->HasWorkLeft()); },
        dwTimeoutMs);
}

// ---- The simulated network -------------------------------------------------------------------

void LoadNetwork(const std::string& text) {
    ASSERT_TRUE(simnet::Available()) << "the simulated netapi32.dll is not beside the test";
    ASSERT_EQ(simnet::LoadText(text), 0) << text;
}

std::string ShareFolder(const std::string& computer, const std::string& share,
                        const std::string& sub) {
    std::string path = simnet::UncRoot() + "\\" + computer + "\\" + share;
    if (!sub.empty())
        path += "\\" + sub;
    return path;
}

void MakeDir(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
}

void FillShare(const std::string& computer, const std::string& share,
               const std::vector<std::string>& entries) {
    ClearFolder(ShareFolder(computer, share));
    for (const std::string& entry : entries) {
        if (!entry.empty() && entry.back() == '\\')
            MakeDir(ShareFolder(computer, share, entry.substr(0, entry.size() - 1)));
        else
            MakeFile(ShareFolder(computer, share, entry));
    }
}

// ---- Fixture ---------------------------------------------------------------------------------

void NetTreeTest::SetUp() {
    ASSERT_TRUE(simnet::Available()) << "the simulated netapi32.dll is not beside the test";
}

void NetTreeTest::TearDown() {
    m_host.Close();
    // Listings abandoned by the closing finish their call and free what they made.
    EXPECT_TRUE(PumpUntil(
        [] {
            return CItem::s_nLive == 0 && CListJob::s_nLive == 0 && CListResult::s_nLive == 0 &&
                   CLanFile::s_nLive == 0;
        },
        20000))
        << "items " << CItem::s_nLive << ", jobs " << CListJob::s_nLive << ", results "
        << CListResult::s_nLive << ", files " << CLanFile::s_nLive;
}

} // namespace nttest

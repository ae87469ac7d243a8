// The network tree's commands and their enabling, the right-click menu, double click, drag and
// the hand-over of the selection.
#include "tests/views/net_tree_support.h"

#include "res/resource.h"
#include "tests/shell/dialog_answerer.h"

#include <ole2.h>
#include <shellapi.h>

#include <map>

using namespace nttest;

namespace {

const char kNet[] = "[network]\n"
                    "[domain WG]\n"
                    "[computer WG/PC]\n"
                    "[share PC/Docs]\n"
                    "[share PC/Music]\n";

// The tree of these tests: WG, PC, Docs (listed, with the directories old and reports).
class CommandTest : public NetTreeTest {
protected:
    void SetUp() override {
        NetTreeTest::SetUp();
        LoadNetwork(kNet);
        FillShare("PC", "Docs", {"reports\\", "old\\", "old\\notes.txt", "a.txt"});
    }

    void Open(CNetTree* pTree = nullptr) {
        m_host = Host::Open(pTree);
        ASSERT_TRUE(SelectDownTo(m_host, {"Wg", "Pc", "Docs"}));
        SetFocus(m_host.hTree);
    }
    HTREEITEM Entry(const std::vector<std::string>& path) { return FindPath(m_host.hTree, path); }
};

// ---- Enabling --------------------------------------------------------------------------------

struct EnableCase {
    const char* what;
    std::vector<std::string> path; // empty: nothing selected
    bool bItem, bCopy, bDelete;
};

TEST_F(CommandTest, EnablingFollowsTheSelectedItemsKind) {
    Open();
    const EnableCase cases[] = {
        {"workgroup", {"Wg"}, true, false, false},
        {"computer", {"Wg", "Pc"}, true, false, false},
        {"share", {"Wg", "Pc", "Docs"}, true, true, false},
        {"directory", {"Wg", "Pc", "Docs", "reports"}, true, true, true},
        {"nothing", {}, false, false, false},
    };
    for (const EnableCase& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.path.empty()) {
            Select(m_host.hTree, nullptr);
        } else {
            HTREEITEM h = Entry(c.path);
            ASSERT_TRUE(h);
            Select(m_host.hTree, h);
        }
        SetFocus(m_host.hTree);
        EXPECT_TRUE(m_host.Enabled(ID_VIEW_REFRESH));
        for (UINT nID : {ID_VIEW_EXPAND_1, ID_VIEW_EXPAND_2, ID_VIEW_EXPAND_3,
                         ID_EDIT_COPY_FULL_PATH, ID_EDIT_COPY_DIR_PATH, ID_EDIT_COPY_NAME})
            EXPECT_EQ(m_host.Enabled(nID), c.bItem) << nID;
        EXPECT_EQ(m_host.Enabled(ID_EDIT_COPY), c.bCopy);
        EXPECT_EQ(m_host.Enabled(ID_EDIT_DELETE), c.bDelete);
        ASSERT_TRUE(WaitIdle());
    }
}

TEST_F(NetTreeTest, OnTheUnreachableEntryOnlyRefreshIsEnabled) {
    LoadNetwork("[network]\nstatus = 53\n");
    m_host = Host::Open();
    ASSERT_TRUE(WaitIdle());
    HTREEITEM h = TreeView_GetRoot(m_host.hTree);
    ASSERT_TRUE(h);
    Select(m_host.hTree, h);
    SetFocus(m_host.hTree);
    EXPECT_TRUE(m_host.Enabled(ID_VIEW_REFRESH));
    for (UINT nID :
         {ID_VIEW_EXPAND_1, ID_VIEW_EXPAND_2, ID_VIEW_EXPAND_3, ID_EDIT_DELETE, ID_EDIT_COPY,
          ID_EDIT_COPY_FULL_PATH, ID_EDIT_COPY_DIR_PATH, ID_EDIT_COPY_NAME})
        EXPECT_FALSE(m_host.Enabled(nID)) << nID;
}

// ---- Clipboard -------------------------------------------------------------------------------

TEST_F(CommandTest, CopyPutsTheSelectedShareOrDirectoryAsAFile) {
    Open();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"Wg", "Pc", "Docs"}, "\\\\PC\\Docs"},
        {{"Wg", "Pc", "Docs", "reports"}, "\\\\PC\\Docs\\reports"},
    };
    for (const auto& [path, unc] : cases) {
        SCOPED_TRACE(unc);
        Select(m_host.hTree, Entry(path));
        SetFocus(m_host.hTree);
        m_host.Command(ID_EDIT_COPY);
        EXPECT_EQ(testclip::Files(), std::vector<std::string>{unc});
    }
}

struct CopyPathCase {
    std::vector<std::string> path;
    UINT nID;
    const char* text;
};

TEST_F(CommandTest, CopyPathCommandsPutTheFullPathItsDirectoryOrItsName) {
    Open();
    const CopyPathCase cases[] = {
        {{"Wg", "Pc", "Docs", "reports"}, ID_EDIT_COPY_FULL_PATH, "\\\\PC\\Docs\\reports"},
        {{"Wg", "Pc", "Docs", "reports"}, ID_EDIT_COPY_DIR_PATH, "\\\\PC\\Docs"},
        {{"Wg", "Pc", "Docs", "reports"}, ID_EDIT_COPY_NAME, "reports"},
        {{"Wg", "Pc", "Docs"}, ID_EDIT_COPY_FULL_PATH, "\\\\PC\\Docs"},
        {{"Wg", "Pc", "Docs"}, ID_EDIT_COPY_NAME, "Docs"},
        {{"Wg", "Pc"}, ID_EDIT_COPY_FULL_PATH, "\\\\PC"},
        {{"Wg"}, ID_EDIT_COPY_FULL_PATH, ""},
        {{"Wg"}, ID_EDIT_COPY_DIR_PATH, ""},
        {{"Wg"}, ID_EDIT_COPY_NAME, ""},
    };
    for (const CopyPathCase& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.nID));
        Select(m_host.hTree, Entry(c.path));
        SetFocus(m_host.hTree);
        m_host.Command(c.nID);
        EXPECT_EQ(testclip::Text(), c.text);
    }
}

TEST_F(CommandTest, AddSelectionToAppendsOnlySharesAndDirectories) {
    Open();
    const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
        {{}, {"first"}},
        {{"Wg"}, {"first"}},
        {{"Wg", "Pc"}, {"first"}},
        {{"Wg", "Pc", "Docs"}, {"first", "\\\\PC\\Docs"}},
        {{"Wg", "Pc", "Docs", "old"}, {"first", "\\\\PC\\Docs\\old"}},
    };
    for (const auto& [path, expected] : cases) {
        Select(m_host.hTree, path.empty() ? nullptr : Entry(path));
        CFilenameList list;
        list.AddTail("first");
        m_host.pTree->AddSelectionTo(list);
        std::vector<std::string> got;
        for (POSITION pos = list.GetHeadPosition(); pos;)
            got.push_back(list.GetNext(pos).GetString());
        EXPECT_EQ(got, expected);
        ASSERT_TRUE(WaitIdle());
    }
}

// ---- Delete ----------------------------------------------------------------------------------

TEST_F(CommandTest, DeleteGoesThroughTheShellThenListsTheParentAgain) {
    Open();
    const HWND hTree = m_host.hTree;
    const std::string folder = ShareFolder("PC", "Docs", "old");
    ASSERT_NE(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
    HTREEITEM hDocs = Entry({"Wg", "Pc", "Docs"});

    for (const char* answer : {"No", "Yes"}) {
        SCOPED_TRACE(answer);
        Select(hTree, Entry({"Wg", "Pc", "Docs", "old"}));
        SetFocus(hTree);
        {
            DialogAnswerer answerer({answer});
            m_host.Command(ID_EDIT_DELETE);
            EXPECT_EQ(answerer.Answered().size(), 1u) << "the shell asks before it deletes";
        }
        // Whatever the shell did, the share is listed anew.
        EXPECT_EQ(Mark(hTree, hDocs), CNetTree::STATE_LISTING);
        ASSERT_TRUE(WaitListed(m_host, {"Wg", "Pc", "Docs"}));
        ASSERT_TRUE(WaitIdle());
        const bool bDeleted = std::string(answer) == "Yes";
        EXPECT_EQ(GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES, bDeleted);
        EXPECT_EQ(ChildTexts(hTree, hDocs), bDeleted
                                                ? std::vector<std::string>{"reports"}
                                                : (std::vector<std::string>{"old", "reports"}));
    }
}

// ---- Refresh and focus -----------------------------------------------------------------------

TEST_F(CommandTest, RefreshListsTheSelectedEntryAgainAndLeavesTheFocus) {
    Open();
    const HWND hTree = m_host.hTree;
    HTREEITEM hDocs = Entry({"Wg", "Pc", "Docs"});
    MakeDir(ShareFolder("PC", "Docs", "new"));
    Select(hTree, hDocs);

    SetFocus(hTree);
    m_host.Command(ID_VIEW_REFRESH);
    EXPECT_EQ(Mark(hTree, hDocs), CNetTree::STATE_LISTING);
    EXPECT_EQ(GetFocus(), hTree);
    ASSERT_TRUE(WaitListed(m_host, {"Wg", "Pc", "Docs"}));
    EXPECT_EQ(ChildTexts(hTree, hDocs), (std::vector<std::string>{"new", "old", "reports"}));
    EXPECT_EQ(GetFocus(), hTree);

    // From the file list, its own Refresh runs the tree's.
    SetFocus(m_host.hList);
    m_host.Command(ID_VIEW_REFRESH);
    EXPECT_EQ(Mark(hTree, hDocs), CNetTree::STATE_LISTING);
    ASSERT_TRUE(WaitListed(m_host, {"Wg", "Pc", "Docs"}));
    EXPECT_EQ(GetFocus(), m_host.hList);
    RemoveDirectoryA(ShareFolder("PC", "Docs", "new").c_str());
}

// ---- Right click -----------------------------------------------------------------------------

// Records the paths that right clicks ask the shell's menu for.
class RecordingTree : public CNetTree {
public:
    void TrackShellMenu(const CString& strPath, POINT ptScreen) override {
        m_paths.push_back(strPath.GetString());
        m_points.push_back(ptScreen);
    }
    std::vector<std::string> m_paths;
    std::vector<POINT> m_points;
};

// Puts the cursor on the entry's label and sends the control's right-click notification.
void RightClick(const Host& host, HTREEITEM hItem, POINT ptClient = {-1, -1}) {
    if (hItem) {
        RECT rc = LabelRect(host.hTree, hItem);
        ptClient = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    POINT pt = ptClient;
    ClientToScreen(host.hTree, &pt);
    SetCursorPos(pt.x, pt.y);
    NMHDR nm = {host.hTree, static_cast<UINT_PTR>(GetDlgCtrlID(host.hTree)),
                static_cast<UINT>(NM_RCLICK)};
    SendMessageA(GetParent(host.hTree), WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
}

TEST_F(CommandTest, RightClickShowsTheMenuOfTheEntryUnderTheCursor) {
    auto* pTree = new RecordingTree;
    Open(pTree);
    const HWND hTree = m_host.hTree;
    HTREEITEM hDocs = Entry({"Wg", "Pc", "Docs"});
    HTREEITEM hReports = Entry({"Wg", "Pc", "Docs", "reports"});
    Select(hTree, hDocs);

    RightClick(m_host, hReports);
    ASSERT_EQ(pTree->m_paths, std::vector<std::string>{"\\\\PC\\Docs\\reports"});
    POINT ptCursor;
    GetCursorPos(&ptCursor);
    EXPECT_EQ(pTree->m_points[0].x, ptCursor.x);
    EXPECT_EQ(pTree->m_points[0].y, ptCursor.y);
    EXPECT_EQ(TreeView_GetSelection(hTree), hDocs) << "the right click leaves the selection";

    // The menu's own path commands copy the selected entry's path.
    SendMessageA(hTree, WM_COMMAND, MAKEWPARAM(ID_EDIT_COPY_FULL_PATH, 0), 0);
    EXPECT_EQ(testclip::Text(), "\\\\PC\\Docs");

    // Below the last entry, and on a workgroup (no path), there is no menu.
    RECT rcClient;
    GetClientRect(hTree, &rcClient);
    RightClick(m_host, nullptr, {5, rcClient.bottom - 3});
    RightClick(m_host, Entry({"Wg"}));
    EXPECT_EQ(pTree->m_paths.size(), 1u);
}

// The real shell's menu, on a local folder (Wine's shell parses no UNC path).
const UINT_PTR kMenuTimer = 0x5151;
struct MenuSeen {
    int nItems = -1;
    std::vector<UINT> ids;
} g_menuSeen;

class MenuReadingTree : public CNetTree {
public:
    void TrackShellMenu(const CString& strPath, POINT ptScreen) override {
        // The popup is loaded inside the base call: read it from a timer while it is open.
        s_pThis = this;
        UINT_PTR nTimer = ::SetTimer(nullptr, kMenuTimer, 300, ReadAndClose);
        CNetTree::TrackShellMenu(strPath, ptScreen);
        ::KillTimer(nullptr, nTimer);
    }

private:
    static void CALLBACK ReadAndClose(HWND, UINT, UINT_PTR idEvent, DWORD) {
        ::KillTimer(nullptr, idEvent);
        if (HMENU hPopup = s_pThis->m_contextMenu.m_hPopup) {
            g_menuSeen.nItems = GetMenuItemCount(hPopup);
            for (int i = 0; i < g_menuSeen.nItems; ++i)
                g_menuSeen.ids.push_back(GetMenuItemID(hPopup, i));
        }
        EndMenu();
    }
    static MenuReadingTree* s_pThis;
};
MenuReadingTree* MenuReadingTree::s_pThis = nullptr;

TEST_F(CommandTest, ShellMenuOfALocalFolderHasTheShellsItemsAboveTheCopyCommands) {
    auto* pTree = new MenuReadingTree;
    Open(pTree);
    char szDir[MAX_PATH];
    GetTempPathA(MAX_PATH, szDir);
    std::string dir = std::string(szDir) + "vq_menu_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    g_menuSeen = MenuSeen();
    POINT pt = {100, 100};
    ClientToScreen(m_host.hTree, &pt);
    pTree->TrackShellMenu(dir.c_str(), pt);
    RemoveDirectoryA(dir.c_str());

    ASSERT_GE(g_menuSeen.nItems, 4) << "the shell added nothing";
    const size_t n = g_menuSeen.ids.size();
    EXPECT_EQ(g_menuSeen.ids[n - 3], static_cast<UINT>(ID_EDIT_COPY_FULL_PATH));
    EXPECT_EQ(g_menuSeen.ids[n - 2], static_cast<UINT>(ID_EDIT_COPY_DIR_PATH));
    EXPECT_EQ(g_menuSeen.ids[n - 1], static_cast<UINT>(ID_EDIT_COPY_NAME));
    bool bShellItem = false;
    for (size_t i = 0; i + 3 < n; ++i)
        bShellItem |= g_menuSeen.ids[i] >= 0x1000 && g_menuSeen.ids[i] <= 0x2000;
    EXPECT_TRUE(bShellItem);
    EXPECT_NE(pTree->m_contextMenu.m_pMenu, nullptr) << "kept for the chosen command";
}

// ---- Double click ----------------------------------------------------------------------------

TEST_F(CommandTest, DoubleClickNeitherExpandsNorCollapses) {
    Open();
    const HWND hTree = m_host.hTree;
    HTREEITEM hGroup = Entry({"Wg"});
    Select(hTree, hGroup);
    for (bool bExpanded : {true, false}) {
        TreeView_Expand(hTree, hGroup, bExpanded ? TVE_EXPAND : TVE_COLLAPSE);
        ASSERT_EQ(Expanded(hTree, hGroup), bExpanded);
        RECT rc = LabelRect(hTree, hGroup);
        LPARAM lp = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        SendMessageA(hTree, WM_LBUTTONDBLCLK, MK_LBUTTON, lp);
        SendMessageA(hTree, WM_LBUTTONUP, 0, lp);
        PumpFor(50);
        EXPECT_EQ(Expanded(hTree, hGroup), bExpanded);
    }
    NMHDR nm = {hTree, static_cast<UINT_PTR>(GetDlgCtrlID(hTree)), static_cast<UINT>(NM_DBLCLK)};
    EXPECT_EQ(SendMessageA(GetParent(hTree), WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm)),
              1);
}

// ---- Drag ------------------------------------------------------------------------------------

// A drop target that records what is dropped on it.
class RecordingTarget : public IDropTarget {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IDropTarget) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP DragEnter(IDataObject*, DWORD, POINTL, DWORD* pdwEffect) override {
        ++m_nEnters;
        m_dwAllowed = *pdwEffect;
        *pdwEffect &= DROPEFFECT_COPY;
        return S_OK;
    }
    STDMETHODIMP DragOver(DWORD, POINTL, DWORD* pdwEffect) override {
        *pdwEffect &= DROPEFFECT_COPY;
        return S_OK;
    }
    STDMETHODIMP DragLeave() override { return S_OK; }
    STDMETHODIMP Drop(IDataObject* pData, DWORD, POINTL, DWORD* pdwEffect) override {
        FORMATETC fmt = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM med = {};
        if (SUCCEEDED(pData->GetData(&fmt, &med))) {
            m_dropped = testclip::DropFiles(static_cast<HDROP>(med.hGlobal));
            ReleaseStgMedium(&med);
        }
        *pdwEffect = DROPEFFECT_COPY;
        return S_OK;
    }
    int m_nEnters = 0;
    DWORD m_dwAllowed = 0;
    std::vector<std::string> m_dropped;
};

TEST_F(CommandTest, DraggingOffersSharesAndDirectoriesAsFilesToCopy) {
    Open();
    const HWND hTree = m_host.hTree;
    RecordingTarget target;
    // A window of its own class: a static control is transparent to WindowFromPoint.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VqDropTargetTest";
    RegisterClassA(&wc);
    HWND hTargetWnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE,
                                      1000, 600, 200, 150, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(hTargetWnd);
    ASSERT_EQ(RegisterDragDrop(hTargetWnd, &target), S_OK);
    SetCursorPos(1100, 675);
    PumpUntil(
        [&] {
            POINT pt = {1100, 675};
            return WindowFromPoint(pt) == hTargetWnd;
        },
        5000);

    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"Wg"}, nullptr},
        {{"Wg", "Pc"}, nullptr},
        {{"Wg", "Pc", "Docs"}, "\\\\PC\\Docs"},
        {{"Wg", "Pc", "Docs", "old"}, "\\\\PC\\Docs\\old"},
    };
    for (const auto& [path, dropped] : cases) {
        SCOPED_TRACE(path.back());
        target.m_dropped.clear();
        target.m_nEnters = 0;
        NMTREEVIEWA nm = {};
        nm.hdr = {hTree, static_cast<UINT_PTR>(GetDlgCtrlID(hTree)),
                  static_cast<UINT>(TVN_BEGINDRAGA)};
        nm.action = 0;
        nm.itemNew.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
        nm.itemNew.hItem = Entry(path);
        nm.itemNew.lParam = Data(hTree, nm.itemNew.hItem);
        SendMessageA(GetParent(hTree), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
        if (dropped) {
            EXPECT_EQ(target.m_dropped, std::vector<std::string>{dropped});
            EXPECT_EQ(target.m_dwAllowed, static_cast<DWORD>(DROPEFFECT_COPY));
        } else {
            EXPECT_EQ(target.m_nEnters, 0) << "nothing is dragged";
            EXPECT_TRUE(target.m_dropped.empty());
        }
    }
    RevokeDragDrop(hTargetWnd);
    DestroyWindow(hTargetWnd);
}

} // namespace

// The file list's commands: their enabling, Copy and the path commands, opening rows, Refresh,
// Delete through the shell, and the shell's right-click menu.

#include "tests/views/file_list_support.h"

#include "res/resource.h"
#include "tests/shell/dialog_answerer.h"
#include "tests/support/test_files.h"

#include <atomic>
#include <thread>

namespace fltest {
namespace {

using Strings = std::vector<std::string>;

void PutText(const char* pszText) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, strlen(pszText) + 1);
    strcpy(static_cast<char*>(GlobalLock(h)), pszText);
    GlobalUnlock(h);
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, h);
    CloseClipboard();
}

class CommandTest : public FileListTest {
protected:
    // The list has had the focus: commands go to it first.
    void Focus() {
        SetFocus(m_hList);
        ASSERT_EQ(m_host.pFrame->m_pFocusPane, m_pList);
    }
};

TEST_F(CommandTest, TheFocusMakesTheListTheFramesFocusPane) {
    SetFocus(m_host.hTree);
    EXPECT_EQ(m_host.pFrame->m_pFocusPane, m_host.pTree);
    SetFocus(m_hList);
    EXPECT_EQ(m_host.pFrame->m_pFocusPane, m_pList);
}

// ---- Enabling --------------------------------------------------------------------------------

enum Shown { NOTHING, COMPUTER, SHARE, DIRECTORY };

struct EnableCase {
    const char* what;
    Shown shown;
    bool bSelect;
    bool bDelete, bCopy;
};

class EnableTest : public CommandTest, public testing::WithParamInterface<EnableCase> {};

TEST_P(EnableTest, FollowsTheShownItemAndTheSelection) {
    const EnableCase& c = GetParam();
    if (c.shown == DIRECTORY)
        m_listing.Descend("reports");
    m_listing.AddFile("a.txt");
    CItem* items[] = {nullptr, m_listing.m_pServer, m_listing.m_pShare, m_listing.m_pListed};
    Show(items[c.shown]);
    if (c.bSelect)
        SelectRows(m_hList, {RowOf(m_hList, "a.txt")});
    Focus();
    EXPECT_EQ(m_host.Enabled(ID_EDIT_DELETE), c.bDelete);
    for (UINT id : {UINT(ID_EDIT_COPY), UINT(ID_EDIT_COPY_FULL_PATH), UINT(ID_EDIT_COPY_DIR_PATH),
                    UINT(ID_EDIT_COPY_NAME)})
        EXPECT_EQ(m_host.Enabled(id), c.bCopy) << id;
    EXPECT_TRUE(m_host.Enabled(ID_VIEW_REFRESH));
}

// A computer or nothing shown leaves the list empty: there is nothing to select.
const EnableCase s_enableCases[] = {
    {"nothing", NOTHING, false, false, false},
    {"computer", COMPUTER, false, false, false},
    {"share", SHARE, false, false, true},
    {"share_with_a_row_selected", SHARE, true, true, true},
    {"directory", DIRECTORY, false, false, true},
    {"directory_with_a_row_selected", DIRECTORY, true, true, true},
};

INSTANTIATE_TEST_SUITE_P(Shown, EnableTest, testing::ValuesIn(s_enableCases),
                         [](const testing::TestParamInfo<EnableCase>& info) {
                             return std::string(info.param.what);
                         });

// ---- Copy and the path commands --------------------------------------------------------------

TEST_F(CommandTest, CopyPutsTheSelectedPathsOnTheClipboardAsFiles) {
    m_listing.AddFile("b.txt");
    m_listing.AddFile("a.txt");
    m_listing.AddDir("reports");
    Show(m_listing);
    SelectRows(m_hList, {RowOf(m_hList, "b.txt"), RowOf(m_hList, "reports")});
    Focus();
    m_host.Command(ID_EDIT_COPY);
    EXPECT_EQ(testclip::Files(), (Strings{"\\\\SERVER\\docs\\reports", "\\\\SERVER\\docs\\b.txt"}))
        << "paths in row order";

    PutText("before");
    SelectRows(m_hList, {});
    m_host.Command(ID_EDIT_COPY);
    EXPECT_EQ(testclip::Text(), "before") << "nothing selected, nothing copied";
}

struct PathCase {
    UINT nID;
    const char* text;
};

class CopyPathTest : public CommandTest, public testing::WithParamInterface<PathCase> {};

TEST_P(CopyPathTest, PutsThePathOfTheSelectionMarkAsText) {
    m_listing.Descend("reports");
    m_listing.AddFile("b.txt");
    m_listing.AddFile("a.txt");
    Show(m_listing);
    // The mark stays on the row where the selection started, also when it is deselected.
    SelectRows(m_hList, {RowOf(m_hList, "a.txt")});
    ListView_SetItemState(m_hList, -1, 0, LVIS_SELECTED);
    Focus();
    m_host.Command(GetParam().nID);
    EXPECT_EQ(testclip::Text(), GetParam().text);

    // Without a mark nothing is copied.
    PutText("before");
    m_pList->Refill();
    ASSERT_LT(SendMessageA(m_hList, LVM_GETSELECTIONMARK, 0, 0), 0);
    m_host.Command(GetParam().nID);
    EXPECT_EQ(testclip::Text(), "before");
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CopyPathTest,
    testing::Values(PathCase{ID_EDIT_COPY_FULL_PATH, "\\\\SERVER\\docs\\reports\\a.txt"},
                    PathCase{ID_EDIT_COPY_DIR_PATH, "\\\\SERVER\\docs\\reports"},
                    PathCase{ID_EDIT_COPY_NAME, "a.txt"}));

TEST_F(CommandTest, TheSelectionGoesOutTopToBottom) {
    for (const char* name : {"c.txt", "a.txt", "b.txt"})
        m_listing.AddFile(name);
    m_listing.AddDir("z");
    Show(m_listing);
    SelectRows(m_hList, {3, 1, 0});
    CFilenameList list;
    m_pList->AddSelectionTo(list);
    Strings paths;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        paths.push_back(list.GetNext(pos).GetString());
    EXPECT_EQ(paths, (Strings{"\\\\SERVER\\docs\\z", "\\\\SERVER\\docs\\a.txt",
                              "\\\\SERVER\\docs\\c.txt"}));
}

// ---- On the simulated network: opening, Refresh, Delete --------------------------------------

// A computer of these tests only: other tests' leftovers never show in its share.
const char kNet[] = "[network]\n"
                    "[domain WG]\n"
                    "[computer WG/FLPC]\n"
                    "[share FLPC/Docs]\n";

std::string Docs(const std::string& sub = "") {
    return nttest::ShareFolder("FLPC", "Docs", sub);
}

// Empties the share's folder.
void ClearDocs() {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((Docs() + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = fd.cFileName;
        if (name != "." && name != "..")
            testfs::RemoveTree(Docs(name));
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

class NetworkTest : public CommandTest {
protected:
    const char* Network() const override { return kNet; }
    void MakeFolders() override {
        ClearDocs();
        nttest::MakeDir(Docs("reports"));
        nttest::MakeDir(Docs("old"));
        nttest::MakeFile(Docs("a.txt"));
        nttest::MakeFile(Docs("gone.txt"));
        nttest::MakeFile(Docs("c.txt"));
    }
    void SetUp() override {
        CommandTest::SetUp();
        for (const Strings& path :
             {Strings{"Wg"}, Strings{"Wg", "Flpc"}, Strings{"Wg", "Flpc", "Docs"}}) {
            HTREEITEM hEntry = nullptr;
            ASSERT_TRUE(nttest::PumpUntil(
                [&] { return (hEntry = nttest::FindPath(m_host.hTree, path)) != nullptr; }));
            nttest::Select(m_host.hTree, hEntry);
            ASSERT_TRUE(nttest::WaitListed(m_host, path));
        }
        ASSERT_TRUE(nttest::WaitIdle());
        m_hDocs = nttest::FindPath(m_host.hTree, {"Wg", "Flpc", "Docs"});
    }
    void TearDown() override {
        CommandTest::TearDown();
        ClearDocs();
    }

    HTREEITEM m_hDocs = nullptr;
};

TEST_F(NetworkTest, TheListShowsTheSelectedShare) {
    EXPECT_EQ(Names(m_hList), (Strings{"old", "reports", "a.txt", "c.txt", "gone.txt"}));
}

// Records what would be opened with its program instead of starting programs.
class OpeningList : public CFileList {
public:
    std::vector<std::string> m_opened;

protected:
    void OpenFile(const CString& strPath) override { m_opened.push_back(strPath.GetString()); }
};

class OpenTest : public NetworkTest {
protected:
    CFileList* NewList() override { return m_pOpening = new OpeningList; }
    void PressEnter() {
        SendMessageA(m_hList, WM_KEYDOWN, VK_RETURN, 0);
        SendMessageA(m_hList, WM_KEYUP, VK_RETURN, 0);
    }
    OpeningList* m_pOpening = nullptr;
};

TEST_F(OpenTest, EnterOpensEverySelectedFile) {
    SelectRows(m_hList,
               {RowOf(m_hList, "gone.txt"), RowOf(m_hList, "a.txt"), RowOf(m_hList, "c.txt")});
    SetFocus(m_hList);
    HTREEITEM hSelected = TreeView_GetSelection(m_host.hTree);
    PressEnter();
    EXPECT_EQ(m_pOpening->m_opened, (Strings{"\\\\FLPC\\Docs\\a.txt", "\\\\FLPC\\Docs\\c.txt",
                                             "\\\\FLPC\\Docs\\gone.txt"}));
    EXPECT_EQ(TreeView_GetSelection(m_host.hTree), hSelected) << "no directory, no new entry";
}

TEST_F(OpenTest, AFileAndTwoDirectoriesOpenTheFileAndShowTheLowerDirectory) {
    SelectRows(m_hList,
               {RowOf(m_hList, "a.txt"), RowOf(m_hList, "old"), RowOf(m_hList, "reports")});
    SetFocus(m_hList);
    PressEnter();
    EXPECT_EQ(m_pOpening->m_opened, (Strings{"\\\\FLPC\\Docs\\a.txt"}));
    HTREEITEM hReports = nttest::FindPath(m_host.hTree, {"Wg", "Flpc", "Docs", "reports"});
    EXPECT_EQ(TreeView_GetSelection(m_host.hTree), hReports);
    ASSERT_TRUE(nttest::WaitListed(m_host, {"Wg", "Flpc", "Docs", "reports"}));
}

TEST_F(OpenTest, DoubleClickOpensTheFileUnderTheMouse) {
    int nRow = RowOf(m_hList, "c.txt");
    RECT rc = {};
    rc.left = LVIR_LABEL;
    SendMessageA(m_hList, LVM_GETITEMRECT, nRow, reinterpret_cast<LPARAM>(&rc));
    LPARAM pt = MAKELPARAM(rc.left + 5, (rc.top + rc.bottom) / 2);
    SendMessageA(m_hList, WM_LBUTTONDOWN, MK_LBUTTON, pt);
    SendMessageA(m_hList, WM_LBUTTONUP, 0, pt);
    SendMessageA(m_hList, WM_LBUTTONDBLCLK, MK_LBUTTON, pt);
    SendMessageA(m_hList, WM_LBUTTONUP, 0, pt);
    EXPECT_EQ(m_pOpening->m_opened, (Strings{"\\\\FLPC\\Docs\\c.txt"}));
}

// Enter on a selection of two directories shows the lower one in the tree and the list.
TEST_F(NetworkTest, OpeningDirectoryRowsSelectsTheLowerOnesEntry) {
    SelectRows(m_hList, {RowOf(m_hList, "old"), RowOf(m_hList, "reports")});
    Focus();
    SendMessageA(m_hList, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(m_hList, WM_KEYUP, VK_RETURN, 0);

    HTREEITEM hReports = nttest::FindPath(m_host.hTree, {"Wg", "Flpc", "Docs", "reports"});
    ASSERT_TRUE(hReports);
    EXPECT_EQ(TreeView_GetSelection(m_host.hTree), hReports);
    EXPECT_EQ(m_pList->m_pItem, m_host.pTree->ItemFromHandle(hReports));
    char title[256] = "";
    GetWindowTextA(m_host.hFrame, title, sizeof title);
    EXPECT_EQ(std::string(title), "Velloquin - WG\\FLPC\\Docs\\reports");
    ASSERT_TRUE(nttest::WaitListed(m_host, {"Wg", "Flpc", "Docs", "reports"}));
}

TEST_F(NetworkTest, RefreshListsTheShownItemAgainAndKeepsTheFocus) {
    nttest::MakeFile(Docs("new.txt"));
    Focus();
    m_host.Command(ID_VIEW_REFRESH);
    EXPECT_EQ(nttest::Mark(m_host.hTree, m_hDocs), CNetTree::STATE_LISTING);
    EXPECT_EQ(GetFocus(), m_hList);
    ASSERT_TRUE(nttest::WaitListed(m_host, {"Wg", "Flpc", "Docs"}));
    ASSERT_TRUE(nttest::WaitIdle());
    EXPECT_EQ(Names(m_hList), (Strings{"old", "reports", "a.txt", "c.txt", "gone.txt", "new.txt"}));
    EXPECT_EQ(GetFocus(), m_hList);
    EXPECT_EQ(m_host.pFrame->m_pFocusPane, m_pList);
    DeleteFileA(Docs("new.txt").c_str());
}

TEST_F(NetworkTest, DeleteAsksTheShellThenListsAgain) {
    const std::string file = Docs("gone.txt");
    for (const char* answer : {"No", "Yes"}) {
        SCOPED_TRACE(answer);
        SelectRows(m_hList, {RowOf(m_hList, "gone.txt")});
        Focus();
        {
            DialogAnswerer answerer({answer});
            m_host.Command(ID_EDIT_DELETE);
            ASSERT_EQ(answerer.Answered().size(), 1u) << "the shell asks before it deletes";
            // Given the list, the system makes the list's top-level window the owner.
            EXPECT_EQ(answerer.Answered()[0].owner, m_host.hFrame);
        }
        // Whatever the shell did, the shown share is listed anew.
        EXPECT_EQ(nttest::Mark(m_host.hTree, m_hDocs), CNetTree::STATE_LISTING);
        ASSERT_TRUE(nttest::WaitListed(m_host, {"Wg", "Flpc", "Docs"}));
        ASSERT_TRUE(nttest::WaitIdle());
        const bool bDeleted = std::string(answer) == "Yes";
        EXPECT_EQ(GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES, bDeleted);
        EXPECT_EQ(RowOf(m_hList, "gone.txt") < 0, bDeleted);
        EXPECT_EQ(RowOf(m_hList, "a.txt") >= 0, true);
    }
}

// ---- The shell's menu ------------------------------------------------------------------------

// Watches for the popup menu of this process, notes its items and closes it with Escape.
class MenuWatcher {
public:
    MenuWatcher() {
        m_thread = std::thread([this] { Run(); });
    }
    ~MenuWatcher() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    std::vector<UINT> Items() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_items;
    }

private:
    void Run() {
        DWORD dwStart = GetTickCount();
        while (!m_stop && GetTickCount() - dwStart < 15000) {
            HWND hMenu = nullptr;
            while ((hMenu = FindWindowExA(nullptr, hMenu, "#32768", nullptr)) != nullptr) {
                DWORD pid = 0;
                GetWindowThreadProcessId(hMenu, &pid);
                if (pid != GetCurrentProcessId() || !IsWindowVisible(hMenu))
                    continue;
                auto hPopup = reinterpret_cast<HMENU>(SendMessageA(hMenu, MN_GETHMENU, 0, 0));
                int n = hPopup ? GetMenuItemCount(hPopup) : 0;
                for (int i = 0; i < n; i++)
                    m_items.push_back(GetMenuItemID(hPopup, i));
                PostMessageA(hMenu, WM_KEYDOWN, VK_ESCAPE, 0);
                return;
            }
            Sleep(20);
        }
    }

    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::vector<UINT> m_items;
};

void RightClick(HWND hFrame, HWND hList) {
    NMITEMACTIVATE nm = {};
    nm.hdr.hwndFrom = hList;
    nm.hdr.idFrom = GetDlgCtrlID(hList);
    nm.hdr.code = NM_RCLICK;
    nm.iItem = -1;
    SendMessageA(hFrame, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

// Wine's shell parses local paths only: a share named after a local folder gives its entries
// local paths.
TEST_F(CommandTest, RightClickShowsTheShellsMenuForTheSelectedLocalFiles) {
    testfs::TempDir dir("flmenu");
    for (const char* name : {"one.txt", "two.txt", "three.txt"})
        testfs::WriteFileText(dir / name, name);
    std::string folder = dir.path();
    std::wstring wide(folder.begin(), folder.end());
    {
        Listing local(wide.c_str());
        for (const char* name : {"one.txt", "two.txt", "three.txt"})
            local.AddFile(name);
        Show(local);
        SelectRows(m_hList, {0, 1, 2});
        std::vector<UINT> items;
        {
            MenuWatcher watcher;
            RightClick(m_host.hFrame, m_hList);
            items = watcher.Items();
        }
        Show(nullptr);
        ASSERT_GT(items.size(), 3u) << "the shell's items above the program's three";
        EXPECT_EQ(items[items.size() - 3], UINT(ID_EDIT_COPY_FULL_PATH));
        EXPECT_EQ(items[items.size() - 2], UINT(ID_EDIT_COPY_DIR_PATH));
        EXPECT_EQ(items[items.size() - 1], UINT(ID_EDIT_COPY_NAME));
        int nShell = 0;
        for (size_t i = 0; i + 3 < items.size(); i++)
            nShell += items[i] >= 0x1000 && items[i] <= 0x2000;
        EXPECT_GT(nShell, 0);
        EXPECT_NE(m_pList->m_contextMenu.m_pMenu, nullptr) << "kept for the chosen command";
    }
}

TEST_F(CommandTest, RightClickWithoutASelectionShowsNoMenu) {
    m_listing.AddFile("a.txt");
    Show(m_listing);
    SelectRows(m_hList, {});
    DWORD dwStart = GetTickCount();
    RightClick(m_host.hFrame, m_hList);
    EXPECT_LT(GetTickCount() - dwStart, 2000u);
    EXPECT_EQ(m_pList->m_contextMenu.m_pMenu, nullptr);
}

} // namespace
} // namespace fltest

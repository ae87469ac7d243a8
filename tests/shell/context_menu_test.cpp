#include "shell/shell_context_menu.h"

#include "tests/shell/context_menu_fakes.h"
#include "tests/support/clipboard.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <iostream>
#include <string>
#include <vector>

namespace {

using testfs::TempDir;
using testfs::WriteFileText;

// ---- Routing of the menu messages, on a menu object of the test's own ----

// A context menu record whose menu object is the fake of the given version.
struct FakeMenuFixture {
    explicit FakeMenuFixture(int version) : menu(version), folder(&menu) {
        record.m_hPopup = popup;
        LPCITEMIDLIST none = nullptr;
        record.BuildMenu(&folder, 1, &none);
    }
    ~FakeMenuFixture() {
        record.ReleaseMenu();
        DestroyMenu(popup);
    }
    HMENU popup = CreatePopupMenu();
    FakeContextMenu menu;
    FakeFolder folder;
    CShellContextMenu record;
};

class ContextMenuVersionTest : public ::testing::TestWithParam<int> {};

TEST_P(ContextMenuVersionTest, BuildMenuKeepsTheNewestInterfaceAndFillsThePopup) {
    FakeMenuFixture f(GetParam());
    EXPECT_EQ(f.record.m_nVersion, GetParam());
    EXPECT_EQ(f.record.m_pMenu, static_cast<IContextMenu*>(&f.menu));
    EXPECT_EQ(f.menu.m_refs, 2) << "one reference held, the others released";
    EXPECT_EQ(f.folder.m_refs, 1) << "the folder is the caller's";
    EXPECT_TRUE(f.folder.m_riidWasContextMenu);
    EXPECT_EQ(f.folder.m_owner, nullptr) << "no owner window";
    ASSERT_EQ(f.menu.m_queries.size(), 1u);
    const auto& q = f.menu.m_queries[0];
    EXPECT_EQ(q.hmenu, f.popup);
    EXPECT_EQ(q.index, 0u);
    EXPECT_EQ(q.first, 0x1000u);
    EXPECT_EQ(q.last, 0x2000u);
    EXPECT_EQ(q.flags, 0x50u) << "CMF_CANRENAME | CMF_INCLUDESTATIC";

    f.record.ReleaseMenu();
    EXPECT_EQ(f.record.m_pMenu, nullptr);
    EXPECT_EQ(f.menu.m_refs, 1);
    LRESULT result = 0;
    EXPECT_FALSE(f.record.HandleMenuMessage(WM_COMMAND, 0x1000, 0, &result))
        << "nothing is handled once the menu object is gone";
}

struct CommandCase {
    WPARAM wParam;
    bool handled;
    UINT_PTR offset;
};

TEST_P(ContextMenuVersionTest, CommandsInTheShellsRangeAreInvokedWithTheirOffset) {
    const CommandCase cases[] = {
        {0x0FFF, false, 0},
        {0x1000, true, 0},
        {0x1ABC, true, 0xABC},
        {0x2000, true, 0x1000},
        {0x2001, false, 0},
        {ID_EDIT_COPY_FULL_PATH, false, 0},
        {MAKEWPARAM(0x1001, 1), true, 1}, // from an accelerator: the low word counts
        {MAKEWPARAM(0x0FFF, 0x1000), false, 0},
    };
    for (const CommandCase& c : cases) {
        FakeMenuFixture f(GetParam());
        LRESULT result = 12345;
        EXPECT_EQ(f.record.HandleMenuMessage(WM_COMMAND, c.wParam, 0, &result), c.handled)
            << std::hex << c.wParam;
        if (!c.handled) {
            EXPECT_TRUE(f.menu.m_invokes.empty());
            continue;
        }
        EXPECT_EQ(result, 0);
        ASSERT_EQ(f.menu.m_invokes.size(), 1u);
        const InvokeCall& call = f.menu.m_invokes[0];
        EXPECT_EQ(call.verb, c.offset) << std::hex << c.wParam;
        EXPECT_EQ(call.cbSize, sizeof(CMINVOKECOMMANDINFO));
        EXPECT_EQ(call.fMask, 0u);
        EXPECT_EQ(call.hwnd, nullptr);
        EXPECT_EQ(call.nShow, SW_SHOWNORMAL);
    }
}

struct OwnerDrawCase {
    UINT message;
    UINT ctlType;
    UINT itemID;
    bool forwardedFromVersion2;
};

TEST_P(ContextMenuVersionTest, OwnerDrawnShellItemsAreForwardedFromVersionTwo) {
    const OwnerDrawCase cases[] = {
        {WM_DRAWITEM, ODT_MENU, 0x1000, true},      {WM_DRAWITEM, ODT_MENU, 0x2000, true},
        {WM_DRAWITEM, ODT_MENU, 0x0FFF, false},     {WM_DRAWITEM, ODT_MENU, 0x2001, false},
        {WM_DRAWITEM, ODT_LISTVIEW, 0x1000, false}, {WM_MEASUREITEM, ODT_MENU, 0x1500, true},
        {WM_MEASUREITEM, ODT_MENU, 32787, false},   {WM_MEASUREITEM, ODT_BUTTON, 0x1500, false},
    };
    for (const OwnerDrawCase& c : cases) {
        FakeMenuFixture f(GetParam());
        DRAWITEMSTRUCT draw = {};
        MEASUREITEMSTRUCT measure = {};
        draw.CtlType = measure.CtlType = c.ctlType;
        draw.itemID = measure.itemID = c.itemID;
        const LPARAM lParam = c.message == WM_DRAWITEM ? reinterpret_cast<LPARAM>(&draw)
                                                       : reinterpret_cast<LPARAM>(&measure);
        const bool expected = c.forwardedFromVersion2 && GetParam() >= 2;
        LRESULT result = 0;
        EXPECT_EQ(f.record.HandleMenuMessage(c.message, 0, lParam, &result), expected)
            << std::hex << c.message << " " << c.itemID;
        if (expected) {
            EXPECT_EQ(result, 1);
            ASSERT_EQ(f.menu.m_menuCalls.size(), 1u);
            EXPECT_EQ(f.menu.m_menuCalls[0].message, c.message);
            EXPECT_EQ(f.menu.m_menuCalls[0].lParam, lParam);
            EXPECT_EQ(f.menu.m_menuCalls[0].version, 2);
        } else {
            EXPECT_TRUE(f.menu.m_menuCalls.empty());
        }
    }
}

TEST_P(ContextMenuVersionTest, SubmenusOfTheShellAreForwardedAsTheyOpen) {
    FakeMenuFixture f(GetParam());
    HMENU shellSub = CreatePopupMenu();
    AppendMenuA(shellSub, MF_STRING, 0x1010, "Send to A");
    HMENU ownSub = CreatePopupMenu();
    AppendMenuA(ownSub, MF_STRING, ID_EDIT_COPY_NAME, "Copy Name");
    HMENU emptySub = CreatePopupMenu();

    LRESULT result = 0;
    EXPECT_EQ(f.record.HandleMenuMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(shellSub),
                                         MAKELPARAM(1, FALSE), &result),
              GetParam() >= 2);
    EXPECT_FALSE(
        f.record.HandleMenuMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(ownSub), 0, &result));
    EXPECT_FALSE(f.record.HandleMenuMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(emptySub), 0,
                                            &result));
    if (GetParam() >= 2) {
        EXPECT_EQ(result, 1);
        ASSERT_EQ(f.menu.m_menuCalls.size(), 1u);
        EXPECT_EQ(f.menu.m_menuCalls[0].wParam, reinterpret_cast<WPARAM>(shellSub));
    } else {
        EXPECT_TRUE(f.menu.m_menuCalls.empty());
    }
    DestroyMenu(shellSub);
    DestroyMenu(ownSub);
    DestroyMenu(emptySub);
}

TEST_P(ContextMenuVersionTest, MenuCharactersOnlyForThePopupAndOnlyFromVersionThree) {
    FakeMenuFixture f(GetParam());
    HMENU other = CreatePopupMenu();
    LRESULT result = 0;
    EXPECT_FALSE(
        f.record.HandleMenuMessage(WM_MENUCHAR, 'x', reinterpret_cast<LPARAM>(other), &result));
    EXPECT_EQ(f.record.HandleMenuMessage(WM_MENUCHAR, MAKEWPARAM('x', MF_POPUP),
                                         reinterpret_cast<LPARAM>(f.popup), &result),
              GetParam() == 3);
    if (GetParam() == 3) {
        EXPECT_EQ(result, MAKELRESULT(2, MNC_EXECUTE)) << "the shell's answer";
        ASSERT_EQ(f.menu.m_menuCalls.size(), 1u);
        EXPECT_EQ(f.menu.m_menuCalls[0].version, 3);

        // The shell declines: not handled, the view answers itself.
        f.menu.m_menuMsg2Answer = E_FAIL;
        EXPECT_FALSE(f.record.HandleMenuMessage(WM_MENUCHAR, 'y', reinterpret_cast<LPARAM>(f.popup),
                                                &result));
    } else {
        EXPECT_TRUE(f.menu.m_menuCalls.empty());
    }
    DestroyMenu(other);
}

TEST_P(ContextMenuVersionTest, OtherMessagesAreNotHandled) {
    FakeMenuFixture f(GetParam());
    LRESULT result = 0;
    for (UINT message : {WM_PAINT, WM_CONTEXTMENU, WM_NOTIFY, WM_MENUSELECT, WM_INITMENU})
        EXPECT_FALSE(f.record.HandleMenuMessage(message, 0x1000, 0x1000, &result)) << message;
    EXPECT_TRUE(f.menu.m_menuCalls.empty());
    EXPECT_TRUE(f.menu.m_invokes.empty());
}

INSTANTIATE_TEST_SUITE_P(Versions, ContextMenuVersionTest, ::testing::Values(1, 2, 3),
                         [](const auto& info) {
                             return "IContextMenu" + std::to_string(info.param);
                         });

TEST(ContextMenuTest, NothingIsHandledBeforeTheFirstMenu) {
    CShellContextMenu record;
    EXPECT_EQ(record.m_pMenu, nullptr);
    EXPECT_EQ(record.m_hPopup, nullptr);
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 0x1000, "Open");
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_MENU;
    draw.itemID = 0x1000;
    LRESULT result = 77;
    EXPECT_FALSE(record.HandleMenuMessage(WM_COMMAND, 0x1000, 0, &result));
    EXPECT_FALSE(
        record.HandleMenuMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw), &result));
    EXPECT_FALSE(
        record.HandleMenuMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0, &result));
    EXPECT_FALSE(record.HandleMenuMessage(WM_MENUCHAR, 'o', 0, &result));
    EXPECT_EQ(result, 77);
    DestroyMenu(popup);
}

TEST(ContextMenuTest, RefusedMenuObjectLeavesNoneAndReleasesThePrevious) {
    FakeContextMenu first(3);
    FakeFolder folder(&first);
    CShellContextMenu record;
    LPCITEMIDLIST items[3] = {};
    record.BuildMenu(&folder, 3, items);
    ASSERT_EQ(first.m_refs, 2);
    EXPECT_EQ(folder.m_count, 3u) << "one menu object for the three";

    folder.m_pMenu = nullptr; // the shell refuses the next objects
    record.BuildMenu(&folder, 1, items);
    EXPECT_EQ(first.m_refs, 1) << "the previous menu object was released";
    EXPECT_EQ(record.m_pMenu, nullptr);
    LRESULT result = 0;
    EXPECT_FALSE(record.HandleMenuMessage(WM_COMMAND, 0x1000, 0, &result));
    EXPECT_TRUE(first.m_invokes.empty());
}

TEST(ContextMenuTest, DestructionReleasesTheMenuObject) {
    FakeContextMenu menu(2);
    FakeFolder folder(&menu);
    {
        CShellContextMenu record;
        LPCITEMIDLIST none = nullptr;
        record.BuildMenu(&folder, 1, &none);
        EXPECT_EQ(menu.m_refs, 2);
    }
    EXPECT_EQ(menu.m_refs, 1);
}

// ---- Paths into the shell's identifier lists, on the real shell (local paths: Wine's shell
// does not parse UNC paths) ----

std::string DisplayName(IShellFolder* pFolder, LPCITEMIDLIST pidl) {
    STRRET str = {};
    char buf[MAX_PATH] = "";
    if (SUCCEEDED(pFolder->GetDisplayNameOf(pidl, SHGDN_INFOLDER | SHGDN_FORPARSING, &str)))
        StrRetToBufA(&str, pidl, buf, sizeof buf);
    return buf;
}

TEST(ShellPathTest, DesktopFolderIsThereFromTheStart) {
    EXPECT_NE(g_pDesktopFolder, nullptr);
}

TEST(ShellPathTest, PathToPidlParsesLocalPathsThatFit) {
    TempDir dir("pidl");
    LPITEMIDLIST pidl = PathToPidl(dir.path().c_str(), g_pDesktopFolder);
    ASSERT_NE(pidl, nullptr);
    char back[MAX_PATH] = "";
    EXPECT_TRUE(SHGetPathFromIDListA(pidl, back));
    EXPECT_EQ(std::string(back), dir.path());
    CoTaskMemFree(pidl);

    const std::string tooLong = "C:\\" + std::string(MAX_PATH, 'x');
    EXPECT_EQ(PathToPidl(tooLong.c_str(), g_pDesktopFolder), nullptr);
    EXPECT_EQ(PathToPidl((dir / "missing.txt").c_str(), g_pDesktopFolder), nullptr);
}

TEST(ShellPathTest, BindToParentFolderGivesTheFolderAndTheLastPart) {
    TempDir dir("bind");
    WriteFileText(dir / "a;b.txt", "x");
    LPITEMIDLIST pidl = nullptr;
    LPCITEMIDLIST last = nullptr;
    IShellFolder* pFolder = BindToParentFolder((dir / "a;b.txt").c_str(), &pidl, &last);
    ASSERT_NE(pFolder, nullptr);
    ASSERT_NE(pidl, nullptr);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(DisplayName(pFolder, last), "a;b.txt");
    pFolder->Release();
    CoTaskMemFree(pidl);

    // Without places: only the folder.
    pFolder = BindToParentFolder((dir / "a;b.txt").c_str());
    ASSERT_NE(pFolder, nullptr);
    pFolder->Release();

    // A path that cannot be parsed: none, and the list place says none too.
    pidl = reinterpret_cast<LPITEMIDLIST>(1);
    last = reinterpret_cast<LPCITEMIDLIST>(1);
    EXPECT_EQ(BindToParentFolder((dir / "missing.txt").c_str(), &pidl, &last), nullptr);
    EXPECT_EQ(pidl, nullptr);
    EXPECT_EQ(last, nullptr);
}

TEST(ShellPathTest, UncPathsUnderThisShell) {
    // Recorded, not required: Wine's shell does not parse UNC paths, Windows' does.
    IShellFolder* pFolder = BindToParentFolder("\\\\VQNOSUCHPC\\docs\\a.txt");
    std::cout << "[unc] BindToParentFolder of a UNC path: " << (pFolder ? "a folder" : "none")
              << "\n";
    if (pFolder)
        pFolder->Release();
}

TEST(ShellPathTest, GetChildPidlsGivesOneListPerNameInOrder) {
    TempDir dir("children");
    const std::vector<std::string> names = {"b.txt", "a;c.txt", "missing.txt", "sub"};
    WriteFileText(dir / "b.txt", "b");
    WriteFileText(dir / "a;c.txt", "a");
    CreateDirectoryA((dir / "sub").c_str(), nullptr);
    CFilenameList list;
    for (const std::string& n : names)
        list.AddTail((dir / n).c_str());

    IShellFolder* pFolder = BindToParentFolder(list.GetHead());
    ASSERT_NE(pFolder, nullptr);
    LPITEMIDLIST* ppidl = GetChildPidls(list, pFolder);
    ASSERT_NE(ppidl, nullptr);
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == "missing.txt") {
            EXPECT_EQ(ppidl[i], nullptr);
            continue;
        }
        ASSERT_NE(ppidl[i], nullptr) << names[i];
        EXPECT_EQ(DisplayName(pFolder, ppidl[i]), names[i]);
    }
    FreeChildPidls(ppidl, list.GetCount());
    pFolder->Release();
}

// The real shell's menu for local files, inserted above the program's three items.
TEST(ShellMenuTest, RealShellFillsThePopupAboveTheProgramsItems) {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    {
        TempDir dir("menu");
        WriteFileText(dir / "one.txt", "1");
        WriteFileText(dir / "two.txt", "2");
        WriteFileText(dir / "three.txt", "3");
        CFilenameList list;
        for (const char* n : {"one.txt", "two.txt", "three.txt"})
            list.AddTail((dir / n).c_str());

        IShellFolder* pFolder = BindToParentFolder(list.GetHead());
        ASSERT_NE(pFolder, nullptr);
        LPITEMIDLIST* ppidl = GetChildPidls(list, pFolder);

        CShellContextMenu record;
        record.m_hPopup = CreatePopupMenu();
        AppendMenuA(record.m_hPopup, MF_STRING, ID_EDIT_COPY_FULL_PATH, "Copy &Full Path");
        AppendMenuA(record.m_hPopup, MF_STRING, ID_EDIT_COPY_DIR_PATH, "Copy &Directory Path");
        AppendMenuA(record.m_hPopup, MF_STRING, ID_EDIT_COPY_NAME, "Copy &Name");
        record.BuildMenu(pFolder, list.GetCount(),
                         static_cast<LPCITEMIDLIST*>(static_cast<void*>(ppidl)));
        ASSERT_NE(record.m_pMenu, nullptr);
        std::cout << "[shell menu] interface version " << record.m_nVersion << ", items:";

        const int n = GetMenuItemCount(record.m_hPopup);
        ASSERT_GT(n, 3);
        int shellItems = 0;
        for (int i = 0; i < n; ++i) {
            char text[128] = "";
            GetMenuStringA(record.m_hPopup, i, text, sizeof text, MF_BYPOSITION);
            const UINT id = GetMenuItemID(record.m_hPopup, i);
            std::cout << " [" << text << " 0x" << std::hex << id << std::dec << "]";
            if (i >= n - 3)
                continue;
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_ID;
            GetMenuItemInfoA(record.m_hPopup, i, TRUE, &info);
            if ((info.fType & MFT_SEPARATOR) || info.hSubMenu)
                continue;
            EXPECT_GE(id, 0x1000u) << text;
            EXPECT_LE(id, 0x2000u) << text;
            ++shellItems;
        }
        std::cout << "\n";
        EXPECT_GT(shellItems, 0);
        EXPECT_EQ(GetMenuItemID(record.m_hPopup, n - 3), static_cast<UINT>(ID_EDIT_COPY_FULL_PATH));
        EXPECT_EQ(GetMenuItemID(record.m_hPopup, n - 1), static_cast<UINT>(ID_EDIT_COPY_NAME));

        record.ReleaseMenu();
        DestroyMenu(record.m_hPopup);
        FreeChildPidls(ppidl, list.GetCount());
        pFolder->Release();
    }
    OleUninitialize();
}

// ---- The right-click sequences, on a window of ours with the real shell ----

// A view-like window: every message goes to the context menu first, as in the views.
class MenuOwner : public CWnd {
public:
    MenuOwner() {
        CreateEx(0, AfxRegisterWndClass(0), "vq menu owner", WS_POPUP | WS_VISIBLE, 50, 50, 300,
                 300, nullptr, nullptr);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = 0;
        if (m_menu.HandleMenuMessage(message, wParam, lParam, &result)) {
            if (message == WM_COMMAND)
                m_shellCommands.push_back(LOWORD(wParam));
            return result;
        }
        if (message == WM_COMMAND)
            m_ownCommands.push_back(LOWORD(wParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
    // Runs the messages already posted (the chosen command comes after the popup closed).
    void Pump() {
        MSG msg;
        for (int i = 0; i < 100 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
            DispatchMessageA(&msg);
    }

    CShellContextMenu m_menu{this};
    std::vector<UINT> m_shellCommands;
    std::vector<UINT> m_ownCommands;
};

// Drives the open popup from a timer on the owner's thread: records its items, then walks the
// highlight down to the wanted item and presses Enter (or closes the popup after a bounded
// number of ticks).
class PopupDriver {
public:
    struct Item {
        std::string text;
        UINT id;
    };
    // pick: the item to choose, by text without '&'; empty: close without choosing.
    PopupDriver(MenuOwner& owner, std::string pick) : m_owner(owner), m_pick(std::move(pick)) {
        s_self = this;
        m_timer = SetTimer(nullptr, 0, 20, Tick);
    }
    ~PopupDriver() {
        KillTimer(nullptr, m_timer);
        s_self = nullptr;
    }
    std::vector<Item> m_items;
    bool m_sawPopup = false;

private:
    static std::string Plain(const char* s) {
        std::string out;
        for (; *s; ++s)
            if (*s != '&')
                out += *s;
        return out;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (s_self)
            s_self->OnTick();
    }
    void OnTick() {
        HMENU popup = m_owner.m_menu.m_hPopup;
        HWND menuWnd = FindWindowA("#32768", nullptr);
        if (++m_ticks > 250) { // 5 s: give up, close the popup
            EndMenu();
            return;
        }
        if (!menuWnd || !IsWindowVisible(menuWnd) || !popup)
            return;
        if (!m_sawPopup) {
            m_sawPopup = true;
            const int n = GetMenuItemCount(popup);
            for (int i = 0; i < n; ++i) {
                char text[128] = "";
                GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
                m_items.push_back({Plain(text), GetMenuItemID(popup, i)});
            }
            if (m_pick.empty()) {
                EndMenu();
                return;
            }
        }
        if (m_pressed)
            return;
        const int n = GetMenuItemCount(popup);
        for (int i = 0; i < n; ++i) {
            if (!(GetMenuState(popup, i, MF_BYPOSITION) & MF_HILITE))
                continue;
            char text[128] = "";
            GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
            if (Plain(text) == m_pick) {
                m_pressed = true;
                PostMessageA(m_owner.m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
                return;
            }
        }
        PostMessageA(m_owner.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    }

    static inline PopupDriver* s_self = nullptr;
    MenuOwner& m_owner;
    std::string m_pick;
    UINT_PTR m_timer = 0;
    int m_ticks = 0;
    bool m_pressed = false;
};

class RightClickTest : public ::testing::Test {
protected:
    // One owner for the suite: under Wine without a window manager, destroying a visible
    // top-level window waits 2 s.
    static void SetUpTestSuite() {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        s_owner = new MenuOwner;
    }
    static void TearDownTestSuite() {
        delete s_owner;
        s_owner = nullptr;
        OleFlushClipboard();
        OleUninitialize();
    }
    void SetUp() override {
        ASSERT_TRUE(m_owner.m_hWnd);
        m_owner.m_menu.ReleaseMenu();
        m_owner.m_shellCommands.clear();
        m_owner.m_ownCommands.clear();
        SetForegroundWindow(m_owner.m_hWnd);
        // The clipboard starts empty, so that only the shell's command can fill it.
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
    }

    static void ExpectShellItemsAboveOurs(const std::vector<PopupDriver::Item>& items) {
        ASSERT_GT(items.size(), 3u);
        const size_t n = items.size();
        EXPECT_EQ(items[n - 3].id, static_cast<UINT>(ID_EDIT_COPY_FULL_PATH));
        EXPECT_EQ(items[n - 2].id, static_cast<UINT>(ID_EDIT_COPY_DIR_PATH));
        EXPECT_EQ(items[n - 1].id, static_cast<UINT>(ID_EDIT_COPY_NAME));
        bool anyShell = false;
        for (size_t i = 0; i + 3 < n; ++i)
            anyShell |= items[i].id >= 0x1000 && items[i].id <= 0x2000;
        EXPECT_TRUE(anyShell);
    }

    static inline MenuOwner* s_owner = nullptr;
    MenuOwner& m_owner = *s_owner;
    const POINT m_pt{120, 120};
};

TEST_F(RightClickTest, SelectionMenuRunsTheShellsCommandForAllSelectedFiles) {
    TempDir dir("rclick");
    CFilenameList list;
    for (const char* n : {"one.txt", "two;2.txt", "three.txt"}) {
        WriteFileText(dir / n, n);
        list.AddTail((dir / n).c_str());
    }
    std::vector<PopupDriver::Item> items;
    {
        PopupDriver driver(m_owner, "Copy");
        EXPECT_TRUE(m_owner.m_menu.TrackSelectionMenu(list, m_pt));
        items = driver.m_items;
    }
    ExpectShellItemsAboveOurs(items);
    EXPECT_NE(m_owner.m_menu.m_pMenu, nullptr) << "the menu object outlives its popup";
    m_owner.Pump();
    ASSERT_EQ(m_owner.m_shellCommands.size(), 1u) << "the shell's Copy came back as WM_COMMAND";
    EXPECT_TRUE(m_owner.m_ownCommands.empty());
    // One menu object for the three: the shell's Copy put all three on the clipboard.
    EXPECT_EQ(testclip::Files(),
              (std::vector<std::string>{dir / "one.txt", dir / "two;2.txt", dir / "three.txt"}));
}

TEST_F(RightClickTest, ItemMenuSendsTheProgramsCommandsToTheOwner) {
    TempDir dir("rclick_item");
    const std::string folder = dir / "share folder";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<PopupDriver::Item> items;
    {
        PopupDriver driver(m_owner, "Copy Directory Path");
        EXPECT_TRUE(m_owner.m_menu.TrackItemMenu(folder.c_str(), m_pt));
        items = driver.m_items;
    }
    ExpectShellItemsAboveOurs(items);
    m_owner.Pump();
    EXPECT_EQ(m_owner.m_ownCommands, std::vector<UINT>{ID_EDIT_COPY_DIR_PATH});
    EXPECT_TRUE(m_owner.m_shellCommands.empty());

    // The shell's Copy of that item.
    {
        PopupDriver driver(m_owner, "Copy");
        EXPECT_TRUE(m_owner.m_menu.TrackItemMenu(folder.c_str(), m_pt));
    }
    m_owner.Pump();
    EXPECT_EQ(m_owner.m_shellCommands.size(), 1u);
    EXPECT_EQ(testclip::Files(), std::vector<std::string>{folder});
}

TEST_F(RightClickTest, NoPopupWhenNothingCanBeBound) {
    PopupDriver driver(m_owner, "");
    TempDir dir("rclick_none");
    EXPECT_FALSE(m_owner.m_menu.TrackItemMenu((dir / "missing").c_str(), m_pt));
    CFilenameList empty;
    EXPECT_FALSE(m_owner.m_menu.TrackSelectionMenu(empty, m_pt));
    CFilenameList missing;
    missing.AddTail((dir / "missing\\a.txt").c_str());
    EXPECT_FALSE(m_owner.m_menu.TrackSelectionMenu(missing, m_pt));
    EXPECT_FALSE(driver.m_sawPopup);
    EXPECT_EQ(m_owner.m_menu.m_pMenu, nullptr);
}

TEST_F(RightClickTest, TheShellGetsTheOwnersWindow) {
    FakeContextMenu menu(3);
    FakeFolder folder(&menu);
    LPCITEMIDLIST none = nullptr;
    m_owner.m_menu.BuildMenu(&folder, 1, &none);
    EXPECT_EQ(folder.m_owner, m_owner.m_hWnd);
    LRESULT result = 0;
    ASSERT_TRUE(m_owner.m_menu.HandleMenuMessage(WM_COMMAND, 0x1003, 0, &result));
    ASSERT_EQ(menu.m_invokes.size(), 1u);
    EXPECT_EQ(menu.m_invokes[0].hwnd, m_owner.m_hWnd);
    m_owner.m_menu.ReleaseMenu();
}

} // namespace

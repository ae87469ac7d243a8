// The keyboard-shortcut dialog, run by Add shortcut and by a double click on a shortcut. The
// dialog is modal on the window thread; a helper thread plays the user: it finds the dialog,
// reads and sets its controls, and presses its buttons, each wait bounded.
#include "tests/app/shortcut_support.h"

#include <atomic>
#include <functional>
#include <thread>
#include <tuple>
#include <utility>

namespace sctest {
namespace {

std::string Text(HWND h) {
    char buf[1024] = "";
    SendMessageA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
    return buf;
}

std::string ClassOf(HWND h) {
    char cls[64] = "";
    GetClassNameA(h, cls, sizeof cls);
    return cls;
}

// A visible dialog of this process that satisfies pred, other than hExcept; none after dwMs.
HWND WaitWindow(const std::function<bool(HWND)>& pred, DWORD dwMs = 15000, HWND hExcept = nullptr) {
    struct Search {
        const std::function<bool(HWND)>* pred;
        HWND except, found;
    };
    for (DWORD dwStart = GetTickCount(); GetTickCount() - dwStart < dwMs; Sleep(20)) {
        Search s{&pred, hExcept, nullptr};
        EnumWindows(
            [](HWND h, LPARAM p) -> BOOL {
                auto* s = reinterpret_cast<Search*>(p);
                DWORD pid = 0;
                GetWindowThreadProcessId(h, &pid);
                if (pid == GetCurrentProcessId() && h != s->except && IsWindowVisible(h) &&
                    ClassOf(h) == "#32770" && (*s->pred)(h)) {
                    s->found = h;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&s));
        if (s.found)
            return s.found;
    }
    return nullptr;
}

HWND WaitShortcutDialog() {
    return WaitWindow([](HWND h) { return Text(h) == "Keyboard shortcut"; });
}

bool WaitGone(HWND h, DWORD dwMs = 15000) {
    for (DWORD dwStart = GetTickCount(); GetTickCount() - dwStart < dwMs; Sleep(20))
        if (!IsWindow(h) || !IsWindowVisible(h))
            return true;
    return false;
}

void Click(HWND hDlg, int nID) {
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nID)));
}

HWND FocusOf(HWND hWnd) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &info);
    return info.hwndFocus;
}

// Runs the user's part on a helper thread, once the dialog is up, while the window thread runs
// the command that opens it; the helper's failures are collected and reported on the test's
// thread.
class DialogTest : public ShortcutAppTest {
protected:
    void RunWithUser(const std::function<void()>& opener,
                     const std::function<void(HWND, std::vector<std::string>&)>& user) {
        std::vector<std::string> problems;
        std::atomic<bool> bDone{false};
        std::thread helper([&] {
            if (HWND hDlg = WaitShortcutDialog())
                user(hDlg, problems);
            else
                problems.push_back("no shortcut dialog");
            bDone = true;
        });
        opener();
        // The dialog is closed; let the helper finish (it may still be checking).
        apptest::PumpUntil([&] { return bDone.load(); }, 90000);
        helper.join();
        for (const std::string& p : problems)
            ADD_FAILURE() << p;
    }
    void AddShortcutCommand() {
        m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_EDIT_ADD_SHORTCUT, 0), 0);
    }
    void DoubleClickShortcut(int nIndex) {
        HTREEITEM h = Children(ObjTree(), Shortcuts()).at(nIndex);
        ottest::SelectItem(ObjTree(), h);
        ottest::DoubleClick(ObjTree(), h);
    }
    std::vector<std::string> ShortcutTexts() const { return ChildTexts(ObjTree(), Shortcuts()); }
};

#define USER_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond))                                                                               \
            problems.push_back(std::string("failed: ") + #cond);                                   \
    } while (0)

TEST_F(DialogTest, AddTakesAKeyWithoutModifiersAndTheDirectory) {
    RunWithUser([&] { AddShortcutCommand(); },
                [](HWND hDlg, std::vector<std::string>& problems) {
                    HWND hHot = GetDlgItem(hDlg, IDC_HOTKEY);
                    USER_CHECK(ClassOf(hHot) == "msctls_hotkey32");
                    USER_CHECK(SendMessageA(hHot, HKM_GETHOTKEY, 0, 0) == 0);
                    USER_CHECK(Text(GetDlgItem(hDlg, IDC_DEST_DIR)).empty());
                    // Typing A alone: the rules accept a key without modifiers.
                    SendMessageA(hHot, WM_KEYDOWN, 'A', 0x001E0001);
                    SendMessageA(hHot, WM_KEYUP, 'A', 0xC01E0001);
                    USER_CHECK(SendMessageA(hHot, HKM_GETHOTKEY, 0, 0) == 'A');
                    SendMessageA(GetDlgItem(hDlg, IDC_DEST_DIR), WM_SETTEXT, 0,
                                 reinterpret_cast<LPARAM>("C:\\In"));
                    Click(hDlg, IDOK);
                    USER_CHECK(WaitGone(hDlg));
                });
    EXPECT_EQ(ShortcutTexts(), (std::vector<std::string>{"A: copy to C:\\In"}));
    EXPECT_EQ(m_pFrame->m_pFocusPane, m_pFrame->m_pObjTree) << "the new entry is selected";
    // Saved at the end, as typed.
    StopApp();
    EXPECT_EQ(apptest::ReadIni("Shortcuts", "0000_Hot"), "65");
    EXPECT_EQ(apptest::ReadIni("Shortcuts", "0000_HotName"), "A");
}

// The keyboard layout's name of a key, as the platform gives it ("Ctrl" on Windows, "Control"
// under Wine).
std::string KeyName(UINT vk, bool bExtended = false) {
    LONG lParam = static_cast<LONG>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
    if (bExtended)
        lParam |= 1 << 24;
    char name[128] = "";
    GetKeyNameTextA(lParam, name, sizeof name);
    return name;
}

struct NameCase {
    int nHot;
    std::vector<UINT> modifiers; // the modifier keys named, in order
    UINT vk;
    bool bExtended;
};

class HotKeyNameTest : public DialogTest, public testing::WithParamInterface<NameCase> {};

TEST_P(HotKeyNameTest, TheNameIsMadeWhenTheDialogIsConfirmed) {
    const int nHot = GetParam().nHot;
    RunWithUser([&] { AddShortcutCommand(); },
                [nHot](HWND hDlg, std::vector<std::string>& problems) {
                    SendMessageA(GetDlgItem(hDlg, IDC_HOTKEY), HKM_SETHOTKEY, nHot, 0);
                    Click(hDlg, IDOK);
                    USER_CHECK(WaitGone(hDlg));
                });
    std::string name;
    for (UINT vk : GetParam().modifiers)
        name += KeyName(vk) + " + ";
    name += KeyName(GetParam().vk, GetParam().bExtended);
    EXPECT_EQ(ShortcutTexts(), (std::vector<std::string>{name + ": copy to "}));
}

INSTANTIATE_TEST_SUITE_P(Keys, HotKeyNameTest,
                         testing::Values(NameCase{0x341, {VK_CONTROL, VK_SHIFT}, 'A', false},
                                         NameCase{
                                             0x741, {VK_CONTROL, VK_SHIFT, VK_MENU}, 'A', false},
                                         NameCase{0x641, {VK_CONTROL, VK_MENU}, 'A', false},
                                         NameCase{0x170, {VK_SHIFT}, VK_F1, false},
                                         NameCase{0xA2E, {VK_CONTROL}, VK_DELETE, true}));

TEST(KeyNameTest, AnExtendedKeyHasANameOfItsOwn) {
    EXPECT_NE(KeyName(VK_DELETE, true), KeyName(VK_DELETE, false));
}

// OK without a key: the message, and the dialog stays with the directory's text selected.
TEST_F(DialogTest, OkWithoutAKeyShowsTheMessageAndKeepsTheDialog) {
    RunWithUser([&] { AddShortcutCommand(); },
                [](HWND hDlg, std::vector<std::string>& problems) {
                    HWND hDir = GetDlgItem(hDlg, IDC_DEST_DIR);
                    SendMessageA(hDir, WM_SETTEXT, 0,
                                 reinterpret_cast<LPARAM>("C:\\In\\somewhere"));
                    Click(hDlg, IDOK);
                    HWND hBox = WaitWindow([](HWND h) { return Text(h) == "Velloquin"; });
                    USER_CHECK(hBox);
                    if (!hBox)
                        return;
                    std::vector<std::string> texts, buttons;
                    bool bIcon = false;
                    for (HWND c = GetWindow(hBox, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                        if (ClassOf(c) == "Button")
                            buttons.push_back(Text(c));
                        else if (!Text(c).empty())
                            texts.push_back(Text(c));
                        if (ClassOf(c) == "Static" &&
                            (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                            bIcon = true;
                    }
                    USER_CHECK(texts == std::vector<std::string>{"Invalid keyboard shortcut."});
                    USER_CHECK(buttons == std::vector<std::string>{"OK"});
                    USER_CHECK(bIcon);
                    USER_CHECK(GetWindow(hBox, GW_OWNER) == hDlg);
                    Click(hBox, IDOK);
                    USER_CHECK(WaitGone(hBox));
                    USER_CHECK(IsWindowVisible(hDlg));
                    // The window thread is still closing the message box (Wine hides it slowly).
                    for (int i = 0; i < 500 && FocusOf(hDlg) != hDir; ++i)
                        Sleep(20);
                    USER_CHECK(FocusOf(hDlg) == hDir);
                    DWORD dwStart = 0, dwEnd = 0;
                    SendMessageA(hDir, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                                 reinterpret_cast<LPARAM>(&dwEnd));
                    USER_CHECK(dwStart == 0);
                    USER_CHECK(dwEnd == strlen("C:\\In\\somewhere"));
                    Click(hDlg, IDCANCEL);
                    USER_CHECK(WaitGone(hDlg));
                });
    EXPECT_TRUE(ShortcutTexts().empty());
    EXPECT_EQ(ottest::LiveNow().defs, 0) << "the cancelled record is freed";
}

// Named as the dialog names them on this platform, so that they sort as it would.
std::string CtrlShift(const char* key) {
    return KeyName(VK_CONTROL) + " + " + KeyName(VK_SHIFT) + " + " + key;
}

class EditTest : public DialogTest {
protected:
    std::string StoredShortcuts() const override {
        // Bits above the low 16 are kept but never shown.
        return StoredShortcut(0, 0x10341, CtrlShift("A"), "C:\\In") +
               StoredShortcut(1, 0x342, CtrlShift("B"), "C:\\B");
    }
};

TEST_F(EditTest, CancelChangesNothing) {
    RunWithUser([&] { DoubleClickShortcut(0); },
                [](HWND hDlg, std::vector<std::string>& problems) {
                    HWND hHot = GetDlgItem(hDlg, IDC_HOTKEY);
                    USER_CHECK(SendMessageA(hHot, HKM_GETHOTKEY, 0, 0) == 0x341);
                    USER_CHECK(Text(GetDlgItem(hDlg, IDC_DEST_DIR)) == "C:\\In");
                    SendMessageA(hHot, HKM_SETHOTKEY, 0x35A, 0);
                    SendMessageA(GetDlgItem(hDlg, IDC_DEST_DIR), WM_SETTEXT, 0,
                                 reinterpret_cast<LPARAM>("C:\\X"));
                    Click(hDlg, IDCANCEL);
                    USER_CHECK(WaitGone(hDlg));
                });
    EXPECT_EQ(ShortcutTexts(), (std::vector<std::string>{CtrlShift("A") + ": copy to C:\\In",
                                                         CtrlShift("B") + ": copy to C:\\B"}));
    auto* pEntry = dynamic_cast<CObjShortcut*>(
        m_pFrame->m_pObjTree->GetEntry(Children(ObjTree(), Shortcuts()).at(0)));
    ASSERT_TRUE(pEntry);
    EXPECT_EQ(pEntry->m_pDef->m_nHot, 0x10341);
}

TEST_F(EditTest, AnEditKeepsTheEntrysPlaceUntilTheNextStart) {
    RunWithUser([&] { DoubleClickShortcut(0); },
                [](HWND hDlg, std::vector<std::string>& problems) {
                    SendMessageA(GetDlgItem(hDlg, IDC_HOTKEY), HKM_SETHOTKEY, 0x35A, 0);
                    Click(hDlg, IDOK);
                    USER_CHECK(WaitGone(hDlg));
                });
    const std::string z = CtrlShift("Z") + ": copy to C:\\In";
    const std::string b = CtrlShift("B") + ": copy to C:\\B";
    EXPECT_EQ(ShortcutTexts(), (std::vector<std::string>{z, b}));
    StopApp();
    StartApp();
    EXPECT_EQ(ShortcutTexts(), (std::vector<std::string>{b, z}));
}

// The folder browser opens at the folder typed in the field; cancelling it keeps the text,
// picking a folder puts its path in the field.
TEST_F(DialogTest, BrowseOpensAtTheTypedFolder) {
    ASSERT_TRUE(CreateDirectoryA(In("pick").c_str(), nullptr));
    RunWithUser(
        [&] { AddShortcutCommand(); },
        [](HWND hDlg, std::vector<std::string>& problems) {
            HWND hDir = GetDlgItem(hDlg, IDC_DEST_DIR);
            auto browser = [](HWND h) { return FindWindowExA(h, nullptr, WC_TREEVIEWA, nullptr); };
            // Opens the browser from the typed folder; the browser, and what its tree selected
            // after at most dwMs.
            auto open = [&](DWORD dwMs) -> std::pair<HWND, std::string> {
                SendMessageA(hDir, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("C:\\In\\pick"));
                Click(hDlg, IDC_BROWSE);
                HWND hBrowse = WaitWindow([&](HWND h) { return browser(h) != nullptr; });
                if (!hBrowse)
                    return {nullptr, ""};
                HWND hTree = browser(hBrowse);
                // The browser selects its start first, then the typed folder.
                std::string selected;
                for (DWORD dwStart = GetTickCount();
                     selected != "pick" && GetTickCount() - dwStart < dwMs; Sleep(20))
                    selected = ottest::ItemText(hTree, ottest::Caret(hTree));
                return {hBrowse, selected};
            };
            for (const char* answer : {"cancel", "ok"}) {
                auto [hBrowse, selected] = open(10000);
                // Now and then Wine's browser leaves a process's first selection request
                // unanswered, with nothing selected at all: a second opening shows whether the
                // program asked for the typed folder.
                if (hBrowse && selected.empty()) {
                    Click(hBrowse, IDCANCEL);
                    USER_CHECK(WaitGone(hBrowse));
                    std::tie(hBrowse, selected) = open(30000);
                }
                USER_CHECK(hBrowse);
                if (!hBrowse)
                    return;
                if (selected != "pick")
                    problems.push_back(std::string(answer) + ": the browser shows \"" + selected +
                                       "\"");
                if (strcmp(answer, "ok") == 0)
                    SendMessageA(hDir, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed over"));
                Click(hBrowse, strcmp(answer, "ok") == 0 ? IDOK : IDCANCEL);
                USER_CHECK(WaitGone(hBrowse));
                Sleep(200);
                USER_CHECK(Text(hDir) == "C:\\In\\pick");
            }
            Click(hDlg, IDCANCEL);
            USER_CHECK(WaitGone(hDlg));
        });
    EXPECT_TRUE(ShortcutTexts().empty());
}

} // namespace
} // namespace sctest

#include "tests/app/shortcut_support.h"

#include <commctrl.h>

namespace sctest {

namespace {

// A computer that is not in the demo network.
const char kNetwork[] = "[network]\n"
                        "[domain VQKEYSNET]\n"
                        "[computer VQKEYSNET/VQKEYS]\n"
                        "[share VQKEYS/Docs]\n";

bool SameText(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

HTREEITEM FindChild(HWND hTree, HTREEITEM hParent, const std::string& name) {
    for (HTREEITEM h : Children(hTree, hParent))
        if (SameText(ottest::ItemText(hTree, h), name))
            return h;
    return nullptr;
}

// Key-downs that reached a window's own procedure.
int g_nKeyDowns = 0;
LRESULT CALLBACK CountKeys(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)
        ++g_nKeyDowns;
    return DefSubclassProc(hWnd, msg, wp, lp);
}

} // namespace

std::string StoredShortcut(int n, int nHot, const std::string& name, const std::string& dir) {
    char prefix[16];
    snprintf(prefix, sizeof prefix, "%04d_", n);
    return std::string(prefix) + "Hot=" + std::to_string(nHot) + "\r\n" + prefix +
           "HotName=" + name + "\r\n" + prefix + "DestDir=" + dir + "\r\n";
}

std::string ShortcutAppTest::ShareFolder() const {
    return simnet::UncRoot() + "\\VQKEYS\\Docs";
}

void ShortcutAppTest::PrepareNetwork() {
    ASSERT_EQ(simnet::LoadText(kNetwork), 0);
    ASSERT_TRUE(Exists(ShareFolder())) << ShareFolder();
    WriteFileText(ShareFolder() + "\\a.txt", "alpha");
    WriteFileText(ShareFolder() + "\\b.txt", "beta");
    WriteFileText(ShareFolder() + "\\c.txt", "gamma");
}

void ShortcutAppTest::SetUp() {
    ASSERT_EQ(ottest::LiveNow(), (ottest::Live{0, 0, 0}));
    ASSERT_TRUE(simnet::Available()) << "the simulated netapi32.dll is not beside the test";
    PrepareNetwork();
    if (HasFatalFailure())
        return;
    ottest::RemoveTree(kIn);
    ASSERT_TRUE(CreateDirectoryA(kIn, nullptr));

    apptest::RemoveIni();
    const std::string stored = StoredShortcuts();
    if (!stored.empty())
        WriteFileText(apptest::ProfilePath(), "[Shortcuts]\r\n" + stored);
    StartApp();
}

void ShortcutAppTest::TearDown() {
    StopApp();
    apptest::AppTest::TearDown();
    EXPECT_EQ(ottest::LiveNow(), (ottest::Live{0, 0, 0}));
    ottest::RemoveTree(kIn);
    apptest::RemoveIni();
}

HTREEITEM ShortcutAppTest::OpenInTree(const std::vector<std::string>& path) {
    HWND hTree = NetTree();
    HTREEITEM hParent = TVI_ROOT;
    HTREEITEM hEntry = nullptr;
    for (const std::string& name : path) {
        if (!apptest::PumpUntil(
                [&] { return (hEntry = FindChild(hTree, hParent, name)) != nullptr; }, 15000))
            return nullptr;
        ottest::SelectItem(hTree, hEntry);
        hParent = hEntry;
    }
    // Listed: the state mark leaves "listing".
    apptest::PumpUntil(
        [&] {
            int nMark = ottest::StateImage(hTree, hEntry);
            return nMark == CNetTree::STATE_LISTED || nMark == CNetTree::STATE_FAILED;
        },
        15000);
    return hEntry;
}

void ShortcutAppTest::SelectFiles(const std::vector<std::string>& names,
                                  const std::vector<std::string>& share) {
    ASSERT_TRUE(OpenInTree(share));
    HWND hList = FileList();
    ASSERT_TRUE(apptest::PumpUntil(
        [&] { return ListView_GetItemCount(hList) >= static_cast<int>(names.size()); }, 15000));
    ::SetFocus(hList);
    ListView_SetItemState(hList, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (const std::string& name : names) {
        LVFINDINFOA find = {};
        find.flags = LVFI_STRING;
        find.psz = name.c_str();
        int nRow = static_cast<int>(
            SendMessageA(hList, LVM_FINDITEMA, static_cast<WPARAM>(-1), (LPARAM)&find));
        ASSERT_GE(nRow, 0) << name;
        ListView_SetItemState(hList, nRow, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
    ASSERT_EQ(m_pFrame->m_pFocusPane, m_pFrame->m_pFileList);
}

int ShortcutAppTest::Press(BYTE vk, BYTE modifiers, UINT nMsg) {
    // A shell question may have taken the focus: the user clicks back into the pane.
    AfxPumpPending();
    HWND hTarget = ::GetFocus();
    if (!hTarget || !::IsChild(m_pFrame->m_hWnd, hTarget)) {
        if (m_pFrame->m_pFocusPane)
            m_pFrame->m_pFocusPane->SetFocus();
        hTarget = ::GetFocus();
    }
    BYTE state[256];
    ::GetKeyboardState(state);
    auto hold = [&](int key, bool bDown) { state[key] = bDown ? 0x80 : 0; };
    hold(VK_CONTROL, modifiers & HOTKEYF_CONTROL);
    hold(VK_SHIFT, modifiers & HOTKEYF_SHIFT);
    hold(VK_MENU, modifiers & HOTKEYF_ALT);
    hold(vk, true);
    ::SetKeyboardState(state);

    g_nKeyDowns = 0;
    if (hTarget)
        ::SetWindowSubclass(hTarget, CountKeys, 0x5C, 0);
    const LPARAM lDown = 1 | (static_cast<LPARAM>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16) |
                         (nMsg == WM_SYSKEYDOWN ? (1 << 29) : 0);
    ::PostMessageA(hTarget, nMsg, vk, lDown);
    ::PostMessageA(hTarget, nMsg == WM_SYSKEYDOWN ? WM_SYSKEYUP : WM_KEYUP, vk,
                   lDown | (1u << 30) | (1u << 31));
    AfxPumpPending();
    const int nSeen = g_nKeyDowns;
    if (hTarget && ::IsWindow(hTarget))
        ::RemoveWindowSubclass(hTarget, CountKeys, 0x5C);

    hold(VK_CONTROL, false);
    hold(VK_SHIFT, false);
    hold(VK_MENU, false);
    hold(vk, false);
    ::SetKeyboardState(state);
    return nSeen;
}

bool ShortcutAppTest::WaitTransfersDone(DWORD dwMs) {
    return apptest::PumpUntil(
        [&] {
            return !m_pFrame->m_pObjTree->m_pCurrentJob.load() &&
                   Children(ObjTree(), Transfers()).empty();
        },
        dwMs);
}

} // namespace sctest

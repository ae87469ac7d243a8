// The keyboard shortcuts' window tests with the whole application: a simulated network with one
// share of three files, the destination C:\In of the test's own Wine prefix, shortcuts stored
// in the settings file before the start, key presses through the frame's key filter, and the
// entries of the object tree.
#pragma once

#include "simnet/simnet_control.h"
#include "tests/app/app_test_util.h"
#include "tests/views/obj_tree_support.h"
#include "views/file_list.h"
#include "views/net_tree.h"
#include "views/obj_tree.h"

#include <string>
#include <vector>

namespace sctest {

using ottest::Children;
using ottest::ChildTexts;
using ottest::Exists;
using ottest::ReadFileText;
using ottest::WriteFileText;

constexpr const char* kIn = "C:\\In";
inline std::string In(const std::string& name) {
    return std::string(kIn) + "\\" + name;
}

// "0000_Hot=833" ... for shortcut n.
std::string StoredShortcut(int n, int nHot, const std::string& name, const std::string& dir);

class ShortcutAppTest : public apptest::AppTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The "Shortcuts" section's lines stored before the start.
    virtual std::string StoredShortcuts() const { return ""; }
    // Loads the simulated network and fills its share; the default is \\VQKEYS\Docs.
    virtual void PrepareNetwork();

    HWND NetTree() const { return m_pFrame->m_pNetTree->m_hWnd; }
    HWND FileList() const { return m_pFrame->m_pFileList->m_hWnd; }
    HWND ObjTree() const { return m_pFrame->m_pObjTree->m_hWnd; }
    HTREEITEM Transfers() const { return m_pFrame->m_pObjTree->m_hCategory[CAT_TRANSFERS]; }
    HTREEITEM Shortcuts() const { return m_pFrame->m_pObjTree->m_hCategory[CAT_SHORTCUTS]; }
    std::vector<std::string> WaitingTitles() const { return ChildTexts(ObjTree(), Transfers()); }

    // The network tree's entry at this path of names (any case), once listed; selects each
    // entry on the way as a click does. None when it does not come.
    HTREEITEM OpenInTree(const std::vector<std::string>& path);
    // Shows the share's files in the list and selects these rows (by name), with the list
    // focused.
    void SelectFiles(const std::vector<std::string>& names,
                     const std::vector<std::string>& share = {"VQKEYSNET", "VQKEYS", "Docs"});
    // A key press as the keyboard delivers it to the focused window: the modifier keys held
    // (HOTKEYF_* bits), WM_KEYDOWN (or WM_SYSKEYDOWN) and the key-up, dispatched through the
    // application's message loop. Answers how many key-downs the focused window itself got.
    int Press(BYTE vk, BYTE modifiers, UINT nMsg = WM_KEYDOWN);
    bool WaitTransfersDone(DWORD dwMs = 15000);

    // The share \\VQKEYS\Docs: a.txt, b.txt, c.txt.
    std::string ShareFolder() const;
};

} // namespace sctest

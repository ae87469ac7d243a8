// The object tree's entries: roots, texts, selection, double click, Delete, and matching key
// presses against the shortcuts.
#include "tests/views/obj_tree_host.h"

namespace ottest {
namespace {

TEST_F(ObjTreeTest, WithoutShortcutsTwoCollapsedRootsWithoutButtons) {
    m_host = Host::Open();
    ASSERT_TRUE(m_host.hTree);
    EXPECT_EQ(ChildTexts(m_host.hTree, TVI_ROOT),
              (std::vector<std::string>{"Transfers", "Keyboard shortcuts"}));
    EXPECT_EQ(m_host.pTree->m_hCategory[CAT_BOOKMARKS], nullptr);
    EXPECT_EQ(m_host.pTree->m_hCategory[CAT_SEARCHES], nullptr);
    EXPECT_EQ(StateImage(m_host.hTree, m_host.Transfers()), 3);
    EXPECT_EQ(StateImage(m_host.hTree, m_host.Shortcuts()), 4);
    for (HTREEITEM hRoot : {m_host.Transfers(), m_host.Shortcuts()}) {
        EXPECT_FALSE(Expanded(m_host.hTree, hRoot));
        TVITEMA tvi = {};
        tvi.mask = TVIF_CHILDREN | TVIF_PARAM;
        tvi.hItem = hRoot;
        SendMessageA(m_host.hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
        EXPECT_EQ(tvi.cChildren, 0) << "no expand button";
        EXPECT_EQ(tvi.lParam, 0);
    }
    EXPECT_EQ(SendMessageA(m_host.hTree, TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0);
    EXPECT_NE(SendMessageA(m_host.hTree, TVM_GETIMAGELIST, TVSIL_STATE, 0), 0);
    EXPECT_EQ(ImageList_GetImageCount(m_host.pTree->m_imlStates), 5);
}

TEST_F(ObjTreeTest, DeleteActsOnEntriesOnlyAndIsEnabledExactlyThen) {
    m_host = Host::Open();
    m_host.pTree->AddShortcut(NewDef(0x341, "Ctrl + A", "C:\\In"));
    HTREEITEM hEntry = Children(m_host.hTree, m_host.Shortcuts()).at(0);
    EXPECT_EQ(m_host.pFrame->m_pFocusPane, m_host.pTree) << "adding a shortcut focuses the tree";

    SelectItem(m_host.hTree, m_host.Shortcuts());
    EXPECT_FALSE(CommandEnabled(m_host.pFrame, ID_EDIT_DELETE));
    m_host.Command(ID_EDIT_DELETE);
    EXPECT_EQ(Children(m_host.hTree, m_host.Shortcuts()).size(), 1u);
    EXPECT_EQ(ChildTexts(m_host.hTree, TVI_ROOT).size(), 2u);

    SelectItem(m_host.hTree, hEntry);
    EXPECT_TRUE(CommandEnabled(m_host.pFrame, ID_EDIT_DELETE));
    m_host.Command(ID_EDIT_DELETE);
    EXPECT_TRUE(Children(m_host.hTree, m_host.Shortcuts()).empty());
    EXPECT_EQ(LiveNow(), (Live{0, 0, 0})) << "the entry's object and its shortcut are freed";
}

TEST_F(ObjTreeTest, ShortcutsAreListedByDisplayTextAndTheNewOneIsSelected) {
    m_host = Host::Open();
    m_host.pTree->AddShortcut(NewDef(0x342, "Ctrl + B", "C:\\B"));
    m_host.pTree->AddShortcut(NewDef(0x141, "Shift + A", "C:\\S"));
    m_host.pTree->AddShortcut(NewDef(0x241, "Ctrl + A", ""));
    EXPECT_EQ(ChildTexts(m_host.hTree, m_host.Shortcuts()),
              (std::vector<std::string>{"Ctrl + A: copy to ", "Ctrl + B: copy to C:\\B",
                                        "Shift + A: copy to C:\\S"}));
    HTREEITEM hCaret = Caret(m_host.hTree);
    EXPECT_EQ(ItemText(m_host.hTree, hCaret), "Ctrl + A: copy to ");
    EXPECT_TRUE(Expanded(m_host.hTree, m_host.Shortcuts()));
    EXPECT_EQ(GetFocus(), m_host.hTree);
    EXPECT_EQ(StateImage(m_host.hTree, hCaret), 3);
}

TEST_F(ObjTreeTest, TextLongerThanTheControlsBufferIsCut) {
    m_host = Host::Open();
    const std::string name(3000, 'N');
    m_host.pTree->AddShortcut(NewDef(0x341, name, "C:\\In"));
    HTREEITEM hEntry = Children(m_host.hTree, m_host.Shortcuts()).at(0);

    // The control asks with a buffer of its own size; ask the way it does.
    char buf[64];
    memset(buf, '#', sizeof buf);
    NMTVDISPINFOA info = {};
    info.hdr.hwndFrom = m_host.hTree;
    info.hdr.idFrom = GetDlgCtrlID(m_host.hTree);
    info.hdr.code = TVN_GETDISPINFOA;
    info.item.mask = TVIF_TEXT;
    info.item.hItem = hEntry;
    info.item.lParam = reinterpret_cast<LPARAM>(m_host.pTree->GetEntry(hEntry));
    info.item.pszText = buf;
    info.item.cchTextMax = 10;
    SendMessageA(m_host.hFrame, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(std::string(buf), "NNNNNNNNN");
    EXPECT_EQ(buf[10], '#') << "nothing written past the buffer";

    const std::string shown = ItemText(m_host.hTree, hEntry);
    EXPECT_FALSE(shown.empty());
    EXPECT_LT(shown.size(), name.size());
    EXPECT_EQ(shown, std::string(shown.size(), 'N'));
}

TEST_F(ObjTreeTest, DoubleClickEditsAShortcutWhichKeepsItsPlace) {
    m_host = Host::Open();
    m_host.pTree->AddShortcut(NewDef(0x341, "A", "C:\\A"));
    m_host.pTree->AddShortcut(NewDef(0x342, "B", "C:\\B"));
    m_host.pFrame->m_edit = [](CShortcutDef* pDef) {
        pDef->m_strHotName = "Z";
        pDef->m_strDestDir = "C:\\Z";
        return true;
    };
    HTREEITEM hFirst = Children(m_host.hTree, m_host.Shortcuts()).at(0);
    SelectItem(m_host.hTree, hFirst);
    DoubleClick(m_host.hTree, hFirst);
    EXPECT_EQ(m_host.pFrame->m_nEdits, 1);
    EXPECT_EQ(ChildTexts(m_host.hTree, m_host.Shortcuts()),
              (std::vector<std::string>{"Z: copy to C:\\Z", "B: copy to C:\\B"}));

    // Cancelled: nothing changes.
    m_host.pFrame->m_edit = [](CShortcutDef*) { return false; };
    DoubleClick(m_host.hTree, hFirst);
    EXPECT_EQ(m_host.pFrame->m_nEdits, 2);
    EXPECT_EQ(ChildTexts(m_host.hTree, m_host.Shortcuts()),
              (std::vector<std::string>{"Z: copy to C:\\Z", "B: copy to C:\\B"}));
}

TEST_F(ObjTreeTest, DoubleClickOnARootTogglesItOnATransferChangesNothing) {
    TempDir src("src"), dest("dest");
    WriteFileText(src / "a.txt", "new");
    WriteFileText(dest / "a.txt", "old"); // holds the first copy on the shell's question
    m_host = Host::Open();
    m_host.pTree->AddTransfer(NewJob({src / "a.txt"}, dest.path()));
    HWND hAsk = WaitShellDialog(kOverwriteTitle);
    ASSERT_TRUE(hAsk) << "the copy over a file asks";
    m_host.pTree->AddTransfer(NewJob({src / "a.txt"}, dest.path()));
    HTREEITEM hWaiting = Children(m_host.hTree, m_host.Transfers()).at(0);
    ASSERT_TRUE(Expanded(m_host.hTree, m_host.Transfers()));

    SelectItem(m_host.hTree, hWaiting);
    DoubleClick(m_host.hTree, hWaiting);
    EXPECT_EQ(m_host.pFrame->m_nEdits, 0);
    EXPECT_TRUE(Expanded(m_host.hTree, m_host.Transfers()));
    EXPECT_EQ(Children(m_host.hTree, m_host.Transfers()).size(), 1u);

    SelectItem(m_host.hTree, m_host.Transfers());
    DoubleClick(m_host.hTree, m_host.Transfers());
    EXPECT_FALSE(Expanded(m_host.hTree, m_host.Transfers()));
    DoubleClick(m_host.hTree, m_host.Transfers());
    EXPECT_TRUE(Expanded(m_host.hTree, m_host.Transfers()));

    // Let both copies run; the second asks again.
    PressButton(hAsk, "Yes");
    HWND hAsk2 = WaitShellDialog(kOverwriteTitle, hAsk);
    ASSERT_TRUE(hAsk2);
    PressButton(hAsk2, "Yes");
    EXPECT_TRUE(WaitTransfersDone());
}

// ---- Matching

struct MatchCase {
    int nHot;
    BYTE vk, modifiers;
    bool bRuns;
};

class MatchTest : public ObjTreeTest, public testing::WithParamInterface<MatchCase> {};

TEST_P(MatchTest, TheWholeModifierByteAndTheLow16BitsDecide) {
    const MatchCase& c = GetParam();
    m_host = Host::Open();
    m_host.pTree->AddShortcut(NewDef(c.nHot, "key", "C:\\In"));
    EXPECT_EQ(m_host.pTree->MatchShortcut(c.vk, c.modifiers), c.bRuns);
    EXPECT_EQ(m_host.pFrame->m_copyCalls,
              c.bRuns ? std::vector<std::string>{"C:\\In"} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MatchTest,
    testing::Values(MatchCase{0x141, 'A', HOTKEYF_SHIFT, true},                    // Shift
                    MatchCase{0x341, 'A', HOTKEYF_CONTROL | HOTKEYF_SHIFT, true},  // Ctrl+Shift
                    MatchCase{0x641, 'A', HOTKEYF_CONTROL | HOTKEYF_ALT, true},    // Ctrl+Alt
                    MatchCase{0x341, 'A', HOTKEYF_CONTROL, false},                 // fewer
                    MatchCase{0x241, 'A', HOTKEYF_CONTROL | HOTKEYF_SHIFT, false}, // more
                    MatchCase{0x241, 'B', HOTKEYF_CONTROL, false},                 // other key
                    MatchCase{0x0070, VK_F1, 0, true},                             // no modifier
                    MatchCase{0x0A2E, VK_DELETE, HOTKEYF_CONTROL, false},          // extended
                    MatchCase{0x0A2E, VK_DELETE, HOTKEYF_CONTROL | HOTKEYF_EXT, true},
                    MatchCase{0x10341, 'A', HOTKEYF_CONTROL | HOTKEYF_SHIFT, true}, // high bits
                    MatchCase{-1, 0xFF, 0xFF, true}));

TEST_F(ObjTreeTest, EveryShortcutOnTheKeyRunsAndEachMakesItsOwnTransfer) {
    TempDir src("src"), one("one"), two("two");
    WriteFileText(src / "a.txt", "alpha");
    m_host = Host::Open();
    m_host.pTree->AddShortcut(NewDef(0x341, "Ctrl + Shift + A", one.path()));
    m_host.pTree->AddShortcut(NewDef(0x342, "Ctrl + Shift + B", "C:\\never"));
    m_host.pTree->AddShortcut(NewDef(0x341, "Ctrl + Shift + A", two.path()));
    m_host.pFrame->m_selection = {src / "a.txt"};

    EXPECT_TRUE(m_host.pTree->MatchShortcut('A', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
    EXPECT_EQ(m_host.pFrame->m_copyCalls.size(), 2u);
    EXPECT_EQ(Children(m_host.hTree, m_host.Transfers()).size(), 1u)
        << "the second transfer waits behind the first";
    ASSERT_TRUE(WaitTransfersDone());
    EXPECT_EQ(ReadFileText(one / "a.txt"), "alpha");
    EXPECT_EQ(ReadFileText(two / "a.txt"), "alpha");
}

TEST_F(ObjTreeTest, AShortcutWithoutSelectionMatchesAndMakesNoTransfer) {
    m_host = Host::Open();
    m_host.pTree->AddShortcut(NewDef(0x341, "Ctrl + Shift + A", "C:\\In"));
    EXPECT_TRUE(m_host.pTree->MatchShortcut('A', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
    EXPECT_EQ(m_host.pFrame->m_nTransferStarts, 0);
    EXPECT_EQ(LiveNow().jobs, 0);
    EXPECT_FALSE(m_host.pTree->MatchShortcut('B', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
}

} // namespace
} // namespace ottest

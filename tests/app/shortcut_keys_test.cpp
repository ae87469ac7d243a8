// Key presses in the main window: the frame's key filter runs the matching shortcuts before the
// accelerators and the panes, and the focus pane's selection becomes a copy transfer.
#include "tests/app/shortcut_support.h"
#include "tests/support/clipboard.h"

namespace sctest {
namespace {

const BYTE kCtrlShift = HOTKEYF_CONTROL | HOTKEYF_SHIFT;

class KeysTest : public ShortcutAppTest {
protected:
    std::string StoredShortcuts() const override {
        return StoredShortcut(0, 0x341, "Ctrl + Shift + A", kIn);
    }
};

TEST_F(KeysTest, FilesSelectedInTheListAreCopiedInListOrder) {
    SelectFiles({"c.txt", "a.txt"});
    EXPECT_EQ(Press('A', kCtrlShift), 0) << "the key is consumed";
    EXPECT_NE(m_pFrame->m_dwTransferStart, 0u) << "the start is stamped on the frame";
    ASSERT_TRUE(WaitTransfersDone());
    EXPECT_EQ(ReadFileText(In("a.txt")), "alpha");
    EXPECT_EQ(ReadFileText(In("c.txt")), "gamma");
    EXPECT_FALSE(Exists(In("b.txt")));
}

TEST_F(KeysTest, AWaitingJobFromTheListIsTitledByItsFirstRowInListOrder) {
    WriteFileText(In("b.txt"), "old"); // the first copy stops on the shell's question
    SelectFiles({"b.txt"});
    Press('A', kCtrlShift);
    HWND hAsk = ottest::WaitShellDialog(ottest::kOverwriteTitle);
    ASSERT_TRUE(hAsk);
    SelectFiles({"c.txt", "a.txt"});
    Press('A', kCtrlShift);
    EXPECT_EQ(WaitingTitles(), (std::vector<std::string>{"Copy: a.txt, ... to C:\\In"}));
    ASSERT_TRUE(ottest::PressButton(hAsk, "Yes"));
    ASSERT_TRUE(WaitTransfersDone());
    EXPECT_EQ(ReadFileText(In("b.txt")), "beta");
    EXPECT_EQ(ReadFileText(In("a.txt")), "alpha");
    EXPECT_EQ(ReadFileText(In("c.txt")), "gamma");
}

TEST_F(KeysTest, AShareSelectedInTheTreeIsCopiedWhole) {
    ASSERT_TRUE(OpenInTree({"VQKEYSNET", "VQKEYS", "Docs"}));
    ::SetFocus(NetTree());
    ASSERT_EQ(m_pFrame->m_pFocusPane, m_pFrame->m_pNetTree);
    EXPECT_EQ(Press('A', kCtrlShift), 0);
    ASSERT_TRUE(WaitTransfersDone());
    EXPECT_EQ(ReadFileText(In("Docs\\a.txt")), "alpha");
    EXPECT_EQ(ReadFileText(In("Docs\\c.txt")), "gamma");
}

// A computer in the tree, or the object tree as the focus pane, gives no path: nothing is
// copied, but the key is still the shortcut's.
TEST_F(KeysTest, AComputerOrTheObjectTreeCopiesNothingButTheKeyIsConsumed) {
    ASSERT_TRUE(OpenInTree({"VQKEYSNET", "VQKEYS"}));
    ::SetFocus(NetTree());
    ASSERT_EQ(m_pFrame->m_pFocusPane, m_pFrame->m_pNetTree);
    EXPECT_EQ(Press('A', kCtrlShift), 0);

    m_pFrame->m_pObjTree->SelectEntry(Children(ObjTree(), Shortcuts()).at(0));
    ASSERT_EQ(m_pFrame->m_pFocusPane, m_pFrame->m_pObjTree);
    EXPECT_EQ(Press('A', kCtrlShift), 0);

    ottest::PumpFor(300);
    EXPECT_EQ(ottest::LiveNow().jobs, 0);
    EXPECT_EQ(m_pFrame->m_pObjTree->m_pCurrentJob.load(), nullptr);
    EXPECT_TRUE(WaitingTitles().empty());
    EXPECT_EQ(m_pFrame->m_dwTransferStart, 0u) << "no transfer started";
    EXPECT_EQ(Press('B', kCtrlShift), 1) << "another key reaches the pane";
}

// Three presses while a copy is held on the shell's question: one copy runs, two wait; they
// run oldest first, each leaving the tree when its copy starts.
TEST_F(KeysTest, PressesDuringACopyQueueAndRunOldestFirst) {
    WriteFileText(In("a.txt"), "old");
    SelectFiles({"a.txt"});
    Press('A', kCtrlShift);
    HWND hAsk = ottest::WaitShellDialog(ottest::kOverwriteTitle);
    ASSERT_TRUE(hAsk) << "the copy over a file asks";
    Press('A', kCtrlShift);
    SelectFiles({"a.txt", "b.txt"});
    Press('A', kCtrlShift);
    EXPECT_EQ(WaitingTitles(),
              (std::vector<std::string>{"Copy: a.txt to C:\\In", "Copy: a.txt, ... to C:\\In"}));
    EXPECT_TRUE(ottest::Expanded(ObjTree(), Transfers()));
    EXPECT_EQ(ottest::LiveNow().jobs, 3);

    ASSERT_TRUE(ottest::PressButton(hAsk, "Yes"));
    HWND hAsk2 = ottest::WaitShellDialog(ottest::kOverwriteTitle, hAsk);
    ASSERT_TRUE(hAsk2) << "the second copy over a.txt asks";
    EXPECT_EQ(WaitingTitles(), (std::vector<std::string>{"Copy: a.txt, ... to C:\\In"}));
    ASSERT_TRUE(ottest::PressButton(hAsk2, "Yes"));
    HWND hAsk3 = ottest::WaitShellDialog(ottest::kOverwriteTitle, hAsk2);
    ASSERT_TRUE(hAsk3);
    EXPECT_TRUE(WaitingTitles().empty());
    ASSERT_TRUE(ottest::PressButton(hAsk3, "Yes"));
    ASSERT_TRUE(WaitTransfersDone());
    EXPECT_EQ(ReadFileText(In("a.txt")), "alpha");
    EXPECT_EQ(ReadFileText(In("b.txt")), "beta");
}

// Closing the program during a copy: the window waits for it, the waiting transfers are
// discarded, the shortcuts saved and every object freed.
TEST_F(KeysTest, ClosingDuringACopyWaitsForItAndDiscardsTheWaitingOnes) {
    WriteFileText(In("a.txt"), "old");
    SelectFiles({"a.txt"});
    Press('A', kCtrlShift);
    HWND hAsk = ottest::WaitShellDialog(ottest::kOverwriteTitle);
    ASSERT_TRUE(hAsk);
    SelectFiles({"c.txt"});
    Press('A', kCtrlShift);
    ASSERT_EQ(WaitingTitles().size(), 1u);

    ottest::AnswerOnDestroy answer(ObjTree(), hAsk, "Yes");
    StopApp();
    EXPECT_TRUE(answer.Answered());
    EXPECT_EQ(ReadFileText(In("a.txt")), "alpha") << "the copy under way was finished";
    ottest::PumpFor(300);
    EXPECT_FALSE(Exists(In("c.txt")));
    EXPECT_EQ(apptest::ReadIni("Shortcuts", "0000_Hot"), "833");
    EXPECT_EQ(apptest::ReadIni("Shortcuts", "0000_HotName"), "Ctrl + Shift + A");
    EXPECT_EQ(apptest::ReadIni("Shortcuts", "0000_DestDir"), "C:\\In");
    EXPECT_EQ(ottest::LiveNow(), (ottest::Live{0, 0, 0}));
}

// ---- Matching through the key filter

struct KeyCase {
    const char* label;
    int nStored;
    BYTE vk;
    BYTE held; // HOTKEYF_* bits of the modifier keys held
    UINT nMsg;
    bool bRuns;
};

class MatchKeysTest : public ShortcutAppTest, public testing::WithParamInterface<KeyCase> {
protected:
    std::string StoredShortcuts() const override {
        return StoredShortcut(0, GetParam().nStored, "stored", kIn);
    }
};

TEST_P(MatchKeysTest, TheFilterPassesTheWholeModifierByte) {
    const KeyCase& c = GetParam();
    SelectFiles({"b.txt"});
    const int nSeen = Press(c.vk, c.held, c.nMsg);
    if (c.bRuns) {
        EXPECT_EQ(nSeen, 0);
        ASSERT_TRUE(apptest::PumpUntil([] { return Exists(In("b.txt")); }, 15000));
        EXPECT_TRUE(WaitTransfersDone());
    } else {
        EXPECT_EQ(nSeen, 1) << "the key goes on to the pane";
        ottest::PumpFor(300);
        EXPECT_FALSE(Exists(In("b.txt")));
        EXPECT_EQ(ottest::LiveNow().jobs, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MatchKeysTest,
    testing::Values(
        KeyCase{"Shift", 0x142, 'B', HOTKEYF_SHIFT, WM_KEYDOWN, true},
        KeyCase{"CtrlShift", 0x342, 'B', kCtrlShift, WM_KEYDOWN, true},
        KeyCase{"CtrlAlt", 0x642, 'B', HOTKEYF_CONTROL | HOTKEYF_ALT, WM_KEYDOWN, true},
        KeyCase{"CtrlIsNotCtrlShift", 0x342, 'B', HOTKEYF_CONTROL, WM_KEYDOWN, false},
        KeyCase{"CtrlShiftIsNotCtrl", 0x242, 'B', kCtrlShift, WM_KEYDOWN, false},
        KeyCase{"NoModifier", 0x0071, VK_F2, 0, WM_KEYDOWN, true},
        KeyCase{"ExtendedNeverMatches", 0x0A24, VK_HOME, HOTKEYF_CONTROL, WM_KEYDOWN, false},
        KeyCase{"HighBitsIgnored", 0x7FFF0342, 'B', kCtrlShift, WM_KEYDOWN, true},
        KeyCase{"SystemKeyNeverReachesTheFilter", 0x442, 'B', HOTKEYF_ALT, WM_SYSKEYDOWN, false}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.label); });

class TwoOnOneKeyTest : public ShortcutAppTest {
protected:
    std::string StoredShortcuts() const override {
        return StoredShortcut(0, 0x341, "Ctrl + Shift + A", kIn) +
               StoredShortcut(1, 0x341, "Ctrl + Shift + A", "C:\\In\\two");
    }
};

TEST_F(TwoOnOneKeyTest, OnePressRunsBothEachWithItsTransfer) {
    ASSERT_TRUE(CreateDirectoryA(In("two").c_str(), nullptr));
    SelectFiles({"a.txt"});
    EXPECT_EQ(Press('A', kCtrlShift), 0);
    ASSERT_TRUE(WaitTransfersDone());
    EXPECT_EQ(ReadFileText(In("a.txt")), "alpha");
    EXPECT_EQ(ReadFileText(In("two\\a.txt")), "alpha");
}

// Ctrl+C is the Copy accelerator; a shortcut on it takes the key first.
class CtrlCTest : public ShortcutAppTest {
protected:
    std::string StoredShortcuts() const override {
        return StoredShortcut(0, 0x243, "Ctrl + C", kIn);
    }
};

void SetClipboardText(const char* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
    strcpy(static_cast<char*>(GlobalLock(h)), text);
    GlobalUnlock(h);
    SetClipboardData(CF_TEXT, h);
    CloseClipboard();
}

TEST_F(CtrlCTest, AShortcutOnCtrlCReplacesCopy) {
    SelectFiles({"a.txt"});
    SetClipboardText("marker");
    EXPECT_EQ(Press('C', HOTKEYF_CONTROL), 0);
    ASSERT_TRUE(WaitTransfersDone());
    EXPECT_EQ(ReadFileText(In("a.txt")), "alpha");
    EXPECT_EQ(testclip::Text(), "marker") << "Copy did not run";
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_HDROP));
}

} // namespace
} // namespace sctest

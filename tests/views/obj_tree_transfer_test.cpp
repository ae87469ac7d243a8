// Copy transfers: titles, the queue of waiting entries, the transfer thread, deleting a waiting
// entry, and the end of the tree during a copy. A copy is held under way by the shell's
// "Confirm file overwrite" question, which the test answers when it is ready.
#include "tests/views/obj_tree_host.h"

namespace ottest {
namespace {

// The destination of the titles' examples, C:\In, of the test's own Wine prefix.
class TransferTest : public ObjTreeTest {
protected:
    void SetUp() override {
        ObjTreeTest::SetUp();
        RemoveTree(kIn);
        ASSERT_TRUE(CreateDirectoryA(kIn, nullptr));
    }
    void TearDown() override {
        ObjTreeTest::TearDown();
        RemoveTree(kIn);
    }
    static std::string In(const std::string& name) { return std::string(kIn) + "\\" + name; }
    std::vector<std::string> WaitingTitles() const {
        return ChildTexts(m_host.hTree, m_host.Transfers());
    }
    // Starts a copy that stops on the shell's question; answers the question's window.
    HWND StartHeldCopy(const std::string& content = "first") {
        WriteFileText(m_src / "held.txt", content);
        WriteFileText(In("held.txt"), "old");
        m_host.pTree->AddTransfer(NewJob({m_src / "held.txt"}, kIn));
        return WaitShellDialog(kOverwriteTitle);
    }

    static constexpr const char* kIn = "C:\\In";
    TempDir m_src{"src"};
};

struct TitleCase {
    std::vector<std::string> paths;
    std::string dest;
    std::string title;
};

class TitleTest : public TransferTest, public testing::WithParamInterface<TitleCase> {};

TEST_P(TitleTest, IsTheFirstPathsNameAndTheDestination) {
    const TitleCase& c = GetParam();
    CObjTransfer entry(NewJob(c.paths, c.dest));
    CString text;
    entry.GetText(text);
    EXPECT_EQ(std::string(text), c.title);
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, TitleTest,
    testing::Values(TitleCase{{"\\\\SRV\\docs\\a.txt"}, "C:\\In", "Copy: a.txt to C:\\In"},
                    TitleCase{{"\\\\SRV\\docs\\a.txt", "\\\\SRV\\docs\\b.txt"},
                              "C:\\In",
                              "Copy: a.txt, ... to C:\\In"},
                    TitleCase{{"\\\\SRV\\docs"}, "C:\\In", "Copy: docs to C:\\In"},
                    TitleCase{{"\\\\SRV\\docs\\sub\\x %s y.txt", "\\\\SRV\\docs\\sub"},
                              "D:\\100%",
                              "Copy: x %s y.txt, ... to D:\\100%"},
                    TitleCase{{"\\\\SRV\\docs\\a.txt"}, "", "Copy: a.txt to "}));

TEST_F(TransferTest, AJobWhileIdleStartsAtOnceWithoutAnEntry) {
    WriteFileText(m_src / "a.txt", "alpha");
    WriteFileText(m_src / "b.txt", "beta");
    m_host = Host::Open();
    const DWORD dwBefore = GetTickCount();
    m_host.pTree->AddTransfer(NewJob({m_src / "a.txt", m_src / "b.txt"}, kIn));
    EXPECT_TRUE(WaitingTitles().empty());
    EXPECT_EQ(m_host.pFrame->m_nTransferStarts, 1);
    EXPECT_LT(m_host.pFrame->m_dwTransferStart - dwBefore, 60000u) << "stamped with the tick count";
    ASSERT_TRUE(WaitTransfersDone());
    EXPECT_EQ(ReadFileText(In("a.txt")), "alpha");
    EXPECT_EQ(ReadFileText(In("b.txt")), "beta");
    EXPECT_EQ(LiveNow().jobs, 0) << "the thread frees the job after the copy";
}

TEST_F(TransferTest, WaitingJobsRunOldestFirstEachLeavingTheTreeWhenItStarts) {
    TempDir second("second"), third("third");
    WriteFileText(second / "held.txt", "second");
    WriteFileText(third / "held.txt", "third");
    WriteFileText(third / "b.txt", "beta");
    m_host = Host::Open();
    HWND hAsk = StartHeldCopy("first");
    ASSERT_TRUE(hAsk) << "the copy over a file asks";
    HTREEITEM hCaretBefore = Caret(m_host.hTree);

    m_host.pTree->AddTransfer(NewJob({second / "held.txt"}, kIn));
    m_host.pTree->AddTransfer(NewJob({third / "held.txt", third / "b.txt"}, kIn));
    EXPECT_EQ(WaitingTitles(), (std::vector<std::string>{"Copy: held.txt to C:\\In",
                                                         "Copy: held.txt, ... to C:\\In"}));
    EXPECT_TRUE(Expanded(m_host.hTree, m_host.Transfers())) << "the new entry is brought into view";
    EXPECT_EQ(Caret(m_host.hTree), hCaretBefore) << "the selection does not change";
    EXPECT_EQ(m_host.pFrame->m_nTransferStarts, 1);
    EXPECT_EQ(LiveNow().jobs, 3);

    ASSERT_TRUE(PressButton(hAsk, "Yes"));
    HWND hAsk2 = WaitShellDialog(kOverwriteTitle, hAsk);
    ASSERT_TRUE(hAsk2);
    EXPECT_EQ(ReadFileText(In("held.txt")), "first");
    EXPECT_EQ(WaitingTitles(), (std::vector<std::string>{"Copy: held.txt, ... to C:\\In"}));
    EXPECT_EQ(m_host.pFrame->m_nTransferStarts, 2);

    ASSERT_TRUE(PressButton(hAsk2, "Yes"));
    HWND hAsk3 = WaitShellDialog(kOverwriteTitle, hAsk2);
    ASSERT_TRUE(hAsk3);
    EXPECT_EQ(ReadFileText(In("held.txt")), "second");
    EXPECT_TRUE(WaitingTitles().empty());

    ASSERT_TRUE(PressButton(hAsk3, "Yes"));
    ASSERT_TRUE(WaitTransfersDone());
    EXPECT_EQ(ReadFileText(In("held.txt")), "third");
    EXPECT_EQ(ReadFileText(In("b.txt")), "beta");
    EXPECT_EQ(m_host.pFrame->m_nTransferStarts, 3);
    EXPECT_EQ(LiveNow().jobs, 0);
}

TEST_F(TransferTest, ADeletedWaitingEntryIsNeverCopied) {
    WriteFileText(m_src / "c.txt", "never");
    m_host = Host::Open();
    HWND hAsk = StartHeldCopy();
    ASSERT_TRUE(hAsk);
    m_host.pTree->AddTransfer(NewJob({m_src / "c.txt"}, kIn));
    HTREEITEM hWaiting = Children(m_host.hTree, m_host.Transfers()).at(0);

    m_host.pTree->SelectEntry(hWaiting);
    EXPECT_TRUE(CommandEnabled(m_host.pFrame, ID_EDIT_DELETE));
    m_host.Command(ID_EDIT_DELETE);
    EXPECT_TRUE(WaitingTitles().empty());
    EXPECT_EQ(LiveNow().jobs, 1) << "only the running job is left";

    ASSERT_TRUE(PressButton(hAsk, "Yes"));
    ASSERT_TRUE(WaitTransfersDone());
    PumpFor(300);
    EXPECT_FALSE(Exists(In("c.txt")));
    EXPECT_EQ(m_host.pFrame->m_nTransferStarts, 1) << "the thread stays idle after the copy";
}

TEST_F(TransferTest, TheFinishMessageChangesNothingWhileACopyRunsOrNothingWaits) {
    m_host = Host::Open();
    SendMessageA(m_host.hTree, WM_CANTRANSFER, 0, 0);
    EXPECT_EQ(m_host.pFrame->m_nTransferStarts, 0);
    EXPECT_EQ(m_host.pTree->m_pCurrentJob.load(), nullptr);

    HWND hAsk = StartHeldCopy();
    ASSERT_TRUE(hAsk);
    CTransferJob* pRunning = m_host.pTree->m_pCurrentJob.load();
    m_host.pTree->AddTransfer(NewJob({m_src / "held.txt"}, kIn));
    SendMessageA(m_host.hTree, WM_CANTRANSFER, 0, 0);
    EXPECT_EQ(m_host.pTree->m_pCurrentJob.load(), pRunning);
    EXPECT_EQ(WaitingTitles().size(), 1u);
    EXPECT_EQ(m_host.pFrame->m_nTransferStarts, 1);

    ASSERT_TRUE(PressButton(hAsk, "Yes"));
    HWND hAsk2 = WaitShellDialog(kOverwriteTitle, hAsk);
    ASSERT_TRUE(hAsk2);
    ASSERT_TRUE(PressButton(hAsk2, "No"));
    EXPECT_TRUE(WaitTransfersDone());
}

// Destruction waits for the copy under way, frees the waiting jobs uncopied and saves the
// shortcuts. The question is answered only once the tree's window is being destroyed.
TEST_F(TransferTest, TheEndWaitsForTheCopyUnderWayAndDiscardsTheWaitingOnes) {
    WriteFileText(m_src / "c.txt", "never");
    m_host = Host::Open();
    m_host.pTree->AddShortcut(NewDef(0x341, "Ctrl + Shift + A", "C:\\In"));
    HWND hAsk = StartHeldCopy("finished");
    ASSERT_TRUE(hAsk);
    m_host.pTree->AddTransfer(NewJob({m_src / "c.txt"}, kIn));
    ASSERT_EQ(ReadFileText(In("held.txt")), "old");

    AnswerOnDestroy answer(m_host.hTree, hAsk, "Yes");
    m_host.Close();
    EXPECT_TRUE(answer.Answered());
    EXPECT_EQ(ReadFileText(In("held.txt")), "finished") << "the copy under way was finished";
    PumpFor(300);
    EXPECT_FALSE(Exists(In("c.txt"))) << "the waiting transfer was discarded";
    EXPECT_EQ(m_profile.Section("Shortcuts"),
              (std::vector<std::string>{"0000_Hot=833", "0000_HotName=Ctrl + Shift + A",
                                        "0000_DestDir=C:\\In"}));
    EXPECT_EQ(LiveNow(), (Live{0, 0, 0}));
}

// A job handed to a thread that is not there to take it (it ended, or never started) is
// freed at the end instead of being lost.
TEST_F(TransferTest, AJobTheThreadNeverTookIsFreedAtTheEnd) {
    WriteFileText(m_src / "a.txt", "alpha");
    m_host = Host::Open();
    ASSERT_TRUE(m_host.pTree->m_hThread);
    // End the thread the way a failed wait would.
    SetEvent(m_host.pTree->m_evtWake);
    ASSERT_EQ(WaitForSingleObject(m_host.pTree->m_hThread, 10000), WAIT_OBJECT_0);

    m_host.pTree->AddTransfer(NewJob({m_src / "a.txt"}, kIn));
    m_host.pTree->AddTransfer(NewJob({m_src / "a.txt"}, kIn));
    PumpFor(300);
    EXPECT_NE(m_host.pTree->m_pCurrentJob.load(), nullptr) << "handed over, never copied";
    EXPECT_EQ(WaitingTitles().size(), 1u);
    EXPECT_FALSE(Exists(In("a.txt")));
    EXPECT_EQ(LiveNow().jobs, 2);
    m_host.Close();
    EXPECT_EQ(LiveNow(), (Live{0, 0, 0}));
}

TEST_F(TransferTest, ClosingRightAfterAStartLosesNoJob) {
    WriteFileText(m_src / "a.txt", "alpha");
    for (int i = 0; i < 10; ++i) {
        m_host = Host::Open();
        m_host.pTree->AddTransfer(NewJob({m_src / "a.txt"}, kIn));
        m_host.Close();
        ASSERT_EQ(LiveNow(), (Live{0, 0, 0})) << "round " << i;
        DeleteFileA(In("a.txt").c_str());
    }
}

} // namespace
} // namespace ottest

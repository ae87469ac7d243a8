#include "framework/collections.h"
#include "framework/cstring.h"
#include "framework/threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

TEST(CStringTest, BufferRoundTripTakesLengthUpToFirstZero) {
    CString s("abc");
    char* p = s.GetBuffer(260);
    strcpy(p, "\\\\SERVER\\docs");
    s.ReleaseBuffer();
    EXPECT_EQ(s, "\\\\SERVER\\docs");
    EXPECT_EQ(s.GetLength(), 13);
}

TEST(CStringTest, FormatAndSlicing) {
    CString s;
    s.Format("%s: copy to %s (%d)", "Ctrl + A", "C:\\In", 3);
    EXPECT_EQ(s, "Ctrl + A: copy to C:\\In (3)");
    EXPECT_EQ(s.Left(4), "Ctrl");
    EXPECT_EQ(s.Mid(100), "");
    EXPECT_EQ(s.Right(3), "(3)");
    EXPECT_EQ(s.ReverseFind('\\'), 20);
    EXPECT_EQ(s.Find('#'), -1);
}

std::vector<int> Items(const CList<int, int>& list) {
    std::vector<int> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(list.GetNext(pos));
    return out;
}

TEST(CListTest, PositionsStayValidAcrossInsertAndRemove) {
    CList<int, int> list;
    POSITION p1 = list.AddTail(1);
    list.AddTail(3);
    list.InsertAfter(p1, 2);
    list.AddHead(0);
    EXPECT_EQ(Items(list), (std::vector<int>{0, 1, 2, 3}));
    list.RemoveAt(list.Find(2));
    EXPECT_EQ(Items(list), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(list.GetAt(p1), 1);
    EXPECT_EQ(list.RemoveHead(), 0);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.Find(7), nullptr);
    POSITION tail = list.GetTailPosition();
    EXPECT_EQ(list.GetPrev(tail), 3);
    EXPECT_EQ(list.GetPrev(tail), 1);
    EXPECT_EQ(tail, nullptr);
}

TEST(CArrayTest, AddInsertRemove) {
    CArray<int, int> a;
    a.Add(1);
    a.Add(3);
    a.InsertAt(1, 2);
    EXPECT_EQ(a.GetSize(), 3);
    EXPECT_EQ(a[1], 2);
    a.RemoveAt(0);
    EXPECT_EQ(a.GetAt(0), 2);
}

std::atomic<int> g_ran{0};
UINT __cdecl CountProc(LPVOID param) {
    g_ran += *static_cast<int*>(param);
    return AfxGetThread() != nullptr ? 7 : 1;
}

TEST(CWinThreadTest, SuspendedThreadRunsOnlyWhenResumed) {
    g_ran = 0;
    int add = 5;
    CWinThread* t = AfxBeginThread(CountProc, &add, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(t, nullptr);
    t->m_bAutoDelete = FALSE;
    Sleep(50);
    EXPECT_EQ(g_ran, 0);
    t->ResumeThread();
    ASSERT_EQ(WaitForSingleObject(t->m_hThread, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(t->m_hThread, &code);
    EXPECT_EQ(code, 7u);
    EXPECT_EQ(g_ran, 5);
    delete t;
}

} // namespace

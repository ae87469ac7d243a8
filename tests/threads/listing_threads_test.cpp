// Listing threads: the limit of 30 running, registration order, one message per listing,
// shutdown without waiting, and the lifetimes of items, buffers and jobs across threads.
#include "model/fs_items.h"
#include "model/net_items.h"
#include "simnet/simnet_control.h"
#include "tests/model/model_support.h"
#include "tests/threads/listing_support.h"
#include "threads/list_job.h"
#include "threads/thread_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace vqtest;

namespace {

const DWORD kBound = 60000; // every wait in these tests ends by then

std::string Name(const char* prefix, int i) {
    char buf[16];
    snprintf(buf, sizeof buf, "%s%02d", prefix, i);
    return buf;
}

std::wstring Wide(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

// Computers PREFIX01..PREFIXnn directly below the root, each with one share.
std::string Computers(const char* prefix, int n, int latencyMs, int failEvery = 0) {
    std::string text;
    for (int i = 1; i <= n; i++) {
        std::string name = Name(prefix, i);
        text += "[computer " + name + "]\nlatency = " + std::to_string(latencyMs) + "\n";
        if (failEvery && i % failEvery == 0)
            text += "status = 53\n";
        text += "[share " + name + "/data]\n";
    }
    return text;
}

HTREEITEM Tag(int i) {
    return reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(i));
}
int TagOf(const CListJob* pJob) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(pJob->m_hItem));
}

// Computer items that outlive the names they were made from.
class Computers_ {
public:
    Computers_(CItem* pParent, const char* prefix, int n) {
        for (int i = 1; i <= n; i++)
            m_names.push_back(Wide(Name(prefix, i)));
        for (const std::wstring& name : m_names)
            m_items.push_back(NewComputer(pParent, name.c_str()));
    }
    void ReleaseAll() {
        for (CItem* p : m_items)
            p->Release();
        m_items.clear();
    }

    std::vector<std::wstring> m_names;
    std::vector<CItem*> m_items;
};

// The counters of every test return to where they started.
class ListingThreadsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(simnet::Available()) << "netapi32.dll beside the test is not the simulator";
        m_nItems = CItem::s_nLive;
        m_nFiles = CLanFile::s_nLive;
        m_nBuffers = simnet::Stats().liveBuffers;
        simnet::ResetStats();
    }
    void TearDown() override {
        // Abandoned listings end on their own; give them the time their calls take.
        EXPECT_TRUE(m_receiver.PumpUntil(
            [] { return CListJob::s_nLive == 0 && CListResult::s_nLive == 0; }, kBound));
        EXPECT_EQ(CItem::s_nLive, m_nItems);
        EXPECT_EQ(CLanFile::s_nLive, m_nFiles);
        EXPECT_EQ(CNetBuffer::s_nLive, 0);
        SIMNET_STATS stats = simnet::Stats();
        EXPECT_EQ(stats.liveBuffers, m_nBuffers);
        EXPECT_EQ(stats.badFrees, 0);
    }

    // What the tree does with a result: keep the file records and children of a shown item,
    // drop the rest.
    void Accept(const Delivery& d, std::set<CItem*>& shown) {
        CListResult* pResult = d.pResult;
        CListJob* pJob = pResult->m_pJob;
        CItem* pItem = pJob->m_pItem;
        if (shown.count(pItem)) {
            delete pItem->m_pFiles;
            pItem->m_pFiles = pResult->TakeFiles();
            pItem->AttachChildren(*pResult->m_pChildren);
            for (CItem* pChild : *pResult->m_pChildren)
                shown.insert(pChild); // the child's first reference is now the "entry's"
            pItem->m_bBusy = false;
            delete pResult;
            delete pJob;
        } else {
            DropListResult(pResult);
        }
    }

    // Closes everything below the item, children first, as the tree's CloseChildren does.
    static void CloseChildren(CItem* pItem, std::set<CItem*>& shown) {
        std::vector<CItem*> children;
        for (POSITION pos = pItem->GetHeadPosition(); pos;)
            children.push_back(pItem->GetNext(pos));
        for (CItem* pChild : children) {
            CloseChildren(pChild, shown);
            shown.erase(pChild);
            pChild->Close();
        }
    }

    Receiver m_receiver;
    long m_nItems = 0, m_nFiles = 0;
    LONG m_nBuffers = 0;
};

TEST_F(ListingThreadsTest, FortyListingsRunThirtyAtATimeInOrder) {
    ASSERT_EQ(simnet::LoadText(Computers("PC", 40, 1500, 10)), 0);
    Computers_ pcs(&g_root, "PC", 40);
    {
        CThreads threads;
        threads.SetTarget(m_receiver.Handle());
        threads.GetRegistry()->RecordStarts(true);
        std::vector<DWORD> registered;
        for (int i = 0; i < 40; i++) {
            auto* pJob = new CListJob(nullptr, Tag(i + 1), pcs.m_items[i], 1);
            ASSERT_TRUE(threads.Start(pJob));
            registered.push_back(pJob->m_nThreadID);
        }
        // The first 30 run at once, the other 10 wait suspended.
        EXPECT_EQ(threads.GetRegistry()->GetRunningCount(), 30);
        EXPECT_EQ(threads.GetRegistry()->GetWaitingCount(), 10);

        ASSERT_TRUE(
            m_receiver.PumpUntil([&] { return m_receiver.m_deliveries.size() >= 40; }, kBound));
        EXPECT_TRUE(m_receiver.PumpUntil(
            [&] {
                return threads.GetRegistry()->GetRunningCount() == 0 &&
                       threads.GetRegistry()->GetWaitingCount() == 0;
            },
            kBound));
        m_receiver.PumpFor(200); // all were posted before the registry emptied
        EXPECT_EQ(m_receiver.m_deliveries.size(), 40u) << "one message per listing";

        SIMNET_STATS stats = simnet::Stats();
        EXPECT_LE(stats.maxRunningCalls, 30);
        EXPECT_EQ(stats.shareEnumCalls, 40);
        std::printf("concurrency: %ld calls at most at once, %ld calls\n",
                    static_cast<long>(stats.maxRunningCalls), static_cast<long>(stats.totalCalls));
        // Every thread was started by the registry, in the order of registration.
        EXPECT_EQ(threads.GetRegistry()->GetStartLog(), registered);
    }

    std::map<int, int> seen;
    for (const Delivery& d : m_receiver.m_deliveries) {
        CListResult* pResult = d.pResult;
        int tag = TagOf(pResult->m_pJob);
        seen[tag]++;
        SCOPED_TRACE(tag);
        EXPECT_EQ(pResult->m_pJob->m_pItem, pcs.m_items[tag - 1]);
        // A failed listing still sends a complete result, empty.
        bool bFails = tag % 10 == 0;
        EXPECT_EQ(d.wParam, bFails ? 0u : 1u);
        ASSERT_NE(pResult->m_pChildren, nullptr);
        ASSERT_NE(pResult->m_pFiles, nullptr);
        EXPECT_EQ(pResult->m_pChildren->GetSize(), bFails ? 0 : 1);
        EXPECT_TRUE(pResult->m_pFiles->IsEmpty());
        DropListResult(pResult);
    }
    EXPECT_EQ(seen.size(), 40u);
    for (auto [tag, count] : seen)
        EXPECT_EQ(count, 1) << tag;
    pcs.ReleaseAll();
}

TEST_F(ListingThreadsTest, ShutdownAbandonsRunningAndWaitingListings) {
    ASSERT_EQ(simnet::LoadText(Computers("SLOW", 40, 8000)), 0);
    Computers_ pcs(&g_root, "SLOW", 40);
    auto* pThreads = new CThreads;
    pThreads->SetTarget(m_receiver.Handle());
    pThreads->GetRegistry()->RecordStarts(true);
    for (int i = 0; i < 40; i++)
        ASSERT_TRUE(pThreads->Start(new CListJob(nullptr, Tag(i + 1), pcs.m_items[i], 1)));
    ASSERT_TRUE(m_receiver.PumpUntil([] { return simnet::Stats().runningCalls == 30; }, kBound));
    CThreadRegistry* pRegistry = pThreads->GetRegistry();
    pRegistry->AddRef(); // to look at it after the owner is gone

    // The tree's destruction: close the items, abandon the listings, go.
    pcs.ReleaseAll();
    pThreads->TerminateAll();
    EXPECT_EQ(simnet::Stats().runningCalls, 30) << "nothing waited for the slow calls";
    EXPECT_EQ(pRegistry->GetRunningCount(), 0);
    EXPECT_EQ(pRegistry->GetWaitingCount(), 0);
    auto* pJob = new CListJob(nullptr, Tag(99), &g_root, 1);
    EXPECT_FALSE(pThreads->Start(pJob)) << "an abandoned registry starts nothing";
    delete pJob;
    delete pThreads;

    // The abandoned listings finish their calls and free their results themselves.
    EXPECT_TRUE(m_receiver.PumpUntil([] { return CListJob::s_nLive == 0; }, kBound));
    EXPECT_TRUE(m_receiver.PumpUntil([&] { return pRegistry->m_nRef == 1; }, kBound))
        << "every thread gave back its reference on the registry";
    m_receiver.PumpFor(200);
    EXPECT_TRUE(m_receiver.m_deliveries.empty()) << "no result after shutdown";
    // None of the waiting ten ever listed.
    EXPECT_EQ(simnet::Stats().shareEnumCalls, 30);
    EXPECT_EQ(pRegistry->GetStartLog().size(), 30u);
    pRegistry->Release();
}

TEST_F(ListingThreadsTest, ResultsPostedBeforeShutdownAreFreed) {
    ASSERT_EQ(simnet::LoadText(Computers("FAST", 3, 0)), 0);
    Computers_ pcs(&g_root, "FAST", 3);
    {
        CThreads threads;
        threads.SetTarget(m_receiver.Handle());
        for (int i = 0; i < 3; i++)
            ASSERT_TRUE(threads.Start(new CListJob(nullptr, Tag(i + 1), pcs.m_items[i], 1)));
        // Without pumping: the results wait in the queue when the window goes.
        DWORD dwStart = GetTickCount();
        while (threads.GetRegistry()->GetRunningCount() > 0 && GetTickCount() - dwStart < kBound)
            Sleep(10);
        EXPECT_EQ(CListJob::s_nLive, 3);
        threads.TerminateAll();
        EXPECT_EQ(CListJob::s_nLive, 0);
        EXPECT_EQ(CListResult::s_nLive, 0);
    }
    m_receiver.PumpFor(100);
    EXPECT_TRUE(m_receiver.m_deliveries.empty());
    pcs.ReleaseAll();
}

// Re-listing the root while a directory three levels down waits for its turn: when the
// directory's listing runs, every ancestor has left the tree and lives only through its
// descendants.
TEST_F(ListingThreadsTest, RelistingAnAncestorWhileADescendantIsListed) {
    const std::string kDir = "\\\\SHAREPC\\data\\lt";
    ASSERT_EQ(simnet::LoadText("[computer SHAREPC]\n[share SHAREPC/data]\n" +
                               Computers("BLOCK", 30, 3000)),
              0);
    for (const char* rel : {"", "\\deep", "\\deep\\er"})
        CreateDirectoryA((kDir + rel).c_str(), nullptr);
    for (const char* rel : {"\\deep\\one.txt", "\\deep\\..data"}) {
        HANDLE h = CreateFileA((kDir + rel).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << rel;
        CloseHandle(h);
    }

    auto* pRoot = new CItemRoot; // the program's g_root, with the application's reference
    std::set<CItem*> shown;
    CThreads threads;
    threads.SetTarget(m_receiver.Handle());
    auto listAndWait = [&](CItem* pItem) {
        size_t n = m_receiver.m_deliveries.size();
        pItem->m_bBusy = true;
        EXPECT_TRUE(threads.Start(new CListJob(nullptr, Tag(1), pItem, 1)));
        EXPECT_TRUE(
            m_receiver.PumpUntil([&] { return m_receiver.m_deliveries.size() > n; }, kBound));
        Accept(m_receiver.m_deliveries.back(), shown);
    };
    auto child = [&](CItem* pItem, const char* text) -> CItem* {
        for (POSITION pos = pItem->GetHeadPosition(); pos;) {
            CItem* p = pItem->GetNext(pos);
            if (TextOf(p) == text)
                return p;
        }
        ADD_FAILURE() << "no child " << text;
        return nullptr;
    };

    shown.insert(pRoot);
    listAndWait(pRoot);
    ASSERT_EQ(pRoot->GetCount(), 31);
    CItem* pComputer = child(pRoot, "Sharepc");
    listAndWait(pComputer);
    CItem* pShare = child(pComputer, "data");
    listAndWait(pShare);
    CItem* pLt = child(pShare, "lt");
    listAndWait(pLt);
    CItem* pDeep = child(pLt, "deep");
    ASSERT_NE(pDeep, nullptr);

    // Thirty slow listings take every place; the directory's listing waits behind them.
    for (POSITION pos = pRoot->GetHeadPosition(); pos;) {
        CItem* p = pRoot->GetNext(pos);
        if (p != pComputer) {
            ASSERT_TRUE(threads.Start(new CListJob(nullptr, Tag(2), p, 1)));
        }
    }
    ASSERT_TRUE(threads.Start(new CListJob(nullptr, Tag(3), pDeep, 1)));
    EXPECT_EQ(threads.GetRegistry()->GetWaitingCount(), 1);

    // Refresh of the root: its old children leave the tree and the root is listed again.
    std::vector<CItem*> oldTop;
    for (POSITION pos = pRoot->GetHeadPosition(); pos;)
        oldTop.push_back(pRoot->GetNext(pos));
    pRoot->RemoveAll();
    for (CItem* p : oldTop) {
        CloseChildren(p, shown);
        shown.erase(p);
        p->Close();
    }
    ASSERT_TRUE(threads.Start(new CListJob(nullptr, Tag(4), pRoot, 1)));

    // 30 dropped results, the directory's and the root's.
    ASSERT_TRUE(
        m_receiver.PumpUntil([&] { return m_receiver.m_deliveries.size() >= 4 + 32; }, kBound));
    for (size_t i = 4; i < m_receiver.m_deliveries.size(); i++) {
        const Delivery& d = m_receiver.m_deliveries[i];
        CListJob* pJob = d.pResult->m_pJob;
        if (TagOf(pJob) == 3) {
            // Listed with its whole path although its ancestors had left the tree.
            EXPECT_EQ(d.wParam, 1u);
            EXPECT_EQ(std::string(PathOf(pJob->m_pItem, true)), kDir + "\\deep");
            EXPECT_EQ(std::string(PathOf(pJob->m_pItem, false)), "SHAREPC\\data\\lt\\deep");
            std::set<std::string> files;
            for (POSITION pos = d.pResult->m_pFiles->GetHeadPosition(); pos;)
                files.insert(d.pResult->m_pFiles->GetNext(pos)->m_data.cFileName);
            EXPECT_EQ(files, (std::set<std::string>{"..data", "one.txt"}));
            ASSERT_EQ(d.pResult->m_pChildren->GetSize(), 1);
            EXPECT_EQ(std::string(PathOf((*d.pResult->m_pChildren)[0], true)), kDir + "\\deep\\er");
        }
        Accept(d, shown);
    }
    EXPECT_EQ(pRoot->GetCount(), 31) << "the new listing of the root";

    // The tree goes, then the application closes its root.
    CloseChildren(pRoot, shown);
    threads.TerminateAll();
    pRoot->Close();
}

// Run in a child process by ProcessExitsWhileListingsBlock.
TEST(ShutdownChild, ExitWithListingsBlocked) {
    const char* marker = getenv("VQ_SHUTDOWN_CHILD");
    if (!marker)
        GTEST_SKIP() << "runs as the child of ProcessExitsWhileListingsBlock";
    ASSERT_TRUE(simnet::Available());
    // Far longer than the parent waits for this process.
    ASSERT_EQ(simnet::LoadText(Computers("STUCK", 40, 600000)), 0);
    Receiver receiver;
    Computers_ pcs(&g_root, "STUCK", 40);
    {
        CThreads threads;
        threads.SetTarget(receiver.Handle());
        for (int i = 0; i < 40; i++)
            ASSERT_TRUE(threads.Start(new CListJob(nullptr, Tag(i + 1), pcs.m_items[i], 1)));
        ASSERT_TRUE(receiver.PumpUntil([] { return simnet::Stats().runningCalls == 30; }, kBound));
        pcs.ReleaseAll();
        threads.TerminateAll();
    }
    HANDLE h = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    // Returning ends the process with 30 threads inside their calls.
}

TEST(ListingThreadsShutdown, ProcessExitsWhileListingsBlock) {
    char exe[MAX_PATH], dir[MAX_PATH], marker[MAX_PATH];
    ASSERT_TRUE(GetModuleFileNameA(nullptr, exe, MAX_PATH));
    ASSERT_TRUE(GetTempPathA(MAX_PATH, dir));
    ASSERT_TRUE(GetTempFileNameA(dir, "vqs", 0, marker));
    DeleteFileA(marker);
    std::string cmd = std::string("\"") + exe +
                      "\" --gtest_filter=ShutdownChild.ExitWithListingsBlocked --gtest_color=no";
    SetEnvironmentVariableA("VQ_SHUTDOWN_CHILD", marker);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    BOOL bStarted =
        CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableA("VQ_SHUTDOWN_CHILD", nullptr);
    ASSERT_TRUE(bStarted);
    DWORD dwWait = WaitForSingleObject(pi.hProcess, kBound);
    if (dwWait != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 99);
    DWORD dwCode = 0;
    GetExitCodeProcess(pi.hProcess, &dwCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(dwWait, WAIT_OBJECT_0) << "the process hung at exit";
    EXPECT_EQ(dwCode, 0u);
    EXPECT_NE(GetFileAttributesA(marker), INVALID_FILE_ATTRIBUTES)
        << "the child reached the end of its test";
    DeleteFileA(marker);
}

} // namespace

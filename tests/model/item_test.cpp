#include "model/fs_items.h"
#include "model/net_items.h"
#include "tests/model/model_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace vqtest;

namespace {

// Every test leaves no item behind.
class ItemTest : public testing::Test {
protected:
    void SetUp() override {
        m_nItems = CItem::s_nLive;
        m_nFiles = CLanFile::s_nLive;
        m_nRootRef = g_root.m_nRef;
    }
    void TearDown() override {
        EXPECT_EQ(CItem::s_nLive, m_nItems);
        EXPECT_EQ(CLanFile::s_nLive, m_nFiles);
        EXPECT_EQ(g_root.m_nRef, m_nRootRef);
    }

    long m_nItems = 0, m_nFiles = 0, m_nRootRef = 0;
};

TEST(RootTest, StaticRootIsFirstItem) {
    EXPECT_EQ(g_root.m_nSerial, 1);
    EXPECT_EQ(g_root.m_pParent, nullptr);
    EXPECT_TRUE(g_root.IsEmpty());
    EXPECT_EQ(g_root.m_pBuffer, nullptr);
    EXPECT_EQ(g_root.m_pFiles, nullptr);
    EXPECT_EQ(g_root.GetKind(), KIND_ROOT);
}

struct PathCase {
    const char* what;
    CItem* pItem;
    const char* unc;
    const char* display;
};

TEST_F(ItemTest, PathsInUncAndDisplayForm) {
    CItemServer* pGroup = NewDomain(&g_root, L"WORKGROUP");
    CItemServer* pServer = NewComputer(pGroup, L"SERVER");
    CItemShare* pShare = NewShare(pServer, L"docs");
    CItemDir* pDir = NewDir(pShare, "reports");
    CItemDir* pA = NewDir(pShare, "a");
    CItemDir* pSub = NewDir(pA, "b");
    CItemServer* pLoose = NewComputer(&g_root, L"SERVER");
    CItemShare* pLooseShare = NewShare(pLoose, L"C$");

    const PathCase cases[] = {
        {"root", &g_root, "", ""},
        {"workgroup", pGroup, "", "WORKGROUP"},
        {"computer", pServer, "\\\\SERVER", "WORKGROUP\\SERVER"},
        {"share", pShare, "\\\\SERVER\\docs", "WORKGROUP\\SERVER\\docs"},
        {"directory", pDir, "\\\\SERVER\\docs\\reports", "WORKGROUP\\SERVER\\docs\\reports"},
        {"two levels", pSub, "\\\\SERVER\\docs\\a\\b", "WORKGROUP\\SERVER\\docs\\a\\b"},
        {"computer below root", pLoose, "\\\\SERVER", "SERVER"},
        {"its share", pLooseShare, "\\\\SERVER\\C$", "SERVER\\C$"},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(std::string(PathOf(c.pItem, true)), c.unc);
        EXPECT_EQ(std::string(PathOf(c.pItem, false)), c.display);
    }

    // Parents live on through their children's references: release in any order.
    for (CItem* p :
         std::vector<CItem*>{pGroup, pServer, pShare, pDir, pA, pSub, pLoose, pLooseShare})
        p->Release();
}

struct TextCase {
    const char* what;
    CItem* pItem;
    const char* text;
    int kind, image, selectedImage;
};

TEST_F(ItemTest, TextsKindsAndImages) {
    CItemServer* pGroup = NewDomain(&g_root, L"WORKGROUP");
    CItemServer* pServer = NewComputer(pGroup, L"MYPC");
    CItemServer* pLower = NewComputer(pGroup, L"mypc");
    CItemServer* pMixed = NewComputer(pGroup, L"ab\x00C9Z-01");
    CItemServer* pEmpty = NewComputer(pGroup, L"");
    CItemServer* pOne = NewComputer(pGroup, L"X");
    CItemShare* pShare = NewShare(pServer, L"Public Docs");
    CItemShare* pNoName = NewShare(pServer, L"");
    CItemDir* pDir = NewDir(pShare, "Reports 2024");

    const TextCase cases[] = {
        {"workgroup", pGroup, "Workgroup", KIND_SERVER, 0, 0},
        {"computer upper", pServer, "Mypc", KIND_SERVER, 1, 1},
        {"computer lower", pLower, "mypc", KIND_SERVER, 1, 1},
        {"computer accented", pMixed, "ab\xE9z-01", KIND_SERVER, 1, 1},
        {"computer empty", pEmpty, "", KIND_SERVER, 1, 1},
        {"computer one letter", pOne, "X", KIND_SERVER, 1, 1},
        {"share keeps case", pShare, "Public Docs", KIND_SHARE, 2, 2},
        {"share empty", pNoName, "", KIND_SHARE, 2, 2},
        {"directory", pDir, "Reports 2024", KIND_DIR, 3, 4},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(std::string(TextOf(c.pItem)), c.text);
        EXPECT_EQ(c.pItem->GetKind(), c.kind);
        EXPECT_EQ(c.pItem->GetImage(false), c.image);
        EXPECT_EQ(c.pItem->GetImage(true), c.selectedImage);
    }
    EXPECT_TRUE(pGroup->IsDomain());
    EXPECT_FALSE(pServer->IsDomain());

    // The root leaves the text as it was.
    CString str("unchanged");
    g_root.GetText(str);
    EXPECT_EQ(str, "unchanged");
    EXPECT_EQ(g_root.GetImage(false), 0);

    for (CItem* p :
         std::vector<CItem*>{pDir, pNoName, pShare, pOne, pEmpty, pMixed, pLower, pServer, pGroup})
        p->Release();
}

TEST(AddBackslashTest, AddsOnlyWhereMissing) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"\\\\SERVER\\", "\\\\SERVER\\"},
        {"\\\\SERVER", "\\\\SERVER\\"},
        {"a", "a\\"},
    };
    for (const auto& c : cases) {
        CString str(c.in);
        CItem::AddBackslash(str);
        EXPECT_EQ(std::string(str), c.out) << c.in;
    }
}

TEST_F(ItemTest, SerialsAreDistinctAndNeverReused) {
    CItemServer* pFirst = NewDomain(&g_root, L"A");
    LONG nFirst = pFirst->m_nSerial;
    EXPECT_GT(nFirst, 1);
    pFirst->Release();
    CItemServer* pSecond = NewDomain(&g_root, L"B");
    EXPECT_EQ(pSecond->m_nSerial, nFirst + 1);
    pSecond->Release();
}

TEST_F(ItemTest, SerialsStayDistinctAcrossThreads) {
    // Listing threads construct items at the same time.
    constexpr int kThreads = 8, kEach = 500;
    std::vector<LONG> serials(kThreads * kEach);
    struct Arg {
        LONG* out;
    };
    std::vector<Arg> args(kThreads);
    std::vector<HANDLE> threads;
    for (int t = 0; t < kThreads; t++) {
        args[t].out = &serials[t * kEach];
        threads.push_back(CreateThread(
            nullptr, 0,
            [](LPVOID p) -> DWORD {
                LONG* out = static_cast<Arg*>(p)->out;
                for (int i = 0; i < kEach; i++) {
                    CItemDir* pDir = NewDir(&g_root, "d");
                    out[i] = pDir->m_nSerial;
                    pDir->Release();
                }
                return 0;
            },
            &args[t], 0, nullptr));
    }
    ASSERT_EQ(WaitForMultipleObjects(kThreads, threads.data(), TRUE, 60000), WAIT_OBJECT_0);
    for (HANDLE h : threads)
        CloseHandle(h);
    std::sort(serials.begin(), serials.end());
    EXPECT_EQ(std::adjacent_find(serials.begin(), serials.end()), serials.end());
}

TEST_F(ItemTest, ChildrenAttachOnlyWhenDelivered) {
    CItemServer* pServer = NewComputer(&g_root, L"SERVER");
    CItemShare* pA = NewShare(pServer, L"a");
    CItemShare* pB = NewShare(pServer, L"b");
    EXPECT_TRUE(pServer->IsEmpty()) << "construction does not touch the parent's child list";
    EXPECT_EQ(pServer->m_nRef, 3) << "each child holds its parent";

    CItemArray children;
    children.Add(pA);
    children.Add(pB);
    pServer->AttachChildren(children);
    ASSERT_EQ(pServer->GetCount(), 2);
    EXPECT_EQ(pServer->GetHead(), pA);
    EXPECT_EQ(pServer->GetTail(), pB);
    EXPECT_EQ(pA->m_nRef, 1) << "the child list holds no reference";

    pA->Close();
    pB->Close();
    pServer->Close();
}

TEST_F(ItemTest, CloseWhileAJobHoldsTheItem) {
    CItemServer* pServer = NewComputer(&g_root, L"SERVER");
    CItemShare* pShare = NewShare(pServer, L"docs");
    pShare->m_hTreeItem = reinterpret_cast<HTREEITEM>(0x1234);
    pShare->m_pFiles = new CLanFiles;
    pShare->m_pFiles->AddTail(new CLanFile(FindData("a.txt", 0), pShare));
    pShare->AddRef(); // a listing job's

    pServer->Close();
    pShare->Close();
    // The file records go at once; the item lives on, parent and all, for the job.
    EXPECT_EQ(pShare->m_pFiles, nullptr);
    EXPECT_EQ(pShare->m_hTreeItem, nullptr);
    EXPECT_EQ(CLanFile::s_nLive, m_nFiles);
    EXPECT_EQ(std::string(PathOf(pShare, true)), "\\\\SERVER\\docs");
    pShare->Release();
}

TEST_F(ItemTest, FileRecords) {
    CItemServer* pServer = NewComputer(&g_root, L"SERVER");
    CItemShare* pShare = NewShare(pServer, L"docs");
    CItemDir* pDir = NewDir(pShare, "reports");

    auto* pFiles = new CLanFiles;
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        pFiles->AddTail(new CLanFile(FindData(name, FILE_ATTRIBUTE_ARCHIVE), pShare));
    EXPECT_EQ(CLanFile::s_nLive, m_nFiles + 3);

    CLanFile* pFile = pFiles->GetHead();
    CString str;
    pFile->GetFullPath(str);
    EXPECT_EQ(str, "\\\\SERVER\\docs\\a.txt");
    EXPECT_EQ(pFile->GetItem(), nullptr);

    CFSItem* pFS = pDir->GetFSItem();
    ASSERT_NE(pFS, nullptr);
    EXPECT_EQ(pFS->GetItem(), static_cast<CItem*>(pDir));
    EXPECT_EQ(pFS->GetItem()->GetFSItem(), pFS);
    str.Empty();
    pFS->GetFullPath(str);
    EXPECT_EQ(str, "\\\\SERVER\\docs\\reports");
    EXPECT_EQ(pShare->GetFSItem(), nullptr);

    delete pFiles; // deletes its three records
    EXPECT_EQ(CLanFile::s_nLive, m_nFiles);

    pDir->Release();
    pShare->Release();
    pServer->Release();
}

TEST(FSItemTest, SizeIsSixtyFourBits) {
    WIN32_FIND_DATAA data = FindData("big.bin", 0);
    data.nFileSizeHigh = 5;
    data.nFileSizeLow = 7;
    CLanFile file(data, nullptr);
    EXPECT_EQ(file.GetFileSize(), 5ull * 4294967296ull + 7);
}

} // namespace

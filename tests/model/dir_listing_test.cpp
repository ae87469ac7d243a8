// Directory listing of real folders reached through \\COMPUTER\SHARE paths (the simulator's UNC
// root).
#include "model/fs_items.h"
#include "model/net_items.h"
#include "simnet/simnet_control.h"
#include "tests/model/model_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace vqtest;

namespace {

const char kNetwork[] = R"(
[computer FILESRV]
[share FILESRV/data]
[share FILESRV/LaserJet]
type = print
)";
const char kShare[] = "\\\\FILESRV\\data";

void DeleteTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = path + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(full);
            else
                DeleteFileA(full.c_str());
        } while (FindNextFileA(h, &data));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

void MakeDir(const std::string& path, DWORD dwAttributes = 0) {
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
    if (dwAttributes) {
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), dwAttributes)) << path;
    }
}

void MakeFile(const std::string& path, DWORD dwAttributes = 0) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD n = 0;
    WriteFile(h, "x", 1, &n, nullptr);
    CloseHandle(h);
    if (dwAttributes) {
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), dwAttributes)) << path;
    }
}

struct Listing {
    bool bOk = false;
    std::vector<std::string> dirs, files;
};

class DirListingTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(simnet::Available()) << "netapi32.dll beside the test is not the simulator";
        ASSERT_EQ(simnet::LoadText(kNetwork), 0);
        m_nItems = CItem::s_nLive;
        m_nFiles = CLanFile::s_nLive;
        // Start from an empty share: the UNC root outlives test runs.
        WIN32_FIND_DATAA data;
        HANDLE h = FindFirstFileA((std::string(kShare) + "\\*").c_str(), &data);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << "the share's folder is missing";
        FindClose(h);
        DeleteTree(std::string(kShare) + "\\t");
        MakeDir(std::string(kShare) + "\\t");

        m_pComputer = NewComputer(&g_root, L"FILESRV");
        m_pShare = NewShare(m_pComputer, L"data");
        m_pTop = NewDir(m_pShare, "t");
    }
    void TearDown() override {
        for (CItem* p : {static_cast<CItem*>(m_pTop), static_cast<CItem*>(m_pShare),
                         static_cast<CItem*>(m_pComputer)})
            p->Release();
        EXPECT_EQ(CItem::s_nLive, m_nItems);
        EXPECT_EQ(CLanFile::s_nLive, m_nFiles);
        DeleteTree(std::string(kShare) + "\\t");
    }

    std::string Path(const char* rel) { return std::string(kShare) + "\\t\\" + rel; }

    // Lists the item and checks what every entry says about itself; names sorted.
    Listing List(CItem* pItem) {
        Listing out;
        CItemArray children;
        CLanFiles files;
        out.bOk = ListDirectory(pItem, &children, &files);
        CString strParent;
        pItem->GetPath(strParent, true);
        for (CItem* p : children) {
            EXPECT_EQ(p->GetKind(), KIND_DIR);
            EXPECT_EQ(p->m_pParent, pItem);
            EXPECT_EQ(PathOf(p, true), strParent + "\\" + TextOf(p));
            out.dirs.push_back(std::string(TextOf(p)));
            p->Release();
        }
        for (POSITION pos = files.GetHeadPosition(); pos;) {
            CLanFile* pFile = files.GetNext(pos);
            EXPECT_EQ(pFile->m_pParent, pItem);
            CString strFull;
            pFile->GetFullPath(strFull);
            EXPECT_EQ(strFull, strParent + "\\" + pFile->m_data.cFileName);
            out.files.push_back(pFile->m_data.cFileName);
        }
        std::sort(out.dirs.begin(), out.dirs.end());
        std::sort(out.files.begin(), out.files.end());
        return out;
    }

    CItemServer* m_pComputer = nullptr;
    CItemShare* m_pShare = nullptr;
    CItemDir* m_pTop = nullptr;
    long m_nItems = 0, m_nFiles = 0;
};

using Names = std::vector<std::string>;

TEST_F(DirListingTest, EmptyFolderSucceedsWithNothing) {
    Listing l = List(m_pTop);
    EXPECT_TRUE(l.bOk);
    EXPECT_EQ(l.dirs, Names{});
    EXPECT_EQ(l.files, Names{});
}

TEST_F(DirListingTest, OnlyDotAndDotDotAreSkipped) {
    for (const char* name : {".config", "..data", "a.b.c", ".x.y"})
        MakeFile(Path(name));
    MakeDir(Path(".git"));
    MakeDir(Path("..hidden dir"));
    Listing l = List(m_pTop);
    EXPECT_TRUE(l.bOk);
    EXPECT_EQ(l.dirs, (Names{"..hidden dir", ".git"}));
    EXPECT_EQ(l.files, (Names{"..data", ".config", ".x.y", "a.b.c"}));
}

TEST_F(DirListingTest, HiddenAndSystemEntriesAreListed) {
    MakeFile(Path("secret.txt"), FILE_ATTRIBUTE_HIDDEN);
    MakeFile(Path("boot.ini"), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    MakeDir(Path("System Volume"), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    MakeDir(Path("locked"), FILE_ATTRIBUTE_READONLY);
    Listing l = List(m_pTop);
    EXPECT_TRUE(l.bOk);
    EXPECT_EQ(l.dirs, (Names{"System Volume", "locked"}));
    EXPECT_EQ(l.files, (Names{"boot.ini", "secret.txt"}));

    // The records carry the attributes the file system reports.
    CItemArray children;
    CLanFiles files;
    ASSERT_TRUE(ListDirectory(m_pTop, &children, &files));
    for (POSITION pos = files.GetHeadPosition(); pos;) {
        CLanFile* pFile = files.GetNext(pos);
        EXPECT_EQ(pFile->m_data.dwFileAttributes,
                  GetFileAttributesA(Path(pFile->m_data.cFileName).c_str()))
            << pFile->m_data.cFileName;
    }
    for (CItem* p : children)
        p->Release();
}

TEST_F(DirListingTest, SparseFileKeepsItsSixtyFourBitSize) {
    const ULONGLONG kSize = 5ull << 30;
    HANDLE h = CreateFileA(Path("big.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER li;
    li.QuadPart = LONGLONG(kSize);
    EXPECT_TRUE(SetFilePointerEx(h, li, nullptr, FILE_BEGIN));
    EXPECT_TRUE(SetEndOfFile(h));
    CloseHandle(h);

    CItemArray children;
    CLanFiles files;
    ASSERT_TRUE(ListDirectory(m_pTop, &children, &files));
    ASSERT_EQ(files.GetCount(), 1);
    EXPECT_EQ(files.GetHead()->m_data.nFileSizeHigh, 1u);
    EXPECT_EQ(files.GetHead()->m_data.nFileSizeLow, 1u << 30);
    EXPECT_EQ(files.GetHead()->GetFileSize(), kSize);
}

TEST_F(DirListingTest, ShareAndNestedDirectoriesList) {
    MakeDir(Path("reports"));
    MakeDir(Path("reports\\2024"));
    MakeFile(Path("reports\\2024\\q1.txt"));
    MakeFile(Path("reports\\summary.doc"));

    // The share's own listing sees the test's folder.
    CItemArray children;
    CLanFiles files;
    ASSERT_TRUE(m_pShare->Enumerate(&children, &files));
    bool bFound = false;
    for (CItem* p : children) {
        bFound |= TextOf(p) == "t";
        p->Release();
    }
    EXPECT_TRUE(bFound);

    CItemDir* pReports = NewDir(m_pTop, "reports");
    CItemDir* pYear = NewDir(pReports, "2024");
    Listing l = List(pReports);
    EXPECT_TRUE(l.bOk);
    EXPECT_EQ(l.dirs, Names{"2024"});
    EXPECT_EQ(l.files, Names{"summary.doc"});
    l = List(pYear);
    EXPECT_EQ(l.files, Names{"q1.txt"});
    EXPECT_EQ(std::string(PathOf(pYear, true)), "\\\\FILESRV\\data\\t\\reports\\2024");
    pYear->Release();
    pReports->Release();
}

TEST_F(DirListingTest, UnreadableListingsFail) {
    CItemDir* pMissing = NewDir(m_pTop, "no such folder");
    CItemShare* pPrinter = NewShare(m_pComputer, L"LaserJet");
    CItemShare* pNoShare = NewShare(m_pComputer, L"nosuchshare");
    CItemServer* pNoComputer = NewComputer(&g_root, L"NOSUCHPC");
    CItemShare* pOnNoComputer = NewShare(pNoComputer, L"data");
    for (CItem* p : std::vector<CItem*>{pMissing, pPrinter, pNoShare, pOnNoComputer}) {
        SCOPED_TRACE(std::string(PathOf(p, true)));
        CItemArray children;
        CLanFiles files;
        EXPECT_FALSE(p->Enumerate(&children, &files));
        EXPECT_TRUE(children.IsEmpty());
        EXPECT_TRUE(files.IsEmpty());
        p->Release();
    }
    pNoComputer->Release();
}

} // namespace

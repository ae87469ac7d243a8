#include "shell/filename_list.h"

#include "tests/shell/dialog_answerer.h"
#include "tests/support/clipboard.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

using testfs::Exists;
using testfs::ReadFileText;
using testfs::TempDir;
using testfs::WriteFileText;

void Fill(CFilenameList& list, const std::vector<std::string>& paths) {
    for (const std::string& p : paths)
        list.AddTail(CString(p.c_str()));
}

std::string DoubleNull(const std::vector<std::string>& paths) {
    std::string out;
    for (const std::string& p : paths) {
        out += p;
        out.push_back('\0');
    }
    out.push_back('\0');
    return out;
}

std::string Dump(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes)
        out += c ? std::string(1, static_cast<char>(c)) : std::string("\\0");
    return out;
}

// ---- The double-null list and the file-drop block ----

struct ListCase {
    const char* name;
    std::vector<std::string> paths;
    int doubleNullSize;
};

class SelectionBlockTest : public ::testing::TestWithParam<ListCase> {};

const ListCase kListCases[] = {
    {"single", {"\\\\SERVER\\docs"}, 15},
    {"two", {"\\\\SERVER\\docs\\a.txt", "\\\\SERVER\\docs\\sub"}, 20 + 18 + 1},
    {"empty", {}, 1},
    {"semicolon", {"\\\\SERVER\\docs\\a;b.txt", "\\\\SERVER\\docs\\c d"}, 22 + 18 + 1},
};

TEST_P(SelectionBlockTest, DoubleNullListIsEveryPathWithItsZeroThenOneMore) {
    CFilenameList list;
    Fill(list, GetParam().paths);
    ASSERT_EQ(list.GetDoubleNullSize(), GetParam().doubleNullSize);

    // Guard bytes after the list show that nothing is written past its size.
    std::string buf(list.GetDoubleNullSize() + 4, '\xCC');
    list.CopyDoubleNull(buf.data());
    EXPECT_EQ(Dump(buf.substr(0, list.GetDoubleNullSize())), Dump(DoubleNull(GetParam().paths)));
    EXPECT_EQ(buf.substr(list.GetDoubleNullSize()), std::string(4, '\xCC'));
}

TEST_P(SelectionBlockTest, FileDropBlockIsDropfilesHeaderThenDoubleNullList) {
    CFilenameList list;
    Fill(list, GetParam().paths);
    HGLOBAL h = list.CreateHDrop();
    ASSERT_NE(h, nullptr);
    const size_t size = 20 + GetParam().doubleNullSize;
    EXPECT_EQ(GlobalSize(h), size);
    const auto* p = static_cast<const unsigned char*>(GlobalLock(h));
    ASSERT_NE(p, nullptr);
    std::string bytes(reinterpret_cast<const char*>(p), size);
    GlobalUnlock(h);

    std::string header(20, '\0');
    header[0] = 20; // pFiles; pt, fNC and fWide stay zero: the names are ANSI
    EXPECT_EQ(Dump(bytes.substr(0, 20)), Dump(header));
    EXPECT_EQ(Dump(bytes.substr(20)), Dump(DoubleNull(GetParam().paths)));

    // The platform reads the same names back from the block (an empty list is never offered).
    auto hDrop = static_cast<HDROP>(h);
    if (GetParam().paths.empty()) {
        GlobalFree(h);
        return;
    }
    EXPECT_EQ(testclip::DropFiles(hDrop), GetParam().paths);
    GlobalFree(h);
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectionBlockTest, ::testing::ValuesIn(kListCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SelectionBlockSizeTest, SingleShareGivesFifteenAndThirtyFiveBytes) {
    CFilenameList list;
    list.AddTail("\\\\SERVER\\docs");
    EXPECT_EQ(list.GetDoubleNullSize(), 15);
    HGLOBAL h = list.CreateHDrop();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalSize(h), 35u);
    EXPECT_EQ(*static_cast<DWORD*>(GlobalLock(h)), 20u);
    GlobalUnlock(h);
    GlobalFree(h);
}

// ---- The clipboard ----

class ClipboardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    static void TearDownTestSuite() {
        OleFlushClipboard();
        OleUninitialize();
    }

    // The formats that the data object on the OLE clipboard offers.
    static std::vector<CLIPFORMAT> OleFormats() {
        std::vector<CLIPFORMAT> out;
        IDataObject* pData = nullptr;
        if (FAILED(OleGetClipboard(&pData)) || !pData)
            return out;
        IEnumFORMATETC* pEnum = nullptr;
        if (SUCCEEDED(pData->EnumFormatEtc(DATADIR_GET, &pEnum)) && pEnum) {
            FORMATETC fmt;
            while (pEnum->Next(1, &fmt, nullptr) == S_OK)
                out.push_back(fmt.cfFormat);
            pEnum->Release();
        }
        pData->Release();
        return out;
    }
};

TEST_F(ClipboardTest, CopyToClipboardOffersThePathsAsFilesOnly) {
    const std::vector<std::string> paths = {"\\\\SERVER\\docs\\a;b.txt", "\\\\SERVER\\docs\\sub"};
    CFilenameList list;
    Fill(list, paths);
    list.CopyToClipboard();

    EXPECT_EQ(testclip::Files(), paths);
    EXPECT_EQ(OleFormats(), std::vector<CLIPFORMAT>{CF_HDROP});
    // Read twice: the data source keeps its block for every reader.
    EXPECT_EQ(testclip::Files(), paths);

    // Still there once our data source is rendered and released.
    ASSERT_EQ(OleFlushClipboard(), S_OK);
    EXPECT_EQ(testclip::Files(), paths);
}

struct PathCase {
    const char* name;
    UINT nID;
    std::string path;
    std::string text;
};

const std::string kLongDir =
    "\\\\SERVER\\docs\\" + std::string(200, 'd') + "\\" + std::string(200, 'e');
const std::string kLongPath = kLongDir + "\\report.txt";

const PathCase kPathCases[] = {
    {"full", ID_EDIT_COPY_FULL_PATH, "\\\\SERVER\\docs\\reports\\a.txt",
     "\\\\SERVER\\docs\\reports\\a.txt"},
    {"dir", ID_EDIT_COPY_DIR_PATH, "\\\\SERVER\\docs\\reports\\a.txt", "\\\\SERVER\\docs\\reports"},
    {"dir_of_share_file", ID_EDIT_COPY_DIR_PATH, "\\\\SERVER\\docs\\a.txt", "\\\\SERVER\\docs"},
    {"name", ID_EDIT_COPY_NAME, "\\\\SERVER\\docs\\reports\\a.txt", "a.txt"},
    {"name_without_backslash", ID_EDIT_COPY_NAME, "plain name.txt", "plain name.txt"},
    {"semicolon_name", ID_EDIT_COPY_NAME, "\\\\SERVER\\docs\\a;b.txt", "a;b.txt"},
    {"long_full", ID_EDIT_COPY_FULL_PATH, kLongPath, kLongPath},
    {"long_dir", ID_EDIT_COPY_DIR_PATH, kLongPath, kLongDir},
    {"long_name", ID_EDIT_COPY_NAME, kLongPath, "report.txt"},
};

class CopyPathTest : public ClipboardTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(CopyPathTest, PutsTheTextAsCfTextOnly) {
    // Files on the clipboard first: the text replaces them.
    CFilenameList list;
    list.AddTail("\\\\SERVER\\docs");
    list.CopyToClipboard();
    ASSERT_EQ(testclip::Files().size(), 1u);

    CString path(GetParam().path.c_str());
    CopyPathToClipboard(GetParam().nID, path);

    EXPECT_EQ(testclip::Text(), GetParam().text);
    EXPECT_EQ(std::string(path), GetParam().path) << "the caller's path is left alone";
    EXPECT_TRUE(testclip::Files().empty());
    // Only text: the system may add its own conversions of it, nothing else.
    ASSERT_TRUE(OpenClipboard(nullptr));
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f))
        EXPECT_TRUE(f == CF_TEXT || f == CF_OEMTEXT || f == CF_UNICODETEXT || f == CF_LOCALE)
            << "format " << f;
    CloseClipboard();
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyPathTest, ::testing::ValuesIn(kPathCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CopyPathLongTest, LongPathIsLongerThanMaxPath) {
    ASSERT_GT(kLongDir.size(), static_cast<size_t>(MAX_PATH));
}

// ---- Shell copy and delete ----

void PrintDialogs(const char* what, const std::vector<SeenDialog>& dialogs) {
    for (const SeenDialog& d : dialogs) {
        std::cout << "[shell dialog during " << what << "] title \"" << d.title << "\"";
        for (const std::string& t : d.texts)
            std::cout << " text \"" << t << "\"";
        std::cout << " buttons";
        for (const std::string& b : d.buttons)
            std::cout << " [" << b << "]";
        std::cout << " pressed [" << d.pressed << "] owner " << d.owner << "\n";
    }
}

// A source folder with two files (one with a semicolon) and a folder with a file in it.
struct SourceTree {
    TempDir dir{"src"};
    SourceTree() {
        WriteFileText(dir / "a.txt", "alpha");
        WriteFileText(dir / "semi;colon.txt", "semicolon");
        CreateDirectoryA((dir / "folder").c_str(), nullptr);
        WriteFileText(dir / "folder\\inner.txt", "inner");
    }
    std::vector<std::string> Paths() const {
        return {dir / "a.txt", dir / "semi;colon.txt", dir / "folder"};
    }
};

class OwnerWindow {
public:
    OwnerWindow() {
        // Hidden: under Wine without a window manager, hiding a framed window waits 2 s.
        m_hwnd = CreateWindowExA(0, "STATIC", "vq owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    }
    ~OwnerWindow() { DestroyWindow(m_hwnd); }
    HWND hwnd() const { return m_hwnd; }

private:
    HWND m_hwnd;
};

TEST(ShellFileOperationTest, CopyToCopiesFilesAndFolderThenDeleteRemovesThem) {
    SourceTree src;
    TempDir dest("dest");
    CFilenameList list;
    Fill(list, src.Paths());
    {
        DialogAnswerer answerer({"Yes to all", "Yes", "OK"});
        list.CopyTo(dest.path().c_str());
        PrintDialogs("copy", answerer.Seen());
        EXPECT_TRUE(answerer.Answered().empty()) << "a copy into an empty folder asks nothing";
    }
    EXPECT_EQ(ReadFileText(dest / "a.txt"), "alpha");
    EXPECT_EQ(ReadFileText(dest / "semi;colon.txt"), "semicolon");
    EXPECT_EQ(ReadFileText(dest / "folder\\inner.txt"), "inner");
    EXPECT_EQ(ReadFileText(src.dir / "a.txt"), "alpha") << "a copy leaves the source";

    CFilenameList copies;
    Fill(copies, {dest / "a.txt", dest / "semi;colon.txt", dest / "folder"});
    OwnerWindow owner;
    int result;
    std::vector<SeenDialog> answered;
    {
        DialogAnswerer answerer({"Yes", "Yes to all", "OK"});
        result = copies.Delete(owner.hwnd());
        PrintDialogs("delete", answerer.Seen());
        answered = answerer.Answered();
    }
    EXPECT_EQ(result, 0);
    ASSERT_EQ(answered.size(), 1u) << "one confirmation for the whole selection";
    EXPECT_EQ(answered[0].owner, owner.hwnd()) << "the shell's dialog belongs to the owner";
    EXPECT_FALSE(Exists(dest / "a.txt"));
    EXPECT_FALSE(Exists(dest / "semi;colon.txt"));
    EXPECT_FALSE(Exists(dest / "folder"));
    EXPECT_TRUE(Exists(dest.path()));
}

TEST(ShellFileOperationTest, DeleteRefusedKeepsTheFiles) {
    SourceTree src;
    CFilenameList list;
    list.AddTail((src.dir / "semi;colon.txt").c_str());
    OwnerWindow owner;
    int result;
    {
        DialogAnswerer answerer({"No"});
        result = list.Delete(owner.hwnd());
        PrintDialogs("refused delete", answerer.Seen());
        EXPECT_EQ(answerer.Answered().size(), 1u);
    }
    // The shell's answer to a refusal differs by system (Wine: 0); the files are what counts.
    std::cout << "[refused delete] shell result " << result << "\n";
    EXPECT_EQ(ReadFileText(src.dir / "semi;colon.txt"), "semicolon");
}

TEST(ShellFileOperationTest, CopyToAsksOverwriteWithoutOwner) {
    SourceTree src;
    TempDir dest("dest");
    WriteFileText(dest / "a.txt", "old");
    CFilenameList list;
    list.AddTail((src.dir / "a.txt").c_str());
    std::vector<SeenDialog> answered;
    {
        DialogAnswerer answerer({"Yes", "Yes to all", "OK"});
        list.CopyTo(dest.path().c_str());
        PrintDialogs("copy over a file", answerer.Seen());
        answered = answerer.Answered();
    }
    ASSERT_EQ(answered.size(), 1u);
    EXPECT_EQ(answered[0].owner, nullptr) << "a transfer's copy has no owner window";
    EXPECT_EQ(ReadFileText(dest / "a.txt"), "alpha");
}

// Copies out of a share of the simulated network when its folder tree is there.
TEST(ShellFileOperationTest, CopyToCopiesFromUncShare) {
    const char* unixRoot = getenv("VELLOQUIN_UNC_ROOT");
    if (!unixRoot || !*unixRoot)
        GTEST_SKIP() << "no UNC folder tree (VELLOQUIN_UNC_ROOT unset)";
    std::string root = std::string("Z:") + unixRoot;
    for (char& c : root)
        if (c == '/')
            c = '\\';
    const std::string computer = root + "\\VQSHELLTEST";
    CreateDirectoryA(computer.c_str(), nullptr);
    TempDir share("share", computer);
    const std::string shareName = share.path().substr(computer.size() + 1);
    WriteFileText(share / "x;y.txt", "from the share");
    CreateDirectoryA((share / "dir").c_str(), nullptr);
    WriteFileText(share / "dir\\deep.txt", "deep");
    const std::string unc = "\\\\VQSHELLTEST\\" + shareName;
    if (!Exists(unc + "\\x;y.txt")) {
        RemoveDirectoryA(computer.c_str());
        GTEST_SKIP() << unc << " is not served as a UNC path here";
    }

    TempDir dest("dest");
    CFilenameList list;
    Fill(list, {unc + "\\x;y.txt", unc + "\\dir"});
    {
        DialogAnswerer answerer({"Yes to all", "Yes", "OK"});
        list.CopyTo(dest.path().c_str());
        PrintDialogs("copy from a share", answerer.Seen());
    }
    EXPECT_EQ(ReadFileText(dest / "x;y.txt"), "from the share");
    EXPECT_EQ(ReadFileText(dest / "dir\\deep.txt"), "deep");
    testfs::RemoveTree(share.path());
    RemoveDirectoryA(computer.c_str());
}

} // namespace

// The file list's rows: what they show, their order by each column in both directions, the sort
// arrow, the view styles, and agreement with what the shell answers for every single row.

#include "tests/views/file_list_support.h"

#include "res/resource.h"

#include <shlwapi.h>

#include <algorithm>

namespace fltest {
namespace {

using Strings = std::vector<std::string>;

std::string ShellType(const char* pszName, DWORD dwAttributes) {
    SHFILEINFOA sfi = {};
    SHGetFileInfoA(pszName, dwAttributes, &sfi, sizeof sfi,
                   SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES);
    return sfi.szTypeName;
}

std::string ByteSize(ULONGLONG nSize) {
    WCHAR wide[256];
    StrFormatByteSizeW(static_cast<LONGLONG>(nSize), wide, 256);
    char text[512];
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

std::string LocalTimeText(FILETIME ft) {
    FILETIME local;
    SYSTEMTIME st;
    FileTimeToLocalFileTime(&ft, &local);
    FileTimeToSystemTime(&local, &st);
    char date[512], time[256];
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, time, sizeof time);
    return std::string(date) + " " + time;
}

// Two subdirectories and four files whose sizes need 64 bits and whose names, sizes and times
// each give another order.
class SortTest : public FileListTest {
protected:
    void SetUp() override {
        FileListTest::SetUp();
        m_listing.AddDir("beta", Utc(2019, 5, 1));
        m_listing.AddDir("Alpha", Utc(2021, 5, 1));
        m_listing.AddFile("b.txt", 10, Utc(2018, 1, 1));
        m_listing.AddFile("a.doc", 4 * GiB - 1, Utc(2022, 1, 1));
        m_listing.AddFile("C.pdf", 5 * GiB, Utc(2017, 1, 1));
        m_listing.AddFile("d", 0, Utc(2020, 1, 1));
        Show(m_listing);
    }
};

TEST_F(SortTest, StartsByNameAscendingWithDirectoriesFirstAndTheArrowOnName) {
    EXPECT_EQ(Names(m_hList), (Strings{"Alpha", "beta", "a.doc", "b.txt", "C.pdf", "d"}));
    EXPECT_EQ(Arrow(m_hList, 0), 0);
    for (int c = 1; c < 4; c++)
        EXPECT_EQ(Arrow(m_hList, c), -1) << "column " << c;
}

struct SortCase {
    const char* what;
    std::vector<int> clicks; // header clicks, in order
    int column;
    bool descending;
    Strings order;
};

class SortByClicksTest : public SortTest, public testing::WithParamInterface<SortCase> {};

TEST_P(SortByClicksTest, OrdersTheRowsAndMovesTheArrow) {
    const SortCase& c = GetParam();
    for (int nColumn : c.clicks)
        ClickHeader(m_hList, nColumn);
    EXPECT_EQ(m_pList->m_nSortColumn, c.column);
    EXPECT_EQ(m_pList->m_bSortDescending, c.descending);
    Strings names = Names(m_hList), expected = c.order;
    if (c.column == 1) {
        // Directories never differ in size here: among themselves their order is open.
        for (Strings* p : {&names, &expected}) {
            auto first = std::find_if(p->begin(), p->end(), [](const std::string& s) {
                return s == "Alpha" || s == "beta";
            });
            ASSERT_LE(first + 2, p->end());
            std::sort(first, first + 2);
        }
    }
    EXPECT_EQ(names, expected);
    for (int col = 0; col < 4; col++)
        EXPECT_EQ(Arrow(m_hList, col), col == c.column ? (c.descending ? 1 : 0) : -1)
            << "column " << col;
}

const SortCase s_sortCases[] = {
    {"name descending", {0}, 0, true, {"d", "C.pdf", "b.txt", "a.doc", "beta", "Alpha"}},
    {"name ascending again", {0, 0}, 0, false, {"Alpha", "beta", "a.doc", "b.txt", "C.pdf", "d"}},
    {"size ascending", {1}, 1, false, {"Alpha", "beta", "d", "b.txt", "a.doc", "C.pdf"}},
    {"size descending", {1, 1}, 1, true, {"C.pdf", "a.doc", "b.txt", "d", "beta", "Alpha"}},
    {"time ascending", {3}, 3, false, {"beta", "Alpha", "C.pdf", "b.txt", "d", "a.doc"}},
    {"time descending", {3, 3}, 3, true, {"a.doc", "d", "b.txt", "C.pdf", "Alpha", "beta"}},
    {"name after time", {3, 0}, 0, false, {"Alpha", "beta", "a.doc", "b.txt", "C.pdf", "d"}},
};

INSTANTIATE_TEST_SUITE_P(Columns, SortByClicksTest, testing::ValuesIn(s_sortCases),
                         [](const testing::TestParamInfo<SortCase>& info) {
                             std::string name = info.param.what;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

// The Type column follows the shell's type names, whatever they are on this system.
TEST_F(SortTest, TypeOrdersByTheShellsTypeNamesBothWays) {
    ClickHeader(m_hList, 2);
    std::vector<std::pair<std::string, std::string>> files; // type, name
    for (const char* name : {"b.txt", "a.doc", "C.pdf", "d"})
        files.push_back({ShellType(name, FILE_ATTRIBUTE_NORMAL), name});
    Strings names = Names(m_hList);
    ASSERT_EQ(names.size(), 6u);
    Strings dirs(names.begin(), names.begin() + 2);
    std::sort(dirs.begin(), dirs.end());
    EXPECT_EQ(dirs, (Strings{"Alpha", "beta"})) << "directories first";
    for (int i = 2; i + 1 < 6; i++)
        EXPECT_LE(lstrcmpiA(Cell(m_hList, i, 2).c_str(), Cell(m_hList, i + 1, 2).c_str()), 0)
            << names[i] << " before " << names[i + 1];
    EXPECT_EQ(Arrow(m_hList, 2), 0);

    ClickHeader(m_hList, 2);
    names = Names(m_hList);
    dirs.assign(names.begin() + 4, names.end());
    std::sort(dirs.begin(), dirs.end());
    EXPECT_EQ(dirs, (Strings{"Alpha", "beta"})) << "directories last when descending";
    for (int i = 0; i + 1 < 4; i++)
        EXPECT_GE(lstrcmpiA(Cell(m_hList, i, 2).c_str(), Cell(m_hList, i + 1, 2).c_str()), 0)
            << names[i] << " before " << names[i + 1];
    EXPECT_EQ(Arrow(m_hList, 2), 1);
}

TEST_F(SortTest, TextsOfSizeTypeAndTime) {
    int nBig = RowOf(m_hList, "C.pdf"), nAlmost = RowOf(m_hList, "a.doc");
    EXPECT_EQ(Cell(m_hList, nBig, 1), ByteSize(5 * GiB));
    EXPECT_NE(Cell(m_hList, nBig, 1), ByteSize(1 * GiB)) << "the high 32 bits count";
    EXPECT_EQ(Cell(m_hList, nAlmost, 1), ByteSize(4 * GiB - 1));
    EXPECT_EQ(Cell(m_hList, nAlmost, 2), ShellType("a.doc", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(Cell(m_hList, nAlmost, 3), LocalTimeText(Utc(2022, 1, 1)));

    int nDir = RowOf(m_hList, "Alpha");
    EXPECT_EQ(Cell(m_hList, nDir, 1), "") << "a directory shows no size";
    EXPECT_EQ(Cell(m_hList, nDir, 2), ShellType("Alpha", FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_FALSE(Cell(m_hList, nDir, 2).empty());
    EXPECT_EQ(Cell(m_hList, nDir, 3), LocalTimeText(Utc(2021, 5, 1)));
}

TEST_F(SortTest, TextsAreCutAtTheControlsBuffer) {
    int nRow = RowOf(m_hList, "a.doc");
    for (int nColumn : {1, 2, 3}) {
        std::string whole = Cell(m_hList, nRow, nColumn);
        ASSERT_GT(whole.size(), 3u) << "column " << nColumn;
        char buf[4] = "???";
        LVITEMA item = {};
        item.iSubItem = nColumn;
        item.pszText = buf;
        item.cchTextMax = sizeof buf;
        SendMessageA(m_hList, LVM_GETITEMTEXTA, nRow, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(std::string(buf), whole.substr(0, 3)) << "column " << nColumn;
    }
}

TEST_F(SortTest, ViewStylesKeepTheSortAndTheArrow) {
    ClickHeader(m_hList, 1);
    ClickHeader(m_hList, 1);
    const Strings sorted = Names(m_hList);
    for (DWORD style : {DWORD(LVS_ICON), DWORD(LVS_LIST), DWORD(LVS_REPORT)}) {
        m_pList->SetViewMode(style);
        EXPECT_EQ(GetWindowLongA(m_hList, GWL_STYLE) & LVS_TYPEMASK, LONG(style));
        EXPECT_EQ(Names(m_hList), sorted) << "style " << style;
        EXPECT_EQ(m_pList->m_nSortColumn, 1);
        EXPECT_TRUE(m_pList->m_bSortDescending);
        EXPECT_EQ(Arrow(m_hList, 1), 1) << "style " << style;
        EXPECT_EQ(Arrow(m_hList, 0), -1) << "style " << style;
    }
}

TEST_F(SortTest, ARefillKeepsTheSortColumnAndDirection) {
    ClickHeader(m_hList, 3);
    ClickHeader(m_hList, 3);
    m_pList->Refill();
    EXPECT_EQ(Names(m_hList), (Strings{"a.doc", "d", "b.txt", "C.pdf", "Alpha", "beta"}));
    EXPECT_EQ(Arrow(m_hList, 3), 1);
}

TEST_F(SortTest, SelectionFocusAndMarkStayWithTheirEntriesAcrossASort) {
    SelectRows(m_hList, {RowOf(m_hList, "b.txt"), RowOf(m_hList, "Alpha")});
    ClickHeader(m_hList, 1);
    ClickHeader(m_hList, 1);
    EXPECT_EQ(SelectedNames(m_hList), (Strings{"b.txt", "Alpha"}));
    int nFocus = ListView_GetNextItem(m_hList, -1, LVNI_FOCUSED);
    ASSERT_GE(nFocus, 0);
    EXPECT_EQ(Cell(m_hList, nFocus, 0), "b.txt");
    int nMark = static_cast<int>(SendMessageA(m_hList, LVM_GETSELECTIONMARK, 0, 0));
    ASSERT_GE(nMark, 0);
    EXPECT_EQ(Cell(m_hList, nMark, 0), "b.txt");
}

TEST_F(SortTest, RowsPointAtTheirEntries) {
    for (CFSItem* pEntry : Entries(m_hList)) {
        ASSERT_NE(pEntry, nullptr);
        int nRow = RowOf(m_hList, pEntry->m_data.cFileName);
        EXPECT_EQ(Entries(m_hList)[nRow], pEntry);
    }
}

TEST_F(FileListTest, NothingShownGivesAnEmptyList) {
    m_listing.AddFile("a.txt");
    Show(m_listing);
    ASSERT_EQ(SendMessageA(m_hList, LVM_GETITEMCOUNT, 0, 0), 1);

    Show(nullptr);
    EXPECT_EQ(SendMessageA(m_hList, LVM_GETITEMCOUNT, 0, 0), 0);
    // A computer has shares below it, never files or directories.
    Show(m_listing.m_pServer);
    EXPECT_EQ(SendMessageA(m_hList, LVM_GETITEMCOUNT, 0, 0), 0);
    Listing unlisted(L"new");
    unlisted.m_pShare->m_nSerial = 1;
    delete unlisted.m_pShare->m_pFiles;
    unlisted.m_pShare->m_pFiles = nullptr;
    Show(unlisted);
    EXPECT_EQ(SendMessageA(m_hList, LVM_GETITEMCOUNT, 0, 0), 0);
    Show(nullptr);
}

// Names that sort differently by bytes, by case and by the locale's rules.
TEST_F(FileListTest, NamesFollowLstrcmpiInBothDirections) {
    const char* const names[] = {"a-b",       "ab",  "a_b",  "A b",  "B",        "b2",  "b10",
                                 "\xe9t\xe9", "ete", "Ete2", "zeta", "_x",       "~y",  "1",
                                 "10",        "9",   "a.b",  "a!b",  "\xc4rger", "arg", "Zz"};
    for (const char* name : names)
        m_listing.AddFile(name);
    Show(m_listing);
    for (int pass = 0; pass < 2; pass++) {
        Strings shown = Names(m_hList);
        ASSERT_EQ(shown.size(), std::size(names));
        for (size_t i = 0; i + 1 < shown.size(); i++) {
            int c = lstrcmpiA(shown[i].c_str(), shown[i + 1].c_str());
            if (pass == 0)
                EXPECT_LE(c, 0) << shown[i] << " before " << shown[i + 1];
            else
                EXPECT_GE(c, 0) << shown[i] << " before " << shown[i + 1];
        }
        ClickHeader(m_hList, 0);
    }
}

// Every row shows what the shell answers for that very file, although the shell is asked only
// once per extension: letter case and files with icons of their own included.
TEST_F(FileListTest, EachRowShowsTheShellsAnswerForItsOwnFile) {
    const char* const files[] = {"one.txt",        "two.txt",  "THREE.TXT", "four.Txt",
                                 "setup.exe",      "tool.EXE", "link.lnk",  "noext",
                                 "archive.tar.gz", ".hidden",  "pic.ico"};
    for (const char* name : files)
        m_listing.AddFile(name);
    m_listing.AddDir("folder.txt");
    m_listing.AddDir("plain");
    Show(m_listing);

    int n = static_cast<int>(SendMessageA(m_hList, LVM_GETITEMCOUNT, 0, 0));
    ASSERT_EQ(n, static_cast<int>(std::size(files)) + 2);
    for (int i = 0; i < n; i++) {
        CFSItem* pEntry = Entries(m_hList)[i];
        const WIN32_FIND_DATAA& data = pEntry->m_data;
        SHFILEINFOA sfi = {};
        SHGetFileInfoA(data.cFileName, data.dwFileAttributes, &sfi, sizeof sfi,
                       SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_USEFILEATTRIBUTES |
                           SHGFI_SMALLICON);
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        SendMessageA(m_hList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(Cell(m_hList, i, 0), sfi.szDisplayName) << data.cFileName;
        EXPECT_EQ(item.iImage, sfi.iIcon) << data.cFileName;
        EXPECT_EQ(Cell(m_hList, i, 2), ShellType(data.cFileName, data.dwFileAttributes))
            << data.cFileName;
    }
}

// The shell's image lists are shared: a list that goes must leave them to the next one.
TEST_F(FileListTest, TheSystemImageListsOutliveTheList) {
    SHFILEINFOA sfi = {};
    auto hSmall = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(
        "A", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON));
    ASSERT_NE(hSmall, nullptr);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(m_hList, LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
              hSmall);
    int nImages = ImageList_GetImageCount(hSmall);
    ASSERT_GT(nImages, 0);

    m_host.Close();
    m_pList = nullptr;
    m_hList = nullptr;
    EXPECT_EQ(ImageList_GetImageCount(hSmall), nImages);
}

TEST_F(FileListTest, ColumnsFromTheResourceString) {
    const struct {
        int fmt, cx;
    } expected[] = {{LVCFMT_LEFT, 200}, {LVCFMT_RIGHT, 80}, {LVCFMT_LEFT, 180}, {LVCFMT_LEFT, 125}};
    CString titles;
    titles.LoadString(IDS_FILE_COLUMNS);
    std::string all = titles.GetString(), joined;
    for (int i = 0; i < 4; i++) {
        char title[128] = "";
        LVCOLUMNA col = {};
        col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        col.pszText = title;
        col.cchTextMax = sizeof title;
        ASSERT_TRUE(SendMessageA(m_hList, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&col)));
        EXPECT_EQ(col.fmt & LVCFMT_JUSTIFYMASK, expected[i].fmt) << i;
        EXPECT_EQ(col.cx, expected[i].cx) << i;
        EXPECT_EQ(col.iSubItem, i);
        if (i > 0)
            joined += ';';
        joined += title;
    }
    EXPECT_EQ(joined, all);
    EXPECT_EQ(GetWindowLongA(m_hList, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
}

} // namespace
} // namespace fltest

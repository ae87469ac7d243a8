// The file list's window tests: listings built from records of the test's own, readers of the
// list control's rows, columns and header, and the user's clicks on them.
#pragma once

#include "model/fs_items.h"
#include "model/net_items.h"
#include "views/file_list.h"
#include "tests/views/net_tree_support.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace fltest {

const ULONGLONG GiB = 1ull << 30;

// A file-time from a calendar date in UTC.
FILETIME Utc(int year, int month, int day, int hour = 12, int minute = 0);

// A delivered listing of \\SERVER\<share>, or of a directory below it: the items and the file
// records that a listing result leaves, made by the test. Free() closes them all.
class Listing {
public:
    // pszShare may be a local folder path ("C:\\dir"): the share then has no computer and its
    // entries have local paths.
    explicit Listing(LPCWSTR pszShare = L"docs", LPCWSTR pszServer = L"SERVER");
    ~Listing() { Free(); }
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;

    CLanFile* AddFile(const char* pszName, ULONGLONG nSize = 0, FILETIME ftWrite = Utc(2020, 1, 1),
                      DWORD dwAttributes = FILE_ATTRIBUTE_NORMAL);
    CItemDir* AddDir(const char* pszName, FILETIME ftWrite = Utc(2020, 1, 1));
    // A directory below the share that becomes the listed item: later records go into it.
    CItemDir* Descend(const char* pszName);
    void Free();

    CItemServer* m_pServer = nullptr;
    CItemShare* m_pShare = nullptr;
    CItem* m_pListed = nullptr; // the share, or the directory Descend made
    std::vector<CItem*> m_dirs;
};

// ---- Reading the list control ----------------------------------------------------------------

std::string Cell(HWND hList, int nRow, int nColumn);
// Column 0 of every row, top to bottom.
std::vector<std::string> Names(HWND hList);
// The rows' entries, top to bottom.
std::vector<CFSItem*> Entries(HWND hList);
// The image of the sort arrow that the column shows, or -1 for none (read from the list's
// column and checked against its header item).
int Arrow(HWND hList, int nColumn);
std::vector<std::string> SelectedNames(HWND hList);

// ---- The user's actions ----------------------------------------------------------------------

// A left click on the column's header item.
void ClickHeader(HWND hList, int nColumn);
// Selects exactly these rows (the first one clicked last sets the selection mark).
void SelectRows(HWND hList, const std::vector<int>& rows);
int RowOf(HWND hList, const std::string& name);

// Hosts a list (with the tree beside it, as in the main frame) on a network with nothing in it.
class FileListTest : public nttest::NetTreeTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The simulated network of the test, and its folders, made once it is loaded.
    virtual const char* Network() const { return "[network]\n"; }
    virtual void MakeFolders() {}
    // A list of the test's own class for the frame, or none for the plain one.
    virtual CFileList* NewList() { return nullptr; }
    // Shows the listing in the list as the tree does after selecting its entry.
    void Show(Listing& listing);
    void Show(CItem* pItem);

    Listing m_listing;
    HWND m_hList = nullptr;
    CFileList* m_pList = nullptr;
};

} // namespace fltest

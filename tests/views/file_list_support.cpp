#include "tests/views/file_list_support.h"

#include "tests/model/model_support.h"

namespace fltest {

FILETIME Utc(int year, int month, int day, int hour, int minute) {
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    FILETIME ft = {};
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

namespace {

WIN32_FIND_DATAA Record(const char* pszName, DWORD dwAttributes, ULONGLONG nSize,
                        FILETIME ftWrite) {
    WIN32_FIND_DATAA data = vqtest::FindData(pszName, dwAttributes);
    data.nFileSizeHigh = static_cast<DWORD>(nSize >> 32);
    data.nFileSizeLow = static_cast<DWORD>(nSize);
    data.ftLastWriteTime = ftWrite;
    data.ftCreationTime = ftWrite;
    data.ftLastAccessTime = ftWrite;
    return data;
}

} // namespace

Listing::Listing(LPCWSTR pszShare, LPCWSTR pszServer) {
    bool bLocal = pszShare[0] && pszShare[1] == L':';
    if (!bLocal)
        m_pServer = vqtest::NewComputer(nullptr, pszServer);
    m_pShare = vqtest::NewShare(m_pServer, pszShare);
    m_pShare->m_nSerial = 0;
    m_pShare->m_pFiles = new CLanFiles;
    m_pListed = m_pShare;
}

CLanFile* Listing::AddFile(const char* pszName, ULONGLONG nSize, FILETIME ftWrite,
                           DWORD dwAttributes) {
    auto* pFile = new CLanFile(Record(pszName, dwAttributes, nSize, ftWrite), m_pListed);
    m_pListed->m_pFiles->AddTail(pFile);
    return pFile;
}

CItemDir* Listing::AddDir(const char* pszName, FILETIME ftWrite) {
    auto* pDir = new CItemDir(m_pListed, Record(pszName, FILE_ATTRIBUTE_DIRECTORY, 0, ftWrite));
    CItemArray children;
    children.Add(pDir);
    m_pListed->AttachChildren(children);
    m_dirs.push_back(pDir);
    return pDir;
}

CItemDir* Listing::Descend(const char* pszName) {
    CItemDir* pDir = AddDir(pszName);
    pDir->m_nSerial = 0;
    pDir->m_pFiles = new CLanFiles;
    m_pListed = pDir;
    return pDir;
}

void Listing::Free() {
    // Children before their parents, as the tree closes them.
    for (auto it = m_dirs.rbegin(); it != m_dirs.rend(); ++it)
        (*it)->Close();
    m_dirs.clear();
    if (m_pShare)
        m_pShare->Close();
    if (m_pServer)
        m_pServer->Close();
    m_pShare = nullptr;
    m_pServer = nullptr;
    m_pListed = nullptr;
}

std::string Cell(HWND hList, int nRow, int nColumn) {
    char buf[512] = "";
    LVITEMA item = {};
    item.iSubItem = nColumn;
    item.pszText = buf;
    item.cchTextMax = sizeof buf;
    SendMessageA(hList, LVM_GETITEMTEXTA, nRow, reinterpret_cast<LPARAM>(&item));
    return buf;
}

std::vector<std::string> Names(HWND hList) {
    std::vector<std::string> names;
    int n = static_cast<int>(SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; i++)
        names.push_back(Cell(hList, i, 0));
    return names;
}

std::vector<CFSItem*> Entries(HWND hList) {
    std::vector<CFSItem*> entries;
    int n = static_cast<int>(SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; i++) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        SendMessageA(hList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        entries.push_back(reinterpret_cast<CFSItem*>(item.lParam));
    }
    return entries;
}

int Arrow(HWND hList, int nColumn) {
    LVCOLUMNA col = {};
    col.mask = LVCF_FMT | LVCF_IMAGE;
    SendMessageA(hList, LVM_GETCOLUMNA, nColumn, reinterpret_cast<LPARAM>(&col));
    HWND hHeader = reinterpret_cast<HWND>(SendMessageA(hList, LVM_GETHEADER, 0, 0));
    HDITEMA hdi = {};
    hdi.mask = HDI_FORMAT | HDI_IMAGE;
    SendMessageA(hHeader, HDM_GETITEMA, nColumn, reinterpret_cast<LPARAM>(&hdi));
    bool bList = (col.fmt & LVCFMT_IMAGE) != 0, bHeader = (hdi.fmt & HDF_IMAGE) != 0;
    EXPECT_EQ(bList, bHeader) << "column " << nColumn;
    if (!bList)
        return -1;
    EXPECT_EQ(col.iImage, hdi.iImage) << "column " << nColumn;
    return col.iImage;
}

std::vector<std::string> SelectedNames(HWND hList) {
    std::vector<std::string> names;
    for (int i = ListView_GetNextItem(hList, -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(hList, i, LVNI_SELECTED))
        names.push_back(Cell(hList, i, 0));
    return names;
}

void ClickHeader(HWND hList, int nColumn) {
    HWND hHeader = reinterpret_cast<HWND>(SendMessageA(hList, LVM_GETHEADER, 0, 0));
    RECT rc = {};
    SendMessageA(hHeader, HDM_GETITEMRECT, nColumn, reinterpret_cast<LPARAM>(&rc));
    LPARAM pt = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageA(hHeader, WM_LBUTTONDOWN, MK_LBUTTON, pt);
    SendMessageA(hHeader, WM_LBUTTONUP, 0, pt);
}

void SelectRows(HWND hList, const std::vector<int>& rows) {
    ListView_SetItemState(hList, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int nRow : rows)
        ListView_SetItemState(hList, nRow, LVIS_SELECTED, LVIS_SELECTED);
    if (!rows.empty()) {
        ListView_SetItemState(hList, rows.front(), LVIS_FOCUSED, LVIS_FOCUSED);
        SendMessageA(hList, LVM_SETSELECTIONMARK, 0, rows.front());
    }
}

int RowOf(HWND hList, const std::string& name) {
    std::vector<std::string> names = Names(hList);
    for (size_t i = 0; i < names.size(); i++)
        if (names[i] == name)
            return static_cast<int>(i);
    return -1;
}

void FileListTest::SetUp() {
    nttest::NetTreeTest::SetUp();
    nttest::LoadNetwork(Network());
    MakeFolders();
    // Wide enough for every column's header to be clicked.
    if (CFileList* pList = NewList()) {
        // As Host::Open, with the test's list in the frame.
        m_host.pTree = new CNetTree;
        m_host.pFrame = new nttest::TestFrame(m_host.pTree);
        delete m_host.pFrame->m_pFileList;
        m_host.pFrame->m_pFileList = m_host.pList = pList;
        ASSERT_TRUE(m_host.pFrame->CreateEx(0, AfxRegisterWndClass(0), "Velloquin",
                                            WS_OVERLAPPEDWINDOW, 0, 0, 1400, 600, nullptr,
                                            nullptr));
        m_host.hFrame = m_host.pFrame->m_hWnd;
        m_host.hTree = m_host.pTree->m_hWnd;
        m_host.hList = pList->m_hWnd;
        ShowWindow(m_host.hFrame, SW_SHOW);
        m_host.pFrame->RecalcLayout();
    } else {
        m_host = nttest::Host::Open(nullptr, 1400, 600);
    }
    m_pList = m_host.pList;
    m_hList = m_host.hList;
    ASSERT_NE(m_hList, nullptr);
    // The tree's first listing is out of the way.
    ASSERT_TRUE(nttest::WaitIdle());
}

void FileListTest::TearDown() {
    // The rows and the list's item go before the records they point to.
    if (m_pList && m_pList->m_hWnd) {
        m_pList->m_pItem = nullptr;
        m_pList->DeleteAllItems();
    }
    m_listing.Free();
    nttest::NetTreeTest::TearDown();
}

void FileListTest::Show(Listing& listing) {
    Show(listing.m_pListed);
}

void FileListTest::Show(CItem* pItem) {
    m_pList->m_pItem = pItem;
    m_pList->Refill();
}

} // namespace fltest

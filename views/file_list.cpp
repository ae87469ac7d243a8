#include "views/file_list.h"

#include "res/resource.h"
#include "views/net_tree.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

const UINT SHGFI_ROW =
    SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON; // 0x4211
const UINT SHGFI_NAME = SHGFI_DISPLAYNAME | SHGFI_USEFILEATTRIBUTES;                    // 0x210
const UINT SHGFI_TYPE = SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES;                       // 0x410

const UINT ROW_STATES = LVIS_SELECTED | LVIS_FOCUSED;

struct ColumnDef {
    int nFormat;
    int nWidth;
};
const ColumnDef s_columns[] = {
    {LVCFMT_LEFT, 200},
    {LVCFMT_RIGHT, 80},
    {LVCFMT_LEFT, 180},
    {LVCFMT_LEFT, 125},
};

// Files of these types carry their own icon, so one file's icon says nothing about another's.
// Asked for every file of a fill: letters compared by hand, the extensions being plain ASCII.
bool HasOwnIcon(const char* pszExt) {
    static const char s_exts[][5] = {".exe", ".ico", ".cur", ".ani",
                                     ".lnk", ".url", ".msc", ".icl"};
    if (pszExt[0] != '.' || !pszExt[1] || !pszExt[2] || !pszExt[3] || pszExt[4])
        return false;
    char lower[5] = ".";
    for (int i = 1; i < 4; i++)
        lower[i] = pszExt[i] >= 'A' && pszExt[i] <= 'Z' ? char(pszExt[i] - 'A' + 'a') : pszExt[i];
    for (const char* p : s_exts)
        if (memcmp(lower, p, 5) == 0)
            return true;
    return false;
}

bool IsDirectory(CFSItem* pEntry) {
    return pEntry->GetItem() != nullptr;
}

ULONGLONG FileTimeValue(const FILETIME& ft) {
    return (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

template <class T> int CompareNumbers(T a, T b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

CString ShellDisplayName(const WIN32_FIND_DATAA& data) {
    SHFILEINFOA sfi = {};
    SHGetFileInfoA(data.cFileName, data.dwFileAttributes, &sfi, sizeof(sfi), SHGFI_NAME);
    return sfi.szDisplayName;
}

CString ShellTypeName(const WIN32_FIND_DATAA& data) {
    SHFILEINFOA sfi = {};
    SHGetFileInfoA(data.cFileName, data.dwFileAttributes, &sfi, sizeof(sfi), SHGFI_TYPE);
    return sfi.szTypeName;
}

// The comparison of the rows without any key: the shell is asked for both entries.
int CompareByShell(CFSItem* a, CFSItem* b, int nColumn) {
    bool bDirA = IsDirectory(a), bDirB = IsDirectory(b);
    if (bDirA != bDirB)
        return bDirA ? -1 : 1;
    switch (nColumn) {
    case 0:
        return lstrcmpiA(ShellDisplayName(a->m_data), ShellDisplayName(b->m_data));
    case 1:
        return CompareNumbers(a->GetFileSize(), b->GetFileSize());
    case 2:
        return lstrcmpiA(ShellTypeName(a->m_data), ShellTypeName(b->m_data));
    case 3:
        return CompareFileTime(&a->m_data.ftLastWriteTime, &b->m_data.ftLastWriteTime);
    default:
        return 0;
    }
}

} // namespace

BEGIN_MESSAGE_MAP(CFileList, CListCtrl)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_NOTIFY_REFLECT(LVN_GETDISPINFOA, OnGetDispInfo)
    ON_NOTIFY_REFLECT(LVN_GETDISPINFOW, OnGetDispInfoW)
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
    ON_NOTIFY_REFLECT(LVN_DELETEALLITEMS, OnDeleteAllItems)
    ON_NOTIFY_REFLECT(LVN_ITEMACTIVATE, OnItemActivate)
    ON_NOTIFY_REFLECT(LVN_BEGINDRAG, OnBeginDrag)
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRClick)
    ON_COMMAND(ID_EDIT_DELETE, OnDelete)
    ON_UPDATE_COMMAND_UI(ID_EDIT_DELETE, OnUpdateDelete)
    ON_COMMAND(ID_VIEW_REFRESH, OnRefresh)
    ON_COMMAND(ID_EDIT_COPY, OnCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateCopy)
    ON_COMMAND_RANGE(ID_EDIT_COPY_FULL_PATH, ID_EDIT_COPY_NAME, OnCopyPath)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EDIT_COPY_FULL_PATH, ID_EDIT_COPY_NAME, OnUpdateCopy)
END_MESSAGE_MAP()

CFileList::CFileList() : m_contextMenu(this) {}

CFileList::~CFileList() {
    m_imlSortArrows.DeleteImageList();
    m_contextMenu.ReleaseMenu();
}

LRESULT CFileList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (m_contextMenu.HandleMenuMessage(message, wParam, lParam, &lResult))
        return lResult;
    return CListCtrl::WindowProc(message, wParam, lParam);
}

int CFileList::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
    if (CListCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;

    // The system image lists belong to the shell: the control must not destroy them with itself.
    ModifyStyle(0, LVS_SHAREIMAGELISTS);
    SHFILEINFOA sfi = {};
    auto hLarge = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("A", 0, &sfi, sizeof(sfi), SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES));
    auto hSmall = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(
        "A", 0, &sfi, sizeof(sfi), SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON));
    SetImageList(hLarge, LVSIL_NORMAL);
    SetImageList(hSmall, LVSIL_SMALL);

    m_imlSortArrows.Create(IDB_SORT_ARROWS, 16, 2, RGB(192, 192, 192));

    CString strTitles;
    strTitles.LoadString(IDS_FILE_COLUMNS);
    int nStart = 0;
    for (int i = 0; i < 4; i++) {
        int nEnd = strTitles.Find(';', nStart);
        CString strTitle = nEnd < 0 ? strTitles.Mid(nStart) : strTitles.Mid(nStart, nEnd - nStart);
        nStart = nEnd < 0 ? strTitles.GetLength() : nEnd + 1;
        InsertColumn(i, strTitle, s_columns[i].nFormat, s_columns[i].nWidth, i);
    }

    SetViewMode(LVS_REPORT);
    return 0;
}

void CFileList::OnSetFocus(CWnd* pOldWnd) {
    CListCtrl::OnSetFocus(pOldWnd);
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->SetFocusPane(this);
}

void CFileList::SetViewMode(DWORD dwStyle) {
    ModifyStyle(LVS_TYPEMASK, dwStyle & LVS_TYPEMASK);
    if (CHeaderCtrl* pHeader = GetHeaderCtrl()) {
        pHeader->SetImageList(&m_imlSortArrows);
        SetSortArrow(false);
    }
}

void CFileList::SetSortArrow(bool bRemove) {
    LVCOLUMNA col = {};
    col.mask = LVCF_FMT | LVCF_IMAGE;
    if (!GetColumn(m_nSortColumn, &col))
        return;
    if (bRemove) {
        col.fmt &= ~LVCFMT_IMAGE;
    } else {
        col.fmt |= LVCFMT_IMAGE;
        col.iImage = m_bSortDescending ? 1 : 0;
    }
    SetColumn(m_nSortColumn, &col);
    // Wine's list view does not pass the column's image flag on to its header, which draws the
    // arrow: the header item gets it directly (Windows has it already).
    if (CHeaderCtrl* pHeader = GetHeaderCtrl()) {
        HDITEMA hdi = {};
        hdi.mask = HDI_FORMAT | HDI_IMAGE;
        if (pHeader->SendMessage(HDM_GETITEMA, m_nSortColumn, reinterpret_cast<LPARAM>(&hdi))) {
            if (bRemove)
                hdi.fmt &= ~HDF_IMAGE;
            else
                hdi.fmt |= HDF_IMAGE;
            hdi.iImage = col.iImage;
            pHeader->SendMessage(HDM_SETITEMA, m_nSortColumn, reinterpret_cast<LPARAM>(&hdi));
        }
    }
}

// ---- Rows and their keys

int CFileList::InternType(const char* pszType) {
    auto it = m_typeIndex.find(pszType);
    if (it != m_typeIndex.end())
        return it->second;
    int nType = static_cast<int>(m_typeNames.size());
    m_typeNames.push_back(pszType);
    m_typeIndex.emplace(pszType, nType);
    return nType;
}

void CFileList::Describe(const WIN32_FIND_DATAA& data, RowKey& key) {
    bool bDir = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const char* pszExt = PathFindExtensionA(data.cFileName);
    SHFILEINFOA sfi = {};
    if (!bDir && HasOwnIcon(pszExt)) {
        SHGetFileInfoA(data.cFileName, data.dwFileAttributes, &sfi, sizeof(sfi), SHGFI_ROW);
        key.strName = sfi.szDisplayName;
        key.nImage = sfi.iIcon;
        key.nType = InternType(ShellTypeName(data));
        return;
    }
    // The shell answers ".FOO" and ".foo" differently: the case is part of the key.
    std::string strKey(1, bDir ? 'D' : 'F');
    strKey += pszExt;
    auto it = m_shellTypes.find(strKey);
    if (it != m_shellTypes.end()) {
        SHGetFileInfoA(data.cFileName, data.dwFileAttributes, &sfi, sizeof(sfi), SHGFI_NAME);
        key.strName = sfi.szDisplayName;
        key.nImage = it->second.nImage;
        key.nType = it->second.nType;
        return;
    }
    SHGetFileInfoA(data.cFileName, data.dwFileAttributes, &sfi, sizeof(sfi), SHGFI_ROW);
    key.strName = sfi.szDisplayName;
    key.nImage = sfi.iIcon;
    key.nType = InternType(ShellTypeName(data));
    m_shellTypes.emplace(std::move(strKey), ShellType{key.nImage, key.nType});
}

void CFileList::ClearKeys() {
    m_keys.clear();
    m_keyIndex.clear();
}

void CFileList::BuildKeys(const std::vector<CFSItem*>& entries) {
    ClearKeys();
    m_keys.resize(entries.size());
    m_keyIndex.reserve(entries.size());
    for (size_t i = 0; i < entries.size(); i++) {
        CFSItem* pEntry = entries[i];
        RowKey& key = m_keys[i];
        Describe(pEntry->m_data, key);
        key.nNameRank = 0;
        key.bDir = IsDirectory(pEntry);
        key.nSize = pEntry->GetFileSize();
        key.nTime = FileTimeValue(pEntry->m_data.ftLastWriteTime);
        m_keyIndex.emplace(pEntry, static_cast<int>(i));
    }
    RankNames();
    RankTypes();
}

// Ranks the display names in lstrcmpiA order. The locale's sort keys order them quickly; every
// neighbouring pair is then checked with lstrcmpiA itself, which also decides equal names. Should
// the sort keys disagree anywhere, the names are sorted with lstrcmpiA alone.
void CFileList::RankNames() {
    size_t n = m_keys.size();
    if (n == 0)
        return;
    LCID lcid = GetThreadLocale();
    std::vector<std::string> sortKeys(n);
    std::vector<WCHAR> wide(MAX_PATH + 1);
    std::vector<char> bytes(4096);
    for (size_t i = 0; i < n; i++) {
        int cch = MultiByteToWideChar(CP_ACP, 0, m_keys[i].strName, -1, wide.data(),
                                      static_cast<int>(wide.size()));
        if (cch <= 1)
            continue;
        int cb =
            LCMapStringW(lcid, LCMAP_SORTKEY | NORM_IGNORECASE, wide.data(), cch - 1,
                         reinterpret_cast<LPWSTR>(bytes.data()), static_cast<int>(bytes.size()));
        sortKeys[i].assign(bytes.data(), cb > 0 ? cb : 0);
    }
    std::vector<unsigned> order(n);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](unsigned a, unsigned b) { return sortKeys[a] < sortKeys[b]; });

    std::vector<int> steps(n, 0);
    bool bAgree = true;
    for (size_t i = 1; i < n && bAgree; i++) {
        steps[i] = lstrcmpiA(m_keys[order[i - 1]].strName, m_keys[order[i]].strName);
        bAgree = steps[i] <= 0;
    }
    if (!bAgree) {
        std::iota(order.begin(), order.end(), 0u);
        std::stable_sort(order.begin(), order.end(), [&](unsigned a, unsigned b) {
            return lstrcmpiA(m_keys[a].strName, m_keys[b].strName) < 0;
        });
        for (size_t i = 1; i < n; i++)
            steps[i] = lstrcmpiA(m_keys[order[i - 1]].strName, m_keys[order[i]].strName);
    }
    unsigned nRank = 0;
    for (size_t i = 0; i < n; i++) {
        if (i > 0 && steps[i] != 0)
            nRank++;
        m_keys[order[i]].nNameRank = nRank;
    }
}

void CFileList::RankTypes() {
    size_t n = m_typeNames.size();
    std::vector<unsigned> order(n);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](unsigned a, unsigned b) {
        return lstrcmpiA(m_typeNames[a], m_typeNames[b]) < 0;
    });
    m_typeRank.assign(n, 0);
    unsigned nRank = 0;
    for (size_t i = 0; i < n; i++) {
        if (i > 0 && lstrcmpiA(m_typeNames[order[i - 1]], m_typeNames[order[i]]) != 0)
            nRank++;
        m_typeRank[order[i]] = nRank;
    }
}

const CFileList::RowKey* CFileList::FindKey(const CFSItem* pEntry) const {
    auto it = m_keyIndex.find(pEntry);
    return it == m_keyIndex.end() ? nullptr : &m_keys[it->second];
}

int CFileList::CompareKeys(const RowKey& a, const RowKey& b) const {
    int nResult;
    if (a.bDir != b.bDir) {
        nResult = a.bDir ? -1 : 1;
    } else {
        switch (m_nSortColumn) {
        case 0:
            nResult = CompareNumbers(a.nNameRank, b.nNameRank);
            break;
        case 1:
            nResult = CompareNumbers(a.nSize, b.nSize);
            break;
        case 2:
            nResult = CompareNumbers(m_typeRank[a.nType], m_typeRank[b.nType]);
            break;
        case 3:
            nResult = CompareNumbers(a.nTime, b.nTime);
            break;
        default:
            nResult = 0;
        }
    }
    return m_bSortDescending ? -nResult : nResult;
}

int CALLBACK CFileList::CompareEntries(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
    auto* pList = reinterpret_cast<CFileList*>(lParamSort);
    auto* a = reinterpret_cast<CFSItem*>(lParam1);
    auto* b = reinterpret_cast<CFSItem*>(lParam2);
    const RowKey* pKeyA = pList->FindKey(a);
    const RowKey* pKeyB = pList->FindKey(b);
    if (pKeyA && pKeyB)
        return pList->CompareKeys(*pKeyA, *pKeyB);
    int nResult = CompareByShell(a, b, pList->m_nSortColumn);
    return pList->m_bSortDescending ? -nResult : nResult;
}

void CFileList::Refill() {
    DeleteAllItems();
    ClearKeys();
    if (!m_pItem)
        return;

    // The order that inserting every row at the top would give, file records first, then the
    // directories: rows that compare equal keep it.
    std::vector<CFSItem*> entries;
    for (POSITION pos = m_pItem->GetHeadPosition(); pos;)
        if (CFSItem* pEntry = m_pItem->GetNext(pos)->GetFSItem())
            entries.push_back(pEntry);
    std::reverse(entries.begin(), entries.end());
    size_t nDirs = entries.size();
    if (m_pItem->m_pFiles)
        for (POSITION pos = m_pItem->m_pFiles->GetHeadPosition(); pos;)
            entries.push_back(m_pItem->m_pFiles->GetNext(pos));
    std::reverse(entries.begin() + nDirs, entries.end());

    BuildKeys(entries);
    std::vector<unsigned> order(entries.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](unsigned a, unsigned b) { return CompareKeys(m_keys[a], m_keys[b]) < 0; });

    // Appended in their final order, with the control's drawing off until the end. The rows go
    // straight to the control's own procedure (DefWindowProc): no handler here looks at them.
    SetRedraw(FALSE);
    LVITEMA item = {};
    int nNext = 0;
    for (unsigned nEntry : order) {
        const RowKey& key = m_keys[nEntry];
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = nNext;
        item.iSubItem = 0;
        item.pszText = const_cast<LPSTR>(key.strName.GetString());
        item.iImage = key.nImage;
        item.lParam = reinterpret_cast<LPARAM>(entries[nEntry]);
        int nRow =
            static_cast<int>(DefWindowProc(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (nRow < 0)
            continue;
        nNext = nRow + 1;
        for (int nSubItem = 1; nSubItem <= 3; nSubItem++) {
            LVITEMA sub = {};
            sub.mask = LVIF_TEXT;
            sub.iItem = nRow;
            sub.iSubItem = nSubItem;
            sub.pszText = LPSTR_TEXTCALLBACKA;
            DefWindowProc(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&sub));
        }
    }
    SetRedraw(TRUE);
    Invalidate();
}

void CFileList::SortRows() {
    int n = GetItemCount();
    if (n < 2)
        return;
    struct Row {
        CFSItem* pEntry;
        UINT nState;
    };
    std::vector<Row> rows(n);
    for (int i = 0; i < n; i++) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM | LVIF_STATE;
        item.iItem = i;
        item.stateMask = ROW_STATES;
        DefWindowProc(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        rows[i] = {reinterpret_cast<CFSItem*>(item.lParam), item.state & ROW_STATES};
    }
    int nMark = GetSelectionMark();
    CFSItem* pMarkEntry = nMark >= 0 && nMark < n ? rows[nMark].pEntry : nullptr;

    std::vector<const RowKey*> keys(n);
    bool bMissing = false;
    for (int i = 0; i < n; i++)
        bMissing |= (keys[i] = FindKey(rows[i].pEntry)) == nullptr;
    if (bMissing) {
        std::vector<CFSItem*> entries(n);
        for (int i = 0; i < n; i++)
            entries[i] = rows[i].pEntry;
        BuildKeys(entries);
        for (int i = 0; i < n; i++)
            keys[i] = &m_keys[i];
    }

    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return CompareKeys(*keys[a], *keys[b]) < 0; });

    // The rows are rewritten in place: the control's own sort moves memory for every row out of
    // place and costs far more on long lists.
    SetRedraw(FALSE);
    int nNewMark = -1;
    for (int i = 0; i < n; i++) {
        const Row& row = rows[order[i]];
        if (row.pEntry == pMarkEntry)
            nNewMark = i;
        if (order[i] == i)
            continue;
        const RowKey& key = *keys[order[i]];
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
        item.iItem = i;
        item.pszText = const_cast<LPSTR>(key.strName.GetString());
        item.iImage = key.nImage;
        item.lParam = reinterpret_cast<LPARAM>(row.pEntry);
        item.state = row.nState;
        item.stateMask = ROW_STATES;
        DefWindowProc(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    if (pMarkEntry)
        SendMessage(LVM_SETSELECTIONMARK, 0, nNewMark);
    SetRedraw(TRUE);
    Invalidate();
}

void CFileList::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult) {
    int nColumn = reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem;
    if (nColumn == m_nSortColumn) {
        m_bSortDescending = !m_bSortDescending;
    } else {
        SetSortArrow(true);
        m_nSortColumn = nColumn;
        m_bSortDescending = false;
    }
    SetSortArrow(false);
    SortRows();
    *pResult = 0;
}

void CFileList::OnDeleteAllItems(NMHDR*, LRESULT* pResult) {
    ClearKeys();
    // Nobody needs a notification per row.
    *pResult = TRUE;
}

CString CFileList::GetTypeText(CFSItem* pEntry) {
    if (const RowKey* pKey = FindKey(pEntry))
        return m_typeNames[pKey->nType];
    return ShellTypeName(pEntry->m_data);
}

bool CFileList::GetCellText(CFSItem* pEntry, int nSubItem, CString& strText) {
    switch (nSubItem) {
    case 1: {
        if (IsDirectory(pEntry))
            return true;
        WCHAR szSize[256];
        StrFormatByteSizeW(static_cast<LONGLONG>(pEntry->GetFileSize()), szSize, 256);
        char szText[512];
        if (WideCharToMultiByte(CP_ACP, 0, szSize, -1, szText, sizeof(szText), nullptr, nullptr))
            strText = szText;
        return true;
    }
    case 2:
        strText = GetTypeText(pEntry);
        return true;
    case 3: {
        FILETIME ftLocal;
        SYSTEMTIME st;
        char szDate[512] = "", szTime[256] = "";
        if (FileTimeToLocalFileTime(&pEntry->m_data.ftLastWriteTime, &ftLocal) &&
            FileTimeToSystemTime(&ftLocal, &st)) {
            GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, szDate, 512);
            GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, szTime, 256);
        }
        strText = CString(szDate) + " " + szTime;
        return true;
    }
    default:
        return false;
    }
}

bool CFileList::GetDispText(int nItem, int nSubItem, LPARAM lParam, CString& strText) {
    auto* pEntry = reinterpret_cast<CFSItem*>(lParam);
    if (!pEntry)
        pEntry = GetEntry(nItem);
    return pEntry && GetCellText(pEntry, nSubItem, strText);
}

void CFileList::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(pNMHDR)->item;
    CString strText;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0 &&
        GetDispText(item.iItem, item.iSubItem, item.lParam, strText))
        lstrcpynA(item.pszText, strText, item.cchTextMax);
}

// The same texts for a parent that asks for UTF-16 notifications.
void CFileList::OnGetDispInfoW(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(pNMHDR)->item;
    CString strText;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0 ||
        !GetDispText(item.iItem, item.iSubItem, item.lParam, strText))
        return;
    std::vector<WCHAR> wide(strText.GetLength() + 1);
    MultiByteToWideChar(CP_ACP, 0, strText, -1, wide.data(), static_cast<int>(wide.size()));
    lstrcpynW(item.pszText, wide.data(), item.cchTextMax);
}

void CFileList::AddSelectionTo(CStringList& list) {
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED)) {
        if (CFSItem* pEntry = GetEntry(i)) {
            CString strPath;
            pEntry->GetFullPath(strPath);
            list.AddTail(strPath);
        }
    }
}

// ---- Commands

void CFileList::OpenFile(const CString& strPath) {
    ShellExecuteA(m_hWnd, nullptr, strPath, nullptr, nullptr, SW_SHOW);
}

void CFileList::OnItemActivate(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    // Collected first: opening a file may run messages that change the rows.
    CStringList files;
    HTREEITEM hShow = nullptr;
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED)) {
        CFSItem* pEntry = GetEntry(i);
        if (!pEntry)
            continue;
        if (CItem* pDir = pEntry->GetItem()) {
            if (pDir->m_hTreeItem)
                hShow = pDir->m_hTreeItem;
        } else {
            CString strPath;
            pEntry->GetFullPath(strPath);
            files.AddTail(strPath);
        }
    }
    for (POSITION pos = files.GetHeadPosition(); pos;)
        OpenFile(files.GetNext(pos));
    if (hShow && m_pNetTree)
        m_pNetTree->SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hShow));
}

void CFileList::OnBeginDrag(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    CFilenameList list;
    AddSelectionTo(list);
    if (!list.IsEmpty())
        list.DragFiles();
}

void CFileList::OnRClick(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    POINT pt;
    GetCursorPos(&pt);
    CFilenameList list;
    AddSelectionTo(list);
    m_contextMenu.TrackSelectionMenu(list, pt);
}

void CFileList::OnDelete() {
    CFilenameList list;
    AddSelectionTo(list);
    list.Delete(m_hWnd);
    OnRefresh();
}

void CFileList::OnUpdateDelete(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetSelectedCount() > 0 && m_pItem && m_pItem->GetKind() >= KIND_SHARE);
}

void CFileList::OnRefresh() {
    if (m_pNetTree)
        m_pNetTree->OnRefresh();
    SetFocus();
}

void CFileList::OnCopy() {
    CFilenameList list;
    AddSelectionTo(list);
    if (!list.IsEmpty())
        list.CopyToClipboard();
}

void CFileList::OnUpdateCopy(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_pItem && m_pItem->GetKind() >= KIND_SHARE);
}

void CFileList::OnCopyPath(UINT nID) {
    int nMark = GetSelectionMark();
    if (nMark < 0)
        return;
    // A mark left behind by rows that are gone points at nothing.
    CFSItem* pEntry = GetEntry(nMark);
    if (!pEntry)
        return;
    CString strPath;
    pEntry->GetFullPath(strPath);
    CopyPathToClipboard(nID, strPath);
}

#include "framework/controls.h"

#include "framework/app.h"

namespace {
void InitControls(DWORD dwICC) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), dwICC};
    ::InitCommonControlsEx(&icc);
}
} // namespace

// ---- CImageList

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask) {
    return Attach(ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nBitmapID), cx,
                                       nGrow, crMask, IMAGE_BITMAP, 0));
}

// ---- CTreeCtrl

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    InitControls(ICC_TREEVIEW_CLASSES);
    return CreateEx(0, WC_TREEVIEWA, nullptr, dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage,
                                UINT nState, UINT nStateMask, LPARAM lParam, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
    TVINSERTSTRUCTA tvis{};
    tvis.hParent = hParent;
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = nMask;
    tvis.item.pszText = const_cast<LPSTR>(lpszItem);
    tvis.item.iImage = nImage;
    tvis.item.iSelectedImage = nSelectedImage;
    tvis.item.state = nState;
    tvis.item.stateMask = nStateMask;
    tvis.item.lParam = lParam;
    return InsertItem(&tvis);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
    TVITEMA item{};
    item.hItem = hItem;
    item.mask = TVIF_PARAM;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
    TVITEMA item{};
    item.hItem = hItem;
    item.mask = TVIF_PARAM;
    item.lParam = static_cast<LPARAM>(dwData);
    return SetItem(&item);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) {
    TVITEMA item{};
    item.hItem = hItem;
    item.mask = TVIF_STATE;
    item.state = nState;
    item.stateMask = nStateMask;
    return SetItem(&item);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
    CString strText;
    for (int nSize = 256; nSize <= 65536; nSize *= 4) {
        TVITEMA item{};
        item.hItem = hItem;
        item.mask = TVIF_TEXT;
        item.pszText = strText.GetBufferSetLength(nSize);
        item.cchTextMax = nSize;
        if (!GetItem(&item)) {
            strText.Empty();
            return strText;
        }
        // The control may answer with a pointer of its own (callback texts).
        if (item.pszText != strText.GetString())
            return CString(item.pszText ? item.pszText : "");
        strText.ReleaseBuffer();
        if (strText.GetLength() < nSize - 1)
            break;
    }
    return strText;
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCSTR lpszItem) {
    TVITEMA item{};
    item.hItem = hItem;
    item.mask = TVIF_TEXT;
    item.pszText = const_cast<LPSTR>(lpszItem);
    return SetItem(&item);
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const {
    TVHITTESTINFO hti{};
    hti.pt = pt;
    HTREEITEM hItem = HitTest(&hti);
    if (pFlags)
        *pFlags = hti.flags;
    return hItem;
}

// ---- CListCtrl

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    InitControls(ICC_LISTVIEW_CLASSES);
    return CreateEx(0, WC_LISTVIEWA, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListCtrl::InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat, int nWidth,
                            int nSubItem) {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_TEXT;
    column.fmt = nFormat;
    column.pszText = const_cast<LPSTR>(lpszColumnHeading);
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return InsertColumn(nCol, &column);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, UINT nState, UINT nStateMask,
                          int nImage, LPARAM lParam) {
    LVITEMA item{};
    item.mask = nMask;
    item.iItem = nItem;
    item.pszText = const_cast<LPSTR>(lpszItem);
    item.state = nState;
    item.stateMask = nStateMask;
    item.iImage = nImage;
    item.lParam = lParam;
    return InsertItem(&item);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCSTR lpszText) {
    LVITEMA item{};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPSTR>(lpszText);
    return (BOOL)SendMessage(LVM_SETITEMTEXTA, nItem, (LPARAM)&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
    CString strText;
    for (int nSize = 256; nSize <= 65536; nSize *= 4) {
        LVITEMA item{};
        item.iSubItem = nSubItem;
        item.pszText = strText.GetBufferSetLength(nSize);
        item.cchTextMax = nSize;
        int nLength = (int)SendMessage(LVM_GETITEMTEXTA, nItem, (LPARAM)&item);
        strText.ReleaseBuffer(nLength);
        if (nLength < nSize - 1)
            break;
    }
    return strText;
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    item.lParam = static_cast<LPARAM>(dwData);
    return SetItem(&item);
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    LVITEMA item{};
    item.state = nState;
    item.stateMask = nMask;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, nItem, (LPARAM)&item);
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const {
    LVHITTESTINFO hti{};
    hti.pt = pt;
    int nItem = HitTest(&hti);
    if (pFlags)
        *pFlags = hti.flags;
    return nItem;
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() {
    m_header.m_hWnd = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    return m_header.m_hWnd ? &m_header : nullptr;
}

// ---- CHotKeyCtrl

BOOL CHotKeyCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    InitControls(ICC_HOTKEY_CLASS);
    return CreateEx(0, HOTKEY_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
}

CString CHotKeyCtrl::GetKeyName(UINT vk, BOOL fExtended) {
    LONG lScan = static_cast<LONG>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16;
    if (fExtended)
        lScan |= 0x01000000L;
    char szName[256];
    int n = ::GetKeyNameTextA(lScan, szName, sizeof(szName));
    return CString(szName, n > 0 ? n : 0);
}

CString CHotKeyCtrl::GetHotKeyName() const {
    WORD wCode = 0, wModifiers = 0;
    GetHotKey(wCode, wModifiers);
    CString strName;
    if (wCode == 0 && wModifiers == 0)
        return strName;
    if (wModifiers & HOTKEYF_CONTROL)
        strName += GetKeyName(VK_CONTROL, FALSE) + " + ";
    if (wModifiers & HOTKEYF_SHIFT)
        strName += GetKeyName(VK_SHIFT, FALSE) + " + ";
    if (wModifiers & HOTKEYF_ALT)
        strName += GetKeyName(VK_MENU, FALSE) + " + ";
    strName += GetKeyName(wCode, (wModifiers & HOTKEYF_EXT) != 0);
    return strName;
}

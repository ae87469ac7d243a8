// Thin control wrappers: a window handle and one-line forwards to the control's messages.
// Create() initialises the control's common-controls class first.
#pragma once

#include "framework/cstring.h"
#include "framework/gdi.h"
#include "framework/wnd.h"

#include <commctrl.h>

class CStatic : public CWnd {
public:
    BOOL Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID = 0xffff) {
        return CreateEx(0, "STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
    }
};

// An image list; owns the attached handle (Detach a shared list, such as the system's, before
// the object goes away).
class CImageList {
public:
    CImageList() = default;
    ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow) {
        return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
    }
    // From bitmap resource nBitmapID cut into images cx wide; crMask is transparent.
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    // A copy of another list.
    BOOL Create(CImageList* pImageList) {
        return Attach(ImageList_Duplicate(pImageList->m_hImageList));
    }
    BOOL Attach(HIMAGELIST hImageList) {
        DeleteImageList();
        m_hImageList = hImageList;
        return hImageList != nullptr;
    }
    HIMAGELIST Detach() {
        HIMAGELIST h = m_hImageList;
        m_hImageList = nullptr;
        return h;
    }
    BOOL DeleteImageList() {
        if (!m_hImageList)
            return FALSE;
        BOOL ok = ImageList_Destroy(m_hImageList);
        m_hImageList = nullptr;
        return ok;
    }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }

    int Add(HICON hIcon) { return ImageList_AddIcon(m_hImageList, hIcon); }
    int Add(HBITMAP hbmImage, HBITMAP hbmMask) {
        return ImageList_Add(m_hImageList, hbmImage, hbmMask);
    }
    int Add(HBITMAP hbmImage, COLORREF crMask) {
        return ImageList_AddMasked(m_hImageList, hbmImage, crMask);
    }
    int Replace(int nImage, HICON hIcon) {
        return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon);
    }
    COLORREF SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL SetImageCount(UINT uNewCount) { return ImageList_SetImageCount(m_hImageList, uNewCount); }

    HIMAGELIST m_hImageList = nullptr;
};

// The column header of a list control (not bound to an object of its own).
class CHeaderCtrl : public CWnd {
public:
    HIMAGELIST SetImageList(CImageList* pImageList) {
        return Header_SetImageList(m_hWnd, pImageList ? pImageList->m_hImageList : nullptr);
    }
    int GetItemCount() const { return Header_GetItemCount(m_hWnd); }
};

class CTreeCtrl : public CWnd {
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    HTREEITEM InsertItem(LPTVINSERTSTRUCTA lpInsertStruct) {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, (LPARAM)lpInsertStruct));
    }
    HTREEITEM InsertItem(UINT nMask, LPCSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                         UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
    HTREEITEM InsertItem(LPCSTR lpszItem, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST) {
        return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
    }
    HTREEITEM InsertItem(LPCSTR lpszItem, int nImage, int nSelectedImage,
                         HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST) {
        return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage,
                          nSelectedImage, 0, 0, 0, hParent, hInsertAfter);
    }
    BOOL DeleteItem(HTREEITEM hItem) { return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)hItem); }
    BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }
    BOOL Expand(HTREEITEM hItem, UINT nCode) {
        return (BOOL)SendMessage(TVM_EXPAND, nCode, (LPARAM)hItem);
    }
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, nCode, (LPARAM)hItem));
    }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const {
        return GetNextItem(hItem, TVGN_PREVIOUS);
    }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    BOOL ItemHasChildren(HTREEITEM hItem) const { return GetChildItem(hItem) != nullptr; }
    BOOL Select(HTREEITEM hItem, UINT nCode) {
        return (BOOL)SendMessage(TVM_SELECTITEM, nCode, (LPARAM)hItem);
    }
    BOOL SelectItem(HTREEITEM hItem) { return Select(hItem, TVGN_CARET); }
    BOOL GetItem(TVITEMA* pItem) const { return (BOOL)SendMessage(TVM_GETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(TVITEMA* pItem) { return (BOOL)SendMessage(TVM_SETITEMA, 0, (LPARAM)pItem); }
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const {
        return (UINT)SendMessage(TVM_GETITEMSTATE, (WPARAM)hItem, nStateMask);
    }
    BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
    CString GetItemText(HTREEITEM hItem) const;
    BOOL SetItemText(HTREEITEM hItem, LPCSTR lpszItem);
    BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const {
        *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
        return (BOOL)SendMessage(TVM_GETITEMRECT, bTextOnly, (LPARAM)lpRect);
    }
    BOOL EnsureVisible(HTREEITEM hItem) {
        return (BOOL)SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)hItem);
    }
    // The label editor's window.
    HWND EditLabel(HTREEITEM hItem) {
        return reinterpret_cast<HWND>(SendMessage(TVM_EDITLABELA, 0, (LPARAM)hItem));
    }
    UINT GetCount() const { return (UINT)SendMessage(TVM_GETCOUNT); }
    HTREEITEM HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    HTREEITEM HitTest(TVHITTESTINFO* pHitTestInfo) const {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, (LPARAM)pHitTestInfo));
    }
    // nImageList: TVSIL_NORMAL or TVSIL_STATE; answers the previous list.
    HIMAGELIST SetImageList(CImageList* pImageList, int nImageList) {
        return SetImageList(pImageList ? pImageList->m_hImageList : nullptr, nImageList);
    }
    HIMAGELIST SetImageList(HIMAGELIST hImageList, int nImageList) {
        return reinterpret_cast<HIMAGELIST>(
            SendMessage(TVM_SETIMAGELIST, nImageList, (LPARAM)hImageList));
    }
    HIMAGELIST GetImageList(int nImageList) const {
        return reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, nImageList));
    }
    SHORT GetItemHeight() const { return (SHORT)SendMessage(TVM_GETITEMHEIGHT); }
    SHORT SetItemHeight(SHORT cyHeight) {
        return (SHORT)SendMessage(TVM_SETITEMHEIGHT, (WPARAM)cyHeight);
    }
};

class CListCtrl : public CWnd {
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int InsertColumn(int nCol, const LVCOLUMNA* pColumn) {
        return (int)SendMessage(LVM_INSERTCOLUMNA, nCol, (LPARAM)pColumn);
    }
    int InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    BOOL GetColumn(int nCol, LVCOLUMNA* pColumn) const {
        return (BOOL)SendMessage(LVM_GETCOLUMNA, nCol, (LPARAM)pColumn);
    }
    BOOL SetColumn(int nCol, const LVCOLUMNA* pColumn) {
        return (BOOL)SendMessage(LVM_SETCOLUMNA, nCol, (LPARAM)pColumn);
    }
    int InsertItem(const LVITEMA* pItem) {
        return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)pItem);
    }
    int InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                   LPARAM lParam);
    int InsertItem(int nItem, LPCSTR lpszItem) {
        return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
    }
    int InsertItem(int nItem, LPCSTR lpszItem, int nImage) {
        return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
    }
    BOOL GetItem(LVITEMA* pItem) const { return (BOOL)SendMessage(LVM_GETITEMA, 0, (LPARAM)pItem); }
    BOOL SetItem(const LVITEMA* pItem) { return (BOOL)SendMessage(LVM_SETITEMA, 0, (LPARAM)pItem); }
    // LPSTR_TEXTCALLBACKA as the text asks the parent for it (LVN_GETDISPINFOA).
    BOOL SetItemText(int nItem, int nSubItem, LPCSTR lpszText);
    CString GetItemText(int nItem, int nSubItem) const;
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    UINT GetItemState(int nItem, UINT nMask) const {
        return (UINT)SendMessage(LVM_GETITEMSTATE, nItem, nMask);
    }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    BOOL DeleteItem(int nItem) { return (BOOL)SendMessage(LVM_DELETEITEM, nItem); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(LVM_DELETEALLITEMS); }
    int GetItemCount() const { return (int)SendMessage(LVM_GETITEMCOUNT); }
    int GetNextItem(int nItem, int nFlags) const {
        return (int)SendMessage(LVM_GETNEXTITEM, nItem, MAKELPARAM(nFlags, 0));
    }
    UINT GetSelectedCount() const { return (UINT)SendMessage(LVM_GETSELECTEDCOUNT); }
    int GetSelectionMark() const { return (int)SendMessage(LVM_GETSELECTIONMARK); }
    // pfnCompare gets the two rows' item data and dwData.
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) {
        return (BOOL)SendMessage(LVM_SORTITEMS, dwData, (LPARAM)pfnCompare);
    }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) {
        return (BOOL)SendMessage(LVM_ENSUREVISIBLE, nItem, bPartialOK);
    }
    int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    int HitTest(LVHITTESTINFO* pHitTestInfo) const {
        return (int)SendMessage(LVM_HITTEST, 0, (LPARAM)pHitTestInfo);
    }
    // nImageList: LVSIL_NORMAL, LVSIL_SMALL or LVSIL_STATE; answers the previous list. A
    // shared list (the system's) needs the style LVS_SHAREIMAGELISTS, or the control destroys
    // it with itself.
    HIMAGELIST SetImageList(CImageList* pImageList, int nImageList) {
        return SetImageList(pImageList ? pImageList->m_hImageList : nullptr, nImageList);
    }
    HIMAGELIST SetImageList(HIMAGELIST hImageList, int nImageList) {
        return reinterpret_cast<HIMAGELIST>(
            SendMessage(LVM_SETIMAGELIST, nImageList, (LPARAM)hImageList));
    }
    HIMAGELIST GetImageList(int nImageList) const {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, nImageList));
    }
    // The column header, or none (the object lives as long as this one).
    CHeaderCtrl* GetHeaderCtrl();

private:
    CHeaderCtrl m_header;
};

class CHotKeyCtrl : public CWnd {
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Virtual key in the low byte, HOTKEYF_* modifiers in the high byte.
    void SetHotKey(WORD wVirtualKeyCode, WORD wModifiers) {
        SendMessage(HKM_SETHOTKEY, MAKEWORD(wVirtualKeyCode, wModifiers));
    }
    DWORD GetHotKey() const { return (DWORD)(WORD)SendMessage(HKM_GETHOTKEY); }
    void GetHotKey(WORD& wVirtualKeyCode, WORD& wModifiers) const {
        DWORD dw = GetHotKey();
        wVirtualKeyCode = LOBYTE(LOWORD(dw));
        wModifiers = HIBYTE(LOWORD(dw));
    }
    void SetRules(WORD wInvalidComb, WORD wModifiers) {
        SendMessage(HKM_SETRULES, wInvalidComb, MAKELPARAM(wModifiers, 0));
    }
    // "Ctrl + Shift + A": the names of the modifiers present, in the order Ctrl, Shift, Alt,
    // each followed by " + ", then the key's name. Empty when no key is set.
    CString GetHotKeyName() const;
    // The keyboard layout's name of a virtual key (GetKeyNameTextA of its scan code).
    static CString GetKeyName(UINT vk, BOOL fExtended);
};

// The file list: the files and subdirectories of the item selected in the network tree, with the
// shell's icons and names, sizes, type names and times, sorted by a column; and its commands.
#pragma once

#include "framework/afxwin.h"
#include "model/fs_items.h"
#include "model/item.h"
#include "shell/filename_list.h"
#include "shell/shell_context_menu.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <unordered_map>
#include <vector>

class CNetTree;

class CFileList : public CListCtrl {
public:
    CFileList();
    ~CFileList() override;

    // Removes every row and, when an item is shown, inserts one row per file record and per
    // directory child, sorted.
    void Refill();
    // Appends the full path of every selected row, top to bottom.
    void AddSelectionTo(CStringList& list);
    // LVS_ICON, LVS_REPORT or LVS_LIST; the header keeps its arrow in every style.
    void SetViewMode(DWORD dwStyle);
    void SetSortArrow(bool bRemove);
    // The rows' order: lParam1 and lParam2 are the rows' entries, lParamSort the list.
    static int CALLBACK CompareEntries(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);

    // The entry a row shows, or none.
    CFSItem* GetEntry(int nRow) const { return reinterpret_cast<CFSItem*>(GetItemData(nRow)); }

    CNetTree* m_pNetTree = nullptr;
    CItem* m_pItem = nullptr;
    CShellContextMenu m_contextMenu;
    CImageList m_imlSortArrows;
    int m_nSortColumn = 0;
    bool m_bSortDescending = false;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Opens a file with its associated program; virtual so that a test can see what is opened.
    virtual void OpenFile(const CString& strPath);

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnGetDispInfoW(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDeleteAllItems(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnItemActivate(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnRClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDelete();
    afx_msg void OnUpdateDelete(CCmdUI* pCmdUI);
    afx_msg void OnRefresh();
    afx_msg void OnCopy();
    afx_msg void OnUpdateCopy(CCmdUI* pCmdUI);
    afx_msg void OnCopyPath(UINT nID);

    DECLARE_MESSAGE_MAP()

private:
    // What the shell answers for an extension and directory flag, asked once.
    struct ShellType {
        int nImage;
        int nType; // index in m_typeNames
    };
    // A row's texts and sort keys, computed once per fill.
    struct RowKey {
        CString strName; // the shell's display name, the row's stored text
        int nImage;
        int nType;
        unsigned nNameRank; // position of the name in lstrcmpiA order; equal names share it
        bool bDir;
        ULONGLONG nSize;
        ULONGLONG nTime;
    };

    // The row's display name, icon and type, asking the shell only what is not known yet.
    void Describe(const WIN32_FIND_DATAA& data, RowKey& key);
    int InternType(const char* pszType);
    void BuildKeys(const std::vector<CFSItem*>& entries);
    void RankNames();
    void RankTypes();
    void ClearKeys();
    const RowKey* FindKey(const CFSItem* pEntry) const;
    int CompareKeys(const RowKey& a, const RowKey& b) const;
    // The type text for a row: from its key, else from the shell.
    CString GetTypeText(CFSItem* pEntry);
    // The text of columns 1 to 3; false for any other column, which gets no text.
    bool GetCellText(CFSItem* pEntry, int nSubItem, CString& strText);
    // The text of a row's cell, for the control's display-information notifications.
    bool GetDispText(int nItem, int nSubItem, LPARAM lParam, CString& strText);
    // Reorders the rows by the sort column and direction; selection, focus and selection mark
    // stay with their entries.
    void SortRows();

    std::unordered_map<std::string, ShellType> m_shellTypes;
    std::vector<CString> m_typeNames;
    std::unordered_map<std::string, int> m_typeIndex;
    std::vector<unsigned> m_typeRank;

    std::vector<RowKey> m_keys;
    std::unordered_map<const CFSItem*, int> m_keyIndex;
};

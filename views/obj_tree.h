// The object tree: the upper left pane with the copy transfers that wait for their turn and the
// keyboard shortcuts; it owns the transfer thread and stores the shortcuts in the settings file.
#pragma once

#include "framework/afxwin.h"
#include "res/resource.h"
#include "shell/filename_list.h"

#include <windows.h>
#include <commctrl.h>

#include <atomic>

// Registered ("OsmetVelloquinCanTransfer") during static initialisation; the transfer thread
// posts it to the object tree after each finished copy.
extern const UINT WM_CANTRANSFER;

// Categories of the object tree, by index. Only Transfers and Keyboard shortcuts get a root.
enum {
    CAT_BOOKMARKS = 0,
    CAT_SEARCHES = 1,
    CAT_TRANSFERS = 2,
    CAT_SHORTCUTS = 3,
    CAT_COUNT = 4,
};

// The object of one entry of the tree; the tree owns it.
class CObjItem {
public:
    CObjItem() { ++s_nLive; }
    CObjItem(const CObjItem&) = delete;
    CObjItem& operator=(const CObjItem&) = delete;
    virtual ~CObjItem() { --s_nLive; }

    // Opens an editor; true when the entry changed.
    virtual bool Edit() { return false; }
    virtual void GetText(CString& text) = 0;

    static std::atomic<long> s_nLive;
};

// One copy transfer: the paths to copy, in selection order, and the local destination.
class CTransferJob {
public:
    CTransferJob() { ++s_nLive; }
    CTransferJob(const CTransferJob&) = delete;
    CTransferJob& operator=(const CTransferJob&) = delete;
    ~CTransferJob() { --s_nLive; }

    CFilenameList m_files;
    CString m_strDestDir;

    // Freed on the transfer thread too.
    static std::atomic<long> s_nLive;
};

// A waiting transfer's entry.
class CObjTransfer : public CObjItem {
public:
    explicit CObjTransfer(CTransferJob* pJob) : m_pJob(pJob) {}
    ~CObjTransfer() override { delete m_pJob; }
    // "Copy: a.txt to C:\In", or "Copy: a.txt, ... to C:\In" for more than one path.
    void GetText(CString& text) override;

    CTransferJob* m_pJob; // owned; none once taken out to be started
};

// One keyboard shortcut: hot key (virtual key in bits 0-7, HOTKEYF_* in bits 8-15; only these
// 16 bits count), its display name, and the directory the selection is copied to.
class CShortcutDef {
public:
    CShortcutDef() { ++s_nLive; }
    CShortcutDef(const CShortcutDef&) = delete;
    CShortcutDef& operator=(const CShortcutDef&) = delete;
    ~CShortcutDef() { --s_nLive; }

    int m_nHot = 0;
    CString m_strDestDir;
    CString m_strHotName;

    static std::atomic<long> s_nLive;
};

// A shortcut's entry.
class CObjShortcut : public CObjItem {
public:
    explicit CObjShortcut(CShortcutDef* pDef) : m_pDef(pDef) {}
    ~CObjShortcut() override { delete m_pDef; }
    // Runs the shortcut dialog (through the main frame); true when confirmed.
    bool Edit() override;
    // "Ctrl + Shift + A: copy to C:\In".
    void GetText(CString& text) override;

    CShortcutDef* m_pDef; // owned
};

// The action of one shortcut: the main frame copies its focus pane's selection into the
// shortcut's directory.
void RunShortcut(CShortcutDef* def);

class CObjTree : public CTreeCtrl {
public:
    CObjTree();
    ~CObjTree() override;

    // Makes the entry the caret item and gives the tree the focus.
    void SelectEntry(HTREEITEM hItem);
    // Takes over the job: starts it now, or queues it as the last waiting entry.
    void AddTransfer(CTransferJob* pJob);
    // Hands the job to the transfer thread; only while no transfer runs.
    void StartTransfer(CTransferJob* pJob);
    // Takes over the shortcut: inserts its entry in display-text order and selects it.
    void AddShortcut(CShortcutDef* pDef);
    // Runs every shortcut on this key and modifier byte; true if any matched.
    bool MatchShortcut(BYTE vk, BYTE modifiers);

    // The object of an entry; none for a root or a bad handle.
    CObjItem* GetEntry(HTREEITEM hItem) const;

    // The job being copied; none while the transfer thread is idle. Shared with the thread.
    std::atomic<CTransferJob*> m_pCurrentJob{nullptr};
    HANDLE m_evtWake;           // auto-reset, wakes the transfer thread
    HANDLE m_hThread = nullptr; // none if the thread could not be started
    HTREEITEM m_hCategory[CAT_COUNT] = {};
    CImageList m_imlStates;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnDestroy();
    afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEditDelete();
    afx_msg void OnUpdateEditDelete(CCmdUI* pCmdUI);
    afx_msg LRESULT OnCanTransfer(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    friend UINT TransferThreadProc(LPVOID pParam);

    // Double-click (edit) or Delete on the caret item; false when it is no entry.
    bool ActOnSelection(bool bDelete);
    HTREEITEM InsertEntry(int nCategory, CObjItem* pObject, HTREEITEM hInsertAfter);
    void StopTransferThread();
    void LoadShortcuts();

    CWinThread* m_pThread = nullptr;
    // Jobs handed over (window thread) and taken by the thread; compared once it has ended, so
    // that a job it never took is freed rather than lost.
    long m_nStarted = 0;
    std::atomic<long> m_nTaken{0};
};

// The transfer thread: copies each job handed over, frees it and reports; pParam is the tree.
UINT TransferThreadProc(LPVOID pParam);

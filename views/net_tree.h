// The network tree: the domains, computers, shares and directories of the network model, listed
// on demand by listing threads and merged as their results arrive; and its commands.
#pragma once

#include "framework/afxwin.h"
#include "model/item.h"
#include "shell/filename_list.h"
#include "shell/shell_context_menu.h"
#include "threads/list_job.h"
#include "threads/thread_registry.h"

#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <vector>

class CFileList;

class CNetTree : public CTreeCtrl {
public:
    // State marks: indices in m_imlStates.
    enum {
        STATE_UNLISTED = 1,
        STATE_LISTED = 2,
        STATE_FAILED = 3,
        STATE_LISTING = 4,
    };
    // Item images: indices in m_imlImages.
    enum { IMAGE_UNREACHABLE = 5 };

    CNetTree();
    ~CNetTree() override;

    // The item of an entry; none for a bad handle and for the unreachable-network entry.
    CItem* ItemFromHandle(HTREEITEM hItem);
    // Lists the entry's item (TVI_ROOT: g_root), or passes the request down to its children
    // when the item is busy or, unforced, was listed successfully already.
    void ListItem(HTREEITEM hItem, bool bForce, int nLevels);
    void ListRoot() { ListItem(TVI_ROOT, true, 1); }
    // Closes the items of every entry below hItem, children first; bDelete deletes the entries.
    void CloseChildren(HTREEITEM hItem, bool bDelete);
    void SetStateMark(CListJob* pJob, int nMark);
    // While the drawing is off, the expansion of an entry with many children waits until it
    // comes back.
    void ExpandAndShow(HTREEITEM hItem);
    // Work is left: listings waiting to start, results waiting to be merged, or entries
    // waiting for the drawing to come back.
    bool HasWorkLeft() const {
        return !m_pending.empty() || !m_backlog.empty() || !m_expansions.empty() || m_bRedrawHeld;
    }
    // Clears the busy flag, sets the entry's mark (a result's: listed or failed) and button,
    // expands the entry when it has children, and frees the job.
    void EndJob(CListJob* pJob, int nMark);

    // The tree's Refresh; the file list's Refresh runs it too.
    void OnRefresh();
    // Appends the selected share's or directory's UNC path (the frame's copy-to-directory).
    void AddSelectionTo(CFilenameList& list);

    // Shows the shell's menu for a path at a screen position, the popup owned by the tree.
    // Virtual so that a test can see which path a right click asks for.
    virtual void TrackShellMenu(const CString& strPath, POINT ptScreen);

    CFileList* m_pFileList = nullptr;
    HTREEITEM m_hLastExpanded = nullptr;
    CImageList m_imlStates;
    CImageList m_imlImages;
    CThreads m_threads;
    CShellContextMenu m_contextMenu;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCTA lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnListingDone(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnRClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);

    afx_msg void OnExpand(UINT nID);
    afx_msg void OnDelete();
    afx_msg void OnCopy();
    afx_msg void OnCopyPath(UINT nID);
    afx_msg void OnUpdateRefresh(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAnyItem(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDelete(CCmdUI* pCmdUI);
    afx_msg void OnUpdateCopy(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    // Work in slices. A burst of work (Expand three levels: many listings to start, many
    // results to merge) never holds the window thread for more than about kSliceMs: what is
    // left waits, in order, for a timer, not for a posted message, so that the message queue
    // goes empty in between and timers, painting and input get their turn.
    struct Delivery {
        WPARAM wParam;
        CListResult* pResult;
    };
    struct Expansion {
        HTREEITEM hItem;
        CItem* pItem; // one reference held while it waits
    };
    struct PendingList {
        HTREEITEM hItem;
        CItem* pItem; // one reference held while it waits
        bool bForce;
        int nLevels;
    };
    class Slice {
    public:
        explicit Slice(CNetTree* pTree) : m_pTree(pTree) {
            if (m_pTree->m_nSliceDepth++ == 0)
                m_pTree->m_nSliceStart = GetTickCount64();
        }
        ~Slice() { --m_pTree->m_nSliceDepth; }
        Slice(const Slice&) = delete;
        Slice& operator=(const Slice&) = delete;

    private:
        CNetTree* m_pTree;
    };
    static constexpr UINT_PTR kWorkTimer = 0x4E54;
    static constexpr ULONGLONG kSliceMs = 30;
    static constexpr ULONGLONG kRedrawEveryMs = 400;
    bool SliceSpent() const;
    // ListItem now, or after the listings already waiting when this slice is spent.
    void ListItemInTurn(HTREEITEM hItem, bool bForce, int nLevels);
    void ArmWorkTimer();
    void WorkOff();
    void MergeResult(WPARAM wParam, CListResult* pResult);

    CItem* GetSelectedNetItem();
    int GetSelectedKind();
    bool IsBelow(HTREEITEM hItem, HTREEITEM hAncestor);
    // The entry still shows this item: work that waited for it (held by a reference) may go on.
    bool Shows(HTREEITEM hItem, CItem* pItem);
    HTREEITEM NextItem(HTREEITEM hItem, UINT nCode);
    // The first child entry; TVI_ROOT gives the first top-level entry.
    HTREEITEM FirstChild(HTREEITEM hItem);
    static constexpr int kManyChildren = 256;
    bool HasManyChildren(HTREEITEM hItem);
    void BuildImages();
    void InsertChildren(CListJob* pJob, CItemArray& children);
    void InsertUnreachable();
    void SetEntryState(HTREEITEM hItem, int nMark, int nChildren);
    // Nested suspensions of the control's drawing; the outermost resumes and redraws once.
    void SuspendRedraw();
    void ResumeRedraw();
    void SetDrawable(bool bDrawable);
    // Keeps the file list from showing rows of items that are about to be closed.
    void ReleaseFileList(CItem* pClosing);

    // While entries are being deleted, selection changes made by the control are not followed.
    int m_nDeleting = 0;
    int m_nRedrawOff = 0;
    std::deque<Delivery> m_backlog;
    std::deque<PendingList> m_pending;
    std::vector<Expansion> m_expansions;
    bool m_bWorkTimer = false;
    int m_nSliceDepth = 0;
    ULONGLONG m_nSliceStart = 0;
    bool m_bRedrawHeld = false;
    bool m_bUndrawable = false;
    ULONGLONG m_nLastRedraw = 0;
};

// A listing request, its result and the message that carries the result to the tree's window.
#pragma once

#include "model/fs_items.h"
#include "model/item.h"

#include <windows.h>
#include <commctrl.h>

#include <atomic>

class CNetTree;
class CThreadRegistry;

// wParam: 1 when the listing succeeded, 0 when it failed; lParam: the CListResult, which from
// then on belongs to the receiving window's thread.
#define WM_LISTING_DONE (WM_USER + 2)

class CListJob {
public:
    // Takes a reference on the item, given back when the job is deleted.
    CListJob(CNetTree* pTree, HTREEITEM hItem, CItem* pItem, int nLevels);
    ~CListJob();
    CListJob(const CListJob&) = delete;
    CListJob& operator=(const CListJob&) = delete;

    CNetTree* m_pTree;
    HTREEITEM m_hItem;
    CItem* m_pItem;
    int m_nLevels;
    // Set by CThreads::Start: the registry of the job's thread. The reference taken with it
    // belongs to the thread, not to the job.
    CThreadRegistry* m_pRegistry = nullptr;
    // Set by CThreads::Start: the id of the job's thread.
    DWORD m_nThreadID = 0;

    static std::atomic<long> s_nLive;
};

class CListResult {
public:
    CListResult(CListJob* pJob, CItemArray* pChildren, CLanFiles* pFiles);
    // Deletes the children array (not the children) and the file records still held. The job
    // is left alone.
    ~CListResult();
    CListResult(const CListResult&) = delete;
    CListResult& operator=(const CListResult&) = delete;

    // Hands the file records over to the caller (the item's m_pFiles).
    CLanFiles* TakeFiles() {
        CLanFiles* p = m_pFiles;
        m_pFiles = nullptr;
        return p;
    }
    // For a result that nobody takes: gives back each child's first reference.
    void ReleaseChildren();

    CListJob* m_pJob;
    CItemArray* m_pChildren;
    CLanFiles* m_pFiles;

    static std::atomic<long> s_nLive;
};

// Frees a result that nobody takes, whole: its children, file records, the job (and so the
// job's reference on its item) and the record itself.
void DropListResult(CListResult* pResult);

// The procedure of every listing thread; pParam is the CListJob.
UINT __cdecl ListThreadProc(LPVOID pParam);

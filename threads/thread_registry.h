// The registry of a tree's listing threads: at most 30 run, the others wait in order.
//
// The tree's use: SetTarget(its window) once; per listing, new CListJob (takes a reference on the
// item), then Start(job), which on false leaves the job to the caller to delete. On
// WM_LISTING_DONE: take the files (TakeFiles), AttachChildren(*m_pChildren) to the item when the
// result still belongs to its entry, else ReleaseChildren(); then delete the result and the job
// (which gives back the item's reference). On WM_DESTROY: TerminateAll().
#pragma once

#include "framework/collections.h"
#include "framework/threads.h"
#include "model/ref.h"
#include "threads/list_job.h"

#include <windows.h>

#include <vector>

// The registry's shared state. The base list is the running list. Reference-counted: the tree's
// CThreads holds one reference and every registered thread another, so that a listing abandoned
// at shutdown can still take itself out after the tree is gone.
class CThreadRegistry : public CList<CWinThread*, CWinThread* const&>, public CRef {
public:
    enum { MAX_RUNNING = 30 };

    // Registers a suspended thread; it starts when fewer than MAX_RUNNING run.
    void Add(CWinThread* pThread);
    // Called by a listing thread for itself, as its last step.
    void Remove(CWinThread* pThread);
    // Abandons every listing: running ones finish their call and deliver nothing, waiting ones
    // are resumed only to end without listing. Never waits.
    void TerminateAll();

    // Posts the result to the target window unless the registry was abandoned; false when it
    // was not posted (the caller still owns the result).
    bool Deliver(bool bOk, CListResult* pResult);
    bool IsAbandoned();
    void SetTarget(HWND hWnd);
    HWND GetTarget();
    int GetRunningCount();
    int GetWaitingCount();
    // Thread ids in the order StartWaiting resumed them, while recording is on (tests).
    void RecordStarts(bool bOn);
    std::vector<DWORD> GetStartLog();

    CList<CWinThread*, CWinThread* const&> m_waiting;
    CCriticalSection m_lock;

private:
    void StartWaiting();

    HWND m_hTarget = nullptr;
    bool m_bAbandoned = false;
    bool m_bRecordStarts = false;
    std::vector<DWORD> m_startLog;
};

// The tree's member: starts listing threads and ends them all when the tree goes.
class CThreads {
public:
    CThreads() : m_pRegistry(new CThreadRegistry) {}
    ~CThreads();
    CThreads(const CThreads&) = delete;
    CThreads& operator=(const CThreads&) = delete;

    // The window that receives WM_LISTING_DONE.
    void SetTarget(HWND hWnd) { m_pRegistry->SetTarget(hWnd); }
    // Creates the job's thread suspended and registers it. False when no thread could be made
    // (or after TerminateAll): no message will come and the job is still the caller's.
    bool Start(CListJob* pJob);
    // Abandons every listing without waiting, then frees the results already posted to the
    // target but not yet received (call it on the target's thread, before the window goes).
    void TerminateAll();

    CThreadRegistry* GetRegistry() { return m_pRegistry; }

private:
    CThreadRegistry* m_pRegistry;
};

#include "threads/thread_registry.h"

namespace {
void RemoveThread(CList<CWinThread*, CWinThread* const&>& list, CWinThread* pThread) {
    if (POSITION pos = list.Find(pThread))
        list.RemoveAt(pos);
}
} // namespace

void CThreadRegistry::Add(CWinThread* pThread) {
    CSingleLock lock(m_lock);
    pThread->m_bAutoDelete = FALSE;
    m_waiting.AddTail(pThread);
    StartWaiting();
}

void CThreadRegistry::Remove(CWinThread* pThread) {
    CSingleLock lock(m_lock);
    pThread->m_bAutoDelete = TRUE;
    RemoveThread(m_waiting, pThread);
    RemoveThread(*this, pThread);
    StartWaiting();
}

void CThreadRegistry::StartWaiting() {
    while (!m_bAbandoned && !m_waiting.IsEmpty() && GetCount() < MAX_RUNNING) {
        CWinThread* pThread = m_waiting.RemoveHead();
        AddTail(pThread);
        if (m_bRecordStarts)
            m_startLog.push_back(pThread->m_nThreadID);
        pThread->ResumeThread();
    }
}

void CThreadRegistry::TerminateAll() {
    CSingleLock lock(m_lock);
    // No TerminateThread: a thread killed inside the heap allocator would leave the heap locked.
    m_bAbandoned = true;
    // Each needs the lock to take itself out, so none ends before the lists are emptied.
    while (!m_waiting.IsEmpty())
        m_waiting.RemoveHead()->ResumeThread();
    RemoveAll();
}

bool CThreadRegistry::Deliver(bool bOk, CListResult* pResult) {
    CSingleLock lock(m_lock);
    // Under the lock, so that nothing is posted once TerminateAll has returned.
    if (m_bAbandoned || !m_hTarget)
        return false;
    return PostMessageA(m_hTarget, WM_LISTING_DONE, bOk ? 1 : 0,
                        reinterpret_cast<LPARAM>(pResult)) != FALSE;
}

bool CThreadRegistry::IsAbandoned() {
    CSingleLock lock(m_lock);
    return m_bAbandoned;
}

void CThreadRegistry::SetTarget(HWND hWnd) {
    CSingleLock lock(m_lock);
    m_hTarget = hWnd;
}

HWND CThreadRegistry::GetTarget() {
    CSingleLock lock(m_lock);
    return m_hTarget;
}

int CThreadRegistry::GetRunningCount() {
    CSingleLock lock(m_lock);
    return GetCount();
}

int CThreadRegistry::GetWaitingCount() {
    CSingleLock lock(m_lock);
    return m_waiting.GetCount();
}

void CThreadRegistry::RecordStarts(bool bOn) {
    CSingleLock lock(m_lock);
    m_bRecordStarts = bOn;
    m_startLog.clear();
}

std::vector<DWORD> CThreadRegistry::GetStartLog() {
    CSingleLock lock(m_lock);
    return m_startLog;
}

CThreads::~CThreads() {
    TerminateAll();
    m_pRegistry->Release();
}

bool CThreads::Start(CListJob* pJob) {
    if (m_pRegistry->IsAbandoned())
        return false;
    pJob->m_pRegistry = m_pRegistry;
    CWinThread* pThread =
        AfxBeginThread(ListThreadProc, pJob, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr);
    if (!pThread) {
        pJob->m_pRegistry = nullptr;
        return false;
    }
    pJob->m_nThreadID = pThread->m_nThreadID;
    m_pRegistry->AddRef(); // the thread's, given back by ListThreadProc
    m_pRegistry->Add(pThread);
    return true;
}

void CThreads::TerminateAll() {
    m_pRegistry->TerminateAll();
    HWND hTarget = m_pRegistry->GetTarget();
    if (!hTarget)
        return;
    // Results posted before the abandonment would be lost with the window: free them now.
    MSG msg;
    while (PeekMessageA(&msg, hTarget, WM_LISTING_DONE, WM_LISTING_DONE, PM_REMOVE))
        DropListResult(reinterpret_cast<CListResult*>(msg.lParam));
    m_pRegistry->SetTarget(nullptr);
}

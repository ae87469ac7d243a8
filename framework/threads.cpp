#include "framework/threads.h"

namespace {
thread_local CWinThread* t_pThread = nullptr;
}

CWinThread* AfxGetThread() { return t_pThread; }
void AfxSetThread(CWinThread* pThread) { t_pThread = pThread; }

CWinThread::~CWinThread() {
    if (m_hThread)
        CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize,
                              LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    m_hThread = ::CreateThread(lpSecurityAttrs, nStackSize, ThreadEntry, this,
                               dwCreateFlags & CREATE_SUSPENDED, &m_nThreadID);
    return m_hThread != nullptr;
}

UINT CWinThread::Run() { return m_pfnThreadProc ? m_pfnThreadProc(m_pThreadParams) : 0; }

DWORD WINAPI CWinThread::ThreadEntry(LPVOID pThis) {
    auto* self = static_cast<CWinThread*>(pThis);
    t_pThread = self;
    UINT code = self->Run();
    t_pThread = nullptr;
    // Read the switch only now: the procedure may have turned it on as its last step.
    if (self->m_bAutoDelete)
        delete self;
    return code;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                           UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    auto* pThread = new CWinThread(pfnThreadProc, pParam);
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        delete pThread;
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

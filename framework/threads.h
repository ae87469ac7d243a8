// Worker threads and the lock, thin over the Win32 calls.
#pragma once

#include <windows.h>

typedef UINT(__cdecl* AFX_THREADPROC)(LPVOID);

class CWinThread {
public:
    CWinThread() = default;
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
        : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam) {}
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;
    virtual ~CWinThread();

    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                      LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
    BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
    operator HANDLE() const { return m_hThread; }

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    // When set, the object deletes itself as the thread's procedure returns.
    BOOL m_bAutoDelete = TRUE;

protected:
    virtual UINT Run();

private:
    static DWORD WINAPI ThreadEntry(LPVOID pThis);

    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;
};

// Creates a worker thread object; none when the thread cannot be created.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

// The thread object of the calling thread (the application object on the window thread).
CWinThread* AfxGetThread();
void AfxSetThread(CWinThread* pThread);

class CCriticalSection {
public:
    CCriticalSection() { InitializeCriticalSection(&m_sect); }
    ~CCriticalSection() { DeleteCriticalSection(&m_sect); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;
    BOOL Lock() {
        EnterCriticalSection(&m_sect);
        return TRUE;
    }
    BOOL Unlock() {
        LeaveCriticalSection(&m_sect);
        return TRUE;
    }

private:
    CRITICAL_SECTION m_sect;
};

// Holds a lock for the lifetime of a scope.
class CSingleLock {
public:
    explicit CSingleLock(CCriticalSection& lock) : m_lock(lock) { m_lock.Lock(); }
    ~CSingleLock() { m_lock.Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

private:
    CCriticalSection& m_lock;
};

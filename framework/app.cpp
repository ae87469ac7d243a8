#include "framework/app.h"

#include "framework/frame.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

CWinApp* g_pApp = nullptr;

// Dispatches the queued messages; false when WM_QUIT came (it is kept in m_msgCur).
bool DispatchPending() {
    CWinApp* pApp = AfxGetApp();
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (pApp)
            pApp->m_msgCur = msg;
        if (msg.message == WM_QUIT)
            return false;
        if (!(pApp && pApp->PreTranslateMessage(&msg))) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return true;
}

void RunIdle() {
    if (CWinApp* pApp = AfxGetApp())
        pApp->OnIdle(0);
    else
        CWnd::DeleteTempMap();
}

} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR lpszAppName) {
    g_pApp = this;
    AfxSetThread(this);
    m_hInstance = ::GetModuleHandleA(nullptr);
    char szExe[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szExe, MAX_PATH);
    CString strBase(strrchr(szExe, '\\') ? strrchr(szExe, '\\') + 1 : szExe);
    int nDot = strBase.ReverseFind('.');
    if (nDot > 0)
        strBase = strBase.Left(nDot);
    CString strName;
    if (lpszAppName)
        strName = lpszAppName;
    else if (!strName.LoadString(AFX_IDS_APP_TITLE))
        strName = strBase;
    m_pszAppName = _strdup(strName);
    m_pszProfileName = _strdup(strBase + ".INI");
}

CWinApp::~CWinApp() {
    free(const_cast<char*>(m_pszAppName));
    free(const_cast<char*>(m_pszProfileName));
    if (g_pApp == this)
        g_pApp = nullptr;
    if (AfxGetThread() == this)
        AfxSetThread(nullptr);
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return m_msgCur.message == WM_QUIT ? static_cast<int>(m_msgCur.wParam) : 0;
}

UINT CWinApp::Run() {
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    MSG msg;
    for (;;) {
        while (bIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        do {
            if (!PumpMessage())
                return static_cast<UINT>(ExitInstance());
            if (IsIdleMessage(&m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinApp::PumpMessage() {
    BOOL bRet = ::GetMessageA(&m_msgCur, nullptr, 0, 0);
    if (bRet == 0)
        return FALSE;
    if (bRet == -1)
        return TRUE;
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
    HWND hWndStop = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    for (HWND hWnd = pMsg->hwnd; hWnd;) {
        if (CWnd* pWnd = CWnd::FromHandlePermanent(hWnd))
            if (pWnd->PreTranslateMessage(pMsg))
                return TRUE;
        if (hWnd == hWndStop || !::IsWindow(hWnd) ||
            !(::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD))
            break;
        hWnd = ::GetParent(hWnd);
    }
    return FALSE;
}

BOOL CWinApp::IsIdleMessage(MSG* pMsg) {
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        bool bSame = m_nMsgLast == pMsg->message && m_ptCursorLast.x == pMsg->pt.x &&
                     m_ptCursorLast.y == pMsg->pt.y;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return !bSame;
    }
    // 0x0118: the caret's blink timer.
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL CWinApp::OnIdle(LONG lCount) {
    if (lCount == 0) {
        if (m_pMainWnd)
            if (auto* pFrame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
                pFrame->OnIdleUpdateCmdUI();
        CWnd::DeleteTempMap();
    }
    return FALSE;
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault) {
    return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault) {
    char szValue[4096];
    ::GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault ? lpszDefault : "", szValue,
                               sizeof(szValue), m_pszProfileName);
    return CString(szValue);
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue) {
    char szValue[16];
    snprintf(szValue, sizeof(szValue), "%d", nValue);
    return ::WritePrivateProfileStringA(lpszSection, lpszEntry, szValue, m_pszProfileName);
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue) {
    return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
}

CWinApp* AfxGetApp() {
    return g_pApp;
}
CWnd* AfxGetMainWnd() {
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}
HINSTANCE AfxGetInstanceHandle() {
    return g_pApp ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}
HINSTANCE AfxGetResourceHandle() {
    return AfxGetInstanceHandle();
}
LPCSTR AfxGetAppName() {
    return g_pApp ? g_pApp->m_pszAppName : "";
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->m_hInstance = hInstance;
    AfxSetThread(pApp);
    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd)
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return static_cast<int>(pApp->Run());
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT) {
    HWND hOwner = ::GetActiveWindow();
    if (!hOwner)
        if (CWnd* pMain = AfxGetMainWnd())
            hOwner = ::GetLastActivePopup(pMain->m_hWnd);
    return ::MessageBoxA(hOwner, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString strPrompt;
    strPrompt.LoadString(nIDPrompt);
    return AfxMessageBox(strPrompt, nType, nIDHelp);
}

void AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1) {
    rString.LoadString(nIDS);
    rString.Replace("%1", lpsz1 ? lpsz1 : "");
}

void AfxPumpPending() {
    if (DispatchPending())
        RunIdle();
}

bool AfxPumpUntil(const std::function<bool()>& done, DWORD dwTimeoutMs) {
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        bool bQuit = !DispatchPending();
        if (!bQuit)
            RunIdle();
        if (done())
            return true;
        DWORD dwElapsed = ::GetTickCount() - dwStart;
        if (bQuit || dwElapsed >= dwTimeoutMs)
            return false;
        DWORD dwWait = dwTimeoutMs - dwElapsed;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, dwWait < 50 ? dwWait : 50, QS_ALLINPUT,
                                      MWMO_INPUTAVAILABLE);
    }
}

// CWinApp: the application object (one per program, static lifetime), its message loop with
// idle-time updates, the profile functions, and the global helpers of the framework.
#pragma once

#include "framework/cstring.h"
#include "framework/message_map.h"
#include "framework/threads.h"
#include "framework/wnd.h"

#include <windows.h>

#include <functional>

class CWinApp : public CWinThread, public CCmdTarget {
    DECLARE_MESSAGE_MAP()

public:
    // Without a name, the name is string AFX_IDS_APP_TITLE (57344), else the exe's base name.
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // Answers the exit code (the WM_QUIT code once the loop has ended).
    virtual int ExitInstance();
    // The message loop: runs until WM_QUIT, then ExitInstance; answers its code.
    UINT Run() override;
    // Walks from the message's window up to the main window, calling PreTranslateMessage of
    // every window of ours on the way (innermost first); TRUE when one consumed the message.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Idle time: lCount 0 updates the main frame's bars (tool bar button states, status bar
    // indicators) and frees temporary window objects. Answers whether more idle work remains.
    virtual BOOL OnIdle(LONG lCount);
    // Waits for one message and dispatches it; FALSE on WM_QUIT.
    virtual BOOL PumpMessage();
    // Messages after which the idle-time updates run again (not WM_PAINT, not the caret timer,
    // not a mouse move that did not move).
    virtual BOOL IsIdleMessage(MSG* pMsg);

    // Profile functions on the file m_pszProfileName (GetPrivateProfile*A, WritePrivate*A).
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    // Reads at most 4095 characters.
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    // A null value removes the entry; a null entry removes the whole section.
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    // Both strings are allocated with malloc and freed by the destructor; to replace one,
    // free() the old string and assign a _strdup() copy.
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszProfileName = nullptr; // default: the exe's base name plus ".INI"
    MSG m_msgCur{};

protected:
    // ID_APP_EXIT: closes the main window.
    afx_msg void OnAppExit();

private:
    POINT m_ptCursorLast{-1, -1};
    UINT m_nMsgLast = 0;
};

CWinApp* AfxGetApp();
// The application's main window, or none.
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
LPCSTR AfxGetAppName();

// The program's entry: InitInstance, then Run; when InitInstance fails, ExitInstance at once.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// A message box with the application's name as caption, owned by the active window of ours.
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
// rString := string nIDS with every "%1" replaced by lpsz1.
void AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1);

// ---- For window tests: run the window thread's loop without Run().
// Dispatches every queued message (through the PreTranslateMessage chain, as Run does), then
// runs one idle pass. A WM_QUIT is taken out of the queue and stored in m_msgCur.
void AfxPumpPending();
// Pumps messages and idle passes until done() holds or dwTimeoutMs have passed (or WM_QUIT
// arrives); answers done().
bool AfxPumpUntil(const std::function<bool()>& done, DWORD dwTimeoutMs = 5000);

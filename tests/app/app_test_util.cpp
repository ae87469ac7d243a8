#include "tests/app/app_test_util.h"

#include <commctrl.h>

#include <vector>

namespace apptest {

std::string ProfilePath() {
    char szExe[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szExe, MAX_PATH);
    CString strIni;
    CApp::MakeProfilePath(szExe, strIni);
    return strIni.GetString();
}

std::string ReadIni(const char* pszSection, const char* pszKey) {
    char szValue[256] = "";
    ::GetPrivateProfileStringA(pszSection, pszKey, "<none>", szValue, sizeof(szValue),
                               ProfilePath().c_str());
    return szValue;
}

void RemoveIni() {
    std::string path = ProfilePath();
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
}

bool FindMenuItem(HMENU hMenu, UINT nID, HMENU& hPopup, UINT& nPos) {
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        if (HMENU hSub = ::GetSubMenu(hMenu, i)) {
            if (FindMenuItem(hSub, nID, hPopup, nPos))
                return true;
        } else if (::GetMenuItemID(hMenu, i) == nID) {
            hPopup = hMenu;
            nPos = static_cast<UINT>(i);
            return true;
        }
    }
    return false;
}

UINT MenuItemState(CMainFrame* pFrame, UINT nID) {
    HMENU hMenu = ::GetMenu(pFrame->m_hWnd);
    HMENU hPopup = nullptr;
    UINT nPos = 0;
    if (!FindMenuItem(hMenu, nID, hPopup, nPos)) {
        ADD_FAILURE() << "no menu item " << nID;
        return MF_GRAYED;
    }
    // Which top-level popup holds it: the index goes with WM_INITMENUPOPUP.
    int nTop = 0;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i)
        if (::GetSubMenu(hMenu, i) == hPopup)
            nTop = i;
    pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), MAKELPARAM(nTop, 0));
    return ::GetMenuState(hPopup, nPos, MF_BYPOSITION);
}

bool ToolButtonEnabled(CMainFrame* pFrame, UINT nID) {
    AfxPumpPending();
    return pFrame->m_wndToolBar.SendMessage(TB_ISBUTTONENABLED, nID) != 0;
}

bool ToolButtonChecked(CMainFrame* pFrame, UINT nID) {
    AfxPumpPending();
    return pFrame->m_wndToolBar.SendMessage(TB_ISBUTTONCHECKED, nID) != 0;
}

CString StatusText(CMainFrame* pFrame) {
    return pFrame->m_wndStatusBar.GetPaneText(0);
}

void ClickInto(HWND hWnd) {
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, in, sizeof(INPUT));
    // The click is in once the focus has moved and the queue is empty again.
    PumpUntil([hWnd] { return ::GetFocus() == hWnd; }, 3000);
    AfxPumpPending();
}

void PressKey(WORD vk, bool bCtrl, bool bShift) {
    std::vector<INPUT> in;
    auto add = [&in](WORD k, bool bUp) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    if (bCtrl)
        add(VK_CONTROL, false);
    if (bShift)
        add(VK_SHIFT, false);
    add(vk, false);
    add(vk, true);
    if (bShift)
        add(VK_SHIFT, true);
    if (bCtrl)
        add(VK_CONTROL, true);
    ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
    // Input arrives asynchronously: pump until the key-up of the last key has been handled.
    PumpUntil([vk] { return !(::GetKeyState(vk) & 0x8000); }, 2000);
    for (int i = 0; i < 5; ++i) {
        ::Sleep(20);
        AfxPumpPending();
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD dwMs) {
    return AfxPumpUntil(done, dwMs);
}

namespace {

struct DialogWatch {
    std::function<void(HWND)> check;
    DWORD dwStart;
    DWORD dwMs;
    bool bSeen;
};
DialogWatch* t_pWatch = nullptr;

BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam) {
    char cls[16] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (strcmp(cls, "#32770") == 0 && ::IsWindowVisible(hWnd)) {
        *reinterpret_cast<HWND*>(lParam) = hWnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK WatchTimer(HWND, UINT, UINT_PTR nID, DWORD) {
    DialogWatch* w = t_pWatch;
    if (!w || w->bSeen)
        return;
    HWND hDlg = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&hDlg));
    if (hDlg) {
        w->bSeen = true;
        ::KillTimer(nullptr, nID);
        w->check(hDlg);
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else if (::GetTickCount() - w->dwStart > w->dwMs) {
        ::KillTimer(nullptr, nID);
    }
}

} // namespace

bool WithDialog(const std::function<void()>& action, const std::function<void(HWND)>& check,
                DWORD dwMs) {
    DialogWatch watch{check, ::GetTickCount(), dwMs, false};
    t_pWatch = &watch;
    UINT_PTR nTimer = ::SetTimer(nullptr, 0, 50, WatchTimer);
    action();
    ::KillTimer(nullptr, nTimer);
    t_pWatch = nullptr;
    return watch.bSeen;
}

void AppTest::SetUp() {
    RemoveIni();
    StartApp();
}

void AppTest::StartApp() {
    ASSERT_TRUE(theApp.InitInstance());
    m_bRunning = true;
    m_pFrame = dynamic_cast<CMainFrame*>(theApp.m_pMainWnd);
    ASSERT_NE(m_pFrame, nullptr);
    AfxPumpPending();
}

void AppTest::StopApp() {
    if (!m_bRunning)
        return;
    m_bRunning = false;
    if (theApp.m_pMainWnd)
        theApp.m_pMainWnd->DestroyWindow();
    m_pFrame = nullptr;
    // Takes the WM_QUIT that the main window's end posts.
    AfxPumpPending();
    theApp.ExitInstance();
}

void AppTest::TearDown() {
    StopApp();
    CMainFrame::s_pfnGetTickCount = ::GetTickCount;
}

} // namespace apptest

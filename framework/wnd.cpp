#include "framework/wnd_internal.h"

#include "framework/afxwin.h"

#include <list>
#include <memory>
#include <string>
#include <unordered_map>

namespace {

thread_local std::unordered_map<HWND, CWnd*> t_permanent;
thread_local std::unordered_map<HWND, std::unique_ptr<CWnd>> t_temporary;
// The object whose window CreateEx is creating, until the window is bound to it.
thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hHookCreate = nullptr;

struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
thread_local const CurrentMessage* t_pCurrentMsg = nullptr;

// Windows of other classes whose procedure could not be given back at unbinding (something
// subclassed them after us): their messages still reach AfxWndProc, which passes them on.
thread_local std::unordered_map<HWND, WNDPROC> t_orphans;

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd && !t_orphans.empty()) {
        auto it = t_orphans.find(hWnd);
        if (it != t_orphans.end()) {
            const WNDPROC pfnSuper = it->second;
            if (message == WM_NCDESTROY)
                t_orphans.erase(it);
            return ::CallWindowProcA(pfnSuper, hWnd, message, wParam, lParam);
        }
    }
    if (!pWnd && message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        if (t_pWndInit && cs->lpCreateParams == t_pWndInit) {
            pWnd = t_pWndInit;
            t_pWndInit = nullptr;
            AfxWndAccess::Bind(pWnd, hWnd, false);
        }
    }
    if (!pWnd)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    return AfxWndAccess::Call(pWnd, hWnd, message, wParam, lParam);
}

// Windows of other classes are bound when they come into being, before their first message.
LRESULT CALLBACK AfxCbtHook(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HCBT_CREATEWND && t_pWndInit) {
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        AfxWndAccess::Bind(pWnd, reinterpret_cast<HWND>(wParam), true);
    }
    return ::CallNextHookEx(t_hHookCreate, nCode, wParam, lParam);
}

bool IsOwnClass(LPCSTR lpszClassName, HINSTANCE hInstance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    return ::GetClassInfoExA(hInstance, lpszClassName, &wc) && wc.lpfnWndProc == AfxWndProc;
}

} // namespace

// ---- Binding

void AfxWndAccess::Bind(CWnd* pWnd, HWND hWnd, bool bSubclass) {
    pWnd->m_hWnd = hWnd;
    t_permanent[hWnd] = pWnd;
    t_temporary.erase(hWnd);
    t_orphans.erase(hWnd);
    // A window of our own classes needs no subclassing: AfxWndProc finds its object already.
    if (bSubclass &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) != AfxWndProc)
        pWnd->m_pfnSuper = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
}

void AfxWndAccess::Unbind(CWnd* pWnd, bool bWindowGone) {
    if (!pWnd->m_hWnd)
        return;
    // A window past WM_NCDESTROY gets no more messages: its procedure stays as it is.
    if (pWnd->m_pfnSuper && !bWindowGone) {
        const auto pfnNow =
            reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(pWnd->m_hWnd, GWLP_WNDPROC));
        if (pfnNow == AfxWndProc)
            ::SetWindowLongPtrA(pWnd->m_hWnd, GWLP_WNDPROC,
                                reinterpret_cast<LONG_PTR>(pWnd->m_pfnSuper));
        else
            t_orphans[pWnd->m_hWnd] = pWnd->m_pfnSuper;
    }
    auto it = t_permanent.find(pWnd->m_hWnd);
    if (it != t_permanent.end() && it->second == pWnd)
        t_permanent.erase(it);
    pWnd->m_hWnd = nullptr;
    pWnd->m_pfnSuper = nullptr;
}

LRESULT AfxWndAccess::Call(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CurrentMessage cur{message, wParam, lParam};
    const CurrentMessage* pPrev = t_pCurrentMsg;
    t_pCurrentMsg = &cur;
    LRESULT lResult = pWnd->WindowProc(message, wParam, lParam);
    t_pCurrentMsg = pPrev;
    // The object may be gone (a frame deletes itself once its window is destroyed); it is
    // alive as long as it is still bound to its window.
    if (CWnd::FromHandlePermanent(hWnd) != pWnd)
        return lResult;
    if (message == WM_NCDESTROY && pWnd->m_hWnd == hWnd) {
        Unbind(pWnd, true);
        CWinApp* pApp = AfxGetApp();
        if (pApp && pApp->m_pMainWnd == pWnd) {
            pApp->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        pWnd->PostNcDestroy(); // may delete the object
    }
    return lResult;
}

CWnd* AfxWndFromHandle(HWND hWnd) {
    return CWnd::FromHandle(hWnd);
}

// ---- CCmdTarget

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{AfxEntry::End, 0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    const bool bUpdate = static_cast<UINT>(nCode) == CN_UPDATE_COMMAND_UI;
    const AFX_MSGMAP_ENTRY* e = FindMapEntry([&](const AFX_MSGMAP_ENTRY& entry) {
        if (nID < entry.nID || nID > entry.nLastID)
            return false;
        if (bUpdate)
            return entry.nKind == AfxEntry::UpdateUI;
        return entry.nKind == AfxEntry::Command && entry.nCode == static_cast<UINT>(nCode);
    });
    if (!e)
        return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        return TRUE;
    }
    LRESULT lResult = 0;
    AFX_CALLARGS args{WM_COMMAND, 0, 0, &lResult, nID, pExtra};
    return e->pfn(this, args);
}

// ---- CWnd

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        ::DestroyWindow(m_hWnd);
        AfxWndAccess::Unbind(this); // in case the window belongs to another thread
    }
    m_hWnd = nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto it = t_permanent.find(hWnd);
    return it == t_permanent.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    auto& slot = t_temporary[hWnd];
    if (!slot) {
        slot = std::make_unique<CWnd>();
        slot->m_hWnd = hWnd;
    }
    return slot.get();
}

void CWnd::DeleteTempMap() {
    for (auto& entry : t_temporary)
        entry.second->m_hWnd = nullptr;
    t_temporary.clear();
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, CCreateContext*) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    int x = rect.left, y = rect.top, cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
    if (rect.left != CW_USEDEFAULT) {
        cx = rect.right - rect.left;
        cy = rect.bottom - rect.top;
    } else {
        y = CW_USEDEFAULT;
    }
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam) {
    CREATESTRUCTA cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    const bool bOwn = IsOwnClass(cs.lpszClass, cs.hInstance);
    CWnd* pPrevInit = t_pWndInit;
    HHOOK hPrevHook = t_hHookCreate;
    t_pWndInit = this;
    if (!bOwn)
        t_hHookCreate = ::SetWindowsHookExA(WH_CBT, AfxCbtHook, nullptr, ::GetCurrentThreadId());
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                  bOwn ? this : cs.lpCreateParams);
    if (!bOwn)
        ::UnhookWindowsHookEx(t_hHookCreate);
    t_hHookCreate = hPrevHook;
    const bool bNeverBound = t_pWndInit == this;
    t_pWndInit = pPrevInit;
    if (!hWnd) {
        // A window that existed was destroyed and PostNcDestroy ran: the object may be gone.
        if (bNeverBound)
            PostNcDestroy();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!hWnd || m_hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    AfxWndAccess::Bind(this, hWnd, true);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    return pParent && SubclassWindow(::GetDlgItem(pParent->m_hWnd, nID));
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = m_hWnd;
    AfxWndAccess::Unbind(this);
    return hWnd;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_pfnSuper)
        return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    if (!t_pCurrentMsg || !m_hWnd)
        return 0;
    return DefWindowProc(t_pCurrentMsg->message, t_pCurrentMsg->wParam, t_pCurrentMsg->lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        if (!pNMHDR || !pNMHDR->hwndFrom)
            return FALSE;
        LRESULT lResult = 0;
        if (!OnNotify(wParam, lParam, &lResult))
            return FALSE;
        *pResult = lResult;
        return TRUE;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC &&
        ReflectChildNotify(reinterpret_cast<HWND>(lParam), message, wParam, lParam, pResult))
        return TRUE;
    const AFX_MSGMAP_ENTRY* e = FindMapEntry([message](const AFX_MSGMAP_ENTRY& entry) {
        if (entry.nKind == AfxEntry::Message)
            return entry.nMessage == message;
        return entry.nKind == AfxEntry::Registered && message != 0 &&
               *entry.pnRegistered == message;
    });
    if (!e)
        return FALSE;
    AFX_CALLARGS args{message, wParam, lParam, pResult, 0, nullptr};
    return e->pfn(this, args);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    auto hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (!hWndCtrl) {
        // Menu or accelerator: a command that its update handler disables does not run.
        if (nID == 0)
            return FALSE;
        CTestCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
        nCode = CN_COMMAND;
    } else {
        LRESULT lResult = 0;
        if (ReflectChildNotify(hWndCtrl, WM_COMMAND, wParam, lParam, &lResult))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (ReflectChildNotify(pNMHDR->hwndFrom, WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
    const UINT nID = static_cast<UINT>(pNMHDR->idFrom);
    const UINT nCode = pNMHDR->code;
    const AFX_MSGMAP_ENTRY* e = FindMapEntry([&](const AFX_MSGMAP_ENTRY& entry) {
        return entry.nKind == AfxEntry::Notify && entry.nCode == nCode && nID >= entry.nID &&
               nID <= entry.nLastID;
    });
    if (!e)
        return FALSE;
    AFX_CALLARGS args{WM_NOTIFY, wParam, lParam, pResult, nID, nullptr};
    return e->pfn(this, args);
}

BOOL CWnd::ReflectChildNotify(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT* pResult) {
    CWnd* pChild = FromHandlePermanent(hWndChild);
    return pChild && pChild->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const AFX_MSGMAP_ENTRY* e = nullptr;
    if (message == WM_NOTIFY) {
        const UINT nCode = reinterpret_cast<NMHDR*>(lParam)->code;
        e = FindMapEntry([nCode](const AFX_MSGMAP_ENTRY& entry) {
            return entry.nKind == AfxEntry::NotifyReflect && entry.nCode == nCode;
        });
    } else if (message == WM_COMMAND) {
        const UINT nCode = HIWORD(wParam);
        e = FindMapEntry([nCode](const AFX_MSGMAP_ENTRY& entry) {
            return entry.nKind == AfxEntry::ControlReflect && entry.nCode == nCode;
        });
    } else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        e = FindMapEntry(
            [](const AFX_MSGMAP_ENTRY& entry) { return entry.nKind == AfxEntry::CtlColorReflect; });
    }
    if (!e)
        return FALSE;
    LRESULT lResult = 0;
    AFX_CALLARGS args{message, wParam, lParam, &lResult, 0, nullptr};
    if (!e->pfn(this, args))
        return FALSE;
    *pResult = lResult;
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return TRUE;
}

void CWnd::PostNcDestroy() {}

CFrameWnd* CWnd::GetParentFrame() const {
    if (!m_hWnd || !(::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_CHILD))
        return nullptr;
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
        if (auto* pFrame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(h)))
            return pFrame;
        if (!(::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD))
            break;
    }
    return nullptr;
}

void CWnd::GetWindowText(CString& rString) const {
    int n = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, rString.GetBufferSetLength(n), n + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
    HWND hItem = ::GetDlgItem(m_hWnd, nID);
    int n = hItem ? ::GetWindowTextLengthA(hItem) : 0;
    ::GetDlgItemTextA(m_hWnd, nID, rString.GetBufferSetLength(n), n + 1);
    rString.ReleaseBuffer();
    return rString.GetLength();
}

namespace {

BOOL ModifyWindowLong(HWND hWnd, int nIndex, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    const auto dwOld = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, nIndex));
    const DWORD dwNew = (dwOld & ~dwRemove) | dwAdd;
    if (dwOld == dwNew)
        return FALSE;
    ::SetWindowLongPtrA(hWnd, nIndex, dwNew);
    if (nFlags)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

} // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyWindowLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    return ModifyWindowLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

int CWnd::OnCreate(LPCREATESTRUCTA) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnContextMenu(CWnd*, CPoint) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
LRESULT CWnd::OnNcHitTest(CPoint) {
    return Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) {
    Default();
}
void CWnd::OnMenuSelect(UINT, UINT, HMENU) {
    Default();
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    // Names live as long as the program; a list keeps their addresses stable.
    static std::list<std::string> s_names;
    HINSTANCE hInstance = AfxGetInstanceHandle();
    char szName[128];
    wsprintfA(szName, "Afx:%p:%x:%p:%p:%p", hInstance, nClassStyle, hCursor, hbrBackground, hIcon);
    for (const std::string& name : s_names)
        if (name == szName)
            return name.c_str();
    WNDCLASSA wc{};
    if (!::GetClassInfoA(hInstance, szName, &wc)) {
        wc.style = nClassStyle;
        wc.lpfnWndProc = AfxWndProc;
        wc.hInstance = hInstance;
        wc.hIcon = hIcon;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.lpszClassName = szName;
        if (!::RegisterClassA(&wc))
            return nullptr;
    }
    s_names.push_back(szName);
    return s_names.back().c_str();
}

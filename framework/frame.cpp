#include "framework/frame.h"

#include "framework/app.h"
#include "framework/bars.h"
#include "framework/cmd_ui.h"
#include "framework/menu.h"

#include <algorithm>

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_INITMENUPOPUP()
    ON_WM_MENUSELECT()
    ON_MESSAGE(WM_EXITMENULOOP, OnExitMenuLoop)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

CFrameWnd::~CFrameWnd() {
    if (m_hAccelTable)
        ::DestroyAcceleratorTable(m_hAccelTable);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext*) {
    m_nIDHelp = nIDResource;
    CString strFull;
    if (strFull.LoadString(nIDResource)) {
        int n = strFull.Find('\n');
        m_strTitle = n >= 0 ? strFull.Left(n) : strFull;
    }
    HINSTANCE hInst = AfxGetResourceHandle();
    HMENU hMenu = ::LoadMenuA(hInst, MAKEINTRESOURCEA(nIDResource));
    if (!m_hAccelTable)
        m_hAccelTable = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(nIDResource));
    if (!CreateEx(0, nullptr, m_strTitle, dwDefaultStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->m_hWnd : nullptr, hMenu)) {
        // The object is gone (PostNcDestroy); a menu that no window took is freed here.
        if (hMenu && ::IsMenu(hMenu))
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    RecalcLayout();
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!cs.lpszClass)
        cs.lpszClass =
            AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1),
                                ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDHelp)));
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

void CFrameWnd::PostNcDestroy() {
    delete this;
}

void CFrameWnd::RecalcLayout(BOOL) {
    if (!m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    for (CControlBar* pBar : m_bars) {
        if (!pBar->m_hWnd || !(pBar->GetStyle() & WS_VISIBLE))
            continue;
        int cy = pBar->CalcFixedLayout(rc.Width()).cy;
        if (pBar->m_dwStyle & CBRS_ALIGN_BOTTOM) {
            rc.bottom = std::max<LONG>(rc.top, rc.bottom - cy);
            pBar->MoveWindow(rc.left, rc.bottom, rc.Width(), cy);
        } else {
            pBar->MoveWindow(rc.left, rc.top, rc.Width(), cy);
            rc.top = std::min<LONG>(rc.bottom, rc.top + cy);
        }
    }
    if (HWND hPane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST))
        ::MoveWindow(hPane, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
}

void CFrameWnd::EnableDocking(DWORD) {}

void CFrameWnd::DockControlBar(CControlBar*, UINT, LPCRECT) {
    RecalcLayout();
}

void CFrameWnd::AddControlBar(CControlBar* pBar) {
    if (std::find(m_bars.begin(), m_bars.end(), pBar) == m_bars.end())
        m_bars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar) {
    m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), pBar), m_bars.end());
}

void CFrameWnd::SetMessageText(LPCSTR lpszText) {
    if (auto* pBar = dynamic_cast<CStatusBar*>(
            FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR))))
        if (pBar->GetCount() > 0)
            pBar->SetPaneText(0, lpszText);
}

void CFrameWnd::SetMessageText(UINT nID) {
    CString strMessage;
    GetMessageString(nID, strMessage);
    SetMessageText(strMessage);
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const {
    CString strFull;
    if (!strFull.LoadString(nID)) {
        rMessage.Empty();
        return;
    }
    int n = strFull.Find('\n');
    rMessage = n >= 0 ? strFull.Left(n) : strFull;
}

void CFrameWnd::SetFocusPane(CWnd*) {}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg) {
    return pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable &&
           ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
}

void CFrameWnd::OnIdleUpdateCmdUI() {
    std::vector<CControlBar*> bars = m_bars; // an update handler may destroy a bar
    for (CControlBar* pBar : bars)
        if (std::find(m_bars.begin(), m_bars.end(), pBar) != m_bars.end() && pBar->m_hWnd)
            pBar->OnUpdateCmdUI(this, TRUE);
}

BOOL CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (CWnd::OnNotify(wParam, lParam, pResult))
        return TRUE;
    auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    if (pNMHDR->code != TTN_GETDISPINFOA && pNMHDR->code != TTN_GETDISPINFOW)
        return FALSE;
    // Tool tips: the text after "\n" of the command's string.
    UINT nID = static_cast<UINT>(pNMHDR->idFrom);
    auto* pTipA = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
    if (pTipA->uFlags & TTF_IDISHWND)
        nID = ::GetDlgCtrlID(reinterpret_cast<HWND>(pNMHDR->idFrom));
    CString strTip;
    CString strFull;
    if (nID && strFull.LoadString(nID)) {
        int n = strFull.Find('\n');
        if (n >= 0)
            strTip = strFull.Mid(n + 1);
    }
    if (pNMHDR->code == TTN_GETDISPINFOA) {
        lstrcpynA(pTipA->szText, strTip, sizeof(pTipA->szText));
        pTipA->lpszText = pTipA->szText;
        pTipA->hinst = nullptr;
    } else {
        auto* pTipW = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
        int nChars = ::MultiByteToWideChar(CP_ACP, 0, strTip, -1, pTipW->szText,
                                           sizeof(pTipW->szText) / sizeof(WCHAR));
        if (nChars == 0)
            pTipW->szText[0] = 0;
        pTipW->szText[sizeof(pTipW->szText) / sizeof(WCHAR) - 1] = 0;
        pTipW->lpszText = pTipW->szText;
        pTipW->hinst = nullptr;
    }
    *pResult = 0;
    return TRUE;
}

void CFrameWnd::OnSize(UINT nType, int, int) {
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd*) {
    if (m_hWndLastFocus && ::IsWindow(m_hWndLastFocus) && ::IsChild(m_hWnd, m_hWndLastFocus)) {
        ::SetFocus(m_hWndLastFocus);
        return;
    }
    if (HWND hPane = ::GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST)) {
        ::SetFocus(hPane);
        return;
    }
    Default();
}

void CFrameWnd::OnActivate(UINT nState, CWnd*, BOOL) {
    if (nState == WA_INACTIVE) {
        HWND hFocus = ::GetFocus();
        if (hFocus && ::IsChild(m_hWnd, hFocus))
            m_hWndLastFocus = hFocus;
    }
    Default();
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu) {
    Default();
    if (bSysMenu)
        return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    UINT nCount = pPopupMenu->GetMenuItemCount();
    for (UINT i = 0; i < nCount; ++i) {
        UINT nID = pPopupMenu->GetMenuItemID(i);
        if (nID == 0 || nID == static_cast<UINT>(-1)) // separator, submenu
            continue;
        state.m_nID = nID;
        state.m_nIndex = i;
        state.DoUpdate(this, TRUE);
    }
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu) {
    if (nFlags == 0xFFFF && !hSysMenu) {
        SetMessageText(AFX_IDS_IDLEMESSAGE);
    } else if (nItemID == 0 || (nFlags & (MF_POPUP | MF_SEPARATOR))) {
        SetMessageText("");
    } else if (nItemID >= 0xF000 && nItemID < 0xF1F0) {
        SetMessageText(AFX_IDS_SCFIRST + ((nItemID & 0x0FFF) >> 4));
    } else {
        SetMessageText(nItemID);
    }
}

LRESULT CFrameWnd::OnExitMenuLoop(WPARAM, LPARAM) {
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    return Default();
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
    int nVK = pCmdUI->m_nID == ID_INDICATOR_CAPS ? VK_CAPITAL : VK_NUMLOCK;
    pCmdUI->Enable(::GetKeyState(nVK) & 1);
}

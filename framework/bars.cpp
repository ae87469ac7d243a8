#include "framework/bars.h"

#include "framework/app.h"
#include "framework/cmd_ui.h"
#include "framework/frame.h"

#include <algorithm>

namespace {

// Update target for one tool bar button.
class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        SetState(TBSTATE_ENABLED, bOn ? TBSTATE_ENABLED : 0);
    }
    void SetCheck(int nCheck) override {
        SetState(TBSTATE_CHECKED | TBSTATE_INDETERMINATE, nCheck == 1   ? TBSTATE_CHECKED
                                                          : nCheck == 2 ? TBSTATE_INDETERMINATE
                                                                        : 0);
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(LPCSTR) override {}

private:
    // Changes only what differs, so that idle updates do not redraw the bar.
    void SetState(UINT nMask, UINT nBits) {
        HWND hBar = m_pOther->m_hWnd;
        LRESULT lOld = ::SendMessageA(hBar, TB_GETSTATE, m_nID, 0);
        if (lOld == -1)
            return;
        UINT nOld = static_cast<UINT>(lOld);
        UINT nNew = (nOld & ~nMask) | nBits;
        if (nNew != nOld)
            ::SendMessageA(hBar, TB_SETSTATE, m_nID, MAKELPARAM(nNew, 0));
    }
};

} // namespace

// Update target for one status bar indicator: disabled hides its text.
class CStatusCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        auto* pBar = static_cast<CStatusBar*>(m_pOther);
        Show(bOn ? pBar->m_panes[m_nIndex].strIndicator : CString());
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR lpszText) override { Show(CString(lpszText)); }

private:
    void Show(const CString& strText) {
        auto* pBar = static_cast<CStatusBar*>(m_pOther);
        if (!(pBar->GetPaneText(m_nIndex) == strText))
            pBar->SetPaneText(m_nIndex, strText);
    }
};

// ---- CControlBar

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CControlBar::~CControlBar() {
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
}

BOOL CControlBar::CreateBar(LPCSTR lpszClassName, DWORD dwCtrlStyle, DWORD dwStyle,
                            CWnd* pParentWnd, UINT nID) {
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | WS_CHILD;
    if (!CreateEx(0, lpszClassName, nullptr, dwWndStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    m_pDockSite = dynamic_cast<CFrameWnd*>(pParentWnd);
    if (m_pDockSite)
        m_pDockSite->AddControlBar(this);
    return TRUE;
}

void CControlBar::OnDestroy() {
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
    Default();
}

// ---- CToolBar

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_NOTIFY_REFLECT(TBN_HOTITEMCHANGE, OnHotItemChange)
END_MESSAGE_MAP()

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect, UINT nID) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    DWORD dwCtrl = dwCtrlStyle | CCS_TOP | CCS_NODIVIDER;
    if (dwStyle & CBRS_TOOLTIPS)
        dwCtrl |= TBSTYLE_TOOLTIPS;
    if (!CreateBar(TOOLBARCLASSNAMEA, dwCtrl, dwStyle, pParentWnd, nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, 0, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc =
        ::FindResourceA(hInst, MAKEINTRESOURCEA(nIDResource), MAKEINTRESOURCEA(VQ_RT_TOOLBAR));
    if (!hRsrc || !::FindResourceA(hInst, MAKEINTRESOURCEA(nIDResource), RT_BITMAP))
        return FALSE;
    DWORD cbData = ::SizeofResource(hInst, hRsrc);
    auto* pData = static_cast<const WORD*>(::LockResource(::LoadResource(hInst, hRsrc)));
    if (!pData || cbData < 4 * sizeof(WORD) || pData[0] != 1)
        return FALSE;
    int cx = pData[1], cy = pData[2], nItems = pData[3];
    if (cbData < (4 + static_cast<DWORD>(nItems)) * sizeof(WORD))
        return FALSE;
    const WORD* pIDs = pData + 4;

    std::vector<TBBUTTON> buttons(nItems);
    int nImages = 0;
    for (int i = 0; i < nItems; ++i) {
        TBBUTTON& b = buttons[i];
        b = TBBUTTON{};
        if (pIDs[i] == ID_SEPARATOR) {
            b.fsStyle = BTNS_SEP;
        } else {
            b.iBitmap = nImages++;
            b.idCommand = pIDs[i];
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
        }
    }
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(cx, cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(cx + 7, cy + 7));
    // The control maps the bitmap's greys, black and white to the system's button colours.
    TBADDBITMAP addBitmap{hInst, nIDResource};
    if (nImages > 0 && SendMessage(TB_ADDBITMAP, nImages, (LPARAM)&addBitmap) == -1)
        return FALSE;
    if (nItems > 0 && !SendMessage(TB_ADDBUTTONSA, nItems, (LPARAM)buttons.data()))
        return FALSE;
    SendMessage(TB_AUTOSIZE);
    if (m_pDockSite)
        m_pDockSite->RecalcLayout();
    return TRUE;
}

UINT CToolBar::GetItemID(int nIndex) const {
    TBBUTTON b{};
    if (!SendMessage(TB_GETBUTTON, nIndex, (LPARAM)&b) || (b.fsStyle & BTNS_SEP))
        return ID_SEPARATOR;
    return b.idCommand;
}

CSize CToolBar::CalcFixedLayout(int nFrameWidth) {
    SendMessage(TB_AUTOSIZE); // the control sets its own height
    CRect rc;
    GetWindowRect(&rc);
    return CSize(nFrameWidth, rc.Height());
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CToolCmdUI state;
    state.m_pOther = this;
    int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        UINT nID = GetItemID(i);
        if (nID == ID_SEPARATOR)
            continue;
        state.m_nIndex = i;
        state.m_nID = nID;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

void CToolBar::OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    if (!(m_dwStyle & CBRS_FLYBY) || !m_pDockSite)
        return;
    auto* pHot = reinterpret_cast<NMTBHOTITEM*>(pNMHDR);
    if (pHot->dwFlags & HICF_LEAVING)
        m_pDockSite->SetMessageText(AFX_IDS_IDLEMESSAGE);
    else
        m_pDockSite->SetMessageText(static_cast<UINT>(pHot->idNew));
}

// ---- CStatusBar

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    DWORD dwCtrl = 0;
    if (pParentWnd && (pParentWnd->GetStyle() & WS_THICKFRAME))
        dwCtrl |= SBARS_SIZEGRIP;
    return CreateBar(STATUSCLASSNAMEA, dwCtrl, dwStyle, pParentWnd, nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    HDC hDC = ::GetDC(m_hWnd);
    HFONT hFont = GetFont();
    HGDIOBJ hOldFont = ::SelectObject(hDC, hFont ? hFont : ::GetStockObject(DEFAULT_GUI_FONT));
    BOOL bResult = TRUE;
    std::vector<Pane> panes;
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane{lpIDArray[i], CString(), 0};
        if (pane.nID != ID_SEPARATOR) {
            if (!pane.strIndicator.LoadString(pane.nID))
                bResult = FALSE;
            SIZE size{};
            ::GetTextExtentPoint32A(hDC, pane.strIndicator, pane.strIndicator.GetLength(), &size);
            pane.cxWidth = size.cx + 12;
        }
        panes.push_back(pane);
    }
    ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(m_hWnd, hDC);
    m_panes = panes;
    UpdateParts();
    for (int i = 0; i < GetCount(); ++i)
        SetPaneText(i, m_panes[i].strIndicator);
    return bResult;
}

void CStatusBar::UpdateParts() {
    int nCount = GetCount();
    if (nCount == 0 || !m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    // The first message pane stretches; the others keep their text's width.
    int nStretch = -1;
    int cxFixed = 0;
    for (int i = 0; i < nCount; ++i) {
        if (m_panes[i].nID == ID_SEPARATOR && nStretch < 0)
            nStretch = i;
        else
            cxFixed += m_panes[i].cxWidth;
    }
    if (GetStyle() & SBARS_SIZEGRIP)
        cxFixed += ::GetSystemMetrics(SM_CXVSCROLL);
    int cxStretch = std::max(0, static_cast<int>(rc.Width()) - cxFixed);
    std::vector<int> edges(nCount);
    int x = 0;
    for (int i = 0; i < nCount; ++i) {
        x += i == nStretch ? cxStretch : m_panes[i].cxWidth;
        edges[i] = x;
    }
    edges[nCount - 1] = -1;
    SendMessage(SB_SETPARTS, nCount, (LPARAM)edges.data());
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate) {
    BOOL ok = (BOOL)SendMessage(SB_SETTEXTA, nIndex, (LPARAM)(lpszNewText ? lpszNewText : ""));
    if (bUpdate)
        UpdateWindow();
    return ok;
}

CString CStatusBar::GetPaneText(int nIndex) const {
    int nLength = LOWORD(SendMessage(SB_GETTEXTLENGTHA, nIndex));
    CString strText;
    SendMessage(SB_GETTEXTA, nIndex, (LPARAM)strText.GetBufferSetLength(nLength));
    strText.ReleaseBuffer();
    return strText;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
    for (int i = 0; i < GetCount(); ++i)
        if (m_panes[i].nID == nIDFind)
            return i;
    return -1;
}

CSize CStatusBar::CalcFixedLayout(int nFrameWidth) {
    SendMessage(WM_SIZE); // the control sets its own height
    CRect rc;
    GetWindowRect(&rc);
    return CSize(nFrameWidth, rc.Height());
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL) {
    CStatusCmdUI state;
    state.m_pOther = this;
    for (int i = 0; i < GetCount(); ++i) {
        if (m_panes[i].nID == ID_SEPARATOR)
            continue;
        state.m_nIndex = i;
        state.m_nID = m_panes[i].nID;
        // An indicator without an update handler keeps its text.
        state.DoUpdate(pTarget, FALSE);
    }
}

void CStatusBar::OnSize(UINT, int, int) {
    Default();
    UpdateParts();
}

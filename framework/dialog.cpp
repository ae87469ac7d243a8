#include "framework/dialog.h"

#include "framework/app.h"
#include "framework/wnd_internal.h"

#include <algorithm>

namespace {
// The dialog that DoModal is starting, until its window is bound.
thread_local CDialog* t_pDlgInit = nullptr;
} // namespace

// ---- Data exchange

HWND CDataExchange::PrepareCtrl(int nIDC) {
    m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    m_bEditLastControl = FALSE;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWnd = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWnd;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_hWndLastControl) {
        m_pDlgWnd->SendMessage(WM_NEXTDLGCTL, (WPARAM)m_hWndLastControl, TRUE);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    m_bFailed = TRUE;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (pDX->m_bFailed || rControl.m_hWnd)
        return;
    rControl.SubclassWindow(::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX->m_bFailed)
        return;
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int n = ::GetWindowTextLengthA(hWndCtrl);
        ::GetWindowTextA(hWndCtrl, value.GetBufferSetLength(n), n + 1);
        value.ReleaseBuffer();
    } else {
        ::SetWindowTextA(hWndCtrl, value);
    }
}

// ---- CDialog

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOKCommand)
    ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal() {
    HWND hOwner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!hOwner)
        if (CWnd* pMain = AfxGetMainWnd())
            hOwner = pMain->m_hWnd;
    if (hOwner)
        hOwner = ::GetAncestor(hOwner, GA_ROOT);
    CDialog* pPrevInit = t_pDlgInit;
    t_pDlgInit = this;
    INT_PTR nResult = ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate),
                                        hOwner, DialogProc, reinterpret_cast<LPARAM>(this));
    t_pDlgInit = pPrevInit;
    return nResult;
}

// Reached only by messages that the dialog's map left to the default procedure, and by the
// first messages before the dialog is bound: binds it at the first one.
INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
    if (CWnd::FromHandlePermanent(hWnd))
        return FALSE;
    CDialog* pDlg = message == WM_INITDIALOG ? reinterpret_cast<CDialog*>(lParam) : t_pDlgInit;
    if (!pDlg || pDlg->m_hWnd)
        return FALSE;
    if (pDlg == t_pDlgInit)
        t_pDlgInit = nullptr;
    AfxWndAccess::Bind(pDlg, hWnd, true);
    // WM_INITDIALOG came before the subclass existed: answer it here.
    if (message == WM_INITDIALOG)
        return pDlg->HandleInitDialog(0, 0);
    return FALSE;
}

namespace {

// A dialog opens centred over its owner (over the work area when there is none to see), within
// the work area, unless its initialisation placed it: the template's position is rarely meant.
void CentreUnlessPlaced(HWND hWnd, const RECT& rcBefore) {
    RECT rc;
    ::GetWindowRect(hWnd, &rc);
    if (!::EqualRect(&rc, &rcBefore))
        return;
    HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    ::GetMonitorInfoA(::MonitorFromWindow(hOwner ? hOwner : hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    RECT rcOver = mi.rcWork;
    if (hOwner && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner))
        ::GetWindowRect(hOwner, &rcOver);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    int x = (rcOver.left + rcOver.right - cx) / 2, y = (rcOver.top + rcOver.bottom - cy) / 2;
    x = std::max(mi.rcWork.left, std::min<LONG>(x, mi.rcWork.right - cx));
    y = std::max(mi.rcWork.top, std::min<LONG>(y, mi.rcWork.bottom - cy));
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    RECT rcBefore;
    ::GetWindowRect(m_hWnd, &rcBefore);
    const BOOL bResult = OnInitDialog();
    if (m_hWnd)
        CentreUnlessPlaced(m_hWnd, rcBefore);
    return bResult;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

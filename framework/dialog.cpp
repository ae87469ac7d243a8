#include "framework/dialog.h"

#include "framework/app.h"
#include "framework/wnd_internal.h"

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
        return pDlg->OnInitDialog();
    return FALSE;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    return OnInitDialog();
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

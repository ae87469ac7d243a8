// CDialog: a modal dialog from a template resource, with data exchange between members and
// controls (DoDataExchange, DDX_*). Commands IDOK and IDCANCEL run OnOK and OnCancel.
#pragma once

#include "framework/cstring.h"
#include "framework/wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    // The control's window; remembered as the one that a failure puts the focus on.
    HWND PrepareCtrl(int nIDC);
    // The same for an edit control: a failure also selects its whole text.
    HWND PrepareEditCtrl(int nIDC);
    // Fails the exchange: focus to the last prepared control; the following DDX calls do
    // nothing and UpdateData answers FALSE. Call it last in the code that detects the error.
    void Fail();

    BOOL m_bSaveAndValidate; // TRUE: controls -> members (reading, on OK); FALSE: filling
    CWnd* m_pDlgWnd;
    BOOL m_bFailed = FALSE;

private:
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;
};

// Binds control nIDC to rControl (subclasses it) the first time.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

class CDialog : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog modally; its owner is the parent given, else the application's main
    // window (disabled while the dialog runs). Answers EndDialog's value, -1 on failure.
    virtual INT_PTR DoModal();
    // Fills the controls (UpdateData(FALSE)); TRUE lets the system focus the first control.
    virtual BOOL OnInitDialog();
    void EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }
    // Runs DoDataExchange; FALSE when it failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void GotoDlgCtrl(CWnd* pWndCtrl) { GotoDlgCtrl(pWndCtrl ? pWndCtrl->m_hWnd : nullptr); }
    void GotoDlgCtrl(HWND hWndCtrl) { SendMessage(WM_NEXTDLGCTL, (WPARAM)hWndCtrl, TRUE); }
    void NextDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 1, 0); }

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // Reads the controls (UpdateData(TRUE)) and ends with IDOK; stays open when that fails.
    virtual void OnOK();
    virtual void OnCancel();

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    afx_msg void OnOKCommand() { OnOK(); }
    afx_msg void OnCancelCommand() { OnCancel(); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
};

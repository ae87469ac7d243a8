#include "app/dlg_shortcut.h"

#include "res/resource.h"

#include <shlobj.h>

namespace {

// Opens the browser at the folder typed in the field.
int CALLBACK BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM /*lParam*/, LPARAM lpData) {
    if (uMsg == BFFM_INITIALIZED)
        ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, lpData);
    return 0;
}

} // namespace

BEGIN_MESSAGE_MAP(CDlgShortcut, CDialog)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CDlgShortcut::CDlgShortcut(CShortcutDef* def)
    : CDialog(IDD_SHORTCUT), m_pDef(def), m_nHot(def->m_nHot), m_strDestDir(def->m_strDestDir),
      m_strHotName(def->m_strHotName) {}

void CDlgShortcut::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HOTKEY, m_ctlHotKey);
    DDX_Text(pDX, IDC_DEST_DIR, m_strDestDir);
    if (!pDX->m_bSaveAndValidate) {
        // No combination is invalid: a key without modifiers is a shortcut too.
        m_ctlHotKey.SendMessage(HKM_SETRULES, 0, 0x0F);
        m_ctlHotKey.SendMessage(HKM_SETHOTKEY, LOWORD(m_nHot));
        return;
    }
    m_nHot = static_cast<int>(static_cast<WORD>(m_ctlHotKey.SendMessage(HKM_GETHOTKEY)));
    m_strHotName = m_ctlHotKey.GetHotKeyName();
    if (m_nHot == 0) {
        AfxMessageBox(IDS_INVALID_SHORTCUT, MB_OK | MB_ICONEXCLAMATION);
        pDX->PrepareEditCtrl(IDC_DEST_DIR);
        pDX->Fail();
    }
}

void CDlgShortcut::OnOK() {
    if (!UpdateData(TRUE))
        return;
    m_pDef->m_nHot = m_nHot;
    m_pDef->m_strDestDir = m_strDestDir;
    m_pDef->m_strHotName = m_strHotName;
    EndDialog(IDOK);
}

void CDlgShortcut::OnBrowse() {
    CString text;
    GetDlgItemText(IDC_DEST_DIR, text);

    BROWSEINFOA bi = {};
    bi.hwndOwner = m_hWnd;
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    bi.lpfn = BrowseCallbackProc;
    bi.lParam = reinterpret_cast<LPARAM>(text.GetString());
    LPITEMIDLIST pidl = ::SHBrowseForFolderA(&bi);
    if (!pidl)
        return;
    char path[MAX_PATH];
    if (::SHGetPathFromIDListA(pidl, path))
        SetDlgItemText(IDC_DEST_DIR, path);
    ::CoTaskMemFree(pidl);
}

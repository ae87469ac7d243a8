// The keyboard-shortcut dialog: a hot key and the directory that the selection is copied to.
#pragma once

#include "framework/afxwin.h"
#include "views/obj_tree.h"

class CDlgShortcut : public CDialog {
public:
    // Works on copies of def's values; def changes only when the user confirms.
    explicit CDlgShortcut(CShortcutDef* def);

    CShortcutDef* m_pDef; // not owned
    int m_nHot;
    CString m_strDestDir;
    CString m_strHotName;
    CHotKeyCtrl m_ctlHotKey;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    afx_msg void OnBrowse();

    DECLARE_MESSAGE_MAP()
};

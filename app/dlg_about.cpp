#include "app/dlg_about.h"

#include "res/resource.h"

CDlgAbout::CDlgAbout() : CDialog(IDD_ABOUTBOX) {}

void CDlgAbout::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LINK_MAIL, m_linkMail);
    DDX_Control(pDX, IDC_LINK_WEB, m_linkWeb);
}

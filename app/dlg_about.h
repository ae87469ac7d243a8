// The about box: program name and version, credit line, and two links (mail and web).
#pragma once

#include "app/static_link.h"
#include "framework/afxwin.h"

class CDlgAbout : public CDialog {
public:
    CDlgAbout();

    CStaticLink m_linkMail;
    CStaticLink m_linkWeb;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

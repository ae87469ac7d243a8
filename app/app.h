// The application object: start-up and exit, the hidden-shares setting in the INI file beside
// the exe, and the two commands that concern the whole application.
#pragma once

#include "framework/afxwin.h"

class CApp : public CWinApp {
public:
    CApp();
    ~CApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // The settings file of an exe: its path with the extension replaced by ".ini" (appended when
    // there is none). False when the result would not fit in MAX_PATH characters or would be the
    // exe itself: then there is no settings file.
    static bool MakeProfilePath(const char* pszExe, CString& strIni);
    // Makes the settings file the one of pszExe, or none (empty m_pszProfileName).
    void SetProfileFromExe(const char* pszExe);
    bool HasProfile() const { return m_pszProfileName && *m_pszProfileName; }

    // Shares whose names end in "$" are listed too; 0 or 1. Listing threads read it without a
    // lock (g_pHiddenShares).
    BYTE m_bHiddenShares = 0;

protected:
    afx_msg void OnAppAbout();
    afx_msg void OnHiddenShares();
    afx_msg void OnUpdateHiddenShares(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    // What start-up got to, so that exit undoes exactly that.
    bool m_bOleReady = false;
    bool m_bRootHeld = false;
    bool m_bProfileFixed = false;
};

extern CApp theApp;

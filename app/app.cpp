#include "app/app.h"

#include "app/dlg_about.h"
#include "app/main_frame.h"
#include "framework/ole_data_source.h"
#include "model/net_items.h"
#include "res/resource.h"

#include <shlwapi.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const char kSection[] = "Main";
const char kHiddenShares[] = "HiddenShares";
const BYTE s_bNoApp = 0;

} // namespace

CApp theApp;

BEGIN_MESSAGE_MAP(CApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_VIEW_HIDDEN_SHARES, OnHiddenShares)
    ON_UPDATE_COMMAND_UI(ID_VIEW_HIDDEN_SHARES, OnUpdateHiddenShares)
END_MESSAGE_MAP()

CApp::CApp() {
    g_pHiddenShares = &m_bHiddenShares;
}

CApp::~CApp() {
    if (g_pHiddenShares == &m_bHiddenShares)
        g_pHiddenShares = &s_bNoApp;
}

bool CApp::MakeProfilePath(const char* pszExe, CString& strIni) {
    const char* pszExt = ::PathFindExtensionA(pszExe);
    const size_t nBase = static_cast<size_t>(pszExt - pszExe);
    // Room for ".ini" and the terminating zero.
    if (nBase + 4 >= MAX_PATH)
        return false;
    strIni = CString(pszExe, static_cast<int>(nBase)) + ".ini";
    // An exe named *.ini would otherwise be its own settings file.
    return strIni.CompareNoCase(pszExe) != 0;
}

void CApp::SetProfileFromExe(const char* pszExe) {
    CString strIni;
    if (!MakeProfilePath(pszExe, strIni))
        strIni.Empty();
    free(const_cast<char*>(m_pszProfileName));
    m_pszProfileName = _strdup(strIni);
}

BOOL CApp::InitInstance() {
    if (!AfxOleInit())
        return FALSE;
    m_bOleReady = true;
    ::InitCommonControls();
    CWinApp::InitInstance();

    g_root.AddRef(); // never given back: no Release may delete the static root
    m_bRootHeld = true;

    // A path longer than MAX_PATH is read whole, so that a cut-off path never names a file.
    std::vector<char> exe(32768);
    DWORD nLen = ::GetModuleFileNameA(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
    SetProfileFromExe(nLen > 0 && nLen < exe.size() ? exe.data() : "");
    m_bProfileFixed = true;

    m_bHiddenShares = 0;
    if (HasProfile())
        m_bHiddenShares = GetProfileInt(kSection, kHiddenShares, 0) != 0 ? 1 : 0;

    auto* pFrame = new CMainFrame;
    m_pMainWnd = pFrame;
    if (!pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, nullptr)) {
        // The framework has deleted the frame already.
        m_pMainWnd = nullptr;
        return FALSE;
    }
    pFrame->ShowWindow(SW_SHOW);
    pFrame->UpdateWindow();
    return TRUE;
}

int CApp::ExitInstance() {
    if (m_bProfileFixed && HasProfile())
        WriteProfileInt(kSection, kHiddenShares, m_bHiddenShares ? 1 : 0);
    m_bProfileFixed = false;
    if (m_bRootHeld) {
        g_root.Close();
        m_bRootHeld = false;
    }
    int nCode = CWinApp::ExitInstance();
    if (m_bOleReady) {
        AfxOleTerm();
        m_bOleReady = false;
    }
    return nCode;
}

void CApp::OnAppAbout() {
    CDlgAbout dlg;
    dlg.DoModal();
}

void CApp::OnHiddenShares() {
    m_bHiddenShares = m_bHiddenShares ? 0 : 1;
}

void CApp::OnUpdateHiddenShares(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_bHiddenShares ? 1 : 0);
}

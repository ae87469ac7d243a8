#include "tests/views/obj_tree_host.h"

namespace ottest {

// The tests' application: profile functions and the main window.
CWinApp g_testApp("Velloquin");

BEGIN_MESSAGE_MAP(HostFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

int HostFrame::OnCreate(LPCREATESTRUCTA lpcs) {
    if (CFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    m_pTree->Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                    CFrameWnd::rectDefault, this, AFX_IDW_PANE_FIRST);
    return 0;
}

Host Host::Open() {
    Host host;
    host.pFrame = new HostFrame;
    host.pTree = host.pFrame->m_pTree;
    // A popup shown without activation: Wine without a window manager waits seconds to unmap
    // a framed or activated window.
    if (!host.pFrame->CreateEx(0, AfxRegisterWndClass(0), "Velloquin", WS_POPUP, 0, 0, 500, 400,
                               nullptr, nullptr)) {
        ADD_FAILURE() << "the host frame was not created";
        return Host();
    }
    AfxGetApp()->m_pMainWnd = host.pFrame;
    host.hFrame = host.pFrame->m_hWnd;
    host.hTree = host.pTree->m_hWnd;
    ShowWindow(host.hFrame, SW_SHOWNOACTIVATE);
    host.pFrame->RecalcLayout();
    UpdateWindow(host.hFrame);
    return host;
}

void Host::Close() {
    if (hFrame && IsWindow(hFrame))
        DestroyWindow(hFrame);
    if (AfxGetApp()->m_pMainWnd == pFrame)
        AfxGetApp()->m_pMainWnd = nullptr;
    *this = Host();
}

CShortcutDef* NewDef(int nHot, const std::string& name, const std::string& dir) {
    auto* pDef = new CShortcutDef;
    pDef->m_nHot = nHot;
    pDef->m_strHotName = name.c_str();
    pDef->m_strDestDir = dir.c_str();
    return pDef;
}

CTransferJob* NewJob(const std::vector<std::string>& paths, const std::string& dir) {
    auto* pJob = new CTransferJob;
    for (const std::string& path : paths)
        pJob->m_files.AddTail(path.c_str());
    pJob->m_strDestDir = dir.c_str();
    return pJob;
}

void ObjTreeTest::SetUp() {
    ASSERT_EQ(LiveNow(), (Live{0, 0, 0})) << "an earlier test left objects behind";
}

void ObjTreeTest::TearDown() {
    m_host.Close();
    EXPECT_EQ(LiveNow(), (Live{0, 0, 0}));
}

bool ObjTreeTest::WaitTransfersDone(DWORD dwTimeoutMs) {
    return PumpUntil(
        [&] {
            return !m_host.pTree->m_pCurrentJob.load() &&
                   Children(m_host.hTree, m_host.Transfers()).empty();
        },
        dwTimeoutMs);
}

} // namespace ottest

#include "app/main_frame.h"

#include "res/resource.h"
#include "views/file_list.h"
#include "views/net_tree.h"
#include "views/obj_tree.h"

namespace {

const UINT kIndicators[] = {
    ID_SEPARATOR, // message pane
    ID_INDICATOR_CAPS,
    ID_INDICATOR_NUM,
};

const DWORD kTreeStyle =
    WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS;

} // namespace

DWORD(WINAPI* CMainFrame::s_pfnGetTickCount)() = ::GetTickCount;

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_COMMAND_RANGE(ID_VIEW_LARGEICON, ID_VIEW_DETAILS, OnViewMode)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_LARGEICON, ID_VIEW_DETAILS, OnUpdateViewMode)
    ON_COMMAND(ID_EDIT_ADD_SHORTCUT, OnAddShortcut)
    ON_WM_ACTIVATE()
    ON_MESSAGE(WM_RECLAIM_FOCUS, OnReclaimFocus)
END_MESSAGE_MAP()

CMainFrame::CMainFrame()
    : m_pNetTree(new CNetTree), m_pFileList(new CFileList), m_pObjTree(new CObjTree) {}

CMainFrame::~CMainFrame() {
    // The panes' windows are gone with the frame's; the members follow in reverse order:
    // inner splitter, outer splitter, tool bar, status bar.
    delete m_pNetTree;
    delete m_pFileList;
    delete m_pObjTree;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    cs.lpszClass = AfxRegisterWndClass(0, nullptr, nullptr, nullptr);
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)), TRUE);

    m_wndSplitter.CreateStatic(this, 1, 2, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST);
    m_wndSplitter.SetColumnInfo(0, 300, 0);
    m_wndSplitter.SetColumnInfo(1, 300, 0);
    m_wndLeftSplitter.CreateStatic(&m_wndSplitter, 2, 1, WS_CHILD | WS_VISIBLE,
                                   m_wndSplitter.IdFromRowCol(0, 0));
    m_wndLeftSplitter.SetRowInfo(0, 100, 0);
    m_wndLeftSplitter.SetRowInfo(1, 300, 0);

    // Order matters: the object tree loads the shortcuts, the network tree starts listing.
    m_pObjTree->Create(kTreeStyle, rectDefault, &m_wndLeftSplitter,
                       m_wndLeftSplitter.IdFromRowCol(0, 0));
    m_pNetTree->Create(kTreeStyle, rectDefault, &m_wndLeftSplitter,
                       m_wndLeftSplitter.IdFromRowCol(1, 0));
    m_pFileList->Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, rectDefault, &m_wndSplitter,
                        m_wndSplitter.IdFromRowCol(0, 1));
    m_pNetTree->m_pFileList = m_pFileList;
    m_pFileList->m_pNetTree = m_pNetTree;

    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT,
                               WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY |
                                   CBRS_SIZE_DYNAMIC,
                               CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, sizeof(kIndicators) / sizeof(kIndicators[0])))
        return -1;

    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    return 0;
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_pFocusPane && m_pFocusPane->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CMainFrame::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    // 0 is "no transfer since the last reclaim": near the clock's start or wrap a difference
    // from 0 would look recent and reclaim again and again.
    if (nState == WA_INACTIVE && m_dwTransferStart != 0 &&
        s_pfnGetTickCount() - m_dwTransferStart < kReclaimMs) {
        m_dwTransferStart = 0;
        PostMessage(WM_RECLAIM_FOCUS, 0, 0);
        return;
    }
    CFrameWnd::OnActivate(nState, pWndOther, bMinimized);
}

LRESULT CMainFrame::OnReclaimFocus(WPARAM, LPARAM) {
    SetForegroundWindow();
    if (m_pFocusPane && m_pFocusPane->IsWindow())
        m_pFocusPane->SetFocus();
    return 0;
}

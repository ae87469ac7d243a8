#include "views/obj_tree.h"

#include "views/pane_host.h"

#include <shlwapi.h>

#include <cstdio>

const UINT WM_CANTRANSFER = ::RegisterWindowMessageA("OsmetVelloquinCanTransfer");

std::atomic<long> CObjItem::s_nLive{0};
std::atomic<long> CTransferJob::s_nLive{0};
std::atomic<long> CShortcutDef::s_nLive{0};

namespace {

const char kShortcutsSection[] = "Shortcuts";
const int kEntryStateImage = 3;

// The application, when it has a settings file to read and write.
CWinApp* ProfileApp() {
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->m_pszProfileName && *pApp->m_pszProfileName ? pApp : nullptr;
}

CString ShortcutKey(int n, const char* pszSuffix) {
    char key[40];
    snprintf(key, sizeof key, "%04d_%s", n, pszSuffix);
    return key;
}

CString LoadFormat(UINT nID) {
    CString format;
    format.LoadString(nID);
    return format;
}

} // namespace

IPaneHost* GetPaneHost() {
    return dynamic_cast<IPaneHost*>(AfxGetMainWnd());
}

// ---- Entries

void CObjTransfer::GetText(CString& text) {
    if (!m_pJob || m_pJob->m_files.IsEmpty()) {
        text.Empty();
        return;
    }
    const CString& first = m_pJob->m_files.GetHead();
    UINT nID = m_pJob->m_files.GetCount() == 1 ? IDS_TRANSFER_ONE : IDS_TRANSFER_MANY;
    text.Format(LoadFormat(nID), PathFindFileNameA(first), m_pJob->m_strDestDir.GetString());
}

bool CObjShortcut::Edit() {
    IPaneHost* pHost = GetPaneHost();
    return pHost && pHost->EditShortcut(m_pDef);
}

void CObjShortcut::GetText(CString& text) {
    text.Format(LoadFormat(IDS_COPY_TO), m_pDef->m_strHotName.GetString(),
                m_pDef->m_strDestDir.GetString());
}

void RunShortcut(CShortcutDef* def) {
    if (IPaneHost* pHost = GetPaneHost())
        pHost->CopySelectionTo(def->m_strDestDir);
}

// ---- The tree

BEGIN_MESSAGE_MAP(CObjTree, CTreeCtrl)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
    ON_NOTIFY_REFLECT(TVN_GETDISPINFOA, OnGetDispInfo)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
    ON_COMMAND(ID_EDIT_DELETE, OnEditDelete)
    ON_UPDATE_COMMAND_UI(ID_EDIT_DELETE, OnUpdateEditDelete)
    ON_REGISTERED_MESSAGE(WM_CANTRANSFER, OnCanTransfer)
END_MESSAGE_MAP()

CObjTree::CObjTree() : m_evtWake(::CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

CObjTree::~CObjTree() {
    // A window destroyed without WM_DESTROY reaching us (never in practice) must not leave
    // the thread running on a dead object.
    StopTransferThread();
    if (m_evtWake)
        ::CloseHandle(m_evtWake);
}

CObjItem* CObjTree::GetEntry(HTREEITEM hItem) const {
    if (!hItem || !GetParentItem(hItem))
        return nullptr;
    return reinterpret_cast<CObjItem*>(GetItemData(hItem));
}

int CObjTree::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
    if (CTreeCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetItemHeight(static_cast<SHORT>(GetItemHeight() + 2));
    m_imlStates.Create(IDB_OBJ_STATES, 16, 0, RGB(255, 0, 255));
    SetImageList(&m_imlStates, TVSIL_STATE);

    static const UINT kLabels[CAT_COUNT] = {IDS_BOOKMARKS, IDS_SEARCHES, IDS_TRANSFERS,
                                            IDS_SHORTCUTS};
    for (int nCat : {CAT_TRANSFERS, CAT_SHORTCUTS}) {
        CString label;
        label.LoadString(kLabels[nCat]);
        TVINSERTSTRUCTA tvis = {};
        tvis.hParent = TVI_ROOT;
        tvis.hInsertAfter = TVI_LAST;
        tvis.item.mask = TVIF_TEXT | TVIF_STATE;
        tvis.item.pszText = const_cast<char*>(label.GetString());
        tvis.item.state = INDEXTOSTATEIMAGEMASK(nCat + 1);
        tvis.item.stateMask = TVIS_STATEIMAGEMASK;
        m_hCategory[nCat] = InsertItem(&tvis);
    }

    m_pCurrentJob = nullptr;
    m_pThread =
        AfxBeginThread(TransferThreadProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (m_pThread) {
        // We wait on the handle at destruction: the object must outlive the thread.
        m_pThread->m_bAutoDelete = FALSE;
        m_hThread = m_pThread->m_hThread;
        m_pThread->ResumeThread();
    }

    LoadShortcuts();
    return 0;
}

void CObjTree::OnSetFocus(CWnd* pOldWnd) {
    CTreeCtrl::OnSetFocus(pOldWnd);
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->SetFocusPane(this);
}

void CObjTree::StopTransferThread() {
    // The stop request; a job the thread is copying stays its own until it has finished.
    CTransferJob* pPending = m_pCurrentJob.exchange(nullptr);
    if (m_evtWake)
        ::SetEvent(m_evtWake);
    if (m_pThread) {
        ::WaitForSingleObject(m_hThread, INFINITE);
        delete m_pThread;
        m_pThread = nullptr;
        m_hThread = nullptr;
    }
    // Handed over but never taken (no thread, a thread that ended early, or a stop that came
    // before the thread woke): nobody else will free it.
    if (pPending && m_nTaken.load() < m_nStarted)
        delete pPending;
    m_nStarted = m_nTaken.load();
}

void CObjTree::OnDestroy() {
    StopTransferThread();

    CWinApp* pApp = ProfileApp();
    for (int nCat : {CAT_TRANSFERS, CAT_SHORTCUTS}) {
        HTREEITEM hRoot = m_hCategory[nCat];
        if (!hRoot)
            continue;
        // The stored list must equal the tree's: no keys of an earlier, longer list survive.
        if (nCat == CAT_SHORTCUTS && pApp)
            pApp->WriteProfileString(kShortcutsSection, nullptr, nullptr);
        int n = 0;
        for (HTREEITEM hItem = GetChildItem(hRoot); hItem;) {
            CObjItem* pObject = reinterpret_cast<CObjItem*>(GetItemData(hItem));
            HTREEITEM hNext = GetNextSiblingItem(hItem);
            DeleteItem(hItem);
            if (nCat == CAT_SHORTCUTS && pApp && pObject) {
                CShortcutDef* pDef = static_cast<CObjShortcut*>(pObject)->m_pDef;
                pApp->WriteProfileInt(kShortcutsSection, ShortcutKey(n, "Hot"), pDef->m_nHot);
                pApp->WriteProfileString(kShortcutsSection, ShortcutKey(n, "HotName"),
                                         pDef->m_strHotName);
                pApp->WriteProfileString(kShortcutsSection, ShortcutKey(n, "DestDir"),
                                         pDef->m_strDestDir);
            }
            delete pObject;
            ++n;
            hItem = hNext;
        }
    }
    CTreeCtrl::OnDestroy();
}

void CObjTree::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
    auto* pInfo = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR);
    *pResult = 0;
    if (!(pInfo->item.mask & TVIF_TEXT))
        return;
    auto* pObject = reinterpret_cast<CObjItem*>(pInfo->item.lParam);
    if (!pObject || !pInfo->item.pszText || pInfo->item.cchTextMax <= 0)
        return;
    CString text;
    pObject->GetText(text);
    lstrcpynA(pInfo->item.pszText, text, pInfo->item.cchTextMax);
}

bool CObjTree::ActOnSelection(bool bDelete) {
    HTREEITEM hSel = GetSelectedItem();
    if (!hSel || !GetParentItem(hSel))
        return false;
    CObjItem* pObject = reinterpret_cast<CObjItem*>(GetItemData(hSel));
    if (!bDelete) {
        if (pObject && pObject->Edit())
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return true;
    }
    DeleteItem(hSel);
    delete pObject;
    return true;
}

void CObjTree::OnDblClk(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    *pResult = ActOnSelection(false) ? 1 : 0;
}

void CObjTree::OnEditDelete() {
    ActOnSelection(true);
}

void CObjTree::OnUpdateEditDelete(CCmdUI* pCmdUI) {
    HTREEITEM hSel = GetSelectedItem();
    pCmdUI->Enable(hSel && GetParentItem(hSel));
}

void CObjTree::SelectEntry(HTREEITEM hItem) {
    Select(hItem, TVGN_CARET);
    SetFocus();
}

HTREEITEM CObjTree::InsertEntry(int nCategory, CObjItem* pObject, HTREEITEM hInsertAfter) {
    TVINSERTSTRUCTA tvis = {};
    tvis.hParent = m_hCategory[nCategory];
    tvis.hInsertAfter = hInsertAfter;
    tvis.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    tvis.item.pszText = LPSTR_TEXTCALLBACKA;
    tvis.item.state = INDEXTOSTATEIMAGEMASK(kEntryStateImage);
    tvis.item.stateMask = TVIS_STATEIMAGEMASK;
    tvis.item.lParam = reinterpret_cast<LPARAM>(pObject);
    HTREEITEM hItem = tvis.hParent ? InsertItem(&tvis) : nullptr;
    if (!hItem)
        delete pObject;
    return hItem;
}

// ---- Transfers

void CObjTree::AddTransfer(CTransferJob* pJob) {
    if (!m_pCurrentJob.load() && !GetChildItem(m_hCategory[CAT_TRANSFERS])) {
        StartTransfer(pJob);
        return;
    }
    if (HTREEITEM hItem = InsertEntry(CAT_TRANSFERS, new CObjTransfer(pJob), TVI_LAST))
        EnsureVisible(hItem);
}

void CObjTree::StartTransfer(CTransferJob* pJob) {
    if (IPaneHost* pHost = GetPaneHost())
        pHost->SetTransferStart(::GetTickCount());
    ++m_nStarted;
    m_pCurrentJob = pJob;
    ::SetEvent(m_evtWake);
}

LRESULT CObjTree::OnCanTransfer(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    HTREEITEM hRoot = m_hCategory[CAT_TRANSFERS];
    HTREEITEM hFirst = hRoot ? GetChildItem(hRoot) : nullptr;
    if (m_pCurrentJob.load() || !hFirst)
        return 0;
    auto* pObject = static_cast<CObjTransfer*>(reinterpret_cast<CObjItem*>(GetItemData(hFirst)));
    DeleteItem(hFirst);
    CTransferJob* pJob = pObject->m_pJob;
    pObject->m_pJob = nullptr;
    delete pObject;
    if (pJob)
        StartTransfer(pJob);
    return 0;
}

UINT TransferThreadProc(LPVOID pParam) {
    auto* pTree = static_cast<CObjTree*>(pParam);
    const HWND hWnd = pTree->m_hWnd;
    for (;;) {
        if (::WaitForSingleObject(pTree->m_evtWake, INFINITE) != WAIT_OBJECT_0)
            break;
        // Read once: a stop request during the copy cannot take this job away.
        CTransferJob* pJob = pTree->m_pCurrentJob.load();
        if (!pJob)
            break;
        ++pTree->m_nTaken;
        pJob->m_files.CopyTo(pJob->m_strDestDir);
        delete pJob;
        pTree->m_pCurrentJob = nullptr;
        ::PostMessageA(hWnd, WM_CANTRANSFER, 0, 0);
    }
    return 0;
}

// ---- Keyboard shortcuts

void CObjTree::AddShortcut(CShortcutDef* pDef) {
    if (HTREEITEM hItem = InsertEntry(CAT_SHORTCUTS, new CObjShortcut(pDef), TVI_SORT))
        SelectEntry(hItem);
}

bool CObjTree::MatchShortcut(BYTE vk, BYTE modifiers) {
    bool bMatched = false;
    HTREEITEM hRoot = m_hCategory[CAT_SHORTCUTS];
    if (!hRoot)
        return false;
    for (HTREEITEM hItem = GetChildItem(hRoot); hItem; hItem = GetNextSiblingItem(hItem)) {
        auto* pObject = static_cast<CObjShortcut*>(reinterpret_cast<CObjItem*>(GetItemData(hItem)));
        if (!pObject)
            continue;
        const unsigned nHot = static_cast<unsigned>(pObject->m_pDef->m_nHot);
        if ((nHot & 0xFF) == vk && ((nHot >> 8) & 0xFF) == modifiers) {
            RunShortcut(pObject->m_pDef);
            bMatched = true;
        }
    }
    return bMatched;
}

void CObjTree::LoadShortcuts() {
    CWinApp* pApp = ProfileApp();
    if (!pApp)
        return;
    for (int n = 0; n >= 0; ++n) {
        auto* pDef = new CShortcutDef;
        pDef->m_nHot =
            static_cast<int>(pApp->GetProfileInt(kShortcutsSection, ShortcutKey(n, "Hot"), 0));
        pDef->m_strHotName = pApp->GetProfileString(kShortcutsSection, ShortcutKey(n, "HotName"));
        pDef->m_strDestDir = pApp->GetProfileString(kShortcutsSection, ShortcutKey(n, "DestDir"));
        if (pDef->m_nHot == 0 || pDef->m_strHotName.IsEmpty()) {
            delete pDef;
            break;
        }
        AddShortcut(pDef);
    }
}

#include "views/net_tree.h"

#include "model/net_items.h"
#include "res/resource.h"
#include "views/file_list.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

// clang-format off
BEGIN_MESSAGE_MAP(CNetTree, CTreeCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_LISTING_DONE, OnListingDone)
    ON_WM_TIMER()
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGA, OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGW, OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_GETDISPINFOA, OnGetDispInfo)
    ON_NOTIFY_REFLECT(TVN_GETDISPINFOW, OnGetDispInfo)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDA, OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDW, OnSelChanged)
    ON_NOTIFY_REFLECT(TVN_DELETEITEMA, OnDeleteItem)
    ON_NOTIFY_REFLECT(TVN_DELETEITEMW, OnDeleteItem)
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRClick)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
    ON_NOTIFY_REFLECT(TVN_BEGINDRAGA, OnBeginDrag)
    ON_NOTIFY_REFLECT(TVN_BEGINDRAGW, OnBeginDrag)
    ON_COMMAND(ID_VIEW_REFRESH, OnRefresh)
    ON_COMMAND_RANGE(ID_VIEW_EXPAND_1, ID_VIEW_EXPAND_3, OnExpand)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_EXPAND_1, ID_VIEW_EXPAND_3, OnUpdateAnyItem)
    ON_COMMAND(ID_EDIT_DELETE, OnDelete)
    ON_UPDATE_COMMAND_UI(ID_EDIT_DELETE, OnUpdateDelete)
    ON_COMMAND(ID_EDIT_COPY, OnCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateCopy)
    ON_COMMAND_RANGE(ID_EDIT_COPY_FULL_PATH, ID_EDIT_COPY_NAME, OnCopyPath)
    ON_UPDATE_COMMAND_UI_RANGE(ID_EDIT_COPY_FULL_PATH, ID_EDIT_COPY_NAME, OnUpdateAnyItem)
END_MESSAGE_MAP()
// clang-format on

namespace {

// The shell's small icon for a made-up path, taken as a directory: answered from the form of
// the path alone, the path itself is never touched.
HICON ShellDirIcon(const char* pszPath, bool bOpen) {
    SHFILEINFOA sfi = {};
    UINT flags = SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;
    if (bOpen)
        flags |= SHGFI_OPENICON;
    if (!SHGetFileInfoA(pszPath, FILE_ATTRIBUTE_DIRECTORY, &sfi, sizeof sfi, flags))
        return nullptr;
    return sfi.hIcon;
}

// A fully transparent icon, standing in for one the system does not give, so that the indices
// of the images that follow stay right.
HICON BlankIcon() {
    BYTE andMask[16 * 16 / 8];
    BYTE xorMask[16 * 16 / 8] = {};
    memset(andMask, 0xFF, sizeof andMask);
    return CreateIcon(nullptr, 16, 16, 1, 1, andMask, xorMask);
}

} // namespace

CNetTree::CNetTree() : m_contextMenu(this) {}

CNetTree::~CNetTree() {
    m_contextMenu.ReleaseMenu();
    m_imlStates.DeleteImageList();
    m_imlImages.DeleteImageList();
}

LRESULT CNetTree::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (m_contextMenu.HandleMenuMessage(message, wParam, lParam, &lResult))
        return lResult;
    return CTreeCtrl::WindowProc(message, wParam, lParam);
}

// ---- Creation and destruction ----------------------------------------------------------------

int CNetTree::OnCreate(LPCREATESTRUCTA lpCreateStruct) {
    if (CTreeCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetItemHeight(static_cast<SHORT>(GetItemHeight() + 2));
    BuildImages();
    m_imlStates.Create(IDB_NET_STATES, 16, 0, RGB(255, 0, 255));
    SetImageList(&m_imlImages, TVSIL_NORMAL);
    SetImageList(&m_imlStates, TVSIL_STATE);
    m_threads.SetTarget(m_hWnd);
    ListRoot();
    return 0;
}

void CNetTree::BuildImages() {
    // An empty list of the same kind as the system's small-icon list.
    SHFILEINFOA sfi = {};
    auto hSystem = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(
        "A", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
    HIMAGELIST hList = hSystem ? ImageList_Duplicate(hSystem) : nullptr;
    if (hList)
        ImageList_SetImageCount(hList, 0);
    else
        hList = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 6, 0);
    m_imlImages.Attach(hList);

    HICON icons[6] = {};
    ExtractIconExA("shell32.dll", 18, nullptr, &icons[0], 1);
    icons[1] = ShellDirIcon("\\\\A", false);
    icons[2] = ShellDirIcon("\\\\A\\A", false);
    icons[3] = ShellDirIcon("A", false);
    icons[4] = ShellDirIcon("A", true);
    icons[5] =
        static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_UNREACHABLE),
                                      IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    for (HICON hIcon : icons) {
        if (!hIcon)
            hIcon = BlankIcon();
        ImageList_ReplaceIcon(hList, -1, hIcon);
        DestroyIcon(hIcon);
    }
}

void CNetTree::OnDestroy() {
    // Nothing that the control does while its entries go may start a listing.
    ++m_nDeleting;
    CloseChildren(TVI_ROOT, true);
    if (m_bWorkTimer) {
        ::KillTimer(m_hWnd, kWorkTimer);
        m_bWorkTimer = false;
    }
    for (const Delivery& d : m_backlog)
        DropListResult(d.pResult);
    m_backlog.clear();
    for (const PendingList& p : m_pending)
        p.pItem->Release();
    m_pending.clear();
    for (const Expansion& e : m_expansions)
        e.pItem->Release();
    m_expansions.clear();
    // The root's children are closed: keep no pointers to them. A root listing that is
    // abandoned below never clears the flag itself.
    g_root.RemoveAll();
    g_root.m_bBusy = false;
    // Running listings are abandoned, never waited for nor killed.
    m_threads.TerminateAll();
    --m_nDeleting;
    CTreeCtrl::OnDestroy();
}

// ---- Entries -------------------------------------------------------------------------------

// The control's own messages go straight to its procedure (DefWindowProc), past this class's
// message map, which never handles them: bulk changes send thousands.

CItem* CNetTree::ItemFromHandle(HTREEITEM hItem) {
    if (!hItem || hItem == TVI_ROOT || !m_hWnd)
        return nullptr;
    TVITEMA tvi = {};
    tvi.mask = TVIF_HANDLE | TVIF_PARAM;
    tvi.hItem = hItem;
    if (!DefWindowProc(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi)))
        return nullptr;
    return reinterpret_cast<CItem*>(tvi.lParam);
}

bool CNetTree::Shows(HTREEITEM hItem, CItem* pItem) {
    // A closed item has no entry any more, so its stale handle is never looked up.
    return pItem->m_hTreeItem == hItem && ItemFromHandle(hItem) == pItem;
}

bool CNetTree::IsBelow(HTREEITEM hItem, HTREEITEM hAncestor) {
    if (hAncestor == TVI_ROOT)
        return hItem != nullptr;
    for (HTREEITEM h = NextItem(hItem, TVGN_PARENT); h; h = NextItem(h, TVGN_PARENT))
        if (h == hAncestor)
            return true;
    return false;
}

CItem* CNetTree::GetSelectedNetItem() {
    return ItemFromHandle(CTreeCtrl::GetSelectedItem());
}

int CNetTree::GetSelectedKind() {
    CItem* pItem = GetSelectedNetItem();
    return pItem ? pItem->GetKind() : -1;
}

void CNetTree::SetStateMark(CListJob* pJob, int nMark) {
    if (pJob->m_hItem == TVI_ROOT)
        return;
    TVITEMA tvi = {};
    tvi.mask = TVIF_HANDLE | TVIF_STATE;
    tvi.hItem = pJob->m_hItem;
    tvi.state = INDEXTOSTATEIMAGEMASK(nMark);
    tvi.stateMask = TVIS_STATEIMAGEMASK;
    DefWindowProc(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
}

HTREEITEM CNetTree::NextItem(HTREEITEM hItem, UINT nCode) {
    return reinterpret_cast<HTREEITEM>(
        DefWindowProc(TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
}

bool CNetTree::HasManyChildren(HTREEITEM hItem) {
    int n = 0;
    for (HTREEITEM h = FirstChild(hItem); h && n < kManyChildren; h = NextItem(h, TVGN_NEXT))
        ++n;
    return n >= kManyChildren;
}

HTREEITEM CNetTree::FirstChild(HTREEITEM hItem) {
    return hItem == TVI_ROOT ? NextItem(nullptr, TVGN_ROOT) : NextItem(hItem, TVGN_CHILD);
}

void CNetTree::SuspendRedraw() {
    if (m_nRedrawOff++ > 0)
        return;
    DefWindowProc(WM_SETREDRAW, FALSE, 0);
    SetDrawable(false);
}

void CNetTree::SetDrawable(bool bDrawable) {
    // Wine's tree control leaves its window drawable while its own drawing is off, and then
    // repaints the scroll bars at every change of a shown entry (some 4 ms each). The default
    // handling marks the window undrawable meanwhile; a hidden window is left alone, as the
    // default handling would show it again.
    if (!bDrawable) {
        m_bUndrawable = (GetStyle() & WS_VISIBLE) != 0;
        if (m_bUndrawable)
            ::DefWindowProcA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    } else if (m_bUndrawable) {
        m_bUndrawable = false;
        ::DefWindowProcA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    }
}

void CNetTree::ResumeRedraw() {
    if (--m_nRedrawOff > 0)
        return;
    SetDrawable(true);
    // The control measures every shown entry when its drawing comes back, and the entries of
    // an expanded one when it expands: expanding after, not before, measures them once.
    DefWindowProc(WM_SETREDRAW, TRUE, 0);
    std::vector<Expansion> expansions;
    expansions.swap(m_expansions);
    bool bExpanded = false;
    for (const Expansion& e : expansions) {
        // The entry may have gone, or lost its children, while the drawing was off.
        if (Shows(e.hItem, e.pItem) && FirstChild(e.hItem)) {
            DefWindowProc(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(e.hItem));
            bExpanded = true;
        }
        e.pItem->Release();
    }
    if (bExpanded && m_hLastExpanded && ItemFromHandle(m_hLastExpanded))
        DefWindowProc(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(m_hLastExpanded));
    // The control's drawing coming back has redrawn the scroll bars already.
    Invalidate();
}

void CNetTree::SetEntryState(HTREEITEM hItem, int nMark, int nChildren) {
    TVITEMA tvi = {};
    tvi.mask = TVIF_HANDLE | TVIF_STATE | TVIF_CHILDREN;
    tvi.hItem = hItem;
    tvi.state = INDEXTOSTATEIMAGEMASK(nMark);
    tvi.stateMask = TVIS_STATEIMAGEMASK;
    tvi.cChildren = nChildren;
    DefWindowProc(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
}

void CNetTree::ReleaseFileList(CItem* pClosing) {
    if (m_pFileList && m_pFileList->m_pItem == pClosing) {
        m_pFileList->DeleteAllItems();
        m_pFileList->m_pItem = nullptr;
    }
}

void CNetTree::CloseChildren(HTREEITEM hItem, bool bDelete) {
    HTREEITEM hChild = FirstChild(hItem);
    if (!hChild)
        return;
    // Shown entries deleted one by one would each update the scroll bars.
    if (bDelete)
        SuspendRedraw();
    while (hChild) {
        CloseChildren(hChild, false);
        HTREEITEM hNext = NextItem(hChild, TVGN_NEXT);
        if (CItem* pItem = ItemFromHandle(hChild)) {
            ReleaseFileList(pItem);
            // The entry may outlive its item until it is deleted: it must not point to it.
            TVITEMA tvi = {};
            tvi.mask = TVIF_HANDLE | TVIF_PARAM;
            tvi.hItem = hChild;
            DefWindowProc(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
            pItem->Close();
        }
        if (bDelete)
            DefWindowProc(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(hChild));
        hChild = hNext;
    }
    if (bDelete)
        ResumeRedraw();
}

// ---- Listing -------------------------------------------------------------------------------

void CNetTree::ListItem(HTREEITEM hItem, bool bForce, int nLevels) {
    if (nLevels < 1)
        return;
    CItem* pItem = hItem == TVI_ROOT ? &g_root : ItemFromHandle(hItem);
    if (!pItem)
        return;
    Slice slice(this);

    if (pItem->m_bBusy || (!bForce && pItem->m_nSerial == 0)) {
        if (nLevels < 2)
            return;
        HTREEITEM hChild = FirstChild(hItem);
        for (; hChild; hChild = NextItem(hChild, TVGN_NEXT))
            ListItemInTurn(hChild, false, nLevels - 1);
        return;
    }

    pItem->m_bBusy = true;
    pItem->RemoveAll();

    // A selected entry below this one is about to go: the selection moves up to this entry
    // first, so that the title and the file list follow an entry that stays.
    HTREEITEM hSelected = NextItem(nullptr, TVGN_CARET);
    if (hSelected && IsBelow(hSelected, hItem))
        SelectItem(hItem == TVI_ROOT ? nullptr : hItem);
    // The file list's rows of this item's subdirectories would outlive them.
    if (m_pFileList && m_pFileList->m_pItem == pItem)
        m_pFileList->DeleteAllItems();

    HTREEITEM hFirst = FirstChild(hItem);
    if (hFirst) {
        SuspendRedraw();
        ++m_nDeleting;
        CloseChildren(hItem, true);
        --m_nDeleting;
        ResumeRedraw();
    }

    auto* pJob = new CListJob(this, hItem, pItem, nLevels);
    if (m_threads.Start(pJob)) {
        SetStateMark(pJob, STATE_LISTING);
    } else {
        pItem->m_bBusy = false;
        delete pJob;
    }
}

LRESULT CNetTree::OnListingDone(WPARAM wParam, LPARAM lParam) {
    m_backlog.push_back({wParam, reinterpret_cast<CListResult*>(lParam)});
    // While earlier work waits for the timer, or inside other work, the result waits its turn.
    if (m_bWorkTimer || m_nSliceDepth > 0)
        ArmWorkTimer();
    else
        WorkOff();
    return 0;
}

void CNetTree::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != kWorkTimer) {
        CTreeCtrl::OnTimer(nIDEvent);
        return;
    }
    if (m_nSliceDepth == 0)
        WorkOff();
}

bool CNetTree::SliceSpent() const {
    return m_nSliceDepth > 0 && GetTickCount64() - m_nSliceStart >= kSliceMs;
}

void CNetTree::ListItemInTurn(HTREEITEM hItem, bool bForce, int nLevels) {
    if (nLevels < 1)
        return;
    if (m_pending.empty() && !SliceSpent()) {
        ListItem(hItem, bForce, nLevels);
        return;
    }
    CItem* pItem = ItemFromHandle(hItem);
    if (!pItem)
        return;
    pItem->AddRef();
    m_pending.push_back({hItem, pItem, bForce, nLevels});
    ArmWorkTimer();
}

void CNetTree::ArmWorkTimer() {
    if (!m_bWorkTimer)
        m_bWorkTimer = ::SetTimer(m_hWnd, kWorkTimer, USER_TIMER_MINIMUM, nullptr) != 0;
}

void CNetTree::WorkOff() {
    // Results already posted join the backlog in their order: the message queue goes empty,
    // so that timers, painting and input get their turn between slices.
    MSG msg;
    while (PeekMessageA(&msg, m_hWnd, WM_LISTING_DONE, WM_LISTING_DONE, PM_REMOVE))
        m_backlog.push_back({msg.wParam, reinterpret_cast<CListResult*>(msg.lParam)});

    Slice slice(this);
    // The control's drawing stays off from slice to slice for a while: repainting after every
    // slice would cost more than the slices themselves. The window stays drawable in between
    // all the same, so that it takes clicks.
    if (m_bRedrawHeld)
        SetDrawable(false);
    else
        SuspendRedraw();
    m_bRedrawHeld = false;
    // Listings waiting to start come first, so that the network calls overlap sooner.
    do {
        if (!m_pending.empty()) {
            PendingList p = m_pending.front();
            m_pending.pop_front();
            // Its entry may have gone since; then the request goes with it.
            if (Shows(p.hItem, p.pItem))
                ListItem(p.hItem, p.bForce, p.nLevels);
            p.pItem->Release();
        } else if (!m_backlog.empty()) {
            Delivery d = m_backlog.front();
            m_backlog.pop_front();
            MergeResult(d.wParam, d.pResult);
        }
    } while ((!m_pending.empty() || !m_backlog.empty()) && !SliceSpent());
    const bool bMore = !m_pending.empty() || !m_backlog.empty();
    const ULONGLONG nNow = GetTickCount64();
    if (bMore && nNow - m_nLastRedraw < kRedrawEveryMs) {
        m_bRedrawHeld = true;
        SetDrawable(true);
    } else {
        ResumeRedraw();
        m_nLastRedraw = nNow;
    }

    if (bMore) {
        ArmWorkTimer();
    } else if (m_bWorkTimer) {
        ::KillTimer(m_hWnd, kWorkTimer);
        m_bWorkTimer = false;
    }
}

void CNetTree::MergeResult(WPARAM wParam, CListResult* pResult) {
    CListJob* pJob = pResult->m_pJob;
    CItem* pItem = pJob->m_pItem;
    const bool bOk = wParam != 0;

    // The job holds a reference on its item, so no other item can have its address: the
    // result belongs exactly when the entry still shows this very item. (Serial numbers cannot
    // tell: every listed item has serial 0.)
    const bool bBelongs = pJob->m_hItem == TVI_ROOT || Shows(pJob->m_hItem, pItem);
    if (!bBelongs) {
        // The item left the tree: nobody will see its records or children.
        DropListResult(pResult);
        return;
    }

    const bool bShown = m_pFileList && m_pFileList->m_pItem == pItem;
    if (bShown)
        m_pFileList->DeleteAllItems(); // its rows point into the records freed here
    delete pItem->m_pFiles;
    pItem->m_pFiles = pResult->TakeFiles();

    if (bOk)
        pItem->m_nSerial = 0;
    pItem->m_bBusy = false;

    CItemArray& children = *pResult->m_pChildren;
    if (children.IsEmpty() && pJob->m_hItem == TVI_ROOT)
        InsertUnreachable();
    else
        InsertChildren(pJob, children);
    // The children belong to their entries now.
    children.RemoveAll();

    if (bShown)
        m_pFileList->Refill();
    delete pResult;
    EndJob(pJob, bOk ? STATE_LISTED : STATE_FAILED);
}

void CNetTree::InsertUnreachable() {
    CString strText;
    strText.LoadString(IDS_NETWORK_UNREACHABLE);
    TVINSERTSTRUCTA tvis = {};
    tvis.hParent = TVI_ROOT;
    tvis.hInsertAfter = TVI_SORT;
    tvis.item.mask =
        TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_CHILDREN | TVIF_PARAM;
    tvis.item.pszText = const_cast<char*>(strText.GetString());
    tvis.item.iImage = IMAGE_UNREACHABLE;
    tvis.item.iSelectedImage = IMAGE_UNREACHABLE;
    tvis.item.state = 0;
    tvis.item.stateMask = TVIS_STATEIMAGEMASK;
    tvis.item.cChildren = 0;
    tvis.item.lParam = 0;
    DefWindowProc(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tvis));
}

void CNetTree::InsertChildren(CListJob* pJob, CItemArray& children) {
    if (children.IsEmpty())
        return;

    // Sorted once, then appended in order: the order that the control's sorted insertion
    // gives (lstrcmpW of the texts in UTF-16, and an equal text goes right after the first of
    // its equals), without asking for every sibling's text at every insertion.
    struct Child {
        CItem* pItem;
        std::wstring strText;
    };
    std::vector<Child> sorted;
    sorted.reserve(children.GetSize());
    CString strText;
    for (CItem* pChild : children) {
        strText.Empty();
        pChild->GetText(strText);
        Child c{pChild, std::wstring()};
        int n = MultiByteToWideChar(CP_ACP, 0, strText, strText.GetLength(), nullptr, 0);
        c.strText.resize(n);
        MultiByteToWideChar(CP_ACP, 0, strText, strText.GetLength(), c.strText.data(), n);
        sorted.push_back(std::move(c));
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const Child& a, const Child& b) {
        return lstrcmpW(a.strText.c_str(), b.strText.c_str()) < 0;
    });
    for (size_t i = 0; i < sorted.size();) {
        size_t j = i + 1;
        while (j < sorted.size() &&
               lstrcmpW(sorted[i].strText.c_str(), sorted[j].strText.c_str()) == 0)
            ++j;
        std::reverse(sorted.begin() + i + 1, sorted.begin() + j);
        i = j;
    }

    std::vector<HTREEITEM> inserted;
    inserted.reserve(sorted.size());
    SuspendRedraw();
    for (const Child& c : sorted) {
        TVINSERTSTRUCTA tvis = {};
        tvis.hParent = pJob->m_hItem;
        tvis.hInsertAfter = TVI_LAST;
        tvis.item.mask =
            TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_CHILDREN | TVIF_PARAM;
        tvis.item.pszText = LPSTR_TEXTCALLBACKA;
        tvis.item.iImage = c.pItem->GetImage(false);
        tvis.item.iSelectedImage = c.pItem->GetImage(true);
        tvis.item.state = INDEXTOSTATEIMAGEMASK(STATE_UNLISTED);
        tvis.item.stateMask = TVIS_STATEIMAGEMASK;
        tvis.item.cChildren = 1;
        tvis.item.lParam = reinterpret_cast<LPARAM>(c.pItem);
        auto hChild = reinterpret_cast<HTREEITEM>(
            DefWindowProc(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tvis)));
        c.pItem->m_hTreeItem = hChild;
        inserted.push_back(hChild);
    }
    ResumeRedraw();

    // The child list keeps the order of the listing; a child that got no entry has no owner.
    CItemArray attached;
    for (CItem* pChild : children) {
        if (pChild->m_hTreeItem)
            attached.Add(pChild);
        else
            pChild->Close();
    }
    pJob->m_pItem->AttachChildren(attached);

    for (HTREEITEM hChild : inserted)
        if (hChild)
            ListItemInTurn(hChild, true, pJob->m_nLevels - 1);
}

void CNetTree::EndJob(CListJob* pJob, int nMark) {
    if (pJob->m_hItem == TVI_ROOT) {
        g_root.m_bBusy = false;
    } else if (CItem* pItem = ItemFromHandle(pJob->m_hItem)) {
        pItem->m_bBusy = false;
        const bool bHasChildren = FirstChild(pJob->m_hItem) != nullptr;
        // The mark and the button in one change: each change of a shown entry costs the
        // control a scroll-bar update and a repaint request.
        SetEntryState(pJob->m_hItem, nMark, bHasChildren ? 1 : 0);
        if (bHasChildren)
            ExpandAndShow(pJob->m_hItem);
    }
    delete pJob;
}

void CNetTree::ExpandAndShow(HTREEITEM hItem) {
    if (m_nRedrawOff > 0 && HasManyChildren(hItem)) {
        // Expanded when the drawing comes back (ResumeRedraw), so that its many children are
        // measured once, not twice.
        if (CItem* pItem = ItemFromHandle(hItem)) {
            pItem->AddRef();
            m_expansions.push_back({hItem, pItem});
        }
        return;
    }
    SuspendRedraw();
    DefWindowProc(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hItem));
    if (m_hLastExpanded && ItemFromHandle(m_hLastExpanded))
        DefWindowProc(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(m_hLastExpanded));
    ResumeRedraw();
}

// ---- Notifications -------------------------------------------------------------------------

void CNetTree::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult) {
    auto* pNMTV = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    if ((pNMTV->action & (TVE_EXPAND | TVE_COLLAPSE | TVE_TOGGLE)) == TVE_EXPAND) {
        m_hLastExpanded = pNMTV->itemNew.hItem;
        ListItem(pNMTV->itemNew.hItem, false, 1);
    }
    *pResult = 0;
}

void CNetTree::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    if (pNMHDR->code == TVN_GETDISPINFOW) {
        auto* pInfo = reinterpret_cast<NMTVDISPINFOW*>(pNMHDR);
        if (!(pInfo->item.mask & TVIF_TEXT) || !pInfo->item.pszText || pInfo->item.cchTextMax < 1)
            return;
        CString strText;
        if (auto* pItem = reinterpret_cast<CItem*>(pInfo->item.lParam))
            pItem->GetText(strText);
        pInfo->item.pszText[0] = 0;
        MultiByteToWideChar(CP_ACP, 0, strText, -1, pInfo->item.pszText, pInfo->item.cchTextMax);
        pInfo->item.pszText[pInfo->item.cchTextMax - 1] = 0;
        return;
    }
    auto* pInfo = reinterpret_cast<NMTVDISPINFOA*>(pNMHDR);
    if (!(pInfo->item.mask & TVIF_TEXT) || !pInfo->item.pszText || pInfo->item.cchTextMax < 1)
        return;
    CString strText;
    if (auto* pItem = reinterpret_cast<CItem*>(pInfo->item.lParam))
        pItem->GetText(strText);
    lstrcpynA(pInfo->item.pszText, strText, pInfo->item.cchTextMax);
}

void CNetTree::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    if (m_nDeleting)
        return;
    auto* pNMTV = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    HTREEITEM hItem = pNMTV->itemNew.hItem;
    CItem* pItem = ItemFromHandle(hItem);
    if (!IsWindowVisible() || !m_pFileList || !pItem)
        return;

    CString strPath;
    pItem->GetPath(strPath, false);
    CString strTitle;
    strTitle.LoadString(IDS_TITLE_FORMAT);
    strTitle.Replace("%1", strPath);
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->SetWindowText(strTitle);

    ListItem(hItem, false, 1);

    m_pFileList->m_pItem = pItem;
    m_pFileList->Refill();
}

void CNetTree::OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult) {
    auto* pNMTV = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    if (pNMTV->itemOld.hItem == m_hLastExpanded)
        m_hLastExpanded = nullptr;
    *pResult = 0;
}

// ---- Commands ------------------------------------------------------------------------------

void CNetTree::OnRefresh() {
    HTREEITEM hSelected = CTreeCtrl::GetSelectedItem();
    // The unreachable-network entry has nothing to list but the network itself.
    if (!hSelected || !ItemFromHandle(hSelected))
        ListRoot();
    else
        ListItem(hSelected, true, 1);
}

void CNetTree::OnExpand(UINT nID) {
    HTREEITEM hSelected = CTreeCtrl::GetSelectedItem();
    ListItem(hSelected ? hSelected : TVI_ROOT, false, static_cast<int>(nID - 32780));
}

void CNetTree::OnDelete() {
    CItem* pItem = GetSelectedNetItem();
    if (!pItem || pItem->GetKind() != KIND_DIR)
        return;
    // The shell's dialogs run a message loop: keep the item while they are up.
    pItem->AddRef();
    CFilenameList list;
    CString strPath;
    pItem->GetPath(strPath, true);
    list.AddTail(strPath);
    list.Delete(m_hWnd);
    if (pItem->m_hTreeItem) {
        HTREEITEM hParent = GetParentItem(pItem->m_hTreeItem);
        if (hParent)
            ListItem(hParent, true, 1);
    }
    pItem->Release();
}

void CNetTree::OnCopy() {
    CItem* pItem = GetSelectedNetItem();
    if (!pItem || pItem->GetKind() < KIND_SHARE)
        return;
    CString strPath;
    pItem->GetPath(strPath, true);
    CFilenameList list;
    list.AddTail(strPath);
    list.CopyToClipboard();
}

void CNetTree::OnCopyPath(UINT nID) {
    // Also reached from the right-click menu, whatever the selection.
    CItem* pItem = GetSelectedNetItem();
    if (!pItem)
        return;
    CString strPath;
    pItem->GetPath(strPath, true);
    CopyPathToClipboard(nID, strPath);
}

void CNetTree::OnUpdateAnyItem(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetSelectedNetItem() != nullptr);
}

void CNetTree::OnUpdateDelete(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetSelectedKind() == KIND_DIR);
}

void CNetTree::OnUpdateCopy(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetSelectedKind() >= KIND_SHARE);
}

void CNetTree::AddSelectionTo(CFilenameList& list) {
    CItem* pItem = GetSelectedNetItem();
    if (!pItem || pItem->GetKind() < KIND_SHARE)
        return;
    CString strPath;
    pItem->GetPath(strPath, true);
    list.AddTail(strPath);
}

// ---- Mouse and focus -----------------------------------------------------------------------

void CNetTree::OnSetFocus(CWnd* pOldWnd) {
    CTreeCtrl::OnSetFocus(pOldWnd);
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->SetFocusPane(this);
}

void CNetTree::OnRClick(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    POINT ptScreen;
    GetCursorPos(&ptScreen);
    TVHITTESTINFO hti = {};
    hti.pt = ptScreen;
    ScreenToClient(&hti.pt);
    HTREEITEM hItem = HitTest(&hti);
    CItem* pItem = ItemFromHandle(hItem);
    if (!pItem)
        return;
    CString strPath;
    pItem->GetPath(strPath, true);
    // A domain has no path; the shell would take "" for the desktop.
    if (strPath.IsEmpty())
        return;
    TrackShellMenu(strPath, ptScreen);
}

void CNetTree::TrackShellMenu(const CString& strPath, POINT ptScreen) {
    m_contextMenu.TrackItemMenu(strPath, ptScreen);
}

void CNetTree::OnDblClk(NMHDR*, LRESULT* pResult) {
    *pResult = 1;
    CItem* pItem = GetSelectedNetItem();
    if (!pItem)
        return;
    CString strPath;
    pItem->GetPath(strPath, true);
    if (!strPath.IsEmpty())
        ShellExecuteA(m_hWnd, nullptr, strPath, nullptr, nullptr, SW_SHOW);
}

void CNetTree::OnBeginDrag(NMHDR* pNMHDR, LRESULT*) {
    auto* pNMTV = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
    CItem* pItem = ItemFromHandle(pNMTV->itemNew.hItem);
    if (!pItem || pItem->GetKind() < KIND_SHARE)
        return;
    CString strPath;
    pItem->GetPath(strPath, true);
    CFilenameList list;
    list.AddTail(strPath);
    list.DragFiles();
}

#include "shell/shell_context_menu.h"

#include "framework/menu.h"

#include <shlwapi.h>

IShellFolder* g_pDesktopFolder = nullptr;

namespace {

// Takes the desktop folder before the application starts and releases it at exit.
struct DesktopFolderHolder {
    DesktopFolderHolder() {
        if (FAILED(SHGetDesktopFolder(&g_pDesktopFolder)))
            g_pDesktopFolder = nullptr;
    }
    ~DesktopFolderHolder() {
        if (g_pDesktopFolder)
            g_pDesktopFolder->Release();
        g_pDesktopFolder = nullptr;
    }
} g_desktopFolderHolder;

// Older headers only; the value is the same everywhere.
#ifndef CMF_INCLUDESTATIC
#define CMF_INCLUDESTATIC 0x00000040
#endif

bool IsShellCommand(UINT id) {
    return id >= SHELL_CMD_FIRST && id <= SHELL_CMD_LAST;
}

} // namespace

LPITEMIDLIST PathToPidl(const char* pszName, IShellFolder* pFolder) {
    if (!pszName || !pFolder)
        return nullptr;
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, pszName, -1, wide, MAX_PATH))
        return nullptr;
    LPITEMIDLIST pidl = nullptr;
    ULONG eaten = 0;
    if (FAILED(pFolder->ParseDisplayName(nullptr, nullptr, wide, &eaten, &pidl, nullptr)))
        return nullptr;
    return pidl;
}

IShellFolder* BindToParentFolder(const char* pszPath, LPITEMIDLIST* ppidl,
                                 LPCITEMIDLIST* ppidlLast) {
    if (ppidlLast)
        *ppidlLast = nullptr;
    LPITEMIDLIST pidl = PathToPidl(pszPath, g_pDesktopFolder);
    if (ppidl)
        *ppidl = pidl;
    if (!pidl)
        return nullptr;
    IShellFolder* pFolder = nullptr;
    LPCITEMIDLIST pidlLast = nullptr;
    if (FAILED(
            SHBindToParent(pidl, IID_IShellFolder, reinterpret_cast<void**>(&pFolder), &pidlLast)))
        pFolder = nullptr;
    if (ppidl) {
        if (ppidlLast && pFolder)
            *ppidlLast = pidlLast;
    } else {
        // The last part points into the list: without the list there is none to give.
        CoTaskMemFree(pidl);
    }
    return pFolder;
}

LPITEMIDLIST* GetChildPidls(const CFilenameList& list, IShellFolder* pFolder) {
    auto* ppidl = new LPITEMIDLIST[list.GetCount() > 0 ? list.GetCount() : 1]();
    int i = 0;
    for (POSITION pos = list.GetHeadPosition(); pos; ++i)
        ppidl[i] = PathToPidl(PathFindFileNameA(list.GetNext(pos)), pFolder);
    return ppidl;
}

void FreeChildPidls(LPITEMIDLIST* ppidl, int nCount) {
    if (!ppidl)
        return;
    for (int i = 0; i < nCount; ++i)
        if (ppidl[i])
            CoTaskMemFree(ppidl[i]);
    delete[] ppidl;
}

void CShellContextMenu::ReleaseMenu() {
    if (m_pMenu)
        m_pMenu->Release();
    m_pMenu = nullptr;
}

void CShellContextMenu::BuildMenu(IShellFolder* pFolder, UINT nCount, LPCITEMIDLIST* ppidl) {
    ReleaseMenu();
    IContextMenu* pMenu = nullptr;
    if (!pFolder ||
        FAILED(pFolder->GetUIObjectOf(OwnerHwnd(), nCount, ppidl, IID_IContextMenu, nullptr,
                                      reinterpret_cast<void**>(&pMenu))) ||
        !pMenu)
        return;

    IContextMenu* pNewer = nullptr;
    if (SUCCEEDED(pMenu->QueryInterface(IID_IContextMenu3, reinterpret_cast<void**>(&pNewer))) &&
        pNewer) {
        pMenu->Release();
        m_pMenu = pNewer;
        m_nVersion = 3;
    } else if (SUCCEEDED(
                   pMenu->QueryInterface(IID_IContextMenu2, reinterpret_cast<void**>(&pNewer))) &&
               pNewer) {
        pMenu->Release();
        m_pMenu = pNewer;
        m_nVersion = 2;
    } else {
        m_pMenu = pMenu;
        m_nVersion = 1;
    }
    m_pMenu->QueryContextMenu(m_hPopup, 0, SHELL_CMD_FIRST, SHELL_CMD_LAST,
                              CMF_CANRENAME | CMF_INCLUDESTATIC);
}

bool CShellContextMenu::HandleMenuMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT* pResult) {
    if (!m_pMenu)
        return false;

    if (message == WM_COMMAND && IsShellCommand(LOWORD(wParam))) {
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof info;
        info.hwnd = OwnerHwnd();
        info.lpVerb = MAKEINTRESOURCEA(LOWORD(wParam) - SHELL_CMD_FIRST);
        info.nShow = SW_SHOWNORMAL;
        m_pMenu->InvokeCommand(&info);
        *pResult = 0;
        return true;
    }

    if (m_nVersion < 2)
        return false;
    // Version 2 and 3 objects both answer IContextMenu2, which m_pMenu then is.
    auto* pMenu2 = static_cast<IContextMenu2*>(m_pMenu);

    switch (message) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM: {
        UINT ctlType, itemID;
        if (message == WM_DRAWITEM) {
            const auto* p = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            ctlType = p->CtlType;
            itemID = p->itemID;
        } else {
            const auto* p = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
            ctlType = p->CtlType;
            itemID = p->itemID;
        }
        if (ctlType != ODT_MENU || !IsShellCommand(itemID))
            return false;
        pMenu2->HandleMenuMsg(message, wParam, lParam);
        *pResult = 1;
        return true;
    }
    case WM_INITMENUPOPUP:
        // A submenu of the shell's, such as one it fills as it opens.
        if (!IsShellCommand(GetMenuItemID(reinterpret_cast<HMENU>(wParam), 0)))
            return false;
        pMenu2->HandleMenuMsg(message, wParam, lParam);
        *pResult = 1;
        return true;
    case WM_MENUCHAR:
        if (m_nVersion != 3 || reinterpret_cast<HMENU>(lParam) != m_hPopup)
            return false;
        {
            LRESULT result = 0;
            if (FAILED(static_cast<IContextMenu3*>(m_pMenu)->HandleMenuMsg2(message, wParam, lParam,
                                                                            &result)))
                return false;
            *pResult = result;
        }
        return true;
    default:
        return false;
    }
}

bool CShellContextMenu::TrackPopup(IShellFolder* pFolder, UINT nCount, LPCITEMIDLIST* ppidl,
                                   POINT ptScreen) {
    CMenu menu; // loaded afresh for every right-click, destroyed when the popup closed
    if (!menu.LoadMenu(IDR_POPUP_COPY))
        return false;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup)
        return false;
    m_hPopup = pPopup->GetSafeHmenu();
    BuildMenu(pFolder, nCount, ppidl);
    return pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, m_pOwner) != FALSE;
}

bool CShellContextMenu::TrackItemMenu(const char* pszPath, POINT ptScreen) {
    LPITEMIDLIST pidl = nullptr;
    LPCITEMIDLIST pidlLast = nullptr;
    IShellFolder* pFolder = BindToParentFolder(pszPath, &pidl, &pidlLast);
    bool shown = false;
    if (pFolder && pidlLast)
        shown = TrackPopup(pFolder, 1, &pidlLast, ptScreen);
    if (pFolder)
        pFolder->Release();
    if (pidl)
        CoTaskMemFree(pidl);
    return shown;
}

bool CShellContextMenu::TrackSelectionMenu(const CFilenameList& list, POINT ptScreen) {
    if (list.IsEmpty())
        return false;
    IShellFolder* pFolder = BindToParentFolder(list.GetHead());
    if (!pFolder)
        return false;
    LPITEMIDLIST* ppidl = GetChildPidls(list, pFolder);
    const bool shown = TrackPopup(pFolder, list.GetCount(),
                                  static_cast<LPCITEMIDLIST*>(static_cast<void*>(ppidl)), ptScreen);
    FreeChildPidls(ppidl, list.GetCount());
    pFolder->Release();
    return shown;
}

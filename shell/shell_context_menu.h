// The shell's own context menu for paths, with the program's three path commands below it, and
// the forwarding of the menu messages that the shell's menu object needs while it is open.
#pragma once

#include "framework/wnd.h"
#include "shell/filename_list.h"

#include <windows.h>
#include <shlobj.h>

// The shell's items use these command identifiers (both included); the shell's command offset is
// the identifier minus the first.
const UINT SHELL_CMD_FIRST = 0x1000;
const UINT SHELL_CMD_LAST = 0x2000;

#if __has_include("res/resource.h")
#include "res/resource.h"
#endif
#ifndef IDR_POPUP_COPY
#define IDR_POPUP_COPY 102
#endif

// The desktop folder, which parses full paths; obtained at static initialisation, released at
// exit.
extern IShellFolder* g_pDesktopFolder;

// The item identifier list of a path or name parsed by pFolder (free with CoTaskMemFree), or
// none (also when the name does not fit in MAX_PATH UTF-16 units).
LPITEMIDLIST PathToPidl(const char* pszName, IShellFolder* pFolder);

// The folder that holds the path's object (one reference for the caller), or none. With ppidl
// the absolute list is stored there (also none), and the caller frees it; with ppidlLast the last
// part, pointing into that list. Without ppidl no last part is given.
IShellFolder* BindToParentFolder(const char* pszPath, LPITEMIDLIST* ppidl = nullptr,
                                 LPCITEMIDLIST* ppidlLast = nullptr);

// One identifier list per path (its last component parsed by pFolder; none on failure), in list
// order. Free with FreeChildPidls.
LPITEMIDLIST* GetChildPidls(const CFilenameList& list, IShellFolder* pFolder);
void FreeChildPidls(LPITEMIDLIST* ppidl, int nCount);

// One per view. The view's window procedure offers every message to HandleMenuMessage first.
class CShellContextMenu {
public:
    explicit CShellContextMenu(CWnd* pOwner = nullptr) : m_pOwner(pOwner) {}
    ~CShellContextMenu() { ReleaseMenu(); }
    CShellContextMenu(const CShellContextMenu&) = delete;
    CShellContextMenu& operator=(const CShellContextMenu&) = delete;

    void ReleaseMenu();
    // Replaces the menu object by the shell's one for the objects and lets it fill m_hPopup.
    void BuildMenu(IShellFolder* pFolder, UINT nCount, LPCITEMIDLIST* ppidl);
    // True when the message was handled for the shell; *pResult is then the window
    // procedure's answer.
    bool HandleMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    // The right-click sequences. Each shows the popup at ptScreen, owned by m_pOwner, and
    // returns once it closed; the chosen command reaches the owner as WM_COMMAND afterwards
    // (the shell's through HandleMenuMessage, the program's to its handlers). False when no
    // popup was shown.
    // Network tree: one item by its full path. Nothing when the path cannot be bound.
    bool TrackItemMenu(const char* pszPath, POINT ptScreen);
    // File list: the selected entries, all in one folder. Nothing for an empty list or when the
    // first path cannot be bound.
    bool TrackSelectionMenu(const CFilenameList& list, POINT ptScreen);

    CWnd* m_pOwner;
    int m_nVersion = 0; // 1, 2 or 3: the newest interface that m_pMenu offers
    IContextMenu* m_pMenu = nullptr;
    HMENU m_hPopup = nullptr; // only compared, never used after the popup closed

private:
    HWND OwnerHwnd() const { return m_pOwner ? m_pOwner->GetSafeHwnd() : nullptr; }
    // Loads the program's popup, lets the shell fill it, shows it and destroys it.
    bool TrackPopup(IShellFolder* pFolder, UINT nCount, LPCITEMIDLIST* ppidl, POINT ptScreen);
};

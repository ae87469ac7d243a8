// CMenu: a menu handle; owns it unless it is a submenu obtained from GetSubMenu.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

class CWnd;

class CMenu {
public:
    CMenu() = default;
    ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL LoadMenu(UINT nIDResource);
    BOOL Attach(HMENU hMenu) {
        DestroyMenu();
        m_hMenu = hMenu;
        return hMenu != nullptr;
    }
    HMENU Detach() {
        HMENU h = m_hMenu;
        m_hMenu = nullptr;
        m_subMenus.clear();
        return h;
    }
    BOOL DestroyMenu();
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }

    // The popup at nPos, or none; the object lives as long as this one.
    CMenu* GetSubMenu(int nPos) const;
    // Shows a popup menu (a submenu); the chosen command reaches pWnd as WM_COMMAND.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
    UINT GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
        return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
    }
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
        return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck);
    }

    HMENU m_hMenu = nullptr;

private:
    BOOL m_bOwned = TRUE;
    mutable std::vector<std::unique_ptr<CMenu>> m_subMenus;
};

#include "framework/menu.h"

#include "framework/app.h"
#include "framework/wnd.h"

BOOL CMenu::LoadMenu(UINT nIDResource) {
    return Attach(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource)));
}

BOOL CMenu::DestroyMenu() {
    m_subMenus.clear();
    if (!m_hMenu)
        return FALSE;
    BOOL ok = m_bOwned ? ::DestroyMenu(m_hMenu) : TRUE;
    m_hMenu = nullptr;
    return ok;
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    HMENU hSub = ::GetSubMenu(m_hMenu, nPos);
    if (!hSub)
        return nullptr;
    for (const auto& pSub : m_subMenus)
        if (pSub->m_hMenu == hSub)
            return pSub.get();
    auto pSub = std::make_unique<CMenu>();
    pSub->m_hMenu = hSub;
    pSub->m_bOwned = FALSE; // destroyed with its parent menu
    m_subMenus.push_back(std::move(pSub));
    return m_subMenus.back().get();
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}

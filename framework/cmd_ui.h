// CCmdUI: one user-interface item (menu item, tool bar button, status bar pane) whose state an
// update handler sets. DoUpdate offers the update request along the target's command route.
#pragma once

#include "framework/message_map.h"

#include <windows.h>

class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    virtual void Enable(BOOL bOn = TRUE);
    // 0 unchecked, 1 checked (a tool bar button stays pressed), 2 indeterminate.
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR lpszText);

    // Runs the update handler found along pTarget's route (OnCmdMsg). When none set the
    // enabled state and bDisableIfNoHndler is set, the item is enabled exactly when a command
    // handler exists on that route. Answers whether an update handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    UINT m_nID = 0;
    UINT m_nIndex = 0;        // position in the menu, button or pane index
    CMenu* m_pMenu = nullptr; // menu items: the popup holding the item
    CWnd* m_pOther = nullptr; // bars: the bar window
    BOOL m_bEnableChanged = FALSE;
};

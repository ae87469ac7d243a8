// What the object tree needs from the main frame, which lives in app/ where views cannot
// reach. The main frame implements this interface; the panes find it as the application's
// main window.
#pragma once

#include <windows.h>

class CShortcutDef;

class IPaneHost {
public:
    // Turns the focus pane's selection into a copy transfer into pszDestDir (none when the
    // selection gives no path).
    virtual void CopySelectionTo(const char* pszDestDir) = 0;
    // Stamps the start of a copy transfer (GetTickCount), so that the frame can take the
    // activation back from the shell's progress window.
    virtual void SetTransferStart(DWORD dwTick) = 0;
    // Runs the keyboard-shortcut dialog on pDef; true when the user confirmed it (pDef changed).
    virtual bool EditShortcut(CShortcutDef* pDef) = 0;

protected:
    ~IPaneHost() = default;
};

// The application's main window as a pane host, or none.
IPaneHost* GetPaneHost();

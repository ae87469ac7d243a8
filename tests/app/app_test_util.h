// Helpers of the application's window tests: start and stop the application in this process,
// and read menu items, tool bar buttons and the status bar as the user sees them.
#pragma once

#include "app/app.h"
#include "app/main_frame.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace apptest {

// The settings file of this test program (beside its exe, as for velloquin.exe).
std::string ProfilePath();
std::string ReadIni(const char* pszSection, const char* pszKey);
void RemoveIni();

// The menu item of a command in the frame's menu: its popup and position.
bool FindMenuItem(HMENU hMenu, UINT nID, HMENU& hPopup, UINT& nPos);
// The item's state after its popup was opened (WM_INITMENUPOPUP runs the update handlers).
UINT MenuItemState(CMainFrame* pFrame, UINT nID);
inline bool MenuItemEnabled(CMainFrame* pFrame, UINT nID) {
    return !(MenuItemState(pFrame, nID) & (MF_GRAYED | MF_DISABLED));
}
// Tool bar button states after an idle pass.
bool ToolButtonEnabled(CMainFrame* pFrame, UINT nID);
bool ToolButtonChecked(CMainFrame* pFrame, UINT nID);
CString StatusText(CMainFrame* pFrame);

// A mouse click at the centre of a window, as the user's hardware would produce it.
void ClickInto(HWND hWnd);
// Key presses through the input queue; modifiers are held around the key.
void PressKey(WORD vk, bool bCtrl = false, bool bShift = false);
// Dispatches until done() holds (at most dwMs).
bool PumpUntil(const std::function<bool()>& done, DWORD dwMs = 5000);

// Runs check(hDlg) on the first dialog that the calling thread shows while action() runs, then
// closes the dialog with IDOK. False when no dialog appeared within dwMs.
bool WithDialog(const std::function<void()>& action, const std::function<void(HWND)>& check,
                DWORD dwMs = 10000);

// Starts the application as the exe does (InitInstance) and ends it (window closed, message
// loop ended, ExitInstance).
class AppTest : public ::testing::Test {
protected:
    // Starts without a settings file.
    void SetUp() override;
    void TearDown() override;
    void StartApp();
    // Closes the main window and runs the exit steps; idempotent.
    void StopApp();

    CMainFrame* m_pFrame = nullptr;
    bool m_bRunning = false;
};

} // namespace apptest

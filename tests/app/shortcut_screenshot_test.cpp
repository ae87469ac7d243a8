// Not a check: makes the pictures of the object tree for docs/ (two waiting transfers, two
// shortcuts) on the demo network. Disabled; run it in Wine's virtual desktop, which draws the
// title bar, with the demo network prepared as scripts/demo.sh does:
//
//   simnet/prepare-unc.sh simnet/demo/network.ini $BUILD_DIR/unc
//   VELLOQUIN_SIMNET=$PWD/simnet/demo/network.ini VQ_SHOT='Z:\tmp\shot.bmp' [LC_ALL=fr_FR.UTF-8]
//     wine explorer /desktop=shot,1280x800 shortcut_test.exe
//     --gtest_also_run_disabled_tests --gtest_filter='*DISABLED_ObjectTree*'   (one line)
//
// The running copy is held by the shell's overwrite question, moved aside for the picture.
#include "tests/app/shortcut_support.h"

#include <cstdio>
#include <cstdlib>

namespace sctest {
namespace {

std::string KeyName(UINT vk) {
    char name[64] = "";
    GetKeyNameTextA(static_cast<LONG>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16, name,
                    sizeof name);
    return name;
}

std::string CtrlShift(const char* key) {
    return KeyName(VK_CONTROL) + " + " + KeyName(VK_SHIFT) + " + " + key;
}

// The window as the screen shows it, title bar included, as a 24-bit BMP.
bool SaveWindow(HWND hWnd, const char* path) {
    RECT rc;
    GetWindowRect(hWnd, &rc);
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    HDC hScreen = GetDC(nullptr);
    HDC hMem = CreateCompatibleDC(hScreen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = cx;
    bi.bmiHeader.biHeight = cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* pBits = nullptr;
    HBITMAP hBmp = CreateDIBSection(hScreen, &bi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HGDIOBJ hOld = SelectObject(hMem, hBmp);
    BitBlt(hMem, 0, 0, cx, cy, hScreen, rc.left, rc.top, SRCCOPY);
    SelectObject(hMem, hOld);
    const DWORD dwStride = ((cx * 3) + 3) & ~3u;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + dwStride * cy;
    bool ok = false;
    if (FILE* f = fopen(path, "wb")) {
        ok = fwrite(&fh, sizeof fh, 1, f) == 1 &&
             fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 &&
             fwrite(pBits, dwStride * cy, 1, f) == 1;
        fclose(f);
    }
    DeleteObject(hBmp);
    DeleteDC(hMem);
    ReleaseDC(nullptr, hScreen);
    return ok;
}

class ScreenshotTest : public ShortcutAppTest {
protected:
    void PrepareNetwork() override {
        ASSERT_EQ(simnet::Load(""), 0) << "VELLOQUIN_SIMNET names the demo network";
        ottest::RemoveTree("C:\\Archive");
        CreateDirectoryA("C:\\Archive", nullptr);
    }
    std::string StoredShortcuts() const override {
        return StoredShortcut(0, 0x341, CtrlShift("A"), kIn) +
               StoredShortcut(1, 0x344, CtrlShift("D"), "C:\\Archive");
    }
};

TEST_F(ScreenshotTest, DISABLED_ObjectTreeWithWaitingTransfersAndShortcuts) {
    const char* pszOut = getenv("VQ_SHOT");
    ASSERT_TRUE(pszOut && *pszOut) << "VQ_SHOT names the picture";
    const std::vector<std::string> share = {"WORKGROUP", "ALPHA", "Documents"};
    const BYTE kCtrlShift = HOTKEYF_CONTROL | HOTKEYF_SHIFT;
    m_pFrame->MoveWindow(40, 30, 1000, 640);
    // Room for the two categories, as if the user had dragged the bar down.
    m_pFrame->m_wndLeftSplitter.SetRowInfo(0, 190, 0);
    m_pFrame->m_wndLeftSplitter.RecalcLayout();

    WriteFileText(In("Notes.txt"), "old");
    SelectFiles({"Notes.txt"}, share);
    Press('A', kCtrlShift);
    HWND hAsk = ottest::WaitShellDialog("", nullptr, 15000); // asked in the user's language
    ASSERT_TRUE(hAsk);
    SetWindowPos(hAsk, nullptr, 1050, 420, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    SelectFiles({"Letters", "Notes.txt"}, share);
    Press('A', kCtrlShift);
    SelectFiles({"Recipes"}, share);
    Press('D', kCtrlShift);
    ASSERT_EQ(WaitingTitles().size(), 2u);
    ::SetFocus(ObjTree());
    m_pFrame->m_pObjTree->Expand(Shortcuts(), TVE_EXPAND);
    m_pFrame->m_pObjTree->Select(Children(ObjTree(), Transfers()).at(0), TVGN_CARET);
    m_pFrame->SetForegroundWindow();
    m_pFrame->RedrawWindow(
        nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ottest::PumpFor(1500);
    EXPECT_TRUE(SaveWindow(m_pFrame->m_hWnd, pszOut)) << pszOut;

    // Delete the waiting transfers, then refuse the held copy.
    while (!Children(ObjTree(), Transfers()).empty()) {
        m_pFrame->m_pObjTree->SelectEntry(Children(ObjTree(), Transfers()).at(0));
        m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_EDIT_DELETE, 0), 0);
    }
    ottest::PressButton(hAsk, "No");
    ottest::PressButton(hAsk, "Non");
    EXPECT_TRUE(
        apptest::PumpUntil([&] { return !m_pFrame->m_pObjTree->m_pCurrentJob.load(); }, 15000));
    ottest::RemoveTree("C:\\Archive");
}

} // namespace
} // namespace sctest

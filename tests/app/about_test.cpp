#include "tests/app/app_test_util.h"

#include "app/dlg_about.h"
#include "app/static_link.h"
#include "views/file_list.h"

#include <cstring>
#include <string>
#include <vector>

using namespace apptest;

namespace {

TEST(StaticLinkTest, TextWithAnAtSignOpensAsMail) {
    const struct {
        const char* text;
        const char* target;
    } cases[] = {
        {"velloquin@osmet.example", "mailto:velloquin@osmet.example"},
        {"@first", "mailto:@first"},
        {"last@", "mailto:last@"},
        {"https://velloquin.osmet.example", "https://velloquin.osmet.example"},
        {"www.example.com/a?b=c", "www.example.com/a?b=c"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CStaticLink::GetTarget(c.text), c.target) << c.text;
}

std::vector<std::string> g_opened;
void RecordOpen(const char* pszTarget) {
    g_opened.push_back(pszTarget);
}

std::wstring WindowTextW(HWND hWnd) {
    wchar_t text[256] = L"";
    ::GetWindowTextW(hWnd, text, 256);
    return text;
}

// What a paint of the control sets in a device context.
struct Paint {
    HBRUSH hbr;
    COLORREF crText;
    HFONT hFont;
    bool bUnderlined;
};
Paint PaintOf(HWND hDlg, HWND hCtrl) {
    HDC hdc = ::CreateCompatibleDC(nullptr);
    Paint p{};
    p.hbr = reinterpret_cast<HBRUSH>(::SendMessageA(
        hDlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hCtrl)));
    p.crText = ::GetTextColor(hdc);
    p.hFont = static_cast<HFONT>(::GetCurrentObject(hdc, OBJ_FONT));
    LOGFONTA lf{};
    ::GetObjectA(p.hFont, sizeof(lf), &lf);
    p.bUnderlined = lf.lfUnderline != 0;
    ::DeleteDC(hdc);
    return p;
}

// The longest horizontal run of blue pixels in the control as it paints itself: an underline
// spans the text, glyphs alone give short runs.
int LongestBlueRun(HWND hCtrl) {
    RECT rc;
    ::GetClientRect(hCtrl, &rc);
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = rc.right;
    bmi.bmiHeader.biHeight = -rc.bottom;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    void* pBits = nullptr;
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HBITMAP hbm = ::CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HGDIOBJ hOld = ::SelectObject(hdc, hbm);
    ::SendMessageA(hCtrl, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc),
                   PRF_CLIENT | PRF_ERASEBKGND);
    ::GdiFlush();
    int nBest = 0;
    const auto* px = static_cast<const BYTE*>(pBits);
    for (int y = 0; y < rc.bottom; ++y) {
        int nRun = 0;
        for (int x = 0; x < rc.right; ++x) {
            const BYTE* p = px + 4 * (y * rc.right + x); // B, G, R
            bool bBlue = p[0] > 160 && p[1] < 100 && p[2] < 100;
            nRun = bBlue ? nRun + 1 : 0;
            nBest = nRun > nBest ? nRun : nBest;
        }
    }
    ::SelectObject(hdc, hOld);
    ::DeleteObject(hbm);
    ::DeleteDC(hdc);
    return nBest;
}

class AboutTest : public AppTest {};

TEST_F(AboutTest, AboutBoxShowsTwoWorkingLinks) {
    HWND hMain = m_pFrame->m_hWnd;
    bool bChecked = false;
    auto check = [&](HWND hDlg) {
        bChecked = true;
        EXPECT_EQ(WindowTextW(hDlg), L"About Velloquin");
        EXPECT_FALSE(::IsWindowEnabled(hMain)); // modal

        HCURSOR hHand = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_HAND));
        ASSERT_NE(hHand, nullptr);
        std::vector<HFONT> fonts;
        for (int nID : {IDC_LINK_MAIL, IDC_LINK_WEB}) {
            SCOPED_TRACE(nID);
            HWND hLink = ::GetDlgItem(hDlg, nID);
            ASSERT_NE(hLink, nullptr);
            EXPECT_NE(dynamic_cast<CStaticLink*>(CWnd::FromHandlePermanent(hLink)), nullptr);
            EXPECT_EQ(::SendMessageA(hLink, WM_NCHITTEST, 0, 0), HTCLIENT);
            ::SetCursor(nullptr);
            EXPECT_EQ(::SendMessageA(hLink, WM_SETCURSOR, reinterpret_cast<WPARAM>(hLink),
                                     MAKELPARAM(HTCAPTION, WM_MOUSEMOVE)),
                      TRUE);
            EXPECT_EQ(::GetCursor(), hHand);

            // Drawn underlined in blue, whichever font the control selects itself.
            EXPECT_GE(LongestBlueRun(hLink), 40);
            Paint first = PaintOf(hDlg, hLink);
            EXPECT_NE(first.hbr, nullptr);
            EXPECT_EQ(first.crText, RGB(0, 0, 255));
            EXPECT_TRUE(first.bUnderlined);
            Paint again = PaintOf(hDlg, hLink);
            EXPECT_EQ(again.hFont, first.hFont); // made once, at the first paint
            EXPECT_EQ(again.hbr, first.hbr);
            fonts.push_back(first.hFont);
        }
        ASSERT_EQ(fonts.size(), 2u);
        EXPECT_NE(fonts[0], fonts[1]);
        // A plain text of the box keeps the normal look, on the same background.
        HWND hMail = ::GetDlgItem(hDlg, IDC_LINK_MAIL);
        HWND hPlain = ::GetWindow(hMail, GW_HWNDPREV);
        Paint plain = PaintOf(hDlg, hPlain);
        EXPECT_NE(plain.crText, RGB(0, 0, 255));
        EXPECT_FALSE(plain.bUnderlined);
        EXPECT_EQ(plain.hbr, PaintOf(hDlg, hMail).hbr);
        EXPECT_EQ(LongestBlueRun(hPlain), 0);

        // The addresses are the project's: a mail address and a web address.
        char szMail[128] = "", szWeb[128] = "";
        ::GetDlgItemTextA(hDlg, IDC_LINK_MAIL, szMail, sizeof(szMail));
        ::GetDlgItemTextA(hDlg, IDC_LINK_WEB, szWeb, sizeof(szWeb));
        EXPECT_NE(strchr(szMail, '@'), nullptr) << szMail;
        EXPECT_EQ(strchr(szWeb, '@'), nullptr) << szWeb;
        EXPECT_GT(strlen(szWeb), 0u);
        g_opened.clear();
        auto* pfnOld = CStaticLink::s_pfnOpen;
        CStaticLink::s_pfnOpen = RecordOpen;
        for (int nID : {IDC_LINK_MAIL, IDC_LINK_WEB})
            ::SendMessageA(::GetDlgItem(hDlg, nID), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        CStaticLink::s_pfnOpen = pfnOld;
        EXPECT_EQ(g_opened, (std::vector<std::string>{std::string("mailto:") + szMail, szWeb}));
    };
    EXPECT_TRUE(WithDialog(
        [&] { m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, 0), 0); }, check));
    EXPECT_TRUE(bChecked);
    EXPECT_TRUE(::IsWindowEnabled(hMain));
}

TEST_F(AboutTest, F1OpensTheAboutBox) {
    ::SetForegroundWindow(m_pFrame->m_hWnd);
    ClickInto(m_pFrame->m_pFileList->m_hWnd);
    std::wstring caption;
    EXPECT_TRUE(
        WithDialog([&] { PressKey(VK_F1); }, [&](HWND hDlg) { caption = WindowTextW(hDlg); }));
    EXPECT_EQ(caption, L"About Velloquin");
}

} // namespace

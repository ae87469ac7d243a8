// The user's language picks the resource set. Run in English by default; the French run of the
// same program (LC_ALL=fr_FR.UTF-8, VQ_EXPECT_LANG=fr) checks the French texts.
#include "tests/app/app_test_util.h"

#include <cstdlib>
#include <string>

using namespace apptest;

namespace {

struct LanguageTexts {
    const char* code;
    LANGID primary;
    const wchar_t* menuFile;
    const wchar_t* menuHiddenShares;
    const wchar_t* aboutCaption;
    const wchar_t* ready;
    const wchar_t* unreachable;
};

const LanguageTexts kLanguages[] = {
    {"en", LANG_ENGLISH, L"&File", L"Show &Hidden Shares\tCtrl+*", L"About Velloquin", L"Ready",
     L"Local network unreachable"},
    {"fr", LANG_FRENCH, L"&Fichier", L"&Partages cach\u00E9s\tCtrl+*",
     L"\u00C0 propos de Velloquin", L"Pr\u00EAt", L"R\u00E9seau local introuvable"},
};

std::wstring LoadStringW(UINT nID) {
    const wchar_t* p = nullptr;
    int n = ::LoadStringW(::GetModuleHandleA(nullptr), nID, reinterpret_cast<LPWSTR>(&p), 0);
    return n > 0 ? std::wstring(p, n) : std::wstring();
}

class LanguageTest : public AppTest {};

TEST_F(LanguageTest, MenusStringsAndAboutBoxFollowTheUserLanguage) {
    const LANGID primary = PRIMARYLANGID(::GetUserDefaultUILanguage());
    const char* expected = getenv("VQ_EXPECT_LANG");
    const LanguageTexts* lang = &kLanguages[0];
    for (const LanguageTexts& l : kLanguages)
        if (l.primary == primary)
            lang = &l;
    if (expected) {
        ASSERT_STREQ(lang->code, expected) << "user interface language " << std::hex << primary;
    }
    SCOPED_TRACE(lang->code);

    HMENU hMenu = ::GetMenu(m_pFrame->m_hWnd);
    wchar_t text[128] = L"";
    ::GetMenuStringW(hMenu, 0, text, 128, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), lang->menuFile);
    ::GetMenuStringW(hMenu, ID_VIEW_HIDDEN_SHARES, text, 128, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(text), lang->menuHiddenShares);
    EXPECT_EQ(LoadStringW(AFX_IDS_IDLEMESSAGE), lang->ready);
    EXPECT_EQ(LoadStringW(IDS_NETWORK_UNREACHABLE), lang->unreachable);
    // The title reads the same in both.
    ::GetWindowTextW(m_pFrame->m_hWnd, text, 128);
    EXPECT_EQ(std::wstring(text), L"Velloquin");

    std::wstring caption;
    EXPECT_TRUE(
        WithDialog([&] { m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, 0), 0); },
                   [&](HWND hDlg) {
                       wchar_t buf[128] = L"";
                       ::GetWindowTextW(hDlg, buf, 128);
                       caption = buf;
                   }));
    EXPECT_EQ(caption, lang->aboutCaption);
}

} // namespace

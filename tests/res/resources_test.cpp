// The compiled resources, read back from this executable language by language: both sets hold
// the same identifiers, texts are the bound ones (accents included), and the tool bar, pictures,
// manifest and version information have the formats their readers expect.
#include "res/resource.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <cwctype>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr LANGID kFrench = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
constexpr LANGID kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
const std::set<LANGID> kBoth = {kEnglish, kFrench};

HMODULE Module() {
    return GetModuleHandleW(nullptr);
}

std::string LangName(LANGID lang) {
    return lang == kEnglish ? "English" : lang == kFrench ? "French" : std::to_string(lang);
}

// --- Raw resources --------------------------------------------------------------------------

struct Blob {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

// FindResourceEx may fall back to another language when one is missing, so presence is
// checked with Languages() and this is only called for languages known to exist.
Blob Find(LPCSTR type, LPCSTR name, LANGID lang) {
    HRSRC h = FindResourceExA(Module(), type, name, lang);
    if (!h)
        return {};
    return {static_cast<const BYTE*>(LockResource(LoadResource(Module(), h))),
            SizeofResource(Module(), h)};
}

Blob Find(LPCSTR type, UINT id, LANGID lang) {
    return Find(type, MAKEINTRESOURCEA(id), lang);
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD lang, LONG_PTR param) {
    reinterpret_cast<std::set<LANGID>*>(param)->insert(lang);
    return TRUE;
}

std::set<LANGID> Languages(LPCSTR type, UINT id) {
    std::set<LANGID> langs;
    EnumResourceLanguagesA(Module(), type, MAKEINTRESOURCEA(id), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&langs));
    return langs;
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::set<UINT>*>(param)->insert(LOWORD(name));
    else
        reinterpret_cast<std::set<UINT>*>(param)->insert(0xFFFFFFFF); // a named resource
    return TRUE;
}

std::set<UINT> Names(LPCSTR type) {
    std::set<UINT> names;
    EnumResourceNamesA(Module(), type, CollectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

// Little-endian reader over resource bytes.
class Reader {
public:
    explicit Reader(Blob b) : m_p(b.data), m_end(b.data + b.size), m_start(b.data) {}
    WORD Word() { return Read<WORD>(); }
    DWORD Dword() { return Read<DWORD>(); }
    short Short() { return Read<short>(); }
    BYTE Byte() { return Read<BYTE>(); }
    std::wstring Sz() {
        std::wstring s;
        for (WORD c; (c = Word()) != 0;)
            s += static_cast<wchar_t>(c);
        return s;
    }
    // A string or an ordinal (shown as "#n"), as in dialog templates.
    std::wstring SzOrOrd() {
        WORD first = Peek();
        if (first == 0xFFFF) {
            Word();
            return L"#" + std::to_wstring(Word());
        }
        return Sz();
    }
    void AlignDword() {
        while ((m_p - m_start) % 4)
            ++m_p;
    }
    void Skip(size_t n) { m_p += n; }
    bool AtEnd() const { return m_p >= m_end; }

private:
    template <class T> T Read() {
        T v{};
        if (m_p + sizeof(T) <= m_end)
            memcpy(&v, m_p, sizeof(T));
        m_p += sizeof(T);
        return v;
    }
    WORD Peek() {
        WORD v{};
        if (m_p + 2 <= m_end)
            memcpy(&v, m_p, 2);
        return v;
    }
    const BYTE* m_p;
    const BYTE* m_end;
    const BYTE* m_start;
};

std::string Cp1252(const std::wstring& w) {
    int n = WideCharToMultiByte(1252, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(1252, 0, w.c_str(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

// --- Strings --------------------------------------------------------------------------------

// LoadString takes the thread's language; a given language's string comes from its block.
std::optional<std::wstring> LoadStringLang(UINT id, LANGID lang) {
    Blob block = Find(RT_STRING, id / 16 + 1, lang);
    if (!block.data)
        return std::nullopt;
    Reader r(block);
    for (UINT i = 0; i < id % 16; ++i)
        r.Skip(2 * r.Word());
    WORD len = r.Word();
    if (len == 0)
        return std::nullopt;
    std::wstring s;
    for (WORD i = 0; i < len; ++i)
        s += static_cast<wchar_t>(r.Word());
    return s;
}

// Every non-empty string of a language, by identifier.
std::map<UINT, std::wstring> AllStrings(LANGID lang) {
    std::map<UINT, std::wstring> all;
    for (UINT block : Names(RT_STRING)) {
        if (!Languages(RT_STRING, block).count(lang))
            continue;
        for (UINT id = (block - 1) * 16; id < block * 16; ++id)
            if (auto s = LoadStringLang(id, lang))
                all[id] = *s;
    }
    return all;
}

// printf conversions ("%s", "%04d", "%%") and message inserts ("%1"), in order.
std::vector<std::wstring> Placeholders(const std::wstring& s) {
    const wchar_t* conversions = L"cCdiouxXeEfgGaApsSn";
    std::vector<std::wstring> out;
    size_t n = s.size();
    for (size_t i = 0; i < n; ++i) {
        if (s[i] != L'%')
            continue;
        size_t j = i + 1;
        if (j < n && s[j] == L'%') {
            out.push_back(L"%%");
            i = j;
            continue;
        }
        while (j < n && wcschr(L"-+ #0", s[j]))
            ++j;
        while (j < n && iswdigit(s[j]))
            ++j;
        if (j < n && s[j] == L'.')
            for (++j; j < n && iswdigit(s[j]);)
                ++j;
        while (j < n && wcschr(L"lhI", s[j]))
            ++j;
        if (j < n && wcschr(conversions, s[j]))
            ++j; // "%1" has no conversion letter
        out.push_back(s.substr(i, j - i));
        i = j - 1;
    }
    return out;
}

struct StringCase {
    UINT id;
    const wchar_t* en; // exact English text
    const wchar_t* fr; // exact French text; nullptr: a translation of our own, checked for shape
};

const StringCase kStrings[] = {
    {IDR_MAINFRAME, L"Velloquin", L"Velloquin"},
    {IDS_COPY_TO, L"%s: copy to %s", L"%s : copie vers %s"},
    {IDS_TRANSFER_ONE, L"Copy: %s to %s", L"Copie : %s vers %s"},
    {IDS_TRANSFER_MANY, L"Copy: %s, ... to %s", L"Copie : %s, ... vers %s"},
    {IDS_TITLE_FORMAT, L"Velloquin - %1", L"Velloquin - %1"},
    {IDS_NETWORK_UNREACHABLE, L"Local network unreachable", L"R\u00E9seau local introuvable"},
    {IDS_FILE_COLUMNS, L"Name;Size;Type;Modification time",
     L"Nom;Taille;Type;Date de modification"},
    {IDS_BOOKMARKS, L"Bookmarks", L"Signets"},
    {IDS_SEARCHES, L"Searches", L"Recherches"},
    {IDS_TRANSFERS, L"Transfers", L"Transferts"},
    {IDS_SHORTCUTS, L"Keyboard shortcuts", L"Raccourcis clavier"},
    {IDS_INVALID_SHORTCUT, L"Invalid keyboard shortcut.", L"Raccourci clavier invalide."},
    {ID_VIEW_REFRESH, L"Reload the computers list\nRefresh", nullptr},
    {ID_EDIT_ADD_BOOKMARK, L"Create a new bookmark\nAdd bookmark", nullptr},
    {ID_EDIT_FIND, L"Search for files\nFind", nullptr},
    {ID_EDIT_DELETE, L"Delete the selected object\nDelete", nullptr},
    {ID_VIEW_EXPAND_1, L"Expand the selected item\nExpand", nullptr},
    {ID_VIEW_EXPAND_2, L"Expand the selected item and all its children\nExpand 2 levels", nullptr},
    {ID_VIEW_EXPAND_3, L"Expand the selected item and all its grand-children\nExpand 3 levels",
     nullptr},
    {ID_EDIT_ADD_SHORTCUT, L"Create a keyboard shortcut\nAdd keyboard shortcut", nullptr},
    {ID_VIEW_HIDDEN_SHARES, L"Show hidden shares ($ terminated)\nHidden shares", nullptr},
    {ID_EDIT_COPY_FULL_PATH, L"Copy the full path of the selection and put it on the Clipboard",
     nullptr},
    {ID_EDIT_COPY_NAME, L"Copy the filename of the selection and put it on the Clipboard", nullptr},
    {ID_EDIT_COPY, L"Copy the selection and put it on the Clipboard\nCopy", nullptr},
    {ID_APP_ABOUT, L"Display program information, version number and copyright\nAbout", nullptr},
    {ID_APP_EXIT, L"Quit the application\nExit", nullptr},
    {ID_NEXT_PANE, L"Switch to the next window pane\nNext Pane", nullptr},
    {ID_PREV_PANE, L"Switch back to the previous window pane\nPrevious Pane", nullptr},
    {ID_VIEW_LARGEICON, L"Display the files as big icons\nIcons", nullptr},
    {ID_VIEW_LIST, L"Display the files in a list\nList", nullptr},
    {ID_VIEW_DETAILS, L"Display the files in columns\nDetails", nullptr},
    {AFX_IDS_APP_TITLE, L"Velloquin", L"Velloquin"},
    {AFX_IDS_IDLEMESSAGE, L"Ready", L"Pr\u00EAt"},
    {ID_INDICATOR_CAPS, L"CAP", L"MAJ"},
    {ID_INDICATOR_NUM, L"NUM", L"NUM"},
};

// Strings whose texts are ours: they must exist in both languages, in different words.
const UINT kOwnTexts[] = {
    AFX_IDS_SCSIZE,           AFX_IDS_SCMOVE,          AFX_IDS_SCMINIMIZE,
    AFX_IDS_SCMAXIMIZE,       AFX_IDS_SCNEXTWINDOW,    AFX_IDS_SCPREVWINDOW,
    AFX_IDS_SCCLOSE,          AFX_IDS_SCRESTORE,       AFX_IDS_SCTASKLIST,
    AFX_IDP_INTERNAL_FAILURE, AFX_IDP_COMMAND_FAILURE, AFX_IDP_FAILED_MEMORY_ALLOC,
};

TEST(StringsTest, BoundTextsInBothLanguages) {
    for (const StringCase& c : kStrings) {
        SCOPED_TRACE("string " + std::to_string(c.id));
        auto en = LoadStringLang(c.id, kEnglish);
        auto fr = LoadStringLang(c.id, kFrench);
        ASSERT_TRUE(en.has_value());
        ASSERT_TRUE(fr.has_value());
        EXPECT_EQ(*en, c.en);
        if (c.fr)
            EXPECT_EQ(*fr, c.fr);
        else
            EXPECT_NE(*fr, *en) << "French prompt left untranslated";
        // The tool tip is the part after "\n"; both languages have one or neither.
        EXPECT_EQ(en->find(L'\n') == std::wstring::npos, fr->find(L'\n') == std::wstring::npos);
    }
    for (UINT id : kOwnTexts) {
        SCOPED_TRACE("string " + std::to_string(id));
        auto en = LoadStringLang(id, kEnglish);
        auto fr = LoadStringLang(id, kFrench);
        ASSERT_TRUE(en && fr);
        EXPECT_FALSE(en->empty());
        EXPECT_NE(*en, *fr);
    }
}

TEST(StringsTest, CopyDirectoryPathHasNoPromptInEitherLanguage) {
    EXPECT_FALSE(LoadStringLang(ID_EDIT_COPY_DIR_PATH, kEnglish).has_value());
    EXPECT_FALSE(LoadStringLang(ID_EDIT_COPY_DIR_PATH, kFrench).has_value());
}

TEST(StringsTest, SameIdentifiersAndPlaceholdersInBothLanguages) {
    for (UINT block : Names(RT_STRING)) {
        SCOPED_TRACE("string block " + std::to_string(block));
        EXPECT_EQ(Languages(RT_STRING, block), kBoth);
    }
    std::map<UINT, std::wstring> en = AllStrings(kEnglish), fr = AllStrings(kFrench);
    std::set<UINT> enIds, frIds;
    for (auto& [id, s] : en)
        enIds.insert(id);
    for (auto& [id, s] : fr)
        frIds.insert(id);
    EXPECT_EQ(enIds, frIds);
    size_t listed = std::size(kStrings) + std::size(kOwnTexts);
    EXPECT_EQ(enIds.size(), listed) << "a string is missing from the tables of this test";
    for (auto& [id, s] : en) {
        SCOPED_TRACE("string " + std::to_string(id));
        if (fr.count(id)) {
            EXPECT_EQ(Placeholders(s), Placeholders(fr[id]));
        }
    }
}

TEST(StringsTest, PlaceholderScannerSeesConversionsAndInserts) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(Placeholders(L"%s: copy to %s"), (V{L"%s", L"%s"}));
    EXPECT_EQ(Placeholders(L"Velloquin - %1"), (V{L"%1"}));
    EXPECT_EQ(Placeholders(L"%1 of %2!d!"), (V{L"%1", L"%2"}));
    EXPECT_EQ(Placeholders(L"%04d_Hot 100%% %-5ls"), (V{L"%04d", L"%%", L"%-5ls"}));
    EXPECT_EQ(Placeholders(L"($ terminated)"), V{});
}

TEST(StringsTest, FrenchAccentsAreCp1252Letters) {
    // Read as the program reads them: ANSI text in the French code page.
    EXPECT_EQ(Cp1252(*LoadStringLang(IDS_NETWORK_UNREACHABLE, kFrench)),
              "R\xE9seau local introuvable");
    EXPECT_EQ(Cp1252(*LoadStringLang(AFX_IDS_IDLEMESSAGE, kFrench)), "Pr\xEAt");
}

// --- Menus ----------------------------------------------------------------------------------

constexpr UINT kPopup = 0xFFFFFFFF;
constexpr UINT kSeparator = 0;

struct MenuCase {
    int depth;
    UINT id; // kPopup, kSeparator or a command
    const wchar_t* en;
    const wchar_t* fr;
};

const MenuCase kMainMenu[] = {
    {0, kPopup, L"&File", L"&Fichier"},
    {1, ID_APP_EXIT, L"&Quit", L"&Quitter"},
    {0, kPopup, L"&Edit", L"&Edition"},
    {1, ID_EDIT_DELETE, L"D&elete\tDel", L"&Supprimer\tSuppr"},
    {1, ID_EDIT_ADD_BOOKMARK, L"Add &Bookmark...", L"Ajouter si&gnet..."},
    {1, ID_EDIT_ADD_SHORTCUT, L"Add &Shortcut...", L"Ajouter r&accourci clavier..."},
    {1, ID_EDIT_FIND, L"F&ind...\tCtrl+F", L"&Rechercher...\tCtrl+F"},
    {1, kSeparator, L"", L""},
    {1, ID_EDIT_COPY, L"&Copy\tCtrl+C", L"C&opier\tCtrl+C"},
    {1, kSeparator, L"", L""},
    {1, ID_EDIT_COPY_FULL_PATH, L"Copy &Full Path", L"Copier le &chemin complet"},
    {1, ID_EDIT_COPY_DIR_PATH, L"Copy &Directory Path", L"Copier le chemin du r\u00E9&pertoire"},
    {1, ID_EDIT_COPY_NAME, L"Copy &Name", L"Copier le &nom"},
    {0, kPopup, L"&View", L"&Affichage"},
    {1, ID_VIEW_REFRESH, L"&Refresh\tF5", L"&Rafra\u00EEchir\tF5"},
    {1, kSeparator, L"", L""},
    {1, ID_VIEW_EXPAND_1, L"Expand &One level\tCtrl+1", L"D\u00E9velopper &un niveau\tCtrl+1"},
    {1, ID_VIEW_EXPAND_2, L"Expand &Two levels\tCtrl+2", L"D\u00E9velopper &deux niveaux\tCtrl+2"},
    {1, ID_VIEW_EXPAND_3, L"Expand Thr&ee levels\tCtrl+3",
     L"D\u00E9velopper &trois niveaux\tCtrl+3"},
    {1, kSeparator, L"", L""},
    {1, ID_VIEW_LARGEICON, L"&Icons", L"&Ic\u00F4nes"},
    {1, ID_VIEW_LIST, L"&List", L"&Liste"},
    {1, ID_VIEW_DETAILS, L"&Details", L"D&\u00E9tails"},
    {1, kSeparator, L"", L""},
    {1, ID_VIEW_HIDDEN_SHARES, L"Show &Hidden Shares\tCtrl+*", L"&Partages cach\u00E9s\tCtrl+*"},
    {0, kPopup, L"&?", L"&?"},
    {1, ID_APP_ABOUT, L"&About Velloquin...\tF1", L"&\u00C0 propos de Velloquin...\tF1"},
};

const MenuCase kPopupMenu[] = {
    {0, kPopup, nullptr, nullptr}, // caption never shown
    {1, ID_EDIT_COPY_FULL_PATH, L"Copy &Full Path", L"Copier le &chemin complet"},
    {1, ID_EDIT_COPY_DIR_PATH, L"Copy &Directory Path", L"Copier le chemin du r\u00E9&pertoire"},
    {1, ID_EDIT_COPY_NAME, L"Copy &Name", L"Copier le &nom"},
};

struct MenuEntry {
    int depth;
    UINT id;
    std::wstring text;
};

void WalkMenu(HMENU menu, int depth, std::vector<MenuEntry>& out) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &mii));
        wchar_t text[256] = L"";
        GetMenuStringW(menu, i, text, 256, MF_BYPOSITION);
        UINT id = mii.hSubMenu ? kPopup : (mii.fType & MFT_SEPARATOR) ? kSeparator : mii.wID;
        out.push_back({depth, id, text});
        if (mii.hSubMenu)
            WalkMenu(mii.hSubMenu, depth + 1, out);
    }
}

std::vector<MenuEntry> LoadMenuLang(UINT id, LANGID lang) {
    std::vector<MenuEntry> entries;
    Blob b = Find(RT_MENU, id, lang);
    HMENU menu = b.data ? LoadMenuIndirectW(b.data) : nullptr;
    if (menu) {
        WalkMenu(menu, 0, entries);
        DestroyMenu(menu);
    }
    return entries;
}

template <size_t N> void ExpectMenu(UINT id, const MenuCase (&expected)[N]) {
    ASSERT_EQ(Languages(RT_MENU, id), kBoth);
    for (LANGID lang : kBoth) {
        SCOPED_TRACE("menu " + std::to_string(id) + ", " + LangName(lang));
        std::vector<MenuEntry> got = LoadMenuLang(id, lang);
        ASSERT_EQ(got.size(), N);
        for (size_t i = 0; i < N; ++i) {
            SCOPED_TRACE("entry " + std::to_string(i));
            EXPECT_EQ(got[i].depth, expected[i].depth);
            EXPECT_EQ(got[i].id, expected[i].id);
            const wchar_t* text = lang == kEnglish ? expected[i].en : expected[i].fr;
            if (text) {
                EXPECT_EQ(got[i].text, text);
            }
        }
    }
}

TEST(MenusTest, MainMenuInBothLanguages) {
    ExpectMenu(IDR_MAINFRAME, kMainMenu);
}

TEST(MenusTest, RightClickPopupInBothLanguages) {
    ExpectMenu(IDR_POPUP_COPY, kPopupMenu);
}

TEST(MenusTest, FrenchAboutItemIsCp1252) {
    std::vector<MenuEntry> fr = LoadMenuLang(IDR_MAINFRAME, kFrench);
    ASSERT_FALSE(fr.empty());
    EXPECT_EQ(Cp1252(fr.front().text), "&Fichier");
    EXPECT_EQ(Cp1252(fr.back().text), "&\xC0 propos de Velloquin...\tF1");
}

TEST(MenusTest, EveryMenuCommandButOneHasAPromptInBothLanguages) {
    for (const MenuCase& m : kMainMenu) {
        if (m.id == kPopup || m.id == kSeparator || m.id == ID_EDIT_COPY_DIR_PATH)
            continue;
        SCOPED_TRACE("command " + std::to_string(m.id));
        EXPECT_TRUE(LoadStringLang(m.id, kEnglish).has_value());
        EXPECT_TRUE(LoadStringLang(m.id, kFrench).has_value());
    }
}

// --- Accelerators ---------------------------------------------------------------------------

struct AccelCase {
    WORD key;
    BYTE modifiers; // FSHIFT, FCONTROL, FALT
    WORD command;
};

const AccelCase kAccels[] = {
    {VK_F1, 0, ID_APP_ABOUT},          {VK_DELETE, 0, ID_EDIT_DELETE},
    {'C', FCONTROL, ID_EDIT_COPY},     {'1', FCONTROL, ID_VIEW_EXPAND_1},
    {'2', FCONTROL, ID_VIEW_EXPAND_2}, {'3', FCONTROL, ID_VIEW_EXPAND_3},
    {VK_F6, 0, ID_NEXT_PANE},          {VK_F6, FSHIFT, ID_PREV_PANE},
    {VK_F5, 0, ID_VIEW_REFRESH},       {0xDC, FCONTROL, ID_VIEW_HIDDEN_SHARES},
    {'F', FCONTROL, ID_EDIT_FIND},
};

TEST(AcceleratorsTest, SameTableInOrderInBothLanguages) {
    ASSERT_EQ(Languages(RT_ACCELERATOR, IDR_MAINFRAME), kBoth);
    EXPECT_EQ(Names(RT_ACCELERATOR), std::set<UINT>{IDR_MAINFRAME});
    for (LANGID lang : kBoth) {
        SCOPED_TRACE(LangName(lang));
        Reader r(Find(RT_ACCELERATOR, IDR_MAINFRAME, lang));
        size_t i = 0;
        for (bool last = false; !last; ++i) {
            WORD flags = r.Word(), key = r.Word(), command = r.Word();
            r.Word();
            last = (flags & 0x80) != 0;
            ASSERT_LT(i, std::size(kAccels));
            SCOPED_TRACE("entry " + std::to_string(i));
            EXPECT_TRUE(flags & FVIRTKEY);
            EXPECT_EQ(flags & (FSHIFT | FCONTROL | FALT), kAccels[i].modifiers);
            EXPECT_EQ(key, kAccels[i].key);
            EXPECT_EQ(command, kAccels[i].command);
        }
        EXPECT_EQ(i, std::size(kAccels));
    }
}

// --- Tool bar -------------------------------------------------------------------------------

const WORD kToolbar[] = {
    ID_EDIT_ADD_BOOKMARK,  ID_EDIT_FIND,      ID_EDIT_ADD_SHORTCUT, ID_EDIT_DELETE,
    ID_SEPARATOR,          ID_VIEW_REFRESH,   ID_SEPARATOR,         ID_EDIT_COPY,
    ID_SEPARATOR,          ID_VIEW_LARGEICON, ID_VIEW_LIST,         ID_VIEW_DETAILS,
    ID_VIEW_HIDDEN_SHARES, ID_SEPARATOR,      ID_APP_ABOUT,         ID_APP_EXIT,
};

std::vector<WORD> ToolbarItems(LANGID lang) {
    Blob b = Find(RT_TOOLBAR, IDR_MAINFRAME, lang);
    Reader r(b);
    EXPECT_EQ(r.Word(), 1) << "version";
    EXPECT_EQ(r.Word(), 16) << "button width";
    EXPECT_EQ(r.Word(), 16) << "button height";
    WORD count = r.Word();
    EXPECT_EQ(b.size, 8u + 2u * count);
    std::vector<WORD> items;
    for (WORD i = 0; i < count; ++i)
        items.push_back(r.Word());
    return items;
}

TEST(ToolbarTest, TwelveButtonsInFiveGroupsInBothLanguages) {
    ASSERT_EQ(Languages(RT_TOOLBAR, IDR_MAINFRAME), kBoth);
    for (LANGID lang : kBoth) {
        SCOPED_TRACE(LangName(lang));
        std::vector<WORD> items = ToolbarItems(lang);
        EXPECT_EQ(items, std::vector<WORD>(std::begin(kToolbar), std::end(kToolbar)));
        std::vector<int> groups{0};
        for (WORD id : items) {
            if (id == ID_SEPARATOR)
                groups.push_back(0);
            else
                ++groups.back();
        }
        EXPECT_EQ(groups, (std::vector<int>{4, 1, 1, 4, 2}));
    }
}

TEST(ToolbarTest, EveryButtonHasAPromptAndATipInBothLanguages) {
    for (WORD id : kToolbar) {
        if (id == ID_SEPARATOR)
            continue;
        for (LANGID lang : kBoth) {
            SCOPED_TRACE("button " + std::to_string(id) + ", " + LangName(lang));
            auto s = LoadStringLang(id, lang);
            ASSERT_TRUE(s.has_value());
            size_t nl = s->find(L'\n');
            ASSERT_NE(nl, std::wstring::npos);
            EXPECT_GT(nl, 0u);
            EXPECT_LT(nl + 1, s->size());
        }
    }
}

// --- Dialogs --------------------------------------------------------------------------------

struct ControlCase {
    int id;
    const wchar_t* cls; // compared without case
    const wchar_t* text;
    short x, y, cx, cy;
    DWORD styleMask, style; // (style & styleMask) == style
};

struct DialogCase {
    UINT id;
    LANGID lang;
    const wchar_t* caption;
    short cx, cy;
    std::vector<ControlCase> controls;
};

constexpr DWORD kStaticText = SS_TYPEMASK | SS_NOPREFIX;
constexpr DWORD kField = WS_BORDER | WS_TABSTOP;

std::vector<ControlCase> AboutControls(short versionWidth) {
    return {
        {IDC_STATIC, L"Static", L"#128", 6, 12, 20, 20, SS_TYPEMASK, SS_ICON},
        {IDC_STATIC, L"Static", L"Velloquin version\u00A01.1", 42, 12, versionWidth, 8, kStaticText,
         SS_LEFT | SS_NOPREFIX},
        {IDC_STATIC, L"Static", L"Osmet Velloquin team", 42, 28, 98, 8, kStaticText,
         SS_LEFT | SS_NOPREFIX},
        {IDC_LINK_MAIL, L"Static", L"vq@osmet.example", 42, 42, 62, 8, kStaticText,
         SS_LEFT | SS_NOPREFIX},
        {IDC_LINK_WEB, L"Static", L"www.osmet.example", 42, 54, 69, 8, kStaticText,
         SS_LEFT | SS_NOPREFIX},
        {IDOK, L"Button", L"OK", 53, 78, 42, 14, BS_TYPEMASK, BS_DEFPUSHBUTTON},
    };
}

const DialogCase kDialogs[] = {
    {IDD_ABOUTBOX, kEnglish, L"About Velloquin", 150, 98, AboutControls(102)},
    {IDD_ABOUTBOX, kFrench, L"\u00C0 propos de Velloquin", 150, 98, AboutControls(108)},
    {IDD_SHORTCUT,
     kEnglish,
     L"Keyboard shortcut",
     223,
     87,
     {
         {IDC_STATIC, L"Static", L"&Shortcut :", 6, 7, 33, 8, kStaticText, SS_LEFT},
         {IDC_HOTKEY, L"msctls_hotkey32", L"", 47, 5, 104, 13, kField, kField},
         {IDC_STATIC, L"Button", L"Action: copy to a directory", 6, 24, 211, 31, BS_TYPEMASK,
          BS_GROUPBOX},
         {IDC_STATIC, L"Static", L"&Directory:", 14, 39, 33, 8, kStaticText, SS_LEFT},
         {IDC_DEST_DIR, L"Edit", L"", 54, 36, 140, 12, kField | ES_AUTOHSCROLL,
          kField | ES_AUTOHSCROLL},
         {IDC_BROWSE, L"Button", L"...", 198, 36, 13, 12, BS_TYPEMASK | WS_TABSTOP,
          BS_PUSHBUTTON | WS_TABSTOP},
         {IDOK, L"Button", L"OK", 113, 67, 50, 14, BS_TYPEMASK | WS_TABSTOP,
          BS_DEFPUSHBUTTON | WS_TABSTOP},
         {IDCANCEL, L"Button", L"Cancel", 167, 67, 50, 14, BS_TYPEMASK | WS_TABSTOP,
          BS_PUSHBUTTON | WS_TABSTOP},
     }},
    {IDD_SHORTCUT,
     kFrench,
     L"Raccourci clavier",
     223,
     87,
     {
         {IDC_STATIC, L"Static", L"&Raccourci clavier :", 6, 7, 59, 8, kStaticText, SS_LEFT},
         {IDC_HOTKEY, L"msctls_hotkey32", L"", 78, 5, 104, 13, kField, kField},
         {IDC_STATIC, L"Button", L"Type de raccourci : copie vers un r\u00E9pertoire", 6, 24, 211,
          31, BS_TYPEMASK, BS_GROUPBOX},
         {IDC_STATIC, L"Static", L"R\u00E9&pertoire :", 14, 39, 40, 8, kStaticText, SS_LEFT},
         {IDC_DEST_DIR, L"Edit", L"", 78, 36, 116, 12, kField | ES_AUTOHSCROLL,
          kField | ES_AUTOHSCROLL},
         {IDC_BROWSE, L"Button", L"...", 198, 36, 13, 12, BS_TYPEMASK | WS_TABSTOP,
          BS_PUSHBUTTON | WS_TABSTOP},
         {IDOK, L"Button", L"OK", 113, 67, 50, 14, BS_TYPEMASK | WS_TABSTOP,
          BS_DEFPUSHBUTTON | WS_TABSTOP},
         {IDCANCEL, L"Button", L"Annuler", 167, 67, 50, 14, BS_TYPEMASK | WS_TABSTOP,
          BS_PUSHBUTTON | WS_TABSTOP},
     }},
};

struct Control {
    DWORD style;
    short x, y, cx, cy;
    int id;
    std::wstring cls, text;
};

struct Dialog {
    DWORD style;
    short cx, cy;
    std::wstring caption, font;
    WORD pointSize;
    std::vector<Control> controls;
};

// Reads an extended dialog template (DIALOGEX).
Dialog ParseDialog(Blob b) {
    Dialog d{};
    Reader r(b);
    EXPECT_EQ(r.Word(), 1) << "DIALOGEX version";
    EXPECT_EQ(r.Word(), 0xFFFF) << "DIALOGEX signature";
    r.Dword(); // help id
    r.Dword(); // extended style
    d.style = r.Dword();
    WORD count = r.Word();
    r.Short();
    r.Short();
    d.cx = r.Short();
    d.cy = r.Short();
    EXPECT_EQ(r.SzOrOrd(), L"") << "menu";
    EXPECT_EQ(r.SzOrOrd(), L"") << "class";
    d.caption = r.Sz();
    if (d.style & DS_SETFONT) {
        d.pointSize = r.Word();
        r.Word(); // weight
        r.Byte(); // italic
        r.Byte(); // character set
        d.font = r.Sz();
    }
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword();
        Control c{};
        r.Dword(); // help id
        r.Dword(); // extended style
        c.style = r.Dword();
        c.x = r.Short();
        c.y = r.Short();
        c.cx = r.Short();
        c.cy = r.Short();
        c.id = static_cast<int>(r.Dword());
        c.cls = r.SzOrOrd();
        // Predefined classes may be stored as ordinals or by name.
        static const std::map<std::wstring, std::wstring> predefined = {
            {L"#128", L"Button"}, {L"#129", L"Edit"}, {L"#130", L"Static"}};
        if (predefined.count(c.cls))
            c.cls = predefined.at(c.cls);
        c.text = r.SzOrOrd();
        r.Skip(r.Word()); // creation data
        d.controls.push_back(c);
    }
    return d;
}

TEST(DialogsTest, TemplatesMatchTheirLayoutInBothLanguages) {
    for (UINT id : {IDD_ABOUTBOX, IDD_SHORTCUT})
        EXPECT_EQ(Languages(RT_DIALOG, id), kBoth) << "dialog " << id;
    EXPECT_EQ(Names(RT_DIALOG), (std::set<UINT>{IDD_ABOUTBOX, IDD_SHORTCUT}));
    for (const DialogCase& dc : kDialogs) {
        SCOPED_TRACE("dialog " + std::to_string(dc.id) + ", " + LangName(dc.lang));
        Dialog d = ParseDialog(Find(RT_DIALOG, dc.id, dc.lang));
        EXPECT_EQ(d.caption, dc.caption);
        EXPECT_EQ(d.cx, dc.cx);
        EXPECT_EQ(d.cy, dc.cy);
        DWORD frame = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT;
        EXPECT_EQ(d.style & frame, frame);
        EXPECT_EQ(d.font, L"MS Shell Dlg");
        EXPECT_EQ(d.pointSize, 8);
        ASSERT_EQ(d.controls.size(), dc.controls.size());
        for (size_t i = 0; i < dc.controls.size(); ++i) {
            const Control& c = d.controls[i];
            const ControlCase& e = dc.controls[i];
            SCOPED_TRACE("control " + std::to_string(i));
            EXPECT_EQ(c.id, e.id);
            EXPECT_EQ(_wcsicmp(c.cls.c_str(), e.cls), 0)
                << "class " << c.cls.c_str() << ", not " << e.cls;
            EXPECT_EQ(c.text, e.text);
            EXPECT_EQ(c.x, e.x);
            EXPECT_EQ(c.y, e.y);
            EXPECT_EQ(c.cx, e.cx);
            EXPECT_EQ(c.cy, e.cy);
            EXPECT_EQ(c.style & e.styleMask, e.style) << std::hex << c.style;
            EXPECT_TRUE(c.style & WS_VISIBLE);
        }
    }
}

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The window a template makes: every control is created, with the texts the program reads.
TEST(DialogsTest, TemplatesCreateTheirControls) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_HOTKEY_CLASS | ICC_STANDARD_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    for (const DialogCase& dc : kDialogs) {
        SCOPED_TRACE("dialog " + std::to_string(dc.id) + ", " + LangName(dc.lang));
        Blob b = Find(RT_DIALOG, dc.id, dc.lang);
        HWND dlg = CreateDialogIndirectParamW(Module(), reinterpret_cast<LPCDLGTEMPLATEW>(b.data),
                                              nullptr, NoDialogProc, 0);
        ASSERT_NE(dlg, nullptr) << GetLastError();
        wchar_t text[256];
        GetWindowTextW(dlg, text, 256);
        EXPECT_EQ(std::wstring(text), dc.caption);
        size_t children = 0;
        for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            ++children;
        EXPECT_EQ(children, dc.controls.size());
        for (const ControlCase& e : dc.controls) {
            if (e.id == IDC_STATIC)
                continue;
            HWND c = GetDlgItem(dlg, e.id);
            ASSERT_NE(c, nullptr) << "control " << e.id;
            wchar_t cls[64];
            GetClassNameW(c, cls, 64);
            EXPECT_EQ(_wcsicmp(cls, e.cls), 0) << "control " << e.id << " is a " << cls;
            if (e.id == IDC_LINK_MAIL || e.id == IDC_LINK_WEB) {
                char link[256];
                GetDlgItemTextA(dlg, e.id, link, 256);
                EXPECT_EQ(Cp1252(e.text), link);
            }
        }
        DestroyWindow(dlg);
    }
}

TEST(DialogsTest, FrenchAboutCaptionIsCp1252) {
    Dialog d = ParseDialog(Find(RT_DIALOG, IDD_ABOUTBOX, kFrench));
    EXPECT_EQ(Cp1252(d.caption), "\xC0 propos de Velloquin");
    ASSERT_GE(d.controls.size(), 2u);
    // A no-break space (0xA0) between "version" and "1.1".
    EXPECT_EQ(Cp1252(d.controls[1].text), std::string("Velloquin version\xA0") + "1.1");
}

// --- Pictures -------------------------------------------------------------------------------

struct BitmapCase {
    UINT id;
    int width, images;
    COLORREF background; // transparent or button-face colour
    bool firstEmpty;     // image 0 is "no mark"
};

const BitmapCase kBitmaps[] = {
    {IDR_MAINFRAME, 192, 12, RGB(192, 192, 192), false},
    {IDB_SORT_ARROWS, 32, 2, RGB(192, 192, 192), false},
    {IDB_NET_STATES, 80, 5, RGB(255, 0, 255), true},
    {IDB_OBJ_STATES, 80, 5, RGB(255, 0, 255), true},
};

TEST(PicturesTest, BitmapStripsHoldTheirImages) {
    EXPECT_EQ(Names(RT_BITMAP),
              (std::set<UINT>{IDR_MAINFRAME, IDB_SORT_ARROWS, IDB_NET_STATES, IDB_OBJ_STATES}));
    for (const BitmapCase& bc : kBitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(bc.id));
        EXPECT_EQ(Languages(RT_BITMAP, bc.id), std::set<LANGID>{kNeutral});
        Blob b = Find(RT_BITMAP, bc.id, kNeutral);
        ASSERT_GE(b.size, sizeof(BITMAPINFOHEADER) + 64);
        BITMAPINFOHEADER h;
        memcpy(&h, b.data, sizeof h);
        EXPECT_EQ(h.biWidth, bc.width);
        EXPECT_EQ(h.biHeight, 16);
        EXPECT_EQ(h.biBitCount, 4);
        EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
        // Find the background's palette index, then count each image's other pixels.
        const BYTE* palette = b.data + h.biSize;
        int background = -1;
        for (int i = 0; i < 16; ++i)
            if (RGB(palette[4 * i + 2], palette[4 * i + 1], palette[4 * i]) == bc.background)
                background = i;
        ASSERT_NE(background, -1);
        const BYTE* bits = palette + 16 * 4;
        int stride = (h.biWidth * 4 + 31) / 32 * 4;
        ASSERT_GE(b.size, h.biSize + 64 + static_cast<DWORD>(stride * 16));
        for (int image = 0; image < bc.images; ++image) {
            int drawn = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 16 * image; x < 16 * image + 16; ++x) {
                    BYTE pair = bits[y * stride + x / 2];
                    int index = x % 2 ? pair & 0x0F : pair >> 4;
                    drawn += index != background;
                }
            if (image == 0 && bc.firstEmpty)
                EXPECT_EQ(drawn, 0) << "image 0";
            else
                EXPECT_GT(drawn, 0) << "image " << image;
            // A picture touching all four edges would merge with its neighbours.
            EXPECT_LT(drawn, 256) << "image " << image;
        }
        // How the panes load it: an image list cut into 16-pixel pictures.
        HIMAGELIST list = ImageList_LoadImageW(Module(), MAKEINTRESOURCEW(bc.id), 16, 2,
                                               bc.background, IMAGE_BITMAP, LR_CREATEDIBSECTION);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(ImageList_GetImageCount(list), bc.images);
        ImageList_Destroy(list);
    }
}

TEST(PicturesTest, IconsHaveSixteenColourImagesOfBothSizes) {
    EXPECT_EQ(Names(RT_GROUP_ICON), (std::set<UINT>{IDR_MAINFRAME, IDI_UNREACHABLE}));
    for (UINT id : {IDR_MAINFRAME, IDI_UNREACHABLE}) {
        SCOPED_TRACE("icon " + std::to_string(id));
        EXPECT_EQ(Languages(RT_GROUP_ICON, id), std::set<LANGID>{kNeutral});
        Reader r(Find(RT_GROUP_ICON, id, kNeutral));
        r.Word();
        EXPECT_EQ(r.Word(), 1) << "icon group";
        WORD count = r.Word();
        std::set<int> sizes;
        for (WORD i = 0; i < count; ++i) {
            BYTE w = r.Byte(), h = r.Byte(), colours = r.Byte();
            r.Byte();
            r.Word(); // planes
            WORD bits = r.Word();
            r.Dword();
            r.Word();
            EXPECT_EQ(int{w}, int{h});
            EXPECT_EQ(bits, 4);
            EXPECT_EQ(int{colours}, 16);
            sizes.insert(w);
        }
        EXPECT_EQ(sizes, (std::set<int>{16, 32}));
        for (int size : {16, 32}) {
            HICON icon = static_cast<HICON>(
                LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
            EXPECT_NE(icon, nullptr) << size;
            DestroyIcon(icon);
        }
    }
}

TEST(PicturesTest, LinkCursorIsAMonochromeHandWithItsHotSpotOnTheFingertip) {
    EXPECT_EQ(Languages(RT_GROUP_CURSOR, IDC_LINK_HAND), std::set<LANGID>{kNeutral});
    HCURSOR cursor = LoadCursorW(Module(), MAKEINTRESOURCEW(IDC_LINK_HAND));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 12u);
    EXPECT_EQ(info.yHotspot, 5u);
    EXPECT_EQ(info.hbmColor, nullptr) << "monochrome";
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64) << "AND and XOR masks of 32 rows";
    // The hot spot is the topmost drawn pixel of its column: the tip of the finger.
    std::vector<BYTE> bits(static_cast<size_t>(mask.bmWidthBytes) * mask.bmHeight);
    GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data());
    auto transparent = [&](int x, int y) {
        return (bits[y * mask.bmWidthBytes + x / 8] >> (7 - x % 8)) & 1;
    };
    EXPECT_FALSE(transparent(12, 5));
    for (int y = 0; y < 5; ++y)
        EXPECT_TRUE(transparent(12, y)) << "row " << y;
    DeleteObject(info.hbmMask);
}

// --- Manifest and version -------------------------------------------------------------------

TEST(ManifestTest, AsksForCommonControlsSixDpiAwarenessAndSupportedSystems) {
    EXPECT_EQ(Languages(RT_MANIFEST, 1), std::set<LANGID>{kNeutral});
    Blob b = Find(RT_MANIFEST, 1, kNeutral);
    std::string xml(reinterpret_cast<const char*>(b.data), b.size);
    for (const char* needed : {
             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "<dpiAware",
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // Windows 7
             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // Windows 8
             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // Windows 8.1
             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // Windows 10 and 11
         })
        EXPECT_NE(xml.find(needed), std::string::npos) << needed;
}

TEST(VersionTest, FileAndProductVersionAreOnePointOne) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD size = GetFileVersionInfoSizeW(path, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 1));
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\ProductVersion",
                               reinterpret_cast<void**>(&text), &len));
    EXPECT_EQ(std::wstring(text), L"1.1");
}

// Everything the program looks up by language exists in exactly the two sets, nothing more.
TEST(ResourceTableTest, LanguageSetsHoldTheSameResources) {
    EXPECT_EQ(Names(RT_MENU), (std::set<UINT>{IDR_POPUP_COPY, IDR_MAINFRAME}));
    EXPECT_EQ(Names(RT_TOOLBAR), std::set<UINT>{IDR_MAINFRAME});
    for (LPCSTR type : {RT_MENU, RT_ACCELERATOR, RT_DIALOG, RT_TOOLBAR, RT_STRING})
        for (UINT id : Names(type))
            EXPECT_EQ(Languages(type, id), kBoth)
                << "type " << reinterpret_cast<uintptr_t>(type) << ", id " << id;
    std::vector<WORD> en = ToolbarItems(kEnglish), fr = ToolbarItems(kFrench);
    EXPECT_EQ(en, fr);
}

} // namespace

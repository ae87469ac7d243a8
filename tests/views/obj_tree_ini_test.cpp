// The "Shortcuts" section of the settings file: what loading takes, what saving leaves.
#include "tests/views/obj_tree_host.h"

namespace ottest {
namespace {

struct Stored {
    int nHot;
    std::string name, dir;
    friend bool operator==(const Stored& a, const Stored& b) {
        return a.nHot == b.nHot && a.name == b.name && a.dir == b.dir;
    }
    friend std::ostream& operator<<(std::ostream& os, const Stored& s) {
        return os << "{" << s.nHot << ", \"" << s.name.substr(0, 40) << "\" (" << s.name.size()
                  << "), \"" << s.dir.substr(0, 40) << "\" (" << s.dir.size() << ")}";
    }
};

// The shortcuts of the tree, in tree order.
std::vector<Stored> TreeShortcuts(const Host& host) {
    std::vector<Stored> out;
    for (HTREEITEM h : Children(host.hTree, host.Shortcuts())) {
        auto* pEntry = dynamic_cast<CObjShortcut*>(host.pTree->GetEntry(h));
        if (!pEntry) {
            ADD_FAILURE() << "an entry without a shortcut";
            continue;
        }
        out.push_back({pEntry->m_pDef->m_nHot, std::string(pEntry->m_pDef->m_strHotName),
                       std::string(pEntry->m_pDef->m_strDestDir)});
    }
    return out;
}

std::string Keys(int n, int nHot, const std::string& name, const std::string& dir) {
    char prefix[16];
    snprintf(prefix, sizeof prefix, "%04d_", n);
    return std::string(prefix) + "Hot=" + std::to_string(nHot) + "\r\n" + prefix +
           "HotName=" + name + "\r\n" + prefix + "DestDir=" + dir + "\r\n";
}

const std::string kMain = "[Main]\r\nHiddenShares=1\r\n";

struct LoadCase {
    const char* label;
    std::string section; // the lines after [Shortcuts]
    std::vector<Stored> loaded;
};

class LoadTest : public ObjTreeTest, public testing::WithParamInterface<LoadCase> {};

TEST_P(LoadTest, TakesCompleteShortcutsUpToTheFirstIncompleteNumber) {
    const LoadCase& c = GetParam();
    m_profile.Write(kMain + "[Shortcuts]\r\n" + c.section + "[Other]\r\nkey=value\r\n");
    m_host = Host::Open();
    EXPECT_EQ(TreeShortcuts(m_host), c.loaded);
}

const std::string kLong(10000, 'L');

INSTANTIATE_TEST_SUITE_P(
    Sections, LoadTest,
    testing::Values(
        LoadCase{"ThreeThenNothing",
                 Keys(0, 0x343, "Ctrl + Shift + C", "C:\\C") +
                     Keys(1, 0x341, "Ctrl + Shift + A", "C:\\A") +
                     Keys(2, 0x142, "Shift + B", "C:\\B"),
                 {{0x341, "Ctrl + Shift + A", "C:\\A"},
                  {0x343, "Ctrl + Shift + C", "C:\\C"},
                  {0x142, "Shift + B", "C:\\B"}}},
        LoadCase{"HotZeroStops",
                 Keys(0, 0x341, "A", "C:\\A") + Keys(1, 0, "B", "C:\\B") +
                     Keys(2, 0x343, "C", "C:\\C"),
                 {{0x341, "A", "C:\\A"}}},
        LoadCase{"EmptyNameStops",
                 Keys(0, 0x341, "A", "C:\\A") + Keys(1, 0x342, "", "C:\\B") +
                     Keys(2, 0x343, "C", "C:\\C"),
                 {{0x341, "A", "C:\\A"}}},
        LoadCase{"NonNumericHotStops",
                 Keys(0, 0x341, "A", "C:\\A") + "0001_Hot=abc\r\n0001_HotName=B\r\n" +
                     Keys(2, 0x343, "C", "C:\\C"),
                 {{0x341, "A", "C:\\A"}}},
        LoadCase{"GapStops",
                 Keys(0, 0x341, "A", "C:\\A") + Keys(2, 0x343, "C", "C:\\C"),
                 {{0x341, "A", "C:\\A"}}},
        LoadCase{"MissingKeys",
                 "0000_HotName=A\r\n0000_DestDir=C:\\A\r\n" + Keys(1, 0x342, "B", "C:\\B"),
                 {}},
        LoadCase{"MissingDestDirIsEmpty",
                 "0000_Hot=833\r\n0000_HotName=Ctrl + Shift + A\r\n",
                 {{833, "Ctrl + Shift + A", ""}}},
        LoadCase{"HighBitsKept", Keys(0, 0x10341, "A", "C:\\A"), {{0x10341, "A", "C:\\A"}}},
        LoadCase{"NegativeIsNotZero", Keys(0, -1, "A", "C:\\A"), {{-1, "A", "C:\\A"}}},
        LoadCase{"LongValuesReadTo4095",
                 Keys(0, 0x341, kLong, kLong) + Keys(1, 0x342, "B", "C:\\B"),
                 {{0x342, "B", "C:\\B"}, {0x341, std::string(4095, 'L'), std::string(4095, 'L')}}},
        LoadCase{
            "SectionOfJunkOnly", "\x01\x02garbage without equals\r\n;0000_Hot=833\r\n=\r\n", {}}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.label); });

// Values no writer of ours makes: huge numbers, binary bytes, a NUL, stray lines. Whatever the
// platform's reader makes of them, loading keeps the valid shortcuts before them, never keeps
// an incomplete one, and the saved list loads back unchanged.
TEST_F(ObjTreeTest, AHostileSectionLoadsWhatIsValidAndSurvivesARoundTrip) {
    static const char kNul[] = "0003_Hot=834\r\n0003_HotName=N\0UL\r\n";
    std::string junk = Keys(0, 0x341, "Ctrl + Shift + A", "C:\\In") +
                       "0001_Hot=99999999999999999999\r\n0001_HotName=Huge\r\n"
                       "0001_DestDir=\x01\x7f\xff\xfe=;[x]\r\n"
                       "garbage line\r\n[Shortcuts\r\n" +
                       Keys(2, 0x342, "\x80\x81\x9f\xa0\xff", std::string(5000, '\xe9')) +
                       std::string(kNul, sizeof kNul - 1) + Keys(4, 0x343, "after", "C:\\after");
    m_profile.Write(kMain + "[Shortcuts]\r\n" + junk);
    m_host = Host::Open();
    std::vector<Stored> first = TreeShortcuts(m_host);
    ASSERT_GE(first.size(), 1u);
    EXPECT_LE(first.size(), 5u);
    bool bFoundValid = false;
    for (const Stored& s : first) {
        EXPECT_NE(s.nHot, 0);
        EXPECT_FALSE(s.name.empty());
        EXPECT_LE(s.name.size(), 4095u);
        EXPECT_LE(s.dir.size(), 4095u);
        bFoundValid |= s == Stored{0x341, "Ctrl + Shift + A", "C:\\In"};
    }
    EXPECT_TRUE(bFoundValid);
    for (HTREEITEM h : Children(m_host.hTree, m_host.Shortcuts()))
        ItemText(m_host.hTree, h); // every text can be shown

    m_host.Close();
    m_host = Host::Open();
    EXPECT_EQ(TreeShortcuts(m_host), first);
}

TEST_F(ObjTreeTest, ManyShortcutsLoadAndSave) {
    std::string section;
    for (int n = 0; n < 300; ++n)
        section += Keys(n, 0x300 + (n % 200), "Key " + std::to_string(1000 + n), "C:\\D");
    m_profile.Write("[Shortcuts]\r\n" + section);
    m_host = Host::Open();
    ASSERT_EQ(TreeShortcuts(m_host).size(), 300u);
    EXPECT_EQ(ItemText(m_host.hTree, Caret(m_host.hTree)), "Key 1299: copy to C:\\D")
        << "the shortcut loaded last is selected";
    m_host.Close();
    EXPECT_EQ(m_profile.Section("Shortcuts").size(), 900u);
}

TEST_F(ObjTreeTest, TheExampleRoundTrips) {
    m_profile.Write("[Shortcuts]\r\n0000_Hot=833\r\n0000_HotName=Ctrl + Shift + A\r\n"
                    "0000_DestDir=C:\\In\r\n");
    m_host = Host::Open();
    EXPECT_EQ(ChildTexts(m_host.hTree, m_host.Shortcuts()),
              (std::vector<std::string>{"Ctrl + Shift + A: copy to C:\\In"}));
    m_host.Close();
    EXPECT_EQ(m_profile.Section("Shortcuts"),
              (std::vector<std::string>{"0000_Hot=833", "0000_HotName=Ctrl + Shift + A",
                                        "0000_DestDir=C:\\In"}));
}

TEST_F(ObjTreeTest, SavingWritesTheTreesListInDisplayOrderAndNothingElse) {
    m_profile.Write(kMain + "[Shortcuts]\r\n" + Keys(0, 0x343, "C", "C:\\C") +
                    Keys(1, 0x341, "A", "C:\\A") + Keys(2, 0x10342, "B", "C:\\B") +
                    Keys(5, 0x345, "stale", "C:\\stale") + "unrelated=1\r\n" +
                    "[Other]\r\nkey=value\r\n");
    m_host = Host::Open();
    ASSERT_EQ(TreeShortcuts(m_host).size(), 3u);
    // Delete "A", add "D": the list shrinks at the front and grows at the end.
    m_host.pTree->SelectEntry(Children(m_host.hTree, m_host.Shortcuts()).at(0));
    m_host.Command(ID_EDIT_DELETE);
    m_host.pTree->AddShortcut(NewDef(0x344, "D", "C:\\D"));
    m_host.Close();

    EXPECT_EQ(m_profile.Section("Shortcuts"),
              (std::vector<std::string>{"0000_Hot=66370", "0000_HotName=B", "0000_DestDir=C:\\B",
                                        "0001_Hot=835", "0001_HotName=C", "0001_DestDir=C:\\C",
                                        "0002_Hot=836", "0002_HotName=D", "0002_DestDir=C:\\D"}));
    EXPECT_EQ(m_profile.Section("Main"), (std::vector<std::string>{"HiddenShares=1"}));
    EXPECT_EQ(m_profile.Section("Other"), (std::vector<std::string>{"key=value"}));

    // Fewer shortcuts than before: no key of the longer list comes back.
    m_host = Host::Open();
    for (int i = 0; i < 2; ++i) {
        m_host.pTree->SelectEntry(Children(m_host.hTree, m_host.Shortcuts()).at(0));
        m_host.Command(ID_EDIT_DELETE);
    }
    m_host.Close();
    EXPECT_EQ(m_profile.Section("Shortcuts"),
              (std::vector<std::string>{"0000_Hot=836", "0000_HotName=D", "0000_DestDir=C:\\D"}));
    m_host = Host::Open();
    EXPECT_EQ(TreeShortcuts(m_host), (std::vector<Stored>{{0x344, "D", "C:\\D"}}));
}

TEST_F(ObjTreeTest, AHotValueWithHighBitsMatchesOnItsLow16Bits) {
    m_profile.Write("[Shortcuts]\r\n" + Keys(0, 0x7FFF0341, "high", "C:\\In"));
    m_host = Host::Open();
    ASSERT_EQ(TreeShortcuts(m_host).size(), 1u);
    EXPECT_TRUE(m_host.pTree->MatchShortcut('A', HOTKEYF_CONTROL | HOTKEYF_SHIFT));
    EXPECT_FALSE(m_host.pTree->MatchShortcut('A', 0xFF));
    EXPECT_EQ(m_host.pFrame->m_copyCalls, (std::vector<std::string>{"C:\\In"}));
}

} // namespace
} // namespace ottest

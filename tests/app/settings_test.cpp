#include "tests/app/app_test_util.h"

#include <fstream>
#include <string>

using namespace apptest;

namespace {

TEST(ProfilePathTest, ReplacesTheExtensionWithinTheLimit) {
    struct Case {
        std::string exe;
        const char* ini; // nullptr: no settings file
    };
    const std::string base255 = "C:\\" + std::string(250, 'd') + "\\x"; // 255 characters
    const Case cases[] = {
        {"D:\\x\\tool.exe", "D:\\x\\tool.ini"},
        {"C:\\Tools\\browser.exe", "C:\\Tools\\browser.ini"},
        {"D:\\x\\tool", "D:\\x\\tool.ini"},
        {"D:\\x.y\\tool", "D:\\x.y\\tool.ini"},
        {"D:\\x\\tool.a.b.exe", "D:\\x\\tool.a.b.ini"},
        {"\\\\server\\share\\v.exe", "\\\\server\\share\\v.ini"},
        // An exe named *.ini would be its own settings file.
        {"D:\\x\\tool.INI", nullptr},
        // 255 + ".ini" = 259 characters fit in MAX_PATH with the zero; one more does not.
        {base255 + ".exe", "="},
        {base255 + "y.exe", nullptr},
        {base255 + "y", nullptr},
        {"C:\\" + std::string(300, 'p') + "\\tool.exe", nullptr},
        // Long only through its extension: the settings file still fits.
        {"C:\\x\\tool." + std::string(290, 'e'), "C:\\x\\tool.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exe.substr(0, 40) + "... (" + std::to_string(c.exe.size()) + ")");
        CString strIni("unchanged");
        bool bOk = CApp::MakeProfilePath(c.exe.c_str(), strIni);
        ASSERT_EQ(bOk, c.ini != nullptr);
        if (!c.ini)
            continue;
        std::string expected = c.ini;
        if (expected == "=")
            expected = c.exe.substr(0, c.exe.size() - 4) + ".ini";
        EXPECT_EQ(strIni.str(), expected);
        EXPECT_LT(strIni.GetLength(), MAX_PATH);
    }
}

TEST(ProfilePathTest, TooLongPathLeavesNoSettingsFile) {
    // The application object is the only one (it is the framework's AfxGetApp); start-up sets
    // its settings file anew.
    const std::string exe = "C:\\" + std::string(300, 'p') + "\\tool.exe";
    theApp.SetProfileFromExe(exe.c_str());
    EXPECT_FALSE(theApp.HasProfile());
    ASSERT_NE(theApp.m_pszProfileName, nullptr);
    EXPECT_STREQ(theApp.m_pszProfileName, "");
    theApp.SetProfileFromExe("D:\\x\\tool.exe");
    EXPECT_STREQ(theApp.m_pszProfileName, "D:\\x\\tool.ini");
}

void WriteIniText(const std::string& text) {
    RemoveIni();
    std::ofstream(ProfilePath(), std::ios::binary) << text;
}

class SettingsTest : public AppTest {
protected:
    void SetUp() override {} // each case starts the application itself
};

TEST_F(SettingsTest, ReadAtStartAndWrittenAtExit) {
    struct Case {
        const char* name;
        const char* file; // nullptr: no file
        BYTE bRead;
        const char* written;
    };
    const Case cases[] = {
        {"no file", nullptr, 0, "0"},
        {"no section", "[Other]\r\nHiddenShares=1\r\n", 0, "0"},
        {"no key", "[Main]\r\nOther=1\r\n", 0, "0"},
        {"zero", "[Main]\r\nHiddenShares=0\r\n", 0, "0"},
        {"one", "[Main]\r\nHiddenShares=1\r\n", 1, "1"},
        {"seven", "[Main]\r\nHiddenShares=7\r\n", 1, "1"},
        {"negative", "[Main]\r\nHiddenShares=-3\r\n", 1, "1"},
        {"not a number", "[Main]\r\nHiddenShares=yes\r\n", 0, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.file)
            WriteIniText(c.file);
        else
            RemoveIni();
        StartApp();
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(theApp.m_pszProfileName, ProfilePath());
        EXPECT_EQ(theApp.m_bHiddenShares, c.bRead);
        StopApp();
        EXPECT_EQ(ReadIni("Main", "HiddenShares"), c.written);
    }
}

TEST_F(SettingsTest, TheValueAtExitIsStored) {
    RemoveIni();
    StartApp();
    ASSERT_FALSE(HasFatalFailure());
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_VIEW_HIDDEN_SHARES, 0), 0);
    // Nothing is written before the exit.
    EXPECT_EQ(ReadIni("Main", "HiddenShares"), "<none>");
    StopApp();
    EXPECT_EQ(ReadIni("Main", "HiddenShares"), "1");
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenDoesNotStopTheProgram) {
    // A folder in the settings file's place: reading gives the default, writing fails.
    RemoveIni();
    ASSERT_TRUE(::CreateDirectoryA(ProfilePath().c_str(), nullptr));
    StartApp();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(theApp.m_bHiddenShares, 0);
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_VIEW_HIDDEN_SHARES, 0), 0);
    StopApp();
    EXPECT_EQ(::GetFileAttributesA(ProfilePath().c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    ::RemoveDirectoryA(ProfilePath().c_str());
    // And the next start reads and writes as usual.
    StartApp();
    ASSERT_FALSE(HasFatalFailure());
    StopApp();
    EXPECT_EQ(ReadIni("Main", "HiddenShares"), "0");
}

} // namespace

// velloquin.exe itself: it starts, shows its window, ends when the window is closed, and keeps
// its setting in the INI file beside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string BinDir() {
    char szExe[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, szExe, MAX_PATH);
    std::string dir = szExe;
    return dir.substr(0, dir.rfind('\\') + 1);
}

// A copy of the program (and of the network DLL beside it) in a folder of its own.
class ExeCopy {
public:
    ExeCopy() {
        char szTemp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, szTemp);
        m_dir = std::string(szTemp) + "vq smoke " + std::to_string(::GetCurrentProcessId()) + "\\";
        ::CreateDirectoryA(m_dir.c_str(), nullptr);
        for (const char* name : {"velloquin.exe", "netapi32.dll"})
            ::CopyFileA((BinDir() + name).c_str(), (m_dir + name).c_str(), FALSE);
    }
    ~ExeCopy() {
        for (const char* name : {"velloquin.exe", "netapi32.dll", "velloquin.ini"}) {
            ::SetFileAttributesA((m_dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA((m_dir + name).c_str());
        }
        ::RemoveDirectoryA(m_dir.c_str());
    }
    std::string Exe() const { return m_dir + "velloquin.exe"; }
    std::string Ini() const { return m_dir + "velloquin.ini"; }

private:
    std::string m_dir;
};

struct Search {
    DWORD pid;
    HWND hWnd;
};

BOOL CALLBACK FindMain(HWND hWnd, LPARAM lParam) {
    auto* s = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid == s->pid && ::IsWindowVisible(hWnd) && !::GetWindow(hWnd, GW_OWNER)) {
        s->hWnd = hWnd;
        return FALSE;
    }
    return TRUE;
}

// Starts the exe, waits for its main window, closes it; answers the exit code (-1: no window,
// -2: did not end).
int RunAndClose(const std::string& exe, std::string* pTitle = nullptr) {
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + exe + "\"";
    if (!::CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi))
        return -3;
    Search s{pi.dwProcessId, nullptr};
    const DWORD dwStart = ::GetTickCount();
    while (!s.hWnd && ::GetTickCount() - dwStart < 30000) {
        if (::WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0)
            break;
        ::EnumWindows(FindMain, reinterpret_cast<LPARAM>(&s));
    }
    int nCode = -1;
    if (s.hWnd) {
        if (pTitle) {
            char title[64] = "";
            ::GetWindowTextA(s.hWnd, title, sizeof(title));
            *pTitle = title;
        }
        ::PostMessageA(s.hWnd, WM_CLOSE, 0, 0);
        nCode = -2;
        if (::WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) {
            DWORD dwCode = 0;
            ::GetExitCodeProcess(pi.hProcess, &dwCode);
            nCode = static_cast<int>(dwCode);
        }
    }
    if (nCode < 0)
        ::TerminateProcess(pi.hProcess, 99);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return nCode;
}

std::string HiddenShares(const std::string& ini) {
    char value[64] = "";
    ::GetPrivateProfileStringA("Main", "HiddenShares", "<none>", value, sizeof(value), ini.c_str());
    return value;
}

TEST(ExeSmokeTest, StartsAndEndsCleanlyAndWritesItsSetting) {
    ExeCopy copy;
    std::string title;
    EXPECT_EQ(RunAndClose(copy.Exe(), &title), 0);
    EXPECT_EQ(title, "Velloquin");
    EXPECT_EQ(HiddenShares(copy.Ini()), "0");

    std::ofstream(copy.Ini(), std::ios::binary) << "[Main]\r\nHiddenShares=7\r\n";
    EXPECT_EQ(RunAndClose(copy.Exe()), 0);
    EXPECT_EQ(HiddenShares(copy.Ini()), "1");
}

TEST(ExeSmokeTest, ASettingsFileThatCannotBeWrittenDoesNotStopIt) {
    ExeCopy copy;
    // Read-only (which Wine cannot enforce for root) and, surely unwritable, a folder in its place.
    std::ofstream(copy.Ini(), std::ios::binary) << "[Main]\r\nHiddenShares=7\r\n";
    ASSERT_TRUE(::SetFileAttributesA(copy.Ini().c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(RunAndClose(copy.Exe()), 0);
    ::SetFileAttributesA(copy.Ini().c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(::DeleteFileA(copy.Ini().c_str()));
    ASSERT_TRUE(::CreateDirectoryA(copy.Ini().c_str(), nullptr));
    EXPECT_EQ(RunAndClose(copy.Exe()), 0);
    ::RemoveDirectoryA(copy.Ini().c_str());
}

} // namespace

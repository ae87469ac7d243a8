// A small tool for scripts that drive velloquin.exe from outside:
//   vq_app_probe command ID        posts command ID to the running program's main window
//   vq_app_probe startup EXE [N]   starts EXE N times (default 3) and prints, per run and as the
//                                  median, the milliseconds until its main window is shown and
//                                  its message loop is idle; each run is then closed
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Search {
    DWORD dwProcessId; // 0: any process
    HWND hWnd;
};

BOOL CALLBACK FindMain(HWND hWnd, LPARAM lParam) {
    auto* s = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (s->dwProcessId && pid != s->dwProcessId)
        return TRUE;
    char title[64] = "";
    ::GetWindowTextA(hWnd, title, sizeof(title));
    if (::IsWindowVisible(hWnd) && !::GetWindow(hWnd, GW_OWNER) &&
        strncmp(title, "Velloquin", 9) == 0) {
        s->hWnd = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForMain(DWORD dwProcessId, DWORD dwTimeoutMs) {
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        Search s{dwProcessId, nullptr};
        ::EnumWindows(FindMain, reinterpret_cast<LPARAM>(&s));
        if (s.hWnd || ::GetTickCount() - dwStart > dwTimeoutMs)
            return s.hWnd;
        ::Sleep(5);
    }
}

int Command(UINT nID) {
    HWND hWnd = WaitForMain(0, 20000);
    if (!hWnd) {
        fprintf(stderr, "no Velloquin window\n");
        return 1;
    }
    ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(nID, 0), 0);
    return 0;
}

int Startup(const char* pszExe, int nRuns) {
    std::vector<double> times;
    for (int i = 0; i < nRuns; ++i) {
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        LARGE_INTEGER freq, t0, t1;
        ::QueryPerformanceFrequency(&freq);
        ::QueryPerformanceCounter(&t0);
        std::vector<char> cmd(pszExe, pszExe + strlen(pszExe) + 1);
        if (!::CreateProcessA(pszExe, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                              &pi)) {
            fprintf(stderr, "cannot start %s (%lu)\n", pszExe, ::GetLastError());
            return 1;
        }
        HWND hWnd = WaitForMain(pi.dwProcessId, 60000);
        ::WaitForInputIdle(pi.hProcess, 60000);
        ::QueryPerformanceCounter(&t1);
        if (!hWnd) {
            fprintf(stderr, "no window\n");
            ::TerminateProcess(pi.hProcess, 1);
            return 1;
        }
        double ms = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) /
                    static_cast<double>(freq.QuadPart);
        times.push_back(ms);
        printf("run %d: %.0f ms\n", i + 1, ms);
        ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0)
            ::TerminateProcess(pi.hProcess, 1);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    std::sort(times.begin(), times.end());
    printf("median: %.0f ms\n", times[times.size() / 2]);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && strcmp(argv[1], "command") == 0)
        return Command(static_cast<UINT>(strtoul(argv[2], nullptr, 0)));
    if (argc >= 3 && strcmp(argv[1], "startup") == 0)
        return Startup(argv[2], argc >= 4 ? std::max(1, atoi(argv[3])) : 3);
    fprintf(stderr, "usage: vq_app_probe command ID | startup EXE [RUNS]\n");
    return 2;
}

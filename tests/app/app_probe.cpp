// A small tool for scripts that drive velloquin.exe from outside:
//   vq_app_probe command ID        posts command ID to the running program's main window
//   vq_app_probe startup EXE [N]   starts EXE N times (default 3) and prints, per run and as the
//                                  median, the milliseconds until its main window is shown and
//                                  its message loop is idle; each run is then closed
//   vq_app_probe select NAME...    in the running program's network tree, selects and expands
//                                  each named entry in turn, below the one before, waiting
//                                  for each listing; the last entry is selected only
#include <windows.h>
#include <commctrl.h>

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

BOOL CALLBACK FindTrees(HWND hWnd, LPARAM lParam) {
    char cls[64] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    if (lstrcmpiA(cls, WC_TREEVIEWA) == 0)
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

// The tree lives in another process: the item and its text go through memory of that process.
class RemoteTree {
public:
    explicit RemoteTree(HWND hTree) : m_hTree(hTree) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hTree, &pid);
        m_hProcess =
            ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (m_hProcess)
            m_pRemote = static_cast<BYTE*>(::VirtualAllocEx(
                m_hProcess, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    ~RemoteTree() {
        if (m_pRemote)
            ::VirtualFreeEx(m_hProcess, m_pRemote, 0, MEM_RELEASE);
        if (m_hProcess)
            ::CloseHandle(m_hProcess);
    }
    RemoteTree(const RemoteTree&) = delete;
    RemoteTree& operator=(const RemoteTree&) = delete;

    bool Ok() const { return m_pRemote != nullptr; }

    HTREEITEM Next(HTREEITEM hItem, UINT nCode) const {
        return reinterpret_cast<HTREEITEM>(
            ::SendMessageA(m_hTree, TVM_GETNEXTITEM, nCode, reinterpret_cast<LPARAM>(hItem)));
    }

    bool Text(HTREEITEM hItem, char* pszText, int cchText) const {
        TVITEMA tvi{};
        tvi.mask = TVIF_HANDLE | TVIF_TEXT;
        tvi.hItem = hItem;
        tvi.pszText = reinterpret_cast<char*>(m_pRemote + sizeof(TVITEMA));
        tvi.cchTextMax = static_cast<int>(kSize - sizeof(TVITEMA));
        SIZE_T n = 0;
        if (!::WriteProcessMemory(m_hProcess, m_pRemote, &tvi, sizeof(tvi), &n) ||
            !::SendMessageA(m_hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(m_pRemote)))
            return false;
        TVITEMA back{};
        if (!::ReadProcessMemory(m_hProcess, m_pRemote, &back, sizeof(back), &n))
            return false;
        // The control may answer with its own buffer, in the same process.
        return ::ReadProcessMemory(m_hProcess, back.pszText, pszText, cchText, &n) && n > 0 &&
               (pszText[cchText - 1] = 0, true);
    }

    HTREEITEM FindChild(HTREEITEM hParent, const char* pszName) const {
        HTREEITEM h = hParent ? Next(hParent, TVGN_CHILD) : Next(nullptr, TVGN_ROOT);
        for (; h; h = Next(h, TVGN_NEXT)) {
            char text[260] = "";
            if (Text(h, text, sizeof(text)) && lstrcmpiA(text, pszName) == 0)
                return h;
        }
        return nullptr;
    }

private:
    static constexpr SIZE_T kSize = 4096;
    HWND m_hTree;
    HANDLE m_hProcess = nullptr;
    BYTE* m_pRemote = nullptr;
};

int Select(int nNames, char** ppszNames) {
    HWND hMain = WaitForMain(0, 20000);
    std::vector<HWND> trees;
    if (hMain)
        ::EnumChildWindows(hMain, FindTrees, reinterpret_cast<LPARAM>(&trees));
    // The network tree is the one that shows the first name (once its listing has arrived).
    HWND hTree = nullptr;
    HTREEITEM hItem = nullptr;
    for (DWORD dwStart = ::GetTickCount(); !hItem && ::GetTickCount() - dwStart < 20000;
         ::Sleep(100)) {
        for (HWND h : trees) {
            RemoteTree tree(h);
            if (tree.Ok() && (hItem = tree.FindChild(nullptr, ppszNames[0])) != nullptr) {
                hTree = h;
                break;
            }
        }
    }
    if (!hTree) {
        fprintf(stderr, "no tree shows %s\n", ppszNames[0]);
        return 1;
    }
    RemoteTree tree(hTree);
    for (int i = 0;;) {
        ::SendMessageA(hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem));
        if (++i == nNames)
            return 0;
        ::SendMessageA(hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hItem));
        // The next entry appears once this one's listing has arrived.
        HTREEITEM hParent = hItem;
        hItem = nullptr;
        for (DWORD dwStart = ::GetTickCount(); !hItem && ::GetTickCount() - dwStart < 20000;
             ::Sleep(100))
            hItem = tree.FindChild(hParent, ppszNames[i]);
        if (!hItem) {
            fprintf(stderr, "no entry %s\n", ppszNames[i]);
            return 1;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && strcmp(argv[1], "command") == 0)
        return Command(static_cast<UINT>(strtoul(argv[2], nullptr, 0)));
    if (argc >= 3 && strcmp(argv[1], "startup") == 0)
        return Startup(argv[2], argc >= 4 ? std::max(1, atoi(argv[3])) : 3);
    if (argc >= 3 && strcmp(argv[1], "select") == 0)
        return Select(argc - 2, argv + 2);
    fprintf(stderr, "usage: vq_app_probe command ID | startup EXE [RUNS] | select NAME...\n");
    return 2;
}

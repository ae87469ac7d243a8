// The benchmark of the file list and the network tree, run under Wine by bench/run.sh on the
// network that the script describes (VELLOQUIN_SIMNET). Every figure is measured against a floor
// taken in the same run; the figures come first, then one line per figure:
//   BENCH <name> ratio=<r> target=<t>      (r in ms where the target is absolute)
//   MEASURE peak_memory_mb=<n>
// A figure that cannot be taken prints "BENCH <name> failed" and the exit code is 1.

#include "framework/afxwin.h"
#include "model/fs_items.h"
#include "model/item.h"
#include "model/net_items.h"
#include "res/resource.h"
#include "views/file_list.h"
#include "views/net_tree.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const int FILE_COUNT = 100000;
const int DIR_COUNT = 10000;
const int WIDE_COMPUTERS = 60;
const int WIDE_SHARES = 5;
const UINT LIST_ID = 2;

double NowMs() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) * 1000.0 / double(freq.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void Print(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    vprintf(fmt, args);
    va_end(args);
    fflush(stdout);
}

// Runs the window thread's messages until pred holds; false after timeoutMs.
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
    }
    return true;
}

// The bare enumeration: what listing a folder cannot do faster.
double FloorMs(const std::string& pattern, int* pCount) {
    double t0 = NowMs();
    WIN32_FIND_DATAA fd;
    int n = 0;
    HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do
            n++;
        while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    *pCount = n;
    return NowMs() - t0;
}

struct Figure {
    std::string name;
    bool ok;
    double ratio;
    double target;
};
std::vector<Figure> g_figures;

void AddFigure(const char* name, double ratio, double target) {
    g_figures.push_back({name, true, ratio, target});
}
void FailFigure(const char* name, const char* why) {
    Print("%s: %s\n", name, why);
    g_figures.push_back({name, false, 0, 0});
}

class CBench {
public:
    bool Create();
    void Destroy();

    HTREEITEM FindChild(HTREEITEM hParent, const char* pszText);
    // Lists the entry (levels deep) and waits until every listing has been delivered.
    bool ListAndWait(HTREEITEM hItem, bool bForce, int nLevels, DWORD timeoutMs);
    bool Idle();
    void ClickColumn(int nColumn);

    void FileListFigures();
    void PlainAndFast(CItem* pShare);
    void TreeFigures();
    void ExpandFigure();

    CWnd m_host;
    CNetTree m_tree;
    CFileList m_list;
    HTREEITEM m_hBench = nullptr;
};

bool CBench::Create() {
    LPCSTR cls = AfxRegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW),
                                     reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    if (!m_host.CreateEx(0, cls, "Velloquin bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1200,
                         800, nullptr, nullptr))
        return false;
    if (!m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                       CRect(0, 0, 300, 760), &m_host, 1))
        return false;
    if (!m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(300, 0, 1180, 760), &m_host,
                       LIST_ID))
        return false;
    m_tree.m_pFileList = &m_list;
    m_list.m_pNetTree = &m_tree;
    return true;
}

void CBench::Destroy() {
    // Rows first: deleting them with the window would be timed nowhere but costs seconds.
    m_host.DestroyWindow();
}

bool CBench::Idle() {
    CThreadRegistry* pRegistry = m_tree.m_threads.GetRegistry();
    MSG msg;
    return pRegistry->GetRunningCount() == 0 && pRegistry->GetWaitingCount() == 0 &&
           !PeekMessageA(&msg, m_tree.m_hWnd, WM_LISTING_DONE, WM_LISTING_DONE, PM_NOREMOVE) &&
           CListJob::s_nLive == 0;
}

bool CBench::ListAndWait(HTREEITEM hItem, bool bForce, int nLevels, DWORD timeoutMs) {
    m_tree.ListItem(hItem, bForce, nLevels);
    return PumpUntil([&] { return Idle(); }, timeoutMs);
}

HTREEITEM CBench::FindChild(HTREEITEM hParent, const char* pszText) {
    for (HTREEITEM h = m_tree.GetChildItem(hParent); h; h = m_tree.GetNextSiblingItem(h)) {
        CItem* pItem = m_tree.ItemFromHandle(h);
        CString strText;
        if (pItem)
            pItem->GetText(strText);
        if (strText.CompareNoCase(pszText) == 0)
            return h;
    }
    return nullptr;
}

void CBench::ClickColumn(int nColumn) {
    NMLISTVIEW nm = {};
    nm.hdr.hwndFrom = m_list.m_hWnd;
    nm.hdr.idFrom = LIST_ID;
    nm.hdr.code = LVN_COLUMNCLICK;
    nm.iItem = -1;
    nm.iSubItem = nColumn;
    m_host.SendMessage(WM_NOTIFY, LIST_ID, reinterpret_cast<LPARAM>(&nm));
}

void CBench::FileListFigures() {
    // The floor: the bare search over the folder that the shares show.
    std::vector<double> floors;
    for (int i = 0; i < 3; i++) {
        int n = 0;
        floors.push_back(FloorMs("\\\\BENCH\\files1\\*", &n));
        if (n < FILE_COUNT) {
            FailFigure("open_share_100k", "the folder of 100,000 files is missing");
            FailFigure("sort_100k_by_type_ms", "no rows");
            FailFigure("sort_100k_type_vs_name", "no rows");
            return;
        }
    }
    double floor = Median(floors);
    Print("floor: FindFirstFileA/FindNextFileA over %d entries: %.0f ms (median of 3)\n",
          FILE_COUNT + 2, floor);

    // Opening: select the share's entry; done when its listing has been delivered and every
    // row is in the list, sorted by name. Each share is a fresh, unlisted item over the same
    // folder; the computer is selected in between, so that no big list is emptied in the time.
    std::vector<double> opens;
    double peakMb = 0;
    for (int i = 1; i <= 3; i++) {
        char name[16];
        snprintf(name, sizeof name, "files%d", i);
        HTREEITEM hShare = FindChild(m_hBench, name);
        if (!hShare) {
            FailFigure("open_share_100k", "share entry missing");
            return;
        }
        m_tree.SelectItem(m_hBench);
        PumpUntil([&] { return Idle(); }, 60000);
        CItem* pShare = m_tree.ItemFromHandle(hShare);
        double t0 = NowMs();
        m_tree.SelectItem(hShare);
        bool ok = PumpUntil(
            [&] {
                return !pShare->m_bBusy && pShare->m_nSerial == 0 &&
                       m_list.GetItemCount() >= FILE_COUNT;
            },
            300000);
        double t = NowMs() - t0;
        if (!ok) {
            FailFigure("open_share_100k", "the listing did not arrive");
            return;
        }
        opens.push_back(t);
        Print("open %s: %.0f ms, %d rows\n", name, t, m_list.GetItemCount());
        if (i == 1) {
            // Sorting the rows of the first share, then its memory with the share shown.
            std::vector<double> byType, byName;
            for (int r = 0; r < 3; r++) {
                double s0 = NowMs();
                ClickColumn(2);
                byType.push_back(NowMs() - s0);
                s0 = NowMs();
                ClickColumn(0);
                byName.push_back(NowMs() - s0);
            }
            double type = Median(byType), nameMs = Median(byName);
            Print("sort %d rows by Type: %.0f ms, by Name: %.0f ms (medians of 3)\n", FILE_COUNT,
                  type, nameMs);
            AddFigure("sort_100k_by_type_ms", type, 1000);
            AddFigure("sort_100k_type_vs_name", nameMs > 0 ? type / nameMs : 0, 10);

            PROCESS_MEMORY_COUNTERS pmc = {};
            pmc.cb = sizeof pmc;
            if (GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc))
                peakMb = double(pmc.PeakWorkingSetSize) / (1024.0 * 1024.0);
            Print("peak working set with the share shown: %.0f MB\n", peakMb);
        }
    }
    double open = Median(opens);
    Print("open a share of %d files: %.0f ms (median of 3), %.2f x the floor\n", FILE_COUNT, open,
          open / floor);
    g_figures.insert(g_figures.begin(), Figure{"open_share_100k", true, open / floor, 3});
    g_figures.push_back({"@peak_memory_mb", true, peakMb, 0});

    // Leave the big list before the tree figures.
    m_tree.SelectItem(m_hBench);
    PumpUntil([&] { return Idle(); }, 60000);
    PlainAndFast(m_tree.ItemFromHandle(FindChild(m_hBench, "files1")));
}

// ---- The plain way, for comparison: the list filled and sorted as literally described, with
// the shell asked for every row and for both rows of every comparison.

int CALLBACK PlainCompare(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
    auto* a = reinterpret_cast<CFSItem*>(lParam1);
    auto* b = reinterpret_cast<CFSItem*>(lParam2);
    bool bDirA = a->GetItem() != nullptr, bDirB = b->GetItem() != nullptr;
    if (bDirA != bDirB)
        return bDirA ? -1 : 1;
    UINT flags = lParamSort == 2 ? SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES
                                 : SHGFI_DISPLAYNAME | SHGFI_USEFILEATTRIBUTES;
    SHFILEINFOA sa = {}, sb = {};
    SHGetFileInfoA(a->m_data.cFileName, a->m_data.dwFileAttributes, &sa, sizeof sa, flags);
    SHGetFileInfoA(b->m_data.cFileName, b->m_data.dwFileAttributes, &sb, sizeof sb, flags);
    return lParamSort == 2 ? lstrcmpiA(sa.szTypeName, sb.szTypeName)
                           : lstrcmpiA(sa.szDisplayName, sb.szDisplayName);
}

void PlainFill(HWND hList, const std::vector<CFSItem*>& entries) {
    SendMessageA(hList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(hList, LVM_DELETEALLITEMS, 0, 0);
    for (CFSItem* pEntry : entries) {
        SHFILEINFOA sfi = {};
        SHGetFileInfoA(pEntry->m_data.cFileName, pEntry->m_data.dwFileAttributes, &sfi, sizeof sfi,
                       SHGFI_SYSICONINDEX | SHGFI_DISPLAYNAME | SHGFI_USEFILEATTRIBUTES |
                           SHGFI_SMALLICON);
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.pszText = sfi.szDisplayName;
        item.iImage = sfi.iIcon;
        item.lParam = reinterpret_cast<LPARAM>(pEntry);
        int nRow = static_cast<int>(SendMessageA(hList, LVM_INSERTITEMA, 0, (LPARAM)&item));
        for (int nSub = 1; nSub <= 3; nSub++) {
            LVITEMA sub = {};
            sub.mask = LVIF_TEXT;
            sub.iItem = nRow;
            sub.iSubItem = nSub;
            sub.pszText = LPSTR_TEXTCALLBACKA;
            SendMessageA(hList, LVM_SETITEMA, 0, (LPARAM)&sub);
        }
    }
    SendMessageA(hList, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(PlainCompare));
    SendMessageA(hList, WM_SETREDRAW, TRUE, 0);
}

void CBench::PlainAndFast(CItem* pShare) {
    const int n = 2000;
    if (!pShare || !pShare->m_pFiles || pShare->m_pFiles->GetCount() < n)
        return;
    // The first records of the big share, in a share item of their own.
    static const WCHAR s_name[] = L"plain";
    SHARE_INFO_1 info = {};
    info.shi1_netname = const_cast<LMSTR>(s_name);
    auto* pSmall = new CItemShare(nullptr, info);
    pSmall->m_pFiles = new CLanFiles;
    std::vector<CFSItem*> entries;
    POSITION pos = pShare->m_pFiles->GetHeadPosition();
    for (int i = 0; i < n && pos; i++) {
        auto* pFile = new CLanFile(pShare->m_pFiles->GetNext(pos)->m_data, pSmall);
        pSmall->m_pFiles->AddTail(pFile);
        entries.push_back(pFile);
    }

    HWND hPlain = CreateWindowA(WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 300, 0, 880,
                                760, m_host.m_hWnd, nullptr, nullptr, nullptr);
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 100;
    col.pszText = const_cast<LPSTR>("x");
    for (int c = 0; c < 4; c++)
        SendMessageA(hPlain, LVM_INSERTCOLUMNA, c, (LPARAM)&col);
    double t0 = NowMs();
    PlainFill(hPlain, entries);
    double plainFill = NowMs() - t0;
    t0 = NowMs();
    SendMessageA(hPlain, LVM_SORTITEMS, 2, reinterpret_cast<LPARAM>(PlainCompare));
    double plainType = NowMs() - t0;
    DestroyWindow(hPlain);

    m_list.m_pItem = pSmall;
    t0 = NowMs();
    m_list.Refill();
    double fastFill = NowMs() - t0;
    t0 = NowMs();
    ClickColumn(2);
    double fastType = NowMs() - t0;
    ClickColumn(0);
    m_list.m_pItem = nullptr;
    m_list.Refill();
    pSmall->Close();

    Print("plain way against this list, %d rows: fill sorted by name %.0f ms against %.0f ms; "
          "sort by Type %.0f ms against %.0f ms\n",
          n, plainFill, fastFill, plainType, fastType);
}

void CBench::TreeFigures() {
    std::vector<double> floors, lists;
    for (int i = 1; i <= 3; i++) {
        char name[16], pattern[64];
        snprintf(name, sizeof name, "dirs%d", i);
        snprintf(pattern, sizeof pattern, "\\\\BENCH\\%s\\*", name);
        int n = 0;
        floors.push_back(FloorMs(pattern, &n));
        HTREEITEM hShare = FindChild(m_hBench, name);
        if (n < DIR_COUNT || !hShare) {
            FailFigure("tree_10k_dirs", "the folder of 10,000 subdirectories is missing");
            return;
        }
        CItem* pShare = m_tree.ItemFromHandle(hShare);
        double t0 = NowMs();
        bool ok = ListAndWait(hShare, true, 1, 300000) && pShare->m_nSerial == 0;
        double t = NowMs() - t0;
        int nChildren = 0;
        for (HTREEITEM h = m_tree.GetChildItem(hShare); h; h = m_tree.GetNextSiblingItem(h))
            nChildren++;
        if (!ok || nChildren != DIR_COUNT) {
            FailFigure("tree_10k_dirs", "the children did not arrive");
            return;
        }
        lists.push_back(t);
        Print("list %s into the tree: %.0f ms, %d entries; floor %.0f ms\n", name, t, nChildren,
              floors.back());
        // Its entries go again, so that the next share starts from the same tree.
        m_tree.CloseChildren(hShare, true);
    }
    double floor = Median(floors), list = Median(lists);
    Print("list %d subdirectories into the tree: %.0f ms (median of 3), %.2f x the floor %.0f ms\n",
          DIR_COUNT, list, list / floor, floor);
    AddFigure("tree_10k_dirs", list / floor, 5);
}

double FileTimeMs(const FILETIME& ft) {
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime) / 10000.0;
}

// CPU time (kernel and user) of the whole process, and of the calling thread.
double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return FileTimeMs(kernel) + FileTimeMs(user);
}

double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return FileTimeMs(kernel) + FileTimeMs(user);
}

// Ticks of a 10 ms timer on the window thread, from the command until the last result.
std::vector<double> g_ticks;
VOID CALLBACK TickProc(HWND, UINT, UINT_PTR, DWORD) {
    g_ticks.push_back(NowMs());
}

// The longest wait for the loader's lock, which every thread that starts or ends holds while the
// libraries hear of it; the window thread waits as long whenever it needs the lock itself.
// Measured on a thread of its own that looks up a module every 10 ms.
class LoaderLockProbe {
public:
    LoaderLockProbe() : m_hThread(CreateThread(nullptr, 0, Run, this, 0, nullptr)) {}
    ~LoaderLockProbe() { Stop(); }
    double Stop() {
        if (m_hThread) {
            m_bStop = true;
            WaitForSingleObject(m_hThread, INFINITE);
            CloseHandle(m_hThread);
            m_hThread = nullptr;
        }
        return m_longestMs;
    }

private:
    static DWORD WINAPI Run(LPVOID pParam) {
        auto* p = static_cast<LoaderLockProbe*>(pParam);
        while (!p->m_bStop) {
            const double t = NowMs();
            GetModuleHandleA("user32.dll");
            p->m_longestMs = std::max(p->m_longestMs, NowMs() - t);
            Sleep(10);
        }
        return 0;
    }
    std::atomic<bool> m_bStop{false};
    double m_longestMs = 0;
    HANDLE m_hThread;
};

void CBench::ExpandFigure() {
    HTREEITEM hWide = FindChild(TVI_ROOT, "WIDE");
    if (!hWide) {
        FailFigure("expand3_max_tick_gap_ms", "workgroup WIDE missing");
        return;
    }
    // The workgroup itself is listed first; the command then fans out below it.
    m_tree.SelectItem(hWide);
    if (!PumpUntil([&] { return Idle(); }, 60000)) {
        FailFigure("expand3_max_tick_gap_ms", "the workgroup's listing did not arrive");
        return;
    }
    g_ticks.clear();
    g_ticks.reserve(100000);
    UINT_PTR timer = SetTimer(nullptr, 0, 10, TickProc);
    PumpUntil([] { return g_ticks.size() >= 3; }, 5000);
    g_ticks.clear();

    LoaderLockProbe loaderProbe;
    // The CPU that the listing threads take from the window thread on this machine.
    const double cpuProcess0 = ProcessCpuMs(), cpuWindow0 = ThreadCpuMs();
    double t0 = NowMs();
    m_tree.SendMessage(WM_COMMAND, MAKEWPARAM(ID_VIEW_EXPAND_3, 0), 0);
    double tCommand = NowMs() - t0;
    // Where the window thread's time goes: the results' handlers, one by one.
    double busy = 0, longest = 0, longestAny = 0;
    UINT longestMsg = 0;
    int nResults = 0;
    bool ok = true;
    while (!Idle()) {
        if (NowMs() - t0 > 300000) {
            ok = false;
            break;
        }
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        double d0 = NowMs();
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        const double dAny = NowMs() - d0;
        if (dAny > longestAny) {
            longestAny = dAny;
            longestMsg = msg.message;
        }
        if (msg.message == WM_LISTING_DONE) {
            double d = NowMs() - d0;
            busy += d;
            longest = std::max(longest, d);
            nResults++;
        }
    }
    double tEnd = NowMs();
    const double loaderWaitMs = loaderProbe.Stop();
    Print("expand 3 levels: CPU %.0f ms in the process, %.0f ms of it on the window thread; "
          "the loader's lock was waited for up to %.0f ms\n",
          ProcessCpuMs() - cpuProcess0, ThreadCpuMs() - cpuWindow0, loaderWaitMs);
    KillTimer(nullptr, timer);
    Print("expand 3 levels: the command ran %.0f ms; %d results took %.0f ms, the longest %.0f ms; "
          "the longest message 0x%04X took %.0f ms\n",
          tCommand, nResults, busy, longest, longestMsg, longestAny);

    int nComputers = 0, nShares = 0;
    for (HTREEITEM h = m_tree.GetChildItem(hWide); h; h = m_tree.GetNextSiblingItem(h)) {
        nComputers++;
        for (HTREEITEM s = m_tree.GetChildItem(h); s; s = m_tree.GetNextSiblingItem(s))
            nShares++;
    }
    if (!ok || nComputers != WIDE_COMPUTERS || nShares != WIDE_COMPUTERS * WIDE_SHARES) {
        FailFigure("expand3_max_tick_gap_ms", "the listings did not all arrive");
        return;
    }
    double gap = 0, prev = t0;
    for (double t : g_ticks) {
        gap = std::max(gap, t - prev);
        prev = t;
    }
    gap = std::max(gap, tEnd - prev);
    Print("expand 3 levels on %d computers (500 ms each, %d shares each): %.0f ms in all, "
          "%zu ticks, longest gap %.0f ms\n",
          nComputers, WIDE_SHARES, tEnd - t0, g_ticks.size(), gap);
    AddFigure("expand3_max_tick_gap_ms", gap, 100);
}

} // namespace

// Arguments: the parts to run, any of "files", "tree", "expand" (all when none is given).
int main(int argc, char** argv) {
    bool bFiles = argc < 2, bTree = argc < 2, bExpand = argc < 2;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        bFiles |= arg == "files";
        bTree |= arg == "tree";
        bExpand |= arg == "expand";
    }
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);

    CBench bench;
    if (!bench.Create()) {
        Print("cannot create the windows\n");
        return 1;
    }
    // The tree lists the root at creation; then the bench computer's shares.
    bool ok = PumpUntil([&] { return bench.Idle() && bench.m_tree.GetCount() > 0; }, 60000);
    HTREEITEM hGroup = ok ? bench.FindChild(TVI_ROOT, "BENCHWG") : nullptr;
    if (hGroup && bench.ListAndWait(hGroup, false, 2, 60000))
        bench.m_hBench = bench.FindChild(hGroup, "BENCH");
    if (!bench.m_hBench) {
        Print("the bench network is missing (VELLOQUIN_SIMNET, netapi32.dll beside the exe)\n");
        return 1;
    }

    if (bFiles)
        bench.FileListFigures();
    if (bTree)
        bench.TreeFigures();
    if (bExpand)
        bench.ExpandFigure();

    int rc = 0;
    double peakMb = -1;
    for (const Figure& f : g_figures) {
        if (f.name == "@peak_memory_mb") {
            peakMb = f.ratio;
            continue;
        }
        if (!f.ok) {
            Print("BENCH %s failed\n", f.name.c_str());
            rc = 1;
            continue;
        }
        Print("BENCH %s ratio=%.2f target=%g\n", f.name.c_str(), f.ratio, f.target);
    }
    if (peakMb >= 0)
        Print("MEASURE peak_memory_mb=%.0f\n", peakMb);
    bench.Destroy();
    OleUninitialize();
    return rc;
}

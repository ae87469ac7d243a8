// A netapi32.dll that answers NetServerEnum and NetShareEnum from a network description, for
// Wine, which has no network browsing. Records are laid out as the real ones.
#include <windows.h>
#include <lm.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "simnet/description.h"
#include "simnet/simnet_control.h"

using simnet::Listing;
using simnet::Network;

namespace {

// ---- counters ----

std::atomic<LONG> g_liveBuffers{0};
std::atomic<LONG> g_totalBuffers{0};
std::atomic<LONG> g_runningCalls{0};
std::atomic<LONG> g_maxRunningCalls{0};
std::atomic<LONG> g_serverEnumCalls{0};
std::atomic<LONG> g_shareEnumCalls{0};
std::atomic<LONG> g_badFrees{0};

struct CallScope {
    explicit CallScope(std::atomic<LONG>& counter) {
        ++counter;
        LONG now = ++g_runningCalls;
        LONG max = g_maxRunningCalls.load();
        while (now > max && !g_maxRunningCalls.compare_exchange_weak(max, now)) {
        }
    }
    ~CallScope() { --g_runningCalls; }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;
};

// ---- buffers ----

SRWLOCK g_bufferLock = SRWLOCK_INIT;
std::unordered_map<void*, size_t>* g_buffers; // never destroyed: buffers may outlive statics

void* AllocBuffer(size_t size) {
    if (size == 0)
        size = 1;
    void* p = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
    if (!p)
        return nullptr;
    AcquireSRWLockExclusive(&g_bufferLock);
    if (!g_buffers)
        g_buffers = new std::unordered_map<void*, size_t>;
    (*g_buffers)[p] = size;
    ReleaseSRWLockExclusive(&g_bufferLock);
    ++g_liveBuffers;
    ++g_totalBuffers;
    return p;
}

// Copies a string into the buffer's string area and returns where it went.
LPWSTR PutString(WCHAR*& cursor, const std::wstring& s) {
    LPWSTR at = cursor;
    std::memcpy(cursor, s.c_str(), (s.size() + 1) * sizeof(WCHAR));
    cursor += s.size() + 1;
    return at;
}

// ---- the description ----

SRWLOCK g_netLock = SRWLOCK_INIT;
std::shared_ptr<const Network> g_net;
bool g_netLoaded = false;

std::wstring GetEnv(const wchar_t* name) {
    DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0)
        return {};
    std::wstring v(n, L'\0');
    n = GetEnvironmentVariableW(name, v.data(), n);
    v.resize(n);
    return v;
}

// A Unix path (/work/...) is reached through Wine's Z: drive.
std::wstring ToWindowsPath(std::wstring path) {
    if (!path.empty() && path[0] == L'/')
        path = L"Z:" + path;
    for (wchar_t& c : path)
        if (c == L'/')
            c = L'\\';
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

const std::string& UncRootAnsi() {
    static const std::string root =
        simnet::Narrow(ToWindowsPath(GetEnv(L"VELLOQUIN_UNC_ROOT")), CP_ACP);
    return root;
}

bool ReadWholeFile(const std::wstring& path, std::string& out) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    out.clear();
    char chunk[4096];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(h, chunk, sizeof chunk, &got, nullptr) != FALSE) && got > 0)
        out.append(chunk, got);
    CloseHandle(h);
    return ok;
}

// Disk shares without a backing directory get an empty one, so that \\COMPUTER\SHARE exists.
// Wine finds these folders whatever the case of the name the program uses.
void CreateShareFolders(const Network& net) {
    std::wstring root = simnet::Widen(UncRootAnsi(), CP_ACP);
    if (root.empty())
        return;
    for (const Listing& computer : net.computers) {
        if (computer.display.empty())
            continue;
        for (const simnet::ShareRecord& share : computer.shares) {
            if (share.hasDir || share.name.empty() || (share.type & 0xFF) != STYPE_DISKTREE)
                continue;
            std::wstring dir = root + L"\\" + computer.display;
            CreateDirectoryW(dir.c_str(), nullptr);
            dir += L"\\" + share.name;
            CreateDirectoryW(dir.c_str(), nullptr);
        }
    }
}

int LoadFrom(const std::wstring& path, std::shared_ptr<const Network>& out) {
    std::string text;
    if (!ReadWholeFile(ToWindowsPath(path), text))
        return -1;
    auto net = std::make_shared<Network>();
    int bad = simnet::ParseNetwork(text, *net);
    if (bad != 0)
        return bad;
    CreateShareFolders(*net);
    out = net;
    return 0;
}

std::shared_ptr<const Network> CurrentNetwork() {
    AcquireSRWLockShared(&g_netLock);
    if (g_netLoaded) {
        auto net = g_net;
        ReleaseSRWLockShared(&g_netLock);
        return net;
    }
    ReleaseSRWLockShared(&g_netLock);
    AcquireSRWLockExclusive(&g_netLock);
    if (!g_netLoaded) {
        std::wstring path = GetEnv(L"VELLOQUIN_SIMNET");
        std::shared_ptr<const Network> net;
        int rc = path.empty() ? -1 : LoadFrom(path, net);
        if (rc != 0) {
            if (!path.empty()) {
                std::string msg = "simnet: cannot use " + simnet::Narrow(path, CP_ACP) +
                                  (rc > 0 ? " (bad line " + std::to_string(rc) + ")" : "") + "\n";
                OutputDebugStringA(msg.c_str());
                DWORD written = 0;
                WriteFile(GetStdHandle(STD_ERROR_HANDLE), msg.data(), DWORD(msg.size()), &written,
                          nullptr);
            }
            net = std::make_shared<Network>(simnet::NoNetwork());
        }
        g_net = net;
        g_netLoaded = true;
    }
    auto net = g_net;
    ReleaseSRWLockExclusive(&g_netLock);
    return net;
}

// ---- answers ----

// Waits, then either fails (buffer pointer untouched), answers without a buffer, or says how
// many records to return. Returns true when records are to be returned.
bool Prepare(const Listing& l, size_t available, LPBYTE* bufptr, LPDWORD entriesread,
             LPDWORD totalentries, NET_API_STATUS& status, DWORD& count) {
    if (l.answer.latencyMs)
        Sleep(l.answer.latencyMs);
    *entriesread = 0;
    *totalentries = 0;
    status = l.answer.status;
    if (status != NERR_Success && status != ERROR_MORE_DATA)
        return false;
    if (l.answer.noBuffer) {
        *bufptr = nullptr;
        return false;
    }
    count = DWORD(available);
    if (l.answer.records >= 0 && size_t(l.answer.records) < available)
        count = DWORD(l.answer.records);
    *totalentries = DWORD(available);
    return true;
}

NET_API_STATUS ServerAnswer(const Listing& l, LPBYTE* bufptr, LPDWORD entriesread,
                            LPDWORD totalentries) {
    NET_API_STATUS status = 0;
    DWORD count = 0;
    if (!Prepare(l, l.servers.size(), bufptr, entriesread, totalentries, status, count))
        return status;
    size_t size = count * sizeof(SERVER_INFO_101);
    for (DWORD i = 0; i < count; ++i)
        size += (l.servers[i].name.size() + l.servers[i].comment.size() + 2) * sizeof(WCHAR);
    auto* records = static_cast<SERVER_INFO_101*>(AllocBuffer(size));
    if (!records)
        return ERROR_NOT_ENOUGH_MEMORY;
    auto* cursor = reinterpret_cast<WCHAR*>(records + count);
    for (DWORD i = 0; i < count; ++i) {
        const simnet::ServerRecord& s = l.servers[i];
        records[i].sv101_platform_id = s.platform;
        records[i].sv101_name = PutString(cursor, s.name);
        records[i].sv101_version_major = s.versionMajor;
        records[i].sv101_version_minor = s.versionMinor;
        records[i].sv101_type = s.type;
        records[i].sv101_comment = PutString(cursor, s.comment);
    }
    *bufptr = reinterpret_cast<LPBYTE>(records);
    *entriesread = count;
    return status;
}

NET_API_STATUS ShareAnswer(const Listing& l, LPBYTE* bufptr, LPDWORD entriesread,
                           LPDWORD totalentries) {
    NET_API_STATUS status = 0;
    DWORD count = 0;
    if (!Prepare(l, l.shares.size(), bufptr, entriesread, totalentries, status, count))
        return status;
    size_t size = count * sizeof(SHARE_INFO_1);
    for (DWORD i = 0; i < count; ++i)
        size += (l.shares[i].name.size() + l.shares[i].remark.size() + 2) * sizeof(WCHAR);
    auto* records = static_cast<SHARE_INFO_1*>(AllocBuffer(size));
    if (!records)
        return ERROR_NOT_ENOUGH_MEMORY;
    auto* cursor = reinterpret_cast<WCHAR*>(records + count);
    for (DWORD i = 0; i < count; ++i) {
        const simnet::ShareRecord& s = l.shares[i];
        records[i].shi1_netname = PutString(cursor, s.name);
        records[i].shi1_type = s.type;
        records[i].shi1_remark = PutString(cursor, s.remark);
    }
    *bufptr = reinterpret_cast<LPBYTE>(records);
    *entriesread = count;
    return status;
}

} // namespace

extern "C" {

NET_API_STATUS WINAPI NetServerEnum(LMCSTR servername, DWORD level, LPBYTE* bufptr,
                                    DWORD prefmaxlen, LPDWORD entriesread, LPDWORD totalentries,
                                    DWORD servertype, LMCSTR domain, LPDWORD resume_handle) {
    // Always one answer with everything: the preferred length and resume handle are not needed.
    (void)servername;
    (void)prefmaxlen;
    CallScope call(g_serverEnumCalls);
    if (!bufptr || !entriesread || !totalentries)
        return ERROR_INVALID_PARAMETER;
    if (level != 101)
        return ERROR_INVALID_LEVEL;
    try {
        auto net = CurrentNetwork();
        const Listing* l = nullptr;
        if (servertype & SV_TYPE_DOMAIN_ENUM) {
            l = &net->root;
        } else if (domain && *domain) {
            l = net->FindDomain(domain);
        } else {
            // No domain: the first one the root lists stands for our own.
            for (const simnet::ServerRecord& r : net->root.servers)
                if ((r.type & SV_TYPE_DOMAIN_ENUM) && (l = net->FindDomain(r.name)) != nullptr)
                    break;
        }
        if (!l)
            return ERROR_NO_BROWSER_SERVERS_FOUND;
        NET_API_STATUS status = ServerAnswer(*l, bufptr, entriesread, totalentries);
        if (resume_handle && status == NERR_Success)
            *resume_handle = 0;
        return status;
    } catch (...) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

NET_API_STATUS WINAPI NetShareEnum(LMSTR servername, DWORD level, LPBYTE* bufptr, DWORD prefmaxlen,
                                   LPDWORD entriesread, LPDWORD totalentries,
                                   LPDWORD resume_handle) {
    (void)prefmaxlen;
    CallScope call(g_shareEnumCalls);
    if (!bufptr || !entriesread || !totalentries)
        return ERROR_INVALID_PARAMETER;
    if (level != 1)
        return ERROR_INVALID_LEVEL;
    try {
        auto net = CurrentNetwork();
        std::wstring name = servername ? servername : L"";
        if (name.compare(0, 2, L"\\\\") == 0)
            name.erase(0, 2);
        const Listing* l = net->FindComputer(name);
        if (!l)
            return ERROR_BAD_NETPATH;
        NET_API_STATUS status = ShareAnswer(*l, bufptr, entriesread, totalentries);
        if (resume_handle && status == NERR_Success)
            *resume_handle = 0;
        return status;
    } catch (...) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

NET_API_STATUS WINAPI NetApiBufferFree(LPVOID buffer) {
    if (!buffer)
        return NERR_Success;
    size_t size = 0;
    bool known = false;
    AcquireSRWLockExclusive(&g_bufferLock);
    if (g_buffers) {
        auto it = g_buffers->find(buffer);
        if (it != g_buffers->end()) {
            size = it->second;
            g_buffers->erase(it);
            known = true;
        }
    }
    ReleaseSRWLockExclusive(&g_bufferLock);
    if (!known) {
        ++g_badFrees;
        return ERROR_INVALID_PARAMETER;
    }
    // Scribble over it so that a name read after the free shows up in tests.
    std::memset(buffer, 0xDD, size);
    HeapFree(GetProcessHeap(), 0, buffer);
    --g_liveBuffers;
    return NERR_Success;
}

int WINAPI SimNetLoad(const char* path) {
    try {
        if (!path || !*path) {
            AcquireSRWLockExclusive(&g_netLock);
            g_net.reset();
            g_netLoaded = false;
            ReleaseSRWLockExclusive(&g_netLock);
            return 0;
        }
        std::shared_ptr<const Network> net;
        int rc = LoadFrom(simnet::Widen(path, CP_ACP), net);
        if (rc != 0)
            return rc;
        AcquireSRWLockExclusive(&g_netLock);
        g_net = net;
        g_netLoaded = true;
        ReleaseSRWLockExclusive(&g_netLock);
        return 0;
    } catch (...) {
        return -1;
    }
}

void WINAPI SimNetGetStats(SIMNET_STATS* stats) {
    if (!stats)
        return;
    stats->liveBuffers = g_liveBuffers;
    stats->totalBuffers = g_totalBuffers;
    stats->runningCalls = g_runningCalls;
    stats->maxRunningCalls = g_maxRunningCalls;
    stats->serverEnumCalls = g_serverEnumCalls;
    stats->shareEnumCalls = g_shareEnumCalls;
    stats->totalCalls = stats->serverEnumCalls + stats->shareEnumCalls;
    stats->badFrees = g_badFrees;
}

void WINAPI SimNetResetStats(void) {
    g_totalBuffers = 0;
    g_maxRunningCalls = g_runningCalls.load();
    g_serverEnumCalls = 0;
    g_shareEnumCalls = 0;
    g_badFrees = 0;
}

const char* WINAPI SimNetUncRoot(void) {
    try {
        return UncRootAnsi().c_str();
    } catch (...) {
        return "";
    }
}

} // extern "C"

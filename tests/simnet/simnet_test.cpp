// The simulated netapi32.dll: records, statuses, counters and UNC folders, through the same
// exports the program calls.
#include <windows.h>
#include <lm.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "simnet/simnet_control.h"

namespace {

const LPBYTE kUntouched = reinterpret_cast<LPBYTE>(static_cast<uintptr_t>(0x5151));

std::wstring W(const char* s) {
    return std::wstring(s, s + strlen(s));
}

enum Buffer { Records, NoBuffer, Untouched };

struct EnumResult {
    NET_API_STATUS status = 0;
    LPBYTE buffer = kUntouched;
    DWORD read = 0xFFFF;
    DWORD total = 0xFFFF;
};

EnumResult EnumRoot() {
    EnumResult r;
    DWORD resume = 0;
    r.status = NetServerEnum(nullptr, 101, &r.buffer, MAX_PREFERRED_LENGTH, &r.read, &r.total,
                             SV_TYPE_DOMAIN_ENUM, nullptr, &resume);
    return r;
}

EnumResult EnumDomain(const char* domain) {
    EnumResult r;
    DWORD resume = 0;
    std::wstring d = W(domain);
    r.status = NetServerEnum(nullptr, 101, &r.buffer, MAX_PREFERRED_LENGTH, &r.read, &r.total,
                             SV_TYPE_SERVER, d.c_str(), &resume);
    return r;
}

EnumResult EnumShares(const char* server) {
    EnumResult r;
    DWORD resume = 0;
    std::wstring s = W(server);
    r.status =
        NetShareEnum(s.data(), 1, &r.buffer, MAX_PREFERRED_LENGTH, &r.read, &r.total, &resume);
    return r;
}

std::string N(LPCWSTR s) {
    std::string out;
    for (; s && *s; ++s)
        out += char(*s);
    return out;
}

// Strings lie in the same buffer, after the records and within the size they need.
template <class Rec>
void ExpectStringsInBuffer(LPBYTE buffer, DWORD count, std::vector<LPCWSTR> strings) {
    size_t size = count * sizeof(Rec);
    for (LPCWSTR s : strings)
        size += (wcslen(s) + 1) * sizeof(WCHAR);
    for (LPCWSTR s : strings) {
        auto p = reinterpret_cast<LPBYTE>(const_cast<LPWSTR>(s));
        EXPECT_GE(p, buffer + count * sizeof(Rec));
        EXPECT_LE(p + (wcslen(s) + 1) * sizeof(WCHAR), buffer + size);
    }
}

const char kNetwork[] = R"(
; root answer: two domains, a computer under the root, an empty name
[network]
[domain WG]
comment = Home
[domain CORP]
type = 0x80000000
platform = 400
version = 5.2
[computer LONER]
comment = Alone under the root
[domain /]

[computer WG/Zeta]
comment = Alice
type = 0x1007
[computer WG/]
[domain WG/LEGACY]
[computer LEGACY/OLDBOX]

[share Zeta/Docs]
remark = Documents
[share Zeta/LaserJet]
type = print
remark = 3rd floor
[share Zeta/ADMIN$]
type = disk + special
[share Zeta/IPC$]
type = ipc+special
remark = Remote IPC
[share Zeta/]
[share LONER/Data]
type = 0x40000000

[domain EMPTY]
[domain BIG]
status = 234
records = 12
[domain DOWN]
latency = 10
status = 2114

[computer BIG/NOBUF]
status = nobuffer
[computer BIG/OFF]
latency = 10
status = 53
[computer BIG/C03]
[computer BIG/C04]
[computer BIG/C05]
[computer BIG/C06]
[computer BIG/C07]
[computer BIG/C08]
[computer BIG/C09]
[computer BIG/C10]
[computer BIG/C11]
[computer BIG/C12]
[computer BIG/C13]
[computer BIG/C14]
[computer BIG/C15]
)";

class SimNet : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(simnet::Available()) << "netapi32.dll beside the test is not the simulator";
        ASSERT_EQ(simnet::LoadText(kNetwork), 0);
        live_ = simnet::Stats().liveBuffers;
    }
    // Every test frees what it got.
    void TearDown() override { EXPECT_EQ(simnet::Stats().liveBuffers, live_); }
    LONG live_ = 0;
};

TEST_F(SimNet, RootRecordsAreServerInfo101InOneBuffer) {
    EnumResult r = EnumRoot();
    ASSERT_EQ(r.status, 0u);
    ASSERT_NE(r.buffer, kUntouched);
    ASSERT_NE(r.buffer, nullptr);
    ASSERT_EQ(r.read, 7u);
    EXPECT_EQ(r.total, 7u);
    auto* rec = reinterpret_cast<SERVER_INFO_101*>(r.buffer);
    struct Expected {
        const char* name;
        DWORD type;
        DWORD platform, major, minor;
        const char* comment;
    } expected[] = {
        {"WG", 0x80001000, 500, 10, 0, "Home"},
        {"CORP", 0x80000000, 400, 5, 2, ""},
        {"LONER", 0x00001003, 500, 10, 0, "Alone under the root"},
        {"", 0x80001000, 500, 10, 0, ""},
        {"EMPTY", 0x80001000, 500, 10, 0, ""},
        {"BIG", 0x80001000, 500, 10, 0, ""},
        {"DOWN", 0x80001000, 500, 10, 0, ""},
    };
    std::vector<LPCWSTR> strings;
    for (DWORD i = 0; i < r.read; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(N(rec[i].sv101_name), expected[i].name);
        EXPECT_EQ(rec[i].sv101_type, expected[i].type);
        EXPECT_EQ(rec[i].sv101_platform_id, expected[i].platform);
        EXPECT_EQ(rec[i].sv101_version_major, expected[i].major);
        EXPECT_EQ(rec[i].sv101_version_minor, expected[i].minor);
        EXPECT_EQ(N(rec[i].sv101_comment), expected[i].comment);
        strings.push_back(rec[i].sv101_name);
        strings.push_back(rec[i].sv101_comment);
    }
    ExpectStringsInBuffer<SERVER_INFO_101>(r.buffer, r.read, strings);
    EXPECT_EQ(NetApiBufferFree(r.buffer), 0u);
}

TEST_F(SimNet, DomainListsItsComputersAndSubdomainsWhateverTheCase) {
    for (const char* name : {"WG", "wg", "Wg"}) {
        SCOPED_TRACE(name);
        EnumResult r = EnumDomain(name);
        ASSERT_EQ(r.status, 0u);
        ASSERT_EQ(r.read, 3u);
        auto* rec = reinterpret_cast<SERVER_INFO_101*>(r.buffer);
        EXPECT_EQ(N(rec[0].sv101_name), "Zeta");
        EXPECT_EQ(rec[0].sv101_type, 0x1007u);
        EXPECT_EQ(N(rec[0].sv101_comment), "Alice");
        EXPECT_EQ(N(rec[1].sv101_name), "");
        EXPECT_EQ(rec[1].sv101_type, 0x1003u);
        EXPECT_EQ(N(rec[2].sv101_name), "LEGACY");
        EXPECT_EQ(rec[2].sv101_type, 0x80001000u);
        EXPECT_EQ(NetApiBufferFree(r.buffer), 0u);
    }
    // A domain found inside another is listed like any domain.
    EnumResult r = EnumDomain("legacy");
    ASSERT_EQ(r.status, 0u);
    ASSERT_EQ(r.read, 1u);
    EXPECT_EQ(N(reinterpret_cast<SERVER_INFO_101*>(r.buffer)->sv101_name), "OLDBOX");
    EXPECT_EQ(NetApiBufferFree(r.buffer), 0u);
}

TEST_F(SimNet, SharesAreShareInfo1InPlatformOrder) {
    for (const char* server : {"\\\\Zeta", "\\\\ZETA", "zeta"}) {
        SCOPED_TRACE(server);
        EnumResult r = EnumShares(server);
        ASSERT_EQ(r.status, 0u);
        ASSERT_EQ(r.read, 5u);
        EXPECT_EQ(r.total, 5u);
        auto* rec = reinterpret_cast<SHARE_INFO_1*>(r.buffer);
        struct Expected {
            const char* name;
            DWORD type;
            const char* remark;
        } expected[] = {
            {"Docs", STYPE_DISKTREE, "Documents"},
            {"LaserJet", STYPE_PRINTQ, "3rd floor"},
            {"ADMIN$", STYPE_DISKTREE | STYPE_SPECIAL, ""},
            {"IPC$", STYPE_IPC | STYPE_SPECIAL, "Remote IPC"},
            {"", STYPE_DISKTREE, ""},
        };
        std::vector<LPCWSTR> strings;
        for (DWORD i = 0; i < r.read; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(N(rec[i].shi1_netname), expected[i].name);
            EXPECT_EQ(rec[i].shi1_type, expected[i].type);
            EXPECT_EQ(N(rec[i].shi1_remark), expected[i].remark);
            strings.push_back(rec[i].shi1_netname);
            strings.push_back(rec[i].shi1_remark);
        }
        ExpectStringsInBuffer<SHARE_INFO_1>(r.buffer, r.read, strings);
        EXPECT_EQ(NetApiBufferFree(r.buffer), 0u);
    }
    // The root's computer answers too; its share type is kept as written.
    EnumResult r = EnumShares("\\\\loner");
    ASSERT_EQ(r.status, 0u);
    ASSERT_EQ(r.read, 1u);
    EXPECT_EQ(reinterpret_cast<SHARE_INFO_1*>(r.buffer)->shi1_type, 0x40000000u);
    EXPECT_EQ(NetApiBufferFree(r.buffer), 0u);
}

TEST_F(SimNet, StatusesAndBuffers) {
    struct Case {
        const char* what;
        EnumResult (*call)(const char*);
        const char* name;
        NET_API_STATUS status;
        Buffer buffer;
        DWORD read, total;
    } cases[] = {
        {"more data, first 12 of 15", EnumDomain, "BIG", ERROR_MORE_DATA, Records, 12, 15},
        {"domain without computers", EnumDomain, "EMPTY", 0, Records, 0, 0},
        {"domain failing", EnumDomain, "DOWN", NERR_ServerNotStarted, Untouched, 0, 0},
        {"unknown domain", EnumDomain, "NOWHERE", ERROR_NO_BROWSER_SERVERS_FOUND, Untouched, 0, 0},
        {"status 0 without buffer", EnumShares, "\\\\NOBUF", 0, NoBuffer, 0, 0},
        {"computer failing", EnumShares, "\\\\OFF", ERROR_BAD_NETPATH, Untouched, 0, 0},
        {"unknown computer", EnumShares, "\\\\NOWHERE", ERROR_BAD_NETPATH, Untouched, 0, 0},
        {"computer without shares", EnumShares, "\\\\C03", 0, Records, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EnumResult r = c.call(c.name);
        EXPECT_EQ(r.status, c.status);
        switch (c.buffer) {
        case Records:
            ASSERT_NE(r.buffer, kUntouched);
            ASSERT_NE(r.buffer, nullptr);
            EXPECT_EQ(r.read, c.read);
            EXPECT_EQ(r.total, c.total);
            EXPECT_EQ(NetApiBufferFree(r.buffer), 0u);
            break;
        case NoBuffer:
            EXPECT_EQ(r.buffer, nullptr);
            EXPECT_EQ(r.read, 0u);
            break;
        case Untouched:
            EXPECT_EQ(r.buffer, kUntouched);
            break;
        }
    }
}

TEST_F(SimNet, RootStatusesFollowTheDescription) {
    struct Case {
        const char* text;
        NET_API_STATUS status;
        Buffer buffer;
        DWORD read;
    } cases[] = {
        {"[network]\nstatus = 2114\n[domain A]\n", NERR_ServerNotStarted, Untouched, 0},
        {"[network]\nstatus = nobuffer\n[domain A]\n", 0, NoBuffer, 0},
        {"[network]\n", 0, Records, 0},
        {"[network]\nstatus = 234\nrecords = 1\n[domain A]\n[domain B]\n", ERROR_MORE_DATA, Records,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(simnet::LoadText(c.text), 0);
        EnumResult r = EnumRoot();
        EXPECT_EQ(r.status, c.status);
        if (c.buffer != Records) {
            EXPECT_EQ(r.buffer, c.buffer == Untouched ? kUntouched : nullptr);
            continue;
        }
        ASSERT_NE(r.buffer, kUntouched);
        ASSERT_NE(r.buffer, nullptr);
        EXPECT_EQ(r.read, c.read);
        EXPECT_EQ(NetApiBufferFree(r.buffer), 0u);
    }
}

TEST_F(SimNet, BadDescriptionsNameTheirLineAndKeepTheNetwork) {
    struct Case {
        const char* text;
        int line;
    } cases[] = {
        {"[network]\nlatency = soon\n", 2},
        {"[network]\n\n[printer X]\n", 3},
        {"key = value\n", 1},
        {"[share ZETA]\n", 1},
        {"[computer A]\ncolour = red\n", 2},
        {"[share A/B]\ntype = disk+floppy\n", 2},
        {"[domain A]\n[domain a]\n", 2},
        {"[domain A\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(simnet::LoadText(c.text), c.line);
    }
    EXPECT_EQ(simnet::Load("Z:\\no\\such\\file.ini"), -1);
    EnumResult r = EnumDomain("WG");
    EXPECT_EQ(r.status, 0u);
    EXPECT_EQ(r.read, 3u);
    NetApiBufferFree(r.buffer);
}

TEST_F(SimNet, CountersFollowBuffersAndCalls) {
    simnet::ResetStats();
    SIMNET_STATS before = simnet::Stats();
    EXPECT_EQ(before.totalBuffers, 0);
    EXPECT_EQ(before.totalCalls, 0);
    EnumResult a = EnumRoot();
    EnumResult b = EnumShares("\\\\Zeta");
    EnumResult c = EnumShares("\\\\OFF"); // a call, no buffer
    SIMNET_STATS during = simnet::Stats();
    EXPECT_EQ(during.liveBuffers, before.liveBuffers + 2);
    EXPECT_EQ(during.totalBuffers, 2);
    EXPECT_EQ(during.totalCalls, 3);
    EXPECT_EQ(during.serverEnumCalls, 1);
    EXPECT_EQ(during.shareEnumCalls, 2);
    EXPECT_EQ(during.runningCalls, 0);
    EXPECT_EQ(NetApiBufferFree(a.buffer), 0u);
    EXPECT_EQ(NetApiBufferFree(b.buffer), 0u);
    EXPECT_EQ(NetApiBufferFree(nullptr), 0u);
    // A second free of the same buffer is refused and counted, not done.
    EXPECT_EQ(NetApiBufferFree(a.buffer), static_cast<NET_API_STATUS>(ERROR_INVALID_PARAMETER));
    SIMNET_STATS after = simnet::Stats();
    EXPECT_EQ(after.liveBuffers, before.liveBuffers);
    EXPECT_EQ(after.totalBuffers, 2);
    EXPECT_EQ(after.badFrees, 1);
    (void)c;
}

TEST_F(SimNet, CallsRunConcurrentlyAndAreCounted) {
    constexpr int kThreads = 6;
    ASSERT_EQ(simnet::LoadText("[computer SLOW]\nlatency = 1500\n[share SLOW/S]\n"), 0);
    simnet::ResetStats();
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    struct Arg {
        HANDLE go;
        NET_API_STATUS status = 1;
        DWORD read = 0;
    } args[kThreads];
    HANDLE threads[kThreads];
    for (int i = 0; i < kThreads; ++i) {
        args[i].go = go;
        threads[i] = CreateThread(
            nullptr, 0,
            [](LPVOID p) -> DWORD {
                auto* arg = static_cast<Arg*>(p);
                WaitForSingleObject(arg->go, 10000);
                EnumResult r = EnumShares("\\\\SLOW");
                arg->status = r.status;
                arg->read = r.read;
                if (r.status == 0)
                    NetApiBufferFree(r.buffer);
                return 0;
            },
            &args[i], 0, nullptr);
        ASSERT_NE(threads[i], nullptr);
    }
    SetEvent(go);
    // All calls are inside the DLL at once while they wait out their latency.
    DWORD start = GetTickCount();
    while (simnet::Stats().runningCalls < kThreads && GetTickCount() - start < 10000)
        Sleep(5);
    EXPECT_EQ(simnet::Stats().runningCalls, kThreads);
    ASSERT_EQ(WaitForMultipleObjects(kThreads, threads, TRUE, 30000), WAIT_OBJECT_0);
    for (int i = 0; i < kThreads; ++i) {
        CloseHandle(threads[i]);
        EXPECT_EQ(args[i].status, 0u);
        EXPECT_EQ(args[i].read, 1u);
    }
    CloseHandle(go);
    SIMNET_STATS s = simnet::Stats();
    EXPECT_EQ(s.maxRunningCalls, kThreads);
    EXPECT_EQ(s.runningCalls, 0);
    EXPECT_EQ(s.totalCalls, kThreads);
    EXPECT_EQ(s.totalBuffers, kThreads);
}

std::string Z(const std::string& unixPath) {
    std::string p = "Z:" + unixPath;
    for (char& ch : p)
        if (ch == '/')
            ch = '\\';
    return p;
}

std::set<std::string> List(const std::string& pattern) {
    std::set<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert(fd.cFileName);
    while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
}

TEST_F(SimNet, LoadedDiskSharesAreUncFolders) {
    std::string root = simnet::UncRoot();
    if (root.empty())
        GTEST_SKIP() << "VELLOQUIN_UNC_ROOT is not set";
    ASSERT_EQ(root.rfind("Z:\\", 0), 0u) << root;
    ASSERT_EQ(simnet::LoadText("[computer WG/SimTestPC]\n"
                               "[share SimTestPC/Scratch]\n"
                               "[share SimTestPC/Printer]\ntype = print\n"),
              0);
    EXPECT_NE(GetFileAttributesA((root + "\\SimTestPC\\Scratch").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((root + "\\SimTestPC\\Printer").c_str()), INVALID_FILE_ATTRIBUTES);
    // Populate through the UNC path, list back in another case.
    const char* file = "\\\\SimTestPC\\Scratch\\hello world.txt";
    HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
    CloseHandle(h);
    ASSERT_TRUE(CreateDirectoryA("\\\\SIMTESTPC\\SCRATCH\\Sub", nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
    EXPECT_EQ(List("\\\\simtestpc\\scratch\\*"),
              (std::set<std::string>{".", "..", "hello world.txt", "Sub"}));
    EXPECT_NE(GetFileAttributesA((root + "\\SimTestPC\\Scratch\\hello world.txt").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(DeleteFileA(file));
    EXPECT_TRUE(RemoveDirectoryA("\\\\SimTestPC\\Scratch\\Sub"));
}

TEST_F(SimNet, EnvironmentDescriptionIsReadLazilyFromAUnixPath) {
    const char* uncUnix = std::getenv("VELLOQUIN_UNC_ROOT");
    if (!uncUnix || uncUnix[0] != '/')
        GTEST_SKIP() << "VELLOQUIN_UNC_ROOT is not set";
    std::string unixPath = std::string(uncUnix) + "/../simnet-test-env.ini";
    char saved[1024] = "";
    bool had = GetEnvironmentVariableA("VELLOQUIN_SIMNET", saved, sizeof saved) > 0;
    SetEnvironmentVariableA("VELLOQUIN_SIMNET", unixPath.c_str());
    ASSERT_EQ(simnet::Load(nullptr), 0);
    // Written after Load: the file is read at the first call.
    HANDLE h =
        CreateFileA(Z(unixPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const char text[] = "[domain FROM-ENV]\n";
    DWORD written = 0;
    WriteFile(h, text, sizeof text - 1, &written, nullptr);
    CloseHandle(h);
    EnumResult r = EnumRoot();
    SetEnvironmentVariableA("VELLOQUIN_SIMNET", had ? saved : nullptr);
    DeleteFileA(Z(unixPath).c_str());
    ASSERT_EQ(r.status, 0u);
    ASSERT_EQ(r.read, 1u);
    EXPECT_EQ(N(reinterpret_cast<SERVER_INFO_101*>(r.buffer)->sv101_name), "FROM-ENV");
    NetApiBufferFree(r.buffer);
    simnet::Load(nullptr);
}

// Run by prepare_unc_test.sh after it linked a folder with prepare-unc.sh: the link is served
// by Wine as a UNC share.
TEST(SimNetPrepared, LinkedShareListsThroughWine) {
    const char* unc = std::getenv("VQ_PREPARED_SHARE");
    if (!unc)
        GTEST_SKIP() << "run by prepare_unc_test.sh";
    std::string base = unc;
    EXPECT_EQ(List(base + "\\*"), (std::set<std::string>{".", "..", "a.txt", "Sub Dir"}));
    std::string lower = base;
    for (char& ch : lower)
        ch = char(tolower(static_cast<unsigned char>(ch)));
    EXPECT_EQ(List(lower + "\\sub dir\\*"), (std::set<std::string>{".", "..", "b.txt"}));
}

} // namespace

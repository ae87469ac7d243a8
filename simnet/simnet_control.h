// Control of the simulated network DLL (simnet/netapi32.dll) for tests. The helpers find the
// control exports in the netapi32.dll loaded in this process; against the real DLL they report
// that the simulator is absent.
#pragma once

#include <windows.h>

#include <string>

// Counters since the DLL was loaded or since SimNetResetStats.
typedef struct SIMNET_STATS {
    LONG liveBuffers;     // buffers handed out and not yet freed (never reset)
    LONG totalBuffers;    // buffers handed out
    LONG runningCalls;    // NetServerEnum/NetShareEnum calls running now (never reset)
    LONG maxRunningCalls; // largest number of calls running at once
    LONG totalCalls;      // NetServerEnum + NetShareEnum calls
    LONG serverEnumCalls; // NetServerEnum calls
    LONG shareEnumCalls;  // NetShareEnum calls
    LONG badFrees;        // NetApiBufferFree of a pointer that is not a live buffer
} SIMNET_STATS;

typedef int(WINAPI* SimNetLoadFn)(const char* path);
typedef void(WINAPI* SimNetGetStatsFn)(SIMNET_STATS* stats);
typedef void(WINAPI* SimNetResetStatsFn)(void);
typedef const char*(WINAPI* SimNetUncRootFn)(void);

namespace simnet {

inline HMODULE ControlDll() {
    // Loading (not just finding) keeps the DLL in the process for the test's whole life.
    static HMODULE dll = LoadLibraryA("netapi32.dll");
    return dll;
}

template <class F> F ControlProc(const char* name) {
    HMODULE dll = ControlDll();
    return dll ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name))) : nullptr;
}

inline bool Available() {
    return ControlProc<SimNetLoadFn>("SimNetLoad") != nullptr;
}

// Loads a description file (a Windows path, or a Unix path mapped to Z:). Returns 0 on success,
// -1 when the file cannot be read, or the number of the first bad line. A null or empty path
// goes back to the file named by VELLOQUIN_SIMNET, read at the next call.
inline int Load(const char* path) {
    auto f = ControlProc<SimNetLoadFn>("SimNetLoad");
    return f ? f(path) : -2;
}

// Writes the text to a file in the temp folder and loads it.
inline int LoadText(const std::string& text) {
    char dir[MAX_PATH], file[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, dir) || !GetTempFileNameA(dir, "vsn", 0, file))
        return -1;
    HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    DWORD written = 0;
    BOOL ok = WriteFile(h, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(h);
    int rc = ok && written == text.size() ? Load(file) : -1;
    DeleteFileA(file);
    return rc;
}

inline SIMNET_STATS Stats() {
    SIMNET_STATS s = {};
    if (auto f = ControlProc<SimNetGetStatsFn>("SimNetGetStats"))
        f(&s);
    return s;
}

inline void ResetStats() {
    if (auto f = ControlProc<SimNetResetStatsFn>("SimNetResetStats"))
        f();
}

// Where \\COMPUTER\SHARE lives as a local folder (Z:\...\unc), without a trailing backslash;
// empty when unknown.
inline std::string UncRoot() {
    auto f = ControlProc<SimNetUncRootFn>("SimNetUncRoot");
    const char* root = f ? f() : nullptr;
    return root ? root : "";
}

} // namespace simnet

// File-system helpers shared by the tests: fresh temp folders, file contents, quiet cleanup.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace testfs {

inline std::string TempRoot() {
    char buf[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, buf);
    std::string s = buf;
    if (!s.empty() && s.back() == '\\')
        s.pop_back();
    return s;
}

inline bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A file the test needs: failing to make it fails the test.
inline void WriteFileText(const std::string& path, const std::string& text) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

// The whole file, or "<missing>"; others may hold it open meanwhile.
inline std::string ReadFileText(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string out;
    char buf[65536];
    DWORD read = 0;
    while (ReadFile(h, buf, sizeof buf, &read, nullptr) && read)
        out.append(buf, read);
    CloseHandle(h);
    return out;
}

// Deletes what `from` names (a path or a wildcard) quietly, without dialogs: cleanup only,
// never the code under test.
inline void DeleteQuietly(const std::string& from) {
    std::string list = from;
    list.push_back('\0');
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = list.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationA(&op);
}

inline void RemoveTree(const std::string& path) {
    if (Exists(path))
        DeleteQuietly(path);
}

// Removes everything in the folder and keeps the folder.
inline void ClearFolder(const std::string& folder) {
    DeleteQuietly(folder + "\\*");
}

// A new empty folder under `parent`, removed with everything in it at destruction.
class TempDir {
public:
    explicit TempDir(const std::string& tag, const std::string& parent = TempRoot()) {
        static int counter = 0;
        m_path = parent + "\\vq_" + tag + "_" + std::to_string(GetCurrentProcessId()) + "_" +
                 std::to_string(++counter);
        RemoveTree(m_path);
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~TempDir() { RemoveTree(m_path); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

} // namespace testfs

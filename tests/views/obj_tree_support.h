// Helpers of the object tree's window tests: a settings file of the test's own, readers of the
// tree control, a bounded message pump, the live-object counters, and the shell's copy
// questions (a copy over an existing file stops on "Confirm file overwrite" until answered,
// which is how the tests hold a copy under way).
#pragma once

#include "framework/afxwin.h"
#include "tests/support/message_pump.h"
#include "tests/support/test_files.h"
#include "views/obj_tree.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace ottest {

// The message loop's path for a message: WM_QUIT is dropped, the rest goes through the
// application's PreTranslateMessage chain before dispatch.
inline bool AppFilter(MSG& msg) {
    if (msg.message == WM_QUIT)
        return true;
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->PreTranslateMessage(&msg);
}
inline bool PumpUntil(const std::function<bool()>& done, DWORD dwTimeoutMs = 15000) {
    return testpump::PumpUntil(done, dwTimeoutMs, AppFilter);
}
inline void PumpFor(DWORD dwMs) {
    testpump::PumpFor(dwMs, AppFilter);
}

// ---- Live objects

struct Live {
    long items, jobs, defs;
    friend bool operator==(const Live& a, const Live& b) {
        return a.items == b.items && a.jobs == b.jobs && a.defs == b.defs;
    }
};
inline Live LiveNow() {
    return {CObjItem::s_nLive, CTransferJob::s_nLive, CShortcutDef::s_nLive};
}
inline std::ostream& operator<<(std::ostream& os, const Live& l) {
    return os << "{entries " << l.items << ", jobs " << l.jobs << ", shortcuts " << l.defs << "}";
}

// ---- Files

using testfs::Exists;
using testfs::ReadFileText;
using testfs::RemoveTree;
using testfs::TempDir;
using testfs::WriteFileText;

// Points the application's settings at a file of the test's own for the fixture's life.
class ScopedProfile {
public:
    explicit ScopedProfile(const std::string& path) : m_path(path) {
        DeleteFileA(m_path.c_str());
        CWinApp* pApp = AfxGetApp();
        m_old = pApp->m_pszProfileName;
        pApp->m_pszProfileName = _strdup(m_path.c_str());
    }
    ~ScopedProfile() {
        CWinApp* pApp = AfxGetApp();
        free(const_cast<char*>(pApp->m_pszProfileName));
        pApp->m_pszProfileName = m_old;
        DeleteFileA(m_path.c_str());
    }
    ScopedProfile(const ScopedProfile&) = delete;
    ScopedProfile& operator=(const ScopedProfile&) = delete;

    const std::string& path() const { return m_path; }
    void Write(const std::string& text) const { WriteFileText(m_path, text); }
    std::string Read() const { return ReadFileText(m_path); }
    // The "key=value" lines of a section, in file order.
    std::vector<std::string> Section(const std::string& name) const {
        std::vector<std::string> lines;
        std::string text = Read();
        bool in = false;
        size_t pos = 0;
        while (pos < text.size()) {
            size_t end = text.find('\n', pos);
            std::string line =
                text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
            pos = end == std::string::npos ? text.size() : end + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!line.empty() && line[0] == '[')
                in = line == "[" + name + "]";
            else if (in && !line.empty())
                lines.push_back(line);
        }
        return lines;
    }

private:
    std::string m_path;
    LPCSTR m_old = nullptr;
};

// ---- Reading the tree control

inline std::string ItemText(HWND hTree, HTREEITEM hItem) {
    char buf[1024] = "";
    TVITEMA tvi = {};
    tvi.mask = TVIF_TEXT;
    tvi.hItem = hItem;
    tvi.pszText = buf;
    tvi.cchTextMax = sizeof buf;
    SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
    return buf;
}
inline HTREEITEM Next(HWND hTree, HTREEITEM hItem, UINT code) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(hTree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(hItem)));
}
inline std::vector<HTREEITEM> Children(HWND hTree, HTREEITEM hParent) {
    std::vector<HTREEITEM> out;
    for (HTREEITEM h = Next(hTree, hParent, TVGN_CHILD); h; h = Next(hTree, h, TVGN_NEXT))
        out.push_back(h);
    return out;
}
inline std::vector<std::string> ChildTexts(HWND hTree, HTREEITEM hParent) {
    std::vector<std::string> out;
    for (HTREEITEM h : Children(hTree, hParent))
        out.push_back(ItemText(hTree, h));
    return out;
}
inline UINT ItemState(HWND hTree, HTREEITEM hItem) {
    return static_cast<UINT>(
        SendMessageA(hTree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(hItem), 0xFFFF));
}
inline int StateImage(HWND hTree, HTREEITEM hItem) {
    return static_cast<int>((ItemState(hTree, hItem) & TVIS_STATEIMAGEMASK) >> 12);
}
inline bool Expanded(HWND hTree, HTREEITEM hItem) {
    return (ItemState(hTree, hItem) & TVIS_EXPANDED) != 0;
}
inline HTREEITEM Caret(HWND hTree) {
    return Next(hTree, nullptr, TVGN_CARET);
}
inline void SelectItem(HWND hTree, HTREEITEM hItem) {
    SendMessageA(hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem));
}
// The double click on the entry's label (the button-down before it would start the control's
// drag detection, which waits for real mouse input).
inline void DoubleClick(HWND hTree, HTREEITEM hItem) {
    RECT rc = {};
    memcpy(&rc, &hItem, sizeof hItem); // the message takes the item in the rectangle
    SendMessageA(hTree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rc));
    LPARAM pos = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    SendMessageA(hTree, WM_LBUTTONDBLCLK, MK_LBUTTON, pos);
}

// The enabled state an update handler gives a command.
class EnableProbe : public CCmdUI {
public:
    void Enable(BOOL bOn) override {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { m_nCheck = nCheck; }
    void SetRadio(BOOL bOn) override { m_nCheck = bOn ? 1 : 0; }
    BOOL m_bEnabled = FALSE;
    int m_nCheck = -1;
};
inline bool CommandEnabled(CCmdTarget* pTarget, UINT nID) {
    EnableProbe probe;
    probe.m_nID = nID;
    probe.DoUpdate(pTarget, TRUE);
    return probe.m_bEnabled;
}

// ---- The shell's dialogs

// A visible dialog (#32770) of this process, not of this thread, whose title contains
// `title`, other than hExcept (one that is closing); none when there is none.
inline HWND FindShellDialog(const char* title, HWND hExcept = nullptr) {
    struct Search {
        const char* title;
        HWND except;
        HWND found;
    } search{title, hExcept, nullptr};
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            DWORD pid = 0;
            DWORD tid = GetWindowThreadProcessId(h, &pid);
            char cls[64] = "", text[512] = "";
            GetClassNameA(h, cls, sizeof cls);
            GetWindowTextA(h, text, sizeof text);
            if (pid == GetCurrentProcessId() && tid != GetCurrentThreadId() && h != s->except &&
                IsWindowVisible(h) && strcmp(cls, "#32770") == 0 && strstr(text, s->title)) {
                s->found = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}
// Waits (pumping) for such a dialog.
inline HWND WaitShellDialog(const char* title, HWND hExcept = nullptr, DWORD dwTimeoutMs = 15000) {
    HWND hDlg = nullptr;
    PumpUntil([&] { return (hDlg = FindShellDialog(title, hExcept)) != nullptr; }, dwTimeoutMs);
    return hDlg;
}
// Presses the dialog's button with this caption (ignoring '&'); false when there is none.
inline bool PressButton(HWND hDlg, const char* caption) {
    for (HWND c = GetWindow(hDlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char text[128] = "", cls[32] = "";
        GetClassNameA(c, cls, sizeof cls);
        GetWindowTextA(c, text, sizeof text);
        std::string plain;
        for (const char* p = text; *p; ++p)
            if (*p != '&')
                plain += *p;
        if (strcmp(cls, "Button") == 0 && plain == caption) {
            PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(c), BN_CLICKED),
                         reinterpret_cast<LPARAM>(c));
            return true;
        }
    }
    return false;
}
// The question the shell asks when a copy meets a file of the same name.
constexpr const char* kOverwriteTitle = "Confirm file overwrite";

// Presses a button of a shell dialog from another thread once hWnd is being destroyed: the
// window's end waits for the dialog's answer, so the test thread cannot give it.
class AnswerOnDestroy {
public:
    AnswerOnDestroy(HWND hWnd, HWND hDlg, const std::string& caption)
        : m_hWnd(hWnd), m_hDestroying(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        SetWindowSubclass(hWnd, SignalDestroy, kSubclassId,
                          reinterpret_cast<DWORD_PTR>(m_hDestroying));
        m_answerer = std::thread([this, hDlg, caption] {
            if (WaitForSingleObject(m_hDestroying, 20000) == WAIT_OBJECT_0)
                m_bAnswered = PressButton(hDlg, caption.c_str());
        });
    }
    ~AnswerOnDestroy() {
        Join();
        if (IsWindow(m_hWnd))
            RemoveWindowSubclass(m_hWnd, SignalDestroy, kSubclassId);
        CloseHandle(m_hDestroying);
    }
    AnswerOnDestroy(const AnswerOnDestroy&) = delete;
    AnswerOnDestroy& operator=(const AnswerOnDestroy&) = delete;

    // Waits for the answering thread; whether it pressed the button.
    bool Answered() {
        Join();
        return m_bAnswered;
    }

private:
    static constexpr UINT_PTR kSubclassId = 1;
    static LRESULT CALLBACK SignalDestroy(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                          DWORD_PTR ref) {
        if (msg == WM_DESTROY)
            SetEvent(reinterpret_cast<HANDLE>(ref));
        return DefSubclassProc(h, msg, wp, lp);
    }
    void Join() {
        if (m_answerer.joinable())
            m_answerer.join();
    }

    HWND m_hWnd;
    HANDLE m_hDestroying;
    std::atomic<bool> m_bAnswered{false};
    std::thread m_answerer;
};

} // namespace ottest

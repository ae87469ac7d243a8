// Answers the shell's dialogs from a helper thread while the test's thread sits in a shell call:
// each visible dialog of this process is recorded (title, texts, owner, buttons) and one of its
// buttons is pressed. Every wait is bounded.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

struct SeenDialog {
    HWND hwnd = nullptr;
    HWND owner = nullptr;
    std::string title;
    std::vector<std::string> texts;   // texts of controls other than buttons
    std::vector<std::string> buttons; // button captions
    std::string pressed;              // the caption of the button pressed, empty if none
};

class DialogAnswerer {
public:
    // Presses the first button whose caption (without '&') is among `answers`, in their order
    // of preference; a dialog with none of them is only recorded (a progress window).
    explicit DialogAnswerer(std::vector<std::string> answers) : m_answers(std::move(answers)) {
        m_thread = std::thread([this] { Run(); });
    }
    ~DialogAnswerer() {
        m_stop = true;
        m_thread.join();
    }
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    std::vector<SeenDialog> Seen() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_seen;
    }
    // The dialogs that had a button pressed.
    std::vector<SeenDialog> Answered() {
        std::vector<SeenDialog> out;
        for (const SeenDialog& d : Seen())
            if (!d.pressed.empty())
                out.push_back(d);
        return out;
    }

private:
    static std::string Text(HWND h) {
        char buf[1024] = "";
        GetWindowTextA(h, buf, sizeof buf);
        return buf;
    }
    static std::string Plain(std::string s) {
        std::string out;
        for (char c : s)
            if (c != '&')
                out += c;
        return out;
    }
    static std::string ClassOf(HWND h) {
        char buf[64] = "";
        GetClassNameA(h, buf, sizeof buf);
        return buf;
    }

    void Run() {
        // Bounded: the helper gives up after 60 s even if the test forgot to stop it.
        for (int i = 0; i < 6000 && !m_stop; ++i) {
            std::vector<HWND> found;
            EnumWindows(
                [](HWND h, LPARAM p) -> BOOL {
                    DWORD pid = 0;
                    GetWindowThreadProcessId(h, &pid);
                    if (pid == GetCurrentProcessId() && IsWindowVisible(h) &&
                        ClassOf(h) == "#32770")
                        reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&found));
            for (HWND h : found)
                Handle(h);
            Sleep(10);
        }
    }

    void Handle(HWND h) {
        if (m_handled.count(h))
            return;
        SeenDialog d;
        d.hwnd = h;
        d.owner = GetWindow(h, GW_OWNER);
        d.title = Text(h);
        std::vector<std::pair<std::string, HWND>> buttons;
        for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            const std::string cls = ClassOf(c);
            if (cls == "Button" && IsWindowVisible(c)) {
                buttons.emplace_back(Plain(Text(c)), c);
                d.buttons.push_back(Plain(Text(c)));
            } else if (cls != "Button" && !Text(c).empty()) {
                d.texts.push_back(Text(c));
            }
        }
        // A dialog still being built has no buttons yet: look again on the next round.
        if (buttons.empty())
            return;
        m_handled.insert(h);
        for (const std::string& answer : m_answers) {
            for (auto& [caption, button] : buttons) {
                if (caption == answer) {
                    d.pressed = caption;
                    PostMessageA(h, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                                 reinterpret_cast<LPARAM>(button));
                    break;
                }
            }
            if (!d.pressed.empty())
                break;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        m_seen.push_back(d);
    }

    std::vector<std::string> m_answers;
    std::set<HWND> m_handled;
    std::mutex m_mutex;
    std::vector<SeenDialog> m_seen;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

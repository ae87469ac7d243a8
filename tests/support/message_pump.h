// A bounded message pump for the tests that wait on window messages.
#pragma once

#include <windows.h>

#include <functional>

namespace testpump {

// Takes a message before dispatch; answers true to keep it from being dispatched.
using MessageFilter = std::function<bool(MSG&)>;

// Pumps this thread's messages until done() holds or the time is up; answers done().
inline bool PumpUntil(const std::function<bool()>& done, DWORD dwTimeoutMs = 15000,
                      const MessageFilter& filter = nullptr) {
    const DWORD dwStart = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (filter && filter(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done())
            return true;
        if (GetTickCount() - dwStart >= dwTimeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Pumps whatever comes for a while (to see that nothing more happens).
inline void PumpFor(DWORD dwMs, const MessageFilter& filter = nullptr) {
    PumpUntil([] { return false; }, dwMs, filter);
}

} // namespace testpump

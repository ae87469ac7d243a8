// A message-only window that receives WM_LISTING_DONE, with a bounded message pump.
#pragma once

#include "tests/support/message_pump.h"
#include "threads/list_job.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace vqtest {

struct Delivery {
    WPARAM wParam;
    CListResult* pResult;
};

class Receiver {
public:
    Receiver() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = WndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VqListingReceiver";
        RegisterClassA(&wc); // fails harmlessly when registered already
        m_hWnd = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, this);
    }
    ~Receiver() { DestroyWindow(m_hWnd); }
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

    HWND Handle() const { return m_hWnd; }

    // Pumps messages until the condition holds or the time runs out; answers the condition.
    bool PumpUntil(const std::function<bool()>& done, DWORD dwTimeoutMs) {
        return testpump::PumpUntil(done, dwTimeoutMs);
    }
    // Pumps for a while whatever comes (to see that nothing more does).
    void PumpFor(DWORD dwMs) { testpump::PumpFor(dwMs); }

    std::vector<Delivery> m_deliveries;

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
        if (uMsg == WM_NCCREATE)
            SetWindowLongPtrA(hWnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(
                                  reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<Receiver*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (uMsg == WM_LISTING_DONE && self) {
            self->m_deliveries.push_back({wParam, reinterpret_cast<CListResult*>(lParam)});
            return 0;
        }
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }

    HWND m_hWnd = nullptr;
};

} // namespace vqtest

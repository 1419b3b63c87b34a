#pragma once
// The window tests' message loop: handles this thread's messages for a while, or until a
// condition holds (a composition on the worker ended, a window came up).

#include <windows.h>

namespace testing_support {

// Handles messages for about `ms` milliseconds (0: what is waiting now); a queue that never
// empties (a timer firing back to back) still ends it.
inline void Pump(DWORD ms) {
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        for (int n = 0; n < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            if (ms && ::GetTickCount() - start >= ms) return;
        }
        if (ms) ::Sleep(10);
    } while (::GetTickCount() - start < ms);
}

// Handles messages until `done()` holds; false when it did not within `ms`.
template <class Condition>
bool PumpUntil(DWORD ms, Condition done) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > ms) return false;
        Pump(20);
    }
    return true;
}

}  // namespace testing_support

#pragma once
// Every thread the program starts calls ReserveStackForCrashHandling first: after a stack
// overflow the crash handler runs on what is left, and without a reserve it has nothing.

#include <windows.h>

namespace fw {

inline constexpr ULONG kCrashHandlingStackReserve = 64 * 1024;

inline void ReserveStackForCrashHandling() {
    ULONG reserve = kCrashHandlingStackReserve;
    ::SetThreadStackGuarantee(&reserve);
}

}  // namespace fw

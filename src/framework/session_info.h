#pragma once
// The extended session record (WTSSessionInfoEx) that tells whether a session is locked. The
// Windows SDK declares it; older MinGW headers do not, and get the same layout here.

#include <windows.h>
#include <wtsapi32.h>

namespace fw {

#ifdef WTS_SESSIONSTATE_LOCK  // the SDK's declarations

using SessionInfoEx = WTSINFOEXW;
constexpr WTS_INFO_CLASS kSessionInfoEx = WTSSessionInfoEx;
constexpr LONG kSessionStateLock = WTS_SESSIONSTATE_LOCK;
constexpr LONG kSessionStateUnlock = WTS_SESSIONSTATE_UNLOCK;

#else

struct SessionInfoExLevel1 {
    ULONG SessionId;
    WTS_CONNECTSTATE_CLASS SessionState;
    LONG SessionFlags;
    WCHAR WinStationName[32 + 1];
    WCHAR UserName[20 + 1];
    WCHAR DomainName[17 + 1];
    LARGE_INTEGER LogonTime;
    LARGE_INTEGER ConnectTime;
    LARGE_INTEGER DisconnectTime;
    LARGE_INTEGER LastInputTime;
    LARGE_INTEGER CurrentTime;
    DWORD IncomingBytes;
    DWORD OutgoingBytes;
    DWORD IncomingFrames;
    DWORD OutgoingFrames;
    DWORD IncomingCompressedBytes;
    DWORD OutgoingCompressedBytes;
};
struct SessionInfoEx {
    DWORD Level;
    union {
        SessionInfoExLevel1 WTSInfoExLevel1;
    } Data;
};
constexpr WTS_INFO_CLASS kSessionInfoEx = static_cast<WTS_INFO_CLASS>(25);
constexpr LONG kSessionStateLock = 0;
constexpr LONG kSessionStateUnlock = 1;

#endif

// Whether a session's flags say locked. Windows 7 and Server 2008 R2 report the two values the
// other way round (`reversed`); any other value (unknown) is not taken for a lock.
inline bool IsLockedFlag(LONG flags, bool reversed) {
    if (flags != kSessionStateLock && flags != kSessionStateUnlock) return false;
    return (flags == kSessionStateLock) != reversed;
}

}  // namespace fw

// Whether anyone can see the desktop, from the session and display messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <wtsapi32.h>

#include "app/presence.h"
#include "framework/session_info.h"

namespace {

constexpr GUID kConsoleDisplay = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID kSessionDisplay = {0x2b84c20e, 0xad23, 0x4ddf, {0x93, 0xdb, 0x05, 0xff, 0xbd, 0x7e, 0xfc, 0xa5}};
constexpr GUID kOtherSetting = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};

TEST(Presence, LockDisconnectAndDisplayOffEachHideTheDesktopAndOnlyTheLastReturnBringsTheUserBack) {
    Presence p;
    EXPECT_TRUE(p.Watched()) << "a program starts in front of its user";

    EXPECT_FALSE(p.OnSessionChange(WTS_SESSION_LOCK));
    EXPECT_FALSE(p.Watched());
    EXPECT_FALSE(p.OnDisplayState(kConsoleDisplay, 0));  // the screen goes dark over the lock screen
    EXPECT_FALSE(p.OnDisplayState(kConsoleDisplay, 1));  // a key wakes it: still locked
    EXPECT_FALSE(p.Watched());
    EXPECT_TRUE(p.OnSessionChange(WTS_SESSION_UNLOCK));
    EXPECT_TRUE(p.Watched());
    EXPECT_FALSE(p.OnSessionChange(WTS_SESSION_UNLOCK)) << "already back";

    // Another user switched in, then this one comes back.
    EXPECT_FALSE(p.OnSessionChange(WTS_CONSOLE_DISCONNECT));
    EXPECT_FALSE(p.Watched());
    EXPECT_TRUE(p.OnSessionChange(WTS_CONSOLE_CONNECT));
    // A remote session left open, later taken over at the console.
    p.OnSessionChange(WTS_REMOTE_DISCONNECT);
    EXPECT_FALSE(p.Watched());
    EXPECT_TRUE(p.OnSessionChange(WTS_CONSOLE_CONNECT));

    // Events that say nothing about the screen change nothing.
    EXPECT_FALSE(p.OnSessionChange(WTS_SESSION_LOGON));
    EXPECT_FALSE(p.OnDisplayState(kOtherSetting, 0));
    EXPECT_TRUE(p.Watched());

    // A dimmed display still shows the desktop.
    EXPECT_FALSE(p.OnDisplayState(kConsoleDisplay, 2));
    EXPECT_TRUE(p.Watched());
    EXPECT_FALSE(p.OnDisplayState(kConsoleDisplay, 0));
    EXPECT_FALSE(p.Watched());
    EXPECT_TRUE(p.OnDisplayState(kConsoleDisplay, 1));
}

// The session's own display rules over the console's; a session found locked or disconnected at
// start is watched only once all of that is gone.
TEST(Presence, TheSessionsOwnDisplayRulesAndAStateFoundAtStartEndsOnlyWhenAllOfItIsGone) {
    // A remote user looks at their own screen while the console's is off.
    Presence p;
    p.OnDisplayState(kConsoleDisplay, 0);
    EXPECT_FALSE(p.Watched());
    EXPECT_TRUE(p.OnDisplayState(kSessionDisplay, 1));
    EXPECT_TRUE(p.Watched());
    EXPECT_FALSE(p.OnDisplayState(kSessionDisplay, 0));
    EXPECT_FALSE(p.OnDisplayState(kConsoleDisplay, 1));
    EXPECT_FALSE(p.Watched());

    Presence remote;
    remote.SetSession({false, true});  // found so at start
    EXPECT_FALSE(remote.Watched());
    EXPECT_TRUE(remote.OnSessionChange(WTS_REMOTE_CONNECT));

    Presence locked;
    locked.SetSession({true, false});
    EXPECT_FALSE(locked.Watched());
    EXPECT_FALSE(locked.OnSessionChange(WTS_SESSION_LOCK)) << "the lock message after the query";
    EXPECT_TRUE(locked.OnSessionChange(WTS_SESSION_UNLOCK));

    Presence both;
    both.SetSession({true, true});
    EXPECT_FALSE(both.OnSessionChange(WTS_CONSOLE_CONNECT)) << "back on the console, still locked";
    EXPECT_TRUE(both.OnSessionChange(WTS_SESSION_UNLOCK));
}

TEST(SessionFlags, LockIsReadTheWayEachWindowsReportsItAndUnknownIsNoLock) {
    struct Case {
        LONG flags;
        bool reversed;
        bool locked;
    };
    const Case cases[] = {
        {fw::kSessionStateLock, false, true},  {fw::kSessionStateUnlock, false, false},
        {fw::kSessionStateLock, true, false},  {fw::kSessionStateUnlock, true, true},  // Windows 7
        {-1, false, false},                    {-1, true, false},                      // unknown
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.locked, fw::IsLockedFlag(c.flags, c.reversed)) << c.flags << (c.reversed ? " reversed" : "");
}

}  // namespace

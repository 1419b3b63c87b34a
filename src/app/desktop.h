#pragma once
// The program's touch points with the rest of the desktop: the desktop icon view, minimising
// all windows, the "is another program in use" check of the change timer, the address for the
// tray tooltip and the working-set trim.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/system.h"
#include "state/settings.h"

// Shows the desktop icons when isiconhide is set, hides them otherwise, and flips the flag.
// The flag flips even when no icon list is found (another shell). Only the icon list is hidden:
// the view around it carries the desktop's own context menu, which stays.
void ToggleDesktopIcons(EnvSettings& env);
// Shows the icons again (shut-down); the flag is left as it is.
void ShowDesktopIcons();
// Hides them again, in a restarted shell's new desktop; false while its icon list is not there yet.
bool HideDesktopIcons();
// The icon list ("SysListView32") inside the icon view; null when there is none.
HWND FindDesktopIconList();
// The icon view: the first "ShellDll_DefView" child of the "Progman" window or, where the
// shell has moved it (Windows 8 to 11), of a "WorkerW" window; null when there is none.
HWND FindDesktopIconView();

// Minimises all windows through the shell's automation object; does nothing when COM or the
// object is unavailable.
void ShowDesktop();

// One top-level window of the z-order walk, as the foreground check sees it.
struct TopWindowRecord {
    HWND hwnd = nullptr;
    bool visible = false;
    bool ownedOrChild = false;  // has an owner or a parent
    bool iconic = false;
    bool cloaked = false;       // kept out of sight by the window manager
    LONG_PTR exStyle = 0;
    RECT rect{0, 0, 1, 1};      // screen coordinates
    std::string title;          // ANSI code page
};

// True for a window that is nobody's work, as the task bar and Alt+Tab leave it out: a tool or
// non-activating window without a task bar button, a click-through layered overlay (graphics
// drivers' and recorders' overlays, desktop widgets), a window without area.
bool IsOutOfUsersWay(const TopWindowRecord& window);

// The decision over a walk, topmost first: true when a visible, titled window shows that
// another program is in use (or the Start menu is open).
bool IsOtherProgramActive(const std::vector<TopWindowRecord>& walk, const OutProgramList& outPrograms);
// The top-level windows in z-order, topmost first. The handles are listed in one go before any
// is described, so windows that other programs reorder meanwhile are neither skipped nor met
// twice, and the walk always ends.
std::vector<HWND> TopLevelWindowsInZOrder();
std::vector<TopWindowRecord> WalkTopLevelWindows(const std::function<TopWindowRecord(HWND)>& describe);
TopWindowRecord DescribeWindow(HWND hwnd, fw::ISystem& system);
// The real check over the current desktop; the system seam says which windows are cloaked.
bool IsOtherProgramActive(fw::ISystem& system, const OutProgramList& outPrograms);

// "MY IP: " followed by the last of the addresses (nothing after the prefix when there are none).
std::string IpTextFromAddresses(const std::vector<std::string>& addresses);
// The host's addresses in the order of its lookup, dotted decimal.
std::vector<std::string> HostAddresses();
std::string GetIpText();


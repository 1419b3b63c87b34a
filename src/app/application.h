#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "app/main_window_logic.h"

// Start-up and exit of the process.
class CWallpaperApp {
public:
    // Runs the program for the given full command line; answers the process exit code.
    int Run(const char* commandLine);
};

// The argument text after the program name, as the command line carries it.
std::string ArgumentsOf(std::string_view commandLine);
// True when the (already lower-cased) arguments ask a running copy to close.
bool IsExitRequest(std::string_view loweredArguments);

// What the (already lower-cased) arguments ask for: a normal run (no switch), closing the running
// copy, a verb for it ("-next", "-back", "-pause", "-resume", "-ban", "-keep", each optionally
// followed by "-monitor N"), or nothing at all (a switch or form it does not know).
struct CommandLineRequest {
    enum class Kind { Run, Exit, Verb, Refused };
    Kind kind = Kind::Run;
    Verb verb = Verb::Next;
    int displayNumber = 0;  // 1-based; 0: the monitor under the pointer
};
CommandLineRequest ParseCommandLine(std::string_view loweredArguments);

// Process exit codes of a verb from the command line.
inline constexpr int kExitDelivered = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitNoRunningCopy = 2;
// Hands the verb to the running copy's main window; false when no copy runs or it did not take it.
bool SendVerbToRunningCopy(Verb verb, int displayNumber);
// True for the running copy's main window: a dialog titled "Dioramix", unowned, carrying the
// main window's mark. Message boxes and folder windows of the same title are not it.
bool IsRunningCopyMainWindow(HWND window);
HWND FindRunningCopyMainWindow();
// Posts WM_CLOSE to the running copy's main window and waits up to waitMs for that process to
// end, that is until it has saved its files and given the user's wallpaper back, so that an
// installer or a script can replace its files next; true when a copy was found.
bool CloseRunningCopy(DWORD waitMs = 0);
// "-exit" when no copy runs: the wallpaper a run that crashed or was killed still holds goes back
// to the user's (the uninstaller relies on it); nothing happens when the desktop shows none of
// ours, or while a copy is starting.
void GiveBackAfterUnfinishedRun();
// How long a verb from the command line waits for the running copy to take it.
inline constexpr UINT kVerbSendTimeoutMs = 5000;
// How long "-exit" waits for the running copy to end.
inline constexpr DWORD kExitWaitMs = 30000;

#pragma once

#include <windows.h>

#include <string>
#include <string_view>

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
// True for the running copy's main window: a dialog titled "Dioramix", unowned, carrying the
// main window's mark. Message boxes and folder windows of the same title are not it.
bool IsRunningCopyMainWindow(HWND window);
HWND FindRunningCopyMainWindow();
// Posts WM_CLOSE to the running copy's main window and waits up to waitMs for that process to
// end, that is until it has saved its files and given the user's wallpaper back, so that an
// installer or a script can replace its files next; true when a copy was found.
bool CloseRunningCopy(DWORD waitMs = 0);
// How long "-exit" waits for the running copy to end.
inline constexpr DWORD kExitWaitMs = 30000;

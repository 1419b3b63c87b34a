#pragma once

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
// Posts WM_CLOSE to the top-level window titled "Dioramix"; true when one was found.
bool CloseRunningCopy();

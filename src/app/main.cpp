// Process entry: "-exit" closes a running copy; otherwise one copy per logon runs the hidden
// main window modally between GDI+ start-up and shut-down.

#include <windows.h>
#include <commctrl.h>

#include "app/application.h"
#include "app/crash_dump.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LoadLibrariesFromSystemOnly();
    InstallCrashDumps(CrashDumpFolder());
    return CWallpaperApp().Run(::GetCommandLineA());
}

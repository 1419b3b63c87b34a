#include "app/application.h"

#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "app/crash_dump.h"
#include "app/desktop.h"
#include "app/wallpaper_dlg.h"
#include "framework/gdiplus_session.h"
#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/system.h"
#include "framework/texts.h"

std::string ArgumentsOf(std::string_view line) {
    size_t i = 0;
    if (!line.empty() && line[0] == '"') {
        size_t close = line.find('"', 1);
        i = close == std::string_view::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    }
    // The program name is followed by one separating blank at most; the rest is taken whole.
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    return std::string(line.substr(i));
}

bool IsExitRequest(std::string_view loweredArguments) { return loweredArguments == "-exit"; }

bool IsRunningCopyMainWindow(HWND window) {
    wchar_t className[16] = {}, title[16] = {};
    if (::GetClassNameW(window, className, 16) == 0 || std::wcscmp(className, L"#32770") != 0) return false;
    if (::GetWindowTextW(window, title, 16) == 0 || std::wcscmp(title, L"Dioramix") != 0) return false;
    // Our own message boxes are owned dialogs of that title; only the main window carries the mark.
    return ::GetWindow(window, GW_OWNER) == nullptr && ::GetPropW(window, kMainWindowMark) != nullptr;
}

HWND FindRunningCopyMainWindow() {
    for (HWND window : TopLevelWindowsInZOrder())
        if (IsRunningCopyMainWindow(window)) return window;
    return nullptr;
}

bool CloseRunningCopy(DWORD waitMs) {
    HWND running = FindRunningCopyMainWindow();
    if (!running) return false;
    DWORD processId = 0;
    ::GetWindowThreadProcessId(running, &processId);
    fw::KernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    ::PostMessageW(running, WM_CLOSE, 0, 0);
    if (process && waitMs) ::WaitForSingleObject(process.get(), waitMs);
    return true;
}

int CWallpaperApp::Run(const char* commandLine) {
    std::string arguments = mb::ToLower(ArgumentsOf(commandLine ? commandLine : ""));
    if (IsExitRequest(arguments)) {
        CloseRunningCopy(kExitWaitMs);
        return 0;
    }

    fw::KernelHandle mutex(::CreateMutexW(nullptr, TRUE, L"Dioramix"));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    fw::OleSession ole;
    fw::UseFaceLanguage();
    fw::GdiplusSession gdiplus;
    ::InitCommonControls();
    if (const DeliberateCrash crash = DeliberateCrashOf(arguments); crash != DeliberateCrash::None)
        CrashOnPurpose(crash);
    {
        fw::RealSystem system;
        CWallpaperDlg mainWindow(system);
        mainWindow.DoModal();
        // A composition stuck in a system call would keep the process, and with it the mutex,
        // alive for good; the files and the user's wallpaper are in order by now.
        if (!mainWindow.m_worker.Wait(kCompositionStopWait)) ::TerminateProcess(::GetCurrentProcess(), 0);
    }
    return 0;
}

#include "app/application.h"

#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <utility>
#include <vector>

#include "app/crash_dump.h"
#include "app/desktop.h"
#include "app/wallpaper_dlg.h"
#include "framework/gdiplus_session.h"
#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/system.h"
#include "framework/texts.h"
#include "state/data_folder.h"

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

namespace {

std::vector<std::string_view> Tokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        const size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
        if (i > start) tokens.push_back(text.substr(start, i - start));
    }
    return tokens;
}

// A display number of one or two digits, from 1.
int ParseDisplayNumber(std::string_view text) {
    if (text.empty() || text.size() > 2) return 0;
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

CommandLineRequest ParseCommandLine(std::string_view loweredArguments) {
    using Kind = CommandLineRequest::Kind;
    if (IsExitRequest(loweredArguments)) return {Kind::Exit};
    // The crash tests' hidden switch runs the program, which then crashes on purpose.
    if (DeliberateCrashOf(loweredArguments) != DeliberateCrash::None) return {Kind::Run};
    const std::vector<std::string_view> tokens = Tokens(loweredArguments);
    static constexpr std::pair<std::string_view, Verb> kVerbs[] = {
        {"-next", Verb::Next}, {"-back", Verb::Back}, {"-pause", Verb::Pause},
        {"-resume", Verb::Resume}, {"-ban", Verb::Ban}, {"-keep", Verb::Keep}};
    if (!tokens.empty()) {
        for (const auto& [name, verb] : kVerbs) {
            if (tokens[0] != name) continue;
            if (tokens.size() == 1) return {Kind::Verb, verb, 0};
            const int number = tokens.size() == 3 && tokens[1] == "-monitor" ? ParseDisplayNumber(tokens[2]) : 0;
            if (number > 0) return {Kind::Verb, verb, number};
            return {Kind::Refused};
        }
    }
    // Words that are no switches were always let through to a normal run.
    for (std::string_view token : tokens)
        if (token[0] == '-' || token[0] == '/') return {Kind::Refused};
    return {Kind::Run};
}

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

void GiveBackAfterUnfinishedRun() {
    // Held while giving back, so that no copy starts meanwhile; a copy starting now keeps its own.
    fw::KernelHandle mutex(::CreateMutexW(nullptr, TRUE, L"Dioramix"));
    if (!mutex || ::GetLastError() == ERROR_ALREADY_EXISTS) return;
    EnvSettings env;
    ResetSettings(env);
    InitExePath(env);
    UseDataFolder(env);
    ImageCatalogue catalogue;
    fw::RealSystem system;
    Composer(env, catalogue, system).GiveBackUnfinishedRun();
}

bool SendVerbToRunningCopy(Verb verb, int displayNumber) {
    HWND running = FindRunningCopyMainWindow();
    if (!running) return false;
    VerbMessage message{static_cast<int32_t>(verb), displayNumber};
    COPYDATASTRUCT data{kVerbCopyData, sizeof message, &message};
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                                 kVerbSendTimeoutMs, &answer) != 0 &&
           answer == TRUE;
}

int CWallpaperApp::Run(const char* commandLine) {
    std::string arguments = mb::ToLower(ArgumentsOf(commandLine ? commandLine : ""));
    const CommandLineRequest request = ParseCommandLine(arguments);
    switch (request.kind) {
        case CommandLineRequest::Kind::Exit:
            if (!CloseRunningCopy(kExitWaitMs)) GiveBackAfterUnfinishedRun();
            return 0;
        case CommandLineRequest::Kind::Refused:
            return kExitRefused;
        case CommandLineRequest::Kind::Verb:
            return SendVerbToRunningCopy(request.verb, request.displayNumber) ? kExitDelivered : kExitNoRunningCopy;
        case CommandLineRequest::Kind::Run:
            break;
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

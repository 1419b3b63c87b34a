#include "app/crash_dump.h"

#include <windows.h>
#include <dbghelp.h>

#include <cwchar>
#include <exception>

#include "framework/mbstring.h"
#include "state/data_folder.h"
#include "state/settings.h"

namespace {

// The filter runs in a damaged process: everything it needs is ready beforehand, and it takes
// no locks and allocates nothing.
wchar_t g_folder[MAX_PATH] = {};

// A C++ exception that nobody catches ends in terminate(); this code marks it in the dump.
constexpr DWORD kUncaughtCppException = 0xE0D10001;

LONG WINAPI WriteCrashDump(EXCEPTION_POINTERS* info) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    wchar_t name[kCrashDumpNameSize];
    FormatCrashDumpName(now, ::GetCurrentProcessId(), name);
    wchar_t path[MAX_PATH + kCrashDumpNameSize];
    std::swprintf(path, sizeof path / sizeof path[0], L"%ls\\%ls", g_folder, name);

    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        MINIDUMP_EXCEPTION_INFORMATION exception{::GetCurrentThreadId(), info, FALSE};
        const auto kind = static_cast<MINIDUMP_TYPE>(MiniDumpNormal | MiniDumpWithThreadInfo);
        ::MiniDumpWriteDump(::GetCurrentProcess(), ::GetCurrentProcessId(), file, kind, &exception, nullptr, nullptr);
        ::CloseHandle(file);
    }
    return EXCEPTION_EXECUTE_HANDLER;  // end quietly: the dump says what happened
}

[[noreturn]] void RaiseUncaughtCppException() {
    ::RaiseException(kUncaughtCppException, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    ::TerminateProcess(::GetCurrentProcess(), kUncaughtCppException);
    for (;;) {}
}

}  // namespace

void FormatCrashDumpName(const SYSTEMTIME& t, DWORD processId, wchar_t* out) {
    std::swprintf(out, kCrashDumpNameSize, L"Dioramix-crash-%04u%02u%02u-%02u%02u%02u-%lu.dmp", t.wYear, t.wMonth,
                  t.wDay, t.wHour, t.wMinute, t.wSecond, static_cast<unsigned long>(processId));
}

std::wstring CrashDumpFolder() {
    EnvSettings env;
    InitExePath(env);
    return mb::Widen(ChooseDataFolder(env.m_exePath, LocalAppDataFolder(), CanWriteFolder));
}

void InstallCrashDumps(const std::wstring& folder) {
    if (folder.empty() || folder.size() >= MAX_PATH) return;
    std::wcscpy(g_folder, folder.c_str());
    // Room on the stack for the filter itself after a stack overflow.
    ULONG reserve = 32 * 1024;
    ::SetThreadStackGuarantee(&reserve);
    ::SetUnhandledExceptionFilter(WriteCrashDump);
    std::set_terminate(RaiseUncaughtCppException);
}

#include "app/crash_dump.h"

#include <windows.h>
#include <dbghelp.h>

#include <cwchar>
#include <exception>
#include <thread>

#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/thread_stack.h"
#include "state/data_folder.h"
#include "state/settings.h"

namespace {

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE, PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);
using SymInitializeFn = BOOL(WINAPI*)(HANDLE, PCWSTR, BOOL);

// Everything the crash path needs is made at start: after a crash nothing is loaded, allocated
// or locked by the crashing thread.
struct CrashWatch {
    wchar_t folder[MAX_PATH] = {};
    MiniDumpWriteDumpFn writeDump = nullptr;
    SymInitializeFn initializeSymbols = nullptr;
    fw::KernelHandle crashed;  // set by the crashing thread
    fw::KernelHandle written;  // set by the watcher when the dump is on disk
    fw::KernelHandle watcher;
    EXCEPTION_POINTERS* exception = nullptr;
    DWORD crashedThread = 0;
    volatile LONG claimed = 0;  // the first crashing thread's; the others wait for the end
};
CrashWatch g_watch;

// A C++ exception that nobody catches ends in terminate(); this code marks it in the dump.
constexpr DWORD kUncaughtCppException = 0xE0D10001;

void WriteDump() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    wchar_t name[data_files::kCrashDumpNameSize];
    data_files::FormatCrashDumpName(now, ::GetCurrentProcessId(), name);
    wchar_t path[MAX_PATH + data_files::kCrashDumpNameSize];
    std::swprintf(path, sizeof path / sizeof path[0], L"%ls\\%ls", g_watch.folder, name);

    fw::FileHandle file(
        ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    MINIDUMP_EXCEPTION_INFORMATION exception{g_watch.crashedThread, g_watch.exception, FALSE};
    const auto kind = static_cast<MINIDUMP_TYPE>(MiniDumpNormal | MiniDumpWithThreadInfo);
    g_watch.writeDump(::GetCurrentProcess(), ::GetCurrentProcessId(), file.get(), kind, &exception, nullptr,
                      nullptr);
}

DWORD WINAPI WatchForCrash(void*) {
    fw::ReserveStackForCrashHandling();
    // Some dbghelp implementations set the symbol handler up inside MiniDumpWriteDump for a
    // process it does not know yet, reading every module's symbols: longer than the crashing
    // thread waits. Known from start (without reading any), the dump is written at once.
    if (g_watch.initializeSymbols) g_watch.initializeSymbols(::GetCurrentProcess(), nullptr, FALSE);
    if (::WaitForSingleObject(g_watch.crashed.get(), INFINITE) != WAIT_OBJECT_0) return 0;
    WriteDump();
    ::SetEvent(g_watch.written.get());
    return 0;
}

[[noreturn]] void EndWithDump(EXCEPTION_POINTERS* info) {
    const DWORD code = info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 0;
    if (::InterlockedCompareExchange(&g_watch.claimed, 1, 0) != 0) {
        // Another thread crashed first (or the writer itself crashed): its dump is the one, and
        // that thread ends the process within the bounded wait.
        ::Sleep(INFINITE);
    }
    if (g_watch.watcher) {
        g_watch.exception = info;
        g_watch.crashedThread = ::GetCurrentThreadId();
        ::SetEvent(g_watch.crashed.get());
        ::WaitForSingleObject(g_watch.written.get(), kCrashDumpWaitMs);
    }
    ::TerminateProcess(::GetCurrentProcess(), code);
    for (;;) {}
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) { EndWithDump(info); }

// A stack overflow is never handled anywhere: it is taken first, before the search for a handler
// spends what is left of the stack.
LONG WINAPI OnFirstChanceException(EXCEPTION_POINTERS* info) {
    if (info && info->ExceptionRecord && info->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW)
        EndWithDump(info);
    return EXCEPTION_CONTINUE_SEARCH;
}

[[noreturn]] void RaiseUncaughtCppException() {
    ::RaiseException(kUncaughtCppException, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    ::TerminateProcess(::GetCurrentProcess(), kUncaughtCppException);
    for (;;) {}
}

// The dump writer from System32's dbghelp.dll, never one beside the program.
void LoadDumpWriter() {
    // By its full path: a Windows 7 without KB2533623 knows no LOAD_LIBRARY_SEARCH_SYSTEM32.
    wchar_t path[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 13 >= MAX_PATH) return;
    std::wcscat(path, L"\\dbghelp.dll");
    HMODULE dbghelp = ::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!dbghelp) return;
    g_watch.writeDump = reinterpret_cast<MiniDumpWriteDumpFn>(
        reinterpret_cast<void*>(::GetProcAddress(dbghelp, "MiniDumpWriteDump")));
    g_watch.initializeSymbols =
        reinterpret_cast<SymInitializeFn>(reinterpret_cast<void*>(::GetProcAddress(dbghelp, "SymInitializeW")));
}

// The deliberate crashes, each in a function of its own so that a dump's stack names it.
#if defined(_MSC_VER)
#define DIORAMIX_NOINLINE __declspec(noinline)
#else
#define DIORAMIX_NOINLINE __attribute__((noinline))
#endif

DIORAMIX_NOINLINE void WriteThroughNullPointer() {
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
}

// Called through a volatile pointer with a buffer live after the call: no inlining, no tail call.
int RecurseWithoutEnd(int depth);
int (*volatile g_recurse)(int) = RecurseWithoutEnd;
DIORAMIX_NOINLINE int RecurseWithoutEnd(int depth) {
    volatile char frame[512];
    frame[depth % sizeof frame] = static_cast<char>(depth);
    return g_recurse(depth + 1) + frame[(depth * 7) % sizeof frame];
}

DIORAMIX_NOINLINE void CrashOnWorkerThread() {
    std::thread worker([] {
        fw::ReserveStackForCrashHandling();
        WriteThroughNullPointer();
        ::Sleep(0);  // not a tail call: the thread's own frame stays on the stack
    });
    worker.join();
}

// Both workers wait at one gate, opened at once, and crash together.
DIORAMIX_NOINLINE void CrashOnTwoThreadsAtOnce() {
    fw::KernelHandle gate(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    auto crashAtTheGate = [event = gate.get()] {
        fw::ReserveStackForCrashHandling();
        ::WaitForSingleObject(event, INFINITE);
        WriteThroughNullPointer();
        ::Sleep(0);
    };
    std::thread first(crashAtTheGate), second(crashAtTheGate);
    ::Sleep(100);
    ::SetEvent(gate.get());
    first.join();
    second.join();
}

DIORAMIX_NOINLINE void CrashWhileHeapIsLocked() {
    fw::KernelHandle locked(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread holder([event = locked.get()] {
        ::HeapLock(::GetProcessHeap());
        ::SetEvent(event);
        ::Sleep(INFINITE);
    });
    holder.detach();
    ::WaitForSingleObject(locked.get(), INFINITE);
    WriteThroughNullPointer();
}

}  // namespace

void LoadLibrariesFromSystemOnly() {
    // Windows 7 has the call only with its update KB2533623: looked up, not imported, so the
    // program still starts without it.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The current folder is never searched either (the portable copy's folder often is).
    ::SetDllDirectoryW(L"");
}

std::wstring CrashDumpFolder() {
    EnvSettings env;
    InitExePath(env);
    return mb::Widen(ChooseDataFolder(env.m_exePath, LocalAppDataFolder(), CanWriteFolder));
}

void InstallCrashDumps(const std::wstring& folder) {
    if (folder.empty() || folder.size() >= MAX_PATH) return;
    std::wcscpy(g_watch.folder, folder.c_str());
    ::CreateDirectoryW(folder.c_str(), nullptr);  // the user's data folder may not exist yet
    fw::ReserveStackForCrashHandling();
    ::SetUnhandledExceptionFilter(OnUnhandledException);
    ::AddVectoredExceptionHandler(1, OnFirstChanceException);
    std::set_terminate(RaiseUncaughtCppException);

    LoadDumpWriter();
    g_watch.crashed.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    g_watch.written.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!g_watch.writeDump || !g_watch.crashed || !g_watch.written) return;  // crashes end without a dump
    g_watch.watcher.reset(::CreateThread(nullptr, 0, WatchForCrash, nullptr, 0, nullptr));
}

DeliberateCrash DeliberateCrashOf(std::string_view arguments) {
    constexpr std::string_view kSwitch = "-crash-test=";
    if (arguments.substr(0, kSwitch.size()) != kSwitch) return DeliberateCrash::None;
    const std::string_view kind = arguments.substr(kSwitch.size());
    if (kind == "ui") return DeliberateCrash::UiThread;
    if (kind == "worker") return DeliberateCrash::WorkerThread;
    if (kind == "overflow") return DeliberateCrash::StackOverflow;
    if (kind == "heap-locked") return DeliberateCrash::HeapLockedElsewhere;
    if (kind == "two-threads") return DeliberateCrash::TwoThreadsAtOnce;
    return DeliberateCrash::None;
}

void CrashOnPurpose(DeliberateCrash kind) {
    switch (kind) {
    case DeliberateCrash::UiThread: WriteThroughNullPointer(); break;
    case DeliberateCrash::WorkerThread: CrashOnWorkerThread(); break;
    case DeliberateCrash::StackOverflow: g_recurse(0); break;
    case DeliberateCrash::HeapLockedElsewhere: CrashWhileHeapIsLocked(); break;
    case DeliberateCrash::TwoThreadsAtOnce: CrashOnTwoThreadsAtOnce(); break;
    case DeliberateCrash::None: break;
    }
    ::TerminateProcess(::GetCurrentProcess(), 1);
    for (;;) {}
}

#pragma once
// A crash leaves a small minidump in the program's data folder, to be read with the symbols kept
// from the release build (tools/read-dump). Nothing is sent anywhere.
//
// The dump is written by a watcher thread made at start, never by the crashing thread: that one
// may hold, or wait for, a lock the writer needs (the heap, the loader). The crashing thread only
// wakes the watcher, waits for it a bounded time and ends the process, so a crash never leaves a
// hidden process holding the single-instance mutex.

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "state/data_files.h"

// How long a crashing thread waits for the watcher before the process ends without a dump.
inline constexpr DWORD kCrashDumpWaitMs = 10000;

// Libraries load from System32 only from now on: a DLL dropped beside a portable copy (in
// Downloads, say) is never picked up. The first thing the process does.
void LoadLibrariesFromSystemOnly();

// The folder the program keeps its files in (beside it when writable, else the user's one).
std::wstring CrashDumpFolder();

// From now on an unhandled exception, or a C++ exception nobody catches, on any thread writes a
// dump into `folder` (created here if missing) and ends the process.
void InstallCrashDumps(const std::wstring& folder);

// The hidden switch the crash tests start the program with: "-crash-test=ui", "=worker",
// "=overflow", "=heap-locked" (a crash while another thread holds the process heap) or "=two-threads"
// (two workers crashing at once).
enum class DeliberateCrash { None, UiThread, WorkerThread, StackOverflow, HeapLockedElsewhere, TwoThreadsAtOnce };
DeliberateCrash DeliberateCrashOf(std::string_view loweredArguments);
[[noreturn]] void CrashOnPurpose(DeliberateCrash kind);

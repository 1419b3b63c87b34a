#pragma once
// A crash leaves a small minidump in the program's data folder, to be read with the symbols kept
// from the release build. Nothing is sent anywhere.

#include <windows.h>

#include <cstddef>
#include <string>

// "Dioramix-crash-YYYYMMDD-HHMMSS-PID.dmp" into `out` (at least kCrashDumpNameSize characters).
inline constexpr std::size_t kCrashDumpNameSize = 64;
void FormatCrashDumpName(const SYSTEMTIME& time, DWORD processId, wchar_t* out);

// The folder the program keeps its files in (beside it when writable, else the user's one).
std::wstring CrashDumpFolder();

// From now on an unhandled exception, or a C++ exception nobody catches, writes a dump into
// `folder` and ends the process.
void InstallCrashDumps(const std::wstring& folder);

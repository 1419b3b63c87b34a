#pragma once
// The real Dioramix.exe copied into a scratch folder (so that its files land there), started,
// waited on and never left running for the next test.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/application.h"
#include "framework/handles.h"
#include "support/processes.h"
#include "support/test_support.h"

namespace program_testing {

// Polls `done` every 100 ms for about `ms` milliseconds.
template <class Condition>
bool WaitUntil(DWORD ms, Condition done) {
    for (DWORD waited = 0; waited < ms; waited += 100) {
        if (done()) return true;
        ::Sleep(100);
    }
    return done();
}

inline HWND WaitForWindow(const wchar_t* title, DWORD ms) {
    HWND found = nullptr;
    WaitUntil(ms, [&] { return (found = ::FindWindowW(nullptr, title)) != nullptr; });
    return found;
}
inline bool WaitForGone(const wchar_t* title, DWORD ms) {
    return WaitUntil(ms, [&] { return ::FindWindowW(nullptr, title) == nullptr; });
}
inline int CountWindows(const wchar_t* title) {
    int count = 0;
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, nullptr, title));) ++count;
    return count;
}
inline bool Ended(const fw::KernelHandle& process, DWORD ms) {
    return ::WaitForSingleObject(process.get(), ms) == WAIT_OBJECT_0;
}

class ProgramTest : public ::testing::Test {
protected:
    testing_support::ScratchDir dir;
    std::string exe;

    void SetUp() override {
        ASSERT_EQ(nullptr, FindRunningCopyMainWindow()) << "a copy is already running";
        exe = dir.File("Dioramix.exe");
        ASSERT_TRUE(::CopyFileA((testing_support::BinDir() + "\\Dioramix.exe").c_str(), exe.c_str(), FALSE));
    }
    void TearDown() override {
        if (HWND w = FindRunningCopyMainWindow()) {
            ::PostMessageW(w, WM_CLOSE, 0, 0);
            WaitUntil(15000, [] { return FindRunningCopyMainWindow() == nullptr; });
        }
    }

    // Starts the program in the scratch folder with the given arguments.
    fw::KernelHandle Start(const std::string& arguments = "") {
        return testing_support::StartProgram(exe, dir.path(), arguments);
    }
    static HWND WaitForMainWindow(DWORD ms) {
        HWND found = nullptr;
        WaitUntil(ms, [&] { return (found = FindRunningCopyMainWindow()) != nullptr; });
        return found;
    }
    // The window exists from early in the start-up; the first wallpaper marks its end.
    bool WaitForStartUp(const fw::KernelHandle& process, DWORD ms) {
        if (!WaitUntil(ms, [&] { return testing_support::FileExists(dir.File("Dioramix.bmp")); })) return false;
        ::WaitForInputIdle(process.get(), 5000);
        ::Sleep(300);
        return true;
    }
    // Starts the program and waits until its start-up has ended; its main window in `main`.
    // Callers wrap it in ASSERT_NO_FATAL_FAILURE.
    void StartUntilStartedUp(fw::KernelHandle& process, HWND& main) {
        process = Start();
        ASSERT_TRUE(process);
        main = WaitForMainWindow(20000);
        ASSERT_NE(nullptr, main);
        ASSERT_TRUE(WaitForStartUp(process, 20000));
    }
};

}  // namespace program_testing

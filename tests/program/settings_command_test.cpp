// The real program's settings and about commands: the windows they open, the settings window's
// second request, and the exit path while the settings window is open.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/test_support.h"

using testing_support::BinDir;
using testing_support::ScratchDir;

namespace {

constexpr WPARAM kSettingsCommand = 32777, kAboutCommand = 32778, kExitCommand = 32779;
const wchar_t kSettingsTitle[] = L"Dioramix-\uD658\uACBD\uC124\uC815";  // Dioramix-환경설정
const wchar_t kAboutTitle[] = L"1.56 \uC815\uBCF4";                     // 1.56 정보

class ProgramDialogs : public ::testing::Test {
protected:
    ScratchDir dir;
    HANDLE process = nullptr;
    HWND main = nullptr;

    void SetUp() override {
        ASSERT_EQ(nullptr, ::FindWindowW(nullptr, L"Dioramix")) << "a copy is already running";
        const std::string exe = dir.File("Dioramix.exe");
        ASSERT_TRUE(::CopyFileA((BinDir() + "\\Dioramix.exe").c_str(), exe.c_str(), FALSE));
        std::string line = "\"" + exe + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(::CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.path().c_str(),
                                     &si, &pi));
        ::CloseHandle(pi.hThread);
        process = pi.hProcess;
        main = WaitForWindow(L"Dioramix", 20000);
        ASSERT_NE(nullptr, main);
        for (int i = 0; i < 200 && !testing_support::FileExists(dir.File("Dioramix.bmp")); ++i) ::Sleep(100);
        ::WaitForInputIdle(process, 5000);
    }

    void TearDown() override {
        if (HWND w = ::FindWindowW(nullptr, L"Dioramix")) ::PostMessageW(w, WM_COMMAND, kExitCommand, 0);
        if (process) {
            ::WaitForSingleObject(process, 15000);
            ::CloseHandle(process);
        }
    }

    static HWND WaitForWindow(const wchar_t* title, DWORD ms) {
        for (DWORD waited = 0; waited < ms; waited += 100) {
            if (HWND w = ::FindWindowW(nullptr, title)) return w;
            ::Sleep(100);
        }
        return nullptr;
    }
    static bool WaitForGone(const wchar_t* title, DWORD ms) {
        for (DWORD waited = 0; waited < ms; waited += 100) {
            if (!::FindWindowW(nullptr, title)) return true;
            ::Sleep(100);
        }
        return false;
    }
};

TEST_F(ProgramDialogs, AboutCommandOpensTheAboutBoxAndOkClosesIt) {
    ::PostMessageW(main, WM_COMMAND, kAboutCommand, 0);
    HWND about = WaitForWindow(kAboutTitle, 10000);
    ASSERT_NE(nullptr, about);
    ::PostMessageW(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitForGone(kAboutTitle, 10000));
    EXPECT_EQ(WAIT_TIMEOUT, ::WaitForSingleObject(process, 0)) << "the program goes on";
}

TEST_F(ProgramDialogs, CloseRequestWithTheAboutBoxOpenEndsEverything) {
    ::PostMessageW(main, WM_COMMAND, kAboutCommand, 0);
    ASSERT_NE(nullptr, WaitForWindow(kAboutTitle, 10000));
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process, 15000));
}

TEST_F(ProgramDialogs, ExitWithTheSettingsWindowOpenEndsEverythingAndSaves) {
    ::PostMessageW(main, WM_COMMAND, kSettingsCommand, 0);
    HWND settings = WaitForWindow(kSettingsTitle, 10000);
    ASSERT_NE(nullptr, settings);
    // A second request only brings the open window to the front.
    ::PostMessageW(main, WM_COMMAND, kSettingsCommand, 0);
    ::Sleep(500);
    int count = 0;
    for (HWND w = nullptr; (w = ::FindWindowExW(nullptr, w, nullptr, kSettingsTitle));) ++count;
    EXPECT_EQ(1, count);

    ::PostMessageW(main, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process, 15000)) << "the settings window must not keep it alive";
    EXPECT_TRUE(testing_support::FileExists(dir.File("env.ini")));
}

TEST_F(ProgramDialogs, CloseRequestWithTheSettingsWindowOpenEndsEverything) {
    ::PostMessageW(main, WM_COMMAND, kSettingsCommand, 0);
    ASSERT_NE(nullptr, WaitForWindow(kSettingsTitle, 10000));
    ::PostMessageW(main, WM_CLOSE, 0, 0);  // what "-exit" sends
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process, 15000));
    EXPECT_TRUE(testing_support::FileExists(dir.File("env.ini")));
}

}  // namespace

// The real program's settings and about commands: the windows they open, the settings window's
// second request, and the exit path while the settings window is open.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/texts.h"
#include "program/program_fixture.h"
#include "resource.h"
#include "version.h"
#include "support/test_support.h"

namespace {

using namespace program_testing;

const std::wstring kSettingsTitle = fw::LoadText(IDS_SETTINGS_TITLE);
const std::wstring kAboutTitle = DIORAMIX_VERSION_WIDE + fw::LoadText(IDS_ABOUT_TITLE_TAIL);

class ProgramDialogs : public ProgramTest {
protected:
    fw::KernelHandle process;
    HWND main = nullptr;

    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(StartUntilStartedUp(process, main));
    }
    // Sends a tray command and waits for the window it opens.
    HWND OpenFromTray(WPARAM command, const wchar_t* title) {
        ::PostMessageW(main, WM_COMMAND, command, 0);
        return WaitForWindow(title, 10000);
    }
};

TEST_F(ProgramDialogs, AboutCommandOpensTheAboutBoxAndOkClosesIt) {
    HWND about = OpenFromTray(ID_TRAY_ABOUT, kAboutTitle.c_str());
    ASSERT_NE(nullptr, about);
    ::PostMessageW(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitForGone(kAboutTitle.c_str(), 10000));
    EXPECT_FALSE(Ended(process, 0)) << "the program goes on";
}

TEST_F(ProgramDialogs, CloseRequestWithTheAboutBoxOpenEndsEverything) {
    ASSERT_NE(nullptr, OpenFromTray(ID_TRAY_ABOUT, kAboutTitle.c_str()));
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ended(process, 15000));
}

TEST_F(ProgramDialogs, ExitWithTheSettingsWindowOpenEndsEverythingAndSaves) {
    HWND settings = OpenFromTray(ID_TRAY_SETTINGS, kSettingsTitle.c_str());
    ASSERT_NE(nullptr, settings);
    // A second request only brings the open window to the front.
    ::PostMessageW(main, WM_COMMAND, ID_TRAY_SETTINGS, 0);
    ::Sleep(500);
    EXPECT_EQ(1, CountWindows(kSettingsTitle.c_str()));

    ::PostMessageW(main, WM_COMMAND, ID_TRAY_EXIT, 0);
    EXPECT_TRUE(Ended(process, 15000)) << "the settings window must not keep it alive";
    EXPECT_TRUE(testing_support::FileExists(dir.File("env.ini")));
}

TEST_F(ProgramDialogs, CloseRequestWithTheSettingsWindowOpenEndsEverything) {
    ASSERT_NE(nullptr, OpenFromTray(ID_TRAY_SETTINGS, kSettingsTitle.c_str()));
    ::PostMessageW(main, WM_CLOSE, 0, 0);  // what "-exit" sends
    EXPECT_TRUE(Ended(process, 15000));
    EXPECT_TRUE(testing_support::FileExists(dir.File("env.ini")));
}

}  // namespace

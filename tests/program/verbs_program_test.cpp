// The verbs of the command line against the real program under Wine: a second Dioramix.exe hands
// each to the running copy and ends with its exit code.

#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

#include "app/application.h"
#include "composer/output.h"
#include "program/program_fixture.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

using namespace program_testing;

class CommandLineVerbs : public ProgramTest {
protected:
    // Runs a second copy with the arguments; its exit code, or -1 when it did not end.
    int RunCopy(const std::string& arguments) {
        fw::KernelHandle copy = Start(arguments);
        if (!copy || !Ended(copy, 15000)) return -1;
        DWORD code = 0;
        ::GetExitCodeProcess(copy.get(), &code);
        return static_cast<int>(code);
    }
    std::string Ini() const { return ReadFile(dir.File("env.ini")); }
};

TEST_F(CommandLineVerbs, EachVerbReachesTheRunningCopyAndTheExitCodeSaysSo) {
    EXPECT_EQ(kExitNoRunningCopy, RunCopy("-next"));
    EXPECT_EQ(kExitRefused, RunCopy("-shuffle"));
    EXPECT_EQ(kExitRefused, RunCopy("-next -monitor"));
    EXPECT_FALSE(FileExists(dir.File("env.ini"))) << "nothing else happens";

    const std::string photos = dir.MakeDir("photos");
    std::string list = photos + ",3\n&\n";
    for (int i = 0; i < 3; ++i) {
        Gdiplus::Bitmap photo(320, 200, PixelFormat24bppRGB);
        Gdiplus::Graphics(&photo).Clear(Gdiplus::Color(255, 60 * i, 80, 40));
        const std::string path = photos + "\\p" + std::to_string(i) + ".png";
        ASSERT_TRUE(SaveImage(photo, path, "png"));
        list += path + "\n";
    }
    testing_support::WriteFile(dir.File("env.ini"),
                               "[DEFAULT]\r\nisforeimg=1\r\nchangetime=60\r\nmin_sec=60000\r\nisrandum=0\r\n");
    testing_support::WriteFile(dir.File("list.txt"), list);
    fw::KernelHandle process;
    HWND main = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartUntilStartedUp(process, main));

    EXPECT_EQ(kExitDelivered, RunCopy("-next"));
    EXPECT_TRUE(WaitUntil(10000, [&] { return FileExists(dir.File("previous.bmp")); })) << "a second picture";
    EXPECT_EQ(kExitDelivered, RunCopy("-PAUSE"));
    EXPECT_TRUE(WaitUntil(5000, [&] { return Ini().find("ispause=1") != std::string::npos; }));
    EXPECT_EQ(kExitDelivered, RunCopy("-resume"));
    EXPECT_TRUE(WaitUntil(5000, [&] { return Ini().find("ispause=0") != std::string::npos; }));
    EXPECT_EQ(kExitDelivered, RunCopy("-keep -monitor 1"));
    EXPECT_TRUE(WaitUntil(5000, [&] { return FileExists(dir.File("keeplist.txt")); }));
    EXPECT_EQ(photos + "\\p1.png\r\n", ReadFile(dir.File("keeplist.txt")));
    EXPECT_EQ(kExitDelivered, RunCopy("-ban"));
    EXPECT_TRUE(WaitUntil(5000, [&] { return FileExists(dir.File("banlist.txt")); }));
    EXPECT_EQ(photos + "\\p1.png\r\n", ReadFile(dir.File("banlist.txt")));
    EXPECT_TRUE(FileExists(photos + "\\p1.png"));
    EXPECT_EQ(kExitDelivered, RunCopy("-back"));
    EXPECT_EQ(kExitDelivered, RunCopy("-next -monitor 9")) << "delivered; no such display, nothing done";
    EXPECT_FALSE(Ended(process, 300)) << "the program runs on";

    // A restart keeps the ban.
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Ended(process, 20000));
    EXPECT_EQ(photos + "\\p1.png\r\n", ReadFile(dir.File("banlist.txt")));
}

}  // namespace

// The real program, whose code page is UTF-8, takes over an earlier version's files in code
// page 949 at start and keeps them in UTF-8 from then on.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/mbstring.h"
#include "program/program_fixture.h"
#include "state/stored_files.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

using namespace program_testing;

TEST_F(ProgramTest, AnEarlierVersionsFilesAreConvertedAtStartAndKept) {
    // A photo in a Hangul-named folder (사진\가을.png, named from this code page 949 process).
    const std::string folder949 = dir.File("\xBB\xE7\xC1\xF8");
    ASSERT_TRUE(::CreateDirectoryA(folder949.c_str(), nullptr));
    const std::string photo949 = folder949 + "\\\xB0\xA1\xC0\xBB.png";
    ASSERT_TRUE(::CopyFileA((testing_support::BinDir() + "\\effects\\red.png").c_str(), photo949.c_str(), FALSE));
    const std::string list949 = folder949 + ",1\r\n&\r\n" + photo949 + "\r\n";
    const std::string env949 = "[DEFAULT]\r\nddfontname=\xB1\xBC\xB8\xB2\r\nchangetime=9\r\nisforeimg=1\r\n";
    WriteFile(dir.File("list.txt"), list949);
    WriteFile(dir.File("env.ini"), env949);

    fw::KernelHandle program;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartUntilStartedUp(program, window));
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Ended(program, 15000));

    EXPECT_EQ(list949, ReadFile(dir.File("list.txt.bak")));
    EXPECT_EQ(env949, ReadFile(dir.File("env.ini.bak")));
    const std::string list = ReadFile(dir.File("list.txt")), env = ReadFile(dir.File("env.ini"));
    EXPECT_TRUE(mb::IsValidUtf8(list)) << list;
    EXPECT_TRUE(mb::IsValidUtf8(env)) << env;
    EXPECT_NE(std::string::npos, env.find("ddfontname=" + mb::Recode("\xB1\xBC\xB8\xB2", 949, CP_UTF8) + "\r\n"));
    EXPECT_NE(std::string::npos, env.find("changetime=9\r\n"));
    // The folder is listed in UTF-8 at the exit's save.
    EXPECT_NE(std::string::npos, list.find(mb::Recode(folder949, 949, CP_UTF8) + ",1\r\n")) << list;
}

}  // namespace

// The tray command "현재 이미지들.." of the real program: the dialog lists the photo of the first
// wallpaper, a second command only brings it to the front, and closing it ends the modal run.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

#include "composer/output.h"
#include "resource.h"
#include "program/program_fixture.h"
#include "support/test_support.h"

namespace {

using namespace program_testing;

constexpr wchar_t kImagesTitle[] = L"\uD604\uC7AC \uC774\uBBF8\uC9C0\uB4E4..";  // 현재 이미지들..

using CurrentImagesCommand = ProgramTest;

TEST_F(CurrentImagesCommand, ListsThePhotoOfTheWallpaperOnceAndClosesCleanly) {
    const std::string photos = dir.MakeDir("photos");
    Gdiplus::Bitmap photo(320, 200, PixelFormat24bppRGB);
    Gdiplus::Graphics(&photo).Clear(Gdiplus::Color(255, 200, 80, 40));
    ASSERT_TRUE(SaveImage(photo, photos + "\\one.jpg", "jpeg"));
    testing_support::WriteFile(dir.File("env.ini"), "[DEFAULT]\r\nisforeimg=1\r\nchangetime=60\r\nmin_sec=60000\r\n");
    testing_support::WriteFile(dir.File("list.txt"), photos + ",1\n&\n" + photos + "\\one.jpg\n");

    fw::KernelHandle process;
    HWND main = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartUntilStartedUp(process, main));

    ::PostMessageW(main, WM_COMMAND, ID_TRAY_CURRENT_IMAGES, 0);
    HWND dialog = WaitForWindow(kImagesTitle, 10000);
    ASSERT_NE(nullptr, dialog);
    HWND list = ::GetDlgItem(dialog, IDC_IMAGES_LIST);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(1, static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));

    ::PostMessageW(main, WM_COMMAND, ID_TRAY_CURRENT_IMAGES, 0);
    ::Sleep(500);
    EXPECT_EQ(1, CountWindows(kImagesTitle)) << "a second command only brings the open dialog to the front";

    ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitForGone(kImagesTitle, 10000));
    EXPECT_FALSE(Ended(process, 300)) << "the program runs on";

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ended(process, 15000));
}

}  // namespace

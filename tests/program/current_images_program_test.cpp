// The tray command "현재 이미지들.." of the real program: the dialog lists the photo of the first
// wallpaper, a second command only brings it to the front, and closing it ends the modal run.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

#include "composer/output.h"
#include "framework/mbstring.h"
#include "resource.h"
#include "support/test_support.h"

namespace {

using testing_support::BinDir;
using testing_support::ScratchDir;

constexpr wchar_t kImagesTitle[] = L"\uD604\uC7AC \uC774\uBBF8\uC9C0\uB4E4..";  // 현재 이미지들..

HWND WaitFor(const wchar_t* title, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 100) {
        if (HWND w = ::FindWindowW(nullptr, title)) return w;
        ::Sleep(100);
    }
    return nullptr;
}

bool WaitGone(const wchar_t* title, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 100) {
        if (!::FindWindowW(nullptr, title)) return true;
        ::Sleep(100);
    }
    return false;
}

int CountWindows(const wchar_t* title) {
    int count = 0;
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        wchar_t text[64] = {};
        ::GetWindowTextW(w, text, 64);
        if (std::wstring(text) == title) ++count;
    }
    return count;
}

TEST(CurrentImagesCommand, ListsThePhotoOfTheWallpaperOnceAndClosesCleanly) {
    ASSERT_EQ(nullptr, ::FindWindowW(nullptr, L"Dioramix")) << "a copy is already running";
    ScratchDir dir;
    const std::string exe = dir.File("Dioramix.exe");
    ASSERT_TRUE(::CopyFileA((BinDir() + "\\Dioramix.exe").c_str(), exe.c_str(), FALSE));
    const std::string photos = dir.MakeDir("photos");
    {
        Gdiplus::Bitmap photo(320, 200, PixelFormat24bppRGB);
        Gdiplus::Graphics(&photo).Clear(Gdiplus::Color(255, 200, 80, 40));
        CLSID jpeg;
        ASSERT_GE(GetEncoderClsid(L"image/jpeg", &jpeg), 0);
        ASSERT_EQ(Gdiplus::Ok, photo.Save(mb::Widen(photos + "\\one.jpg").c_str(), &jpeg, nullptr));
    }
    testing_support::WriteFile(dir.File("env.ini"), "[DEFAULT]\r\nisforeimg=1\r\nchangetime=60\r\nmin_sec=60000\r\n");
    testing_support::WriteFile(dir.File("list.txt"), photos + ",1\n&\n" + photos + "\\one.jpg\n");

    std::string line = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(::CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.path().c_str(), &si,
                                 &pi));
    ::CloseHandle(pi.hThread);
    HWND main = WaitFor(L"Dioramix", 20000);
    ASSERT_NE(nullptr, main);
    for (DWORD waited = 0; waited < 20000 && !testing_support::FileExists(dir.File("Dioramix.bmp")); waited += 100)
        ::Sleep(100);
    ::WaitForInputIdle(pi.hProcess, 5000);

    ::PostMessageW(main, WM_COMMAND, ID_TRAY_CURRENT_IMAGES, 0);
    HWND dialog = WaitFor(kImagesTitle, 10000);
    ASSERT_NE(nullptr, dialog);
    HWND list = ::GetDlgItem(dialog, IDC_IMAGES_LIST);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(1, static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));

    ::PostMessageW(main, WM_COMMAND, ID_TRAY_CURRENT_IMAGES, 0);
    ::Sleep(500);
    EXPECT_EQ(1, CountWindows(kImagesTitle)) << "a second command only brings the open dialog to the front";

    ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitGone(kImagesTitle, 10000));
    EXPECT_EQ(WAIT_TIMEOUT, ::WaitForSingleObject(pi.hProcess, 300)) << "the program runs on";

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(pi.hProcess, 15000));
    ::CloseHandle(pi.hProcess);
}

}  // namespace

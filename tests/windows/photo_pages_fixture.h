#pragma once
// The photographs and background pages and the position editor, opened alone: the settings
// context around a scratch program folder and a fake 1024 x 768 screen, and a plain window
// standing in for the settings dialog.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

#include "composer/composer.h"
#include "composer/output.h"
#include "framework/mbstring.h"
#include "settings_ui/settings_context.h"
#include "support/recording_owner.h"
#include "state/catalogue.h"
#include "state/settings.h"
#include "support/fake_system.h"
#include "support/test_support.h"

namespace photo_pages_testing {

using testing_support::RecordingOwner;

// Runs the messages waiting for this thread (posted requests, paints).
inline void PumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

inline std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

inline void Click(HWND button) { ::SendMessageW(button, BM_CLICK, 0, 0); }

// A picture of one colour, saved in the given format ("png", "jpeg", "bmp").
inline void WritePicture(const std::string& path, int w, int h, Gdiplus::Color color, const std::string& format) {
    Gdiplus::Bitmap bitmap(w, h, PixelFormat24bppRGB);
    {
        Gdiplus::Graphics g(&bitmap);
        g.Clear(color);
    }
    SaveImage(bitmap, path, format);
}

class PhotoPagesTest : public ::testing::Test {
protected:
    testing_support::ScratchDir dir;
    testing_support::FakeSystem system;
    EnvSettings env;
    OutProgramList programs;
    ImageCatalogue catalogue;
    Composer composer{env, catalogue, system};
    RecordingOwner owner;
    int lastPage = 0;
    SettingsContext context{env, programs, catalogue, composer, system, owner, lastPage};
    HWND host = nullptr;  // stands in for the settings dialog

    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
        env.m_exePath = dir.path();
        env.isforeimg = 1;
        env.picmaxsize = 400;
        env.changetime = 5;
        env.min_sec = 60000;
        env.piccleartotalcnt = 10;
        env.imagepos = 2;
        env.backcolor = 0xFF102030;
        env.m_desktopColor = 0xFF256F95;
        host = ::CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(0x8002)) /* the dialog class */, L"settings", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40, 600, 380,
                                 nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, host);
    }
    void TearDown() override {
        if (host) ::DestroyWindow(host);
        PumpMessages();
    }

    // A page created as the host's child, moved where the host would put it and shown.
    template <class Page>
    void OpenPage(Page& page) {
        ASSERT_TRUE(page.Create(host));
        ::MoveWindow(page.GetSafeHwnd(), 0, 0, 570, 330, TRUE);
        ::ShowWindow(page.GetSafeHwnd(), SW_SHOW);
        PumpMessages();
    }
};

}  // namespace photo_pages_testing

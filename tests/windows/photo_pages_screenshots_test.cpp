// Pictures of the photographs page, the background page and the position editor as the screen
// shows them, for a person to look at. Off by default; tools/screenshot-photo-pages runs them with
// DIORAMIX_SHOT_DIR naming the folder for the PNG files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "aux_windows/img_pos_set_dlg.h"
#include "composer/output.h"
#include "resource.h"
#include "settings_ui/set_back_img.h"
#include "settings_ui/set_fore_img.h"
#include "windows/page_fixture.h"

namespace {

using namespace page_testing;

std::string ShotDir() {
    const char* dir = std::getenv("DIORAMIX_SHOT_DIR");
    return dir && *dir ? dir : testing_support::BinDir();
}

// Lets the display catch up with what the windows painted.
void Settle() { PumpFor(500); }

bool SaveWindow(HWND window, const std::string& path) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return SaveScreenArea(r, path);
}

class PhotoPagesScreenshots : public PageTest {
protected:
    // Sizes the stand-in settings window around the page as the parent's frame would hold it.
    template <class Page>
    void ShowInHost(Page& page, const wchar_t* caption) {
        ASSERT_TRUE(page.Create(parent));
        RECT frame{0, 0, 285, 162};
        ::MapDialogRect(page.GetSafeHwnd(), &frame);
        ::SetWindowTextW(parent, caption);
        RECT outer{0, 0, frame.right + 16, frame.bottom + 16};
        ::AdjustWindowRectEx(&outer, WS_POPUP | WS_CAPTION, FALSE, 0);
        ::SetWindowPos(parent, nullptr, 60, 60, outer.right - outer.left, outer.bottom - outer.top, SWP_NOZORDER);
        ::MoveWindow(page.GetSafeHwnd(), 8, 8, frame.right, frame.bottom, TRUE);
        ::ShowWindow(page.GetSafeHwnd(), SW_SHOW);
        ::SetForegroundWindow(parent);
        Settle();
    }
};

TEST_F(PhotoPagesScreenshots, DISABLED_ForegroundPage) {
    env.imagepos = 1;
    env.isoverlap = 1;
    env.isbackgray = 1;
    env.picmaxsize = 420;
    composer.ReplacePositions({{40, 40, 440, 440}, {600, 60, 960, 420}, {300, 420, 640, 760}});
    CSetForeImg page(context);
    ShowInHost(page, fw::LoadText(IDS_PAGE_PHOTOS).c_str());
    EXPECT_TRUE(SaveWindow(parent, ShotDir() + "\\fore-page.png"));

    ::SendMessageW(page.GetDlgItem(IDC_FORE_CENTRE), BM_CLICK, 0, 0);
    ::SendMessageW(page.GetDlgItem(IDC_FORE_SECONDS), BM_CLICK, 0, 0);
    Settle();
    EXPECT_TRUE(SaveWindow(parent, ShotDir() + "\\fore-page-centre-seconds.png"));
    ::SendMessageW(page.GetDlgItem(IDC_FORE_USE), BM_CLICK, 0, 0);
    Settle();
    EXPECT_TRUE(SaveWindow(parent, ShotDir() + "\\fore-page-off.png"));
}

TEST_F(PhotoPagesScreenshots, DISABLED_BackgroundPage) {
    const std::string photo = dir.File("evening.jpg");
    {
        Gdiplus::Bitmap picture(1600, 600, PixelFormat24bppRGB);
        Gdiplus::Graphics g(&picture);
        Gdiplus::LinearGradientBrush sky(Gdiplus::Point(0, 0), Gdiplus::Point(0, 600), Gdiplus::Color(255, 250, 160, 60),
                                         Gdiplus::Color(255, 90, 40, 120));
        g.FillRectangle(&sky, 0, 0, 1600, 600);
        Gdiplus::SolidBrush hill(Gdiplus::Color(255, 30, 70, 40));
        g.FillEllipse(&hill, -200, 420, 1200, 500);
        g.FillEllipse(&hill, 700, 460, 1200, 500);
        SaveImage(picture, photo, "jpeg");
    }
    env.isbackcolor = 1;
    env.backcolor = 0xFF2F4F6F;
    env.isbackimg = 1;
    env.backimagename = photo;
    CSetBackImg page(context);
    ShowInHost(page, fw::LoadText(IDS_PAGE_BACKGROUND).c_str());
    EXPECT_TRUE(SaveWindow(parent, ShotDir() + "\\back-page.png"));

    ::SendMessageW(page.GetDlgItem(IDC_BACK_STRETCH), BM_CLICK, 0, 0);
    Settle();
    EXPECT_TRUE(SaveWindow(parent, ShotDir() + "\\back-page-stretched.png"));
    ::SendMessageW(page.GetDlgItem(IDC_BACK_USEIMAGE), BM_CLICK, 0, 0);
    ::SendMessageW(page.GetDlgItem(IDC_BACK_USECOLOR), BM_CLICK, 0, 0);
    Settle();
    EXPECT_TRUE(SaveWindow(parent, ShotDir() + "\\back-page-off.png"));
}

TEST_F(PhotoPagesScreenshots, DISABLED_PositionEditor) {
    system.screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    system.screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    composer.ReplacePositions({{60, 120, 460, 520}, {820, 140, 1120, 440}});
    ::ShowWindow(parent, SW_HIDE);
    CImgPosSetDlg editor(env, composer, nullptr, [] {});
    ASSERT_TRUE(editor.Create());
    ::ShowWindow(editor.GetSafeHwnd(), SW_SHOW);
    ::SetWindowPos(editor.GetSafeHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SendMessageW(editor.GetDlgItem(IDC_IMGPOS_ADD), BM_CLICK, 0, 0);
    Settle();
    EXPECT_TRUE(SaveScreenArea({0, 0, system.screenWidth, system.screenHeight}, ShotDir() + "\\position-editor.png"));
    EXPECT_TRUE(SaveWindow(editor.GetSafeHwnd(), ShotDir() + "\\position-editor-window.png"));

    // The context menu of a square, shown while the picture is taken.
    HWND square = editor.PositionWindow(1)->GetSafeHwnd();
    ::SetTimer(square, 1, 400, [](HWND, UINT, UINT_PTR, DWORD) {
        SaveScreenArea({0, 0, 700, 700}, ShotDir() + "\\position-menu.png");
        ::EndMenu();
    });
    ::SetForegroundWindow(square);
    ::SendMessageW(square, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(square), MAKELPARAM(200, 300));
    ::KillTimer(square, 1);
}

}  // namespace

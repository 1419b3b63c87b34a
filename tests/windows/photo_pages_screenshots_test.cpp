// Pictures of the photographs, background, effects and calendar pages, the mask picker and the
// position editor as the screen shows them, for a person to look at. Off by default;
// tools/screenshot-photo-pages runs them with DIORAMIX_SHOT_DIR naming the folder for the PNG files.
#include <cstdlib>

#include "aux_windows/img_pos_set_dlg.h"
#include "settings_ui/set_back_img.h"
#include "settings_ui/set_calen.h"
#include "settings_ui/set_effect.h"
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

bool SaveWindow(HWND window, const std::string& name) { return SaveScreenArea(RectOf(window), ShotDir() + "\\" + name); }
bool SaveScreen(const std::string& name) {
    return SaveScreenArea({0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)},
                          ShotDir() + "\\" + name);
}

class PhotoPagesScreenshots : public PageTest {};

TEST_F(PhotoPagesScreenshots, DISABLED_ForegroundPage) {
    env.imagepos = 1;
    env.isoverlap = 1;
    env.isbackgray = 1;
    env.picmaxsize = 420;
    composer.ReplacePositions({{40, 40, 440, 440}, {600, 60, 960, 420}, {300, 420, 640, 760}});
    CSetForeImg page(context);
    ShowAsInTheSettingsWindow(page, IDS_PAGE_PHOTOS);
    EXPECT_TRUE(SaveWindow(parent, "fore-page.png"));

    Click(page.GetSafeHwnd(), IDC_FORE_CENTRE);
    Click(page.GetSafeHwnd(), IDC_FORE_SECONDS);
    Settle();
    EXPECT_TRUE(SaveWindow(parent, "fore-page-centre-seconds.png"));
    Click(page.GetSafeHwnd(), IDC_FORE_USE);
    Settle();
    EXPECT_TRUE(SaveWindow(parent, "fore-page-off.png"));
}

TEST_F(PhotoPagesScreenshots, DISABLED_BackgroundPage) {
    const std::string photo = dir.File("evening.jpg");
    SaveScene(photo, 1600, 600, Gdiplus::Color(255, 250, 160, 60), Gdiplus::Color(255, 90, 40, 120));
    env.isbackcolor = 1;
    env.backcolor = 0xFF2F4F6F;
    env.isbackimg = 1;
    env.backimagename = photo;
    CSetBackImg page(context);
    ShowAsInTheSettingsWindow(page, IDS_PAGE_BACKGROUND);
    EXPECT_TRUE(SaveWindow(parent, "back-page.png"));

    Click(page.GetSafeHwnd(), IDC_BACK_STRETCH);
    Settle();
    EXPECT_TRUE(SaveWindow(parent, "back-page-stretched.png"));
    Click(page.GetSafeHwnd(), IDC_BACK_USEIMAGE);
    Click(page.GetSafeHwnd(), IDC_BACK_USECOLOR);
    Settle();
    EXPECT_TRUE(SaveWindow(parent, "back-page-off.png"));
}

// The effects page with the program's own masks, its picker over it, and the calendar page.
TEST_F(PhotoPagesScreenshots, DISABLED_EffectsAndCalendarPages) {
    const std::string bin = testing_support::BinDir();
    env.m_exePath = bin;
    composer.LoadMasks(bin + "\\Masks");
    env.ismask = 1;
    env.isrotate = 1;
    env.rotatevalue = 45;
    env.framesize = 7;
    env.maskfilename = bin + "\\Masks\\heart.gif";
    {
        CSetEffect page(context);
        ShowAsInTheSettingsWindow(page, IDS_PAGE_EFFECTS);
        EXPECT_TRUE(SaveWindow(parent, "effects-page.png"));
        InsideModalLoop step([&] {
            HWND picker = OpenedDialog();
            if (!picker) return;
            ::SetWindowPos(picker, HWND_TOP, 520, 60, 0, 0, SWP_NOSIZE);
            HWND list = ::GetDlgItem(picker, IDC_MASK_LIST);
            ListView_SetItemState(list, FindListItem(list, L"star"), LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
            ::SetFocus(list);
            Settle();
            EXPECT_TRUE(SaveScreen("mask-picker.png"));
            Click(picker, IDC_MASK_SELECT);
        }, 600);
        Click(page.GetSafeHwnd(), IDC_EFFECT_CHOOSE_MASK);
        Settle();
        EXPECT_TRUE(SaveWindow(parent, "effects-page-after-choice.png"));
        Click(page.GetSafeHwnd(), IDC_EFFECT_FRAME);
        Settle();
        EXPECT_TRUE(SaveWindow(parent, "effects-page-frame.png"));
    }

    env.iscalender = 1;
    env.ymfontname = "Georgia";
    env.ddfontname = mb::Narrow(L"\uB098\uB214\uACE0\uB515");  // 나눔고딕
    env.isbold1 = 1;
    env.isitalic2 = 1;
    env.yymmcolor = RGB(255, 255, 255);
    env.whitedaycolor = RGB(220, 220, 220);
    env.bluedaycolor = RGB(80, 120, 255);
    env.reddaycolor = RGB(255, 60, 60);
    CSetCalen calendar(context);
    ShowAsInTheSettingsWindow(calendar, IDS_PAGE_CALENDAR);
    EXPECT_TRUE(SaveWindow(parent, "calendar-page.png"));
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
    Click(editor.GetDlgItem(IDC_IMGPOS_ADD));
    Settle();
    EXPECT_TRUE(SaveScreen("position-editor.png"));
    EXPECT_TRUE(SaveWindow(editor.GetSafeHwnd(), "position-editor-window.png"));

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

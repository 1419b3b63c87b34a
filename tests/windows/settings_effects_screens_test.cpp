// Screenshots of the effects page, the mask picker and the calendar page, for looking at.
// Disabled: run with --gtest_also_run_disabled_tests --gtest_filter=*EffectsScreens* and
// DIORAMIX_SHOTS set to a folder (a Windows path, Z:\tmp\... for a Unix folder).
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "composer/output.h"
#include "framework/mbstring.h"
#include "resource.h"
#include "settings_ui/set_calen.h"
#include "settings_ui/set_effect.h"
#include "windows/page_fixture.h"

namespace {

using namespace page_testing;

void SaveScreen(const std::string& name) {
    const char* folder = std::getenv("DIORAMIX_SHOTS");
    if (!folder) return;
    Pump();
    ::Sleep(200);
    Pump();
    SaveScreenArea({0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)},
                   std::string(folder) + "\\" + name);
}

class EffectsScreens : public PageTest {
protected:
    // A window the size of the settings dialog's page frame, titled as the page.
    void Frame(HWND page, const wchar_t* title) {
        ::SetWindowTextW(parent, title);
        RECT r{};
        ::GetWindowRect(page, &r);
        RECT outer{0, 0, r.right - r.left, r.bottom - r.top};
        ::AdjustWindowRectEx(&outer, WS_OVERLAPPED | WS_CAPTION, FALSE, 0);
        ::SetWindowPos(parent, HWND_TOP, 60, 60, outer.right - outer.left, outer.bottom - outer.top, 0);
        Fill(page);
    }
};

TEST_F(EffectsScreens, DISABLED_PagesAndPicker) {
    const std::string bin = testing_support::BinDir();
    env.m_exePath = bin;
    composer.LoadMasks(bin + "\\Masks");

    env.isframe = 0;
    env.ismask = 1;
    env.isrotate = 1;
    env.rotatevalue = 45;
    env.framesize = 7;
    env.maskfilename = bin + "\\Masks\\heart.gif";
    {
        CSetEffect page(context);
        ASSERT_TRUE(page.Create(parent));
        Frame(page.GetSafeHwnd(), fw::LoadText(IDS_PAGE_EFFECTS).c_str());
        SaveScreen("effects-page.png");
        InsideModalLoop step([&] {
            HWND picker = OpenedDialog();
            if (!picker) return;
            ::SetWindowPos(picker, HWND_TOP, 520, 60, 0, 0, SWP_NOSIZE);
            HWND list = ::GetDlgItem(picker, IDC_MASK_LIST);
            LVFINDINFOW find{};
            find.flags = LVFI_STRING;
            find.psz = L"star";
            int star = static_cast<int>(::SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                                       reinterpret_cast<LPARAM>(&find)));
            ListView_SetItemState(list, star, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            ::SetFocus(list);
            SaveScreen("mask-picker.png");
            Click(picker, IDC_MASK_SELECT);
        }, 600);
        ::SendMessageW(::GetDlgItem(page.GetSafeHwnd(), IDC_EFFECT_CHOOSE_MASK), BM_CLICK, 0, 0);
        SaveScreen("effects-page-after-choice.png");
        ::SendMessageW(::GetDlgItem(page.GetSafeHwnd(), IDC_EFFECT_FRAME), BM_CLICK, 0, 0);
        SaveScreen("effects-page-frame.png");
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
    ASSERT_TRUE(calendar.Create(parent));
    Frame(calendar.GetSafeHwnd(), fw::LoadText(IDS_PAGE_CALENDAR).c_str());
    SaveScreen("calendar-page.png");
}

}  // namespace

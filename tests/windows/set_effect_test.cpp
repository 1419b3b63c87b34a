// The effects page and the mask picker as real windows: the switches' exclusions, the empty
// masks message, the picker's layout, thumbnails and choice, the angle list and the swatch.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "framework/mbstring.h"
#include "resource.h"
#include "settings_ui/set_effect.h"
#include "windows/page_fixture.h"

namespace {

using namespace page_testing;

class EffectsPage : public OnePageTest<CSetEffect> {
protected:
    void SetUp() override {
        PageTest::SetUp();
        env.framesize = 7;
        env.rotatevalue = 90;
    }

    void SevenMasks() {
        MakeMasks({{"disc.gif", 30, 30}, {"heart.gif", 30, 30}, {"oval.gif", 30, 30}, {"small.gif", 20, 10},
                   {"star.gif", 30, 30}, {"torn.gif", 30, 30}, {"wide.gif", 80, 40}});
    }

    // Opens the picker with the page's button; `inside` runs in the picker's modal loop with the
    // picker's window and must end it.
    void RunPicker(const std::function<void(HWND picker)>& inside) {
        bool ran = false;
        InsideModalLoop step([&] {
            HWND picker = OpenedDialog();
            ran = picker != nullptr;
            if (picker) inside(picker);
        });
        // A failed check inside must not leave the test waiting on the picker.
        InsideModalLoop safety([this] {
            if (HWND picker = OpenedDialog()) ::PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
        }, 3000);
        Click(hwnd, IDC_EFFECT_CHOOSE_MASK);
        EXPECT_TRUE(ran) << "no picker came up";
        EXPECT_EQ(nullptr, page->MaskPicker()) << "the picker is deleted after its run";
    }
    static HWND List(HWND picker) { return ::GetDlgItem(picker, IDC_MASK_LIST); }
    static int FindItem(HWND picker, const wchar_t* label) {
        LVFINDINFOW find{};
        find.flags = LVFI_STRING;
        find.psz = label;
        return static_cast<int>(::SendMessageW(List(picker), LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(&find)));
    }
    static void Choose(HWND picker, int item) {
        ListView_SetItemState(List(picker), item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    static void DoubleClick(HWND picker) { ClickRow(picker, IDC_MASK_LIST, 0, NM_DBLCLK); }
};

TEST_F(EffectsPage, InitialisationFollowsTheSettings) {
    SevenMasks();
    env.isframe = 1;
    env.isshadow = 1;
    env.rotatevalue = 90;
    env.framesize = 12;
    env.framecolor = RGB(10, 20, 30);
    Open();
    EXPECT_EQ(composer.Masks().front(), env.maskfilename) << "the first mask stands in for none";
    EXPECT_EQ(TextOf(Item(IDC_EFFECT_MASK_NAME)),
              mb::Widen(mb::FileNameOfPath(env.maskfilename)));
    ExpectChecked({IDC_EFFECT_FRAME, IDC_EFFECT_SHADOW}, {IDC_EFFECT_MASK});
    ExpectEnabled({}, {IDC_EFFECT_RANDOM_MASK, IDC_EFFECT_CHOOSE_MASK, IDC_EFFECT_ANGLE});  // rotation is off
    EXPECT_EQ(L"12", TextOf(Item(IDC_EFFECT_FRAMESIZE)));
    EXPECT_EQ(std::make_pair(1, 15), SpinRange(Item(IDC_EFFECT_FRAMESIZE_SPIN)));
    EXPECT_EQ(L"90", TextOf(Item(IDC_EFFECT_ANGLE)));
    EXPECT_EQ(7, ::SendMessageW(::GetDlgItem(hwnd, IDC_EFFECT_ANGLE), CB_GETCOUNT, 0, 0));
}

TEST_F(EffectsPage, WithoutFrameTheFrameControlsStartDisabled) {
    SevenMasks();
    env.ismask = 1;
    env.maskfilename = dir.File("Masks\\star.gif");
    Open();
    ExpectEnabled({IDC_EFFECT_CHOOSE_MASK}, {IDC_EFFECT_FRAMESIZE, IDC_EFFECT_FRAMECOLOR, IDC_EFFECT_SHADOW});
    EXPECT_TRUE(Checked(hwnd, IDC_EFFECT_MASK));
    EXPECT_EQ(L"star.gif", TextOf(Item(IDC_EFFECT_MASK_NAME)));
}

TEST_F(EffectsPage, FrameMaskAndShadowExcludeEachOther) {
    SevenMasks();
    env.ismask = 1;
    Open();

    Click(hwnd, IDC_EFFECT_FRAME);  // frame unticks the mask
    ExpectChecked({IDC_EFFECT_FRAME}, {IDC_EFFECT_MASK});
    EXPECT_EQ(1, env.isframe);
    EXPECT_EQ(0, env.ismask);
    ExpectEnabled({IDC_EFFECT_FRAMESIZE, IDC_EFFECT_FRAMECOLOR, IDC_EFFECT_SHADOW}, {IDC_EFFECT_CHOOSE_MASK});

    Click(hwnd, IDC_EFFECT_SHADOW);
    EXPECT_EQ(1, env.isshadow);

    Click(hwnd, IDC_EFFECT_MASK);  // mask unticks frame and shadow
    ExpectChecked({IDC_EFFECT_MASK}, {IDC_EFFECT_FRAME, IDC_EFFECT_SHADOW});
    EXPECT_EQ(1, env.ismask);
    EXPECT_EQ(0, env.isframe);
    EXPECT_EQ(0, env.isshadow);
    ExpectEnabled({IDC_EFFECT_RANDOM_MASK, IDC_EFFECT_CHOOSE_MASK},
                  {IDC_EFFECT_SHADOW, IDC_EFFECT_FRAMECOLOR, IDC_EFFECT_FRAMESIZE});

    // The shadow box, enabled again by the frame, unticks the mask.
    Click(hwnd, IDC_EFFECT_FRAME);
    Click(hwnd, IDC_EFFECT_FRAME);
    ::SendMessageW(::GetDlgItem(hwnd, IDC_EFFECT_MASK), BM_SETCHECK, BST_CHECKED, 0);
    env.ismask = 1;
    Click(hwnd, IDC_EFFECT_SHADOW);
    ExpectChecked({IDC_EFFECT_SHADOW}, {IDC_EFFECT_MASK});
    EXPECT_EQ(1, env.isshadow);
    EXPECT_EQ(0, env.ismask);
    EXPECT_FALSE(Enabled(hwnd, IDC_EFFECT_RANDOM_MASK));

    Click(hwnd, IDC_EFFECT_FRAME);
    ASSERT_EQ(1, env.isframe);
    Click(hwnd, IDC_EFFECT_FRAME);  // unticked: only the thickness goes grey
    EXPECT_EQ(0, env.isframe);
    ExpectEnabled({IDC_EFFECT_FRAMECOLOR, IDC_EFFECT_SHADOW}, {IDC_EFFECT_FRAMESIZE});
}

TEST_F(EffectsPage, EmptyMasksFolderShowsTheMessageAndLeavesTheBoxTicked) {
    MakeMasks({});
    Open();
    Click(hwnd, IDC_EFFECT_MASK);
    ASSERT_EQ(1u, prompts.messages.size());
    const FakePrompts::Message& box = prompts.messages[0];
    EXPECT_EQ(L"Dioramix", box.caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK), box.type);
    EXPECT_EQ(parent, box.owner) << "owned by the settings window";
    const std::wstring& text = box.text;
    EXPECT_EQ(fw::LoadText(IDS_NO_MASKS), text);
    EXPECT_NE(std::wstring::npos, text.find(L"masks"));
    EXPECT_TRUE(Checked(hwnd, IDC_EFFECT_MASK));
    EXPECT_EQ(1, env.ismask);
}

TEST_F(EffectsPage, ChoosingHeartStoresItsFullPathAndShowsItsName) {
    SevenMasks();
    env.ismask = 1;
    Open();
    RunPicker([&](HWND picker) {
        EXPECT_EQ(L"Select Mask", TextOf(picker));
        EXPECT_FALSE(Enabled(picker, IDC_MASK_SELECT));
        int heart = FindItem(picker, L"heart");
        ASSERT_GE(heart, 0);
        Choose(picker, heart);
        EXPECT_TRUE(Enabled(picker, IDC_MASK_SELECT));
        Click(picker, IDC_MASK_SELECT);
    });
    EXPECT_EQ(dir.path() + "\\masks\\heart.gif", env.maskfilename);
    EXPECT_EQ(L"heart.gif", TextOf(Item(IDC_EFFECT_MASK_NAME)));
}

TEST_F(EffectsPage, CancelCloseBoxAndEarlyDoubleClickChangeNothing) {
    SevenMasks();
    env.ismask = 1;
    env.maskfilename = dir.File("Masks\\star.gif");
    Open();
    RunPicker([&](HWND picker) {
        DoubleClick(picker);  // nothing chosen yet: the picker stays
        EXPECT_TRUE(::IsWindow(picker));
        Choose(picker, FindItem(picker, L"heart"));
        Click(picker, IDC_MASK_CANCEL);
    });
    EXPECT_EQ(dir.File("Masks\\star.gif"), env.maskfilename);
    RunPicker([&](HWND picker) {
        Choose(picker, FindItem(picker, L"heart"));
        ::SendMessageW(picker, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(dir.File("Masks\\star.gif"), env.maskfilename);
    EXPECT_EQ(L"star.gif", TextOf(Item(IDC_EFFECT_MASK_NAME)));
}

TEST_F(EffectsPage, DoubleClickAfterAChoiceTakesIt) {
    SevenMasks();
    env.ismask = 1;
    Open();
    RunPicker([&](HWND picker) {
        Choose(picker, FindItem(picker, L"torn"));
        DoubleClick(picker);
    });
    EXPECT_EQ(dir.path() + "\\masks\\torn.gif", env.maskfilename);
}

TEST_F(EffectsPage, FirstMaskOfAFreshPickerCanBeChosenEveryOpening) {
    SevenMasks();
    env.ismask = 1;
    Open();
    for (int opening = 0; opening < 2; ++opening) {
        RunPicker([&](HWND picker) {
            Choose(picker, 0);
            EXPECT_TRUE(Enabled(picker, IDC_MASK_SELECT)) << "opening " << opening;
            Click(picker, IDC_MASK_SELECT);
        });
    }
    const std::string& first = composer.Masks()[0];
    EXPECT_EQ(dir.path() + "\\masks\\" + mb::FileNameOfPath(first), env.maskfilename);
}

// Colour of pixel (x, y) of image i of the picker's image list.
COLORREF ThumbnailPixel(HIMAGELIST images, int i, int x, int y) {
    Canvas canvas(40, 40, RGB(0, 0, 0));
    ::ImageList_Draw(images, i, canvas.dc(), 0, 0, ILD_NORMAL);
    return canvas.At(x, y);
}

TEST_F(EffectsPage, PickerShowsSevenMasksInTwoColumnsWithFittedThumbnails) {
    SevenMasks();
    env.ismask = 1;
    Open();
    RunPicker([&](HWND picker) {
        HWND list = List(picker);
        ASSERT_EQ(7, ListView_GetItemCount(list));
        POINT origin{};
        ListView_GetItemPosition(list, 0, &origin);
        for (int i = 0; i < 7; ++i) {
            POINT at{};
            ListView_GetItemPosition(list, i, &at);
            EXPECT_EQ((i % 2) * 60, at.x - origin.x) << "item " << i;
            EXPECT_EQ((i / 2) * 60, at.y - origin.y) << "item " << i;  // rows 0..3, the last holding one
        }

        HIMAGELIST images = ListView_GetImageList(list, LVSIL_NORMAL);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(images, &cx, &cy);
        EXPECT_EQ(40, cx);
        EXPECT_EQ(40, cy);
        int small = FindItem(picker, L"small"), wide = FindItem(picker, L"wide");
        ASSERT_GE(small, 0);
        ASSERT_GE(wide, 0);
        // 20 x 10, left half black: unscaled at (10, 15).
        EXPECT_EQ(RGB(0, 0, 0), ThumbnailPixel(images, small, 0, 0)) << "outline";
        EXPECT_EQ(RGB(0, 0, 0), ThumbnailPixel(images, small, 12, 20));
        EXPECT_EQ(RGB(255, 255, 255), ThumbnailPixel(images, small, 8, 20));
        EXPECT_EQ(RGB(255, 255, 255), ThumbnailPixel(images, small, 25, 20));
        EXPECT_EQ(RGB(255, 255, 255), ThumbnailPixel(images, small, 12, 12));
        EXPECT_EQ(RGB(255, 255, 255), ThumbnailPixel(images, small, 12, 27));
        // 80 x 40: 40 x 20 at (0, 10).
        EXPECT_EQ(RGB(0, 0, 0), ThumbnailPixel(images, wide, 10, 20));
        EXPECT_EQ(RGB(255, 255, 255), ThumbnailPixel(images, wide, 30, 20));
        EXPECT_EQ(RGB(255, 255, 255), ThumbnailPixel(images, wide, 10, 7));
        EXPECT_EQ(RGB(255, 255, 255), ThumbnailPixel(images, wide, 10, 32));
        wchar_t label[64] = {};
        LVITEMW item{};
        item.pszText = label;
        item.cchTextMax = 64;
        ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(small), reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(L"small", label);
        ::PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST_F(EffectsPage, ExitPathClosesAnOpenPicker) {
    SevenMasks();
    env.ismask = 1;
    Open();
    RunPicker([&](HWND) { page->CloseOwnedWindows(); });
    EXPECT_TRUE(env.maskfilename.empty() || env.maskfilename == composer.Masks().front());
}

TEST_F(EffectsPage, AngleListStoresTheChosenAngle) {
    env.isrotate = 1;
    env.rotatevalue = 90;
    Open();
    HWND angles = ::GetDlgItem(hwnd, IDC_EFFECT_ANGLE);
    EXPECT_TRUE(Enabled(hwnd, IDC_EFFECT_ANGLE));
    EXPECT_EQ(L"90", TextOf(angles));
    ::SendMessageW(angles, CB_SETCURSEL, 5, 0);
    ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_EFFECT_ANGLE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(angles));
    EXPECT_EQ(270, env.rotatevalue);

    Click(hwnd, IDC_EFFECT_ROTATE);
    EXPECT_EQ(0, env.isrotate);
    EXPECT_FALSE(Enabled(hwnd, IDC_EFFECT_ANGLE));
}

TEST_F(EffectsPage, StoredAngleIsTakenFromTheItemItBegins) {
    env.rotatevalue = 4;
    Open();
    EXPECT_EQ(L"45", TextOf(Item(IDC_EFFECT_ANGLE)));
    EXPECT_EQ(45, env.rotatevalue);
}

TEST_F(EffectsPage, FrameColourTakesTheChoiceAndAsksForAFreshBackground) {
    env.isframe = 1;
    env.framecolor = RGB(1, 1, 1);
    Open();
    Click(hwnd, IDC_EFFECT_FRAMECOLOR);
    EXPECT_EQ(std::vector<COLORREF>{RGB(1, 1, 1)}, prompts.offeredColors);
    EXPECT_EQ(RGB(1, 1, 1), env.framecolor) << "cancel changes nothing";
    EXPECT_FALSE(pageComposer.freshAsked);

    prompts.colorAnswer = RGB(200, 100, 50);
    Click(hwnd, IDC_EFFECT_FRAMECOLOR);
    EXPECT_EQ(RGB(200, 100, 50), env.framecolor);
    EXPECT_TRUE(pageComposer.freshAsked);
}

TEST_F(EffectsPage, EnterAndEscapeChangeNothing) {
    SevenMasks();
    env.isframe = 1;
    Open();
    EnvSettings before = env;
    ::SendMessageW(hwnd, WM_COMMAND, IDOK, 0);
    ::SendMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    Pump();
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_EQ(before.isframe, env.isframe);
    EXPECT_EQ(before.maskfilename, env.maskfilename);
    EXPECT_TRUE(Checked(hwnd, IDC_EFFECT_FRAME));
}

}  // namespace

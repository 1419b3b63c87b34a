// The effects page and the mask picker as real windows: the switches' exclusions, the empty
// masks message, the picker's layout, thumbnails and choice, the angle list and the swatch.

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
    // The page with the mask on and `chosen` (a file of the Masks folder, or none) as its mask.
    void OpenWithMask(const std::string& chosen = "") {
        SevenMasks();
        env.ismask = 1;
        if (!chosen.empty()) env.maskfilename = dir.File("Masks\\" + chosen);
        Open();
    }
    // The switches as the settings and the boxes have them.
    void ExpectSwitches(int frame, int mask, int shadow) const {
        EXPECT_EQ(frame, env.isframe);
        EXPECT_EQ(mask, env.ismask);
        EXPECT_EQ(shadow, env.isshadow);
        EXPECT_EQ(frame != 0, Checked(hwnd, IDC_EFFECT_FRAME));
        EXPECT_EQ(mask != 0, Checked(hwnd, IDC_EFFECT_MASK));
        EXPECT_EQ(shadow != 0, Checked(hwnd, IDC_EFFECT_SHADOW));
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
    static int FindItem(HWND picker, const wchar_t* label) { return FindListItem(List(picker), label); }
    static void Choose(HWND picker, int item) {
        ListView_SetItemState(List(picker), item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    static void DoubleClick(HWND picker) { ClickRow(picker, IDC_MASK_LIST, 0, NM_DBLCLK); }
};

TEST_F(EffectsPage, InitialisationFollowsTheSettings) {
    SevenMasks();
    env.isframe = 1;
    env.isshadow = 1;
    env.framesize = 12;
    env.framecolor = RGB(10, 20, 30);
    Open();
    EXPECT_EQ(composer.Masks().front(), env.maskfilename) << "the first mask stands in for none";
    EXPECT_EQ(TextOf(Item(IDC_EFFECT_MASK_NAME)), mb::Widen(mb::FileNameOfPath(env.maskfilename)));
    ExpectSwitches(1, 0, 1);
    ExpectEnabled({}, {IDC_EFFECT_RANDOM_MASK, IDC_EFFECT_CHOOSE_MASK, IDC_EFFECT_ANGLE});  // rotation is off
    EXPECT_EQ(L"12", TextOf(Item(IDC_EFFECT_FRAMESIZE)));
    EXPECT_EQ(std::make_pair(1, 15), SpinRange(Item(IDC_EFFECT_FRAMESIZE_SPIN)));
    EXPECT_EQ(L"90", TextOf(Item(IDC_EFFECT_ANGLE)));
    EXPECT_EQ(7, ::SendMessageW(Item(IDC_EFFECT_ANGLE), CB_GETCOUNT, 0, 0));

    // The frame's colour: a cancelled choice changes nothing, a taken one asks for a fresh background.
    Click(hwnd, IDC_EFFECT_FRAMECOLOR);
    EXPECT_EQ(std::vector<COLORREF>{RGB(10, 20, 30)}, prompts.offeredColors);
    EXPECT_EQ(RGB(10, 20, 30), env.framecolor) << "cancel changes nothing";
    EXPECT_FALSE(pageComposer.freshAsked);
    prompts.colorAnswer = RGB(200, 100, 50);
    Click(hwnd, IDC_EFFECT_FRAMECOLOR);
    EXPECT_EQ(RGB(200, 100, 50), env.framecolor);
    EXPECT_TRUE(pageComposer.freshAsked);
}

TEST_F(EffectsPage, FrameMaskAndShadowExcludeEachOther) {
    OpenWithMask("star.gif");  // without the frame its controls start disabled
    ExpectEnabled({IDC_EFFECT_CHOOSE_MASK}, {IDC_EFFECT_FRAMESIZE, IDC_EFFECT_FRAMECOLOR, IDC_EFFECT_SHADOW});
    EXPECT_TRUE(Checked(hwnd, IDC_EFFECT_MASK));
    EXPECT_EQ(L"star.gif", TextOf(Item(IDC_EFFECT_MASK_NAME)));

    Click(hwnd, IDC_EFFECT_FRAME);  // frame unticks the mask
    ExpectSwitches(1, 0, 0);
    ExpectEnabled({IDC_EFFECT_FRAMESIZE, IDC_EFFECT_FRAMECOLOR, IDC_EFFECT_SHADOW}, {IDC_EFFECT_CHOOSE_MASK});
    Click(hwnd, IDC_EFFECT_SHADOW);
    ExpectSwitches(1, 0, 1);

    Click(hwnd, IDC_EFFECT_MASK);  // mask unticks frame and shadow
    ExpectSwitches(0, 1, 0);
    ExpectEnabled({IDC_EFFECT_RANDOM_MASK, IDC_EFFECT_CHOOSE_MASK},
                  {IDC_EFFECT_SHADOW, IDC_EFFECT_FRAMECOLOR, IDC_EFFECT_FRAMESIZE});

    // The shadow box, enabled again by the frame, unticks the mask.
    Click(hwnd, IDC_EFFECT_FRAME);
    Click(hwnd, IDC_EFFECT_FRAME);
    ::SendMessageW(Item(IDC_EFFECT_MASK), BM_SETCHECK, BST_CHECKED, 0);
    env.ismask = 1;
    Click(hwnd, IDC_EFFECT_SHADOW);
    ExpectSwitches(0, 0, 1);
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
    // Owned by the settings window.
    EXPECT_EQ((std::vector<FakePrompts::Message>{{parent, fw::LoadText(IDS_NO_MASKS), L"Dioramix", MB_OK}}),
              prompts.messages);
    EXPECT_NE(std::wstring::npos, fw::LoadText(IDS_NO_MASKS).find(L"masks"));
    EXPECT_TRUE(Checked(hwnd, IDC_EFFECT_MASK));
    EXPECT_EQ(1, env.ismask);
}

// The picker takes a choice by its button or a double click, stored as the full path with the name
// shown; cancel, the close box and a double click before a choice change nothing.
TEST_F(EffectsPage, ThePickerTakesAChoiceAndNothingElse) {
    OpenWithMask("star.gif");
    RunPicker([&](HWND picker) {
        EXPECT_EQ(L"Select Mask", TextOf(picker));
        DoubleClick(picker);  // nothing chosen yet: the picker stays
        EXPECT_TRUE(::IsWindow(picker));
        EXPECT_FALSE(Enabled(picker, IDC_MASK_SELECT));
        Choose(picker, FindItem(picker, L"heart"));
        Click(picker, IDC_MASK_CANCEL);
    });
    RunPicker([&](HWND picker) {
        Choose(picker, FindItem(picker, L"heart"));
        ::SendMessageW(picker, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(dir.File("Masks\\star.gif"), env.maskfilename);
    EXPECT_EQ(L"star.gif", TextOf(Item(IDC_EFFECT_MASK_NAME)));

    RunPicker([&](HWND picker) {
        int heart = FindItem(picker, L"heart");
        ASSERT_GE(heart, 0);
        Choose(picker, heart);
        EXPECT_TRUE(Enabled(picker, IDC_MASK_SELECT));
        Click(picker, IDC_MASK_SELECT);
    });
    EXPECT_EQ(dir.path() + "\\masks\\heart.gif", env.maskfilename);
    EXPECT_EQ(L"heart.gif", TextOf(Item(IDC_EFFECT_MASK_NAME)));

    RunPicker([&](HWND picker) {
        Choose(picker, FindItem(picker, L"torn"));
        DoubleClick(picker);
    });
    EXPECT_EQ(dir.path() + "\\masks\\torn.gif", env.maskfilename);

    // The first mask of a fresh picker, every opening.
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

TEST_F(EffectsPage, PickerShowsSevenMasksInTwoColumnsWithFittedThumbnailsAndClosesOnExit) {
    OpenWithMask();
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
        EXPECT_EQ(std::make_pair(40, 40), std::make_pair(cx, cy));
        const int small = FindItem(picker, L"small"), wide = FindItem(picker, L"wide");
        ASSERT_GE(small, 0);
        ASSERT_GE(wide, 0);
        // 20 x 10 with its left half black: unscaled at (10, 15) in a black outline; 80 x 40:
        // 40 x 20 at (0, 10).
        const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
        const struct { int item, x, y; COLORREF colour; } probes[] = {
            {small, 0, 0, black},   {small, 12, 20, black}, {small, 8, 20, white}, {small, 25, 20, white},
            {small, 12, 12, white}, {small, 12, 27, white}, {wide, 10, 20, black}, {wide, 30, 20, white},
            {wide, 10, 7, white},   {wide, 10, 32, white}};
        for (const auto& p : probes) {
            Canvas canvas(40, 40, black);
            ::ImageList_Draw(images, p.item, canvas.dc(), 0, 0, ILD_NORMAL);
            EXPECT_EQ(p.colour, canvas.At(p.x, p.y)) << "item " << p.item << " at " << p.x << "," << p.y;
        }
        EXPECT_EQ("small", CellText(list, small, 0));
        ::PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
    });

    // The exit path closes an open picker.
    RunPicker([&](HWND) { page->CloseOwnedWindows(); });
    EXPECT_TRUE(env.maskfilename.empty() || env.maskfilename == composer.Masks().front());
}

// A stored angle is taken from the item it begins; a choice in the list is stored.
TEST_F(EffectsPage, AngleListStoresTheChosenAngle) {
    env.isrotate = 1;
    env.rotatevalue = 4;
    Open();
    HWND angles = Item(IDC_EFFECT_ANGLE);
    EXPECT_TRUE(Enabled(hwnd, IDC_EFFECT_ANGLE));
    EXPECT_EQ(L"45", TextOf(angles));
    EXPECT_EQ(45, env.rotatevalue);
    ::SendMessageW(angles, CB_SETCURSEL, 5, 0);
    ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_EFFECT_ANGLE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(angles));
    EXPECT_EQ(270, env.rotatevalue);

    Click(hwnd, IDC_EFFECT_ROTATE);
    EXPECT_EQ(0, env.isrotate);
    EXPECT_FALSE(Enabled(hwnd, IDC_EFFECT_ANGLE));
}

}  // namespace

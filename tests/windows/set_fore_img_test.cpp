// The photographs page driven through its controls: what reaches stEnv, what is enabled, the texts.
#include <gtest/gtest.h>

#include <vector>

#include "resource.h"
#include "settings_ui/set_fore_img.h"
#include "windows/page_fixture.h"

namespace {

using namespace page_testing;

const std::wstring kOverlapMessage = fw::LoadText(IDS_OVERLAP_LIMITED);

class ForeImgPage : public OnePageTest<CSetForeImg> {
protected:
    std::vector<std::wstring> Warnings() const { return prompts.MessageTexts(); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    bool Checked(int id) const { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Type(int id, const wchar_t* text) { ::SetWindowTextW(Item(id), text); }
    // One press of an arrow key in the size field, which the up-down control answers.
    void SizeArrow(UINT key) {
        ::SendMessageW(Item(IDC_FORE_SIZE), WM_KEYDOWN, key, 0);
        ::SendMessageW(Item(IDC_FORE_SIZE), WM_KEYUP, key, 0);
    }
};

TEST_F(ForeImgPage, ShowsTheSettingsItWasOpenedWith) {
    env.picmaxsize = 520;
    env.changetime = 45;
    env.min_sec = 1000;
    env.israndum = 1;
    env.imagepos = 1;
    env.isoverlap = 1;
    env.isbackgray = 1;
    env.notstrech = 1;
    Open();
    EXPECT_TRUE(Checked(IDC_FORE_USE));
    EXPECT_EQ(L"520", TextOf(Item(IDC_FORE_SIZE)));
    EXPECT_EQ(L"45", TextOf(Item(IDC_FORE_CHANGETIME)));
    EXPECT_EQ(L"10", TextOf(Item(IDC_FORE_CLEARCOUNT)));
    EXPECT_TRUE(Checked(IDC_FORE_SECONDS));
    EXPECT_FALSE(Checked(IDC_FORE_MINUTES));
    EXPECT_EQ(fw::LoadText(IDS_UNIT_SECONDS), TextOf(Item(IDC_FORE_UNIT)));
    EXPECT_TRUE(Checked(IDC_FORE_RANDOM));
    EXPECT_TRUE(Checked(IDC_FORE_USERPOS));
    EXPECT_TRUE(Checked(IDC_FORE_OVERLAP)) << "the size watch is quiet while the page fills its fields";
    EXPECT_TRUE(Checked(IDC_FORE_BACKGRAY));
    EXPECT_TRUE(Checked(IDC_FORE_NOTSTRETCH));
    EXPECT_TRUE(Enabled(IDC_FORE_POSEDIT));
    EXPECT_EQ(1, env.isoverlap);

    EXPECT_EQ(std::make_pair(200, 760), SpinRange(Item(IDC_FORE_SIZE_SPIN)));
    EXPECT_EQ(std::make_pair(3, 60), SpinRange(Item(IDC_FORE_CHANGETIME_SPIN)));
    EXPECT_EQ(std::make_pair(3, 30), SpinRange(Item(IDC_FORE_CLEARCOUNT_SPIN)));
}

TEST_F(ForeImgPage, OverlapLimitOnA1024By768ScreenWithItsMessage) {
    env.picmaxsize = 500;
    Open();
    EXPECT_EQ(443, context.m_overlapLimit);
    EXPECT_EQ(fw::LoadText(IDS_OVERLAP_LABEL, 443), TextOf(Item(IDC_FORE_OVERLAP)));

    Click(Item(IDC_FORE_OVERLAP));
    EXPECT_EQ(1, env.isoverlap);
    EXPECT_EQ(std::vector<std::wstring>{kOverlapMessage}, Warnings());
    EXPECT_EQ(L"443", TextOf(Item(IDC_FORE_SIZE)));
    EXPECT_TRUE(Checked(IDC_FORE_OVERLAP)) << "the limit itself does not untick the box";
    EXPECT_TRUE(Enabled(IDC_FORE_CLEARCOUNT));
    EXPECT_TRUE(Enabled(IDC_FORE_BACKGRAY));

    // Within the limit nothing is said.
    Click(Item(IDC_FORE_OVERLAP));
    Click(Item(IDC_FORE_OVERLAP));
    EXPECT_EQ(1u, Warnings().size());
}

// The real message box: its caption and text, answered by a timer while it is up.
TEST_F(ForeImgPage, OverlapMessageBoxHasTheSettingsCaption) {
    env.picmaxsize = 500;
    prompts.realMessages = true;
    Open();
    static std::wstring seenText;
    static int ticks;
    seenText.clear();
    ticks = 0;
    ::SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND box = ::FindWindowW(L"#32770", fw::LoadText(IDS_SETTINGS_CAPTION).c_str());
        if (!box && ++ticks > 25) box = ::GetActiveWindow();  // a wrong caption fails, never hangs
        if (!box) return;
        seenText = TextOf(::GetDlgItem(box, 0xFFFF));
        ::KillTimer(nullptr, id);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    Click(Item(IDC_FORE_OVERLAP));
    EXPECT_EQ(kOverlapMessage, seenText);
    EXPECT_EQ(L"443", TextOf(Item(IDC_FORE_SIZE)));
}

TEST_F(ForeImgPage, TypingASizeBeyondTheLimitUnticksOverlapQuietly) {
    env.isoverlap = 1;
    Open();
    ASSERT_TRUE(Checked(IDC_FORE_OVERLAP));
    Type(IDC_FORE_SIZE, L"443");
    EXPECT_TRUE(Checked(IDC_FORE_OVERLAP));
    Type(IDC_FORE_SIZE, L"600");
    EXPECT_FALSE(Checked(IDC_FORE_OVERLAP));
    EXPECT_EQ(0, env.isoverlap);
    EXPECT_TRUE(Warnings().empty());
    EXPECT_EQ(400, env.picmaxsize) << "the size itself reaches stEnv only through the close check";
}

TEST_F(ForeImgPage, SecondsRewriteATooShortTime) {
    env.changetime = 2;
    Open();
    Click(Item(IDC_FORE_SECONDS));
    EXPECT_EQ(1000, env.min_sec);
    EXPECT_EQ(L"3", TextOf(Item(IDC_FORE_CHANGETIME)));
    EXPECT_EQ(fw::LoadText(IDS_UNIT_SECONDS), TextOf(Item(IDC_FORE_UNIT)));

    Click(Item(IDC_FORE_MINUTES));
    EXPECT_EQ(60000, env.min_sec);
    EXPECT_EQ(fw::LoadText(IDS_UNIT_MINUTES), TextOf(Item(IDC_FORE_UNIT)));
    Type(IDC_FORE_CHANGETIME, L"45");
    Click(Item(IDC_FORE_SECONDS));
    EXPECT_EQ(L"45", TextOf(Item(IDC_FORE_CHANGETIME)));
    Type(IDC_FORE_CHANGETIME, L"");
    Click(Item(IDC_FORE_MINUTES));
    Click(Item(IDC_FORE_SECONDS));
    EXPECT_EQ(L"3", TextOf(Item(IDC_FORE_CHANGETIME))) << "an empty field counts as 0";
}

TEST_F(ForeImgPage, SizeArrowsStepByTen) {
    Open();
    SizeArrow(VK_UP);
    EXPECT_EQ(L"410", TextOf(Item(IDC_FORE_SIZE)));
    SizeArrow(VK_DOWN);
    EXPECT_EQ(L"400", TextOf(Item(IDC_FORE_SIZE)));
    Type(IDC_FORE_SIZE, L"405");
    SizeArrow(VK_UP);
    EXPECT_EQ(L"415", TextOf(Item(IDC_FORE_SIZE)));
    Type(IDC_FORE_SIZE, L"755");
    SizeArrow(VK_UP);
    EXPECT_EQ(L"760", TextOf(Item(IDC_FORE_SIZE))) << "the range holds";
    Type(IDC_FORE_SIZE, L"1200");
    SizeArrow(VK_UP);
    EXPECT_EQ(L"760", TextOf(Item(IDC_FORE_SIZE))) << "no thousands separator, no overflow";
}

TEST_F(ForeImgPage, PlacementModesEnableOverlapAndTheEditorButton) {
    env.isoverlap = 1;
    Open();
    const int overlapControls[] = {IDC_FORE_OVERLAP, IDC_FORE_CLEARCOUNT, IDC_FORE_CLEARCOUNT_SPIN, IDC_FORE_BACKGRAY};

    // Each mode: the value stored, whether overlap's controls and the editor's button take input.
    const struct {
        int id, imagepos;
        bool overlap, editor;
    } modes[] = {{IDC_FORE_CENTRE, 0, false, false}, {IDC_FORE_RANDOMPOS, 2, true, false},
                 {IDC_FORE_USERPOS, 1, true, true}};
    for (const auto& mode : modes) {
        Click(Item(mode.id));
        EXPECT_EQ(mode.imagepos, env.imagepos) << mode.id;
        for (int id : overlapControls) EXPECT_EQ(mode.overlap, Enabled(id)) << mode.id << ": " << id;
        EXPECT_EQ(mode.editor, Enabled(IDC_FORE_POSEDIT)) << mode.id;
    }

    // Overlap off: its count and greying follow the box.
    Click(Item(IDC_FORE_OVERLAP));
    EXPECT_EQ(0, env.isoverlap);
    EXPECT_TRUE(Enabled(IDC_FORE_OVERLAP));
    EXPECT_FALSE(Enabled(IDC_FORE_CLEARCOUNT));
    EXPECT_FALSE(Enabled(IDC_FORE_BACKGRAY));
}

TEST_F(ForeImgPage, ForegroundSwitchGovernsEveryPhotoControl) {
    env.imagepos = 0;
    env.isoverlap = 1;
    Open();
    EXPECT_FALSE(Enabled(IDC_FORE_OVERLAP)) << "the centre mode keeps overlap off";

    Click(Item(IDC_FORE_USE));
    EXPECT_EQ(0, env.isforeimg);
    EXPECT_TRUE(pageComposer.freshAsked);
    const int photoControls[] = {IDC_FORE_SIZE,     IDC_FORE_SIZE_SPIN,   IDC_FORE_NOTSTRETCH, IDC_FORE_MINUTES,
                                 IDC_FORE_SECONDS,  IDC_FORE_CHANGETIME,  IDC_FORE_CHANGETIME_SPIN,
                                 IDC_FORE_SEQUENTIAL, IDC_FORE_RANDOM,    IDC_FORE_CENTRE,     IDC_FORE_RANDOMPOS,
                                 IDC_FORE_USERPOS,  IDC_FORE_POSEDIT,     IDC_FORE_OVERLAP,    IDC_FORE_CLEARCOUNT,
                                 IDC_FORE_CLEARCOUNT_SPIN, IDC_FORE_BACKGRAY};
    for (int id : photoControls) EXPECT_FALSE(Enabled(id)) << id;

    pageComposer.freshAsked = false;
    Click(Item(IDC_FORE_USE));
    EXPECT_EQ(1, env.isforeimg);
    EXPECT_TRUE(pageComposer.freshAsked);
    EXPECT_TRUE(Enabled(IDC_FORE_SIZE));
    EXPECT_TRUE(Enabled(IDC_FORE_USERPOS));
    EXPECT_FALSE(Enabled(IDC_FORE_OVERLAP)) << "still the centre mode";
    EXPECT_FALSE(Enabled(IDC_FORE_POSEDIT));
}

TEST_F(ForeImgPage, UntickingGreyRequestsAFreshBackgroundTickingDoesNot) {
    env.isoverlap = 1;
    Open();
    Click(Item(IDC_FORE_BACKGRAY));
    EXPECT_EQ(1, env.isbackgray);
    EXPECT_FALSE(pageComposer.freshAsked);
    Click(Item(IDC_FORE_BACKGRAY));
    EXPECT_EQ(0, env.isbackgray);
    EXPECT_TRUE(pageComposer.freshAsked);
}

TEST_F(ForeImgPage, OrderAndStretchBoxesWriteAtOnce) {
    Open();
    Click(Item(IDC_FORE_RANDOM));
    EXPECT_EQ(1, env.israndum);
    Click(Item(IDC_FORE_SEQUENTIAL));
    EXPECT_EQ(0, env.israndum);
    Click(Item(IDC_FORE_NOTSTRETCH));
    EXPECT_EQ(1, env.notstrech);
    EXPECT_FALSE(pageComposer.freshAsked);
}

TEST_F(ForeImgPage, EnterAndEscapeChangeNothing) {
    Open();
    const EnvSettings before = env;
    ::SendMessageW(page->GetSafeHwnd(), WM_COMMAND, IDOK, 0);
    ::SendMessageW(page->GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    Pump();
    EXPECT_TRUE(::IsWindowVisible(page->GetSafeHwnd()));
    EXPECT_EQ(before.isforeimg, env.isforeimg);
    EXPECT_EQ(before.imagepos, env.imagepos);
    EXPECT_EQ(before.min_sec, env.min_sec);
    EXPECT_EQ(L"400", TextOf(Item(IDC_FORE_SIZE)));
}

TEST_F(ForeImgPage, PositionCountAndMap) {
    // The fourth was saved on a larger screen, wholly off this one.
    composer.ReplacePositions({{0, 0, 400, 300}, {600, 0, 1000, 300}, {300, 400, 700, 700}, {2000, 1000, 2400, 1300}});
    Open();
    EXPECT_EQ(fw::LoadText(IDS_POSITION_COUNT, 4), TextOf(Item(IDC_FORE_POSCOUNT)));

    // The map as the page paints it: white, framed, three outlines at a tenth of the scale.
    const ClientPrint map(Item(IDC_FORE_POSMAP));
    const int xs = 1024 * 10 / map.width(), ys = 768 * 10 / map.height();
    EXPECT_EQ(RGB(0, 0, 0), map.At(0, 0));
    EXPECT_EQ(RGB(255, 255, 255), map.At(map.width() / 2, map.height() - 2));
    EXPECT_EQ(RGB(0, 0, 0), map.At(600 * 10 / xs, 100 * 10 / ys)) << "left edge of the second position";
    EXPECT_EQ(RGB(0, 0, 0), map.At(500 * 10 / xs, 400 * 10 / ys)) << "top edge of the third position";
    EXPECT_EQ(RGB(255, 255, 255), map.At(500 * 10 / xs, 550 * 10 / ys)) << "inside the third";
    EXPECT_EQ(RGB(0, 0, 0), map.At(624 * 10 / xs, 720 * 10 / ys)) << "the fourth, where its photo is drawn";
}

TEST_F(ForeImgPage, PositionEditorHidesTheSettingsDialogUntilItCloses) {
    env.imagepos = 1;
    composer.ReplacePositions({{100, 100, 400, 400}});
    Open();
    Click(Item(IDC_FORE_POSEDIT));
    CImgPosSetDlg* editor = page->PositionEditor();
    ASSERT_NE(nullptr, editor);
    EXPECT_FALSE(::IsWindowVisible(parent));
    EXPECT_TRUE(::IsWindowVisible(editor->GetSafeHwnd()));
    EXPECT_TRUE(::GetWindowLongPtrW(editor->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(std::vector<int>{1}, editor->Numbers());

    Click(editor->GetDlgItem(IDC_IMGPOS_ADD));
    Click(editor->GetDlgItem(IDC_IMGPOS_APPLY));
    Pump();
    EXPECT_EQ(nullptr, page->PositionEditor());
    EXPECT_TRUE(::IsWindowVisible(parent));
    ASSERT_EQ(2u, composer.Positions().size());
    EXPECT_EQ(fw::LoadText(IDS_POSITION_COUNT, 2), TextOf(Item(IDC_FORE_POSCOUNT)));
}

TEST_F(ForeImgPage, ExitClosesTheEditorWithoutApplying) {
    env.imagepos = 1;
    Open();
    Click(Item(IDC_FORE_POSEDIT));
    ASSERT_NE(nullptr, page->PositionEditor());
    Click(page->PositionEditor()->GetDlgItem(IDC_IMGPOS_ADD));
    page->CloseOwnedWindows();
    Pump();
    EXPECT_EQ(nullptr, page->PositionEditor());
    EXPECT_TRUE(composer.Positions().empty());
    EXPECT_FALSE(::IsWindowVisible(parent)) << "the settings dialog is ending: it is not shown again";
}

}  // namespace

// The photographs page driven through its controls: what reaches stEnv, what is enabled, the texts.

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
    std::wstring Shown(int id) const { return TextOf(Item(id)); }
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
    EXPECT_EQ((std::vector<std::wstring>{L"520", L"45", L"10", fw::LoadText(IDS_UNIT_SECONDS)}),
              (std::vector<std::wstring>{Shown(IDC_FORE_SIZE), Shown(IDC_FORE_CHANGETIME), Shown(IDC_FORE_CLEARCOUNT),
                                         Shown(IDC_FORE_UNIT)}));
    // Overlap too: the size watch is quiet while the page fills its fields.
    ExpectChecked({IDC_FORE_USE, IDC_FORE_SECONDS, IDC_FORE_RANDOM, IDC_FORE_USERPOS, IDC_FORE_OVERLAP,
                   IDC_FORE_BACKGRAY, IDC_FORE_NOTSTRETCH},
                  {IDC_FORE_MINUTES});
    EXPECT_TRUE(Enabled(IDC_FORE_POSEDIT));
    EXPECT_EQ(1, env.isoverlap);

    EXPECT_EQ(std::make_pair(200, 760), SpinRange(Item(IDC_FORE_SIZE_SPIN)));
    EXPECT_EQ(std::make_pair(3, 60), SpinRange(Item(IDC_FORE_CHANGETIME_SPIN)));
    EXPECT_EQ(std::make_pair(3, 30), SpinRange(Item(IDC_FORE_CLEARCOUNT_SPIN)));
}

// The limit's message is a real message box with the settings caption, answered from inside its loop.
TEST_F(ForeImgPage, OverlapLimitOnA1024By768ScreenWithItsMessage) {
    env.picmaxsize = 500;
    prompts.realMessages = true;
    Open();
    EXPECT_EQ(443, context.m_overlapLimit);
    EXPECT_EQ(fw::LoadText(IDS_OVERLAP_LABEL, 443), Shown(IDC_FORE_OVERLAP));

    std::wstring seenText;
    int ticks = 0;
    InsideModalLoop answer(200, [&] {
        HWND box = FindThreadDialog(fw::LoadText(IDS_SETTINGS_CAPTION));
        if (!box && ++ticks > 25) box = ::GetActiveWindow();  // a wrong caption fails, never hangs
        if (!box) return false;
        seenText = TextOf(::GetDlgItem(box, 0xFFFF));
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    Click(Item(IDC_FORE_OVERLAP));
    EXPECT_EQ(kOverlapMessage, seenText);
    EXPECT_EQ(1, env.isoverlap);
    EXPECT_EQ(std::vector<std::wstring>{kOverlapMessage}, Warnings());
    EXPECT_EQ(L"443", Shown(IDC_FORE_SIZE));
    EXPECT_TRUE(Checked(IDC_FORE_OVERLAP)) << "the limit itself does not untick the box";
    EXPECT_TRUE(Enabled(IDC_FORE_CLEARCOUNT) && Enabled(IDC_FORE_BACKGRAY));

    // Within the limit nothing is said.
    Click(Item(IDC_FORE_OVERLAP));
    Click(Item(IDC_FORE_OVERLAP));
    EXPECT_EQ(1u, Warnings().size());
}

// Each box writes its switch at once; only unticking grey asks for a fresh background. A size
// typed beyond the overlap limit unticks overlap without a word.
TEST_F(ForeImgPage, BoxesWriteAtOnceAndASizeBeyondTheLimitUnticksOverlapQuietly) {
    env.isoverlap = 1;
    Open();
    const struct { int id; uint8_t EnvSettings::*setting; int value; bool fresh; } clicks[] = {
        {IDC_FORE_BACKGRAY, &EnvSettings::isbackgray, 1, false}, {IDC_FORE_BACKGRAY, &EnvSettings::isbackgray, 0, true},
        {IDC_FORE_RANDOM, &EnvSettings::israndum, 1, false},     {IDC_FORE_SEQUENTIAL, &EnvSettings::israndum, 0, false},
        {IDC_FORE_NOTSTRETCH, &EnvSettings::notstrech, 1, false}};
    for (const auto& c : clicks) {
        pageComposer.freshAsked = false;
        Click(Item(c.id));
        EXPECT_EQ(c.value, env.*c.setting) << c.id;
        EXPECT_EQ(c.fresh, pageComposer.freshAsked) << c.id;
    }

    ASSERT_TRUE(Checked(IDC_FORE_OVERLAP));
    Type(IDC_FORE_SIZE, L"443");
    EXPECT_TRUE(Checked(IDC_FORE_OVERLAP));
    Type(IDC_FORE_SIZE, L"600");
    EXPECT_FALSE(Checked(IDC_FORE_OVERLAP));
    EXPECT_EQ(0, env.isoverlap);
    EXPECT_TRUE(Warnings().empty());
    EXPECT_EQ(400, env.picmaxsize) << "the size itself reaches stEnv only through the close check";
}

TEST_F(ForeImgPage, SecondsRewriteATooShortTimeAndSizeArrowsStepByTen) {
    env.changetime = 2;
    Open();
    Click(Item(IDC_FORE_SECONDS));
    EXPECT_EQ(1000, env.min_sec);
    EXPECT_EQ(L"3", Shown(IDC_FORE_CHANGETIME));
    EXPECT_EQ(fw::LoadText(IDS_UNIT_SECONDS), Shown(IDC_FORE_UNIT));

    Click(Item(IDC_FORE_MINUTES));
    EXPECT_EQ(60000, env.min_sec);
    EXPECT_EQ(fw::LoadText(IDS_UNIT_MINUTES), Shown(IDC_FORE_UNIT));
    Type(IDC_FORE_CHANGETIME, L"45");
    Click(Item(IDC_FORE_SECONDS));
    EXPECT_EQ(L"45", Shown(IDC_FORE_CHANGETIME));
    Type(IDC_FORE_CHANGETIME, L"");
    Click(Item(IDC_FORE_MINUTES));
    Click(Item(IDC_FORE_SECONDS));
    EXPECT_EQ(L"3", Shown(IDC_FORE_CHANGETIME)) << "an empty field counts as 0";

    // The size's arrows step by ten. What is typed first (nothing: the field as it is), the arrow key, what the field shows then.
    const struct { const wchar_t* typed; UINT key; const wchar_t* shown; } presses[] = {
        {nullptr, VK_UP, L"410"}, {nullptr, VK_DOWN, L"400"}, {L"405", VK_UP, L"415"},
        {L"755", VK_UP, L"760"},  // the range holds
        {L"1200", VK_UP, L"760"},  // no thousands separator, no overflow
    };
    for (const auto& p : presses) {
        if (p.typed) Type(IDC_FORE_SIZE, p.typed);
        ::SendMessageW(Item(IDC_FORE_SIZE), WM_KEYDOWN, p.key, 0);  // the up-down control answers
        ::SendMessageW(Item(IDC_FORE_SIZE), WM_KEYUP, p.key, 0);
        EXPECT_EQ(p.shown, Shown(IDC_FORE_SIZE)) << (p.typed ? p.typed : L"") << " " << p.key;
    }
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
    ExpectEnabled({IDC_FORE_OVERLAP}, {IDC_FORE_CLEARCOUNT, IDC_FORE_BACKGRAY});
}

TEST_F(ForeImgPage, ForegroundSwitchGovernsEveryPhotoControl) {
    env.imagepos = 0;
    env.isoverlap = 1;
    Open();
    EXPECT_FALSE(Enabled(IDC_FORE_OVERLAP)) << "the centre mode keeps overlap off";

    Click(Item(IDC_FORE_USE));
    EXPECT_EQ(0, env.isforeimg);
    EXPECT_TRUE(pageComposer.freshAsked);
    ExpectEnabled({}, {IDC_FORE_SIZE, IDC_FORE_SIZE_SPIN, IDC_FORE_NOTSTRETCH, IDC_FORE_MINUTES, IDC_FORE_SECONDS,
                       IDC_FORE_CHANGETIME, IDC_FORE_CHANGETIME_SPIN, IDC_FORE_SEQUENTIAL, IDC_FORE_RANDOM,
                       IDC_FORE_CENTRE, IDC_FORE_RANDOMPOS, IDC_FORE_USERPOS, IDC_FORE_POSEDIT, IDC_FORE_OVERLAP,
                       IDC_FORE_CLEARCOUNT, IDC_FORE_CLEARCOUNT_SPIN, IDC_FORE_BACKGRAY});

    pageComposer.freshAsked = false;
    Click(Item(IDC_FORE_USE));
    EXPECT_EQ(1, env.isforeimg);
    EXPECT_TRUE(pageComposer.freshAsked);
    // Overlap and the editor stay off in the centre mode.
    ExpectEnabled({IDC_FORE_SIZE, IDC_FORE_USERPOS}, {IDC_FORE_OVERLAP, IDC_FORE_POSEDIT});
}

TEST_F(ForeImgPage, PositionCountAndMap) {
    // The fourth was saved on a larger screen, wholly off this one.
    composer.ReplacePositions({{0, 0, 400, 300}, {600, 0, 1000, 300}, {300, 400, 700, 700}, {2000, 1000, 2400, 1300}});
    Open();
    EXPECT_EQ(fw::LoadText(IDS_POSITION_COUNT, 4), Shown(IDC_FORE_POSCOUNT));

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

// The editor hides the settings dialog until it closes; applied, the positions are taken, while the
// exit path closes it without applying and leaves the settings dialog hidden, as it is ending.
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
    EXPECT_EQ(fw::LoadText(IDS_POSITION_COUNT, 2), Shown(IDC_FORE_POSCOUNT));

    Click(Item(IDC_FORE_POSEDIT));
    ASSERT_NE(nullptr, page->PositionEditor());
    Click(page->PositionEditor()->GetDlgItem(IDC_IMGPOS_ADD));
    page->CloseOwnedWindows();
    Pump();
    EXPECT_EQ(nullptr, page->PositionEditor());
    EXPECT_EQ(2u, composer.Positions().size());
    EXPECT_FALSE(::IsWindowVisible(parent)) << "the settings dialog is ending: it is not shown again";
}

}  // namespace

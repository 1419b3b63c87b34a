// The calendar page as a real window: the font lists from the faces Wine enumerates, the stored
// faces, the previews' sizes and styles, the calendar switch and the colour swatches.

#include <set>

#include "settings_ui/set_calen.h"
#include "windows/page_fixture.h"

namespace {

using namespace page_testing;

struct Face {
    std::string name;
    DWORD type;
    BYTE charSet;
};

int CALLBACK Collect(const LOGFONTW* lf, const TEXTMETRICW*, DWORD type, LPARAM param) {
    reinterpret_cast<std::vector<Face>*>(param)->push_back({mb::Narrow(lf->lfFaceName), type, lf->lfCharSet});
    return 1;
}

std::vector<Face> EnumeratedFaces() {
    std::vector<Face> faces;
    fw::WindowDc screen(nullptr);
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(screen.get(), &all, Collect, reinterpret_cast<LPARAM>(&faces), 0);
    return faces;
}

class CalendarPage : public OnePageTest<CSetCalen> {
protected:
    void SetUp() override {
        PageTest::SetUp();
        env.iscalender = 1;
        env.ymfontname = "Tahoma";
        env.ddfontname = "Tahoma";
    }
    std::vector<std::string> Items(int id) const {
        HWND combo = ::GetDlgItem(hwnd, id);
        std::vector<std::string> items;
        int n = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            wchar_t text[LF_FACESIZE + 8] = {};
            ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            items.push_back(mb::Narrow(text));
        }
        return items;
    }
    std::string Selected(int id) const { return mb::Narrow(TextOf(Item(id))); }
    void Choose(int id, const std::string& face) {
        HWND combo = ::GetDlgItem(hwnd, id);
        LRESULT index = ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(mb::Widen(face).c_str()));
        ASSERT_NE(CB_ERR, index) << face;
        ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    static LOGFONTA Created(const CLabelStatic& label) {
        LOGFONTA lf{};
        ::GetObjectA(label.GetFont(), sizeof lf, &lf);
        return lf;
    }
};

TEST_F(CalendarPage, FontListsHoldExactlyTheFilteredFacesWineEnumerates) {
    ASSERT_NE(0, ::GetSystemMetrics(SM_DBCSENABLED)) << "the tests run in the Korean code page";
    Open();
    std::set<std::string> expected, rejected;
    for (const Face& f : EnumeratedFaces()) {
        if (IsCalendarFace(f.name, f.type, f.charSet, true)) expected.insert(f.name);
        else rejected.insert(f.name);
    }
    ASSERT_FALSE(expected.empty());
    for (int id : {IDC_CALEN_YM_FONT, IDC_CALEN_DAY_FONT}) {
        std::vector<std::string> items = Items(id);
        EXPECT_EQ(expected.size(), items.size());
        EXPECT_EQ(expected, std::set<std::string>(items.begin(), items.end())) << "each face once";
        for (const std::string& item : items) EXPECT_NE('@', item.front()) << item;
    }
    // What Wine offers beyond the filter never shows: vertical faces, bitmap fonts, other sets.
    size_t vertical = std::count_if(rejected.begin(), rejected.end(), [](const std::string& n) { return n[0] == '@'; });
    std::cout << "faces listed " << expected.size() << ", only rejected " << rejected.size() << " (vertical "
              << vertical << ")\n";
    std::vector<std::string> items = Items(IDC_CALEN_YM_FONT);
    for (const std::string& name : rejected) {
        if (expected.count(name)) continue;  // listed under another character set
        EXPECT_EQ(items.end(), std::find(items.begin(), items.end(), name)) << name;
    }
}

TEST_F(CalendarPage, PreviewsUseTwentyTwoAndTwelvePointsWithTheStoredFaces) {
    Open();
    const int dpi = ::GetDeviceCaps(fw::WindowDc(hwnd).get(), LOGPIXELSY);
    EXPECT_EQ("Tahoma", Selected(IDC_CALEN_YM_FONT));
    EXPECT_EQ("Tahoma", Selected(IDC_CALEN_DAY_FONT));
    LOGFONTA ym = Created(page->YearMonthPreview()), day = Created(page->DayPreview());
    EXPECT_STREQ("Tahoma", ym.lfFaceName);
    EXPECT_EQ(-::MulDiv(22, dpi, 72), ym.lfHeight);
    EXPECT_EQ(-::MulDiv(12, dpi, 72), day.lfHeight);
    if (dpi == 96) {
        EXPECT_EQ(-29, ym.lfHeight);
        EXPECT_EQ(-16, day.lfHeight);
    }
    EXPECT_EQ(DEFAULT_CHARSET, ym.lfCharSet);
    EXPECT_EQ(FW_NORMAL, ym.lfWeight);
    EXPECT_EQ(L"2006. ABCDE", TextOf(page->YearMonthPreview().GetSafeHwnd()));
}

TEST_F(CalendarPage, BoldAndItalicReachThePreviewsAndTheSettingsAndANewFaceKeepsThem) {
    env.isitalic2 = 1;
    Open();
    // Each preview's font as its own two switches say.
    const auto expectPreviews = [&](int step) {
        const LOGFONTA ym = Created(page->YearMonthPreview()), day = Created(page->DayPreview());
        EXPECT_EQ(env.isbold1 ? FW_BOLD : FW_NORMAL, ym.lfWeight) << step;
        EXPECT_EQ(env.isitalic1 != 0, ym.lfItalic != 0) << step;
        EXPECT_EQ(env.isbold2 ? FW_BOLD : FW_NORMAL, day.lfWeight) << step;
        EXPECT_EQ(env.isitalic2 != 0, day.lfItalic != 0) << step;
    };
    EXPECT_TRUE(Checked(hwnd, IDC_CALEN_DAY_ITALIC));
    expectPreviews(0);  // the stored italic shows at once
    // The box, the switch it sets and its value then, and where the focus goes (0: anywhere).
    const struct { int id; uint8_t EnvSettings::*setting; int value, focus; } clicks[] = {
        {IDC_CALEN_YM_BOLD, &EnvSettings::isbold1, 1, IDC_CALEN_YM_FONT},
        {IDC_CALEN_YM_ITALIC, &EnvSettings::isitalic1, 1, 0},
        {IDC_CALEN_DAY_BOLD, &EnvSettings::isbold2, 1, IDC_CALEN_DAY_FONT},
        {IDC_CALEN_DAY_ITALIC, &EnvSettings::isitalic2, 0, 0},
        {IDC_CALEN_YM_BOLD, &EnvSettings::isbold1, 0, IDC_CALEN_YM_FONT},
        {IDC_CALEN_YM_BOLD, &EnvSettings::isbold1, 1, IDC_CALEN_YM_FONT}};
    for (int step = 1; const auto& c : clicks) {
        Click(hwnd, c.id);
        EXPECT_EQ(c.value, env.*c.setting) << step;
        expectPreviews(step);
        if (c.focus) {
            EXPECT_EQ(Item(c.focus), ::GetFocus()) << step;
        }
        ++step;
    }

    // A new face keeps them.
    std::vector<std::string> items = Items(IDC_CALEN_YM_FONT);
    auto other = std::find_if(items.begin(), items.end(), [](const std::string& n) { return n != "Tahoma"; });
    ASSERT_NE(items.end(), other);
    Choose(IDC_CALEN_YM_FONT, *other);
    EXPECT_EQ(*other, env.ymfontname);
    LOGFONTA lf = Created(page->YearMonthPreview());
    EXPECT_EQ(*other, lf.lfFaceName);
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ("Tahoma", env.ddfontname);
}

TEST_F(CalendarPage, StoredNameSelectsTheFaceItBeginsOrTheExactOneAndAnUnknownOneNothing) {
    env.ymfontname = "taho";
    env.ddfontname = "No Such Face";
    Open();
    EXPECT_EQ("Tahoma", Selected(IDC_CALEN_YM_FONT));
    EXPECT_EQ("Tahoma", env.ymfontname);
    EXPECT_EQ(CB_ERR, ::SendMessageW(::GetDlgItem(hwnd, IDC_CALEN_DAY_FONT), CB_GETCURSEL, 0, 0));
    EXPECT_EQ("No Such Face", env.ddfontname);
    LOGFONTA stock{};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
    EXPECT_STREQ(stock.lfFaceName, Created(page->DayPreview()).lfFaceName);

    // A stored face is selected among longer names that begin with it.
    env.ymfontname = "DejaVu Sans";
    env.ddfontname = "dejavu sans mono";
    page->DestroyWindow();
    Open();
    std::vector<std::string> items = Items(IDC_CALEN_YM_FONT);
    if (std::find(items.begin(), items.end(), "DejaVu Sans Mono") == items.end()) GTEST_SKIP() << "no DejaVu";
    EXPECT_EQ("DejaVu Sans", Selected(IDC_CALEN_YM_FONT));
    EXPECT_EQ("DejaVu Sans Mono", Selected(IDC_CALEN_DAY_FONT));
    EXPECT_EQ("DejaVu Sans Mono", env.ddfontname) << "the list's spelling is taken";
}

// The switch enables the controls and the swatches wait for it; then each swatch edits its own
// colour without a fresh background.
TEST_F(CalendarPage, SwitchEnablesTheControlsAndEachSwatchEditsItsOwnColour) {
    env.iscalender = 0;
    env.yymmcolor = RGB(1, 0, 0);
    env.whitedaycolor = RGB(2, 0, 0);
    env.bluedaycolor = RGB(3, 0, 0);
    env.reddaycolor = RGB(4, 0, 0);
    Open();
    EXPECT_TRUE(Enabled(hwnd, IDC_CALEN_YM_COLOR)) << "enabled at first whatever the switch";
    prompts.colorAnswer = RGB(9, 8, 7);
    Click(hwnd, IDC_CALEN_YM_COLOR);
    EXPECT_TRUE(prompts.offeredColors.empty()) << "no colour dialog while the calendar is off";
    EXPECT_EQ(RGB(1, 0, 0), env.yymmcolor);

    Click(hwnd, IDC_CALEN_SHOW);
    EXPECT_EQ(1, env.iscalender);
    EXPECT_TRUE(pageComposer.freshAsked);
    Click(hwnd, IDC_CALEN_SHOW);
    EXPECT_EQ(0, env.iscalender);
    for (int id : {IDC_CALEN_YM_FONT, IDC_CALEN_DAY_FONT, IDC_CALEN_YM_BOLD, IDC_CALEN_DAY_BOLD, IDC_CALEN_YM_ITALIC,
                   IDC_CALEN_DAY_ITALIC, IDC_CALEN_YM_COLOR, IDC_CALEN_WEEKDAY_COLOR, IDC_CALEN_SATURDAY_COLOR,
                   IDC_CALEN_SUNDAY_COLOR})
        EXPECT_FALSE(Enabled(hwnd, id)) << id;
    Click(hwnd, IDC_CALEN_SHOW);
    EXPECT_TRUE(Enabled(hwnd, IDC_CALEN_SUNDAY_COLOR));

    pageComposer.freshAsked = false;
    struct Case { int id; COLORREF* option; COLORREF before; };
    for (Case c : {Case{IDC_CALEN_YM_COLOR, &env.yymmcolor, RGB(1, 0, 0)},
                   Case{IDC_CALEN_WEEKDAY_COLOR, &env.whitedaycolor, RGB(2, 0, 0)},
                   Case{IDC_CALEN_SATURDAY_COLOR, &env.bluedaycolor, RGB(3, 0, 0)},
                   Case{IDC_CALEN_SUNDAY_COLOR, &env.reddaycolor, RGB(4, 0, 0)}}) {
        EXPECT_EQ(c.before, page->Swatch(c.id).GetColor());
        prompts.colorAnswer = c.before + RGB(0, 0, 100);
        Click(hwnd, c.id);
        EXPECT_EQ(c.before, prompts.offeredColors.back());
        EXPECT_EQ(c.before + RGB(0, 0, 100), *c.option);
        EXPECT_EQ(*c.option, page->Swatch(c.id).GetColor());
    }
    prompts.colorAnswer.reset();
    Click(hwnd, IDC_CALEN_YM_COLOR);
    EXPECT_EQ(RGB(1, 0, 100), env.yymmcolor) << "cancel changes nothing";
    EXPECT_FALSE(pageComposer.freshAsked);
}

}  // namespace

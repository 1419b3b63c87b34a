// Pure rules of the image folders page, the miscellaneous page, the program list, the tinted
// list and the current images dialog.
#include <gtest/gtest.h>

#include "framework/mbstring.h"

#include <windows.h>
#include <commctrl.h>

#include <array>

#include "aux_windows/images_dlg.h"
#include "aux_windows/thumbnail.h"
#include "settings_ui/color_list_ctrl.h"
#include "settings_ui/program_list.h"
#include "settings_ui/set_etc.h"
#include "settings_ui/set_path.h"

namespace {

using Tokens = std::vector<std::string>;

TEST(HeadingTokens, SplitLikeStrtok) {
    EXPECT_EQ((Tokens{"alpha", "beta"}), SplitTokens(",,alpha,,beta,", ","));
    EXPECT_EQ((Tokens{" ", "program name"}), SplitTokens(" ,program name,", ","));
    EXPECT_EQ((Tokens{"a", "b", "c"}), SplitTokens("a;b,c", ",;"));
    EXPECT_EQ(Tokens{}, SplitTokens("", ","));
    EXPECT_EQ(Tokens{}, SplitTokens(",,,", ","));
    EXPECT_EQ(Tokens{"whole"}, SplitTokens("whole", ""));
}

TEST(RowTinting, OddRowsOnlyAndOnlyAtItemPrePaint) {
    EXPECT_EQ(CDRF_NOTIFYITEMDRAW, TintForStage(CDDS_PREPAINT, 0).answer);
    EXPECT_FALSE(TintForStage(CDDS_ITEMPREPAINT, 0).tinted);
    EXPECT_EQ(CDRF_DODEFAULT, TintForStage(CDDS_ITEMPREPAINT, 0).answer);
    EXPECT_TRUE(TintForStage(CDDS_ITEMPREPAINT, 1).tinted);
    EXPECT_EQ(CDRF_NEWFONT, TintForStage(CDDS_ITEMPREPAINT, 3).answer);
    EXPECT_FALSE(TintForStage(CDDS_ITEMPREPAINT, 4).tinted);
    EXPECT_EQ(CDRF_DODEFAULT, TintForStage(CDDS_POSTPAINT, 1).answer);
    EXPECT_FALSE(TintForStage(CDDS_ITEMPREPAINT | CDDS_SUBITEM, 1).tinted);
}

// In a 69 x 69 box: shrunk to fit keeping the shape (in whole hundredths), never enlarged, centred.
TEST(ThumbnailFit, PicturesShrinkToTheBoxKeepingTheirShapeAndNeverDivideByZero) {
    const struct {
        int width, height;
        ThumbnailRect fit;
        const char* what;
    } cases[] = {
        {35, 20, {17, 24, 35, 20}, "small: its own size in the middle"},
        {700, 350, {0, 17, 69, 34}, "wide: the box's width"},
        {350, 700, {17, 0, 34, 69}, "tall: shape 50 hundredths x 69, truncated"},
        {4000, 4000, {0, 0, 69, 69}, "square"},
        {0, -5, {34, 34, 1, 1}, "unreadable sides count as 1"},
        {1, 100000, {34, 0, 0, 69}, "needle: the shape rounds to 0 hundredths"},
        {100000, 1, {0, 34, 69, 0}, "ribbon"},
    };
    for (const auto& c : cases) {
        const ThumbnailRect fit = FitThumbnail(69, 69, c.width, c.height);
        EXPECT_EQ((std::array{c.fit.left, c.fit.top, c.fit.width, c.fit.height}),
                  (std::array{fit.left, fit.top, fit.width, fit.height}))
            << c.what;
    }
}

TEST(ExceptionText, NumberedWithABlankBeforeEachNumber) {
    EXPECT_EQ("", ExceptionProgramsText({}));
    EXPECT_EQ(" 1.A", ExceptionProgramsText({"A"}));
    EXPECT_EQ(" 1.A, 2.B, 3.C", ExceptionProgramsText({"A", "B", "C"}));
    EXPECT_EQ(" 1.A, 2.B, 3.C, 4.D", ExceptionProgramsText({"A", "B", "C", "D"}));
}

TEST(ProgramFilter, OnlyVisibleTitledUnownedRestoredWindowsOtherThanTheDesktop) {
    // Visible, owned or child, minimised, title.
    const ProgramWindow windows[] = {{false, false, false, "Notes - editor"}, {true, true, false, "Notes - editor"},
                                     {true, false, true, "Notes - editor"},   {true, false, false, ""},
                                     {true, false, false, "Program Manager"}};
    for (const ProgramWindow& w : windows)
        EXPECT_FALSE(IsChoosableProgram(w)) << w.visible << w.ownedOrChild << w.iconic << " " << w.title;
    EXPECT_TRUE(IsChoosableProgram({true, false, false, "Notes - editor"}));
    // An exact comparison: another program's title.
    EXPECT_TRUE(IsChoosableProgram({true, false, false, "program manager"}));
}

// Navigation keys are swallowed, others are not; the total is the sum of the count column; every
// entry keeps a row of path and count.
TEST(PathPage, NavigationKeysAreSwallowedTheCountsSummedAndEveryEntryKeepsARow) {
    for (int key : {VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_UP, VK_DOWN}) EXPECT_TRUE(IsListNavigationKey(key));
    for (WPARAM key : {WPARAM(VK_LEFT), WPARAM(VK_RIGHT), WPARAM(VK_RETURN), WPARAM(VK_TAB), WPARAM(VK_SPACE), WPARAM('A')})
        EXPECT_FALSE(IsListNavigationKey(key));

    EXPECT_EQ(0, SumOfCounts({}));
    EXPECT_EQ(15, SumOfCounts({"12", "3"}));
    EXPECT_EQ(12, SumOfCounts({"12", "", "many"}));  // no number counts 0
    EXPECT_EQ("0 pics", TotalText(0));
    EXPECT_EQ("1234 pics", TotalText(1234));
    EXPECT_EQ("1234 pics", TotalText(1234, 0, "cloud"));
    EXPECT_EQ("1234 pics (cloud 56)", TotalText(1234, 56, "cloud"));
    EXPECT_EQ("12 pics (cloud 2), " + mb::Narrow(L"\uB2E4\uC2DC \uBCF4\uC9C0 \uC54A\uAE30 3"),  // 다시 보지 않기
              TotalText(12, 2, "cloud", 3));

    EXPECT_EQ((Tokens{"c:\\photos", "12"}), RowOfEntry("c:\\photos,12"));
    EXPECT_EQ((Tokens{"c:\\no count", ""}), RowOfEntry("c:\\no count"));
    EXPECT_EQ((Tokens{"", ""}), RowOfEntry(""));
    EXPECT_EQ((Tokens{"c:\\a", "b", "3"}), RowOfEntry("c:\\a,b,3"));  // a comma in the path
}

TEST(CurrentImagesPaths, TheShellsDoubleTerminatedList) {
    const std::string longPath = "c:\\" + std::string(250, 'x') + "\\a.jpg";  // 259 bytes
    ASSERT_EQ(259u, longPath.size());
    const std::wstring list = ShellPathList(longPath);
    ASSERT_EQ(260u, list.size());  // the whole path and one terminator; c_str() adds the second
    EXPECT_EQ(L'g', list[258]);
    EXPECT_EQ(L'\0', list[259]);
    EXPECT_EQ(L'\0', list.c_str()[260]);
}

}  // namespace

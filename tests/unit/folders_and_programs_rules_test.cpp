// Pure rules of the image folders page, the miscellaneous page, the program list, the tinted
// list and the current images dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

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

TEST(ThumbnailFit, SmallPictureKeepsItsSizeInTheMiddle) {
    const ThumbnailRect fit = FitThumbnail(69, 69, 35, 20);
    EXPECT_EQ(35, fit.width);
    EXPECT_EQ(20, fit.height);
    EXPECT_EQ(17, fit.left);
    EXPECT_EQ(24, fit.top);
}

TEST(ThumbnailFit, WidePictureShrinksToTheBoxWidth) {
    const ThumbnailRect fit = FitThumbnail(69, 69, 700, 350);
    EXPECT_EQ(69, fit.width);
    EXPECT_EQ(34, fit.height);
    EXPECT_EQ(0, fit.left);
    EXPECT_EQ(17, fit.top);
}

TEST(ThumbnailFit, TallPictureShrinksToTheBoxHeight) {
    const ThumbnailRect fit = FitThumbnail(69, 69, 350, 700);
    EXPECT_EQ(69, fit.height);
    EXPECT_EQ(34, fit.width);  // shape 50 hundredths x 69, truncated
    EXPECT_EQ(17, fit.left);
    EXPECT_EQ(0, fit.top);
}

TEST(ThumbnailFit, SquareAndUnreadableSizes) {
    const ThumbnailRect square = FitThumbnail(69, 69, 4000, 4000);
    EXPECT_EQ(69, square.width);
    EXPECT_EQ(69, square.height);
    const ThumbnailRect unreadable = FitThumbnail(69, 69, 0, -5);  // counts as 1 x 1
    EXPECT_EQ(1, unreadable.width);
    EXPECT_EQ(1, unreadable.height);
    EXPECT_EQ(34, unreadable.left);
}

TEST(ThumbnailFit, ExtremeShapesNeverDivideByZero) {
    const ThumbnailRect needle = FitThumbnail(69, 69, 1, 100000);  // shape rounds to 0 hundredths
    EXPECT_EQ(69, needle.height);
    EXPECT_EQ(0, needle.width);
    const ThumbnailRect ribbon = FitThumbnail(69, 69, 100000, 1);
    EXPECT_EQ(69, ribbon.width);
    EXPECT_EQ(0, ribbon.height);
}

TEST(ExceptionText, NumberedWithABlankBeforeEachNumber) {
    EXPECT_EQ("", ExceptionProgramsText({}));
    EXPECT_EQ(" 1.A", ExceptionProgramsText({"A"}));
    EXPECT_EQ(" 1.A, 2.B, 3.C", ExceptionProgramsText({"A", "B", "C"}));
    EXPECT_EQ(" 1.A, 2.B, 3.C, 4.D", ExceptionProgramsText({"A", "B", "C", "D"}));
}

TEST(ProgramFilter, OnlyVisibleTitledUnownedRestoredWindowsOtherThanTheDesktop) {
    ProgramWindow editor{true, false, false, "Notes - editor"};
    EXPECT_TRUE(IsChoosableProgram(editor));
    ProgramWindow w = editor;
    w.visible = false;
    EXPECT_FALSE(IsChoosableProgram(w));
    w = editor;
    w.ownedOrChild = true;
    EXPECT_FALSE(IsChoosableProgram(w));
    w = editor;
    w.iconic = true;
    EXPECT_FALSE(IsChoosableProgram(w));
    w = editor;
    w.title.clear();
    EXPECT_FALSE(IsChoosableProgram(w));
    w = editor;
    w.title = "Program Manager";
    EXPECT_FALSE(IsChoosableProgram(w));
    w.title = "program manager";  // exact comparison: another program's title
    EXPECT_TRUE(IsChoosableProgram(w));
}

TEST(PathPageKeys, NavigationKeysAreSwallowedOthersAreNot) {
    for (int key : {VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_UP, VK_DOWN}) EXPECT_TRUE(IsListNavigationKey(key));
    for (WPARAM key : {WPARAM(VK_LEFT), WPARAM(VK_RIGHT), WPARAM(VK_RETURN), WPARAM(VK_TAB), WPARAM(VK_SPACE), WPARAM('A')})
        EXPECT_FALSE(IsListNavigationKey(key));
}

TEST(PathPageTotal, SumOfTheCountColumn) {
    EXPECT_EQ(0, SumOfCounts({}));
    EXPECT_EQ(15, SumOfCounts({"12", "3"}));
    EXPECT_EQ(12, SumOfCounts({"12", "", "many"}));  // no number counts 0
    EXPECT_EQ("0 pics", TotalText(0));
    EXPECT_EQ("1234 pics", TotalText(1234));
}

TEST(PathPageRows, EveryEntryKeepsARowOfPathAndCount) {
    EXPECT_EQ((Tokens{"c:\\photos", "12"}), RowOfEntry("c:\\photos,12"));
    EXPECT_EQ((Tokens{"c:\\no count", ""}), RowOfEntry("c:\\no count"));
    EXPECT_EQ((Tokens{"", ""}), RowOfEntry(""));
    EXPECT_EQ((Tokens{"c:\\a", "b", "3"}), RowOfEntry("c:\\a,b,3"));  // a comma in the path
}

TEST(CurrentImagesPaths, FileNameAndTheShellsDoubleTerminatedList) {
    EXPECT_EQ("beach.jpg", FileNameOfPath("c:\\photos\\summer\\beach.jpg"));
    EXPECT_EQ("loose.png", FileNameOfPath("loose.png"));
    EXPECT_EQ("", FileNameOfPath("c:\\photos\\"));

    const std::string longPath = "c:\\" + std::string(250, 'x') + "\\a.jpg";  // 259 bytes
    ASSERT_EQ(259u, longPath.size());
    const std::wstring list = ShellPathList(longPath);
    ASSERT_EQ(260u, list.size());  // the whole path and one terminator; c_str() adds the second
    EXPECT_EQ(L'g', list[258]);
    EXPECT_EQ(L'\0', list[259]);
    EXPECT_EQ(L'\0', list.c_str()[260]);
}

}  // namespace

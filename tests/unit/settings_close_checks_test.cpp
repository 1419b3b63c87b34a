// The checks the settings window runs on its close box: order, exact messages, the image size
// limit of the screen, and what is already taken when a later check refuses.

#include <gtest/gtest.h>

#include "framework/texts.h"
#include "resource.h"
#include "settings_ui/close_checks.h"

namespace {

const std::wstring kEmptyTime = fw::LoadText(IDS_EMPTY_CHANGETIME);
const std::wstring kTooShort = fw::LoadText(IDS_CHANGETIME_TOO_SHORT);
const std::wstring kImageSize760 = fw::LoadText(IDS_IMAGE_SIZE_RANGE, 760);
const std::wstring kFrame = fw::LoadText(IDS_FRAME_SIZE_WRONG);

class CloseChecks : public ::testing::Test {
protected:
    EnvSettings env;
    CloseCheckFields fields{"15", "7", "400", "5"};

    void SetUp() override {
        env.min_sec = 1000;
        env.changetime = env.piccleartotalcnt = env.picmaxsize = env.framesize = -1;
    }
    CloseCheckOutcome Run(int screenWidth = 1024) { return RunCloseChecks(fields, screenWidth, env); }
};

TEST_F(CloseChecks, ValidFieldsAreAllTaken) {
    const CloseCheckOutcome out = Run();
    EXPECT_TRUE(out.accepted());
    EXPECT_TRUE(out.message.empty());
    EXPECT_EQ(15, env.changetime);
    EXPECT_EQ(7, env.piccleartotalcnt);
    EXPECT_EQ(400, env.picmaxsize);
    EXPECT_EQ(5, env.framesize);
}

TEST_F(CloseChecks, EmptyChangeTimeRefusesFirstEvenWithEverythingElseValid) {
    fields.changeTime.clear();
    const CloseCheckOutcome out = Run();
    EXPECT_EQ(CloseCheckFailure::EmptyChangeTime, out.failure);
    EXPECT_EQ(kEmptyTime, out.message);
    EXPECT_EQ(1, out.page);
    EXPECT_EQ(CheckedField::None, out.field);  // only the page is shown
    EXPECT_EQ(-1, env.changetime);
    EXPECT_EQ(-1, env.picmaxsize);
}

TEST_F(CloseChecks, ChangeTimeInSecondsNeedsThree) {
    fields.changeTime = "2";
    CloseCheckOutcome out = Run();
    EXPECT_EQ(CloseCheckFailure::ChangeTimeTooShort, out.failure);
    EXPECT_EQ(kTooShort, out.message);
    EXPECT_EQ(CheckedField::ChangeTime, out.field);
    EXPECT_EQ(-1, env.changetime);

    fields.changeTime = "3";
    EXPECT_TRUE(Run().accepted());
    EXPECT_EQ(3, env.changetime);
}

TEST_F(CloseChecks, ChangeTimeInMinutesNeedsOneMinute) {
    env.min_sec = 60000;
    fields.changeTime = "2";
    EXPECT_TRUE(Run().accepted());
    EXPECT_EQ(2, env.changetime);
    fields.changeTime = "1";
    EXPECT_TRUE(Run().accepted());
    // No interval at all would compose without pause.
    fields.changeTime = "0";
    EXPECT_EQ(CloseCheckFailure::ChangeTimeTooShort, Run().failure);
}

TEST_F(CloseChecks, ImageSizeAboveTheLimitIsRewrittenToTheLimit) {
    fields.imageSize = "770";
    const CloseCheckOutcome out = Run(1024);
    EXPECT_EQ(CloseCheckFailure::ImageSize, out.failure);
    EXPECT_EQ(kImageSize760, out.message);
    EXPECT_EQ(1, out.page);
    EXPECT_EQ(CheckedField::ImageSize, out.field);
    EXPECT_TRUE(out.rewriteField);
    EXPECT_EQ("760", out.fieldText);
    // The checks before it have already taken their values; the later ones have not run.
    EXPECT_EQ(15, env.changetime);
    EXPECT_EQ(7, env.piccleartotalcnt);
    EXPECT_EQ(-1, env.picmaxsize);
    EXPECT_EQ(-1, env.framesize);

    fields.imageSize = out.fieldText;
    EXPECT_TRUE(Run(1024).accepted());
    EXPECT_EQ(760, env.picmaxsize);
}

TEST_F(CloseChecks, ImageSizeBounds) {
    fields.imageSize = "199";
    EXPECT_EQ(CloseCheckFailure::ImageSize, Run().failure);
    fields.imageSize = "200";
    EXPECT_TRUE(Run().accepted());
    fields.imageSize = "";
    EXPECT_EQ(CloseCheckFailure::ImageSize, Run().failure);
    fields.imageSize = "0";
    EXPECT_EQ(CloseCheckFailure::ImageSize, Run().failure);
}

TEST_F(CloseChecks, LimitIsTheLargestPhotoSizeForTheScreen) {
    fields.imageSize = "1441";
    const CloseCheckOutcome out = Run(1920);
    EXPECT_EQ("1440", out.fieldText);
    EXPECT_NE(std::wstring::npos, out.message.find(L":1440"));
}

TEST_F(CloseChecks, FrameThicknessFromOneToFifty) {
    for (const char* refused : {"0", "51", "-3", "x"}) {
        fields.frameSize = refused;
        const CloseCheckOutcome out = Run();
        EXPECT_EQ(CloseCheckFailure::FrameSize, out.failure) << refused;
        EXPECT_EQ(kFrame, out.message);
        EXPECT_EQ(2, out.page);
        EXPECT_EQ(CheckedField::FrameSize, out.field);
        EXPECT_FALSE(out.rewriteField);
    }
    EXPECT_EQ(400, env.picmaxsize);  // taken before the frame refused
    EXPECT_EQ(-1, env.framesize);
    for (const char* accepted : {"1", "50"}) {
        fields.frameSize = accepted;
        EXPECT_TRUE(Run().accepted()) << accepted;
    }
    EXPECT_EQ(50, env.framesize);
}

TEST_F(CloseChecks, NumbersAreReadAsTheRuntimeReadsThem) {
    fields = {"12abc", "", "300px", " 7"};
    EXPECT_TRUE(Run().accepted());
    EXPECT_EQ(12, env.changetime);
    EXPECT_EQ(0, env.piccleartotalcnt);  // taken without a check
    EXPECT_EQ(300, env.picmaxsize);
    EXPECT_EQ(7, env.framesize);

    fields.changeTime = "abc";  // not empty, but no digits: zero seconds
    EXPECT_EQ(CloseCheckFailure::ChangeTimeTooShort, Run().failure);
}

TEST_F(CloseChecks, AMissingPageDoesNotLockTheWindow) {
    fields = {"", "", "", ""};
    fields.photographsPagePresent = false;
    EXPECT_EQ(CloseCheckFailure::FrameSize, Run().failure);
    fields.effectsPagePresent = false;
    EXPECT_TRUE(Run().accepted());
    EXPECT_EQ(-1, env.changetime);
}

}  // namespace

// The checks the settings window runs on its close box: order, exact messages, the image size
// limit of the screen, and what is already taken when a later check refuses.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

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
    // What the checks have taken: changetime, piccleartotalcnt, picmaxsize, framesize (-1: not yet).
    std::array<int, 4> Taken() const { return {env.changetime, env.piccleartotalcnt, env.picmaxsize, env.framesize}; }
    using Values = std::array<int, 4>;
};

TEST_F(CloseChecks, ValidFieldsAreAllTaken) {
    const CloseCheckOutcome out = Run();
    EXPECT_TRUE(out.accepted());
    EXPECT_TRUE(out.message.empty());
    EXPECT_EQ((Values{15, 7, 400, 5}), Taken());
}

TEST_F(CloseChecks, EmptyChangeTimeRefusesFirstEvenWithEverythingElseValid) {
    fields.changeTime.clear();
    const CloseCheckOutcome out = Run();
    EXPECT_EQ(CloseCheckFailure::EmptyChangeTime, out.failure);
    EXPECT_EQ(kEmptyTime, out.message);
    EXPECT_EQ(1, out.page);
    EXPECT_EQ(CheckedField::None, out.field);  // only the page is shown
    EXPECT_EQ((Values{-1, -1, -1, -1}), Taken());
}

// Seconds need at least three; minutes at least one, as no interval at all would compose without
// pause.
TEST_F(CloseChecks, ChangeTimeNeedsThreeSecondsOrOneMinute) {
    fields.changeTime = "2";
    CloseCheckOutcome out = Run();
    EXPECT_EQ(CloseCheckFailure::ChangeTimeTooShort, out.failure);
    EXPECT_EQ(kTooShort, out.message);
    EXPECT_EQ(CheckedField::ChangeTime, out.field);
    EXPECT_EQ(-1, env.changetime);
    const struct {
        int unit;
        const char* text;
        bool accepted;
    } cases[] = {{1000, "3", true}, {60000, "2", true}, {60000, "1", true}, {60000, "0", false}};
    for (const auto& c : cases) {
        env.min_sec = c.unit;
        fields.changeTime = c.text;
        EXPECT_EQ(c.accepted, Run().accepted()) << c.text << " x " << c.unit;
        if (c.accepted) {
            EXPECT_EQ(std::atoi(c.text), env.changetime);
        }
    }
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
    EXPECT_EQ((Values{15, 7, -1, -1}), Taken());

    fields.imageSize = out.fieldText;
    EXPECT_TRUE(Run(1024).accepted());
    EXPECT_EQ(760, env.picmaxsize);
}

TEST_F(CloseChecks, ImageSizeFrom200ToTheLargestPhotoSizeForTheScreen) {
    for (const char* size : {"199", "", "0", "200"}) {
        fields.imageSize = size;
        EXPECT_EQ(size == std::string("200") ? CloseCheckFailure::None : CloseCheckFailure::ImageSize, Run().failure)
            << size;
    }
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
    EXPECT_EQ((Values{12, 0, 300, 7}), Taken());  // the count is taken without a check

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

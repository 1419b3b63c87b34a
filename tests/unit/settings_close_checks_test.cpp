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

// Each refusal: its exact message, the page and field it shows, the text it writes back into the
// field, and what the checks before it have already taken (the later ones have not run).
TEST_F(CloseChecks, ARefusalShowsItsPageAndFieldAndKeepsWhatEarlierChecksTook) {
    using F = CloseCheckFailure;
    const struct {
        const char* what;
        CloseCheckFields fields;
        F failure;
        const std::wstring& message;
        int page;
        CheckedField field;
        const char* rewritten;  // nullptr: the field is left as typed
        Values taken;
    } cases[] = {
        {"empty change time, all else valid", {"", "7", "400", "5"}, F::EmptyChangeTime, kEmptyTime, 1,
         CheckedField::None, nullptr, {-1, -1, -1, -1}},  // only the page is shown
        {"two seconds", {"2", "7", "400", "5"}, F::ChangeTimeTooShort, kTooShort, 1, CheckedField::ChangeTime, nullptr,
         {-1, -1, -1, -1}},
        {"image size above the limit", {"15", "7", "770", "5"}, F::ImageSize, kImageSize760, 1, CheckedField::ImageSize,
         "760", {15, 7, -1, -1}},
        {"frame 0", {"15", "7", "400", "0"}, F::FrameSize, kFrame, 2, CheckedField::FrameSize, nullptr, {15, 7, 400, -1}},
        {"frame 51", {"15", "7", "400", "51"}, F::FrameSize, kFrame, 2, CheckedField::FrameSize, nullptr, {15, 7, 400, -1}},
        {"frame -3", {"15", "7", "400", "-3"}, F::FrameSize, kFrame, 2, CheckedField::FrameSize, nullptr, {15, 7, 400, -1}},
        {"frame x", {"15", "7", "400", "x"}, F::FrameSize, kFrame, 2, CheckedField::FrameSize, nullptr, {15, 7, 400, -1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        fields = c.fields;
        const CloseCheckOutcome out = Run();
        EXPECT_EQ(c.failure, out.failure);
        EXPECT_EQ(c.message, out.message);
        EXPECT_EQ(c.page, out.page);
        EXPECT_EQ(c.field, out.field);
        EXPECT_EQ(c.rewritten != nullptr, out.rewriteField);
        if (c.rewritten) {
            EXPECT_EQ(c.rewritten, out.fieldText);
        }
        EXPECT_EQ(c.taken, Taken());
    }
}

// Seconds need at least three; minutes at least one, as no interval at all would compose without
// pause. The image size runs from 200 to the largest photo size for the screen, the frame from 1 to 50.
TEST_F(CloseChecks, TheBoundsOfTheIntervalTheImageSizeAndTheFrame) {
    const struct {
        int unit;
        const char* text;
        bool accepted;
    } times[] = {{1000, "2", false}, {1000, "3", true}, {60000, "2", true}, {60000, "1", true}, {60000, "0", false}};
    for (const auto& c : times) {
        env.min_sec = c.unit;
        fields.changeTime = c.text;
        EXPECT_EQ(c.accepted, Run().accepted()) << c.text << " x " << c.unit;
        if (c.accepted) {
            EXPECT_EQ(std::atoi(c.text), env.changetime);
        }
    }
    fields.changeTime = "15";
    for (const char* size : {"199", "", "0", "200", "760"}) {
        fields.imageSize = size;
        EXPECT_EQ(std::atoi(size) >= 200 ? CloseCheckFailure::None : CloseCheckFailure::ImageSize, Run().failure) << size;
    }
    EXPECT_EQ(760, env.picmaxsize) << "the size the refusal wrote back is taken";
    fields.imageSize = "1441";
    const CloseCheckOutcome out = Run(1920);
    EXPECT_EQ("1440", out.fieldText);
    EXPECT_NE(std::wstring::npos, out.message.find(L":1440"));
    fields.imageSize = "400";
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

#include "settings_ui/close_checks.h"

#include <cstdlib>

#include "composer/placement.h"
#include "framework/texts.h"
#include "resource.h"

namespace {

constexpr int kPhotographsPage = 1;
constexpr int kEffectsPage = 2;
constexpr int kMinImageSize = 200;
constexpr int kMaxFrameSize = 50;

int FieldValue(const std::string& text) { return std::atoi(text.c_str()); }

CloseCheckOutcome Refuse(CloseCheckFailure failure, int page, CheckedField field, std::wstring message) {
    return {failure, page, field, std::move(message)};
}

// Seconds need at least 3; minutes at least 1, since 0 would compose without pause.
bool ChangeTimeTooShort(int value, int minSec) { return minSec == 1000 ? value < 3 : value < 1; }

CloseCheckOutcome CheckPhotographsPage(const CloseCheckFields& fields, int screenWidth, EnvSettings& env);
CloseCheckOutcome CheckEffectsPage(const CloseCheckFields& fields, EnvSettings& env);

}  // namespace

CloseCheckOutcome RunCloseChecks(const CloseCheckFields& fields, int screenWidth, EnvSettings& env) {
    if (fields.photographsPagePresent) {
        CloseCheckOutcome out = CheckPhotographsPage(fields, screenWidth, env);
        if (!out.accepted()) return out;
    }
    if (fields.effectsPagePresent) return CheckEffectsPage(fields, env);
    return {};
}

namespace {

CloseCheckOutcome CheckPhotographsPage(const CloseCheckFields& fields, int screenWidth, EnvSettings& env) {
    if (fields.changeTime.empty())
        return Refuse(CloseCheckFailure::EmptyChangeTime, kPhotographsPage, CheckedField::None,
                      fw::LoadText(IDS_EMPTY_CHANGETIME));
    const int changeTime = FieldValue(fields.changeTime);
    if (ChangeTimeTooShort(changeTime, env.min_sec))
        return Refuse(CloseCheckFailure::ChangeTimeTooShort, kPhotographsPage, CheckedField::ChangeTime,
                      fw::LoadText(IDS_CHANGETIME_TOO_SHORT));
    env.changetime = changeTime;
    env.piccleartotalcnt = FieldValue(fields.clearCount);

    const int limit = MaxPhotoSizeForScreen(screenWidth);
    const int imageSize = FieldValue(fields.imageSize);
    if (imageSize == 0 || imageSize < kMinImageSize || imageSize > limit) {
        CloseCheckOutcome out = Refuse(CloseCheckFailure::ImageSize, kPhotographsPage, CheckedField::ImageSize,
                                       fw::LoadText(IDS_IMAGE_SIZE_RANGE, limit));
        out.rewriteField = true;
        out.fieldText = std::to_string(limit);
        return out;
    }
    env.picmaxsize = imageSize;
    return {};
}

CloseCheckOutcome CheckEffectsPage(const CloseCheckFields& fields, EnvSettings& env) {
    const int frameSize = FieldValue(fields.frameSize);
    if (frameSize < 1 || frameSize > kMaxFrameSize)
        return Refuse(CloseCheckFailure::FrameSize, kEffectsPage, CheckedField::FrameSize,
                      fw::LoadText(IDS_FRAME_SIZE_WRONG));
    env.framesize = frameSize;
    return {};
}

}  // namespace

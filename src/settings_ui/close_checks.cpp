#include "settings_ui/close_checks.h"

#include <cstdlib>

#include "resource.h"

namespace {

constexpr int kPhotographsPage = 1;
constexpr int kEffectsPage = 2;
constexpr int kMinImageSize = 200;
constexpr int kMaxFrameSize = 50;

int FieldValue(const std::string& text) { return std::atoi(text.c_str()); }

CloseCheckOutcome Refuse(CloseCheckFailure failure, int page, int field, std::wstring message) {
    CloseCheckOutcome out;
    out.failure = failure;
    out.page = page;
    out.field = field;
    out.message = std::move(message);
    return out;
}

// Seconds need at least 3; minutes at least 1, since 0 would compose without pause.
bool ChangeTimeTooShort(int value, int minSec) { return minSec == 1000 ? value < 3 : value < 1; }

CloseCheckOutcome CheckPhotographsPage(const CloseCheckFields& fields, int screenWidth, EnvSettings& env);
CloseCheckOutcome CheckEffectsPage(const CloseCheckFields& fields, EnvSettings& env);

}  // namespace

const wchar_t kCloseCheckCaption[] = L"Dioramix\uC124\uC815";  // Dioramix설정

int ImageSizeLimit(int screenWidth) { return (3 * screenWidth) / 4 / 10 * 10; }

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
        return Refuse(CloseCheckFailure::EmptyChangeTime, kPhotographsPage, 0,
                      L"\uD0C0\uC784\uC744 \uB123\uC5B4\uC8FC\uC138\uC694!");  // 타임을 넣어주세요!
    const int changeTime = FieldValue(fields.changeTime);
    if (ChangeTimeTooShort(changeTime, env.min_sec))
        return Refuse(CloseCheckFailure::ChangeTimeTooShort, kPhotographsPage, IDC_FORE_CHANGETIME,
                      // 변경타임 간격은 최소 3초이상입니다!
                      L"\uBCC0\uACBD\uD0C0\uC784 \uAC04\uACA9\uC740 \uCD5C\uC18C 3\uCD08\uC774\uC0C1\uC785\uB2C8\uB2E4!");
    env.changetime = changeTime;
    env.piccleartotalcnt = FieldValue(fields.clearCount);

    const int limit = ImageSizeLimit(screenWidth);
    const int imageSize = FieldValue(fields.imageSize);
    if (imageSize == 0 || imageSize < kMinImageSize || imageSize > limit) {
        // 이미지크기를 최소:200이상, 최대:%d이하로 설정바랍니다!
        CloseCheckOutcome out = Refuse(
            CloseCheckFailure::ImageSize, kPhotographsPage, IDC_FORE_SIZE,
            L"\uC774\uBBF8\uC9C0\uD06C\uAE30\uB97C \uCD5C\uC18C:200\uC774\uC0C1, \uCD5C\uB300:" + std::to_wstring(limit) +
                L"\uC774\uD558\uB85C \uC124\uC815\uBC14\uB78D\uB2C8\uB2E4!");
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
        return Refuse(CloseCheckFailure::FrameSize, kEffectsPage, IDC_EFFECT_FRAMESIZE,
                      // 프레임Size 지정이 잘못됐습니다!
                      L"\uD504\uB808\uC784Size \uC9C0\uC815\uC774 \uC798\uBABB\uB410\uC2B5\uB2C8\uB2E4!");
    env.framesize = frameSize;
    return {};
}

}  // namespace

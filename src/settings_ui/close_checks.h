#pragma once
// The checks the settings dialog runs when the user closes it: the four typed numbers of the
// photographs and effects pages are validated in order and taken into the settings record.

#include <string>

#include "state/settings.h"

// The typed numbers the checks read, each held by a field of its page.
enum class CheckedField { None, ChangeTime, ClearCount, ImageSize, FrameSize };

// The field texts the checks read, as the user left them.
struct CloseCheckFields {
    std::string changeTime;  // photographs page
    std::string clearCount;  // photographs page
    std::string imageSize;   // photographs page
    std::string frameSize;   // effects page
    // A page whose window could not be made has nothing to check; it must not lock the window.
    bool photographsPagePresent = true;
    bool effectsPagePresent = true;
};

enum class CloseCheckFailure { None, EmptyChangeTime, ChangeTimeTooShort, ImageSize, FrameSize };

struct CloseCheckOutcome {
    CloseCheckFailure failure = CloseCheckFailure::None;
    int page = -1;             // index of the page holding the refused field
    CheckedField field = CheckedField::None;  // the field to focus
    std::wstring message;      // text of the refusal's message box
    bool rewriteField = false;  // the field's text is to become `fieldText`
    std::string fieldText;

    bool accepted() const { return failure == CloseCheckFailure::None; }
};

// Runs the checks in order and stops at the first refusal. Values that passed before it are
// already stored in `env` (changetime, piccleartotalcnt, picmaxsize, framesize).
CloseCheckOutcome RunCloseChecks(const CloseCheckFields& fields, int screenWidth, EnvSettings& env);

#pragma once
// The hotkeys of the verbs as env.ini keeps them: the hotkey control's word (the virtual key in
// the low byte, HOTKEYF_SHIFT/CONTROL/ALT in the high byte), 0 for none.

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "state/settings.h"

// In the order of the page's controls and the registration ids.
enum class HotkeyVerb { Next, Back, PauseOrResume, Ban, Keep };
inline constexpr size_t kHotkeyCount = 5;

int32_t& HotkeyOf(EnvSettings& env, HotkeyVerb verb);
int32_t HotkeyOf(const EnvSettings& env, HotkeyVerb verb);

// RegisterHotKey's modifiers (MOD_NOREPEAT included: a held key is one verb) and key of a word.
struct HotkeyRegistration {
    UINT modifiers = 0;
    UINT key = 0;
};
HotkeyRegistration RegistrationOf(int32_t word);
// A word the program registers: a key with Ctrl or Alt, and not Ctrl+Alt with an arrow, which
// graphics drivers take for turning the screen.
bool IsUsableHotkey(int32_t word);

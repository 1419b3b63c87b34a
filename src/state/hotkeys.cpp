#include "state/hotkeys.h"

#include <commctrl.h>

namespace {

int32_t EnvSettings::*MemberOf(HotkeyVerb verb) {
    switch (verb) {
        case HotkeyVerb::Next: return &EnvSettings::hotkeynext;
        case HotkeyVerb::Back: return &EnvSettings::hotkeyback;
        case HotkeyVerb::PauseOrResume: return &EnvSettings::hotkeypause;
        case HotkeyVerb::Ban: return &EnvSettings::hotkeyban;
        case HotkeyVerb::Keep: break;
    }
    return &EnvSettings::hotkeykeep;
}

}  // namespace

int32_t& HotkeyOf(EnvSettings& env, HotkeyVerb verb) { return env.*MemberOf(verb); }
int32_t HotkeyOf(const EnvSettings& env, HotkeyVerb verb) { return env.*MemberOf(verb); }

HotkeyRegistration RegistrationOf(int32_t word) {
    const UINT flags = (static_cast<UINT>(word) >> 8) & 0xFF;
    HotkeyRegistration registration{MOD_NOREPEAT, static_cast<UINT>(word) & 0xFF};
    if (flags & HOTKEYF_SHIFT) registration.modifiers |= MOD_SHIFT;
    if (flags & HOTKEYF_CONTROL) registration.modifiers |= MOD_CONTROL;
    if (flags & HOTKEYF_ALT) registration.modifiers |= MOD_ALT;
    return registration;
}

bool IsUsableHotkey(int32_t word) {
    if (word <= 0 || word > 0xFFFF) return false;
    const HotkeyRegistration r = RegistrationOf(word);
    if (r.key == 0 || !(r.modifiers & (MOD_CONTROL | MOD_ALT))) return false;
    const bool arrow = r.key == VK_LEFT || r.key == VK_RIGHT || r.key == VK_UP || r.key == VK_DOWN;
    return !(arrow && (r.modifiers & MOD_CONTROL) && (r.modifiers & MOD_ALT));
}

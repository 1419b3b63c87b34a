#include "settings_ui/set_etc.h"

#include <commctrl.h>

#include "framework/texts.h"
#include "resource.h"
#include "settings_ui/program_list.h"

const fw::Handler<CSetEtc> CSetEtc::kHandlers[] = {
    fw::OnCommand(IDC_ETC_AUTOSTART, &CSetEtc::OnAutostart, BN_CLICKED),
    fw::OnCommand(IDC_ETC_SHOWPATH, &CSetEtc::OnShowPath, BN_CLICKED),
    fw::OnCommand(IDC_ETC_MAXWINSTOP, &CSetEtc::OnStopWhileActive, BN_CLICKED),
    fw::OnCommand(IDC_ETC_IPTOOLTIP, &CSetEtc::OnAddressTooltip, BN_CLICKED),
    fw::OnCommand(IDC_ETC_WEEKDAY, &CSetEtc::OnWeekdayIcon, BN_CLICKED),
    fw::OnCommand(IDC_ETC_MEMORY, &CSetEtc::OnMemory, BN_CLICKED),
    fw::OnCommand(IDC_ETC_MULTIMONITOR, &CSetEtc::OnPicturePerMonitor, BN_CLICKED),
    fw::OnCommand(IDC_ETC_CHOOSE_PROGRAMS, &CSetEtc::OnChoosePrograms, BN_CLICKED),
    fw::OnCommand(IDC_ETC_CLEAR_PROGRAMS, &CSetEtc::OnClearPrograms, BN_CLICKED),
    fw::OnCommand(IDC_ETC_FAVORITESONLY, &CSetEtc::OnFavouritesOnly, BN_CLICKED),
    fw::OnCommand(IDC_ETC_HOTKEY_NEXT, &CSetEtc::OnHotkeyNext, EN_CHANGE),
    fw::OnCommand(IDC_ETC_HOTKEY_BACK, &CSetEtc::OnHotkeyBack, EN_CHANGE),
    fw::OnCommand(IDC_ETC_HOTKEY_PAUSE, &CSetEtc::OnHotkeyPause, EN_CHANGE),
    fw::OnCommand(IDC_ETC_HOTKEY_BAN, &CSetEtc::OnHotkeyBan, EN_CHANGE),
    fw::OnCommand(IDC_ETC_HOTKEY_KEEP, &CSetEtc::OnHotkeyKeep, EN_CHANGE),
};

std::string ExceptionProgramsText(const OutProgramList& programs) {
    std::string text;
    for (size_t i = 0; i < programs.size(); ++i) {
        if (i > 0) text += ",";
        text += " " + std::to_string(i + 1) + "." + programs[i];
    }
    return text;
}

CSetEtc::CSetEtc(SettingsContext& context) : CSettingsPageImpl(IDD_SET_ETC, context) {}

CSetEtc::~CSetEtc() = default;

BOOL CSetEtc::OnInitDialog() {
    m_programs.SubclassDlgItem(IDC_ETC_PROGRAMS, m_hwnd);

    SetChecked(IDC_ETC_AUTOSTART, m_context.startWithWindows.IsOn());
    SetChecked(IDC_ETC_MAXWINSTOP, m_pEnv->maxwinstop != 0);
    ShowStopWhileActive(m_pEnv->maxwinstop != 0);
    SetChecked(IDC_ETC_SHOWPATH, m_pEnv->ispath != 0);
    SetChecked(IDC_ETC_IPTOOLTIP, m_pEnv->isiptooltip != 0);
    SetChecked(IDC_ETC_WEEKDAY, m_pEnv->isweekday != 0);
    SetChecked(IDC_ETC_MEMORY, m_pEnv->rememory != 0);
    SetChecked(IDC_ETC_MULTIMONITOR, m_pEnv->multimonitor != 0);
    SetChecked(IDC_ETC_FAVORITESONLY, m_pEnv->favoritesonly != 0);
    for (size_t i = 0; i < kHotkeyCount; ++i) {
        const auto verb = static_cast<HotkeyVerb>(i);
        const UINT id = IDC_ETC_HOTKEY_NEXT + static_cast<UINT>(i);
        m_registeredHotkeys[i] = HotkeyOf(*m_pEnv, verb);
        // A combination without Ctrl or Alt would take a key from every program.
        ::SendDlgItemMessageW(m_hwnd, id, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
        ::SendDlgItemMessageW(m_hwnd, id, HKM_SETHOTKEY, static_cast<WPARAM>(m_registeredHotkeys[i]), 0);
        ShowHotkeyTaken(verb);
    }
    ShowPrograms();
    return TRUE;
}

void CSetEtc::CloseOwnedWindows() {
    if (m_pProgramList && m_pProgramList->IsWindow()) m_pProgramList->EndDialog(IDCANCEL);
}

void CSetEtc::DpiChanged(UINT oldDpi, UINT newDpi) {
    CSettingsPage::DpiChanged(oldDpi, newDpi);
    m_programs.DpiChanged(oldDpi, newDpi);
}

void CSetEtc::ShowStopWhileActive(bool on) {
    m_programs.SetBkColor(::GetSysColor(on ? COLOR_BTNHIGHLIGHT : COLOR_BTNFACE));
    m_programs.SetTextColor(::GetSysColor(on ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
    Enable({IDC_ETC_CHOOSE_PROGRAMS, IDC_ETC_CLEAR_PROGRAMS}, on);
}

void CSetEtc::ShowPrograms() { SetDlgItemText(IDC_ETC_PROGRAMS, ExceptionProgramsText(m_context.outPrograms)); }

// ---- Handlers -----------------------------------------------------------------------------------

void CSetEtc::OnAutostart() {
    // The box stays as the user set it, also when the registry refuses.
    if (!m_context.startWithWindows.Set(IsChecked(IDC_ETC_AUTOSTART)))
        Prompts().ShowMessage(m_hwnd, fw::LoadText(IDS_SETTING_ERROR), fw::LoadText(IDS_SETTING_ERROR_CAPTION),
                              MB_OK | MB_ICONSTOP);
}

void CSetEtc::OnShowPath() {
    m_pEnv->ispath = IsChecked(IDC_ETC_SHOWPATH) ? 1 : 0;
    RequestFreshBackground();
}

void CSetEtc::OnStopWhileActive() {
    const bool on = IsChecked(IDC_ETC_MAXWINSTOP);
    m_pEnv->maxwinstop = on ? 1 : 0;
    ShowStopWhileActive(on);
}

void CSetEtc::OnAddressTooltip() {
    m_pEnv->isiptooltip = IsChecked(IDC_ETC_IPTOOLTIP) ? 1 : 0;
    m_context.owner.UpdateTrayTip();
}

void CSetEtc::OnWeekdayIcon() {
    m_pEnv->isweekday = IsChecked(IDC_ETC_WEEKDAY) ? 1 : 0;
    // The owner also keeps the picture following the day from now on.
    m_context.owner.UpdateTrayIcon();
}

void CSetEtc::OnMemory() { m_pEnv->rememory = IsChecked(IDC_ETC_MEMORY) ? 1 : 0; }

void CSetEtc::OnPicturePerMonitor() {
    m_pEnv->multimonitor = IsChecked(IDC_ETC_MULTIMONITOR) ? 1 : 0;
    RequestFreshBackground();  // a picture of another size and shape
}

void CSetEtc::OnChoosePrograms() {
    // Owned by the settings window, which the modal run disables meanwhile.
    CProgramList dialog(m_context.outPrograms, SettingsWindow());
    m_pProgramList = &dialog;
    const INT_PTR result = dialog.DoModal();
    m_pProgramList = nullptr;
    if (result != IDOK) return;
    m_context.outPrograms = dialog.Selection();
    ShowPrograms();
}

void CSetEtc::OnClearPrograms() {
    m_context.outPrograms.clear();
    SetDlgItemText(IDC_ETC_PROGRAMS, "");
}

void CSetEtc::OnFavouritesOnly() { m_pEnv->favoritesonly = IsChecked(IDC_ETC_FAVORITESONLY) ? 1 : 0; }

void CSetEtc::OnHotkeyChange(UINT id) {
    const auto verb = static_cast<HotkeyVerb>(id - IDC_ETC_HOTKEY_NEXT);
    int32_t word = static_cast<int32_t>(::SendDlgItemMessageW(m_hwnd, id, HKM_GETHOTKEY, 0, 0) & 0xFFFF);
    if (word != 0 && !IsUsableHotkey(word)) {
        // Ctrl+Alt with an arrow turns the screen on many machines: not taken for a verb.
        word = 0;
        ::SendDlgItemMessageW(m_hwnd, id, HKM_SETHOTKEY, 0, 0);
    }
    HotkeyOf(*m_pEnv, verb) = word;
    ShowHotkeyTaken(verb);
}

bool CSetEtc::HotkeyTaken(HotkeyVerb verb, int32_t word) const {
    if (!IsUsableHotkey(word)) return false;
    if (word == m_registeredHotkeys[static_cast<size_t>(verb)]) return m_context.owner.HotkeyTaken(verb);
    constexpr int kTrialId = 0xBF00;
    const HotkeyRegistration r = RegistrationOf(word);
    if (!::RegisterHotKey(m_hwnd, kTrialId, r.modifiers, r.key)) return true;
    ::UnregisterHotKey(m_hwnd, kTrialId);
    return false;
}

void CSetEtc::ShowHotkeyTaken(HotkeyVerb verb) {
    const bool taken = HotkeyTaken(verb, HotkeyOf(*m_pEnv, verb));
    ::SetDlgItemTextW(m_hwnd, IDC_ETC_HOTKEY_NEXT_TAKEN + static_cast<int>(verb),
                      taken ? fw::LoadText(IDS_HOTKEY_TAKEN).c_str() : L"");
}

#pragma once
// Page 5, "기타": autostart, tray options and the exception programs.

#include <string>

#include "settings_ui/label_static.h"
#include "resource.h"
#include "settings_ui/settings_page.h"

class CProgramList;

// " 1.A, 2.B, 3.C": the exception programs as the page lists them; empty for none.
std::string ExceptionProgramsText(const OutProgramList& programs);

class CSetEtc : public CSettingsPageImpl<CSetEtc> {
public:
    explicit CSetEtc(SettingsContext& context);
    ~CSetEtc() override;
    // At program exit: closes the program list.
    void CloseOwnedWindows() override;
    void DpiChanged(UINT oldDpi, UINT newDpi) override;

    // The program list while it is open (null otherwise).
    CProgramList* ProgramList() const { return m_pProgramList; }

    static const fw::Handler<CSetEtc> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnAutostart();
    void OnShowPath();
    void OnStopWhileActive();
    void OnAddressTooltip();
    void OnWeekdayIcon();
    void OnMemory();
    void OnPicturePerMonitor();
    void OnChoosePrograms();
    void OnClearPrograms();
    void OnFavouritesOnly();
    void OnHotkeyChange(UINT id);
    void OnHotkeyNext() { OnHotkeyChange(IDC_ETC_HOTKEY_NEXT); }
    void OnHotkeyBack() { OnHotkeyChange(IDC_ETC_HOTKEY_BACK); }
    void OnHotkeyPause() { OnHotkeyChange(IDC_ETC_HOTKEY_PAUSE); }
    void OnHotkeyBan() { OnHotkeyChange(IDC_ETC_HOTKEY_BAN); }
    void OnHotkeyKeep() { OnHotkeyChange(IDC_ETC_HOTKEY_KEEP); }
    // Whether the word is held elsewhere: by the registration of the main window for this verb,
    // else by a trial registration of the page's own.
    bool HotkeyTaken(HotkeyVerb verb, int32_t word) const;
    void ShowHotkeyTaken(HotkeyVerb verb);

    // The label and the two buttons follow `maxwinstop`.
    void ShowStopWhileActive(bool on);
    void ShowPrograms();

    CLabelStatic m_programs;
    int32_t m_registeredHotkeys[kHotkeyCount] = {};  // the words the main window registered
    CProgramList* m_pProgramList = nullptr;
};

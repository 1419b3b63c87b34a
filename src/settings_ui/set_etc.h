#pragma once
// Page 5, "기타": autostart, tray options and the exception programs.

#include <functional>
#include <string>

#include "framework/window.h"
#include "settings_ui/label_static.h"
#include "settings_ui/settings_context.h"

class CProgramList;

// " 1.A, 2.B, 3.C": the exception programs as the page lists them; empty for none.
std::string ExceptionProgramsText(const OutProgramList& programs);

// The autostart value "Dioramix" under the current user's Run key.
bool IsAutostartSet();
// Writes the executable's path (on) or deletes the value (off); false when the registry refused.
// Deleting a value that is not there counts as done.
bool SetAutostart(bool on, const std::string& exePath);
// The running executable's full path.
std::string ModulePath();

class CSetEtc : public fw::CDialogImpl<CSetEtc> {
public:
    explicit CSetEtc(SettingsContext& context);
    ~CSetEtc() override;
    // At program exit: closes the windows this page opened.
    void CloseOwnedWindows();

    // Shows "Setting Error"; tests record it instead.
    std::function<void()> showSettingError;
    // The program list while it is open (null otherwise).
    CProgramList* ProgramList() const { return m_pProgramList; }

    static const fw::Handler<CSetEtc> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnOk() {}      // Enter inside the page neither hides it nor changes anything
    void OnCancel() {}  // nor does Escape
    void OnAutostart();
    void OnShowPath();
    void OnStopWhileActive();
    void OnAddressTooltip();
    void OnWeekdayIcon();
    void OnMemory();
    void OnChoosePrograms();
    void OnClearPrograms();

    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked) const;
    // The label and the two buttons follow `maxwinstop`.
    void ShowStopWhileActive(bool on);
    void ShowPrograms();

    SettingsContext& m_context;
    EnvSettings* m_pEnv = nullptr;
    CLabelStatic m_programs;
    CProgramList* m_pProgramList = nullptr;
};

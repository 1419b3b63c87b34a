#pragma once
// Page 5, "기타": autostart, tray options and the exception programs.

#include "framework/window.h"
#include "settings_ui/settings_context.h"

class CSetEtc : public fw::CDialogImpl<CSetEtc> {
public:
    explicit CSetEtc(SettingsContext& context);
    // At program exit: closes the windows this page opened.
    void CloseOwnedWindows() {}

    static const fw::Handler<CSetEtc> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnOk() {}      // Enter inside the page neither hides it nor changes anything
    void OnCancel() {}  // nor does Escape

    SettingsContext& m_context;
    EnvSettings* m_pEnv = nullptr;
};

#pragma once
// Page 6, "Dioramix?": about the program.

#include "framework/window.h"
#include "settings_ui/settings_context.h"

class CSetHelp : public fw::CDialogImpl<CSetHelp> {
public:
    explicit CSetHelp(SettingsContext& context);
    // At program exit: closes the windows this page opened.
    void CloseOwnedWindows() {}

    static const fw::Handler<CSetHelp> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnOk() {}      // Enter inside the page neither hides it nor changes anything
    void OnCancel() {}  // nor does Escape

    SettingsContext& m_context;
    EnvSettings* m_pEnv = nullptr;
};

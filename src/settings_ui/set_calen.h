#pragma once
// Page 4, "달력 설정": the calendar's fonts and colours.

#include "framework/window.h"
#include "settings_ui/settings_context.h"

class CSetCalen : public fw::CDialogImpl<CSetCalen> {
public:
    explicit CSetCalen(SettingsContext& context);
    // At program exit: closes the windows this page opened.
    void CloseOwnedWindows() {}

    static const fw::Handler<CSetCalen> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnOk() {}      // Enter inside the page neither hides it nor changes anything
    void OnCancel() {}  // nor does Escape

    SettingsContext& m_context;
    EnvSettings* m_pEnv = nullptr;
};

#pragma once
// Page 6, "Dioramix?": about the program.

#include "framework/window.h"
#include "settings_ui/label_static.h"
#include "settings_ui/settings_context.h"

class CSetHelp : public fw::CDialogImpl<CSetHelp> {
public:
    explicit CSetHelp(SettingsContext& context);
    ~CSetHelp() override;
    // At program exit: closes the windows this page opened (it opens none).
    void CloseOwnedWindows() {}

    static const fw::Handler<CSetHelp> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnOk() {}      // Enter inside the page neither hides it nor changes anything
    void OnCancel() {}  // nor does Escape

    SettingsContext& m_context;
    EnvSettings* m_pEnv = nullptr;
    HWND m_pMainWnd = nullptr;
    CLabelStatic m_webLink;
    CLabelStatic m_mailLink;
};

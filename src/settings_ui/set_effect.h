#pragma once
// Page 2, "이미지 효과": frame, shadow, mask and rotation.

#include "framework/window.h"
#include "settings_ui/settings_context.h"

class CSetEffect : public fw::CDialogImpl<CSetEffect> {
public:
    explicit CSetEffect(SettingsContext& context);
    // At program exit: closes the windows this page opened.
    void CloseOwnedWindows() {}

    static const fw::Handler<CSetEffect> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnOk() {}      // Enter inside the page neither hides it nor changes anything
    void OnCancel() {}  // nor does Escape

    SettingsContext& m_context;
    EnvSettings* m_pEnv = nullptr;
};

#pragma once
// Page 3, "이미지 경로": the image folders.

#include "framework/window.h"
#include "settings_ui/settings_context.h"

class CSetPath : public fw::CDialogImpl<CSetPath> {
public:
    explicit CSetPath(SettingsContext& context);
    // At program exit: closes the windows this page opened.
    void CloseOwnedWindows() {}

    static const fw::Handler<CSetPath> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnOk() {}      // Enter inside the page neither hides it nor changes anything
    void OnCancel() {}  // nor does Escape

    SettingsContext& m_context;
    EnvSettings* m_pEnv = nullptr;
};

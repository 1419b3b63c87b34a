#pragma once
// Page 1, "이미지 설정": interval, size, overlap and placement of the photographs.

#include "framework/window.h"
#include "settings_ui/settings_context.h"

class CSetForeImg : public fw::CDialogImpl<CSetForeImg> {
public:
    explicit CSetForeImg(SettingsContext& context);
    // At program exit: closes the windows this page opened.
    void CloseOwnedWindows() {}

    static const fw::Handler<CSetForeImg> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnOk() {}      // Enter inside the page neither hides it nor changes anything
    void OnCancel() {}  // nor does Escape

    SettingsContext& m_context;
    EnvSettings* m_pEnv = nullptr;
};

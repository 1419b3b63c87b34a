#pragma once
// Page 0, "바탕화면 설정": the background colour or image.

#include "framework/window.h"
#include "settings_ui/settings_context.h"

class CSetBackImg : public fw::CDialogImpl<CSetBackImg> {
public:
    explicit CSetBackImg(SettingsContext& context);
    // At program exit: closes the windows this page opened.
    void CloseOwnedWindows() {}

    static const fw::Handler<CSetBackImg> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnOk() {}      // Enter inside the page neither hides it nor changes anything
    void OnCancel() {}  // nor does Escape

    SettingsContext& m_context;
    EnvSettings* m_pEnv = nullptr;
};

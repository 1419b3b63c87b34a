#pragma once
// Page 6, "Dioramix?": about the program.

#include "settings_ui/label_static.h"
#include "settings_ui/settings_page.h"

class CSetHelp : public CSettingsPage {
public:
    explicit CSetHelp(SettingsContext& context);
    ~CSetHelp() override;
    void DpiChanged(UINT oldDpi, UINT newDpi) override;
    const CLabelStatic& WebLink() const { return m_webLink; }

protected:
    BOOL OnInitDialog() override;

private:
    CLabelStatic m_webLink;
    CLabelStatic m_mailLink;
};

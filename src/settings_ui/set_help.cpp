#include "settings_ui/set_help.h"

#include "resource.h"
#include "settings_ui/about_dlg.h"

CSetHelp::CSetHelp(SettingsContext& context) : CSettingsPage(IDD_SET_HELP, context) {}
CSetHelp::~CSetHelp() = default;

void CSetHelp::DpiChanged(UINT oldDpi, UINT newDpi) {
    CSettingsPage::DpiChanged(oldDpi, newDpi);
    m_webLink.DpiChanged(oldDpi, newDpi);
    m_mailLink.DpiChanged(oldDpi, newDpi);
}

BOOL CSetHelp::OnInitDialog() {
    // The title is not shown on a page; the settings window paints its own caption.
    InitAboutTexts(m_hwnd, m_webLink, m_mailLink);
    return TRUE;
}

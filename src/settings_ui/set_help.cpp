#include "settings_ui/set_help.h"

#include "resource.h"
#include "settings_ui/about_dlg.h"

const fw::Handler<CSetHelp> CSetHelp::kHandlers[] = {
    fw::OnCommand(IDOK, &CSetHelp::OnOk),
    fw::OnCommand(IDCANCEL, &CSetHelp::OnCancel),
};

CSetHelp::CSetHelp(SettingsContext& context) : CDialogImpl(IDD_SET_HELP), m_context(context) {}
CSetHelp::~CSetHelp() = default;

BOOL CSetHelp::OnInitDialog() {
    m_pMainWnd = m_context.owner.MainWindow();
    m_pEnv = &m_context.env;
    // The title is not shown on a page; the settings window paints its own caption.
    InitAboutTexts(m_hwnd, m_webLink, m_mailLink);
    return TRUE;
}

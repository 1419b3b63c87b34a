#include "settings_ui/set_help.h"

#include "resource.h"

const fw::Handler<CSetHelp> CSetHelp::kHandlers[] = {
    fw::OnCommand(IDOK, &CSetHelp::OnOk),
    fw::OnCommand(IDCANCEL, &CSetHelp::OnCancel),
};

CSetHelp::CSetHelp(SettingsContext& context) : CDialogImpl(IDD_SET_HELP), m_context(context) {}

BOOL CSetHelp::OnInitDialog() {
    m_pEnv = &m_context.env;
    return TRUE;
}

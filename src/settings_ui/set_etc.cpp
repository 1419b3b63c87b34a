#include "settings_ui/set_etc.h"

#include "resource.h"

const fw::Handler<CSetEtc> CSetEtc::kHandlers[] = {
    fw::OnCommand(IDOK, &CSetEtc::OnOk),
    fw::OnCommand(IDCANCEL, &CSetEtc::OnCancel),
};

CSetEtc::CSetEtc(SettingsContext& context) : CDialogImpl(IDD_SET_ETC), m_context(context) {}

BOOL CSetEtc::OnInitDialog() {
    m_pEnv = &m_context.env;
    return TRUE;
}

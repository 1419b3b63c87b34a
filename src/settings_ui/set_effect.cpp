#include "settings_ui/set_effect.h"

#include "resource.h"

const fw::Handler<CSetEffect> CSetEffect::kHandlers[] = {
    fw::OnCommand(IDOK, &CSetEffect::OnOk),
    fw::OnCommand(IDCANCEL, &CSetEffect::OnCancel),
};

CSetEffect::CSetEffect(SettingsContext& context) : CDialogImpl(IDD_SET_EFFECT), m_context(context) {}

BOOL CSetEffect::OnInitDialog() {
    m_pEnv = &m_context.env;
    return TRUE;
}

#include "settings_ui/set_calen.h"

#include "resource.h"

const fw::Handler<CSetCalen> CSetCalen::kHandlers[] = {
    fw::OnCommand(IDOK, &CSetCalen::OnOk),
    fw::OnCommand(IDCANCEL, &CSetCalen::OnCancel),
};

CSetCalen::CSetCalen(SettingsContext& context) : CDialogImpl(IDD_SET_CALEN), m_context(context) {}

BOOL CSetCalen::OnInitDialog() {
    m_pEnv = &m_context.env;
    return TRUE;
}

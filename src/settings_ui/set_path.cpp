#include "settings_ui/set_path.h"

#include "resource.h"

const fw::Handler<CSetPath> CSetPath::kHandlers[] = {
    fw::OnCommand(IDOK, &CSetPath::OnOk),
    fw::OnCommand(IDCANCEL, &CSetPath::OnCancel),
};

CSetPath::CSetPath(SettingsContext& context) : CDialogImpl(IDD_SET_PATH), m_context(context) {}

BOOL CSetPath::OnInitDialog() {
    m_pEnv = &m_context.env;
    return TRUE;
}

#include "settings_ui/set_fore_img.h"

#include "resource.h"

const fw::Handler<CSetForeImg> CSetForeImg::kHandlers[] = {
    fw::OnCommand(IDOK, &CSetForeImg::OnOk),
    fw::OnCommand(IDCANCEL, &CSetForeImg::OnCancel),
};

CSetForeImg::CSetForeImg(SettingsContext& context) : CDialogImpl(IDD_SET_FOREIMG), m_context(context) {}

BOOL CSetForeImg::OnInitDialog() {
    m_pEnv = &m_context.env;
    return TRUE;
}

#include "settings_ui/set_back_img.h"

#include "resource.h"

const fw::Handler<CSetBackImg> CSetBackImg::kHandlers[] = {
    fw::OnCommand(IDOK, &CSetBackImg::OnOk),
    fw::OnCommand(IDCANCEL, &CSetBackImg::OnCancel),
};

CSetBackImg::CSetBackImg(SettingsContext& context) : CDialogImpl(IDD_SET_BACKIMG), m_context(context) {}

BOOL CSetBackImg::OnInitDialog() {
    m_pEnv = &m_context.env;
    return TRUE;
}

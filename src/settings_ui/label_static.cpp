#include "settings_ui/label_static.h"

const fw::Handler<CLabelStatic> CLabelStatic::kHandlers[] = {
    fw::OnMessage(fw::kReflectBase + WM_CTLCOLORSTATIC, &CLabelStatic::OnReflectedCtlColor),
};

CLabelStatic::CLabelStatic() {}
CLabelStatic::~CLabelStatic() = default;
void CLabelStatic::SetTextColor(COLORREF color) { m_crText = color; }
void CLabelStatic::SetBkColor(COLORREF) {}
void CLabelStatic::SetLogFont(const LOGFONTA& lf) { m_lf = lf; }
void CLabelStatic::SetFontStyle(UINT remove, UINT add) { m_nStyle = (m_nStyle & ~remove) | add; }
void CLabelStatic::SetLink(BOOL on) { m_bLink = on; }
LRESULT CLabelStatic::OnReflectedCtlColor(WPARAM, LPARAM) { return 0; }

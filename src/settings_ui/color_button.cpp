#include "settings_ui/color_button.h"

const fw::Handler<CColorButton> CColorButton::kHandlers[] = {
    fw::OnMessage(fw::kReflectBase + WM_DRAWITEM, &CColorButton::OnReflectedDrawItem),
};

CColorButton::CColorButton() = default;
CColorButton::~CColorButton() = default;

bool CColorButton::SubclassDlgItem(int id, HWND parent) { return CControl::SubclassDlgItem(id, parent); }

void CColorButton::DrawItem(const DRAWITEMSTRUCT&) const {}

LRESULT CColorButton::OnReflectedDrawItem(WPARAM, LPARAM) { return FALSE; }

bool ChooseSwatchColor(COLORREF&) { return false; }

#pragma once
// A push button that shows a colour swatch (owner-drawn whatever the template declares).

#include <windows.h>

#include "framework/window.h"

class CColorButton : public fw::CControlImpl<CColorButton> {
public:
    CColorButton();
    ~CColorButton() override;
    bool SubclassDlgItem(int id, HWND parent);  // adds BS_OWNERDRAW
    // Stores the colour only; the caller invalidates the button.
    void SetColor(COLORREF color) { m_crColor = color; }
    COLORREF GetColor() const { return m_crColor; }

    // Paints the swatch into a DC (disabled: the system's disabled colour); tests call it directly.
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    static const fw::Handler<CColorButton> kHandlers[];

private:
    LRESULT OnReflectedDrawItem(WPARAM, LPARAM);
    COLORREF m_crColor = 0;
};

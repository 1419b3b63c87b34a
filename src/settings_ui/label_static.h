#pragma once
// A static text with its own text colour, background brush and font; its font style can change at
// run time, and it can act as a link that opens its own text through the shell.

#include <windows.h>

#include "framework/handles.h"
#include "framework/window.h"

class CLabelStatic : public fw::CControlImpl<CLabelStatic> {
public:
    enum StyleBits : UINT {
        kBold = 0x01, kItalic = 0x02, kUnderline = 0x04, kStrikeOut = 0x08, kBorder = 0x10, kSunken = 0x20
    };

    CLabelStatic();
    ~CLabelStatic() override;

    void SetTextColor(COLORREF color);
    void SetBkColor(COLORREF color);
    void SetLogFont(const LOGFONTA& lf);
    // Removes then adds style bits, rebuilding the font and the frame.
    void SetFontStyle(UINT remove, UINT add);
    void SetLink(BOOL on);

    const LOGFONTA& GetLogFont() const { return m_lf; }
    UINT GetFontStyle() const { return m_nStyle; }
    HFONT GetFont() const { return m_font.get(); }

    static const fw::Handler<CLabelStatic> kHandlers[];

private:
    LRESULT OnReflectedCtlColor(WPARAM, LPARAM);
    UINT m_nStyle = 0;
    HCURSOR m_hCursor = nullptr;
    LOGFONTA m_lf{};
    COLORREF m_crText = 0;
    BOOL m_bLink = FALSE;
    fw::Font m_font;
    fw::Brush m_brBack;
};

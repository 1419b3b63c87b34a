#pragma once
// A static text with its own text colour, background brush and font; its font style can change at
// run time, and it can act as a link that opens its own text through the shell.

#include <windows.h>

#include <string>

#include "framework/handles.h"
#include "framework/window.h"

class CLabelStatic : public fw::CControlImpl<CLabelStatic> {
public:
    enum StyleBits : UINT {
        kBold = 0x01, kItalic = 0x02, kUnderline = 0x04, kStrikeOut = 0x08, kBorder = 0x10, kSunken = 0x20
    };

    CLabelStatic();
    ~CLabelStatic() override;

    // Binds the template's static and hands it the label's font, as tall as the dialog's own
    // (which the dialog made for the DPI it is shown at) unless a font was set.
    bool SubclassDlgItem(int id, HWND parent);
    // The window moved to a monitor of another DPI: the font's height follows.
    void DpiChanged(UINT oldDpi, UINT newDpi);

    void SetTextColor(COLORREF color);
    void SetBkColor(COLORREF color);
    void SetLogFont(const LOGFONTA& lf);
    // Removes then adds style bits, rebuilding the font and the frame.
    void SetFontStyle(UINT remove, UINT add);
    void SetLink(BOOL on);

    const LOGFONTA& GetLogFont() const { return m_lf; }
    UINT GetFontStyle() const { return m_nStyle; }
    HFONT GetFont() const { return m_font.get(); }
    COLORREF GetTextColor() const { return m_crText; }
    HBRUSH GetBkBrush() const { return m_brBack.get(); }
    BOOL IsLink() const { return m_bLink; }

    static const fw::Handler<CLabelStatic> kHandlers[];

protected:
    // Notifications other than a link's click go on to the dialog, as if the label were unbound.
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    // What a click on a link does with the label's text; tests record it instead.
    virtual void OpenLinkTarget(const std::string& text);

private:
    LRESULT OnReflectedCtlColor(WPARAM, LPARAM);
    LRESULT OnReflectedCommand(WPARAM, LPARAM);
    LRESULT OnSetCursor(WPARAM, LPARAM);
    void RebuildFont();
    void TakeDialogFontHeight(HWND parent);
    void Redraw(bool now);
    void ApplyFrameStyles();

    UINT m_nStyle = 0;
    HCURSOR m_hCursor = nullptr;
    LOGFONTA m_lf{};
    COLORREF m_crText = 0;
    BOOL m_bLink = FALSE;
    bool m_fontSet = false;  // SetLogFont chose the size
    fw::Font m_font;
    fw::Brush m_brBack;
};

// The style bits after removing `remove` and adding `add` (a bit in both is removed).
constexpr UINT CombineFontStyle(UINT current, UINT remove, UINT add) { return (current | add) & ~remove; }
// The LOGFONT fields the four font bits decide; every other field is kept.
void ApplyFontStyle(LOGFONTA& lf, UINT style);

#include "composer/text.h"

#include <algorithm>
#include <cmath>

#include "framework/dpi.h"
#include "framework/mbstring.h"

std::unique_ptr<Gdiplus::Font> MakeFont(const std::string& family, Gdiplus::REAL size, INT style) {
    std::wstring name = mb::Widen(family);
    Gdiplus::FontFamily named(name.c_str());
    if (named.GetLastStatus() == Gdiplus::Ok) {
        auto font = std::make_unique<Gdiplus::Font>(&named, size, style, Gdiplus::UnitPixel);
        if (font->GetLastStatus() == Gdiplus::Ok) return font;
    }
    // Also when the family lacks the asked style (a face without italic): text in another face beats none.
    auto font = std::make_unique<Gdiplus::Font>(Gdiplus::FontFamily::GenericSansSerif(), size, style,
                                                Gdiplus::UnitPixel);
    if (font->GetLastStatus() == Gdiplus::Ok) return font;
    return std::make_unique<Gdiplus::Font>(Gdiplus::FontFamily::GenericSansSerif(), size, Gdiplus::FontStyleRegular,
                                           Gdiplus::UnitPixel);
}

TextSpacing TextSpacingAt(UINT dpi) {
    const float scale = fw::DpiScale(dpi);
    return {10 * scale, std::max(1.0f, std::round(scale))};
}

void DrawShadowedString(Gdiplus::Graphics& g, const std::string& text, const Gdiplus::Font& font,
                        Gdiplus::RectF& layout, const Gdiplus::Brush& brush, const TextSpacing& spacing) {
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentFar);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));

    std::wstring wide = mb::Widen(text);
    layout.Width -= spacing.margin;
    g.DrawString(wide.c_str(), static_cast<INT>(wide.size()), &font, layout, &format, &black);
    Gdiplus::RectF shifted(layout.X - spacing.shadow, layout.Y, layout.Width, layout.Height);
    g.DrawString(wide.c_str(), static_cast<INT>(wide.size()), &font, shifted, &format, &brush);
}

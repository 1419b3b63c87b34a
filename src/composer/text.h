#pragma once
// Text on the wallpaper: fonts with the generic fallback, and the shadowed string shared by the
// path text and the calendar.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>

// A font of the named family (ANSI name), or of the generic sans-serif family when that family
// is not installed. Size in pixels.
std::unique_ptr<Gdiplus::Font> MakeFont(const std::string& family, Gdiplus::REAL size, INT style);

// The right margin a string keeps and how far its black copy lies to its right: 10 and 1 pixels
// at 96 DPI. The shadow stays whole pixels, so that it stays crisp.
struct TextSpacing {
    Gdiplus::REAL margin = 10;
    Gdiplus::REAL shadow = 1;
};
TextSpacing TextSpacingAt(UINT dpi);

// Right-aligned, vertically centred text with a black copy to its right. Narrows the caller's
// layout rectangle by the margin, which the calendar relies on.
void DrawShadowedString(Gdiplus::Graphics& g, const std::string& text, const Gdiplus::Font& font,
                        Gdiplus::RectF& layout, const Gdiplus::Brush& brush, const TextSpacing& spacing = {});

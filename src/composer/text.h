#pragma once
// Text on the wallpaper: fonts with the generic fallback, and the one-pixel shadowed string
// shared by the path text and the calendar.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>

// A font of the named family (ANSI name), or of the generic sans-serif family when that family
// is not installed. Size in pixels.
std::unique_ptr<Gdiplus::Font> MakeFont(const std::string& family, Gdiplus::REAL size, INT style);

// Right-aligned, vertically centred text with a black copy one pixel to its right. Narrows the
// caller's layout rectangle by 10 pixels (the right margin), which the calendar relies on.
void DrawShadowedString(Gdiplus::Graphics& g, const std::string& text, const Gdiplus::Font& font,
                        Gdiplus::RectF& layout, const Gdiplus::Brush& brush);

#pragma once
// A 32-bit canvas to draw on and read back, and pixel comparisons with a tolerance, for tests of
// what the program paints.

#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>
#include <initializer_list>

#include "framework/handles.h"

namespace testing_support {

// A 32-bit top-down bitmap's description, for drawing into or reading its pixels.
inline BITMAPINFO TopDownBitmapInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A 32-bit top-down bitmap selected into a memory DC, for reading drawn pixels.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : m_width(width) {
        BITMAPINFO info = TopDownBitmapInfo(width, height);
        m_dc.reset(::CreateCompatibleDC(nullptr));
        m_bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0));
        if (!m_bitmap) m_bits = nullptr;
        m_old = ::SelectObject(m_dc.get(), m_bitmap.get());
        RECT all{0, 0, width, height};
        fw::Brush brush(::CreateSolidBrush(fill));
        ::FillRect(m_dc.get(), &all, brush.get());
    }
    ~Canvas() { ::SelectObject(m_dc.get(), m_old); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    explicit operator bool() const { return m_bits != nullptr; }
    HDC dc() const { return m_dc.get(); }
    COLORREF At(int x, int y) const {
        ::GdiFlush();
        const DWORD p = m_bits[y * m_width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(COLORREF color, const RECT& r) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) == color;
        return n;
    }

private:
    int m_width;
    fw::MemoryDc m_dc;
    fw::Bitmap m_bitmap;
    DWORD* m_bits = nullptr;
    HGDIOBJ m_old = nullptr;
};

// A pixel's channels; a GDI+ colour converts, so either side of a comparison may be one.
struct Rgb {
    int r = 0, g = 0, b = 0;
    constexpr Rgb() = default;
    constexpr Rgb(int red, int green, int blue) : r(red), g(green), b(blue) {}
    Rgb(const Gdiplus::Color& c) : r(c.GetR()), g(c.GetG()), b(c.GetB()) {}
};

inline Rgb PixelOf(Gdiplus::Bitmap& bitmap, int x, int y) {
    Gdiplus::Color c;
    bitmap.GetPixel(x, y, &c);
    return c;
}
// A decoded picture, which is always a bitmap.
inline Rgb PixelOf(Gdiplus::Image& picture, int x, int y) {
    return PixelOf(static_cast<Gdiplus::Bitmap&>(picture), x, y);
}

// Each channel within `tolerance`: drawing, scaling and JPEG round trips move colours a little.
inline bool Near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

inline ::testing::AssertionResult IsColour(Gdiplus::Image& picture, int x, int y, Rgb want, int tolerance) {
    const Rgb got = PixelOf(picture, x, y);
    if (Near(got, want, tolerance)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is (" << got.r << ", " << got.g << ", "
                                         << got.b << "), not (" << want.r << ", " << want.g << ", " << want.b << ")";
}

// IsColour at each of the points; the first that is not tells which.
inline ::testing::AssertionResult AreColour(Gdiplus::Image& picture, std::initializer_list<POINT> points, Rgb want,
                                            int tolerance) {
    for (POINT p : points)
        if (::testing::AssertionResult result = IsColour(picture, p.x, p.y, want, tolerance); !result) return result;
    return ::testing::AssertionSuccess();
}

}  // namespace testing_support

#pragma once
// A 32-bit canvas to draw on and read back, for tests of what the program paints.

#include <windows.h>

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

}  // namespace testing_support

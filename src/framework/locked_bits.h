#pragma once
// A GDI+ bitmap's pixels, locked for as long as the object lives.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstddef>
#include <cstdint>

namespace fw {

class LockedBits {
public:
    LockedBits(Gdiplus::Bitmap& bitmap, const Gdiplus::Rect& area, UINT mode, Gdiplus::PixelFormat format)
        : m_bitmap(bitmap) {
        m_locked = bitmap.LockBits(&area, mode, format, &m_data) == Gdiplus::Ok;
    }
    // The whole bitmap.
    LockedBits(Gdiplus::Bitmap& bitmap, UINT mode, Gdiplus::PixelFormat format)
        : LockedBits(bitmap,
                     Gdiplus::Rect(0, 0, static_cast<INT>(bitmap.GetWidth()), static_cast<INT>(bitmap.GetHeight())),
                     mode, format) {}
    ~LockedBits() {
        if (m_locked) m_bitmap.UnlockBits(&m_data);
    }
    LockedBits(const LockedBits&) = delete;
    LockedBits& operator=(const LockedBits&) = delete;

    explicit operator bool() const { return m_locked; }
    uint8_t* Row(int y) const { return static_cast<uint8_t*>(m_data.Scan0) + static_cast<ptrdiff_t>(y) * m_data.Stride; }
    uint8_t* Bits() const { return static_cast<uint8_t*>(m_data.Scan0); }
    int Stride() const { return m_data.Stride; }
    int Width() const { return static_cast<int>(m_data.Width); }
    int Height() const { return static_cast<int>(m_data.Height); }

private:
    Gdiplus::Bitmap& m_bitmap;
    Gdiplus::BitmapData m_data{};
    bool m_locked = false;
};

constexpr UINT kReadWrite = Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeWrite;

}  // namespace fw

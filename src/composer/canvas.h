#pragma once
// The canvas of one change and the wallpaper file written from its pixels.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <string>
#include <vector>

// A colour setting (COLORREF) as an opaque GDI+ colour.
inline Gdiplus::Color OpaqueColor(COLORREF c) { return Gdiplus::Color(255, GetRValue(c), GetGValue(c), GetBValue(c)); }

// The 24-bit canvas of one change, whose fresh background is filled by writing its pixels
// (Graphics::Clear costs tens of milliseconds under Wine).
class Canvas24 {
public:
    Canvas24(int width, int height) : m_bitmap(width, height, PixelFormat24bppRGB) {}
    Canvas24(const Canvas24&) = delete;
    Canvas24& operator=(const Canvas24&) = delete;

    bool IsValid() { return m_bitmap.GetLastStatus() == Gdiplus::Ok; }
    Gdiplus::Bitmap& Bitmap() { return m_bitmap; }
    // Every pixel the colour (ARGB; alpha ignored), before anything is drawn.
    void Fill(uint32_t argb);
    // The pixels of the rectangle (clipped to the canvas) the colour.
    void FillRect(const RECT& area, uint32_t argb);
    // The pixels of a 24-bit bitmap of the same size, greyed on the way when asked (as GrayBitmap
    // does, leaving the source as it is); false when they could not be copied.
    bool CopyFrom(Gdiplus::Bitmap& source, bool grey);
    // The same for the rectangle alone (clipped to the canvas).
    bool CopyFrom(Gdiplus::Bitmap& source, const RECT& area, bool grey);

private:
    Gdiplus::Bitmap m_bitmap;
};

// The pixels of a 24-bit bitmap into another of the same size, greyed on the way when asked;
// false when the sizes differ or the bits could not be locked.
bool CopyPixels24(Gdiplus::Bitmap& source, Gdiplus::Bitmap& target, bool grey);
// The same for one rectangle of both (clipped to them); true when it is empty.
bool CopyPixels24(Gdiplus::Bitmap& source, Gdiplus::Bitmap& target, const RECT& area, bool grey);

// Every pixel of a 24-bit B, G, R buffer (rows of stride bytes, top first) the colour.
void FillPixels24(uint8_t* pixels, int width, int height, int stride, uint32_t argb);

// A 24-bit bottom-up BMP file of the pixels (rows top first), byte for byte what GDI+'s encoder
// writes: file header, 40-byte info header, rows padded to 4 bytes.
std::vector<uint8_t> EncodeBmp24(const uint8_t* pixels, int width, int height, int stride);
// The bitmap as such a file at path; false when it could not be read or written whole.
bool WriteBmp24(Gdiplus::Bitmap& bitmap, const std::string& path);

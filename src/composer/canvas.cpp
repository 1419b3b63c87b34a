#include "composer/canvas.h"

#include <algorithm>
#include <cstring>

#include "framework/handles.h"
#include "framework/locked_bits.h"
#include "framework/mbstring.h"

namespace {

constexpr uint32_t kFileHeaderBytes = 14, kInfoHeaderBytes = 40;
constexpr int32_t kPixelsPerMetre = 3780;  // 96 dots per inch, as GDI+ writes for a new bitmap

int RowBytes(int width) { return (width * 3 + 3) & ~3; }

// The rectangle's part inside the bitmap.
Gdiplus::Rect Clip(const RECT& area, Gdiplus::Bitmap& bitmap) {
    const LONG left = std::max<LONG>(area.left, 0), top = std::max<LONG>(area.top, 0);
    const LONG right = std::min<LONG>(area.right, static_cast<LONG>(bitmap.GetWidth()));
    const LONG bottom = std::min<LONG>(area.bottom, static_cast<LONG>(bitmap.GetHeight()));
    return {left, top, std::max<LONG>(0, right - left), std::max<LONG>(0, bottom - top)};
}

void Put16(uint8_t*& p, uint32_t v) {
    *p++ = static_cast<uint8_t>(v);
    *p++ = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t*& p, uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p, v >> 16);
}

}  // namespace

void Canvas24::Fill(uint32_t argb) {
    fw::LockedBits bits(m_bitmap, Gdiplus::ImageLockModeWrite, PixelFormat24bppRGB);
    if (!bits) {
        Gdiplus::Graphics(&m_bitmap).Clear(Gdiplus::Color(argb | 0xFF000000u));
        return;
    }
    FillPixels24(bits.Bits(), bits.Width(), bits.Height(), bits.Stride(), argb);
}

void Canvas24::FillRect(const RECT& area, uint32_t argb) {
    const Gdiplus::Rect clipped = Clip(area, m_bitmap);
    if (clipped.Width <= 0 || clipped.Height <= 0) return;
    fw::LockedBits bits(m_bitmap, clipped, Gdiplus::ImageLockModeWrite, PixelFormat24bppRGB);
    if (!bits) {
        Gdiplus::SolidBrush brush(Gdiplus::Color(argb | 0xFF000000u));
        Gdiplus::Graphics(&m_bitmap).FillRectangle(&brush, clipped);
        return;
    }
    FillPixels24(bits.Bits(), bits.Width(), bits.Height(), bits.Stride(), argb);
}

bool Canvas24::CopyFrom(Gdiplus::Bitmap& source, bool grey) { return CopyPixels24(source, m_bitmap, grey); }

bool Canvas24::CopyFrom(Gdiplus::Bitmap& source, const RECT& area, bool grey) {
    return CopyPixels24(source, m_bitmap, area, grey);
}

bool CopyPixels24(Gdiplus::Bitmap& source, Gdiplus::Bitmap& target, bool grey) {
    const RECT all{0, 0, static_cast<LONG>(target.GetWidth()), static_cast<LONG>(target.GetHeight())};
    return CopyPixels24(source, target, all, grey);
}

bool CopyPixels24(Gdiplus::Bitmap& source, Gdiplus::Bitmap& target, const RECT& area, bool grey) {
    if (source.GetWidth() != target.GetWidth() || source.GetHeight() != target.GetHeight()) return false;
    const Gdiplus::Rect clipped = Clip(area, target);
    if (clipped.Width <= 0 || clipped.Height <= 0) return true;
    const int w = clipped.Width, h = clipped.Height;
    fw::LockedBits from(source, clipped, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB);
    fw::LockedBits to(target, clipped, Gdiplus::ImageLockModeWrite, PixelFormat24bppRGB);
    if (!from || !to) return false;
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = from.Row(y);
        uint8_t* t = to.Row(y);
        if (!grey) {
            std::memcpy(t, s, static_cast<size_t>(w) * 3);
            continue;
        }
        for (int x = 0; x < w; ++x, s += 3, t += 3)
            t[0] = t[1] = t[2] = static_cast<uint8_t>((30 * s[2] + 59 * s[1] + 11 * s[0]) / 100);
    }
    return true;
}

void FillPixels24(uint8_t* pixels, int width, int height, int stride, uint32_t argb) {
    if (!pixels || width <= 0 || height <= 0) return;
    const uint8_t b = static_cast<uint8_t>(argb), g = static_cast<uint8_t>(argb >> 8),
                  r = static_cast<uint8_t>(argb >> 16);
    uint8_t* first = pixels;
    for (int x = 0; x < width; ++x) {
        first[x * 3] = b;
        first[x * 3 + 1] = g;
        first[x * 3 + 2] = r;
    }
    for (int y = 1; y < height; ++y)
        std::memcpy(pixels + static_cast<ptrdiff_t>(y) * stride, first, static_cast<size_t>(width) * 3);
}

namespace {

// The file and info headers of a w x h 24-bit BMP whose pixel array takes imageBytes.
void PutBmpHeaders(uint8_t* p, int width, int height, uint32_t imageBytes) {
    Put16(p, 0x4D42);  // "BM"
    Put32(p, kFileHeaderBytes + kInfoHeaderBytes + imageBytes);
    Put32(p, 0);
    Put32(p, kFileHeaderBytes + kInfoHeaderBytes);
    Put32(p, kInfoHeaderBytes);
    Put32(p, static_cast<uint32_t>(width));
    Put32(p, static_cast<uint32_t>(height));
    Put16(p, 1);   // planes
    Put16(p, 24);  // bits per pixel
    Put32(p, BI_RGB);
    Put32(p, imageBytes);
    Put32(p, kPixelsPerMetre);
    Put32(p, kPixelsPerMetre);
    Put32(p, 0);
    Put32(p, 0);
}

// Rows from..from+count of the bottom-up pixel array (row 0 is the picture's last), padded.
void PutBottomUpRows(uint8_t* p, const uint8_t* pixels, int width, int height, int stride, int from, int count) {
    const size_t rowBytes = static_cast<size_t>(RowBytes(width)), used = static_cast<size_t>(width) * 3;
    for (int i = 0; i < count; ++i, p += rowBytes) {
        std::memcpy(p, pixels + static_cast<ptrdiff_t>(height - 1 - (from + i)) * stride, used);
        std::memset(p + used, 0, rowBytes - used);
    }
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(const uint8_t* pixels, int width, int height, int stride) {
    if (!pixels || width <= 0 || height <= 0) return {};
    const uint32_t imageBytes = static_cast<uint32_t>(RowBytes(width)) * static_cast<uint32_t>(height);
    std::vector<uint8_t> file(kFileHeaderBytes + kInfoHeaderBytes + imageBytes);
    PutBmpHeaders(file.data(), width, height, imageBytes);
    PutBottomUpRows(file.data() + kFileHeaderBytes + kInfoHeaderBytes, pixels, width, height, stride, 0, height);
    return file;
}

bool WriteBmp24(Gdiplus::Bitmap& bitmap, const std::string& path) {
    const int w = static_cast<int>(bitmap.GetWidth()), h = static_cast<int>(bitmap.GetHeight());
    if (w <= 0 || h <= 0) return false;
    fw::LockedBits bits(bitmap, Gdiplus::ImageLockModeRead, PixelFormat24bppRGB);
    if (!bits) return false;
    fw::FileHandle out(::CreateFileW(mb::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return false;
    // Written in pieces of about 256 KB: a whole 4K file held at once would be 25 MB more.
    const uint32_t rowBytes = static_cast<uint32_t>(RowBytes(w));
    const int rowsPerPiece = static_cast<int>(std::max<uint32_t>(1, (256u << 10) / rowBytes));
    std::vector<uint8_t> piece(kFileHeaderBytes + kInfoHeaderBytes + static_cast<size_t>(rowsPerPiece) * rowBytes);
    PutBmpHeaders(piece.data(), w, h, rowBytes * static_cast<uint32_t>(h));
    size_t start = kFileHeaderBytes + kInfoHeaderBytes;
    bool ok = true;
    for (int row = 0; row < h && ok; row += rowsPerPiece) {
        const int count = std::min(rowsPerPiece, h - row);
        PutBottomUpRows(piece.data() + start, bits.Bits(), w, h, bits.Stride(), row, count);
        const DWORD size = static_cast<DWORD>(start + static_cast<size_t>(count) * rowBytes);
        DWORD written = 0;
        ok = ::WriteFile(out.get(), piece.data(), size, &written, nullptr) && written == size;
        start = 0;
    }
    return ok;
}

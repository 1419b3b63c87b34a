#include "composer/picture_decode.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "composer/jpeg_decode.h"
#include "composer/webp_decode.h"
#include "composer/wic_decode.h"
#include "framework/locked_bits.h"
#include "framework/mbstring.h"

namespace {

constexpr size_t kHeaderBytes = 64 * 1024;  // enough for every header ReadPictureSize reads

uint32_t Get16(const uint8_t* p, bool bigEndian) {
    return bigEndian ? (uint32_t{p[0]} << 8 | p[1]) : (uint32_t{p[1]} << 8 | p[0]);
}
uint32_t Get32(const uint8_t* p, bool bigEndian) {
    return bigEndian ? (Get16(p, true) << 16 | Get16(p + 2, true)) : (Get16(p + 2, false) << 16 | Get16(p, false));
}

// Calls visit(tag, type, value field) for each entry of the TIFF's first directory; false when
// the header or the directory is cut short.
template <typename Visit>
bool VisitFirstDirectory(const uint8_t* tiff, size_t size, Visit visit) {
    if (size < 8) return false;
    bool big;
    if (tiff[0] == 'I' && tiff[1] == 'I') big = false;
    else if (tiff[0] == 'M' && tiff[1] == 'M') big = true;
    else return false;
    if (Get16(tiff + 2, big) != 42) return false;
    uint32_t dir = Get32(tiff + 4, big);
    if (dir > size || size - dir < 2) return false;
    uint32_t count = Get16(tiff + dir, big);
    if ((size - dir - 2) / 12 < count) return false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = tiff + dir + 2 + i * 12;
        visit(Get16(entry, big), Get16(entry + 2, big), entry + 8, big);
    }
    return true;
}

// The value of a SHORT or LONG entry.
uint32_t EntryValue(uint32_t type, const uint8_t* value, bool big) {
    return type == 3 ? Get16(value, big) : type == 4 ? Get32(value, big) : 0;
}

bool ReadJpegSize(const uint8_t* p, size_t size, int& width, int& height) {
    size_t at = 2;
    while (at + 4 <= size) {
        if (p[at] != 0xFF) return false;
        uint8_t marker = p[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        size_t length = Get16(p + at + 2, true);
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > size) return false;
            height = static_cast<int>(Get16(p + at + 5, true));
            width = static_cast<int>(Get16(p + at + 7, true));
            return true;
        }
        if (length < 2) return false;
        at += 2 + length;
    }
    return false;
}

}  // namespace

int ChooseJpegScale(int width, int height, int targetWidth, int targetHeight) {
    for (int n = 1; n < 8; ++n) {
        int64_t w = (static_cast<int64_t>(width) * n + 7) / 8, h = (static_cast<int64_t>(height) * n + 7) / 8;
        if (w >= targetWidth && h >= targetHeight) return n;
    }
    return 8;
}

int ExifOrientation(const uint8_t* data, size_t size) {
    if (!data || size < 6 || std::memcmp(data, "Exif\0\0", 6) != 0) return 1;
    return TiffOrientation(data, size);
}

int TiffOrientation(const uint8_t* data, size_t size) {
    if (!data) return 1;
    if (size >= 6 && std::memcmp(data, "Exif\0\0", 6) == 0) {
        data += 6;
        size -= 6;
    }
    int orientation = 1;
    VisitFirstDirectory(data, size, [&](uint32_t tag, uint32_t type, const uint8_t* value, bool big) {
        if (tag == 0x0112 && type == 3) {
            uint32_t v = Get16(value, big);
            if (v >= 1 && v <= 8) orientation = static_cast<int>(v);
        }
    });
    return orientation;
}

void OrientPixels(const uint8_t* source, int w, int h, int sourceStride, int orientation, uint8_t* target,
                  int targetStride) {
    for (int y = 0; y < h; ++y) {
        const auto* from = reinterpret_cast<const uint32_t*>(source + static_cast<ptrdiff_t>(y) * sourceStride);
        for (int x = 0; x < w; ++x) {
            int tx = x, ty = y;
            switch (orientation) {
            case 2: tx = w - 1 - x; break;
            case 3: tx = w - 1 - x; ty = h - 1 - y; break;
            case 4: ty = h - 1 - y; break;
            case 5: tx = y; ty = x; break;
            case 6: tx = h - 1 - y; ty = x; break;
            case 7: tx = h - 1 - y; ty = w - 1 - x; break;
            case 8: tx = y; ty = w - 1 - x; break;
            default: break;
            }
            std::memcpy(target + static_cast<ptrdiff_t>(ty) * targetStride + static_cast<ptrdiff_t>(tx) * 4, from + x, 4);
        }
    }
}

bool ReadPictureSize(const uint8_t* p, size_t size, int& width, int& height) {
    if (!p) return false;
    uint32_t w = 0, h = 0;
    if (size >= 24 && std::memcmp(p, "\x89PNG\r\n\x1a\n", 8) == 0) {
        w = Get32(p + 16, true);
        h = Get32(p + 20, true);
    } else if (size >= 10 && std::memcmp(p, "GIF8", 4) == 0) {
        w = Get16(p + 6, false);
        h = Get16(p + 8, false);
    } else if (size >= 26 && p[0] == 'B' && p[1] == 'M') {
        if (Get32(p + 14, false) == 12) {
            w = Get16(p + 18, false);
            h = Get16(p + 20, false);
        } else {
            auto sw = static_cast<int32_t>(Get32(p + 18, false)), sh = static_cast<int32_t>(Get32(p + 22, false));
            if (sw < 0 || sh == INT32_MIN) return false;
            w = static_cast<uint32_t>(sw);
            h = static_cast<uint32_t>(sh < 0 ? -sh : sh);
        }
    } else if (size >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) {
        int jw = 0, jh = 0;
        if (!ReadJpegSize(p, size, jw, jh)) return false;
        w = static_cast<uint32_t>(jw);
        h = static_cast<uint32_t>(jh);
    } else {
        bool ok = VisitFirstDirectory(p, size, [&](uint32_t tag, uint32_t type, const uint8_t* value, bool big) {
            if (tag == 256) w = EntryValue(type, value, big);
            if (tag == 257) h = EntryValue(type, value, big);
        });
        if (!ok) return false;
    }
    if (w == 0 || h == 0 || w > INT32_MAX || h > INT32_MAX) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

void ShrinkPixels(const uint8_t* source, int sw, int sh, int sourceStride, uint8_t* target, int tw, int th,
                  int targetStride) {
    if (sw <= 0 || sh <= 0 || tw <= 0 || th <= 0 || tw > sw || th > sh) return;
    RowShrinker shrinker(sw, sh, target, tw, th, targetStride);
    for (int y = 0; y < sh; ++y) shrinker.AddRow(source + static_cast<ptrdiff_t>(y) * sourceStride);
}

std::vector<RowShrinker::Span> RowShrinker::Spans(int sourceSize, int targetSize) {
    std::vector<Span> spans(static_cast<size_t>(targetSize));
    const double scale = static_cast<double>(sourceSize) / targetSize;
    for (int t = 0; t < targetSize; ++t) {
        double from = t * scale, to = (t + 1) * scale;
        int first = static_cast<int>(from), last = static_cast<int>(to - 1e-9);
        if (last >= sourceSize) last = sourceSize - 1;
        Span& span = spans[static_cast<size_t>(t)];
        span.first = first;
        for (int s = first; s <= last; ++s) {
            double lo = s < from ? from : s, hi = s + 1 > to ? to : s + 1;
            span.weights.push_back(static_cast<float>((hi - lo) / scale));
        }
    }
    return spans;
}

RowShrinker::RowShrinker(int sourceWidth, int sourceHeight, uint8_t* target, int targetWidth, int targetHeight,
                         int targetStride)
    : m_sourceHeight(sourceHeight), m_targetWidth(targetWidth), m_targetHeight(targetHeight),
      m_targetStride(targetStride), m_target(target), m_columns(Spans(sourceWidth, targetWidth)),
      m_rows(Spans(sourceHeight, targetHeight)), m_line(static_cast<size_t>(targetWidth) * 4),
      m_sums(static_cast<size_t>(targetHeight)) {}

void RowShrinker::AddRow(const uint8_t* row) {
    const int y = m_nextRow++;
    if (y >= m_sourceHeight) return;
    // Across first: the row's share of each target column...
    for (int x = 0; x < m_targetWidth; ++x) {
        const Span& span = m_columns[static_cast<size_t>(x)];
        float sum[4] = {};
        const uint8_t* s = row + static_cast<size_t>(span.first) * 4;
        for (size_t k = 0; k < span.weights.size(); ++k, s += 4)
            for (int c = 0; c < 4; ++c) sum[c] += span.weights[k] * s[c];
        for (int c = 0; c < 4; ++c) m_line[static_cast<size_t>(x) * 4 + c] = sum[c];
    }
    // ...then down: into each target row this source row falls in (one or two).
    const int firstRow = static_cast<int>(static_cast<int64_t>(y) * m_targetHeight / m_sourceHeight);
    for (int t = std::max(0, firstRow - 1); t < m_targetHeight; ++t) {
        const Span& span = m_rows[static_cast<size_t>(t)];
        if (y < span.first) break;
        const int k = y - span.first;
        if (k >= static_cast<int>(span.weights.size())) continue;
        std::vector<float>& sums = m_sums[static_cast<size_t>(t)];
        if (sums.empty()) sums.assign(m_line.size(), 0.0f);
        const float weight = span.weights[static_cast<size_t>(k)];
        for (size_t i = 0; i < m_line.size(); ++i) sums[i] += weight * m_line[i];
        if (k + 1 == static_cast<int>(span.weights.size())) FinishRow(t);
    }
}

void RowShrinker::FinishRow(int t) {
    std::vector<float>& sums = m_sums[static_cast<size_t>(t)];
    uint8_t* out = m_target + static_cast<ptrdiff_t>(t) * m_targetStride;
    for (size_t i = 0; i < sums.size(); ++i) {
        const float v = sums[i] + 0.5f;
        out[i] = static_cast<uint8_t>(v >= 255.0f ? 255.0f : v);
    }
    std::vector<float>().swap(sums);
}

PictureFormat SniffPictureFormat(const uint8_t* p, size_t size) {
    if (!p) return PictureFormat::Unknown;
    if (size >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) return PictureFormat::Jpeg;
    if (size >= 8 && std::memcmp(p, "\x89PNG\r\n\x1a\n", 8) == 0) return PictureFormat::Png;
    if (size >= 6 && (std::memcmp(p, "GIF87a", 6) == 0 || std::memcmp(p, "GIF89a", 6) == 0)) return PictureFormat::Gif;
    if (size >= 14 && p[0] == 'B' && p[1] == 'M') return PictureFormat::Bmp;
    if (size >= 4 && (std::memcmp(p, "II*\0", 4) == 0 || std::memcmp(p, "MM\0*", 4) == 0)) return PictureFormat::Tiff;
    if (size >= 12 && std::memcmp(p, "RIFF", 4) == 0 && std::memcmp(p + 8, "WEBP", 4) == 0) return PictureFormat::WebP;
    // ISO media files: the brands of the "ftyp" box say which picture format they carry.
    if (size >= 16 && std::memcmp(p + 4, "ftyp", 4) == 0) {
        const size_t boxSize = std::min<size_t>(Get32(p, true), size);
        bool heif = false;
        for (size_t at = 8; at + 4 <= boxSize; at += 4) {
            if (at == 12) continue;  // the minor version, not a brand
            if (std::memcmp(p + at, "avif", 4) == 0 || std::memcmp(p + at, "avis", 4) == 0) return PictureFormat::Avif;
            for (const char* brand : {"heic", "heix", "hevc", "hevx", "heim", "heis", "mif1", "msf1"})
                if (std::memcmp(p + at, brand, 4) == 0) heif = true;
        }
        if (heif) return PictureFormat::Heif;
    }
    return PictureFormat::Unknown;
}

DrawnSize DecodeSizeFor(int storedWidth, int storedHeight, int orientation, const DrawnSizeFor& drawnSize,
                        DecodedPicture& picture) {
    const bool turned = orientation >= 5;
    picture.width = turned ? storedHeight : storedWidth;
    picture.height = turned ? storedWidth : storedHeight;
    const DrawnSize drawn = drawnSize(picture.width, picture.height);
    const int w = turned ? drawn.h : drawn.w, h = turned ? drawn.w : drawn.h;
    return {std::clamp(w, 1, std::max(1, storedWidth)), std::clamp(h, 1, std::max(1, storedHeight))};
}

namespace {

// GDI+ decodes the whole picture; the header says beforehand whether that fits.
DecodedPicture DecodeWithGdiplus(const PhotoBytes& bytes) {
    DecodedPicture picture;
    int w = 0, h = 0;
    if (ReadPictureSize(bytes.Data(), std::min(bytes.Size(), kHeaderBytes), w, h) &&
        static_cast<int64_t>(w) * h > kMaxDecodedPixels)
        return picture;
    picture.source.reset(bytes.NewStream());
    if (!picture.source) return picture;
    auto image = std::make_unique<Gdiplus::Bitmap>(picture.source.get());
    if (image->GetLastStatus() != Gdiplus::Ok || image->GetWidth() == 0 || image->GetHeight() == 0) return {};
    picture.width = static_cast<int>(image->GetWidth());
    picture.height = static_cast<int>(image->GetHeight());
    picture.bitsPerPixel = static_cast<int>((image->GetPixelFormat() >> 8) & 0xFF);
    picture.image = std::move(image);
    return picture;
}

}  // namespace

DecodedPicture DecodePicture(const std::string& path, const DrawnSizeFor& drawnSize) {
    // A picture the user named (a background, a thumbnail of a photo shown): cloud files come down.
    PhotoBytes bytes;
    if (DefaultPhotoSource().Read(path, true, {}, bytes) != PhotoRead::Read) return {};
    return DecodePicture(bytes, drawnSize);
}

DecodedPicture DecodePicture(const PhotoBytes& bytes, const DrawnSizeFor& drawnSize) {
    DecodedPicture picture;
    if (!bytes) return picture;
    const uint8_t* data = bytes.Data();
    const size_t size = bytes.Size();
    auto passedOverUnless = [&](DecodeOutcome outcome) { return outcome == DecodeOutcome::Decoded ? std::move(picture) : DecodedPicture{}; };
    switch (SniffPictureFormat(data, size)) {
    case PictureFormat::Jpeg:
        if (HasJpegDecoder()) {
            const DecodeOutcome outcome = DecodeJpeg(data, size, drawnSize, picture);
            if (outcome != DecodeOutcome::Rejected) return passedOverUnless(outcome);
            picture = {};
        }
        return DecodeWithGdiplus(bytes);
    case PictureFormat::WebP:
        return passedOverUnless(DecodeWebP(data, size, drawnSize, picture));
    case PictureFormat::Png:
    case PictureFormat::Gif:
    case PictureFormat::Bmp:
        return DecodeWithGdiplus(bytes);
    case PictureFormat::Tiff: {
        // WIC reads the orientation and decodes no more than is drawn; GDI+ is the second try.
        const DecodeOutcome outcome = DecodeWithWic(bytes, drawnSize, picture);
        if (outcome != DecodeOutcome::Rejected) return passedOverUnless(outcome);
        return DecodeWithGdiplus(bytes);
    }
    case PictureFormat::Heif:
    case PictureFormat::Avif:
    case PictureFormat::Unknown:
        break;
    }
    // Whatever else the system has a codec for; without one the file is passed over.
    return passedOverUnless(DecodeWithWic(bytes, drawnSize, picture));
}

namespace {

// Premultiplied pixels over straight-alpha ones, in place.
void OverStraight(const uint8_t* source, uint8_t* target, int count) {
    for (int i = 0; i < count; ++i, source += 4, target += 4) {
        const unsigned sa = source[3];
        if (sa == 255 || target[3] == 0) {
            if (sa == 0) continue;
            // Straight colour back from the premultiplied one.
            for (int c = 0; c < 3; ++c)
                target[c] = static_cast<uint8_t>(sa == 255 ? source[c] : std::min(255u, (source[c] * 255u + sa / 2) / sa));
            target[3] = static_cast<uint8_t>(sa);
            continue;
        }
        const unsigned da = target[3] * (255 - sa) / 255, a = sa + da;
        if (a == 0) continue;
        for (int c = 0; c < 3; ++c)
            target[c] = static_cast<uint8_t>(std::min(255u, (source[c] * 255u + target[c] * da + a / 2) / a));
        target[3] = static_cast<uint8_t>(a);
    }
}

}  // namespace

bool ShrinkOnto(Gdiplus::Bitmap& layer, Gdiplus::Image& image, const Gdiplus::Rect& dest) {
    const int sw = static_cast<int>(image.GetWidth()), sh = static_cast<int>(image.GetHeight());
    const int lw = static_cast<int>(layer.GetWidth()), lh = static_cast<int>(layer.GetHeight());
    if (dest.Width <= 0 || dest.Height <= 0 || dest.Width > sw || dest.Height > sh) return false;
    if (dest.X < 0 || dest.Y < 0 || dest.X + dest.Width > lw || dest.Y + dest.Height > lh) return false;
    if (image.GetType() != Gdiplus::ImageTypeBitmap) return false;
    auto& source = static_cast<Gdiplus::Bitmap&>(image);
    fw::LockedBits to(layer, dest, fw::kReadWrite, PixelFormat32bppARGB);
    if (!to) return false;
    const int rowBytes = dest.Width * 4;
    std::vector<uint8_t> shrunk(static_cast<size_t>(rowBytes) * static_cast<size_t>(dest.Height));
    {
        fw::LockedBits from(source, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB);
        if (!from) return false;
        ShrinkPixels(from.Bits(), sw, sh, from.Stride(), shrunk.data(), dest.Width, dest.Height, rowBytes);
    }
    for (int y = 0; y < dest.Height; ++y)
        OverStraight(shrunk.data() + static_cast<ptrdiff_t>(y) * rowBytes, to.Row(y), dest.Width);
    return true;
}

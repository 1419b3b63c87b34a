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

namespace {

constexpr size_t kHeaderBytes = 64 * 1024;  // enough for every header ReadPictureSize reads

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

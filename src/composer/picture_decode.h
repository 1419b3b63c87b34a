#pragma once
// Pictures decoded no larger than they are drawn, by the decoder their content (not their name)
// calls for: JPEG scaled in the DCT by libjpeg-turbo, WebP scaled by libwebp, TIFF, HEIF, AVIF and
// whatever else the system has a codec for through WIC, PNG, GIF and BMP by GDI+; upright after
// their orientation, then brought once to the drawn size. A picture that would need more memory
// than the budget is passed over before anything large is allocated.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "composer/photo_file.h"
#include "composer/placement.h"

// Decoded pictures larger than this (after the best scale) are passed over: 25 megapixels is
// 100 MB at 32 bits, and GDI+ may hold a second copy while it decodes.
constexpr int64_t kMaxDecodedPixels = 25'000'000;

// What a file holds, by its first bytes.
enum class PictureFormat { Unknown, Jpeg, Png, Gif, Bmp, Tiff, WebP, Heif, Avif };
PictureFormat SniffPictureFormat(const uint8_t* data, size_t size);

enum class DecodeOutcome {
    Decoded,
    Rejected,  // this decoder cannot read it: another may try
    Refused,   // truncated or over the memory budget: passed over
};

// The smallest N of the DCT scales N/8 whose output (rounded up, as libjpeg does) still covers
// the target in both directions; 8 when the target is as large as the picture or larger.
int ChooseJpegScale(int width, int height, int targetWidth, int targetHeight);

// The EXIF orientation (tag 0x0112, 1 to 8) of an APP1 segment's data ("Exif\0\0" + TIFF); 1 when
// there is none or the segment is malformed.
int ExifOrientation(const uint8_t* data, size_t size);
// The same from TIFF data, with or without the "Exif\0\0" in front (WebP's EXIF chunk).
int TiffOrientation(const uint8_t* data, size_t size);
// Copies 32-bit pixels stored with the EXIF orientation into target upright (w x h stored; the
// target is h x w for orientations 5 to 8). Strides are in bytes.
void OrientPixels(const uint8_t* source, int w, int h, int sourceStride, int orientation, uint8_t* target,
                  int targetStride);

// The size a PNG, GIF, BMP, TIFF or JPEG header gives, without decoding; false when the format is
// not one of those or the header is cut short.
bool ReadPictureSize(const uint8_t* data, size_t size, int& width, int& height);

// Area-weighted shrinking of premultiplied 32-bit pixels (B, G, R, A); the target is no larger
// than the source in either direction. Strides are in bytes.
void ShrinkPixels(const uint8_t* source, int sw, int sh, int sourceStride, uint8_t* target, int tw, int th,
                  int targetStride);

// Area-weighted shrinking of premultiplied 32-bit rows fed one by one, top to bottom: a decoder that
// hands out rows in bands never holds the whole picture.
class RowShrinker {
public:
    RowShrinker(int sourceWidth, int sourceHeight, uint8_t* target, int targetWidth, int targetHeight,
                int targetStride);
    void AddRow(const uint8_t* row);

private:
    struct Span {
        int first = 0;
        std::vector<float> weights;
    };
    static std::vector<Span> Spans(int sourceSize, int targetSize);
    void FinishRow(int t);

    int m_sourceHeight, m_targetWidth, m_targetHeight, m_targetStride;
    uint8_t* m_target;
    std::vector<Span> m_columns, m_rows;
    std::vector<float> m_line;                   // one source row shrunk across
    std::vector<std::vector<float>> m_sums;      // the target rows being gathered
    int m_nextRow = 0;
};

struct DecodedPicture {
    struct ReleaseStream {
        void operator()(IStream* stream) const noexcept { stream->Release(); }
    };
    // The bytes GDI+ reads on demand, kept until the image is gone (declared first: dropped last).
    std::unique_ptr<IStream, ReleaseStream> source;
    std::unique_ptr<Gdiplus::Image> image;  // upright; at least the drawn size, or the whole picture
    int width = 0, height = 0;              // the picture's own upright size
    int bitsPerPixel = 0;                   // as the file stores it
    explicit operator bool() const { return image != nullptr; }
};

// The size a picture of the given upright size will be drawn at.
using DrawnSizeFor = std::function<DrawnSize(int width, int height)>;

// The picture of the file decoded for drawing at drawnSize, or empty when it cannot be read or
// decoded (not a picture, truncated, over the memory budget, no codec for it).
DecodedPicture DecodePicture(const std::string& path, const DrawnSizeFor& drawnSize);
// The same from a file's bytes already read.
DecodedPicture DecodePicture(const PhotoBytes& bytes, const DrawnSizeFor& drawnSize);

// Sets the picture's own upright size from its stored size and orientation, and returns the size
// to decode it at, in stored directions: drawnSize's answer, at least 1 x 1, never larger than the
// stored picture.
DrawnSize DecodeSizeFor(int storedWidth, int storedHeight, int orientation, const DrawnSizeFor& drawnSize,
                        DecodedPicture& picture);

// The image brought by ShrinkPixels to the rectangle of a 32-bit ARGB layer and drawn there over
// what the layer holds; false, with nothing drawn, when the image is not a bitmap at least as large
// or the rectangle leaves the layer.
bool ShrinkOnto(Gdiplus::Bitmap& layer, Gdiplus::Image& image, const Gdiplus::Rect& dest);


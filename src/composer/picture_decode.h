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

#include "composer/decoded_picture.h"
#include "composer/photo_file.h"
#include "composer/picture_bytes.h"
#include "composer/placement.h"

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

// The picture of the file decoded for drawing at drawnSize, or empty when it cannot be read or
// decoded (not a picture, truncated, over the memory budget, no codec for it).
DecodedPicture DecodePicture(const std::string& path, const DrawnSizeFor& drawnSize);
// The same from a file's bytes already read.
DecodedPicture DecodePicture(const PhotoBytes& bytes, const DrawnSizeFor& drawnSize);

// The image brought by ShrinkPixels to the rectangle of a 32-bit ARGB layer and drawn there over
// what the layer holds; false, with nothing drawn, when the image is not a bitmap at least as large
// or the rectangle leaves the layer.
bool ShrinkOnto(Gdiplus::Bitmap& layer, Gdiplus::Image& image, const Gdiplus::Rect& dest);


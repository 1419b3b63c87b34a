#pragma once
// What every decoder hands back and the steps they share: the memory budget, the outcome, the
// picture with its stream, the size it is decoded at and the turn to upright.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "composer/placement.h"

// Decoded pictures larger than this (after the best scale) are passed over: 25 megapixels is
// 100 MB at 32 bits, and GDI+ may hold a second copy while it decodes.
constexpr int64_t kMaxDecodedPixels = 25'000'000;

enum class DecodeOutcome {
    Decoded,
    Rejected,  // this decoder cannot read it: another may try
    Refused,   // truncated or over the memory budget: passed over
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

// Sets the picture's own upright size from its stored size and orientation, and returns the size
// to decode it at, in stored directions: drawnSize's answer, at least 1 x 1, never larger than the
// stored picture.
DrawnSize DecodeSizeFor(int storedWidth, int storedHeight, int orientation, const DrawnSizeFor& drawnSize,
                        DecodedPicture& picture);

// Copies 32-bit pixels stored with the EXIF orientation into target upright (w x h stored; the
// target is h x w for orientations 5 to 8). Strides are in bytes.
void OrientPixels(const uint8_t* source, int w, int h, int sourceStride, int orientation, uint8_t* target,
                  int targetStride);

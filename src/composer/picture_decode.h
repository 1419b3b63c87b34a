#pragma once
// Pictures decoded no larger than they are drawn: JPEG scaled in the DCT by libjpeg-turbo (upright
// after the EXIF orientation), the other formats by GDI+; then brought once to the drawn size.
// A picture that would need more memory than the budget is passed over before anything large is
// allocated.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "composer/placement.h"

// Decoded pictures larger than this (after the best scale) are passed over: 25 megapixels is
// 100 MB at 32 bits, and GDI+ may hold a second copy while it decodes.
constexpr int64_t kMaxDecodedPixels = 25'000'000;

// The smallest N of the DCT scales N/8 whose output (rounded up, as libjpeg does) still covers
// the target in both directions; 8 when the target is as large as the picture or larger.
int ChooseJpegScale(int width, int height, int targetWidth, int targetHeight);

// The EXIF orientation (tag 0x0112, 1 to 8) of an APP1 segment's data ("Exif\0\0" + TIFF); 1 when
// there is none or the segment is malformed.
int ExifOrientation(const uint8_t* data, size_t size);
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

struct DecodedPicture {
    std::unique_ptr<Gdiplus::Image> image;  // upright; at least the drawn size, or the whole picture
    int width = 0, height = 0;              // the picture's own upright size
    explicit operator bool() const { return image != nullptr; }
};

// The size a picture of the given upright size will be drawn at.
using DrawnSizeFor = std::function<DrawnSize(int width, int height)>;

// The picture of the file decoded for drawing at drawnSize, or empty when it cannot be decoded
// (not a picture, truncated, over the memory budget).
DecodedPicture DecodePicture(const std::string& path, const DrawnSizeFor& drawnSize);

// The image brought by ShrinkPixels to the rectangle of a 32-bit ARGB layer and drawn there over
// what the layer holds; false, with nothing drawn, when the image is not a bitmap at least as large
// or the rectangle leaves the layer.
bool ShrinkOnto(Gdiplus::Bitmap& layer, Gdiplus::Image& image, const Gdiplus::Rect& dest);


#pragma once
// JPEG decoding with libjpeg-turbo, scaled in the DCT to the drawn size.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstddef>
#include <cstdint>

#include "composer/decoded_picture.h"

// The smallest N of the DCT scales N/8 whose output (rounded up, as libjpeg does) still covers
// the target in both directions; 8 when the target is as large as the picture or larger.
int ChooseJpegScale(int width, int height, int targetWidth, int targetHeight);

// Whether this build decodes JPEG itself.
bool HasJpegDecoder();

// Decodes the file's bytes at the smallest DCT scale covering the drawn size, upright. The
// picture's own size is set even when the outcome is Rejected after the header was read.
DecodeOutcome DecodeJpeg(const uint8_t* data, size_t size, const DrawnSizeFor& drawnSize, DecodedPicture& picture);

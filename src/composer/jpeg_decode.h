#pragma once
// JPEG decoding with libjpeg-turbo, scaled in the DCT to the drawn size.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstddef>
#include <cstdint>

#include "composer/picture_decode.h"

// Whether this build decodes JPEG itself.
bool HasJpegDecoder();

// Decodes the file's bytes at the smallest DCT scale covering the drawn size, upright. The
// picture's own size is set even when the outcome is Rejected after the header was read.
DecodeOutcome DecodeJpeg(const uint8_t* data, size_t size, const DrawnSizeFor& drawnSize, DecodedPicture& picture);

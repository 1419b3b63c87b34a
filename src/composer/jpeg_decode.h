#pragma once
// JPEG decoding with libjpeg-turbo, scaled in the DCT to the drawn size.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>

#include "composer/picture_decode.h"

enum class JpegOutcome {
    Decoded,
    Rejected,  // libjpeg-turbo cannot read it: GDI+ may try
    Refused,   // truncated or over the memory budget: passed over
};

// Whether this build decodes JPEG itself.
bool HasJpegDecoder();

// Decodes the file at the smallest DCT scale covering the drawn size, upright. The picture's own
// size is set even when the outcome is Rejected after the header was read.
JpegOutcome DecodeJpeg(const std::string& path, const DrawnSizeFor& drawnSize, DecodedPicture& picture);

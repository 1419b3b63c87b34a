#pragma once
// WebP decoding with libwebp, scaled while decoding to the drawn size: the first frame of an
// animation, alpha kept, upright after the EXIF orientation.

#include <cstddef>
#include <cstdint>

#include "composer/decoded_picture.h"

// Whether this build decodes WebP.
bool HasWebPDecoder();

// Decodes the file's bytes; a truncated, malformed or oversized file is Refused (no other decoder
// reads WebP).
DecodeOutcome DecodeWebP(const uint8_t* data, size_t size, const DrawnSizeFor& drawnSize, DecodedPicture& picture);

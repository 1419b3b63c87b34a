#pragma once
// Decoding through the Windows Imaging Component: whatever the system has a codec for (HEIF and
// AVIF on Windows 10 and later with their extensions, TIFF everywhere), scaled on decode where the
// codec allows and otherwise shrunk once by WIC's own scaler, upright after the orientation in its
// metadata. Each thread has one factory for its life (and COM with it), so no codec is loaded and
// unloaded per photo.

#include <string>

#include "composer/decoded_picture.h"
#include "composer/photo_file.h"

// Rejected when there is no codec for the file or it cannot be read; Refused when it would need
// more memory than the budget.
DecodeOutcome DecodeWithWic(const PhotoBytes& bytes, const DrawnSizeFor& drawnSize, DecodedPicture& picture);
// The same for a file, read whole first.
DecodeOutcome DecodeWithWic(const std::string& path, const DrawnSizeFor& drawnSize, DecodedPicture& picture);

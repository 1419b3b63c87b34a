#pragma once
// Decoding through the Windows Imaging Component: whatever the system has a codec for (HEIF and
// AVIF on Windows 10 and later with their extensions, TIFF everywhere), scaled on decode where the
// codec allows and otherwise shrunk once by WIC's own scaler, upright after the orientation in its
// metadata. Each thread has one factory for its life (and COM with it), so no codec is loaded and
// unloaded per photo.

#include <string>

#include "composer/decoded_picture.h"
#include "composer/photo_file.h"

// How far a WIC decoder's pixels are still to be turned (an EXIF orientation, 1 to 8).
// `decoderReport` is what the decoder itself says of the pixels it hands back (for HEIF its own
// orientation property, else the photo property it maps for its format); `exifTag` is the EXIF
// directory's tag as the camera wrote it. 0 for either: not there.
//
// Microsoft's documentation of the HEIF decoder (Windows 10 1809 and later) gives it an
// orientation property numbered as System.Photo.Orientation and says a HEIF frame is decoded
// like any other WIC frame; it does not promise that the decoder turns the pixels itself. The
// HEIF format makes the container's rotation and mirroring part of the picture and leaves an
// EXIF orientation as description only, and phones write both. So a HEIF picture is turned by
// what its decoder reports alone: a decoder that turned the pixels reports them upright, and the
// EXIF copy applied on top would turn the photo twice. Other formats keep to EXIF's tag when the
// decoder says nothing.
int OrientationToApply(bool heif, int decoderReport, int exifTag);

// Rejected when there is no codec for the file or it cannot be read; Refused when it would need
// more memory than the budget.
DecodeOutcome DecodeWithWic(const PhotoBytes& bytes, const DrawnSizeFor& drawnSize, DecodedPicture& picture);
// The same for a file, read whole first.
DecodeOutcome DecodeWithWic(const std::string& path, const DrawnSizeFor& drawnSize, DecodedPicture& picture);

#pragma once
// What a picture file's first bytes say before anything is decoded: its format, its size and the
// orientation its EXIF data asks for.

#include <cstddef>
#include <cstdint>

// What a file holds, by its first bytes.
enum class PictureFormat { Unknown, Jpeg, Png, Gif, Bmp, Tiff, WebP, Heif, Avif };
PictureFormat SniffPictureFormat(const uint8_t* data, size_t size);

// The size a PNG, GIF, BMP, TIFF or JPEG header gives, without decoding; false when the format is
// not one of those or the header is cut short.
bool ReadPictureSize(const uint8_t* data, size_t size, int& width, int& height);

// The EXIF orientation (tag 0x0112, 1 to 8) of an APP1 segment's data ("Exif\0\0" + TIFF); 1 when
// there is none or the segment is malformed.
int ExifOrientation(const uint8_t* data, size_t size);
// The same from TIFF data, with or without the "Exif\0\0" in front (WebP's EXIF chunk).
int TiffOrientation(const uint8_t* data, size_t size);

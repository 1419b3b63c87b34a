#pragma once
// The pixel size a picture file claims in its header, read before any decoder sees the file: a
// header claiming tens of thousands of pixels a side would have the decoder allocate gigabytes,
// and some decoders write past their buffers on such files.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

struct PictureSize {
    int64_t width = 0;
    int64_t height = 0;
};

// Reads up to n bytes at the offset into out; returns how many it read.
using ReadAt = std::function<size_t(uint64_t offset, void* out, size_t n)>;

// The size from a BMP, PNG, GIF, JPEG or TIFF header; false for anything else or a header cut short.
bool ParsePictureSize(const ReadAt& read, PictureSize& size);
bool ReadPictureSize(const std::string& path, PictureSize& size);

// Larger pictures are passed over: decoded they would take gigabytes of memory.
constexpr int64_t kLargestPicturePixels = 100'000'000;

// True when the file's header names a known format with a size worth decoding.
bool IsDecodablePicture(const std::string& path);

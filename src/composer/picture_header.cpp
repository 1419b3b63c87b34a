#include "composer/picture_header.h"

#include <windows.h>

#include <cstring>

#include "framework/handles.h"
#include "framework/mbstring.h"

namespace {

uint32_t Be16(const uint8_t* p) { return (uint32_t{p[0]} << 8) | p[1]; }
uint32_t Be32(const uint8_t* p) { return (Be16(p) << 16) | Be16(p + 2); }
uint32_t Le16(const uint8_t* p) { return (uint32_t{p[1]} << 8) | p[0]; }
uint32_t Le32(const uint8_t* p) { return (Le16(p + 2) << 16) | Le16(p); }

bool ReadExactly(const ReadAt& read, uint64_t offset, void* out, size_t n) { return read(offset, out, n) == n; }

bool ParsePng(const ReadAt& read, PictureSize& size) {
    uint8_t h[24];
    if (!ReadExactly(read, 0, h, sizeof h) || std::memcmp(h + 12, "IHDR", 4) != 0) return false;
    size = {Be32(h + 16), Be32(h + 20)};
    return true;
}

bool ParseGif(const ReadAt& read, PictureSize& size) {
    uint8_t h[10];
    if (!ReadExactly(read, 0, h, sizeof h)) return false;
    size = {Le16(h + 6), Le16(h + 8)};
    return true;
}

bool ParseBmp(const ReadAt& read, PictureSize& size) {
    uint8_t h[26];
    if (!ReadExactly(read, 0, h, sizeof h)) return false;
    if (Le32(h + 14) == 12) {  // the old core header: 16-bit sizes
        size = {Le16(h + 18), Le16(h + 20)};
        return true;
    }
    int32_t height = static_cast<int32_t>(Le32(h + 22));  // negative for top-down rows
    size = {static_cast<int32_t>(Le32(h + 18)), height < 0 ? -static_cast<int64_t>(height) : height};
    return true;
}

bool ParseJpeg(const ReadAt& read, PictureSize& size) {
    uint64_t at = 2;
    for (int segments = 0; segments < 10000; ++segments) {
        uint8_t m[2];
        if (!ReadExactly(read, at, m, 2) || m[0] != 0xFF) return false;
        if (m[1] == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const uint8_t marker = m[1];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        uint8_t s[7];
        if (!ReadExactly(read, at + 2, s, sizeof s)) return false;
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            size = {Be16(s + 5), Be16(s + 3)};
            return true;
        }
        if (marker == 0xD9 || marker == 0xDA) return false;  // end, or scan data before any frame
        uint32_t length = Be16(s);
        if (length < 2) return false;
        at += 2 + length;
    }
    return false;
}

bool ParseTiff(const ReadAt& read, PictureSize& size) {
    uint8_t h[8];
    if (!ReadExactly(read, 0, h, sizeof h)) return false;
    const bool little = h[0] == 'I';
    auto u16 = [little](const uint8_t* p) { return little ? Le16(p) : Be16(p); };
    auto u32 = [little](const uint8_t* p) { return little ? Le32(p) : Be32(p); };
    const uint64_t ifd = u32(h + 4);
    uint8_t c[2];
    if (!ReadExactly(read, ifd, c, 2)) return false;
    const uint32_t count = u16(c);
    int64_t width = -1, height = -1;
    for (uint32_t i = 0; i < count && i < 4096; ++i) {
        uint8_t e[12];
        if (!ReadExactly(read, ifd + 2 + 12ull * i, e, sizeof e)) return false;
        const uint32_t tag = u16(e), type = u16(e + 2);
        const int64_t value = type == 3 ? u16(e + 8) : type == 4 ? u32(e + 8) : -1;
        if (tag == 256) width = value;
        if (tag == 257) height = value;
    }
    if (width < 0 || height < 0) return false;
    size = {width, height};
    return true;
}

}  // namespace

bool ParsePictureSize(const ReadAt& read, PictureSize& size) {
    uint8_t magic[8] = {};
    if (read(0, magic, sizeof magic) < 4) return false;
    if (std::memcmp(magic, "\x89PNG\r\n\x1A\n", 8) == 0) return ParsePng(read, size);
    if (std::memcmp(magic, "GIF8", 4) == 0) return ParseGif(read, size);
    if (magic[0] == 'B' && magic[1] == 'M') return ParseBmp(read, size);
    if (magic[0] == 0xFF && magic[1] == 0xD8) return ParseJpeg(read, size);
    if (std::memcmp(magic, "II*\0", 4) == 0 || std::memcmp(magic, "MM\0*", 4) == 0) return ParseTiff(read, size);
    return false;
}

bool ReadPictureSize(const std::string& path, PictureSize& size) {
    HANDLE raw = ::CreateFileW(mb::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return false;
    fw::KernelHandle file(raw);
    return ParsePictureSize(
        [&file](uint64_t offset, void* out, size_t n) -> size_t {
            LARGE_INTEGER to{};
            to.QuadPart = static_cast<LONGLONG>(offset);
            DWORD got = 0;
            if (!::SetFilePointerEx(file.get(), to, nullptr, FILE_BEGIN)) return 0;
            if (!::ReadFile(file.get(), out, static_cast<DWORD>(n), &got, nullptr)) return 0;
            return got;
        },
        size);
}

bool IsDecodablePicture(const std::string& path) {
    PictureSize size;
    if (!ReadPictureSize(path, size)) return false;
    return size.width > 0 && size.height > 0 && size.width * size.height <= kLargestPicturePixels;
}

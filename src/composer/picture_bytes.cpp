#include "composer/picture_bytes.h"

#include <algorithm>
#include <cstring>

namespace {

uint32_t Get16(const uint8_t* p, bool bigEndian) {
    return bigEndian ? (uint32_t{p[0]} << 8 | p[1]) : (uint32_t{p[1]} << 8 | p[0]);
}
uint32_t Get32(const uint8_t* p, bool bigEndian) {
    return bigEndian ? (Get16(p, true) << 16 | Get16(p + 2, true)) : (Get16(p + 2, false) << 16 | Get16(p, false));
}

// Calls visit(tag, type, value field) for each entry of the TIFF's first directory; false when
// the header or the directory is cut short.
template <typename Visit>
bool VisitFirstDirectory(const uint8_t* tiff, size_t size, Visit visit) {
    if (size < 8) return false;
    bool big;
    if (tiff[0] == 'I' && tiff[1] == 'I') big = false;
    else if (tiff[0] == 'M' && tiff[1] == 'M') big = true;
    else return false;
    if (Get16(tiff + 2, big) != 42) return false;
    uint32_t dir = Get32(tiff + 4, big);
    if (dir > size || size - dir < 2) return false;
    uint32_t count = Get16(tiff + dir, big);
    if ((size - dir - 2) / 12 < count) return false;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = tiff + dir + 2 + i * 12;
        visit(Get16(entry, big), Get16(entry + 2, big), entry + 8, big);
    }
    return true;
}

// The value of a SHORT or LONG entry.
uint32_t EntryValue(uint32_t type, const uint8_t* value, bool big) {
    return type == 3 ? Get16(value, big) : type == 4 ? Get32(value, big) : 0;
}

bool ReadJpegSize(const uint8_t* p, size_t size, int& width, int& height) {
    size_t at = 2;
    while (at + 4 <= size) {
        if (p[at] != 0xFF) return false;
        uint8_t marker = p[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        size_t length = Get16(p + at + 2, true);
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > size) return false;
            height = static_cast<int>(Get16(p + at + 5, true));
            width = static_cast<int>(Get16(p + at + 7, true));
            return true;
        }
        if (length < 2) return false;
        at += 2 + length;
    }
    return false;
}

}  // namespace

int ExifOrientation(const uint8_t* data, size_t size) {
    if (!data || size < 6 || std::memcmp(data, "Exif\0\0", 6) != 0) return 1;
    return TiffOrientation(data, size);
}

int TiffOrientation(const uint8_t* data, size_t size) {
    if (!data) return 1;
    if (size >= 6 && std::memcmp(data, "Exif\0\0", 6) == 0) {
        data += 6;
        size -= 6;
    }
    int orientation = 1;
    VisitFirstDirectory(data, size, [&](uint32_t tag, uint32_t type, const uint8_t* value, bool big) {
        if (tag == 0x0112 && type == 3) {
            uint32_t v = Get16(value, big);
            if (v >= 1 && v <= 8) orientation = static_cast<int>(v);
        }
    });
    return orientation;
}

bool ReadPictureSize(const uint8_t* p, size_t size, int& width, int& height) {
    if (!p) return false;
    uint32_t w = 0, h = 0;
    if (size >= 24 && std::memcmp(p, "\x89PNG\r\n\x1a\n", 8) == 0) {
        w = Get32(p + 16, true);
        h = Get32(p + 20, true);
    } else if (size >= 10 && std::memcmp(p, "GIF8", 4) == 0) {
        w = Get16(p + 6, false);
        h = Get16(p + 8, false);
    } else if (size >= 26 && p[0] == 'B' && p[1] == 'M') {
        if (Get32(p + 14, false) == 12) {
            w = Get16(p + 18, false);
            h = Get16(p + 20, false);
        } else {
            auto sw = static_cast<int32_t>(Get32(p + 18, false)), sh = static_cast<int32_t>(Get32(p + 22, false));
            if (sw < 0 || sh == INT32_MIN) return false;
            w = static_cast<uint32_t>(sw);
            h = static_cast<uint32_t>(sh < 0 ? -sh : sh);
        }
    } else if (size >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) {
        int jw = 0, jh = 0;
        if (!ReadJpegSize(p, size, jw, jh)) return false;
        w = static_cast<uint32_t>(jw);
        h = static_cast<uint32_t>(jh);
    } else {
        bool ok = VisitFirstDirectory(p, size, [&](uint32_t tag, uint32_t type, const uint8_t* value, bool big) {
            if (tag == 256) w = EntryValue(type, value, big);
            if (tag == 257) h = EntryValue(type, value, big);
        });
        if (!ok) return false;
    }
    if (w == 0 || h == 0 || w > INT32_MAX || h > INT32_MAX) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

PictureFormat SniffPictureFormat(const uint8_t* p, size_t size) {
    if (!p) return PictureFormat::Unknown;
    if (size >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) return PictureFormat::Jpeg;
    if (size >= 8 && std::memcmp(p, "\x89PNG\r\n\x1a\n", 8) == 0) return PictureFormat::Png;
    if (size >= 6 && (std::memcmp(p, "GIF87a", 6) == 0 || std::memcmp(p, "GIF89a", 6) == 0)) return PictureFormat::Gif;
    if (size >= 14 && p[0] == 'B' && p[1] == 'M') return PictureFormat::Bmp;
    if (size >= 4 && (std::memcmp(p, "II*\0", 4) == 0 || std::memcmp(p, "MM\0*", 4) == 0)) return PictureFormat::Tiff;
    if (size >= 12 && std::memcmp(p, "RIFF", 4) == 0 && std::memcmp(p + 8, "WEBP", 4) == 0) return PictureFormat::WebP;
    // ISO media files: the brands of the "ftyp" box say which picture format they carry.
    if (size >= 16 && std::memcmp(p + 4, "ftyp", 4) == 0) {
        const size_t boxSize = std::min<size_t>(Get32(p, true), size);
        bool heif = false;
        for (size_t at = 8; at + 4 <= boxSize; at += 4) {
            if (at == 12) continue;  // the minor version, not a brand
            if (std::memcmp(p + at, "avif", 4) == 0 || std::memcmp(p + at, "avis", 4) == 0) return PictureFormat::Avif;
            for (const char* brand : {"heic", "heix", "hevc", "hevx", "heim", "heis", "mif1", "msf1"})
                if (std::memcmp(p + at, brand, 4) == 0) heif = true;
        }
        if (heif) return PictureFormat::Heif;
    }
    return PictureFormat::Unknown;
}

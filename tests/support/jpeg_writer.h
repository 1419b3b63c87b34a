#pragma once
// Test JPEGs written with libjpeg-turbo: any colour form, progressive or with restart markers,
// with an EXIF orientation. Only in builds that decode JPEG themselves; the EXIF data in all.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#if DIORAMIX_HAS_LIBJPEG
#include <jpeglib.h>
#endif

#include "framework/mbstring.h"

namespace testing_support {

enum class JpegForm { Rgb, Grey, Cmyk, Ycck };

struct JpegOptions {
    JpegForm form = JpegForm::Rgb;
    bool progressive = false;
    unsigned restartRows = 0;  // a restart marker every that many MCU rows
    int orientation = 0;       // 0: no EXIF segment
    int quality = 95;
};

struct Rgb8 {
    uint8_t r, g, b;
};

// The APP1 data of an EXIF segment holding only the orientation.
inline std::vector<uint8_t> ExifWithOrientation(int orientation, bool bigEndian = true) {
    std::vector<uint8_t> d = {'E', 'x', 'i', 'f', 0, 0};
    auto put16 = [&](unsigned v) {
        if (bigEndian) d.insert(d.end(), {uint8_t(v >> 8), uint8_t(v)});
        else d.insert(d.end(), {uint8_t(v), uint8_t(v >> 8)});
    };
    auto put32 = [&](unsigned v) {
        if (bigEndian) { put16(v >> 16); put16(v & 0xFFFF); }
        else { put16(v & 0xFFFF); put16(v >> 16); }
    };
    d.insert(d.end(), bigEndian ? std::initializer_list<uint8_t>{'M', 'M'} : std::initializer_list<uint8_t>{'I', 'I'});
    put16(42);
    put32(8);
    put16(2);  // two entries: an unrelated one first
    put16(0x010F); put16(2); put32(4); d.insert(d.end(), {'c', 'a', 'm', 0});
    put16(0x0112); put16(3); put32(1); put16(static_cast<unsigned>(orientation)); put16(0);
    put32(0);
    return d;
}

#if DIORAMIX_HAS_LIBJPEG
// Writes a w x h JPEG whose pixel (x, y) is colour(x, y). CMYK forms store Adobe's inverted ink.
inline bool WriteJpeg(const std::string& path, int w, int h, const std::function<Rgb8(int, int)>& colour,
                      const JpegOptions& options = {}) {
    std::FILE* file = _wfopen(mb::Widen(path).c_str(), L"wb");
    if (!file) return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(w);
    info.image_height = static_cast<JDIMENSION>(h);
    const bool grey = options.form == JpegForm::Grey;
    const bool cmyk = options.form == JpegForm::Cmyk || options.form == JpegForm::Ycck;
    info.input_components = grey ? 1 : cmyk ? 4 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    if (cmyk) jpeg_set_colorspace(&info, options.form == JpegForm::Ycck ? JCS_YCCK : JCS_CMYK);
    jpeg_set_quality(&info, options.quality, TRUE);
    if (options.progressive) jpeg_simple_progression(&info);
    info.restart_in_rows = static_cast<int>(options.restartRows);
    jpeg_start_compress(&info, TRUE);
    if (options.orientation) {
        std::vector<uint8_t> exif = ExifWithOrientation(options.orientation);
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));
    }
    std::vector<uint8_t> row(static_cast<size_t>(w) * static_cast<size_t>(info.input_components));
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < w; ++x) {
            Rgb8 c = colour(x, y);
            uint8_t* p = row.data() + static_cast<size_t>(x) * static_cast<size_t>(info.input_components);
            if (grey) {
                p[0] = static_cast<uint8_t>((c.r * 30 + c.g * 59 + c.b * 11) / 100);
            } else if (cmyk) {
                // Inverted ink, black taken out: 255 - ink for each of C, M, Y, K.
                uint8_t k = c.r > c.g ? (c.r > c.b ? c.r : c.b) : (c.g > c.b ? c.g : c.b);
                p[3] = k;
                p[0] = static_cast<uint8_t>(k ? c.r * 255 / k : 0);
                p[1] = static_cast<uint8_t>(k ? c.g * 255 / k : 0);
                p[2] = static_cast<uint8_t>(k ? c.b * 255 / k : 0);
            } else {
                p[0] = c.r;
                p[1] = c.g;
                p[2] = c.b;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
    return true;
}

#endif

}  // namespace testing_support

#pragma once
// Test WebP files written with libwebp: lossy or lossless, with alpha, an EXIF orientation, or
// animated. Only in builds that decode WebP.
#if DIORAMIX_HAS_LIBWEBP

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <webp/encode.h>
#include <webp/mux.h>

#include "support/jpeg_writer.h"
#include "support/test_support.h"

namespace testing_support {

struct Rgba8 {
    uint8_t r, g, b, a;
};
using WebPColour = std::function<Rgba8(int x, int y)>;

struct WebPOptions {
    bool lossless = false;
    int orientation = 0;  // 0: no EXIF chunk
};

// B, G, R, A rows of the picture.
inline std::vector<uint8_t> WebPPixels(int w, int h, const WebPColour& colour) {
    std::vector<uint8_t> bgra(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba8 c = colour(x, y);
            uint8_t* p = bgra.data() + (static_cast<size_t>(y) * w + x) * 4;
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
            p[3] = c.a;
        }
    return bgra;
}

inline std::vector<uint8_t> EncodeWebP(int w, int h, const WebPColour& colour, const WebPOptions& options = {}) {
    const std::vector<uint8_t> bgra = WebPPixels(w, h, colour);
    uint8_t* out = nullptr;
    const size_t size = options.lossless ? WebPEncodeLosslessBGRA(bgra.data(), w, h, w * 4, &out)
                                         : WebPEncodeBGRA(bgra.data(), w, h, w * 4, 95.0f, &out);
    std::vector<uint8_t> bytes(out, out + size);
    WebPFree(out);
    if (!options.orientation || bytes.empty()) return bytes;

    // The EXIF chunk holds the TIFF data without the JPEG segment's "Exif\0\0".
    const std::vector<uint8_t> exif = ExifWithOrientation(options.orientation);
    WebPData image{bytes.data(), bytes.size()}, chunk{exif.data() + 6, exif.size() - 6}, assembled{};
    WebPMux* mux = WebPMuxCreate(&image, 1);
    std::vector<uint8_t> withExif;
    if (mux && WebPMuxSetChunk(mux, "EXIF", &chunk, 1) == WEBP_MUX_OK && WebPMuxAssemble(mux, &assembled) == WEBP_MUX_OK)
        withExif.assign(assembled.bytes, assembled.bytes + assembled.size);
    WebPDataClear(&assembled);
    WebPMuxDelete(mux);
    return withExif;
}

// An animation of w x h frames of one colour each, every frame lossless and whole.
inline std::vector<uint8_t> EncodeAnimatedWebP(int w, int h, const std::vector<Rgba8>& frames) {
    WebPAnimEncoderOptions animOptions;
    WebPConfig config;
    if (!WebPAnimEncoderOptionsInit(&animOptions) || !WebPConfigInit(&config)) return {};
    animOptions.allow_mixed = 0;
    animOptions.minimize_size = 0;
    animOptions.kmin = 0;
    animOptions.kmax = 1;  // every frame a key frame
    config.lossless = 1;
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(w, h, &animOptions);
    int timestamp = 0;
    for (const Rgba8& c : frames) {
        std::vector<uint8_t> bgra = WebPPixels(w, h, [c](int, int) { return c; });
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.use_argb = 1;
        picture.width = w;
        picture.height = h;
        WebPPictureImportBGRA(&picture, bgra.data(), w * 4);
        WebPAnimEncoderAdd(encoder, &picture, timestamp, &config);
        WebPPictureFree(&picture);
        timestamp += 100;
    }
    WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr);
    WebPData assembled{};
    std::vector<uint8_t> bytes;
    if (WebPAnimEncoderAssemble(encoder, &assembled)) bytes.assign(assembled.bytes, assembled.bytes + assembled.size);
    WebPDataClear(&assembled);
    WebPAnimEncoderDelete(encoder);
    return bytes;
}

}  // namespace testing_support

#endif

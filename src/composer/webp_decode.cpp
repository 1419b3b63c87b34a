#include "composer/webp_decode.h"

#if DIORAMIX_HAS_LIBWEBP

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include <webp/decode.h>
#include <webp/demux.h>

#include "composer/picture_bytes.h"
#include "framework/locked_bits.h"

namespace {

struct DemuxDeleter {
    void operator()(WebPDemuxer* d) const noexcept { WebPDemuxDelete(d); }
};
using Demuxer = std::unique_ptr<WebPDemuxer, DemuxDeleter>;

// The first frame, released with the demuxer's iterator.
class FirstFrame {
public:
    explicit FirstFrame(WebPDemuxer* demux) : m_ok(WebPDemuxGetFrame(demux, 1, &m_iter) != 0) {}
    ~FirstFrame() { WebPDemuxReleaseIterator(&m_iter); }
    FirstFrame(const FirstFrame&) = delete;
    FirstFrame& operator=(const FirstFrame&) = delete;
    explicit operator bool() const { return m_ok && m_iter.fragment.bytes && m_iter.width > 0 && m_iter.height > 0; }
    const WebPIterator* operator->() const { return &m_iter; }

private:
    WebPIterator m_iter{};
    bool m_ok;
};

int Orientation(WebPDemuxer* demux) {
    if (!(WebPDemuxGetI(demux, WEBP_FF_FORMAT_FLAGS) & EXIF_FLAG)) return 1;
    WebPChunkIterator chunk{};
    int orientation = 1;
    if (WebPDemuxGetChunk(demux, "EXIF", 1, &chunk)) orientation = TiffOrientation(chunk.chunk.bytes, chunk.chunk.size);
    WebPDemuxReleaseChunkIterator(&chunk);
    return orientation;
}

// A length at scale target/whole, at least 1.
int Scaled(int length, int target, int whole) {
    return std::max(1, static_cast<int>((static_cast<int64_t>(length) * target + whole / 2) / whole));
}

// Decodes the frame's bitstream at w x h into premultiplied B, G, R, A rows.
bool DecodeFrame(const WebPData& fragment, int w, int h, uint8_t* rows, int stride) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return false;
    if (WebPGetFeatures(fragment.bytes, fragment.size, &config.input) != VP8_STATUS_OK) return false;
    if (w != config.input.width || h != config.input.height) {
        config.options.use_scaling = 1;
        config.options.scaled_width = w;
        config.options.scaled_height = h;
        // Shrunk to half or less, the block edges the loop filter smooths are averaged away anyway:
        // skipping it is most of the lossy decode's time, as JPEG's scaled DCT skips detail.
        if (w * 2 <= config.input.width && h * 2 <= config.input.height) config.options.bypass_filtering = 1;
    }
    config.options.use_threads = 1;  // the filter and the output on a second core
    config.output.colorspace = MODE_bgrA;  // premultiplied: GDI+'s PARGB
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = rows;
    config.output.u.RGBA.stride = stride;
    config.output.u.RGBA.size = static_cast<size_t>(stride) * static_cast<size_t>(h - 1) + static_cast<size_t>(w) * 4;
    const bool decoded = WebPDecode(fragment.bytes, fragment.size, &config) == VP8_STATUS_OK;
    WebPFreeDecBuffer(&config.output);
    return decoded;
}

}  // namespace

bool HasWebPDecoder() { return true; }

DecodeOutcome DecodeWebP(const uint8_t* data, size_t size, const DrawnSizeFor& drawnSize, DecodedPicture& picture) {
    const WebPData whole{data, size};
    // The whole file is checked here: a truncated one gives no demuxer.
    Demuxer demux(WebPDemux(&whole));
    if (!demux) return DecodeOutcome::Refused;
    const int canvasWidth = static_cast<int>(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH));
    const int canvasHeight = static_cast<int>(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT));
    FirstFrame frame(demux.get());
    if (canvasWidth <= 0 || canvasHeight <= 0 || !frame) return DecodeOutcome::Refused;

    const int orientation = Orientation(demux.get());
    const DrawnSize stored = DecodeSizeFor(canvasWidth, canvasHeight, orientation, drawnSize, picture);
    picture.bitsPerPixel = frame->has_alpha ? 32 : 24;
    const int sw = stored.w, sh = stored.h;
    if (static_cast<int64_t>(sw) * sh > kMaxDecodedPixels) return DecodeOutcome::Refused;

    // The frame at the canvas's scale, where it lies on the canvas (an animation's first frame
    // may cover only part of it).
    const int fx = static_cast<int>(static_cast<int64_t>(frame->x_offset) * sw / canvasWidth);
    const int fy = static_cast<int>(static_cast<int64_t>(frame->y_offset) * sh / canvasHeight);
    const int fw = std::min(Scaled(frame->width, sw, canvasWidth), sw - fx);
    const int fh = std::min(Scaled(frame->height, sh, canvasHeight), sh - fy);
    if (fw <= 0 || fh <= 0) return DecodeOutcome::Refused;

    const bool upright = orientation == 1;
    const int bw = orientation >= 5 ? sh : sw, bh = orientation >= 5 ? sw : sh;
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(bw, bh, PixelFormat32bppPARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return DecodeOutcome::Refused;
    {
        fw::LockedBits bits(*bitmap, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB);
        if (!bits) return DecodeOutcome::Refused;
        // Upright pictures are decoded straight into the bitmap; the others through one buffer.
        std::vector<uint8_t> turned;
        int stride = bits.Stride();
        uint8_t* canvas = bits.Bits();
        if (!upright) {
            stride = sw * 4;
            turned.assign(static_cast<size_t>(stride) * static_cast<size_t>(sh), 0);
            canvas = turned.data();
        } else if (fw != sw || fh != sh) {
            for (int y = 0; y < sh; ++y) std::memset(bits.Row(y), 0, static_cast<size_t>(sw) * 4);
        }
        uint8_t* at = canvas + static_cast<ptrdiff_t>(fy) * stride + static_cast<ptrdiff_t>(fx) * 4;
        if (!DecodeFrame(frame->fragment, fw, fh, at, stride)) return DecodeOutcome::Refused;
        if (!upright) OrientPixels(canvas, sw, sh, stride, orientation, bits.Bits(), bits.Stride());
    }
    picture.image = std::move(bitmap);
    return DecodeOutcome::Decoded;
}

#else

bool HasWebPDecoder() { return false; }

DecodeOutcome DecodeWebP(const uint8_t*, size_t, const DrawnSizeFor&, DecodedPicture&) { return DecodeOutcome::Refused; }

#endif

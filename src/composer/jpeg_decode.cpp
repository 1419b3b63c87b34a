#include "composer/jpeg_decode.h"

int ChooseJpegScale(int width, int height, int targetWidth, int targetHeight) {
    for (int n = 1; n < 8; ++n) {
        int64_t w = (static_cast<int64_t>(width) * n + 7) / 8, h = (static_cast<int64_t>(height) * n + 7) / 8;
        if (w >= targetWidth && h >= targetHeight) return n;
    }
    return 8;
}

#if DIORAMIX_HAS_LIBJPEG

#include <csetjmp>
#include <climits>
#include <cstdio>
#include <vector>

// After windows.h: jmorecfg.h then takes Windows' own "boolean".
#include <jerror.h>
#include <jpeglib.h>

#include "composer/picture_bytes.h"

namespace {

// libjpeg reports errors by a jump out of its own C frames. mingw-w64's setjmp on x64 makes
// longjmp unwind those frames through SEH, which real Windows refuses for GCC-built code
// (STATUS_BAD_STACK); GCC's builtin pair only restores registers. MSVC's own pair is sound there.
// No object with a destructor may live in the frames between the two.
#if defined(__GNUC__)
using JumpBuffer = void*[5];
#define DIORAMIX_SET_JUMP(buffer) __builtin_setjmp(buffer)
[[noreturn]] void JumpBack(JumpBuffer& buffer) { __builtin_longjmp(buffer, 1); }
#else
using JumpBuffer = std::jmp_buf;
#define DIORAMIX_SET_JUMP(buffer) setjmp(buffer)
[[noreturn]] void JumpBack(JumpBuffer& buffer) { std::longjmp(buffer, 1); }
#endif

// libjpeg-turbo's working memory beyond which a picture is refused (progressive pictures keep
// every coefficient of the full-size picture).
constexpr long kMaxLibraryMemory = 160L * 1024 * 1024;

struct ErrorExit {
    jpeg_error_mgr manager{};
    JumpBuffer jump{};
    bool refused = false;  // truncated or over the memory budget, rather than unreadable
};

[[noreturn]] void OnError(j_common_ptr info) {
    auto* error = reinterpret_cast<ErrorExit*>(info->err);
    const int code = error->manager.msg_code;
    if (code == JERR_NO_BACKING_STORE || code == JERR_OUT_OF_MEMORY ||
        code == JERR_IMAGE_TOO_BIG)
        error->refused = true;
    JumpBack(error->jump);
}

void OnMessage(j_common_ptr info, int level) {
    // A file that ends before its picture does would be drawn half grey: pass it over.
    auto* error = reinterpret_cast<ErrorExit*>(info->err);
    if (level < 0 && error->manager.msg_code == JWRN_JPEG_EOF) {
        error->refused = true;
        JumpBack(error->jump);
    }
}

int SavedOrientation(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1) {
            int orientation = ExifOrientation(m->data, m->data_length);
            if (orientation != 1) return orientation;
        }
    return 1;
}

// Bytes of the coefficient arrays a progressive or multi-scan picture keeps whole.
int64_t CoefficientBytes(const jpeg_decompress_struct& info) {
    int64_t bytes = 0;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& comp = info.comp_info[c];
        int64_t w = (static_cast<int64_t>(info.image_width) * comp.h_samp_factor / info.max_h_samp_factor + 7) / 8;
        int64_t h = (static_cast<int64_t>(info.image_height) * comp.v_samp_factor / info.max_v_samp_factor + 7) / 8;
        bytes += (w + comp.h_samp_factor) * (h + comp.v_samp_factor) * 128;
    }
    return bytes;
}

// CMYK rows (Adobe's inverted form when the file says so) to B, G, R, X in place.
void CmykToBgrx(uint8_t* row, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, row += 4) {
        int c = row[0], m = row[1], y = row[2], k = row[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        row[0] = static_cast<uint8_t>((y * k + 127) / 255);
        row[1] = static_cast<uint8_t>((m * k + 127) / 255);
        row[2] = static_cast<uint8_t>((c * k + 127) / 255);
        row[3] = 255;
    }
}

// Owns the decompressor across the jumps: the destructor runs on every path out of DecodeJpeg.
struct Decompressor {
    jpeg_decompress_struct info{};
    ErrorExit error;
    // What owns memory lives here, out of the jumps' reach, so that a jump leaks nothing.
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
    std::vector<uint8_t> stored;  // the decoded rows before they are turned upright
    Gdiplus::BitmapData bits{};
    volatile bool locked = false;
    Decompressor() {
        info.err = jpeg_std_error(&error.manager);
        error.manager.error_exit = OnError;
        error.manager.emit_message = OnMessage;
    }
    ~Decompressor() {
        if (locked) bitmap->UnlockBits(&bits);
        jpeg_destroy_decompress(&info);
    }
};

DecodeOutcome Decode(const uint8_t* data, size_t size, const DrawnSizeFor& drawnSize, DecodedPicture& picture) {
    Decompressor d;
    jpeg_decompress_struct& info = d.info;
    std::unique_ptr<Gdiplus::Bitmap>& bitmap = d.bitmap;
    Gdiplus::BitmapData& bits = d.bits;
    if (DIORAMIX_SET_JUMP(d.error.jump)) return d.error.refused ? DecodeOutcome::Refused : DecodeOutcome::Rejected;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxLibraryMemory;
    // The bytes, not a FILE*: a libjpeg built against another C runtime could not use ours.
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);

    const int orientation = SavedOrientation(info);
    const bool turned = orientation >= 5;
    const int w = static_cast<int>(info.image_width), h = static_cast<int>(info.image_height);
    picture.width = turned ? h : w;
    picture.height = turned ? w : h;
    picture.bitsPerPixel = 8 * info.num_components;
    const DrawnSize drawn = drawnSize(picture.width, picture.height);
    info.scale_num = static_cast<unsigned>(
        ChooseJpegScale(w, h, turned ? drawn.h : drawn.w, turned ? drawn.w : drawn.h));
    info.scale_denom = 8;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;  // alpha 255
    jpeg_calc_output_dimensions(&info);
    if (static_cast<int64_t>(info.output_width) * info.output_height > kMaxDecodedPixels) return DecodeOutcome::Refused;
    if (jpeg_has_multiple_scans(&info) && CoefficientBytes(info) > kMaxLibraryMemory) return DecodeOutcome::Refused;

    jpeg_start_decompress(&info);
    const int ow = static_cast<int>(info.output_width), oh = static_cast<int>(info.output_height);
    const int bw = turned ? oh : ow, bh = turned ? ow : oh;
    // Opaque B, G, R, 255 is also premultiplied ARGB, the format shrinking and drawing read fastest.
    bitmap = std::make_unique<Gdiplus::Bitmap>(bw, bh, PixelFormat32bppPARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return DecodeOutcome::Refused;
    Gdiplus::Rect all(0, 0, bw, bh);
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB, &bits) != Gdiplus::Ok)
        return DecodeOutcome::Refused;
    d.locked = true;
    // Upright pictures are decoded straight into the bitmap; the others through one buffer.
    const bool upright = orientation == 1;
    const int storedStride = upright ? bits.Stride : ow * 4;
    if (!upright) d.stored.resize(static_cast<size_t>(storedStride) * static_cast<size_t>(oh));
    uint8_t* const storedRows = upright ? static_cast<uint8_t*>(bits.Scan0) : d.stored.data();
    while (info.output_scanline < info.output_height) {
        uint8_t* row = storedRows + static_cast<ptrdiff_t>(info.output_scanline) * storedStride;
        JSAMPROW rows[1] = {row};
        jpeg_read_scanlines(&info, rows, 1);
        if (cmyk) CmykToBgrx(row, info.output_width, info.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&info);
    if (!upright) OrientPixels(storedRows, ow, oh, storedStride, orientation, static_cast<uint8_t*>(bits.Scan0), bits.Stride);
    bitmap->UnlockBits(&bits);
    d.locked = false;
    picture.image = std::move(bitmap);
    return DecodeOutcome::Decoded;
}

}  // namespace

bool HasJpegDecoder() { return true; }

DecodeOutcome DecodeJpeg(const uint8_t* data, size_t size, const DrawnSizeFor& drawnSize, DecodedPicture& picture) {
    // jpeg_mem_src takes an unsigned long: 4 GB at most on Windows.
    if (!data || size == 0) return DecodeOutcome::Rejected;
    if (size > ULONG_MAX) return DecodeOutcome::Refused;
    return Decode(data, size, drawnSize, picture);
}

#else

bool HasJpegDecoder() { return false; }

DecodeOutcome DecodeJpeg(const uint8_t*, size_t, const DrawnSizeFor&, DecodedPicture&) { return DecodeOutcome::Rejected; }

#endif

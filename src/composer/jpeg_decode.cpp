#include "composer/jpeg_decode.h"

#if DIORAMIX_HAS_LIBJPEG

#include <csetjmp>
#include <cstdio>
#include <vector>

// After windows.h: jmorecfg.h then takes Windows' own "boolean".
#include <jerror.h>
#include <jpeglib.h>

#include "framework/mbstring.h"

namespace {

// libjpeg-turbo's working memory beyond which a picture is refused (progressive pictures keep
// every coefficient of the full-size picture).
constexpr long kMaxLibraryMemory = 160L * 1024 * 1024;

struct ErrorExit {
    jpeg_error_mgr manager{};
    std::jmp_buf jump{};
    bool refused = false;  // truncated or over the memory budget, rather than unreadable
};

[[noreturn]] void OnError(j_common_ptr info) {
    auto* error = reinterpret_cast<ErrorExit*>(info->err);
    const int code = error->manager.msg_code;
    if (code == JERR_NO_BACKING_STORE || code == JERR_OUT_OF_MEMORY ||
        code == JERR_IMAGE_TOO_BIG)
        error->refused = true;
    std::longjmp(error->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    // A file that ends before its picture does would be drawn half grey: pass it over.
    auto* error = reinterpret_cast<ErrorExit*>(info->err);
    if (level < 0 && error->manager.msg_code == JWRN_JPEG_EOF) {
        error->refused = true;
        std::longjmp(error->jump, 1);
    }
}

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

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

JpegOutcome Decode(std::FILE* file, const DrawnSizeFor& drawnSize, DecodedPicture& picture) {
    Decompressor d;
    jpeg_decompress_struct& info = d.info;
    std::unique_ptr<Gdiplus::Bitmap>& bitmap = d.bitmap;
    Gdiplus::BitmapData& bits = d.bits;
    if (setjmp(d.error.jump)) return d.error.refused ? JpegOutcome::Refused : JpegOutcome::Rejected;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxLibraryMemory;
    jpeg_stdio_src(&info, file);
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);

    const int orientation = SavedOrientation(info);
    const bool turned = orientation >= 5;
    const int w = static_cast<int>(info.image_width), h = static_cast<int>(info.image_height);
    picture.width = turned ? h : w;
    picture.height = turned ? w : h;
    const DrawnSize drawn = drawnSize(picture.width, picture.height);
    info.scale_num = static_cast<unsigned>(
        ChooseJpegScale(w, h, turned ? drawn.h : drawn.w, turned ? drawn.w : drawn.h));
    info.scale_denom = 8;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;  // alpha 255
    jpeg_calc_output_dimensions(&info);
    if (static_cast<int64_t>(info.output_width) * info.output_height > kMaxDecodedPixels) return JpegOutcome::Refused;
    if (jpeg_has_multiple_scans(&info) && CoefficientBytes(info) > kMaxLibraryMemory) return JpegOutcome::Refused;

    jpeg_start_decompress(&info);
    const int ow = static_cast<int>(info.output_width), oh = static_cast<int>(info.output_height);
    const int bw = turned ? oh : ow, bh = turned ? ow : oh;
    // Opaque B, G, R, 255 is also premultiplied ARGB, the format shrinking and drawing read fastest.
    bitmap = std::make_unique<Gdiplus::Bitmap>(bw, bh, PixelFormat32bppPARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return JpegOutcome::Refused;
    Gdiplus::Rect all(0, 0, bw, bh);
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB, &bits) != Gdiplus::Ok)
        return JpegOutcome::Refused;
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
    return JpegOutcome::Decoded;
}

}  // namespace

bool HasJpegDecoder() { return true; }

JpegOutcome DecodeJpeg(const std::string& path, const DrawnSizeFor& drawnSize, DecodedPicture& picture) {
    std::unique_ptr<std::FILE, FileCloser> file(_wfopen(mb::Widen(path).c_str(), L"rb"));
    if (!file) return JpegOutcome::Rejected;
    return Decode(file.get(), drawnSize, picture);
}

#else

bool HasJpegDecoder() { return false; }

JpegOutcome DecodeJpeg(const std::string&, const DrawnSizeFor&, DecodedPicture&) { return JpegOutcome::Rejected; }

#endif

#include "composer/wic_decode.h"

#include <wincodec.h>
#include <wincodecsdk.h>
#include <wrl/client.h>

#include <algorithm>
#include <vector>

#include "framework/handles.h"
#include "framework/locked_bits.h"
#include "framework/mbstring.h"

using Microsoft::WRL::ComPtr;

namespace {

// Pictures whose codec cannot decode them smaller are read whole by it: beyond this the codec's
// own copy would cost too much.
constexpr int64_t kMaxWholeDecodePixels = 50'000'000;

// COM and the imaging factory of one thread, from its first WIC decode to its end. The apartment
// is joined, not imposed: a thread that has one (the window thread's OLE) keeps its own kind.
class ThreadImaging {
public:
    ThreadImaging() {
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_comJoined = SUCCEEDED(com);
        if (FAILED(com) && com != RPC_E_CHANGED_MODE) return;
        ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(m_factory.GetAddressOf()));
    }
    ~ThreadImaging() {
        m_factory.Reset();  // before COM may go
        if (m_comJoined) ::CoUninitialize();
    }
    ThreadImaging(const ThreadImaging&) = delete;
    ThreadImaging& operator=(const ThreadImaging&) = delete;
    IWICImagingFactory* Factory() const { return m_factory.Get(); }

private:
    bool m_comJoined = false;
    ComPtr<IWICImagingFactory> m_factory;
};

IWICImagingFactory* ThreadFactory() {
    thread_local ThreadImaging imaging;
    return imaging.Factory();
}

// IWICBitmapSourceTransform, which not every SDK's wincodec.h declares: a codec's own scaled decode.
struct DECLSPEC_NOVTABLE CodecTransform : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height, WICPixelFormatGUID* format,
                                                 WICBitmapTransformOptions transform, UINT stride, UINT bufferSize,
                                                 BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform, BOOL* supported) = 0;
};
constexpr IID kCodecTransformId = {0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

constexpr GUID kHeifContainer = {0xe1e62521, 0x6787, 0x405b, {0xa3, 0x39, 0x50, 0x07, 0x15, 0xb5, 0x76, 0x3f}};
constexpr GUID kHeifMetadata = {0x817ef3e1, 0x1288, 0x45f4, {0xa8, 0x52, 0x26, 0x0d, 0x9e, 0x7c, 0xce, 0x83}};
constexpr ULONG kHeifOrientationId = 1;  // WICHeifOrientation

bool IsOrientation(int value) { return value >= 1 && value <= 8; }

int OrientationFrom(PROPVARIANT& value) {
    const int orientation = value.vt == VT_UI2 ? value.uiVal : value.vt == VT_UI4 ? static_cast<int>(value.ulVal) : 0;
    ::PropVariantClear(&value);
    return IsOrientation(orientation) ? orientation : 0;
}

int QueryOrientation(IWICMetadataQueryReader& reader, const wchar_t* query) {
    PROPVARIANT value;
    ::PropVariantInit(&value);
    if (FAILED(reader.GetMetadataByName(query, &value))) return 0;
    return OrientationFrom(value);
}

// The HEIF decoder's own orientation property, in its metadata block of the HEIF format; 0 when
// it has none.
int HeifDecoderOrientation(IWICBitmapFrameDecode& frame) {
    ComPtr<IWICMetadataBlockReader> blocks;
    UINT count = 0;
    if (FAILED(frame.QueryInterface(IID_PPV_ARGS(blocks.GetAddressOf()))) || FAILED(blocks->GetCount(&count))) return 0;
    for (UINT i = 0; i < count; ++i) {
        ComPtr<IWICMetadataReader> reader;
        GUID format{};
        if (FAILED(blocks->GetReaderByIndex(i, &reader)) || FAILED(reader->GetMetadataFormat(&format)) ||
            format != kHeifMetadata)
            continue;
        PROPVARIANT id, value;
        ::PropVariantInit(&id);
        ::PropVariantInit(&value);
        id.vt = VT_UI4;
        id.ulVal = kHeifOrientationId;
        if (SUCCEEDED(reader->GetValue(nullptr, &id, &value))) return OrientationFrom(value);
    }
    return 0;
}

int OrientationOf(IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame) {
    GUID container{};
    const bool heif = SUCCEEDED(decoder.GetContainerFormat(&container)) && container == kHeifContainer;
    int report = heif ? HeifDecoderOrientation(frame) : 0, tag = 0;
    ComPtr<IWICMetadataQueryReader> reader;
    if (SUCCEEDED(frame.GetMetadataQueryReader(&reader))) {
        if (!report) report = QueryOrientation(*reader.Get(), L"System.Photo.Orientation");
        // The EXIF directory of a JPEG, else a TIFF's own (where HEIF decoders show theirs too).
        tag = QueryOrientation(*reader.Get(), L"/app1/ifd/{ushort=274}");
        if (!tag) tag = QueryOrientation(*reader.Get(), L"/ifd/{ushort=274}");
    }
    return OrientationToApply(heif, report, tag);
}

int BitsPerPixelOf(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame) {
    WICPixelFormatGUID format{};
    ComPtr<IWICComponentInfo> info;
    ComPtr<IWICPixelFormatInfo> pixelInfo;
    UINT bits = 0;
    if (SUCCEEDED(frame.GetPixelFormat(&format)) && SUCCEEDED(factory.CreateComponentInfo(format, &info)) &&
        SUCCEEDED(info.As(&pixelInfo)))
        pixelInfo->GetBitsPerPixel(&bits);
    return static_cast<int>(bits);
}

// The codec's own smaller decode, when it has one that covers w x h: B, G, R, A premultiplied
// rows of the size it chose.
bool DecodeScaledByCodec(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame, int w, int h, int& ow, int& oh,
                         std::vector<uint8_t>& pixels) {
    ComPtr<CodecTransform> transform;
    if (FAILED(frame.QueryInterface(kCodecTransformId, reinterpret_cast<void**>(transform.GetAddressOf())))) return false;
    UINT cw = static_cast<UINT>(w), ch = static_cast<UINT>(h);
    if (FAILED(transform->GetClosestSize(&cw, &ch)) || cw < static_cast<UINT>(w) || ch < static_cast<UINT>(h))
        return false;
    // A codec whose closest size is the whole picture would decode it all here, unbudgeted.
    if (static_cast<int64_t>(cw) * ch > kMaxDecodedPixels) return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppPBGRA;
    if (FAILED(transform->GetClosestPixelFormat(&format))) return false;
    // The codec's rows in its own format, then one converter pass to premultiplied 32 bits.
    ComPtr<IWICBitmap> scaled;
    if (FAILED(factory.CreateBitmap(cw, ch, format, WICBitmapCacheOnLoad, &scaled))) return false;
    {
        ComPtr<IWICBitmapLock> lock;
        WICRect all{0, 0, static_cast<INT>(cw), static_cast<INT>(ch)};
        UINT stride = 0, bytes = 0;
        BYTE* rows = nullptr;
        if (FAILED(scaled->Lock(&all, WICBitmapLockWrite, &lock)) || FAILED(lock->GetStride(&stride)) ||
            FAILED(lock->GetDataPointer(&bytes, &rows)) ||
            FAILED(transform->CopyPixels(nullptr, cw, ch, &format, WICBitmapTransformRotate0, stride, bytes, rows)))
            return false;
    }
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory.CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(scaled.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)))
        return false;
    ow = static_cast<int>(cw);
    oh = static_cast<int>(ch);
    pixels.assign(static_cast<size_t>(ow) * static_cast<size_t>(oh) * 4, 0);
    return SUCCEEDED(converter->CopyPixels(nullptr, static_cast<UINT>(ow) * 4, static_cast<UINT>(pixels.size()),
                                           pixels.data()));
}

// The whole picture shrunk to w x h by WIC's scaler, which pulls the source once in the order the
// codec decodes it (a tiled HEIC asked for narrow bands would decode its tiles over and over).
bool DecodeShrunk(IWICImagingFactory& factory, IWICBitmapSource& source, int w, int h, std::vector<uint8_t>& pixels) {
    ComPtr<IWICBitmapScaler> scaler;
    if (FAILED(factory.CreateBitmapScaler(&scaler)) ||
        FAILED(scaler->Initialize(&source, static_cast<UINT>(w), static_cast<UINT>(h), WICBitmapInterpolationModeFant)))
        return false;
    pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h) * 4, 0);
    return SUCCEEDED(scaler->CopyPixels(nullptr, static_cast<UINT>(w) * 4, static_cast<UINT>(pixels.size()), pixels.data()));
}

DecodeOutcome Decode(IWICImagingFactory& factory, IStream& stream, const DrawnSizeFor& drawnSize,
                     DecodedPicture& picture) {
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory.CreateDecoderFromStream(&stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)))
        return DecodeOutcome::Rejected;  // no codec for it
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT fullWidth = 0, fullHeight = 0;
    if (FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&fullWidth, &fullHeight)) || fullWidth == 0 ||
        fullHeight == 0 || fullWidth > INT32_MAX || fullHeight > INT32_MAX)
        return DecodeOutcome::Rejected;
    const int sw = static_cast<int>(fullWidth), sh = static_cast<int>(fullHeight);
    const int orientation = OrientationOf(*decoder.Get(), *frame.Get());
    const DrawnSize target = DecodeSizeFor(sw, sh, orientation, drawnSize, picture);
    picture.bitsPerPixel = BitsPerPixelOf(factory, *frame.Get());
    if (static_cast<int64_t>(target.w) * target.h > kMaxDecodedPixels) return DecodeOutcome::Refused;

    int ow = target.w, oh = target.h;
    std::vector<uint8_t> pixels;
    if (!DecodeScaledByCodec(factory, *frame.Get(), target.w, target.h, ow, oh, pixels)) {
        if (static_cast<int64_t>(sw) * sh > kMaxWholeDecodePixels) return DecodeOutcome::Refused;
        ComPtr<IWICFormatConverter> converter;
        if (FAILED(factory.CreateFormatConverter(&converter)) ||
            FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                         0.0, WICBitmapPaletteTypeCustom)))
            return DecodeOutcome::Rejected;
        ow = target.w;
        oh = target.h;
        if (!DecodeShrunk(factory, *converter.Get(), ow, oh, pixels)) return DecodeOutcome::Rejected;
    }

    const int bw = orientation >= 5 ? oh : ow, bh = orientation >= 5 ? ow : oh;
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(bw, bh, PixelFormat32bppPARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return DecodeOutcome::Refused;
    {
        fw::LockedBits bits(*bitmap, Gdiplus::ImageLockModeWrite, PixelFormat32bppPARGB);
        if (!bits) return DecodeOutcome::Refused;
        OrientPixels(pixels.data(), ow, oh, ow * 4, orientation, bits.Bits(), bits.Stride());
    }
    picture.image = std::move(bitmap);
    return DecodeOutcome::Decoded;
}

}  // namespace

int OrientationToApply(bool heif, int decoderReport, int exifTag) {
    if (IsOrientation(decoderReport)) return decoderReport;
    if (!heif && IsOrientation(exifTag)) return exifTag;
    return 1;
}

DecodeOutcome DecodeWithWic(const PhotoBytes& bytes, const DrawnSizeFor& drawnSize, DecodedPicture& picture) {
    IWICImagingFactory* factory = ThreadFactory();
    if (!factory || !bytes) return DecodeOutcome::Rejected;
    ComPtr<IStream> stream;
    stream.Attach(bytes.NewStream());
    if (!stream) return DecodeOutcome::Rejected;
    return Decode(*factory, *stream.Get(), drawnSize, picture);
}

DecodeOutcome DecodeWithWic(const std::string& path, const DrawnSizeFor& drawnSize, DecodedPicture& picture) {
    PhotoBytes bytes;
    if (DefaultPhotoSource().Read(path, true, {}, bytes) != PhotoRead::Read) return DecodeOutcome::Rejected;
    return DecodeWithWic(bytes, drawnSize, picture);
}

// Photos of every format through the one decoder entry: chosen by content, not by name; WebP at
// the drawn size with alpha, orientation and the first frame of an animation; the system's codecs
// (TIFF, PNG) shrunk while decoding and upright; files without a codec passed over.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "aux_windows/thumbnail.h"
#include "composer/picture_decode.h"
#include "composer/webp_decode.h"
#include "composer/wic_decode.h"
#include "settings_ui/prompts.h"
#include "settings_ui/set_back_img.h"
#include "drawing/composer_fixture.h"
#include "drawing/marked_picture.h"
#include "support/gif_writer.h"
#include "support/jpeg_writer.h"
#include "support/picture_checks.h"
#include "support/webp_writer.h"

namespace {

using namespace marked_picture;
using composer_testing::ComposerTest;
using namespace testing_support;

// An uncompressed 24-bit TIFF of the marked picture with an orientation tag.
std::vector<uint8_t> MarkedTiff(int w, int h, int orientation) {
    std::vector<uint8_t> t = {'I', 'I', 42, 0, 8, 0, 0, 0};
    auto put16 = [&](unsigned v) { t.insert(t.end(), {uint8_t(v), uint8_t(v >> 8)}); };
    auto put32 = [&](unsigned v) { put16(v & 0xFFFF); put16(v >> 16); };
    auto entry = [&](unsigned tag, unsigned type, unsigned count, unsigned value) {
        put16(tag); put16(type); put32(count);
        if (type == 3 && count == 1) { put16(value); put16(0); } else { put32(value); }
    };
    const unsigned entries = 11, bitsAt = 8 + 2 + entries * 12 + 4, pixelsAt = bitsAt + 6;
    const unsigned bytes = static_cast<unsigned>(w * h * 3);
    put16(entries);
    entry(256, 4, 1, static_cast<unsigned>(w));
    entry(257, 4, 1, static_cast<unsigned>(h));
    entry(258, 3, 3, bitsAt);
    entry(259, 3, 1, 1);  // no compression
    entry(262, 3, 1, 2);  // RGB
    entry(273, 4, 1, pixelsAt);
    entry(274, 3, 1, static_cast<unsigned>(orientation));
    entry(277, 3, 1, 3);
    entry(278, 4, 1, static_cast<unsigned>(h));
    entry(279, 4, 1, bytes);
    entry(284, 3, 1, 1);
    put32(0);
    put16(8); put16(8); put16(8);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Argb c = MarkColour(x, y, w);
            t.insert(t.end(), {uint8_t(c.r), uint8_t(c.g), uint8_t(c.b)});
        }
    return t;
}

// A PNG (or another GDI+ format) of the marked picture.
void WriteMarkedPicture(const std::string& path, int w, int h, const std::string& format) {
    Gdiplus::Bitmap bitmap(w, h, PixelFormat24bppRGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Argb c = MarkColour(x, y, w);
            bitmap.SetPixel(x, y, Gdiplus::Color(255, static_cast<BYTE>(c.r), static_cast<BYTE>(c.g), static_cast<BYTE>(c.b)));
        }
    SaveImage(bitmap, path, format);
}

// The start of an ISO media file of the given brand: what HEIC and AVIF files begin with.
std::vector<uint8_t> IsoMediaFile(const char* brand) {
    std::vector<uint8_t> bytes = {0, 0, 0, 24, 'f', 't', 'y', 'p'};
    bytes.insert(bytes.end(), brand, brand + 4);
    bytes.insert(bytes.end(), {0, 0, 0, 0, 'm', 'i', 'f', '1'});
    bytes.insert(bytes.end(), brand, brand + 4);
    bytes[3] = static_cast<uint8_t>(bytes.size());
    for (int i = 0; i < 400; ++i) bytes.push_back(static_cast<uint8_t>(i * 37));
    return bytes;
}

class FormatsDecodeTest : public ::testing::Test {
protected:
    ScratchDir dir;
};

TEST_F(FormatsDecodeTest, TheSystemCodecShrinksTiffAndPngWhileDecodingAndTurnsThemUpright) {
    for (const Turning& t : kTurnings) {
        SCOPED_TRACE(t.orientation);
        const std::string path = dir.File("marked" + std::to_string(t.orientation) + ".tif");
        WriteBytes(path, MarkedTiff(64, 48, t.orientation));
        DecodedPicture picture;
        ASSERT_EQ(DecodeOutcome::Decoded, DecodeWithWic(path, Half, picture));
        ExpectMarks(picture, t, 64, 48, 32, 24);
        EXPECT_EQ(24, picture.bitsPerPixel);
        // The one entry takes TIFF the same way.
        ExpectMarks(DecodePicture(path, Half), t, 64, 48, 32, 24);
    }
    const std::string png = dir.File("marked.png");
    WriteMarkedPicture(png, 64, 48, "png");
    DecodedPicture picture;
    ASSERT_EQ(DecodeOutcome::Decoded, DecodeWithWic(png, [](int, int) { return DrawnSize{16, 12}; }, picture));
    ExpectMarks(picture, kTurnings[0], 64, 48, 16, 12);
}

TEST_F(FormatsDecodeTest, TheSystemCodecRefusesWhatItCannotReadOrWhatWouldNotFitAndFilesWithoutACodecArePassedOver) {
    const std::string heic = dir.File("phone.heic");
    WriteBytes(heic, IsoMediaFile("heic"));
    DecodedPicture picture;
    EXPECT_EQ(DecodeOutcome::Rejected, DecodeWithWic(heic, FullSize, picture));
    EXPECT_EQ(DecodeOutcome::Rejected, DecodeWithWic(dir.File("missing.tif"), FullSize, picture));
    std::vector<uint8_t> cut = MarkedTiff(64, 48, 1);
    cut.resize(60);
    WriteBytes(dir.File("cut.tif"), cut);
    EXPECT_NE(DecodeOutcome::Decoded, DecodeWithWic(dir.File("cut.tif"), FullSize, picture));
    EXPECT_FALSE(picture.image);
    // A header claiming 60000 x 60000: passed over before anything large is allocated.
    std::vector<uint8_t> claims = MarkedTiff(64, 48, 1);
    claims[8 + 2 + 8] = 0x60;  // ImageWidth 60000 = 0xEA60
    claims[8 + 2 + 9] = 0xEA;
    claims[8 + 2 + 12 + 8] = 0x60;
    claims[8 + 2 + 12 + 9] = 0xEA;
    WriteBytes(dir.File("claims.tif"), claims);
    EXPECT_EQ(DecodeOutcome::Refused, DecodeWithWic(dir.File("claims.tif"), FullSize, picture));
    // Drawn small, but the codec can only read it whole.
    EXPECT_EQ(DecodeOutcome::Refused,
              DecodeWithWic(dir.File("claims.tif"), [](int, int) { return DrawnSize{600, 600}; }, picture));
    EXPECT_FALSE(picture.image);

    for (const char* brand : {"heic", "avif", "mif1"}) {
        SCOPED_TRACE(brand);
        const std::string path = dir.File(std::string("photo.") + brand);
        WriteBytes(path, IsoMediaFile(brand));
        EXPECT_FALSE(DecodePicture(path, FullSize));
    }
    EXPECT_FALSE(DecodePicture(dir.File("nothing-here.heic"), FullSize));
}

TEST_F(FormatsDecodeTest, TheContentChoosesTheDecoderNotTheName) {
    struct Case {
        const char* name;
        const char* format;
    };
    const Case cases[] = {{"png-named.jpg", "png"}, {"jpeg-named.png", "jpeg"}, {"png-named.webp", "png"},
                          {"bmp-named.heic", "bmp"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File(c.name);
        WriteMarkedPicture(path, 64, 48, c.format);
        ExpectMarks(DecodePicture(path, FullSize), kTurnings[0], 64, 48, 64, 48);
    }
    const std::string gifAsTiff = dir.File("gif-named.tif");
    testing_support::WriteTwoColourGif(gifAsTiff, 64, 48, {255, 255, 255}, {255, 0, 0}, [](int x, int y) { return x < 16 && y < 16; });
    DecodedPicture gif = DecodePicture(gifAsTiff, FullSize);
    ASSERT_TRUE(gif);
    EXPECT_TRUE(IsColour(*gif.image, 5, 5, kRed));
    EXPECT_TRUE(IsColour(*gif.image, 32, 24, kWhite));
    const std::string tiffAsJpeg = dir.File("tiff-named.jpg");
    WriteBytes(tiffAsJpeg, MarkedTiff(64, 48, 6));
    ExpectMarks(DecodePicture(tiffAsJpeg, FullSize), kTurnings[5], 64, 48, 64, 48);
}

TEST(PictureFormatTest, FirstBytesNameTheFormat) {
    struct Case {
        std::vector<uint8_t> head;
        PictureFormat format;
    };
    auto bytes = [](const char* s, size_t n) { return std::vector<uint8_t>(s, s + n); };
    const Case cases[] = {
        {{0xFF, 0xD8, 0xFF, 0xE0}, PictureFormat::Jpeg},
        {bytes("\x89PNG\r\n\x1a\n", 8), PictureFormat::Png},
        {bytes("GIF89a..", 8), PictureFormat::Gif},
        {bytes("GIF87a..", 8), PictureFormat::Gif},
        {bytes("BM\0\0\0\0\0\0\0\0\0\0\0\0", 14), PictureFormat::Bmp},
        {bytes("II*\0\x08\0\0\0", 8), PictureFormat::Tiff},
        {bytes("MM\0*\0\0\0\x08", 8), PictureFormat::Tiff},
        {bytes("RIFF\x10\0\0\0WEBPVP8 ", 16), PictureFormat::WebP},
        {IsoMediaFile("heic"), PictureFormat::Heif},
        {IsoMediaFile("avif"), PictureFormat::Avif},
        {IsoMediaFile("heix"), PictureFormat::Heif},
        {bytes("\0\0\0\x14" "ftypmp42\0\0\0\0isom", 20), PictureFormat::Unknown},  // a video
        {bytes("RIFF\x10\0\0\0WAVEfmt ", 16), PictureFormat::Unknown},
        {bytes("GIF8", 4), PictureFormat::Unknown},
        {{0xFF, 0xD8}, PictureFormat::Unknown},
        {bytes("BM", 2), PictureFormat::Unknown},
        {{}, PictureFormat::Unknown},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cases[i].format, SniffPictureFormat(cases[i].head.data(), cases[i].head.size()));
    }
    EXPECT_EQ(PictureFormat::Unknown, SniffPictureFormat(nullptr, 10));
    // "avif" as the minor version is no brand.
    const std::vector<uint8_t> minor = bytes("\0\0\0\x14" "ftypmp41avifisom", 20);
    EXPECT_EQ(PictureFormat::Unknown, SniffPictureFormat(minor.data(), minor.size()));
}

#if DIORAMIX_HAS_LIBWEBP
Rgba8 Mark(int x, int y, int w) {
    const Argb c = MarkColour(x, y, w);
    return {uint8_t(c.r), uint8_t(c.g), uint8_t(c.b), 255};
}

TEST_F(FormatsDecodeTest, WebPIsDecodedAtTheDrawnSize) {
    for (bool lossless : {false, true}) {
        SCOPED_TRACE(lossless ? "lossless" : "lossy");
        const std::string path = dir.File(lossless ? "big-lossless.webp" : "big.webp");
        WriteBytes(path, EncodeWebP(800, 600, [](int x, int y) { return Mark(x, y, 800); }, WebPOptions{lossless}));
        int askedW = 0, askedH = 0;
        DecodedPicture picture = DecodePicture(path, [&](int w, int h) {
            askedW = w;
            askedH = h;
            return DrawnSize{200, 150};
        });
        EXPECT_EQ(800, askedW);
        EXPECT_EQ(600, askedH);
        ExpectMarks(picture, kTurnings[0], 800, 600, 200, 150);
        EXPECT_EQ(24, picture.bitsPerPixel);
        // Drawn larger than the picture: its own size, never enlarged by the decoder.
        ExpectMarks(DecodePicture(path, [](int, int) { return DrawnSize{1600, 1200}; }), kTurnings[0], 800, 600, 800, 600);
    }
}

TEST_F(FormatsDecodeTest, WebPKeepsItsAlpha) {
    const std::string path = dir.File("alpha.webp");
    // Left: clear; right: half-transparent blue; bottom rows opaque white.
    WriteBytes(path, EncodeWebP(64, 48, [](int x, int y) {
        if (y >= 40) return Rgba8{255, 255, 255, 255};
        return x < 32 ? Rgba8{0, 0, 0, 0} : Rgba8{0, 0, 255, 128};
    }, WebPOptions{true}));
    DecodedPicture picture = DecodePicture(path, FullSize);
    ASSERT_TRUE(picture);
    EXPECT_EQ(32, picture.bitsPerPixel);
    EXPECT_EQ(0, At(*picture.image, 10, 10).a);
    EXPECT_TRUE(IsColour(*picture.image, 50, 10, {128, 0, 0, 255}, 6));
    EXPECT_TRUE(IsColour(*picture.image, 10, 44, kWhite, 6));
    // Shrunk while decoding, the edge between clear and blue blends in premultiplied form: no dark fringe.
    DecodedPicture small = DecodePicture(path, Half);
    ASSERT_TRUE(small);
    EXPECT_TRUE(IsColour(*small.image, 25, 5, {128, 0, 0, 255}, 6));
    EXPECT_EQ(0, At(*small.image, 5, 5).a);
}

TEST_F(FormatsDecodeTest, WebPStandsUprightByItsExifOrientation) {
    for (const Turning& t : kTurnings) {
        SCOPED_TRACE(t.orientation);
        const std::string path = dir.File("turned" + std::to_string(t.orientation) + ".webp");
        const std::vector<uint8_t> bytes =
            EncodeWebP(64, 48, [](int x, int y) { return Mark(x, y, 64); }, WebPOptions{true, t.orientation});
        ASSERT_FALSE(bytes.empty());
        WriteBytes(path, bytes);
        ExpectMarks(DecodePicture(path, FullSize), t, 64, 48, 64, 48);
        // The drawn size asked for is upright; the decode is scaled in the stored directions.
        ExpectMarks(DecodePicture(path, Half), t, 64, 48, 32, 24);
    }
}

TEST_F(FormatsDecodeTest, AnAnimatedWebPShowsItsFirstFrame) {
    const std::string path = dir.File("animated.webp");
    const std::vector<uint8_t> bytes =
        EncodeAnimatedWebP(120, 90, {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}});
    ASSERT_FALSE(bytes.empty());
    WriteBytes(path, bytes);
    DecodedPicture picture = DecodePicture(path, [](int, int) { return DrawnSize{60, 45}; });
    ASSERT_TRUE(picture);
    EXPECT_EQ(120, picture.width);
    EXPECT_EQ(90, picture.height);
    ASSERT_EQ(60u, picture.image->GetWidth());
    for (auto [x, y] : {std::pair{2, 2}, std::pair{30, 22}, std::pair{57, 42}})
        EXPECT_TRUE(IsColour(*picture.image, x, y, kRed, 6));
}

TEST_F(FormatsDecodeTest, BrokenWebPFilesArePassedOverQuickly) {
    const std::vector<uint8_t> whole = EncodeWebP(256, 192, [](int x, int y) { return Rgba8{uint8_t(x), uint8_t(y), 90, 255}; });
    ASSERT_GT(whole.size(), 200u);
    std::vector<uint8_t> header = whole;
    header.resize(30);
    std::vector<uint8_t> half = whole;
    half.resize(whole.size() / 2);
    // A lossy frame header claiming 16000 x 16000 over a few bytes of data.
    std::vector<uint8_t> claims = whole;
    const size_t vp8 = 12 + 8;  // the frame's data after "RIFF....WEBP" and the chunk header
    ASSERT_EQ(0, std::memcmp(claims.data() + 12, "VP8 ", 4));
    claims[vp8 + 6] = 16000 & 0xFF;
    claims[vp8 + 7] = 16000 >> 8;
    claims[vp8 + 8] = 16000 & 0xFF;
    claims[vp8 + 9] = 16000 >> 8;
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"header.webp", header}, {"half.webp", half}, {"claims.webp", claims}, {"empty.webp", {}}};
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        WriteBytes(dir.File(name), bytes);
        const DWORD start = ::GetTickCount();
        EXPECT_FALSE(DecodePicture(dir.File(name), FullSize));
        EXPECT_LT(::GetTickCount() - start, 2000u);
    }
}

TEST_F(FormatsDecodeTest, TheBackgroundPageReadsAWebPNoLargerThanItsPreview) {
    const std::string path = dir.File("back.webp");
    const std::vector<uint8_t> bytes = EncodeWebP(1600, 1200, [](int x, int) { return Rgba8{uint8_t(x < 800 ? 200 : 20), 40, 90, 255}; });
    WriteBytes(path, bytes);
    BackgroundPicture picture = LoadBackgroundPicture(path, 160, 90);
    EXPECT_EQ(1600, picture.width);
    EXPECT_EQ(1200, picture.height);
    EXPECT_EQ("1600 x 1200\nColor: 24bit\r\nFile Size: " + std::to_string(bytes.size() / 1024) + "KB", picture.info);
    ASSERT_NE(nullptr, picture.thumbnail);
    EXPECT_EQ(160u, picture.thumbnail->GetWidth());
    EXPECT_EQ(90u, picture.thumbnail->GetHeight());
    EXPECT_TRUE(IsColour(*picture.thumbnail, 20, 45, {255, 200, 40, 90}, 12));
    EXPECT_TRUE(IsColour(*picture.thumbnail, 140, 45, {255, 20, 40, 90}, 12));
    // Every format the catalogue takes can be chosen as the background.
    const std::wstring filter = ImageFileFilter();
    for (const wchar_t* pattern : {L"*.webp", L"*.jpeg", L"*.heic", L"*.avif", L"*.tiff", L"*.jpg"})
        EXPECT_NE(std::wstring::npos, filter.find(pattern)) << mb::Narrow(pattern);
    EXPECT_EQ(2, std::count(filter.begin(), filter.end(), L'\0')) << "a description and one list of patterns";
}

TEST_F(FormatsDecodeTest, AThumbnailOfAWebPShowsThePicture) {
    const std::string path = dir.File("thumb.webp");
    WriteBytes(path, EncodeWebP(700, 350, [](int, int) { return Rgba8{20, 160, 60, 255}; }));
    fw::Bitmap thumbnail = MakeThumbnail(path);
    ASSERT_TRUE(thumbnail);
    Gdiplus::Bitmap shown(thumbnail.get(), nullptr);
    // 700 x 350 fits the 69 x 69 box as 69 x 34, centred.
    EXPECT_TRUE(IsColour(shown, 34, 34, {255, 20, 160, 60}, 12));
    EXPECT_TRUE(IsColour(shown, 34, 10, kWhite, 6));
}
#endif

#if DIORAMIX_HAS_LIBJPEG
TEST_F(FormatsDecodeTest, CorruptJpegsLeaveThroughTheErrorJumpAgainAndAgain) {
    const std::string good = dir.File("good.jpg");
    testing_support::WriteJpeg(good, 256, 192, [](int x, int y) { return testing_support::Rgb8{uint8_t(x), uint8_t(y), 7}; });
    const std::string bytes = testing_support::ReadFile(good);
    // A frame header that libjpeg refuses (no components) and scan data overwritten with noise.
    std::string badFrame = bytes, noise = bytes;
    const size_t sof = badFrame.find("\xFF\xC0");
    ASSERT_NE(std::string::npos, sof);
    badFrame[sof + 9] = 0;
    const size_t sos = noise.find("\xFF\xDA");
    ASSERT_NE(std::string::npos, sos);
    for (size_t i = sos + 20; i < noise.size() - 2; ++i) noise[i] = static_cast<char>(i * 131 % 251);
    testing_support::WriteFile(dir.File("bad-frame.jpg"), badFrame);
    testing_support::WriteFile(dir.File("noise.jpg"), noise);
    for (int round = 0; round < 20; ++round) {
        EXPECT_FALSE(DecodePicture(dir.File("bad-frame.jpg"), FullSize));
        DecodePicture(dir.File("noise.jpg"), FullSize);  // decoded with grey or passed over, never a crash
        ASSERT_TRUE(DecodePicture(good, Half)) << "a good JPEG after the jumps";
    }
}
#endif

// Composing through a folder of photos of every kind: what cannot be decoded here is passed over
// and the next photo drawn, with no message.
class FormatsComposeTest : public ComposerTest {};

TEST_F(FormatsComposeTest, APhotoWithoutACodecIsPassedOverForTheNext) {
    const std::string heic = photos + "\\phone.heic";
    WriteBytes(heic, IsoMediaFile("heic"));
    const std::string avif = photos + "\\web.AVIF";
    WriteBytes(avif, IsoMediaFile("avif"));
    catalogue.Replace({}, {heic, avif});
    const std::string next = AddPhoto("next.jpeg", 400, 300, Gdiplus::Color(255, 30, 140, 220), "png");
    Compose();
    EXPECT_EQ(next, composer->CurrentPath());
    EXPECT_EQ(std::vector<std::string>{next}, composer->CurrentImages());
    auto shot = Wallpaper();
    ASSERT_NE(nullptr, shot);
    EXPECT_TRUE(composer_testing::Near(composer_testing::PixelOf(*shot, 512, 384), {30, 140, 220}, 6));
}

}  // namespace

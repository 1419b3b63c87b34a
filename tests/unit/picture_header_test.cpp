// Sizes read from picture headers before decoding: the guard against huge or hostile files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "composer/picture_header.h"

namespace {

bool Parse(const std::string& bytes, PictureSize& size) {
    return ParsePictureSize(
        [&bytes](uint64_t offset, void* out, size_t n) -> size_t {
            if (offset >= bytes.size()) return 0;
            size_t got = std::min<size_t>(n, bytes.size() - static_cast<size_t>(offset));
            std::memcpy(out, bytes.data() + offset, got);
            return got;
        },
        size);
}

std::string Be32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}
std::string Le16(uint32_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
std::string Le32(uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

TEST(PictureHeader, EachFormatGivesTheSizeItClaims) {
    PictureSize size;
    std::string png = std::string("\x89PNG\r\n\x1A\n", 8) + Be32(13) + "IHDR" + Be32(60000) + Be32(70);
    ASSERT_TRUE(Parse(png, size));
    EXPECT_EQ(60000, size.width);
    EXPECT_EQ(70, size.height);

    ASSERT_TRUE(Parse("GIF89a" + Le16(320) + Le16(240), size));
    EXPECT_EQ(320, size.width);
    EXPECT_EQ(240, size.height);

    std::string bmp = "BM" + std::string(12, '\0') + Le32(40) + Le32(800) + Le32(static_cast<uint32_t>(-600));
    ASSERT_TRUE(Parse(bmp, size));
    EXPECT_EQ(800, size.width);
    EXPECT_EQ(600, size.height);  // top-down rows

    // An application segment, fill bytes, then a progressive frame header.
    std::string jpeg = std::string("\xFF\xD8\xFF\xE0", 4) + std::string("\x00\x10", 2) + std::string(14, 'j') +
                       std::string("\xFF\xFF\xC2\x00\x11\x08", 6) + std::string("\x23\x28\x2E\xE0", 4);
    ASSERT_TRUE(Parse(jpeg, size));
    EXPECT_EQ(12000, size.width);
    EXPECT_EQ(9000, size.height);

    std::string tiff = std::string("II*\0", 4) + Le32(8) + Le16(2) + Le16(256) + Le16(3) + Le32(1) + Le32(15000) +
                       Le16(257) + Le16(4) + Le32(1) + Le32(15000);
    ASSERT_TRUE(Parse(tiff, size));
    EXPECT_EQ(15000, size.width);
    EXPECT_EQ(15000, size.height);
}

TEST(PictureHeader, HeadersCutShortOrUnknownAreRefused) {
    PictureSize size;
    EXPECT_FALSE(Parse("", size));
    EXPECT_FALSE(Parse("This is text.", size));
    EXPECT_FALSE(Parse(std::string("\x89PNG\r\n\x1A\n", 8) + Be32(13) + "IHDR", size));
    EXPECT_FALSE(Parse(std::string("\xFF\xD8\xFF\xE0\x00\x10", 6), size));        // cut in a segment
    EXPECT_FALSE(Parse(std::string("\xFF\xD8\xFF\xDA\x00\x08", 6) + "12345678", size));  // scan before frame
    EXPECT_FALSE(Parse(std::string("\xFF\xD8\xFF\xE0\x00\x00", 6), size));        // a length that cannot be
    EXPECT_FALSE(Parse(std::string("II*\0", 4) + Le32(8) + Le16(0), size));       // no size tags
}

}  // namespace

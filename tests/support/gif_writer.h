#pragma once
// Writes small two-colour GIF files byte by byte: GDI+ under Wine saves GIFs that decode black.
// The picture data is LZW with a clear code before every two pixels, so no code grows past
// three bits: large, but any decoder reads it.

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

struct GifColour {
    uint8_t r, g, b;
};

// ink(x, y) picks the second colour; the first fills the rest.
inline void WriteTwoColourGif(const std::string& path, int w, int h, GifColour paper, GifColour ink,
                              const std::function<bool(int, int)>& isInk) {
    std::vector<uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    auto word = [&](int v) { out.push_back(static_cast<uint8_t>(v & 0xFF)); out.push_back(static_cast<uint8_t>(v >> 8)); };
    word(w);
    word(h);
    out.insert(out.end(), {0x80, 0, 0});  // global table of two colours
    out.insert(out.end(), {paper.r, paper.g, paper.b, ink.r, ink.g, ink.b});
    out.push_back(0x2C);
    word(0);
    word(0);
    word(w);
    word(h);
    out.push_back(0);
    out.push_back(2);  // minimum code size

    std::vector<uint8_t> packed;
    uint32_t bits = 0;
    int count = 0;
    auto code = [&](uint32_t c) {
        bits |= c << count;
        count += 3;
        while (count >= 8) {
            packed.push_back(static_cast<uint8_t>(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    int emitted = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (emitted++ % 2 == 0) code(4);  // clear
            code(isInk(x, y) ? 1 : 0);
        }
    code(5);  // end
    if (count > 0) packed.push_back(static_cast<uint8_t>(bits & 0xFF));
    for (size_t at = 0; at < packed.size(); at += 255) {
        size_t n = std::min<size_t>(255, packed.size() - at);
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), packed.begin() + static_cast<std::ptrdiff_t>(at),
                   packed.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    out.push_back(0);
    out.push_back(0x3B);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

}  // namespace testing_support

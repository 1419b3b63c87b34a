#pragma once
// Pictures as bytes on disk, and how far two drawings of one picture differ, for the tests of
// decoding and composing.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "composer/output.h"
#include "support/canvas.h"
#include "support/test_support.h"

namespace testing_support {

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    const std::string s = ReadFile(path);
    return {s.begin(), s.end()};
}

// The most private memory the process has held so far: a decode that allocates what a header
// claims shows here.
inline SIZE_T PeakPrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakPagefileUsage;
}

// Two drawings of one size: the mean of each pixel's largest channel difference, and the share
// of pixels that differ by more than 40 (edges of sharp lines).
struct PictureDifference {
    double mean = 0, distant = 0;
};

// Each picture is also saved as NAME.png into the folder DIORAMIX_KEEP_PICTURES names, to look at.
inline PictureDifference Compare(const std::pair<const char*, Gdiplus::Bitmap*>& first,
                                 const std::pair<const char*, Gdiplus::Bitmap*>& second) {
    if (const char* keep = std::getenv("DIORAMIX_KEEP_PICTURES"))
        for (const auto& [name, bitmap] : {first, second})
            SaveImage(*bitmap, std::string(keep) + "\\" + name + ".png", "png");
    Gdiplus::Bitmap &a = *first.second, &b = *second.second;
    const int w = static_cast<int>(a.GetWidth()), h = static_cast<int>(a.GetHeight());
    long total = 0, distant = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb p = PixelOf(a, x, y), q = PixelOf(b, x, y);
            const int d = std::max({std::abs(p.r - q.r), std::abs(p.g - q.g), std::abs(p.b - q.b)});
            total += d;
            distant += d > 40;
        }
    const double pixels = static_cast<double>(w) * h;
    return {total / pixels, distant / pixels};
}

}  // namespace testing_support

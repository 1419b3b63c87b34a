#include "state/position_list.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/handles.h"
#include "framework/safe_file.h"

namespace {

constexpr int kPositionLineBuffer = 100;  // lines of at most 99 characters

// A hand-edited or damaged poslist.txt must not carry the placement arithmetic past the range of
// an int; no screen is anywhere near this far out.
constexpr long kFarthestCoordinate = 100000;

long ClampedCoordinate(const char* text) {
    const long value = std::strtol(text, nullptr, 10);  // saturates instead of overflowing
    return std::clamp(value, -kFarthestCoordinate, kFarthestCoordinate);
}

}  // namespace

bool ParsePositionLine(const char* line, RECT& rect) {
    long values[4] = {};
    int found = 0;
    const char* p = line;
    while (*p && found < 4) {
        size_t length = std::strcspn(p, ",");
        if (length > 0) {
            std::string token(p, length);
            values[found++] = ClampedCoordinate(token.c_str());
        }
        p += length;
        if (*p == ',') ++p;
    }
    if (found < 4) return false;
    rect = {values[0], values[1], values[2], values[3]};
    return true;
}

int LoadPositions(const std::string& path, std::vector<RECT>& positions) {
    fw::StdioFile file(std::fopen(path.c_str(), "r"));
    if (!file) return 0;
    char buffer[kPositionLineBuffer];
    while (std::fgets(buffer, sizeof buffer, file.get())) {
        RECT rect{};
        if (ParsePositionLine(buffer, rect)) positions.push_back(rect);
    }
    return 1;
}

bool SavePositions(const std::string& path, const std::vector<RECT>& positions) {
    std::string text;
    char line[64];
    for (const RECT& r : positions) {
        std::snprintf(line, sizeof line, "%d,%d,%d,%d\r\n", static_cast<int>(r.left), static_cast<int>(r.top),
                      static_cast<int>(r.right), static_cast<int>(r.bottom));
        text += line;
    }
    return fw::ReplaceFileContentSafely(path, text);
}

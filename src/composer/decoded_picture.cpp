#include "composer/decoded_picture.h"

#include <algorithm>
#include <cstring>

DrawnSize DecodeSizeFor(int storedWidth, int storedHeight, int orientation, const DrawnSizeFor& drawnSize,
                        DecodedPicture& picture) {
    const bool turned = orientation >= 5;
    picture.width = turned ? storedHeight : storedWidth;
    picture.height = turned ? storedWidth : storedHeight;
    const DrawnSize drawn = drawnSize(picture.width, picture.height);
    const int w = turned ? drawn.h : drawn.w, h = turned ? drawn.w : drawn.h;
    return {std::clamp(w, 1, std::max(1, storedWidth)), std::clamp(h, 1, std::max(1, storedHeight))};
}

void OrientPixels(const uint8_t* source, int w, int h, int sourceStride, int orientation, uint8_t* target,
                  int targetStride) {
    for (int y = 0; y < h; ++y) {
        const auto* from = reinterpret_cast<const uint32_t*>(source + static_cast<ptrdiff_t>(y) * sourceStride);
        for (int x = 0; x < w; ++x) {
            int tx = x, ty = y;
            switch (orientation) {
            case 2: tx = w - 1 - x; break;
            case 3: tx = w - 1 - x; ty = h - 1 - y; break;
            case 4: ty = h - 1 - y; break;
            case 5: tx = y; ty = x; break;
            case 6: tx = h - 1 - y; ty = x; break;
            case 7: tx = h - 1 - y; ty = w - 1 - x; break;
            case 8: tx = y; ty = w - 1 - x; break;
            default: break;
            }
            std::memcpy(target + static_cast<ptrdiff_t>(ty) * targetStride + static_cast<ptrdiff_t>(tx) * 4, from + x, 4);
        }
    }
}

#pragma once
// A picture turned about a point and blended straight onto 24-bit pixels, in one bilinear pass.
// GDI+'s rotated drawing costs tens of milliseconds for each layer under Wine; this pass does the
// photograph, its frame and its shadow together in a few.

#include <cstdint>

// 32-bit B, G, R, A rows with straight (not premultiplied) alpha.
struct ArgbPixels {
    const uint8_t* bits = nullptr;
    int width = 0, height = 0, stride = 0;
};

// 24-bit B, G, R rows.
struct RgbPixels {
    uint8_t* bits = nullptr;
    int width = 0, height = 0, stride = 0;
};

// Where the turned picture goes. Its pixels are first stretched by the scales; before the turn the
// picture's top-left corner lies at (offsetX, offsetY) from the turning point, and the point itself
// sits at (pivotX, pivotY) on the target. Only the target's pixels inside the clip (right and bottom
// exclusive) change.
struct Turn {
    double degrees = 0;  // clockwise on the screen
    double pivotX = 0, pivotY = 0;
    double offsetX = 0, offsetY = 0;
    double scaleX = 1, scaleY = 1;
    int clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
};

// Source over an opaque target; outside the picture everything counts as transparent, so its edges
// come out smooth.
void BlendTurned(const ArgbPixels& picture, const RgbPixels& target, const Turn& turn);

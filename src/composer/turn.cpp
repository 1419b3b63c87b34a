#include "composer/turn.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Colour premultiplied by alpha (so scaled by 255), and alpha.
struct Sample {
    float b = 0, g = 0, r = 0, a = 0;
};

void AddTap(Sample& s, const uint8_t* p, float weight) {
    const float wa = weight * p[3];
    s.b += wa * p[0];
    s.g += wa * p[1];
    s.r += wa * p[2];
    s.a += wa;
}

const uint8_t* PixelAt(const ArgbPixels& pic, int x, int y) {
    return pic.bits + static_cast<ptrdiff_t>(y) * pic.stride + static_cast<ptrdiff_t>(x) * 4;
}

// Bilinear sample at (u, v), pixel centres on whole numbers; taps off the picture are transparent.
Sample SampleAt(const ArgbPixels& pic, float u, float v) {
    const float fu = std::floor(u), fv = std::floor(v);
    const int x0 = static_cast<int>(fu), y0 = static_cast<int>(fv);
    const float wx = u - fu, wy = v - fv;
    Sample s;
    const float weights[4] = {(1 - wx) * (1 - wy), wx * (1 - wy), (1 - wx) * wy, wx * wy};
    for (int i = 0; i < 4; ++i) {
        const int x = x0 + (i & 1), y = y0 + (i >> 1);
        if (x < 0 || y < 0 || x >= pic.width || y >= pic.height || weights[i] == 0) continue;
        AddTap(s, PixelAt(pic, x, y), weights[i]);
    }
    return s;
}

// Inside the picture, where all four taps are opaque (most of a photograph), the sample is a plain
// bilinear mix in fixed point; false leaves the pixel to the general blend.
bool CopyOpaqueInside(const ArgbPixels& pic, float u, float v, uint8_t* t) {
    const float fu = std::floor(u), fv = std::floor(v);
    const int x0 = static_cast<int>(fu), y0 = static_cast<int>(fv);
    if (x0 < 0 || y0 < 0 || x0 + 1 >= pic.width || y0 + 1 >= pic.height) return false;
    const uint8_t* p00 = PixelAt(pic, x0, y0);
    const uint8_t* p10 = p00 + pic.stride;
    if ((p00[3] & p00[7] & p10[3] & p10[7]) != 255) return false;
    const int wx = static_cast<int>((u - fu) * 256.0f), wy = static_cast<int>((v - fv) * 256.0f);
    for (int c = 0; c < 3; ++c) {
        const int top = p00[c] * (256 - wx) + p00[c + 4] * wx;
        const int bottom = p10[c] * (256 - wx) + p10[c + 4] * wx;
        t[c] = static_cast<uint8_t>((top * (256 - wy) + bottom * wy + 32768) >> 16);
    }
    return true;
}

uint8_t Over(float premultiplied, float alpha, uint8_t target) {
    const float v = (premultiplied + target * (255.0f - alpha)) / 255.0f;
    return static_cast<uint8_t>(std::min(255.0f, v + 0.5f));
}

}  // namespace

void BlendTurned(const ArgbPixels& pic, const RgbPixels& target, const Turn& turn) {
    if (!pic.bits || !target.bits || pic.width <= 0 || pic.height <= 0 || !(turn.scaleX > 0) || !(turn.scaleY > 0))
        return;
    const double angle = turn.degrees * kPi / 180, c = std::cos(angle), s = std::sin(angle);

    // The turned picture's bounds, clipped to the clip and the target.
    double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
    for (int corner = 0; corner < 4; ++corner) {
        const double px = turn.offsetX + ((corner & 1) ? pic.width * turn.scaleX : 0);
        const double py = turn.offsetY + ((corner & 2) ? pic.height * turn.scaleY : 0);
        const double x = turn.pivotX + px * c - py * s, y = turn.pivotY + px * s + py * c;
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    const int left = std::max({turn.clipLeft, 0, static_cast<int>(std::floor(minX)) - 1});
    const int top = std::max({turn.clipTop, 0, static_cast<int>(std::floor(minY)) - 1});
    const int right = std::min({turn.clipRight, target.width, static_cast<int>(std::ceil(maxX)) + 1});
    const int bottom = std::min({turn.clipBottom, target.height, static_cast<int>(std::ceil(maxY)) + 1});

    const float last = static_cast<float>(pic.width), lastRow = static_cast<float>(pic.height);
    for (int y = top; y < bottom; ++y) {
        // The target pixel taken back through the turn, in picture pixels; as in GDI+'s default
        // drawing, pixel centres lie on whole coordinates.
        const double qx = left - turn.pivotX, qy = y - turn.pivotY;
        double u = (qx * c + qy * s - turn.offsetX) / turn.scaleX;
        double v = (-qx * s + qy * c - turn.offsetY) / turn.scaleY;
        const double du = c / turn.scaleX, dv = -s / turn.scaleY;
        uint8_t* t = target.bits + static_cast<ptrdiff_t>(y) * target.stride + static_cast<ptrdiff_t>(left) * 3;
        for (int x = left; x < right; ++x, t += 3, u += du, v += dv) {
            const float fu = static_cast<float>(u), fv = static_cast<float>(v);
            if (fu <= -1 || fv <= -1 || fu >= last || fv >= lastRow) continue;
            if (CopyOpaqueInside(pic, fu, fv, t)) continue;
            const Sample p = SampleAt(pic, fu, fv);
            if (p.a < 0.5f) continue;
            t[0] = Over(p.b, p.a, t[0]);
            t[1] = Over(p.g, p.a, t[1]);
            t[2] = Over(p.r, p.a, t[2]);
        }
    }
}

#include "composer/placement.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "composer/text.h"
#include "framework/dpi.h"
#include "framework/font_faces.h"
#include "state/settings.h"

namespace {

constexpr int kEdgeMargin = 10;

// (r x t) mod range, the product wrapping as an unsigned 32-bit value. A range of 0 or less
// (a photograph as large as the screen) cannot be drawn from: it keeps the margin.
int RandomOffset(int range, fw::ISystem& system) {
    uint32_t r = static_cast<uint32_t>(system.Rand());
    uint32_t t = static_cast<uint32_t>(system.TickCount());
    if (range <= 0) return kEdgeMargin;
    return static_cast<int>((r * t) % static_cast<uint32_t>(range)) + kEdgeMargin;
}

bool Contains(int x, int y, int w, int h, POINT p) { return x <= p.x && p.x < x + w && y <= p.y && p.y < y + h; }

// One side of a position moved just inside [0, screen) when it lies wholly beyond it.
void PullIntoView(LONG& from, LONG& to, int screen) {
    const LONG size = to - from;
    if (from >= screen) from = std::max<LONG>(0, screen - size);
    else if (to <= 0) from = 0;
    else return;
    to = from + size;
}

}  // namespace

int MaxPhotoSizeForScreen(int screenWidth) { return screenWidth * 3 / 40 * 10; }

int PhotoMaxSizeAt(int picmaxsize, UINT dpi) {
    const int scaled = fw::ScaleForDpi(picmaxsize, fw::UsableDpi(dpi));
    return std::min(scaled, std::max(picmaxsize, kLargestPicture));
}

DrawnSize ScaleToMaxSize(int imageWidth, int imageHeight, int maxSize, bool notStretch) {
    if (imageWidth <= 0 || imageHeight <= 0) return {};
    int64_t W = imageWidth, H = imageHeight, M = maxSize;
    DrawnSize size;
    if (W < H) {
        size.h = maxSize;
        size.w = static_cast<int>(W * M / H);
    } else {
        size.w = maxSize;
        size.h = static_cast<int>(H * M / W);
    }
    if (notStretch) {
        if (size.w > imageWidth) size.w = imageWidth;
        if (size.h > imageHeight) size.h = imageHeight;
    }
    return size;
}

RECT PositionInView(RECT r, int sw, int sh) {
    PullIntoView(r.left, r.right, sw);
    PullIntoView(r.top, r.bottom, sh);
    return r;
}

POINT PlaceCentred(int sw, int sh, int w, int h) { return {(sw - w) / 2, (sh - h) / 2}; }

POINT PlaceInRect(const RECT& r, int w, int h) {
    return {r.left + (r.right - r.left - w) / 2, r.top + (r.bottom - r.top - h) / 2};
}

POINT PlaceRandom(int sw, int sh, int w, int h, POINT& lastCentre, fw::ISystem& system) {
    int x = RandomOffset(sw - w - 2 * kEdgeMargin, system);
    int y = RandomOffset(sh - h - 2 * kEdgeMargin, system);
    system.Rand();  // one more number is drawn and discarded

    POINT centre{x + w / 2, y + h / 2};
    if (Contains(x, y, w, h, lastCentre)) {
        // Reflect through the screen's centre so that two photographs never share a spot.
        centre = {sw - centre.x, sh - centre.y};
        x = centre.x - w / 2;
        y = centre.y - h / 2;
    }
    lastCentre = centre;
    return {x, y};
}

POINT PlaceImage(int mode, int sw, int sh, int w, int h, PlacementState& state, fw::ISystem& system) {
    switch (mode) {
    case kPlaceCentre:
        return PlaceCentred(sw, sh, w, h);
    case kPlaceUserPositions: {
        if (state.positions.empty()) return PlaceCentred(sw, sh, w, h);
        int count = static_cast<int>(state.positions.size());
        if (state.positionIndex < 0 || state.positionIndex >= count) state.positionIndex = 0;
        POINT p = PlaceInRect(PositionInView(state.positions[state.positionIndex], sw, sh), w, h);
        if (++state.positionIndex == count) state.positionIndex = 0;
        return p;
    }
    case kPlaceRandom:
        return PlaceRandom(sw, sh, w, h, state.lastCentre, system);
    default:
        return {0, 0};
    }
}

PathTextGeometry PathTextLayout(const fw::WorkArea& wa, UINT dpi) {
    dpi = fw::UsableDpi(dpi);
    const auto scaled = [dpi](int length) { return fw::ScaleForDpi(length, dpi); };
    PathTextGeometry geometry;
    geometry.bar = Gdiplus::Rect(wa.x + wa.width - scaled(600), wa.y + wa.height - scaled(20), scaled(600), scaled(12));
    geometry.fontSize = 10 * fw::DpiScale(dpi);
    geometry.spacing = TextSpacingAt(dpi);
    return geometry;
}

void DrawPathText(Gdiplus::Graphics& g, const std::string& path, const fw::WorkArea& wa, UINT dpi) {
    if (path.empty()) return;
    const PathTextGeometry geometry = PathTextLayout(wa, dpi);
    const Gdiplus::Rect& bar = geometry.bar;
    Gdiplus::LinearGradientBrush shade(bar, Gdiplus::Color(0, 0, 0, 0), Gdiplus::Color(220, 0, 0, 0), 0.0f, FALSE);
    shade.SetWrapMode(Gdiplus::WrapModeTile);
    g.FillRectangle(&shade, bar);

    std::unique_ptr<Gdiplus::Font> font = MakeFont(fw::kPathTextFace, geometry.fontSize, Gdiplus::FontStyleRegular);
    Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
    Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(bar.X), static_cast<Gdiplus::REAL>(bar.Y),
                          static_cast<Gdiplus::REAL>(bar.Width), static_cast<Gdiplus::REAL>(bar.Height));
    DrawShadowedString(g, path, *font, layout, white, geometry.spacing);
}

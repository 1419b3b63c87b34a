#include "composer/layout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "composer/placement.h"

namespace {

bool HasArea(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

// Squared distance from the point to the rectangle (0 inside it).
int64_t DistanceSquared(const RECT& r, POINT p) {
    const int64_t dx = p.x < r.left ? r.left - p.x : p.x >= r.right ? p.x - (r.right - 1) : 0;
    const int64_t dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom ? p.y - (r.bottom - 1) : 0;
    return dx * dx + dy * dy;
}

// Primary first; the rest as they stand on the desk, left to right, then top to bottom.
bool TakesPhotoBefore(const fw::MonitorInfo& a, const fw::MonitorInfo& b) {
    if (a.primary != b.primary) return a.primary;
    if (a.rect.left != b.rect.left) return a.rect.left < b.rect.left;
    return a.rect.top < b.rect.top;
}

}  // namespace

RECT DesktopLayout::ToCanvas(RECT r) const {
    ::OffsetRect(&r, -bounds.left, -bounds.top);
    return r;
}

bool DesktopLayout::operator==(const DesktopLayout& other) const {
    if (!::EqualRect(&bounds, &other.bounds) || monitors.size() != other.monitors.size()) return false;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const fw::MonitorInfo &a = monitors[i], &b = other.monitors[i];
        if (!::EqualRect(&a.rect, &b.rect) || !::EqualRect(&a.work, &b.work) || a.primary != b.primary ||
            a.dpi != b.dpi)
            return false;
    }
    return true;
}

DesktopLayout PrimaryScreenLayout(int sw, int sh, const fw::WorkArea& wa, UINT dpi) {
    DesktopLayout layout;
    layout.bounds = {0, 0, sw, sh};
    layout.monitors.push_back({layout.bounds, RECT{wa.x, wa.y, wa.x + wa.width, wa.y + wa.height}, true, dpi});
    return layout;
}

UINT PrimaryDpi(const std::vector<fw::MonitorInfo>& monitors) {
    if (monitors.empty()) return fw::kDefaultDpi;
    const auto primary = std::find_if(monitors.begin(), monitors.end(), [](const fw::MonitorInfo& m) { return m.primary; });
    return (primary != monitors.end() ? *primary : monitors.front()).dpi;
}

DesktopLayout MakeDesktopLayout(const std::vector<fw::MonitorInfo>& monitors, bool perMonitor, int sw, int sh,
                                const fw::WorkArea& workArea) {
    std::vector<fw::MonitorInfo> shown;
    for (const fw::MonitorInfo& m : monitors)
        if (HasArea(m.rect)) shown.push_back(m);
    if (!perMonitor || shown.size() < 2) return PrimaryScreenLayout(sw, sh, workArea, PrimaryDpi(monitors));
    // Without a primary among them (a system answering oddly), the first one stands in.
    if (std::none_of(shown.begin(), shown.end(), [](const fw::MonitorInfo& m) { return m.primary; }))
        shown.front().primary = true;
    std::stable_sort(shown.begin(), shown.end(), TakesPhotoBefore);
    DesktopLayout layout;
    layout.bounds = BoundingRect(shown);
    layout.monitors = std::move(shown);
    return layout;
}

RECT BoundingRect(const std::vector<fw::MonitorInfo>& monitors) {
    if (monitors.empty()) return {};
    RECT bounds = monitors.front().rect;
    for (const fw::MonitorInfo& m : monitors) ::UnionRect(&bounds, &bounds, &m.rect);
    return bounds;
}

std::vector<RECT> GapRects(const RECT& bounds, const std::vector<fw::MonitorInfo>& monitors) {
    // Bands between the monitors' top and bottom edges; in each, the spans no monitor covers.
    std::vector<LONG> edges{bounds.top, bounds.bottom};
    for (const fw::MonitorInfo& m : monitors) {
        edges.push_back(std::clamp(m.rect.top, bounds.top, bounds.bottom));
        edges.push_back(std::clamp(m.rect.bottom, bounds.top, bounds.bottom));
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    std::vector<RECT> gaps;
    for (size_t i = 0; i + 1 < edges.size(); ++i) {
        const LONG top = edges[i], bottom = edges[i + 1];
        std::vector<std::pair<LONG, LONG>> covered;
        for (const fw::MonitorInfo& m : monitors)
            if (m.rect.top <= top && m.rect.bottom >= bottom) covered.push_back({m.rect.left, m.rect.right});
        std::sort(covered.begin(), covered.end());
        LONG x = bounds.left;
        for (const auto& [from, to] : covered) {
            if (from > x) gaps.push_back({x, top, std::min(from, bounds.right), bottom});
            x = std::max(x, to);
        }
        if (x < bounds.right) gaps.push_back({x, top, bounds.right, bottom});
    }
    return gaps;
}

int MonitorHolding(const std::vector<fw::MonitorInfo>& monitors, POINT p) {
    for (size_t i = 0; i < monitors.size(); ++i)
        if (::PtInRect(&monitors[i].rect, p)) return static_cast<int>(i);
    return -1;
}

int MonitorOfPosition(const std::vector<fw::MonitorInfo>& monitors, const RECT& position) {
    const POINT centre{position.left + (position.right - position.left) / 2,
                       position.top + (position.bottom - position.top) / 2};
    const int holding = MonitorHolding(monitors, centre);
    if (holding >= 0) return holding;
    int nearest = -1;
    int64_t best = std::numeric_limits<int64_t>::max();
    for (size_t i = 0; i < monitors.size(); ++i) {
        const int64_t d = DistanceSquared(monitors[i].rect, centre);
        if (d < best) {
            best = d;
            nearest = static_cast<int>(i);
        }
    }
    return nearest;
}

RECT PositionOnMonitor(const RECT& position, const RECT& monitor) {
    RECT local = position;
    ::OffsetRect(&local, -monitor.left, -monitor.top);
    return PositionInView(local, RectWidth(monitor), RectHeight(monitor));
}

RECT PositionInLayout(const RECT& position, const std::vector<fw::MonitorInfo>& monitors) {
    const int monitor = MonitorOfPosition(monitors, position);
    if (monitor < 0) return position;
    const RECT& own = monitors[static_cast<size_t>(monitor)].rect;
    RECT shown = PositionOnMonitor(position, own);
    ::OffsetRect(&shown, own.left, own.top);
    return shown;
}

bool SameMonitors(const DesktopLayout& a, const DesktopLayout& b) {
    if (a.monitors.size() != b.monitors.size()) return false;
    for (size_t i = 0; i < a.monitors.size(); ++i)
        if (!::EqualRect(&a.monitors[i].rect, &b.monitors[i].rect) || a.monitors[i].primary != b.monitors[i].primary ||
            a.monitors[i].dpi != b.monitors[i].dpi)
            return false;
    return true;
}

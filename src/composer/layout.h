#pragma once
// The geometry of the desktop a wallpaper is composed for: which monitors get a picture of their
// own, where they lie on the one canvas, the gaps between them, and which monitor a user position
// belongs to. Pure arithmetic on rectangles, no system calls.

#include <windows.h>

#include <vector>

#include "framework/system.h"

// The canvas in virtual-screen coordinates and the monitors composed on it, primary first, then
// from left to right and top to bottom (the order in which they take photographs).
struct DesktopLayout {
    RECT bounds{};
    std::vector<fw::MonitorInfo> monitors;

    int Width() const { return bounds.right - bounds.left; }
    int Height() const { return bounds.bottom - bounds.top; }
    bool IsSpanned() const { return monitors.size() > 1; }
    // A rectangle of the virtual screen in the canvas's pixels.
    RECT ToCanvas(RECT r) const;
    bool operator==(const DesktopLayout& other) const;
    bool operator!=(const DesktopLayout& other) const { return !(*this == other); }
};

// The same monitors in the same places at the same scale: what differs is at most a work area (a
// task bar moved). A new scale sizes the photos anew, so it needs a new picture.
bool SameMonitors(const DesktopLayout& a, const DesktopLayout& b);

// The primary screen alone (sw x sh at the origin with its work area, at its DPI): the picture of
// one monitor, which the system shows on every monitor in the user's own style.
DesktopLayout PrimaryScreenLayout(int sw, int sh, const fw::WorkArea& workArea, UINT dpi = fw::kDefaultDpi);
// The primary's DPI among the monitors (the first one's without a primary); 96 without monitors.
UINT PrimaryDpi(const std::vector<fw::MonitorInfo>& monitors);
// A picture for every monitor when there are several and perMonitor is on; otherwise the primary
// screen's. Monitors without area are left out.
DesktopLayout MakeDesktopLayout(const std::vector<fw::MonitorInfo>& monitors, bool perMonitor, int sw, int sh,
                                const fw::WorkArea& workArea);

// The smallest rectangle holding every monitor.
RECT BoundingRect(const std::vector<fw::MonitorInfo>& monitors);
// The parts of bounds that no monitor covers, as rectangles that do not overlap.
std::vector<RECT> GapRects(const RECT& bounds, const std::vector<fw::MonitorInfo>& monitors);

// The monitor holding the point, or -1.
int MonitorHolding(const std::vector<fw::MonitorInfo>& monitors, POINT p);
// The monitor a user position belongs to: the one holding its centre, or, for a position on a
// monitor that is gone, the nearest one; -1 only without monitors.
int MonitorOfPosition(const std::vector<fw::MonitorInfo>& monitors, const RECT& position);
// The position in its monitor's own coordinates, moved just into view when it lies wholly off it.
RECT PositionOnMonitor(const RECT& position, const RECT& monitor);

// Where a user position's photo is drawn, in virtual-screen coordinates: on its own monitor as it
// stands, or, when it lies wholly off that monitor (saved on a larger screen or on a monitor that
// is gone), moved just into view. Unchanged without monitors.
RECT PositionInLayout(const RECT& position, const std::vector<fw::MonitorInfo>& monitors);

// The width and height of a rectangle.
inline int RectWidth(const RECT& r) { return r.right - r.left; }
inline int RectHeight(const RECT& r) { return r.bottom - r.top; }
inline fw::WorkArea AsWorkArea(const RECT& r) { return {r.left, r.top, RectWidth(r), RectHeight(r)}; }

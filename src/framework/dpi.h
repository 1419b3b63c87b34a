#pragma once
// Sizes at the DPI a window is shown at. The program declares per-monitor awareness, so the
// system does not stretch its drawing: a size fixed in 96-DPI pixels must be scaled by it.

#include <windows.h>

namespace fw {

constexpr UINT kDefaultDpi = 96;

// A length given in 96-DPI pixels, at `dpi`.
inline int ScaleForDpi(int length, UINT dpi) { return ::MulDiv(length, static_cast<int>(dpi), kDefaultDpi); }

// A DPI sizes can be scaled by: none (0) counts as 96, and one beyond any display's (a damaged
// answer) is held between half and ten times 96, so that no scaled size becomes absurd.
constexpr UINT UsableDpi(UINT dpi) {
    if (dpi == 0) return kDefaultDpi;
    if (dpi < kDefaultDpi / 2) return kDefaultDpi / 2;
    return dpi > kDefaultDpi * 10 ? kDefaultDpi * 10 : dpi;
}
// The factor sizes given in 96-DPI pixels are drawn at: 1.5 at 144 DPI (a scale of 150 %).
inline float DpiScale(UINT dpi) { return static_cast<float>(UsableDpi(dpi)) / kDefaultDpi; }

// The window's DPI; on systems without per-window DPI, the screen's.
UINT WindowDpi(HWND window);
// The screen's DPI, the one every monitor has on systems without per-monitor DPI; 96 when unknown.
UINT SystemDpi();
// The monitor's effective DPI (what the user's scale for it makes of 96); the screen's on systems
// without per-monitor DPI.
UINT MonitorDpi(HMONITOR monitor);
// The DPI of the monitor at a point of the screen (where the cursor opens a menu).
UINT DpiAt(POINT point);
// The font menus are drawn with, at `dpi`.
LOGFONTW MenuFont(UINT dpi);

}  // namespace fw

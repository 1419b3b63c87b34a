#pragma once
// Sizes at the DPI a window is shown at. The program declares per-monitor awareness, so the
// system does not stretch its drawing: a size fixed in 96-DPI pixels must be scaled by it.

#include <windows.h>

namespace fw {

constexpr UINT kDefaultDpi = 96;

// A length given in 96-DPI pixels, at `dpi`.
inline int ScaleForDpi(int length, UINT dpi) { return ::MulDiv(length, static_cast<int>(dpi), kDefaultDpi); }

// The window's DPI; on systems without per-window DPI, the screen's.
UINT WindowDpi(HWND window);
// The DPI of the monitor at a point of the screen (where the cursor opens a menu); the screen's
// on systems without per-monitor DPI.
UINT DpiAt(POINT point);
// The font menus are drawn with, at `dpi`.
LOGFONTW MenuFont(UINT dpi);

}  // namespace fw

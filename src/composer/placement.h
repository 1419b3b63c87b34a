#pragma once
// Where a photograph goes: its drawn size, its place in the three placement modes, the user's
// positions and their file poslist.txt, and the path text at the bottom of the work area.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>
#include <vector>

#include "composer/text.h"
#include "framework/system.h"

enum PlacementMode { kPlaceCentre = 0, kPlaceUserPositions = 1, kPlaceRandom = 2 };

struct DrawnSize {
    int w = 0;
    int h = 0;
};

// Largest photograph side for a screen: three quarters of its width, rounded down to tens.
int MaxPhotoSizeForScreen(int screenWidth);
// `picmaxsize` on a monitor of the DPI, so that a photo looks as large on each; no larger than the
// setting's own limit unless the setting itself is.
int PhotoMaxSizeAt(int picmaxsize, UINT dpi);
// The longer side becomes maxSize; with notStretch a smaller image keeps its own size.
DrawnSize ScaleToMaxSize(int imageWidth, int imageHeight, int maxSize, bool notStretch);

// The state that placement carries from one photograph to the next.
struct PlacementState {
    std::vector<RECT>& positions;
    int& positionIndex;
    POINT& lastCentre;
};

// Top-left corner of a w x h photograph on a sw x sh screen. User positions are taken in turn;
// random placement keeps 10 pixels from every edge and moves away from the previous centre.
POINT PlaceImage(int mode, int sw, int sh, int w, int h, PlacementState& state, fw::ISystem& system);
// A position saved on a larger screen (or before a resolution change) that lies wholly off this
// sw x sh one, moved just into view: its photograph would otherwise never be seen. A position that
// shows at least in part is returned as the user placed it.
RECT PositionInView(RECT r, int sw, int sh);
POINT PlaceCentred(int sw, int sh, int w, int h);
POINT PlaceInRect(const RECT& r, int w, int h);
POINT PlaceRandom(int sw, int sh, int w, int h, POINT& lastCentre, fw::ISystem& system);

// The path text's bar and font on a work area at a monitor's DPI: at 96 DPI a 600 x 12 bar 20
// pixels above the work area's bottom with 10-pixel text, at 144 DPI all of it half as large again.
struct PathTextGeometry {
    Gdiplus::Rect bar;
    Gdiplus::REAL fontSize = 0;
    TextSpacing spacing;
};
PathTextGeometry PathTextLayout(const fw::WorkArea& wa, UINT dpi);

// The photograph's path, right-aligned on a dark bar at the bottom right of the work area.
void DrawPathText(Gdiplus::Graphics& g, const std::string& path, const fw::WorkArea& wa, UINT dpi = fw::kDefaultDpi);

#pragma once
// Thumbnails of photographs: the fit of a picture into a box, and the square picture itself
// (70 x 70 at 96 DPI).

#include <windows.h>

#include <string>

#include "framework/handles.h"

struct ThumbnailRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// Where a picture of imageWidth x imageHeight is drawn in a box of boxWidth x boxHeight: shrunk
// to fit, never enlarged, centred. The shapes are compared in whole hundredths; a side that
// cannot be read counts as 1. The position is relative to the box.
ThumbnailRect FitThumbnail(int boxWidth, int boxHeight, int imageWidth, int imageHeight);

constexpr int kThumbnailSize = 70;

// A size x size picture of the file, fitted on white with a black border; a file that cannot be
// loaded gives the white thumbnail with its border. Needs a running GDI+.
fw::Bitmap MakeThumbnail(const std::string& path, int size = kThumbnailSize);

// The cell a thumbnail shows until its picture has been read: the border around a light grey
// square, which no real thumbnail (white around its picture) is.
constexpr COLORREF kThumbnailPlaceholderColour = RGB(0xD8, 0xD8, 0xD8);
fw::Bitmap MakeThumbnailPlaceholder(int size = kThumbnailSize);

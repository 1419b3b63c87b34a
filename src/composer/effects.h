#pragma once
// The effect stage: every photograph is drawn, unturned, into a transparent 32-bit layer with its
// shadow and frame or its mask, and the layer onto the 24-bit canvas in one step, turned on the way
// when rotation is on.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

#include "composer/turn.h"
#include "framework/system.h"
#include "state/settings.h"

class PhotoEffects {
public:
    PhotoEffects(const EnvSettings& env, fw::ISystem& system);
    ~PhotoEffects();

    // original: the picture's own size when image was brought down from it (empty: image's size);
    // the rotated photograph's two-pixel source margin is measured in the original's pixels.
    void DrawImageWithEffects(Gdiplus::Graphics& canvas, Gdiplus::Image& image, int w, int h, int x, int y,
                              Gdiplus::SizeF original = {});
    void DrawMaskedImage(Gdiplus::Graphics& canvas, Gdiplus::Image& image, int w, int h, int x, int y);

    // The 24-bit bitmap behind the canvas Graphics, whose pixels the layers are blended into
    // directly (nullptr: drawn through the Graphics).
    void SetCanvasBitmap(Gdiplus::Bitmap* canvas) { m_canvas = canvas; }
    // The DPI of the monitor the next photographs are for: `framesize` is scaled by it, so that a
    // frame looks as thick on each monitor as the photograph it surrounds looks large.
    void SetMonitorDpi(UINT dpi) { m_dpi = dpi; }

    // "*.gif" files of the folder, in the order the file system lists them.
    void LoadMasks(const std::string& folder);
    std::string PickRandomMask();
    const std::vector<std::string>& Masks() const { return m_maskList; }

    std::vector<std::string> m_maskList;

    // Margin of the drop shadow at the right (from w) or bottom (from h): 18 pixels per 482.
    static int ShadowMargin(int size);

private:
    int NextAngle();
    int FrameWidth(int w, int h) const;
    // The shadow and frame of a w x h photograph, unturned, for the photograph to be drawn on. Kept
    // for the next change: the same size and settings give the same backdrop, and building it costs
    // more than the photograph itself.
    Gdiplus::Bitmap* Backdrop(int w, int h);
    void DrawShadow(Gdiplus::Graphics& layer, int w, int h, std::string& key);
    void DrawFrame(Gdiplus::Graphics& layer, int w, int h, int f);
    std::unique_ptr<Gdiplus::Bitmap> PhotoCard(Gdiplus::Image& image, int w, int h, bool rotate,
                                               Gdiplus::SizeF original);
    // The card turned by the angle about the photograph's centre, at the photograph's place (x, y).
    void DrawTurned(Gdiplus::Graphics& canvas, Gdiplus::Bitmap& card, int w, int h, int x, int y, int angle);

    // The mask file's picture, decoded once for as long as the same mask is drawn.
    Gdiplus::Bitmap* MaskPicture(const std::string& path);

    struct CachedLayer {
        std::unique_ptr<Gdiplus::Bitmap> bitmap;
        std::string key;
    };

    const EnvSettings& m_env;
    fw::ISystem& m_system;
    CachedLayer m_backdrop, m_mask;
    Gdiplus::Bitmap* m_canvas = nullptr;
    UINT m_dpi = fw::kDefaultDpi;
};

// Photo alpha = 255 - mask red, on locked bits. Both layers 32-bit ARGB of the same size.
bool ApplyMask(Gdiplus::Bitmap& photo, Gdiplus::Bitmap& mask);
// (30R + 59G + 11B) / 100 into every component of a 24-bit bitmap, in place.
int GrayBitmap(Gdiplus::Bitmap& bitmap);
// A 32-bit ARGB layer drawn source-over onto a 24-bit bitmap with its corner at (x, y), clipped;
// false when the bits could not be locked.
bool BlendLayer24(Gdiplus::Bitmap& canvas, Gdiplus::Bitmap& layer, int x, int y);
// A 32-bit ARGB layer turned and blended onto a 24-bit bitmap (see BlendTurned); false when the bits
// could not be locked.
bool BlendTurnedLayer(Gdiplus::Bitmap& canvas, Gdiplus::Bitmap& layer, const Turn& turn);

#include "composer/effects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

#include "composer/canvas.h"
#include "composer/picture_decode.h"
#include "composer/turn.h"
#include "framework/dpi.h"
#include "framework/handles.h"
#include "framework/locked_bits.h"
#include "framework/mbstring.h"
#include "state/data_files.h"

namespace {

using Gdiplus::Bitmap;
using Gdiplus::Graphics;
using Gdiplus::Rect;

// Truncated diagonal: a square of this side holds the photograph at any angle.
int Diagonal(int w, int h) {
    double dw = w, dh = h;
    return static_cast<int>(std::sqrt(dw * dw + dh * dh));
}

// A fully transparent 32-bit layer, or nullptr when GDI+ cannot make one (huge or empty sizes).
std::unique_ptr<Bitmap> MakeLayer(int w, int h) {
    // GDI+ computes a bitmap's byte size in 32 bits; larger layers are refused before it overflows.
    if (w <= 0 || h <= 0 || static_cast<int64_t>(w) * h > INT32_MAX / 4) return nullptr;
    auto layer = std::make_unique<Bitmap>(w, h, PixelFormat32bppARGB);
    if (layer->GetLastStatus() != Gdiplus::Ok) return nullptr;
    // Zeroing the locked bits costs far less than Graphics::Clear under Wine.
    fw::LockedBits bits(*layer, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB);
    if (!bits) {
        Graphics(layer.get()).Clear(Gdiplus::Color(0, 0, 0, 0));
        return layer;
    }
    for (int row = 0; row < h; ++row) std::memset(bits.Row(row), 0, static_cast<size_t>(w) * 4);
    return layer;
}

// A copy of a 32-bit ARGB layer, made by copying its rows (Bitmap::Clone is several times slower
// under Wine).
std::unique_ptr<Bitmap> CopyLayer(Bitmap& from) {
    const int w = static_cast<int>(from.GetWidth()), h = static_cast<int>(from.GetHeight());
    if (w <= 0 || h <= 0) return nullptr;
    auto copy = std::make_unique<Bitmap>(w, h, PixelFormat32bppARGB);
    if (copy->GetLastStatus() != Gdiplus::Ok) return nullptr;
    {
        fw::LockedBits source(from, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB);
        fw::LockedBits target(*copy, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB);
        if (!source || !target) return nullptr;
        for (int row = 0; row < h; ++row) std::memcpy(target.Row(row), source.Row(row), static_cast<size_t>(w) * 4);
    }
    return copy;
}

std::unique_ptr<Gdiplus::Image> LoadPicture(const std::string& path) {
    if (path.empty()) return nullptr;
    std::wstring wide = mb::Widen(path);
    auto image = std::make_unique<Gdiplus::Image>(wide.c_str());
    if (image->GetLastStatus() != Gdiplus::Ok || image->GetWidth() == 0 || image->GetHeight() == 0)
        return nullptr;
    return image;
}

void DrawLayerOnCanvas(Graphics& canvas, Bitmap* canvasBits, Bitmap& layer, int x, int y) {
    // Blending the pixels ourselves spares GDI+'s per-pixel drawing onto a 24-bit target.
    if (canvasBits && BlendLayer24(*canvasBits, layer, x, y)) return;
    int lw = static_cast<int>(layer.GetWidth()), lh = static_cast<int>(layer.GetHeight());
    canvas.DrawImage(&layer, Rect(x, y, lw, lh), 0, 0, lw, lh, Gdiplus::UnitPixel);
}

// The picture stretched over the whole of a 24-bit bitmap, source over.
void StretchOnto(Bitmap& target, Bitmap& picture) {
    const int tw = static_cast<int>(target.GetWidth()), th = static_cast<int>(target.GetHeight());
    const int pw = static_cast<int>(picture.GetWidth()), ph = static_cast<int>(picture.GetHeight());
    Turn stretch;
    stretch.scaleX = static_cast<double>(tw) / pw;
    stretch.scaleY = static_cast<double>(th) / ph;
    stretch.clipRight = tw;
    stretch.clipBottom = th;
    if (BlendTurnedLayer(target, picture, stretch)) return;
    Graphics(&target).DrawImage(&picture, Rect(0, 0, tw, th), 0, 0, pw, ph, Gdiplus::UnitPixel);
}

}  // namespace

PhotoEffects::PhotoEffects(const EnvSettings& env, fw::ISystem& system) : m_env(env), m_system(system) {}

PhotoEffects::~PhotoEffects() = default;

int PhotoEffects::NextAngle() {
    int range = m_env.rotatevalue;
    if (range == 0) return 0;  // a zero modulus would fault; the settings read never leaves one
    return m_system.Rand() % range - range / 2;
}

void PhotoEffects::DrawShadow(Gdiplus::Graphics& layer, int w, int h, std::string& key) {
    int sx = ShadowMargin(w), sy = ShadowMargin(h);
    auto picture = LoadPicture(m_env.InstalledFilePath(data_files::kShadowPicture));
    auto shadow = picture ? MakeLayer(w + sx, h + sy) : nullptr;
    if (!shadow) {
        key.clear();  // looked for again next time
        return;
    }
    Graphics(shadow.get()).DrawImage(picture.get(), Rect(0, 0, w + sx, h + sy), 0, 0,
                                     static_cast<INT>(picture->GetWidth()), static_cast<INT>(picture->GetHeight()),
                                     Gdiplus::UnitPixel);
    // The source starts 2 pixels before the bitmap, which moves the shadow a little right and down.
    layer.DrawImage(shadow.get(), Rect(0, 0, w + sx, h + sy), -2, -2, w + sx + 2, h + sy + 2, Gdiplus::UnitPixel);
}

void PhotoEffects::DrawFrame(Gdiplus::Graphics& layer, int w, int h, int f) {
    auto frame = MakeLayer(w, h);
    if (!frame) return;
    {
        Graphics g(frame.get());
        g.Clear(OpaqueColor(m_env.framecolor));
        Gdiplus::Pen black(Gdiplus::Color(255, 0, 0, 0), 1.0f);
        g.DrawRectangle(&black, f, f, w - 2 * f - 1, h - 2 * f - 1);
    }
    layer.DrawImage(frame.get(), Rect(0, 0, w, h), -1, -1, w + 1, h + 1, Gdiplus::UnitPixel);
}

Gdiplus::Bitmap* PhotoEffects::Backdrop(int w, int h) {
    const int f = FrameWidth(w, h);
    std::string key = std::to_string(w) + "x" + std::to_string(h);
    if (m_env.isshadow) key += " shadow " + m_env.InstalledFilePath(data_files::kShadowPicture);
    if (m_env.isframe) key += " frame " + std::to_string(f) + " " + std::to_string(m_env.framecolor);
    if (m_backdrop.bitmap && m_backdrop.key == key) return m_backdrop.bitmap.get();
    m_backdrop = {};
    const int lw = m_env.isshadow ? w + ShadowMargin(w) : w, lh = m_env.isshadow ? h + ShadowMargin(h) : h;
    auto backdrop = MakeLayer(lw, lh);
    if (!backdrop) return nullptr;
    {
        Graphics g(backdrop.get());
        if (m_env.isshadow) DrawShadow(g, w, h, key);
        if (m_env.isframe) DrawFrame(g, w, h, f);
    }
    m_backdrop = {std::move(backdrop), std::move(key)};
    return m_backdrop.bitmap.get();
}

std::unique_ptr<Gdiplus::Bitmap> PhotoEffects::PhotoCard(Gdiplus::Image& image, int w, int h, bool rotate,
                                                         Gdiplus::SizeF original) {
    Gdiplus::Bitmap* backdrop = Backdrop(w, h);
    if (!backdrop) return nullptr;
    std::unique_ptr<Bitmap> card = CopyLayer(*backdrop);
    if (!card) return nullptr;

    int ox = 0, oy = 0, pw = w, ph = h;
    if (m_env.isframe) {
        const int f = FrameWidth(w, h);
        ox = oy = f + 1;
        pw = w - 2 * f - 2;
        ph = h - 2 * f - 2;
    }
    const INT iw = static_cast<INT>(image.GetWidth()), ih = static_cast<INT>(image.GetHeight());
    if (rotate) {
        // The photograph starts two of the original's pixels inside its rectangle.
        const Gdiplus::REAL mx = original.Width > 0 ? 2.0f * iw / original.Width : 2.0f;
        const Gdiplus::REAL my = original.Height > 0 ? 2.0f * ih / original.Height : 2.0f;
        if (pw <= 0 || ph <= 0) return card;
        const int left = static_cast<int>(std::lround(mx * pw / (iw + mx)));
        const int top = static_cast<int>(std::lround(my * ph / (ih + my)));
        if (ShrinkOnto(*card, image, Rect(ox + left, oy + top, pw - left, ph - top))) return card;
        Graphics g(card.get());
        g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        g.DrawImage(&image, Gdiplus::RectF(static_cast<Gdiplus::REAL>(ox), static_cast<Gdiplus::REAL>(oy),
                                           static_cast<Gdiplus::REAL>(pw), static_cast<Gdiplus::REAL>(ph)),
                    -mx, -my, iw + mx, ih + my, Gdiplus::UnitPixel);
    } else if (pw > 1 && ph > 1) {
        const Rect inner(ox + 1, oy + 1, pw - 1, ph - 1);
        if (ShrinkOnto(*card, image, inner)) return card;
        Graphics(card.get()).DrawImage(&image, inner, 0, 0, iw, ih, Gdiplus::UnitPixel);
    }
    return card;
}

void PhotoEffects::DrawTurned(Gdiplus::Graphics& canvas, Gdiplus::Bitmap& card, int w, int h, int x, int y,
                              int angle) {
    // The card turns about the photograph's centre inside the square that holds it at any angle.
    const int d = Diagonal(w, h);
    const int lx = x - (d - w) / 2, ly = y - (d - h) / 2;
    Turn turn;
    turn.degrees = angle;
    turn.pivotX = lx + d * 0.5;
    turn.pivotY = ly + d * 0.5;
    turn.offsetX = -(w / 2);
    turn.offsetY = -(h / 2);
    turn.clipLeft = lx;
    turn.clipTop = ly;
    turn.clipRight = lx + d;
    turn.clipBottom = ly + d;
    if (m_canvas && BlendTurnedLayer(*m_canvas, card, turn)) return;

    // Without the canvas's pixels GDI+ turns the card in a square layer.
    auto layer = MakeLayer(d, d);
    if (!layer) return;
    {
        Graphics g(layer.get());
        const Gdiplus::REAL centre = d * 0.5f;
        g.RotateTransform(static_cast<Gdiplus::REAL>(angle), Gdiplus::MatrixOrderPrepend);
        g.TranslateTransform(centre, centre, Gdiplus::MatrixOrderAppend);
        g.DrawImage(&card, -(w / 2), -(h / 2), static_cast<INT>(card.GetWidth()), static_cast<INT>(card.GetHeight()));
    }
    DrawLayerOnCanvas(canvas, nullptr, *layer, lx, ly);
}

void PhotoEffects::DrawImageWithEffects(Gdiplus::Graphics& canvas, Gdiplus::Image& image, int w, int h, int x,
                                        int y, Gdiplus::SizeF original) {
    if (w <= 0 || h <= 0) return;
    const bool rotate = m_env.isrotate != 0;
    const int angle = rotate ? NextAngle() : 0;
    // The photograph with its shadow and frame, as the unturned picture shows it; turning it
    // whole costs one pass instead of one per piece.
    auto card = PhotoCard(image, w, h, rotate, original);
    if (!card) return;
    if (rotate)
        DrawTurned(canvas, *card, w, h, x, y, angle);
    else
        DrawLayerOnCanvas(canvas, m_canvas, *card, x, y);
}

void PhotoEffects::DrawMaskedImage(Gdiplus::Graphics& canvas, Gdiplus::Image& image, int w, int h, int x, int y) {
    if (w <= 0 || h <= 0) return;
    const bool rotate = m_env.isrotate != 0;
    const int angle = rotate ? NextAngle() : 0;
    auto photo = MakeLayer(w, h);
    Canvas24 mask(w, h);
    if (!photo || !mask.IsValid()) return;

    INT iw = static_cast<INT>(image.GetWidth()), ih = static_cast<INT>(image.GetHeight());
    if (!ShrinkOnto(*photo, image, Rect(0, 0, w, h))) {
        Graphics g(photo.get());
        if (rotate) g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        g.DrawImage(&image, Rect(0, 0, w, h), 0, 0, iw, ih, Gdiplus::UnitPixel);
    }
    // Only the mask's red counts. Where it leaves the photograph uncovered a turned photograph is
    // hidden (white) rather than shown unmasked (black).
    mask.Fill(rotate ? 0xFFFFFFFF : 0xFF000000);
    if (Gdiplus::Bitmap* maskImage = MaskPicture(m_env.isrndmask ? PickRandomMask() : m_env.maskfilename))
        StretchOnto(mask.Bitmap(), *maskImage);
    ApplyMask(*photo, mask.Bitmap());
    if (rotate)
        DrawTurned(canvas, *photo, w, h, x, y, angle);
    else
        DrawLayerOnCanvas(canvas, m_canvas, *photo, x, y);
}

Gdiplus::Bitmap* PhotoEffects::MaskPicture(const std::string& path) {
    // The same few masks come back again and again; each is decoded once.
    if (m_mask.bitmap && m_mask.key == path) return m_mask.bitmap.get();
    m_mask = {};
    if (path.empty()) return nullptr;
    // A bitmap made from a file keeps the file open for its life: the kept copy is an owned one,
    // so the user can still replace or delete the mask while it is in use.
    Bitmap file(mb::Widen(path).c_str());
    const int w = static_cast<int>(file.GetWidth()), h = static_cast<int>(file.GetHeight());
    if (file.GetLastStatus() != Gdiplus::Ok || w == 0 || h == 0) return nullptr;
    auto picture = std::make_unique<Bitmap>(w, h, PixelFormat32bppARGB);
    if (picture->GetLastStatus() != Gdiplus::Ok) return nullptr;
    {
        Gdiplus::Graphics copy(picture.get());
        copy.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        if (copy.DrawImage(&file, 0, 0, w, h) != Gdiplus::Ok) return nullptr;
    }
    m_mask = {std::move(picture), path};
    return m_mask.bitmap.get();
}

void PhotoEffects::LoadMasks(const std::string& folder) {
    m_maskList.clear();
    if (folder.empty()) return;
    WIN32_FIND_DATAA found;
    fw::FindHandle find(::FindFirstFileA((folder + "\\*.gif").c_str(), &found));
    if (!find) return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        m_maskList.push_back(folder + "\\" + name);
    } while (::FindNextFileA(find.get(), &found));
}

std::string PhotoEffects::PickRandomMask() {
    if (m_maskList.empty()) return "";
    return m_maskList[static_cast<size_t>(m_system.Rand()) % m_maskList.size()];
}

int PhotoEffects::ShadowMargin(int size) {
    return static_cast<int>(static_cast<int64_t>(size) * 18 / 482);
}

int PhotoEffects::FrameWidth(int w, int h) const {
    // A negative width would grow the photograph over the frame; one wider than half the photograph
    // leaves nothing to show, which the drawing of the photograph checks.
    int f = fw::ScaleForDpi(m_env.framesize, fw::UsableDpi(m_dpi));
    if (f < 0) return 0;
    int limit = (w < h ? w : h) / 2;
    return f > limit ? limit : f;
}

bool ApplyMask(Gdiplus::Bitmap& photo, Gdiplus::Bitmap& mask) {
    UINT w = mask.GetWidth(), h = mask.GetHeight();
    if (photo.GetWidth() < w) w = photo.GetWidth();
    if (photo.GetHeight() < h) h = photo.GetHeight();
    if (w == 0 || h == 0) return true;
    Rect area(0, 0, static_cast<INT>(w), static_cast<INT>(h));
    fw::LockedBits photoBits(photo, area, fw::kReadWrite, PixelFormat32bppARGB);
    fw::LockedBits maskBits(mask, area, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB);
    if (!photoBits || !maskBits) return true;
    for (UINT row = 0; row < h; ++row) {
        uint8_t* p = photoBits.Row(static_cast<int>(row));
        const uint8_t* m = maskBits.Row(static_cast<int>(row));
        // Bytes per pixel: blue, green, red, alpha.
        for (UINT col = 0; col < w; ++col) p[col * 4 + 3] = static_cast<uint8_t>(255 - m[col * 4 + 2]);
    }
    return true;
}

int GrayBitmap(Gdiplus::Bitmap& bitmap) {
    UINT w = bitmap.GetWidth(), h = bitmap.GetHeight();
    if (w == 0 || h == 0) return 0;
    fw::LockedBits bits(bitmap, fw::kReadWrite, PixelFormat24bppRGB);
    if (!bits) return 0;
    for (UINT row = 0; row < h; ++row) {
        uint8_t* p = bits.Row(static_cast<int>(row));
        for (UINT col = 0; col < w; ++col, p += 3) {
            int g = (30 * p[2] + 59 * p[1] + 11 * p[0]) / 100;
            p[0] = p[1] = p[2] = static_cast<uint8_t>(g);
        }
    }
    return 0;
}

bool BlendLayer24(Gdiplus::Bitmap& canvas, Gdiplus::Bitmap& layer, int x, int y) {
    const int cw = static_cast<int>(canvas.GetWidth()), ch = static_cast<int>(canvas.GetHeight());
    const int lw = static_cast<int>(layer.GetWidth()), lh = static_cast<int>(layer.GetHeight());
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(x) + lw, cw));
    const int bottom = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(y) + lh, ch));
    if (right <= left || bottom <= top) return true;
    Rect to(left, top, right - left, bottom - top), from(left - x, top - y, right - left, bottom - top);
    fw::LockedBits layerBits(layer, from, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB);
    fw::LockedBits canvasBits(canvas, to, fw::kReadWrite, PixelFormat24bppRGB);
    if (!layerBits || !canvasBits) return false;
    for (int row = 0; row < to.Height; ++row) {
        const uint8_t* s = layerBits.Row(row);
        uint8_t* t = canvasBits.Row(row);
        for (int col = 0; col < to.Width; ++col, s += 4, t += 3) {
            const unsigned a = s[3];
            if (a == 0) continue;
            if (a == 255) {
                t[0] = s[0];
                t[1] = s[1];
                t[2] = s[2];
                continue;
            }
            // Source over an opaque target, non-premultiplied, rounded down as GDI+ does.
            for (int c = 0; c < 3; ++c) t[c] = static_cast<uint8_t>((t[c] * (255 - a) + s[c] * a) / 255);
        }
    }
    return true;
}

bool BlendTurnedLayer(Gdiplus::Bitmap& canvas, Gdiplus::Bitmap& layer, const Turn& turn) {
    const int cw = static_cast<int>(canvas.GetWidth()), ch = static_cast<int>(canvas.GetHeight());
    const int left = std::max(turn.clipLeft, 0), top = std::max(turn.clipTop, 0);
    const int right = std::min(turn.clipRight, cw), bottom = std::min(turn.clipBottom, ch);
    if (right <= left || bottom <= top) return true;
    const int lw = static_cast<int>(layer.GetWidth()), lh = static_cast<int>(layer.GetHeight());
    fw::LockedBits layerBits(layer, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB);
    fw::LockedBits canvasBits(canvas, Rect(left, top, right - left, bottom - top), fw::kReadWrite, PixelFormat24bppRGB);
    if (!layerBits || !canvasBits) return false;
    // The locked part of the canvas is a target of its own, with the turn moved into it.
    Turn local = turn;
    local.pivotX -= left;
    local.pivotY -= top;
    local.clipLeft -= left;
    local.clipRight -= left;
    local.clipTop -= top;
    local.clipBottom -= top;
    BlendTurned({layerBits.Bits(), lw, lh, layerBits.Stride()},
                {canvasBits.Bits(), canvasBits.Width(), canvasBits.Height(), canvasBits.Stride()}, local);
    return true;
}

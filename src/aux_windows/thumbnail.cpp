#include "aux_windows/thumbnail.h"

#include <objidl.h>
#include <gdiplus.h>

#include <functional>

#include "composer/picture_decode.h"

ThumbnailRect FitThumbnail(int boxWidth, int boxHeight, int imageWidth, int imageHeight) {
    const long long W = boxWidth > 0 ? boxWidth : 1, H = boxHeight > 0 ? boxHeight : 1;
    const long long w = imageWidth > 0 ? imageWidth : 1, h = imageHeight > 0 ? imageHeight : 1;
    const long long imageShape = (w * 100) / h;
    const long long boxShape = (W * 100) / H;
    long long width = 0, height = 0;
    if (imageShape > boxShape) {  // wider than the box; imageShape is at least 1 here
        width = W < w ? W : w;
        height = (width * 100) / imageShape;
    } else {
        height = H < h ? H : h;
        width = static_cast<long long>(static_cast<double>(imageShape) * static_cast<double>(height) * 0.01);
    }
    ThumbnailRect fit;
    fit.width = static_cast<int>(width);
    fit.height = static_cast<int>(height);
    fit.left = static_cast<int>(W / 2 - width / 2);
    fit.top = static_cast<int>(H / 2 - height / 2);
    return fit;
}

namespace {

// A size x size picture on `cell` with the black border, `drawInside` painting between the two.
fw::Bitmap FramedThumbnail(int size, Gdiplus::Color cell, const std::function<void(Gdiplus::Graphics&)>& drawInside,
                           Gdiplus::Image* resolutionOf = nullptr) {
    Gdiplus::Bitmap thumbnail(size, size, PixelFormat24bppRGB);
    if (resolutionOf)
        thumbnail.SetResolution(resolutionOf->GetHorizontalResolution(), resolutionOf->GetVerticalResolution());
    {
        Gdiplus::Graphics graphics(&thumbnail);
        graphics.Clear(cell);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        if (drawInside) drawInside(graphics);
        Gdiplus::Pen border(Gdiplus::Color(255, 0, 0, 0), 1.0f);
        graphics.DrawRectangle(&border, 0, 0, size - 1, size - 1);
    }
    HBITMAP bitmap = nullptr;
    thumbnail.GetHBITMAP(Gdiplus::Color(255, 255, 255, 255), &bitmap);
    return fw::Bitmap(bitmap);
}

}  // namespace

fw::Bitmap MakeThumbnail(const std::string& path, int size) {
    size = size > 2 ? size : 2;
    const int box = size - 1;
    // Decoded no larger than the thumbnail shows it: a huge photo costs little here.
    const DecodedPicture picture = DecodePicture(path, [box](int w, int h) {
        const ThumbnailRect fit = FitThumbnail(box, box, w, h);
        return DrawnSize{fit.width, fit.height};
    });
    Gdiplus::Image* source = picture.image.get();
    auto drawPicture = [&](Gdiplus::Graphics& graphics) {
        if (!source) return;
        const ThumbnailRect fit = FitThumbnail(box, box, picture.width, picture.height);
        const auto sw = static_cast<Gdiplus::REAL>(source->GetWidth());
        const auto sh = static_cast<Gdiplus::REAL>(source->GetHeight());
        graphics.DrawImage(source, Gdiplus::RectF(static_cast<Gdiplus::REAL>(fit.left), static_cast<Gdiplus::REAL>(fit.top),
                                                  static_cast<Gdiplus::REAL>(fit.width), static_cast<Gdiplus::REAL>(fit.height)),
                           0, 0, sw, sh, Gdiplus::UnitPixel);
    };
    return FramedThumbnail(size, Gdiplus::Color(255, 255, 255, 255), drawPicture, source);
}

fw::Bitmap MakeThumbnailPlaceholder(int size) {
    size = size > 2 ? size : 2;
    const BYTE grey = GetRValue(kThumbnailPlaceholderColour);
    return FramedThumbnail(size, Gdiplus::Color(255, grey, grey, grey), nullptr);
}

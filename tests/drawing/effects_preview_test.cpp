// Composed pictures with every effect, saved as PNG for a person to look at. Disabled in normal runs:
//   drawing_tests.exe --gtest_also_run_disabled_tests --gtest_filter='*Preview*'
// writes into %DIORAMIX_PREVIEW_DIR% (default: the temp folder).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "composer/calendar.h"
#include "composer/effects.h"
#include "composer/output.h"
#include "composer/text.h"
#include "framework/mbstring.h"
#include "support/fake_system.h"
#include "support/test_support.h"

namespace {

std::string PreviewDir() {
    const char* dir = std::getenv("DIORAMIX_PREVIEW_DIR");
    if (dir && *dir) return dir;
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    return temp;
}

void SavePng(Gdiplus::Image& image, const std::string& name) {
    std::string path = PreviewDir() + "\\" + name;
    SaveImage(image, path, "png");
    ASSERT_EQ(Gdiplus::Ok, image.GetLastStatus());
    std::printf("preview: %s\n", path.c_str());
}

// A photograph-like test picture: a sky gradient, a sun, a ground band and a grid of thin lines.
std::unique_ptr<Gdiplus::Bitmap> ScenicPhoto(int w, int h) {
    auto photo = std::make_unique<Gdiplus::Bitmap>(w, h, PixelFormat24bppRGB);
    Gdiplus::Graphics g(photo.get());
    Gdiplus::LinearGradientBrush sky(Gdiplus::Point(0, 0), Gdiplus::Point(0, h), Gdiplus::Color(255, 40, 90, 200),
                                     Gdiplus::Color(255, 250, 200, 120));
    g.FillRectangle(&sky, 0, 0, w, h);
    Gdiplus::SolidBrush sun(Gdiplus::Color(255, 255, 230, 60)), ground(Gdiplus::Color(255, 40, 120, 40));
    g.FillEllipse(&sun, w * 3 / 5, h / 8, w / 5, w / 5);
    g.FillRectangle(&ground, 0, h * 2 / 3, w, h / 3);
    Gdiplus::Pen line(Gdiplus::Color(255, 250, 250, 250), 1.0f);
    for (int x = 0; x < w; x += w / 8) g.DrawLine(&line, x, h * 2 / 3, x, h);
    return photo;
}

// The shipped effects and masks, the calendar's own colours and fonts, on a canvas of the
// default background colour.
class EffectsPreview : public ::testing::Test {
protected:
    EffectsPreview() : canvas(1920, 1080, PixelFormat24bppRGB), g(&canvas) {
        env.m_exePath = testing_support::BinDir();
        env.framesize = 7;
        env.framecolor = RGB(255, 255, 255);
        env.rotatevalue = 90;
        env.ymfontname = env.ddfontname = "Georgia";
        env.isbold1 = env.isbold2 = env.isitalic1 = env.isitalic2 = 1;
        env.whitedaycolor = RGB(255, 255, 255);
        env.bluedaycolor = RGB(116, 217, 250);
        env.reddaycolor = RGB(245, 18, 126);
        env.yymmcolor = RGB(253, 251, 219);
        g.Clear(Gdiplus::Color(255, 72, 85, 115));
        effects.LoadMasks(env.m_exePath + "\\Masks");
    }
    testing_support::FakeSystem system;
    EnvSettings env;
    PhotoEffects effects{env, system};
    Gdiplus::Bitmap canvas;
    Gdiplus::Graphics g;
};

TEST_F(EffectsPreview, DISABLED_EveryEffectOnOneCanvas) {
    system.rands = {75, 20, 3, 60, 5};
    auto photo = ScenicPhoto(800, 600);

    env.isframe = env.isshadow = 1;
    effects.DrawImageWithEffects(g, *photo, 400, 300, 30, 30);    // frame and shadow
    env.isrotate = 1;
    effects.DrawImageWithEffects(g, *photo, 400, 300, 500, 60);   // + rotation (30 degrees)
    env.isframe = 0;
    effects.DrawImageWithEffects(g, *photo, 300, 225, 900, 40);   // shadow, rotation (-25)
    GrayBitmap(canvas);                                           // the overlapped, greyed previous picture
    env.isrotate = 0;
    env.isrndmask = 1;
    effects.DrawMaskedImage(g, *photo, 320, 240, 40, 420);        // random mask
    env.isrotate = 1;
    effects.DrawMaskedImage(g, *photo, 320, 240, 420, 380);       // rotated random mask

    fw::WorkArea wa{0, 0, 1280, 770};
    SpecialDays days{{"12.25", "x\n"}, {"*12.24", "x\n"}};
    DrawCalendar(g, wa, env, days, fw::LocalDate{2026, 12, 8, 2});
    auto font = MakeFont("Tahoma", 12, Gdiplus::FontStyleRegular);
    Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
    Gdiplus::RectF pathLayout(0, 770 - 20, 1280, 20);
    DrawShadowedString(g, mb::Narrow(L"C:\\\uC0AC\uC9C4\\\uC5EC\uD589\\2026 \uBC14\uB2E4.jpg"), *font,
                       pathLayout, white);
    Gdiplus::Bitmap shown(1280, 800, PixelFormat24bppRGB);
    Gdiplus::Graphics(&shown).DrawImage(&canvas, 0, 0, 0, 0, 1280, 800, Gdiplus::UnitPixel);
    SavePng(shown, "dioramix-effects.png");

    // Each mask alone, unrotated, for a closer look.
    Gdiplus::Bitmap sheet(1280, 280, PixelFormat24bppRGB);
    Gdiplus::Graphics s(&sheet);
    s.Clear(Gdiplus::Color(255, 72, 85, 115));
    env.isrotate = 0;
    env.isrndmask = 0;
    int x = 10;
    for (const std::string& mask : effects.m_maskList) {
        env.maskfilename = mask;
        effects.DrawMaskedImage(s, *photo, 170, 128, x, 20);
        x += 180;
    }
    env.ismask = 0;
    env.isshadow = env.isframe = 1;
    effects.DrawImageWithEffects(s, *photo, 120, 90, 20, 170);
    effects.DrawImageWithEffects(s, *photo, 400, 90, 200, 170);
    SavePng(sheet, "dioramix-masks.png");
}

TEST_F(EffectsPreview, DISABLED_Timing) {
    system.fallbackRand = 75;
    auto small = ScenicPhoto(400, 300);

    auto time = [](const char* what, int runs, auto&& body) {
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < runs; ++i) body();
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("timing: %-58s %8.1f ms\n", what, ms / runs);
        std::fflush(stdout);
    };
    const struct {
        const char* what;
        uint8_t frame, shadow, rotate;
    } effectSets[] = {{"no effect", 0, 0, 0}, {"shadow", 0, 1, 0}, {"frame", 1, 0, 0}, {"rotation", 0, 0, 1},
                      {"frame + shadow + rotation", 1, 1, 1}, {"frame + shadow", 1, 1, 0}};
    for (const auto& set : effectSets) {
        env.isframe = set.frame;
        env.isshadow = set.shadow;
        env.isrotate = set.rotate;
        time(("400x300 photo, " + std::string(set.what)).c_str(), 10,
             [&] { effects.DrawImageWithEffects(g, *small, 400, 300, 100, 100); });
    }
    env.isframe = env.isshadow = env.isrotate = 1;
    env.isrndmask = 1;
    time("400x300 photo, random mask + rotation", 10, [&] { effects.DrawMaskedImage(g, *small, 400, 300, 100, 100); });
    time("grey 1920x1080 canvas", 5, [&] { GrayBitmap(canvas); });
    fw::WorkArea wa{0, 0, 1920, 1050};
    SpecialDays days;
    time("calendar", 5, [&] { DrawCalendar(g, wa, env, days, fw::LocalDate{2026, 12, 8, 2}); });

    // A 4000 x 3000 JPEG, decoded as the composer decodes it, through each stage.
    std::string jpeg = PreviewDir() + "\\dioramix-big.jpg";
    {
        auto big = ScenicPhoto(4000, 3000);
        SaveImage(*big, jpeg, "jpeg");
    }
    env.isrndmask = 0;
    for (int rotate = 0; rotate < 2; ++rotate) {
        env.isrotate = static_cast<uint8_t>(rotate);
        time(rotate ? "4000x3000 JPEG: load + effects (frame, shadow, rotation)" : "4000x3000 JPEG: load + effects (frame, shadow)", 3, [&] {
            Gdiplus::Image image(mb::Widen(jpeg).c_str());
            effects.DrawImageWithEffects(g, image, 400, 300, 100, 100);
        });
        time(rotate ? "4000x3000 JPEG: load + mask + rotation" : "4000x3000 JPEG: load + mask", 3, [&] {
            env.isrndmask = 1;
            Gdiplus::Image image(mb::Widen(jpeg).c_str());
            effects.DrawMaskedImage(g, image, 400, 300, 100, 100);
        });
    }
    time("4000x3000 JPEG: load only", 3, [&] {
        Gdiplus::Image image(mb::Widen(jpeg).c_str());
        image.GetWidth();
    });
    ::DeleteFileA(jpeg.c_str());
}

}  // namespace

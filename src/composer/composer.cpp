#include "composer/composer.h"


#include <cstdint>
#include <cstring>

#include "composer/placement.h"
#include "composer/text.h"
#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/safe_file.h"

namespace {

constexpr int kMissingPicksPerChoice = 3;

// A deep copy of a 24-bit bitmap; the canvas goes on to receive the calendar and the path text.
// A spare bitmap of the same size is written over rather than a new one allocated.
std::unique_ptr<Gdiplus::Bitmap> CopyBitmap24(Gdiplus::Bitmap& source, std::unique_ptr<Gdiplus::Bitmap> spare) {
    const UINT width = source.GetWidth(), height = source.GetHeight();
    std::unique_ptr<Gdiplus::Bitmap> copy = std::move(spare);
    if (!copy || copy->GetWidth() != width || copy->GetHeight() != height ||
        copy->GetPixelFormat() != PixelFormat24bppRGB) {
        copy.reset();  // freed before the new one is made
        copy = std::make_unique<Gdiplus::Bitmap>(static_cast<INT>(width), static_cast<INT>(height),
                                                 PixelFormat24bppRGB);
    }
    if (copy->GetLastStatus() != Gdiplus::Ok || !CopyPixels24(source, *copy, false)) return nullptr;
    return copy;
}

RealUserRegistry& DefaultRegistry() {
    static RealUserRegistry registry;
    return registry;
}

}  // namespace

std::string ImageSelector::ChooseNextImage(ImageCatalogue& catalogue, bool randomOrder, fw::ISystem& system,
                                           const std::function<bool(const std::string&)>& usable) {
    for (;;) {
        if (catalogue.m_pathList.empty()) return "";
        std::vector<std::string>& images = catalogue.m_imageList;
        if (images.empty()) {
            // The change that ran out refills the catalogue and shows no photograph.
            catalogue.Refill();
            return "";
        }
        const uint32_t n = static_cast<uint32_t>(images.size());
        std::string path;
        if (randomOrder) {
            uint32_t r = static_cast<uint32_t>(system.Rand());
            uint32_t t = static_cast<uint32_t>(system.TickCount());
            auto at = images.begin() + static_cast<std::ptrdiff_t>((r * t) % n);
            path = *at;
            images.erase(at);
        } else {
            if (s_nextIndex < 0 || static_cast<uint32_t>(s_nextIndex) >= n) s_nextIndex = 0;
            path = images[static_cast<size_t>(s_nextIndex++)];
        }
        if (usable(path)) return path;
        if (++s_missingCount >= kMissingPicksPerChoice) {
            s_missingCount = 0;
            return "";
        }
    }
}

Gdiplus::RectF FitRect(int w, int h, int sw, int sh) {
    using Gdiplus::REAL;
    if (sw >= w && sh >= h)
        return {static_cast<REAL>((sw - w) / 2), static_cast<REAL>((sh - h) / 2), static_cast<REAL>(w),
                static_cast<REAL>(h)};
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return {};
    if (static_cast<double>(w) / h < static_cast<double>(sw) / sh) {
        int width = static_cast<int>(static_cast<int64_t>(w) * sh / h);
        return {static_cast<REAL>((sw - width) / 2), 0, static_cast<REAL>(width), static_cast<REAL>(sh)};
    }
    int height = static_cast<int>(static_cast<int64_t>(h) * sw / w);
    return {0, static_cast<REAL>((sh - height) / 2), static_cast<REAL>(sw), static_cast<REAL>(height)};
}

Composer::Composer(EnvSettings& env, ImageCatalogue& catalogue, fw::ISystem& system)
    : m_effects(env, system), m_env(env), m_catalogue(catalogue), m_system(system), m_registry(&DefaultRegistry()) {}

Composer::~Composer() = default;

void Composer::ComposeWallpaper() {
    if (m_composing) return;
    fw::ScopedFlag composing(m_composing);
    Report(ComposePhase::Start);
    m_screenWidth = m_system.ScreenWidth();
    m_screenHeight = m_system.ScreenHeight();
    if (m_screenWidth <= 0 || m_screenHeight <= 0) return;
    const fw::WorkArea workArea = m_system.GetWorkArea();

    // The canvas of the last change is drawn over whole when the screen keeps its size: a new
    // screen-sized bitmap costs tens of milliseconds under Wine.
    if (!m_canvasStore || static_cast<int>(m_canvasStore->Bitmap().GetWidth()) != m_screenWidth ||
        static_cast<int>(m_canvasStore->Bitmap().GetHeight()) != m_screenHeight) {
        m_canvasStore.reset();
        m_canvasStore = std::make_unique<Canvas24>(m_screenWidth, m_screenHeight);
    }
    if (!m_canvasStore->IsValid()) {
        m_canvasStore.reset();
        return;
    }
    Canvas24& pixels = *m_canvasStore;
    Gdiplus::Bitmap& canvas = pixels.Bitmap();
    m_canvas = &pixels;
    {
        Gdiplus::Graphics g(&canvas);
        DrawBackground(g);
        m_canvas = nullptr;
        Report(ComposePhase::Background);
        m_effects.SetCanvasBitmap(&canvas);
        if (!m_env.ispause) DrawNextImage(g, workArea);
        m_effects.SetCanvasBitmap(nullptr);
        Report(ComposePhase::PhotoDrawn);
        g.Flush(Gdiplus::FlushIntentionSync);
        m_savedCanvas = CopyBitmap24(canvas, std::move(m_spareCanvas));

        if (m_env.iscalender) DrawCalendar(g, workArea, m_env, m_specialDays, m_system.Today());
        if (m_env.ispath) DrawPathText(g, m_currentPath, workArea);
        g.Flush(Gdiplus::FlushIntentionSync);
        Report(ComposePhase::Overlays);
    }
    SetWallpaper(canvas);

    if (m_env.rememory) {
        const SIZE_T empty = static_cast<SIZE_T>(-1);
        ::SetProcessWorkingSetSize(::GetCurrentProcess(), empty, empty);
    }
}

void Composer::DrawBackground(Gdiplus::Graphics& canvas) {
    if (ContinuesPreviousPicture())
        ContinuePreviousPicture(canvas);
    else
        DrawFreshBackground(canvas);
}

bool Composer::ContinuesPreviousPicture() const {
    // Without a kept picture (a failed copy, say) there is nothing to continue.
    return m_env.isoverlap && !m_clearRequested && m_env.piccleartotalcnt >= m_imageCount + 1 &&
           m_env.imagepos >= 1 && m_savedCanvas;
}

void Composer::ContinuePreviousPicture(Gdiplus::Graphics& canvas) {
    // Copying the pixels is far cheaper than drawing the picture over the whole canvas.
    if (!m_canvas || !m_canvas->CopyFrom(*m_savedCanvas, m_env.isbackgray != 0)) {
        if (m_env.isbackgray) GrayBitmap(*m_savedCanvas);
        canvas.DrawImage(m_savedCanvas.get(), 0, 0, m_screenWidth, m_screenHeight);
    }
    m_spareCanvas = std::move(m_savedCanvas);
}

void Composer::DrawFreshBackground(Gdiplus::Graphics& canvas) {
    const Gdiplus::ARGB colour = m_env.isbackcolor ? m_env.backcolor : m_env.m_desktopColor;
    // Nothing has drawn yet: writing the pixels is far cheaper than Graphics::Clear.
    if (m_canvas)
        m_canvas->Fill(colour);
    else
        canvas.Clear(Gdiplus::Color(colour));
    if (m_env.isbackimg) DrawBackgroundImage(canvas);
    m_imageCount = 0;
    m_currentImages.clear();
    m_savedCanvas.reset();
    m_clearRequested = FALSE;
}

void Composer::DrawBackgroundImage(Gdiplus::Graphics& canvas) {
    if (m_env.backimagename.empty()) return;
    const std::string file = m_env.ispause ? PausedBackgroundFile() : m_env.backimagename;
    // Decoded no larger than it covers the screen.
    DecodedPicture picture = DecodePicture(file, [this](int w, int h) {
        if (m_env.isstretch) return DrawnSize{m_screenWidth, m_screenHeight};
        Gdiplus::RectF fit = FitRect(w, h, m_screenWidth, m_screenHeight);
        return DrawnSize{static_cast<int>(fit.Width + 0.5f), static_cast<int>(fit.Height + 0.5f)};
    });
    if (!picture) return;
    if (m_env.isstretch) {
        canvas.DrawImage(picture.image.get(), 0, 0, m_screenWidth, m_screenHeight);
    } else {
        Gdiplus::RectF fit = FitRect(picture.width, picture.height, m_screenWidth, m_screenHeight);
        canvas.DrawImage(picture.image.get(), fit);
    }
}

std::string Composer::ChooseNextImage() {
    return m_selector.ChooseNextImage(m_catalogue, m_env.israndum != 0, m_system,
                                      [this](const std::string& path) { return m_system.FileExists(path); });
}

void Composer::DrawNextImage(Gdiplus::Graphics& canvas, const fw::WorkArea&) {
    if (!m_env.isforeimg) return;
    DecodedPicture picture;
    const int maxSize = PhotoMaxSize();
    const bool notStretch = m_env.notstrech != 0;
    // A file that exists but does not decode (or would not fit in memory) is passed over like a
    // missing one. Photos are decoded no larger than they are drawn.
    m_currentPath = m_selector.ChooseNextImage(
        m_catalogue, m_env.israndum != 0, m_system, [&](const std::string& path) {
            if (!m_system.FileExists(path)) return false;
            picture = DecodePicture(path, [&](int w, int h) { return ScaleToMaxSize(w, h, maxSize, notStretch); });
            return static_cast<bool>(picture);
        });
    Report(ComposePhase::Decoded);
    if (m_currentPath.empty() || !picture) return;

    ++m_imageCount;
    m_currentImages.push_back(m_currentPath);
    DrawPhoto(canvas, picture);
}

int Composer::PhotoMaxSize() {
    int maxSize = m_env.picmaxsize;
    if (m_env.imagepos == kPlaceUserPositions) EnsurePositionsLoaded();
    if (m_env.imagepos == kPlaceUserPositions && !m_positions.empty()) {
        if (m_positionIndex < 0 || m_positionIndex >= static_cast<int>(m_positions.size())) m_positionIndex = 0;
        const RECT& r = m_positions[static_cast<size_t>(m_positionIndex)];
        // A position drawn backwards has no width to scale to.
        if (r.right - r.left > 0) maxSize = r.right - r.left;
    }
    return maxSize;
}

void Composer::DrawPhoto(Gdiplus::Graphics& canvas, const DecodedPicture& picture) {
    DrawnSize size = ScaleToMaxSize(picture.width, picture.height, PhotoMaxSize(), m_env.notstrech != 0);
    PlacementState state{m_positions, m_positionIndex, m_lastCentre};
    POINT at = PlaceImage(m_env.imagepos, m_screenWidth, m_screenHeight, size.w, size.h, state, m_system);
    if (size.w <= 0 || size.h <= 0) return;

    // The effects bring the picture once to the size it shows at, so no effect works on more pixels.
    Gdiplus::Image* image = picture.image.get();
    const Gdiplus::SizeF original(static_cast<Gdiplus::REAL>(picture.width), static_cast<Gdiplus::REAL>(picture.height));
    if (m_env.ismask)
        m_effects.DrawMaskedImage(canvas, *image, size.w, size.h, at.x, at.y);
    else
        m_effects.DrawImageWithEffects(canvas, *image, size.w, size.h, at.x, at.y, original);
}

void Composer::SetWallpaper(Gdiplus::Bitmap& canvas) {
    // Before the program's folder is known there is no file of ours to name.
    if (m_env.m_exePath.empty()) return;
    const std::string path = WallpaperFile();
    const bool saved = fw::ReplaceFileSafely(
        path, [&canvas](const std::string& temporary) { return WriteBmp24(canvas, temporary); },
        fw::Durability::Regenerated);
    Report(ComposePhase::Encoded);
    // A file not written whole is never handed to the desktop: it keeps the previous picture.
    if (!saved) return;
    m_system.SetDesktopWallpaper(path);
    Report(ComposePhase::WallpaperSet);
}

void Composer::LoadPriorWallpaper() {
    std::string wallpaper = m_registry->ReadString("Control Panel\\Desktop", "Wallpaper");
    if (m_env.m_exePath.empty()) ::MessageBoxA(nullptr, "stEnv.m_exePath ==''", "Dioramix", MB_OK);
    m_env.oriwallpath = ResolvePriorWallpaper(wallpaper, m_env.DataFolder());
    // Our first change overwrites Windows' own cached copy: restore from a copy of our own.
    if (IsSystemWallpaperCache(m_env.oriwallpath) && !m_env.DataFolder().empty()) {
        const std::string copy = KeepWallpaperCopy(m_env.oriwallpath, m_env.FilePath("\\oriwallpaper"));
        if (!copy.empty()) m_env.oriwallpath = copy;
    }
    uint32_t colour = 0;
    if (ParseDesktopColor(m_registry->ReadString("Control Panel\\Colors", "Background"), colour))
        m_env.m_desktopColor = colour;
    m_priorLoaded = true;
}

void Composer::SavePriorWallpaperPath() {
    // Writing before the prior path was read would wipe the one kept by an unfinished run.
    if (!m_priorLoaded || m_env.m_exePath.empty()) return;
    fw::WriteProfileStringSafely("DEFAULT", "oriwallpath", m_env.oriwallpath.c_str(), m_env.FilePath("\\env.ini"));
}

void Composer::RestorePriorWallpaper() {
    if (!m_priorLoaded) return;
    m_system.SetDesktopWallpaper(m_env.oriwallpath);
}

void Composer::TogglePause() {
    m_env.ispause = !m_env.ispause;
    if (m_savedCanvas && !m_env.m_exePath.empty()) SaveImage(*m_savedCanvas, PausedBackgroundFile(), "png");
}

void Composer::SaveCurrentWallpaperAs(const std::string& path) {
    if (!m_savedCanvas) return;
    std::string format = FormatForFileName(path);
    if (format.empty()) return;
    SaveImage(*m_savedCanvas, path, format);
}

int Composer::LoadPositions() {
    m_positionsLoaded = true;
    return ::LoadPositions(m_env.FilePath("\\poslist.txt"), m_positions);
}

void Composer::EnsurePositionsLoaded() {
    if (!m_positionsLoaded && !m_env.m_exePath.empty()) LoadPositions();
}

void Composer::ReplacePositions(std::vector<RECT> positions) {
    m_positions = std::move(positions);
    m_positionIndex = 0;
    m_positionsLoaded = true;
}

void Composer::SavePositions() const {
    if (m_env.m_exePath.empty() || (!m_positionsLoaded && m_positions.empty())) return;
    ::SavePositions(m_env.FilePath("\\poslist.txt"), m_positions);
}

int Composer::LoadSpecialDays() { return ::LoadSpecialDays(m_env.FilePath("\\xdaylist.txt"), m_specialDays); }

void Composer::LoadMasks(const std::string& folder) { m_effects.LoadMasks(folder); }

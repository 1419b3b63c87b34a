#include "composer/composer.h"

#include <algorithm>
#include <cstdint>

#include "composer/placement.h"
#include "composer/text.h"
#include "framework/field_log.h"
#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/safe_file.h"
#include "state/desktop_setup_file.h"
#include "state/position_list.h"

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

// Windows 11 keeps whether the desktop shows its picture of the day here. Microsoft documents
// neither the key nor the value, nor any interface for the feature: 1 is taken for running,
// anything else or nothing for off.
constexpr char kSpotlightKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\DesktopSpotlight\\Settings";
constexpr char kSpotlightValue[] = "EnabledState";
constexpr DWORD kSpotlightRunning = 1;

RealUserRegistry& DefaultRegistry() {
    static RealUserRegistry registry;
    return registry;
}

}  // namespace

std::string ImageSelector::ChooseNextImage(ImageCatalogue& catalogue, bool randomOrder, fw::ISystem& system,
                                           const std::function<bool(const std::string&)>& usable,
                                           const std::function<bool(const std::string&)>& banned) {
    return ChooseNextImage(
        catalogue, randomOrder, system,
        [&usable](const std::string& path) { return usable(path) ? PickVerdict::Usable : PickVerdict::Unusable; },
        banned);
}

std::string ImageSelector::ChooseNextImage(ImageCatalogue& catalogue, bool randomOrder, fw::ISystem& system,
                                           const std::function<PickVerdict(const std::string&)>& check,
                                           const std::function<bool(const std::string&)>& banned) {
    size_t restingPicks = 0, bannedInOrder = 0;
    for (;;) {
        if (!catalogue.HasFolders()) return "";
        const std::vector<std::string>& images = catalogue.Images();
        if (images.empty()) {
            // The change that ran out refills the catalogue and shows no photograph.
            catalogue.Refill();
            return "";
        }
        const uint32_t n = static_cast<uint32_t>(images.size());
        std::string path;
        size_t taken = 0;
        if (randomOrder) {
            uint32_t r = static_cast<uint32_t>(system.Rand());
            uint32_t t = static_cast<uint32_t>(system.TickCount());
            taken = (r * t) % n;
            path = catalogue.TakeImage(taken);
        } else {
            if (s_nextIndex < 0 || static_cast<uint32_t>(s_nextIndex) >= n) s_nextIndex = 0;
            path = images[static_cast<size_t>(s_nextIndex++)];
        }
        if (banned && banned(path)) {
            // In order, a catalogue of banned photos alone would be walked for ever.
            if (!randomOrder && ++bannedInOrder >= n) return "";
            continue;
        }
        const PickVerdict verdict = check(path);
        if (verdict == PickVerdict::Usable) return path;
        if (verdict == PickVerdict::Resting) {
            // Kept for when its folder answers again.
            if (randomOrder) catalogue.PutBackImage(taken, std::move(path));
            if (++restingPicks >= n) return "";
            continue;
        }
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
    : m_effects(env, system), m_env(env), m_catalogue(catalogue), m_system(system), m_registry(&DefaultRegistry()),
      m_photoSource(&DefaultPhotoSource()) {}

Composer::~Composer() = default;

void Composer::ComposeWallpaper() { ComposeWallpaper(ComposeRequest{}); }

void Composer::ComposeWallpaper(const ComposeRequest& request) {
    if (m_composing) return;
    fw::ScopedFlag composing(m_composing);
    struct RequestScope {
        ComposeRequest& request;
        ~RequestScope() { request = {}; }
    } requestScope{m_request};
    Report(ComposePhase::Start);
    m_screenWidth = m_system.ScreenWidth();
    m_screenHeight = m_system.ScreenHeight();
    if (m_screenWidth <= 0 || m_screenHeight <= 0) return;
    ShownPicture shown = SnapshotWithoutCanvas();
    TakeLayout(CurrentLayout());
    m_request = request;
    // Monitors keep what they show only while there is a picture of this desktop to keep.
    const bool canKeep = m_savedCanvas && !m_clearRequested &&
                         static_cast<int>(m_savedCanvas->GetWidth()) == m_layout.Width() &&
                         static_cast<int>(m_savedCanvas->GetHeight()) == m_layout.Height();
    if (!canKeep) m_request.monitors = 0;
    const int width = m_layout.Width(), height = m_layout.Height();

    // The canvas of the last change is drawn over whole when the desktop keeps its size: a new
    // screen-sized bitmap costs tens of milliseconds under Wine.
    if (!m_canvasStore || static_cast<int>(m_canvasStore->Bitmap().GetWidth()) != width ||
        static_cast<int>(m_canvasStore->Bitmap().GetHeight()) != height) {
        m_canvasStore.reset();
        m_canvasStore = std::make_unique<Canvas24>(width, height);
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
        // The picture it replaces is the one the back command puts back.
        shown.canvas = std::move(m_spareCanvas);
        m_spareCanvas = std::move(m_previous.canvas);
        m_previous = shown.canvas && !ShowsBanned(shown) ? std::move(shown) : ShownPicture{};
        Report(ComposePhase::Background);
        m_effects.SetCanvasBitmap(&canvas);
        // Each monitor takes its own next photo, the primary first; a pause holds them back
        // unless the user asked for one monitor's.
        if (!m_env.ispause || m_request.Targeted())
            for (size_t monitor = 0; monitor < m_layout.monitors.size() && !Cancelled(); ++monitor)
                if (m_request.Includes(monitor)) DrawNextImage(g, monitor);
        m_effects.SetCanvasBitmap(nullptr);
        m_currentPath = m_pictures.front().path;
        m_imageCount = m_pictures.front().count;
        Report(ComposePhase::PhotoDrawn);
        g.Flush(Gdiplus::FlushIntentionSync);
        m_savedCanvas = CopyBitmap24(canvas, std::move(m_spareCanvas));
        // Cut short, the picture may lack a monitor's photo: the desktop keeps the last one, and
        // the next change goes on from this.
        if (Cancelled()) return;

        DrawOverlays(g);
        g.Flush(Gdiplus::FlushIntentionSync);
        Report(ComposePhase::Overlays);
    }
    SetWallpaper(canvas, true);

    if (m_env.rememory) {
        const SIZE_T empty = static_cast<SIZE_T>(-1);
        ::SetProcessWorkingSetSize(::GetCurrentProcess(), empty, empty);
    }
}

void Composer::RedrawOverlays() {
    if (m_composing) return;
    DesktopLayout layout = CurrentLayout();
    const bool samePicture = m_savedCanvas && m_canvasStore && !m_pictures.empty() &&
                             static_cast<int>(m_savedCanvas->GetWidth()) == layout.Width() &&
                             static_cast<int>(m_savedCanvas->GetHeight()) == layout.Height() &&
                             SameMonitors(layout, m_layout);
    if (!samePicture) {
        ComposeWallpaper();
        return;
    }
    fw::ScopedFlag composing(m_composing);
    Report(ComposePhase::Start);
    m_layout = std::move(layout);
    Gdiplus::Bitmap& canvas = m_canvasStore->Bitmap();
    if (!CopyPixels24(*m_savedCanvas, canvas, false)) return;
    {
        Gdiplus::Graphics g(&canvas);
        DrawOverlays(g);
        g.Flush(Gdiplus::FlushIntentionSync);
        Report(ComposePhase::Overlays);
    }
    SetWallpaper(canvas);
}

ShownPicture Composer::SnapshotWithoutCanvas() const {
    ShownPicture shown;
    shown.pictures = m_pictures;
    shown.currentImages = m_currentImages;
    shown.currentPath = m_currentPath;
    shown.imageCount = m_imageCount;
    shown.positionIndex = m_positionIndex;
    shown.layout = m_layout;
    return shown;
}

void Composer::SwapShown(ShownPicture& other) {
    std::swap(m_savedCanvas, other.canvas);
    std::swap(m_pictures, other.pictures);
    std::swap(m_currentImages, other.currentImages);
    std::swap(m_currentPath, other.currentPath);
    std::swap(m_imageCount, other.imageCount);
    std::swap(m_positionIndex, other.positionIndex);
    std::swap(m_layout, other.layout);
}

bool Composer::ShowsBanned(const ShownPicture& shown) const {
    for (const MonitorPicture& picture : shown.pictures)
        for (const std::string& path : picture.images)
            if (m_banned.Contains(path)) return true;
    return false;
}

bool Composer::CanGoBack() const { return m_previous.canvas && m_savedCanvas && !m_previous.pictures.empty(); }

bool Composer::GoBack() {
    if (m_composing || !CanGoBack()) return false;
    DesktopLayout layout = CurrentLayout();
    // A picture of other monitors or another size would not cover this desktop.
    const auto fits = [&layout](Gdiplus::Bitmap& bitmap) {
        return static_cast<int>(bitmap.GetWidth()) == layout.Width() &&
               static_cast<int>(bitmap.GetHeight()) == layout.Height();
    };
    if (!SameMonitors(layout, m_previous.layout) || !fits(*m_previous.canvas) || !m_canvasStore ||
        !fits(m_canvasStore->Bitmap()))
        return false;
    fw::ScopedFlag composing(m_composing);
    Report(ComposePhase::Start);
    SwapShown(m_previous);
    m_layout = std::move(layout);  // the work areas of now
    Gdiplus::Bitmap& canvas = m_canvasStore->Bitmap();
    if (!CopyPixels24(*m_savedCanvas, canvas, false)) return false;
    {
        Gdiplus::Graphics g(&canvas);
        DrawOverlays(g);
        g.Flush(Gdiplus::FlushIntentionSync);
        Report(ComposePhase::Overlays);
    }
    SetWallpaper(canvas, true);
    return true;
}

SIZE Composer::ShownScreenSize() const {
    if (m_screenWidth > 0 && m_screenHeight > 0) return {m_screenWidth, m_screenHeight};
    return {m_system.ScreenWidth(), m_system.ScreenHeight()};
}

DesktopLayout Composer::CurrentLayout() {
    const fw::WorkArea workArea = m_system.GetWorkArea();
    // The primary's picture alone still takes the primary's DPI from the monitors.
    return MakeDesktopLayout(m_system.Monitors(), m_env.multimonitor != 0, m_system.ScreenWidth(),
                             m_system.ScreenHeight(), workArea);
}

void Composer::TakeLayout(DesktopLayout layout) {
    // Monitors that came, went, moved or took another scale start afresh; a new work area alone
    // changes the overlays.
    if (m_pictures.empty() || !SameMonitors(layout, m_layout)) {
        const bool wasSpanned = m_layout.IsSpanned() || layout.IsSpanned();
        // Photos of the old scale beside ones of the new would not look alike.
        const bool rescaled = !m_layout.monitors.empty() && m_layout.monitors.front().dpi != layout.monitors.front().dpi;
        m_pictures.assign(layout.monitors.size(), MonitorPicture{});
        // One picture of the primary screen keeps its count and photos across a resolution change.
        if (layout.monitors.size() == 1) {
            m_pictures.front().count = m_imageCount;
            m_pictures.front().images = m_currentImages;
            m_pictures.front().path = m_currentPath;
        }
        if (wasSpanned || rescaled) {
            m_clearRequested = TRUE;
            m_currentImages.clear();
        }
    }
    m_layout = std::move(layout);
}

void Composer::DrawBackground(Gdiplus::Graphics& canvas) {
    if (m_pictures.size() != m_layout.monitors.size()) TakeLayout(CurrentLayout());
    const bool canContinue = CanContinuePreviousPicture();
    bool greyed = false;
    DecodedPicture backImage;
    for (size_t monitor = 0; monitor < m_layout.monitors.size(); ++monitor) {
        if (!m_request.Includes(monitor))
            KeepMonitorAsShown(canvas, monitor);
        else if (!m_request.Fresh(monitor) && canContinue && m_env.piccleartotalcnt >= m_pictures[monitor].count + 1)
            ContinuePreviousPicture(canvas, monitor, greyed);
        else
            DrawFreshBackground(canvas, monitor, backImage);
    }
    FillGaps(canvas, BackgroundColour());
    // The kept copy is written over by the next one rather than a new one allocated.
    if (m_savedCanvas) m_spareCanvas = std::move(m_savedCanvas);
    m_clearRequested = FALSE;
}

bool Composer::CanContinuePreviousPicture() const {
    // Without a kept picture of this desktop's size (a failed copy, say) there is nothing to continue.
    return m_env.isoverlap && !m_clearRequested && m_env.imagepos >= 1 && m_savedCanvas &&
           static_cast<int>(m_savedCanvas->GetWidth()) == m_layout.Width() &&
           static_cast<int>(m_savedCanvas->GetHeight()) == m_layout.Height();
}

void Composer::ContinuePreviousPicture(Gdiplus::Graphics& canvas, size_t monitor, bool& greyed) {
    const RECT area = m_layout.ToCanvas(m_layout.monitors[monitor].rect);
    // Copying the pixels is far cheaper than drawing the picture over the canvas.
    if (m_canvas && m_canvas->CopyFrom(*m_savedCanvas, area, m_env.isbackgray != 0)) return;
    if (m_env.isbackgray && !greyed) GrayBitmap(*m_savedCanvas);
    greyed = true;
    canvas.DrawImage(m_savedCanvas.get(), Gdiplus::Rect(area.left, area.top, RectWidth(area), RectHeight(area)),
                     area.left, area.top, RectWidth(area), RectHeight(area), Gdiplus::UnitPixel);
}

void Composer::KeepMonitorAsShown(Gdiplus::Graphics& canvas, size_t monitor) {
    const RECT area = m_layout.ToCanvas(m_layout.monitors[monitor].rect);
    if (m_canvas && m_canvas->CopyFrom(*m_savedCanvas, area, false)) return;
    canvas.DrawImage(m_savedCanvas.get(), Gdiplus::Rect(area.left, area.top, RectWidth(area), RectHeight(area)),
                     area.left, area.top, RectWidth(area), RectHeight(area), Gdiplus::UnitPixel);
}

void Composer::DrawFreshBackground(Gdiplus::Graphics& canvas, size_t monitor, DecodedPicture& backImage) {
    const RECT area = m_layout.ToCanvas(m_layout.monitors[monitor].rect);
    const uint32_t colour = BackgroundColour();
    // Nothing has drawn yet: writing the pixels is far cheaper than Graphics::Clear.
    if (m_canvas) {
        m_canvas->FillRect(area, colour);
    } else {
        Gdiplus::SolidBrush brush{Gdiplus::Color(colour)};
        canvas.FillRectangle(&brush, Gdiplus::Rect(area.left, area.top, RectWidth(area), RectHeight(area)));
    }
    if (m_env.isbackimg) DrawBackgroundImage(canvas, area, backImage);
    ForgetPhotos(m_pictures[monitor]);
}

void Composer::ForgetPhotos(MonitorPicture& picture) {
    // The current images window may have taken some out already.
    for (const std::string& path : picture.images) {
        auto at = std::find(m_currentImages.begin(), m_currentImages.end(), path);
        if (at != m_currentImages.end()) m_currentImages.erase(at);
    }
    picture.images.clear();
    picture.count = 0;
}

void Composer::FillGaps(Gdiplus::Graphics& canvas, uint32_t colour) {
    if (!m_layout.IsSpanned()) return;
    Gdiplus::SolidBrush brush{Gdiplus::Color(colour | 0xFF000000u)};
    for (RECT gap : GapRects(m_layout.bounds, m_layout.monitors)) {
        gap = m_layout.ToCanvas(gap);
        canvas.FillRectangle(&brush, Gdiplus::Rect(gap.left, gap.top, RectWidth(gap), RectHeight(gap)));
    }
}

void Composer::DrawBackgroundImage(Gdiplus::Graphics& canvas, const RECT& area, DecodedPicture& backImage) {
    if (m_env.backimagename.empty()) return;
    const std::string file = m_env.ispause ? PausedBackgroundFile() : m_env.backimagename;
    const int aw = RectWidth(area), ah = RectHeight(area);
    // The frozen picture of a pause is the whole desktop's: each monitor takes its own part back.
    const bool frozenDesktop = m_env.ispause && m_layout.IsSpanned();
    if (!backImage) {
        // Decoded once for every monitor, no larger than it covers the largest of them.
        int mw = 0, mh = 0;
        for (const fw::MonitorInfo& m : m_layout.monitors) {
            mw = std::max(mw, RectWidth(m.rect));
            mh = std::max(mh, RectHeight(m.rect));
        }
        if (frozenDesktop) mw = m_layout.Width(), mh = m_layout.Height();
        backImage = DecodePicture(file, [&](int w, int h) {
            if (m_env.isstretch || frozenDesktop) return DrawnSize{mw, mh};
            Gdiplus::RectF fit = FitRect(w, h, mw, mh);
            return DrawnSize{static_cast<int>(fit.Width + 0.5f), static_cast<int>(fit.Height + 0.5f)};
        });
        if (!backImage) return;
    }
    Gdiplus::Image* image = backImage.image.get();
    const Gdiplus::REAL iw = static_cast<Gdiplus::REAL>(backImage.width), ih = static_cast<Gdiplus::REAL>(backImage.height);
    // Mirrored beyond its edges, a scaled image blends its last row and column with itself rather
    // than with nothing, and so covers its rectangle to the last pixel.
    Gdiplus::ImageAttributes edges;
    edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    Gdiplus::RectF target(static_cast<Gdiplus::REAL>(area.left), static_cast<Gdiplus::REAL>(area.top),
                          static_cast<Gdiplus::REAL>(aw), static_cast<Gdiplus::REAL>(ah));
    if (frozenDesktop && backImage.width == m_layout.Width() && backImage.height == m_layout.Height()) {
        canvas.DrawImage(image, Gdiplus::Rect(area.left, area.top, aw, ah), area.left, area.top, aw, ah,
                         Gdiplus::UnitPixel);
        return;
    }
    if (!m_env.isstretch && !frozenDesktop) {
        target = FitRect(backImage.width, backImage.height, aw, ah);
        target.Offset(static_cast<Gdiplus::REAL>(area.left), static_cast<Gdiplus::REAL>(area.top));
    }
    canvas.DrawImage(image, target, 0, 0, iw, ih, Gdiplus::UnitPixel, &edges);
}

std::string Composer::ChooseNextImage() {
    return m_selector.ChooseNextImage(
        m_catalogue, m_env.israndum != 0, m_system, [this](const std::string& path) { return m_system.FileExists(path); },
        [this](const std::string& path) { return m_banned.Contains(path); });
}

std::string Composer::ChooseFavourite(const std::function<PickVerdict(const std::string&)>& check) {
    std::vector<const std::string*> candidates;
    for (const std::string& path : m_kept.Paths())
        if (!m_banned.Contains(path)) candidates.push_back(&path);
    if (candidates.empty()) return "";
    const size_t n = candidates.size();
    const size_t start = m_env.israndum ? static_cast<size_t>(m_system.Rand()) % n : m_favouriteIndex % n;
    // Favourites that are gone or do not decode leave the choice to the catalogue after a few tries.
    for (size_t i = 0; i < n && i < kMissingPicksPerChoice; ++i) {
        const std::string& path = *candidates[(start + i) % n];
        if (check(path) == PickVerdict::Usable) {
            m_favouriteIndex = start + i + 1;
            return path;
        }
    }
    return "";
}

void Composer::LoadPhotoLists() {
    m_banned.Load(m_env.DataFolder());
    m_kept.Load(m_env.DataFolder());
}

bool Composer::Ban(const std::string& path) {
    if (!m_banned.Add(path)) return false;
    const auto exists = [this](const std::string& listed) { return m_system.FileExists(listed); };
    m_banned.KeepOnly(exists);
    m_banned.Save(m_env.DataFolder());
    m_catalogue.RemoveImage(path);
    const std::string lowered = mb::ToLower(path);
    const auto same = [&lowered](const std::string& other) { return mb::ToLower(other) == lowered; };
    m_currentImages.erase(std::remove_if(m_currentImages.begin(), m_currentImages.end(), same), m_currentImages.end());
    // Going back must not bring it to the screen again.
    if (ShowsBanned(m_previous)) m_previous = ShownPicture{};
    return true;
}

void Composer::ForgetCurrentImage(const std::string& path) {
    const auto at = std::find(m_currentImages.begin(), m_currentImages.end(), path);
    if (at != m_currentImages.end()) m_currentImages.erase(at);
}

bool Composer::Keep(const std::string& path) {
    if (!m_kept.Add(path)) return false;
    m_kept.KeepOnly([this](const std::string& listed) { return m_system.FileExists(listed); });
    m_kept.Save(m_env.DataFolder());
    return true;
}

void Composer::DrawNextImage(Gdiplus::Graphics& canvas, size_t monitor) {
    if (!m_env.isforeimg || monitor >= m_pictures.size()) return;
    MonitorPicture& mine = m_pictures[monitor];
    DecodedPicture picture;
    if (m_env.imagepos == kPlaceUserPositions) EnsurePositionsLoaded();
    const int maxSize = PhotoMaxSize(PositionsOf(monitor), PositionIndexOf(monitor), m_layout.monitors[monitor].dpi);
    const bool notStretch = m_env.notstrech != 0;
    // A file that cannot be read or decoded (or would not fit in memory), or whose data is in the
    // cloud, is passed over like a missing one. Photos are decoded no larger than they are drawn.
    const std::vector<std::string> listed = m_catalogue.ListedFolders();
    const auto check = [&](const std::string& path) {
        if (Cancelled()) return PickVerdict::Unusable;
        PhotoBytes bytes;
        const PhotoRead read = m_photoSource->Read(path, m_env.cloudphotos != 0, listed, bytes);
        if (read == PhotoRead::Resting) return PickVerdict::Resting;
        if (read == PhotoRead::Read)
            picture = DecodePicture(bytes, [&](int w, int h) { return ScaleToMaxSize(w, h, maxSize, notStretch); });
        if (picture) return PickVerdict::Usable;
        fw::Log("photo passed over, %s: %s", read == PhotoRead::Read ? "no picture it can decode" : PhotoReadText(read),
                path.c_str());
        return PickVerdict::Unusable;
    };
    mine.path = m_env.favoritesonly ? ChooseFavourite(check) : std::string();
    if (mine.path.empty())
        mine.path = m_selector.ChooseNextImage(m_catalogue, m_env.israndum != 0, m_system, check,
                                               [this](const std::string& path) { return m_banned.Contains(path); });
    Report(ComposePhase::Decoded);
    if (mine.path.empty() || !picture) return;

    ++mine.count;
    mine.images.push_back(mine.path);
    m_currentImages.push_back(mine.path);
    DrawPhoto(canvas, picture, monitor);
}

std::vector<RECT> Composer::PositionsOf(size_t monitor) const {
    if (!m_layout.IsSpanned()) return m_positions;
    const RECT& own = m_layout.monitors[monitor].rect;
    std::vector<RECT> positions;
    for (RECT r : m_positions) {
        if (MonitorOfPosition(m_layout.monitors, r) != static_cast<int>(monitor)) continue;
        ::OffsetRect(&r, -own.left, -own.top);
        positions.push_back(r);
    }
    return positions;
}

int& Composer::PositionIndexOf(size_t monitor) {
    return m_layout.IsSpanned() ? m_pictures[monitor].positionIndex : m_positionIndex;
}

int Composer::PhotoMaxSize(const std::vector<RECT>& positions, int& index, UINT dpi) {
    // A position is the user's own rectangle of real pixels: its width stands at any scale.
    int maxSize = PhotoMaxSizeAt(m_env.picmaxsize, dpi);
    if (m_env.imagepos == kPlaceUserPositions && !positions.empty()) {
        if (index < 0 || index >= static_cast<int>(positions.size())) index = 0;
        const RECT& r = positions[static_cast<size_t>(index)];
        // A position drawn backwards has no width to scale to.
        if (r.right - r.left > 0) maxSize = r.right - r.left;
    }
    return maxSize;
}

void Composer::DrawPhoto(Gdiplus::Graphics& canvas, const DecodedPicture& picture, size_t monitor) {
    std::vector<RECT> positions = PositionsOf(monitor);
    int& index = PositionIndexOf(monitor);
    const UINT dpi = m_layout.monitors[monitor].dpi;
    DrawnSize size = ScaleToMaxSize(picture.width, picture.height, PhotoMaxSize(positions, index, dpi), m_env.notstrech != 0);
    const RECT area = m_layout.ToCanvas(m_layout.monitors[monitor].rect);
    PlacementState state{positions, index, m_pictures[monitor].lastCentre};
    POINT at = PlaceImage(m_env.imagepos, RectWidth(area), RectHeight(area), size.w, size.h, state, m_system);
    if (size.w <= 0 || size.h <= 0) return;
    at.x += area.left;
    at.y += area.top;

    // The effects bring the picture once to the size it shows at, so no effect works on more pixels.
    Gdiplus::Image* image = picture.image.get();
    const Gdiplus::SizeF original(static_cast<Gdiplus::REAL>(picture.width), static_cast<Gdiplus::REAL>(picture.height));
    m_effects.SetMonitorDpi(dpi);
    if (m_env.ismask)
        m_effects.DrawMaskedImage(canvas, *image, size.w, size.h, at.x, at.y);
    else
        m_effects.DrawImageWithEffects(canvas, *image, size.w, size.h, at.x, at.y, original);
}

void Composer::DrawOverlays(Gdiplus::Graphics& canvas) {
    for (size_t monitor = 0; monitor < m_layout.monitors.size(); ++monitor) {
        const fw::MonitorInfo& shown = m_layout.monitors[monitor];
        // Grown with a high scale, a bar may be wider than a small monitor: it stays on its own.
        const RECT area = m_layout.ToCanvas(shown.rect);
        canvas.SetClip(Gdiplus::Rect(area.left, area.top, RectWidth(area), RectHeight(area)));
        const fw::WorkArea work = AsWorkArea(m_layout.ToCanvas(shown.work));
        if (m_env.iscalender && monitor == 0) DrawCalendar(canvas, work, m_env, m_specialDays, m_system.Today(), shown.dpi);
        if (m_env.ispath) DrawPathText(canvas, m_pictures[monitor].path, work, shown.dpi);
    }
    canvas.ResetClip();
}

void Composer::SetWallpaper(Gdiplus::Bitmap& canvas, bool keepShownAsPrevious) {
    // Before the program's folder is known there is no file of ours to name.
    if (m_env.DataFolder().empty()) return;
    fw::DesktopSetup desktop;
    if (m_layout.IsSpanned() && m_system.ReadDesktopSetup(desktop) && ShowPerMonitor(canvas, desktop, keepShownAsPrevious))
        return;
    const std::string path = WallpaperFile();
    std::unique_ptr<Gdiplus::Bitmap> tiled;
    if (m_layout.IsSpanned() && m_system.BeforeWindows8()) tiled = TiledFromPrimaryOrigin(canvas, m_layout.bounds);
    const bool saved = WritePicture(tiled ? *tiled : canvas, path, keepShownAsPrevious ? PreviousWallpaperFile() : "");
    Report(ComposePhase::Encoded);
    if (!saved) return;
    const bool shown = m_gate.Pass([&] {
        PutBackUserFit();
        ApplyWallpaperStyle(m_layout.IsSpanned());
        m_system.SetDesktopWallpaper(path);
    });
    if (shown) Report(ComposePhase::WallpaperSet);
}

std::unique_ptr<Gdiplus::Bitmap> TiledFromPrimaryOrigin(Gdiplus::Bitmap& canvas, const RECT& bounds) {
    const int w = static_cast<int>(canvas.GetWidth()), h = static_cast<int>(canvas.GetHeight());
    if (w <= 0 || h <= 0) return nullptr;
    auto tiled = std::make_unique<Gdiplus::Bitmap>(w, h, PixelFormat24bppRGB);
    if (tiled->GetLastStatus() != Gdiplus::Ok) return nullptr;
    // The tile's pixel x shows at x + k * w: the virtual screen's bounds.left must land at its own.
    const int dx = ((bounds.left % w) + w) % w, dy = ((bounds.top % h) + h) % h;
    Gdiplus::Graphics g(tiled.get());
    g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    for (const int x : {dx, dx - w})
        for (const int y : {dy, dy - h}) g.DrawImage(&canvas, x, y, w, h);
    return tiled;
}

bool Composer::WritePicture(Gdiplus::Bitmap& picture, const std::string& path, const std::string& previous) {
    // Only a picture the new one could replace is moved aside: a read-only file (or anything
    // else under its name) stays as it is, and so does the desktop's picture.
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    const bool replaceable = attributes != INVALID_FILE_ATTRIBUTES &&
                             !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
    const bool kept = !previous.empty() && replaceable &&
                      ::MoveFileExA(path.c_str(), previous.c_str(), MOVEFILE_REPLACE_EXISTING);
    const bool saved = fw::ReplaceFileSafely(
        path, [&picture](const std::string& temporary) { return WriteBmp24(picture, temporary); },
        fw::Durability::Regenerated);
    // A file not written whole is never handed to the desktop: it keeps the previous picture,
    // under the name the desktop knows it by.
    if (!saved && kept) ::MoveFileExA(previous.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    return saved;
}

std::vector<std::wstring> Composer::MonitorDevicesOf(const fw::DesktopSetup& desktop) const {
    std::vector<std::wstring> devices;
    for (const fw::MonitorInfo& monitor : m_layout.monitors) {
        const auto match = std::find_if(desktop.monitors.begin(), desktop.monitors.end(), [&](const fw::MonitorWallpaper& m) {
            return ::EqualRect(&m.rect, &monitor.rect);
        });
        if (match == desktop.monitors.end()) return {};
        devices.push_back(match->monitor);
    }
    return devices;
}

bool Composer::ShowPerMonitor(Gdiplus::Bitmap& canvas, const fw::DesktopSetup& desktop, bool keepShownAsPrevious) {
    // The interface sees other monitors than the layout (one just changed): the whole picture then.
    const std::vector<std::wstring> devices = MonitorDevicesOf(desktop);
    if (devices.empty()) return false;
    std::vector<std::pair<std::wstring, std::string>> parts;  // the monitor's device path, its file
    for (size_t i = 0; i < m_layout.monitors.size(); ++i) {
        const RECT r = m_layout.ToCanvas(m_layout.monitors[i].rect);
        std::unique_ptr<Gdiplus::Bitmap> part(
            canvas.Clone(static_cast<INT>(r.left), static_cast<INT>(r.top), static_cast<INT>(r.right - r.left),
                     static_cast<INT>(r.bottom - r.top), PixelFormat24bppRGB));
        if (!part || part->GetLastStatus() != Gdiplus::Ok) return false;
        const std::string file = MonitorWallpaperFile(i);
        if (!WritePicture(*part, file, keepShownAsPrevious ? PreviousMonitorFile(i) : "")) return false;
        parts.emplace_back(devices[i], file);
    }
    Report(ComposePhase::Encoded);
    const bool shown = m_gate.Pass([&] {
        PutBackUserStyle();
        // Each picture is its monitor's size: stretched is shown pixel for pixel.
        if (m_fitSet != fw::kStretchFit && m_system.SetWallpaperPosition(fw::kStretchFit)) m_fitSet = fw::kStretchFit;
        for (const auto& [monitor, file] : parts) m_system.SetMonitorWallpaper(monitor, mb::Widen(file));
    });
    if (shown) Report(ComposePhase::WallpaperSet);
    return true;
}

// Back to one picture for every monitor: it is shown in the user's own fit again.
void Composer::PutBackUserFit() {
    if (m_fitSet < 0) return;
    if (m_hasUserSetup && m_userSetup.position >= 0) m_system.SetWallpaperPosition(m_userSetup.position);
    m_fitSet = -1;
}

void Composer::ApplyWallpaperStyle(bool spanned) {
    if (!spanned) {
        PutBackUserStyle();
        return;
    }
    if (m_spanStyleSet) return;
    m_userStyle = UserStyleNow();
    KeepWallpaperStyle(m_env, m_userStyle);
    m_system.SetWallpaperStyle(SeveralMonitorsStyle());
    m_spanStyleSet = true;
}

fw::WallpaperStyle Composer::UserStyleNow() {
    const fw::WallpaperStyle now = m_system.GetWallpaperStyle();
    // A run that ended without putting the user's style back left its own: the one it kept is the user's.
    if (!m_unfinishedRun || !(now == SeveralMonitorsStyle())) return now;
    fw::WallpaperStyle kept = KeptWallpaperStyle(m_env);
    return kept.style.empty() ? now : kept;
}

void Composer::PutBackUserStyle() {
    if (!m_spanStyleSet) return;
    m_system.SetWallpaperStyle(m_userStyle);
    m_spanStyleSet = false;
}

void Composer::LoadPriorWallpaper() {
    const std::wstring registered = m_registry->ReadString("Control Panel\\Desktop", "Wallpaper");
    // A best-fit spelling could name another picture: the exact or short name, else a copy below.
    const std::string wallpaper = mb::NarrowPath(registered);
    const bool unnamed = wallpaper.empty() && !registered.empty();
    // After pictures per monitor the desktop names the last monitor's: the run kept the user's all the same.
    m_unfinishedRun = IsOwnPicture(registered);
    m_env.oriwallpath = ResolvePriorWallpaper(m_unfinishedRun ? WallpaperFile() : wallpaper, m_env.DataFolder());
    // Our first change overwrites Windows' own cached copy: restore from a copy of our own. So
    // too for a picture the code page cannot name; when that copy fails nothing is restored.
    if ((unnamed || IsSystemWallpaperCache(m_env.oriwallpath)) && !m_env.DataFolder().empty()) {
        const std::string copy = KeepWallpaperCopy(unnamed ? registered : mb::Widen(m_env.oriwallpath),
                                                   m_env.FilePath(data_files::kPriorWallpaperCopy));
        if (!copy.empty() || unnamed) m_env.oriwallpath = copy;
    }
    uint32_t colour = 0;
    if (ParseDesktopColor(mb::Narrow(m_registry->ReadString("Control Panel\\Colors", "Background")), colour))
        m_env.m_desktopColor = colour;
    LoadUserSetup();
    m_priorLoaded = true;
}

bool Composer::IsOwnPicture(const std::wstring& picture) const {
    return data_files::IsOwnWallpaper(mb::Widen(m_env.DataFolder()), picture);
}

bool Composer::ShowsOwnPicture(const fw::DesktopSetup& setup) const {
    return std::any_of(setup.monitors.begin(), setup.monitors.end(),
                       [this](const fw::MonitorWallpaper& m) { return IsOwnPicture(m.picture); });
}

void Composer::LoadUserSetup() {
    fw::DesktopSetup now;
    m_hasUserSetup = m_system.ReadDesktopSetup(now) && !now.monitors.empty();
    if (!m_hasUserSetup) return;
    now.spotlight = SpotlightOn();
    if (ShowsOwnPicture(now)) {
        // A run that ended without giving the setup back: the one it kept is the user's.
        m_unfinishedRun = true;
        fw::DesktopSetup kept;
        const bool haveKept = LoadDesktopSetup(UserSetupFile(), kept);
        if (haveKept) {
            now.position = kept.position;
            now.background = kept.background;
            now.hasBackground = kept.hasBackground;
            now.slideshow = kept.slideshow;
            now.slides = kept.slides;
            now.spotlight = kept.spotlight;
        }
        for (fw::MonitorWallpaper& m : now.monitors) {
            if (!IsOwnPicture(m.picture)) continue;
            m.picture = mb::Widen(m_env.oriwallpath);
            for (const fw::MonitorWallpaper& k : kept.monitors)
                if (k.monitor == m.monitor) m.picture = k.picture;
        }
    }
    m_userSetup = std::move(now);
}

bool Composer::SpotlightOn() {
    DWORD state = 0;
    return m_registry->ReadNumber(kSpotlightKey, kSpotlightValue, state) && state == kSpotlightRunning;
}

PausedShow Composer::PausedSystemShow() const {
    if (!m_hasUserSetup) return PausedShow::None;
    // The picture of the day may run as a slideshow of its own, with no items to give back.
    if (m_userSetup.spotlight) return PausedShow::Spotlight;
    if (m_userSetup.slideshow && !m_userSetup.slides.items.empty()) return PausedShow::Slideshow;
    return PausedShow::None;
}

void Composer::SavePriorWallpaperPath() {
    // Writing before the prior path was read would wipe the one kept by an unfinished run.
    if (!m_priorLoaded || m_env.DataFolder().empty()) return;
    KeepPriorWallpaper(m_env);
    if (m_hasUserSetup) SaveDesktopSetup(UserSetupFile(), m_userSetup);
}

void Composer::RestorePriorWallpaper() {
    if (!m_priorLoaded) return;
    // A fit the user chose in Windows while the program ran is theirs now: it stays.
    fw::DesktopSetup now;
    const int ours = FitThisRunLeft();
    const bool fitChanged = ours >= 0 && m_hasUserSetup && m_system.ReadDesktopSetup(now) && now.position >= 0 &&
                            now.position != ours;
    if (fitChanged) m_spanStyleSet = false;
    // The style first: the wallpaper call applies it.
    PutBackUserStyle();
    m_system.SetDesktopWallpaper(m_env.oriwallpath);
    if (m_hasUserSetup) {
        GiveBackMonitorPictures(!fitChanged && m_fitSet >= 0);
        GiveBackSystemShow();
    }
    m_fitSet = -1;
}

bool Composer::GiveBackUnfinishedRun() {
    // Looked at first: reading the prior wallpaper may copy Windows' own picture into the data folder.
    fw::DesktopSetup desktop;
    const bool perMonitor = m_system.ReadDesktopSetup(desktop);
    if (!IsOwnPicture(m_registry->ReadString("Control Panel\\Desktop", "Wallpaper")) &&
        !(perMonitor && ShowsOwnPicture(desktop)))
        return false;
    LoadPriorWallpaper();
    if (!m_unfinishedRun) return false;
    // The style and the fit on the desktop are that run's; what it kept is the user's.
    m_userStyle = UserStyleNow();
    m_spanStyleSet = !(m_userStyle == m_system.GetWallpaperStyle());
    if (m_hasUserSetup && perMonitor) m_fitSet = desktop.position;
    RestorePriorWallpaper();
    return true;
}

int Composer::FitThisRunLeft() const {
    if (m_fitSet >= 0) return m_fitSet;
    return m_spanStyleSet ? fw::kSpanFit : -1;
}

void Composer::GiveBackMonitorPictures(bool fitToo) {
    if (fitToo && m_userSetup.position >= 0) m_system.SetWallpaperPosition(m_userSetup.position);
    // A monitor no longer there refuses its picture; the others still get theirs.
    for (const fw::MonitorWallpaper& m : m_userSetup.monitors)
        if (!m.picture.empty()) m_system.SetMonitorWallpaper(m.monitor, m.picture);
}

// After the pictures: the slideshow starts from them, and without it they stay.
void Composer::GiveBackSystemShow() {
    switch (PausedSystemShow()) {
        case PausedShow::Slideshow:
            if (!m_system.SetSlideshow(m_userSetup.slides)) fw::Log("slideshow not given back: none of its items is there");
            break;
        case PausedShow::Spotlight:
            if (!SpotlightOn()) m_registry->WriteNumber(kSpotlightKey, kSpotlightValue, kSpotlightRunning);
            break;
        case PausedShow::None:
            break;
    }
}

void Composer::TogglePause() {
    m_env.ispause = !m_env.ispause;
    if (m_savedCanvas && !m_env.DataFolder().empty()) SaveImage(*m_savedCanvas, PausedBackgroundFile(), "png");
}

void Composer::SaveCurrentWallpaperAs(const std::string& path) {
    if (!m_savedCanvas) return;
    std::string format = FormatForFileName(path);
    if (format.empty()) return;
    SaveImage(*m_savedCanvas, path, format);
}

int Composer::LoadPositions() {
    m_positionsLoaded = true;
    return ::LoadPositions(m_env.FilePath(data_files::kPositionList), m_positions);
}

void Composer::EnsurePositionsLoaded() {
    if (!m_positionsLoaded && !m_env.DataFolder().empty()) LoadPositions();
}

void Composer::ReplacePositions(std::vector<RECT> positions) {
    m_positions = std::move(positions);
    m_positionsLoaded = true;
    RestartPositions();
}

void Composer::RestartPositions() {
    m_positionIndex = 0;
    for (MonitorPicture& picture : m_pictures) picture.positionIndex = 0;
    m_previous.positionIndex = 0;
    for (MonitorPicture& picture : m_previous.pictures) picture.positionIndex = 0;
}

int Composer::PositionTurn(size_t monitor) const {
    if (!m_layout.IsSpanned()) return m_positionIndex;
    return monitor < m_pictures.size() ? m_pictures[monitor].positionIndex : 0;
}

void Composer::SavePositions() const {
    if (m_env.DataFolder().empty() || (!m_positionsLoaded && m_positions.empty())) return;
    ::SavePositions(m_env.FilePath(data_files::kPositionList), m_positions);
}

int Composer::LoadSpecialDays() { return ::LoadSpecialDays(m_env.FilePath(data_files::kSpecialDayList), m_specialDays); }

void Composer::LoadMasks(const std::string& folder) { m_effects.LoadMasks(folder); }

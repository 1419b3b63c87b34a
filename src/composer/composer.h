#pragma once
// One change of the wallpaper: background, next photograph, effects, calendar, output.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "composer/calendar.h"
#include "composer/canvas.h"
#include "composer/effects.h"
#include "composer/layout.h"
#include "composer/output.h"
#include "composer/photo_file.h"
#include "composer/picture_decode.h"
#include "composer/settings_composer.h"
#include "framework/system.h"
#include "state/catalogue.h"
#include "state/data_files.h"
#include "state/photo_lists.h"
#include "state/settings.h"

// What a pick's check found: a photo to draw, one to pass over (it counts among the three), or
// one whose folder rests after a stall (passed over without counting: the other folders go on).
enum class PickVerdict { Usable, Unusable, Resting };

// The choice of the next photograph. Its two counters live as long as the composer, which
// lives as long as the process; Reset() gives a test a fresh start.
class ImageSelector {
public:
    // Full path of the next usable photograph, or "" when there is none this time. A path is
    // usable when the check says so (by default: the file exists). Three unusable picks in the
    // run end a choice with "". An empty catalogue is refilled, and that choice gives "". Paths
    // the user banned are passed over without counting as unusable (and leave a random order's
    // rest of the catalogue).
    std::string ChooseNextImage(ImageCatalogue& catalogue, bool randomOrder, fw::ISystem& system,
                                const std::function<bool(const std::string&)>& usable,
                                const std::function<bool(const std::string&)>& banned = {});
    // The same with a verdict: resting picks stay in the catalogue and end a choice only once
    // as many were met as the catalogue holds. Banned photos are passed over without a check.
    std::string ChooseNextImage(ImageCatalogue& catalogue, bool randomOrder, fw::ISystem& system,
                                const std::function<PickVerdict(const std::string&)>& check,
                                const std::function<bool(const std::string&)>& banned = {});

    void Reset() { s_nextIndex = s_missingCount = 0; }
    // Picks that could not be used since the count last reached three.
    int MissingCount() const { return s_missingCount; }

private:
    int s_nextIndex = 0;     // next catalogue position in sequential order
    int s_missingCount = 0;
};

// Where a background image goes when it is not stretched: natural size in the middle, or shrunk
// to fit the screen keeping its proportions; never enlarged.
Gdiplus::RectF FitRect(int w, int h, int sw, int sh);

// The stages of one composition, reported to an observer (the benchmark times them).
enum class ComposePhase { Start, Background, Decoded, PhotoDrawn, Overlays, Encoded, WallpaperSet };

// What one monitor's picture holds between changes: its own collage.
struct MonitorPicture {
    std::vector<std::string> images;  // its photos since its last fresh background, in drawing order
    std::string path;                 // its latest photo's path ("" when none was chosen)
    int count = 0;                    // photos drawn since its last fresh background
    int positionIndex = 0;            // its turn among its own user positions (several monitors)
    POINT lastCentre{0, 0};           // of its last randomly placed photo, in its own coordinates
};

// Which monitors of the layout a composition gives a new photo (bit i: monitor i; 0: every
// monitor), and which of those start on a fresh background; the others keep what they show.
struct ComposeRequest {
    uint32_t monitors = 0;
    uint32_t freshMonitors = 0;
    bool Targeted() const { return monitors != 0; }
    bool Includes(size_t monitor) const { return !Targeted() || (monitor < 32 && (monitors >> monitor) & 1u); }
    bool Fresh(size_t monitor) const { return monitor < 32 && (freshMonitors >> monitor) & 1u; }
};

// The desktop's picture as one change left it: what the back command puts back.
struct ShownPicture {
    std::unique_ptr<Gdiplus::Bitmap> canvas;  // without the calendar and the path text
    std::vector<MonitorPicture> pictures;
    std::vector<std::string> currentImages;
    std::string currentPath;
    int imageCount = 0;
    int positionIndex = 0;
    DesktopLayout layout;
};

// Lets a composition on another thread set the desktop's wallpaper only while the window thread
// allows it: once the prior wallpaper is being put back, no late picture may cover it.
class WallpaperGate {
public:
    // Runs `show` unless the gate is closed; a closer waits for a show in progress.
    template <class Show>
    bool Pass(Show show) {
        ::AcquireSRWLockExclusive(&m_lock);
        const bool open = !m_closed;
        if (open) {
            show();
            m_shows.fetch_add(1, std::memory_order_release);
        }
        ::ReleaseSRWLockExclusive(&m_lock);
        return open;
    }
    // How many shows have passed: the window thread tells by it whether the desktop already shows
    // the picture of a composition whose end it has not yet taken in.
    unsigned Shows() const { return m_shows.load(std::memory_order_acquire); }
    // False while a show is in progress; the caller handles sent messages and tries again.
    bool TryClose() {
        if (!::TryAcquireSRWLockExclusive(&m_lock)) return false;
        m_closed = true;
        ::ReleaseSRWLockExclusive(&m_lock);
        return true;
    }
    // Only between compositions: nothing can be passing then.
    void Open() { m_closed = false; }

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
    bool m_closed = false;
    std::atomic<unsigned> m_shows{0};
};

// What of Windows' own changing wallpaper this run holds back until it ends.
enum class PausedShow { None, Slideshow, Spotlight };

// The wallpaper style that spans one picture across every monitor.
inline const fw::WallpaperStyle kSpanStyle{"22", "0"};
// Before Windows 8: one picture tiled from the primary's top-left corner.
inline const fw::WallpaperStyle kTiledStyle{"0", "1"};

// The canvas over the virtual screen shifted so that, tiled from the primary's origin, each
// monitor shows its own part of it.
std::unique_ptr<Gdiplus::Bitmap> TiledFromPrimaryOrigin(Gdiplus::Bitmap& canvas, const RECT& bounds);

class Composer final : public ISettingsComposer {
public:
    Composer(EnvSettings& env, ImageCatalogue& catalogue, fw::ISystem& system);
    ~Composer() override;
    Composer(const Composer&) = delete;
    Composer& operator=(const Composer&) = delete;

    // Makes the next wallpaper. Does nothing when called while one is being made: setting the
    // wallpaper broadcasts the change, and messages sent to the program meanwhile (a tick, a
    // double click) are handled inside that call.
    void ComposeWallpaper();
    // The next wallpaper with new photos only where the request says; every monitor when the
    // kept picture does not fit the desktop now.
    void ComposeWallpaper(const ComposeRequest& request);
    // Puts the picture before the last change back, with its collage; the picture it replaces
    // becomes the one a second call puts back. False when there is none for this desktop.
    bool GoBack();
    bool CanGoBack() const;
    bool IsComposing() const noexcept { return m_composing; }
    // The last picture again with its calendar and path text where the work areas are now (a task
    // bar moved): no new photo, no collage lost. Composes anew when there is no such picture.
    void RedrawOverlays();
    // A composition on a worker ends early once the token is set: no further photo is read, and
    // what was drawn is finished and shown. May be null.
    void SetCancelToken(const std::atomic<bool>* token) { m_cancel = token; }
    bool Cancelled() const { return m_cancel && m_cancel->load(std::memory_order_acquire); }
    WallpaperGate& Gate() { return m_gate; }

    // Prior wallpaper and, after a picture spanning several monitors, the user's style (start
    // and shut-down).
    void LoadPriorWallpaper();
    void SavePriorWallpaperPath();
    void RestorePriorWallpaper();
    // Without a run of its own ("-exit" when no copy runs): what a run that ended without giving
    // the user's wallpaper back left on the desktop is given back now. False when it shows none of ours.
    bool GiveBackUnfinishedRun();
    // Windows' slideshow or picture of the day that ran at start (or when the last run ended
    // without giving it back), which our pictures keep from running until RestorePriorWallpaper.
    PausedShow PausedSystemShow() const;

    // The desktop as the next change composes it: every monitor, or the primary one alone.
    DesktopLayout CurrentLayout();
    const DesktopLayout& Layout() const { return m_layout; }
    // The layout of the last change; before the first one, the desktop's now.
    DesktopLayout ShownLayout() override { return m_layout.monitors.empty() ? CurrentLayout() : m_layout; }
    // The primary screen's size at the last change; before the first one, its size now.
    SIZE ShownScreenSize() const override;
    const std::vector<MonitorPicture>& Pictures() const { return m_pictures; }

    // The last change's picture without the calendar and the path text; null before the first.
    Gdiplus::Bitmap* SavedCanvas() const { return m_savedCanvas.get(); }
    // Every monitor's photos on the picture, the primary monitor's latest and how many it holds.
    const std::vector<std::string>& CurrentImages() const { return m_currentImages; }
    const std::string& CurrentPath() const { return m_currentPath; }
    int ImageCount() const { return m_imageCount; }
    // The photo leaves the current images (the current images window deleted it).
    void ForgetCurrentImage(const std::string& path);
    void RequestFreshBackground() override { m_clearRequested = TRUE; }
    bool FreshBackgroundRequested() const { return m_clearRequested != FALSE; }

    // banlist.txt and keeplist.txt, read at start; photos moved or deleted drop out.
    void LoadPhotoLists();
    // The photo goes on the ban list (saved at once) and out of the catalogue and the current
    // images; false when it was banned already.
    bool Ban(const std::string& path);
    // The photo goes on the favourites list, saved at once; false when it was there already.
    bool Keep(const std::string& path);
    const PhotoList& Banned() const { return m_banned; }
    const PhotoList& Kept() const { return m_kept; }
    size_t BannedCount() const override { return m_banned.Paths().size(); }

    // Tray commands.
    void TogglePause();
    // Saves the last composed picture; the format follows the extension (jpg, png, bmp, gif, tif).
    void SaveCurrentWallpaperAs(const std::string& path);

    // Start-up files beside the program.
    int LoadPositions();
    // Reads poslist.txt when this run has neither read nor replaced the positions: the user may
    // switch to their own positions after start, and must then see (and keep) the saved ones.
    void EnsurePositionsLoaded() override;
    // Writes poslist.txt only when this run read it or replaced the positions: a run that never
    // looked at the file must not empty it.
    void SavePositions() const override;
    const std::vector<RECT>& Positions() const override { return m_positions; }
    // Every turn the composer keeps restarts, the back command's picture's included: a turn
    // counted among other positions would name another one.
    void ReplacePositions(std::vector<RECT> positions) override;
    void RestartPositions() override;
    // The index of the position the monitor's next photo takes (0 is the primary).
    int PositionTurn(size_t monitor) const;
    int LoadSpecialDays();                       // xdaylist.txt
    void LoadMasks(const std::string& folder);   // "*.gif" files of the folder
    const std::vector<std::string>& Masks() const override { return m_effects.Masks(); }

    // The stages of a composition, public so that tests drive them one by one.
    void DrawBackground(Gdiplus::Graphics& canvas);
    // The next photo of one monitor of the layout (0 is the primary).
    void DrawNextImage(Gdiplus::Graphics& canvas, size_t monitor);
    std::string ChooseNextImage();
    // A favourite to show when only favourites are wanted and one is usable, else "".
    std::string ChooseFavourite(const std::function<PickVerdict(const std::string&)>& check);
    // keepShownAsPrevious: the picture on the desktop becomes the back command's file.
    void SetWallpaper(Gdiplus::Bitmap& canvas, bool keepShownAsPrevious = false);

    // Tests feed registry values through this; the default reads HKEY_CURRENT_USER.
    void SetRegistry(IUserRegistry& registry) { m_registry = &registry; }
    // Where photos are read from; the default is the real file system with the process's watchdog.
    void SetPhotoSource(PhotoSource& source) { m_photoSource = &source; }
    // Told each stage of a composition (the benchmark times them); may be empty.
    void ObservePhases(std::function<void(ComposePhase)> observer) { m_onPhase = std::move(observer); }
    // The choice of photos, and a fresh start of it for a test.
    const ImageSelector& Selector() const { return m_selector; }
    void RestartSelection() { m_selector.Reset(); }

private:
    void TakeLayout(DesktopLayout layout);
    bool CanContinuePreviousPicture() const;
    void ContinuePreviousPicture(Gdiplus::Graphics& canvas, size_t monitor, bool& greyed);
    void KeepMonitorAsShown(Gdiplus::Graphics& canvas, size_t monitor);
    ShownPicture SnapshotWithoutCanvas() const;
    void SwapShown(ShownPicture& other);
    bool ShowsBanned(const ShownPicture& shown) const;
    void DrawFreshBackground(Gdiplus::Graphics& canvas, size_t monitor, DecodedPicture& backImage);
    void DrawBackgroundImage(Gdiplus::Graphics& canvas, const RECT& area, DecodedPicture& backImage);
    void FillGaps(Gdiplus::Graphics& canvas, uint32_t colour);
    void ForgetPhotos(MonitorPicture& picture);
    uint32_t BackgroundColour() const { return m_env.isbackcolor ? m_env.backcolor : m_env.m_desktopColor; }
    // The user positions of a monitor in its own coordinates, and its turn among them.
    std::vector<RECT> PositionsOf(size_t monitor) const;
    int& PositionIndexOf(size_t monitor);
    int PhotoMaxSize(const std::vector<RECT>& positions, int& index, UINT dpi);
    void DrawPhoto(Gdiplus::Graphics& canvas, const DecodedPicture& picture, size_t monitor);
    void DrawOverlays(Gdiplus::Graphics& canvas);
    void ApplyWallpaperStyle(bool spanned);
    // One picture per monitor through the desktop's wallpaper interface; false where it cannot.
    bool ShowPerMonitor(Gdiplus::Bitmap& canvas, const fw::DesktopSetup& desktop, bool keepShownAsPrevious);
    // The device path of each monitor of the layout, in its order; empty when the interface sees others.
    std::vector<std::wstring> MonitorDevicesOf(const fw::DesktopSetup& desktop) const;
    // Writes the picture's file, first moving the one there to `previous` unless that is "";
    // false, with the file as it was, when it could not be written whole.
    static bool WritePicture(Gdiplus::Bitmap& picture, const std::string& path, const std::string& previous);
    void PutBackUserFit();
    // The style a picture over several monitors is set with: spanned, or tiled before Windows 8.
    fw::WallpaperStyle SeveralMonitorsStyle() { return m_system.BeforeWindows8() ? kTiledStyle : kSpanStyle; }
    std::string MonitorWallpaperFile(size_t monitor) const {
        return data_files::MonitorWallpaper(m_env.DataFolder(), monitor);
    }
    // The back command's copy of a monitor's own picture, beside it.
    std::string PreviousMonitorFile(size_t monitor) const {
        return data_files::PreviousMonitorWallpaper(m_env.DataFolder(), monitor);
    }
    void PutBackUserStyle();
    // The style on the desktop, or the one an unfinished run kept in env.ini while its own is there.
    fw::WallpaperStyle UserStyleNow();
    // Where the desktop has a wallpaper interface: each monitor's own picture and the fit.
    void LoadUserSetup();
    void GiveBackMonitorPictures(bool fitToo);
    void GiveBackSystemShow();
    bool SpotlightOn();
    int FitThisRunLeft() const;
    bool IsOwnPicture(const std::wstring& picture) const;
    bool ShowsOwnPicture(const fw::DesktopSetup& setup) const;
    std::string UserSetupFile() const { return m_env.FilePath(data_files::kUserSetup); }
    std::string WallpaperFile() const { return m_env.FilePath(data_files::kWallpaper); }
    std::string PausedBackgroundFile() const { return m_env.FilePath(data_files::kPausedPicture); }
    std::string PreviousWallpaperFile() const { return m_env.FilePath(data_files::kPreviousWallpaper); }
    void Report(ComposePhase phase) const {
        if (m_onPhase) m_onPhase(phase);
    }

    std::unique_ptr<Gdiplus::Bitmap> m_savedCanvas;
    std::unique_ptr<Gdiplus::Bitmap> m_spareCanvas;  // the continued picture, reused for the next copy
    std::vector<std::string> m_currentImages;  // every monitor's photos
    std::string m_currentPath;                 // the primary monitor's latest photo
    int m_imageCount = 0;                      // photos on the primary monitor's picture
    int m_screenWidth = 0;                     // the primary screen
    int m_screenHeight = 0;
    BOOL m_clearRequested = FALSE;
    std::vector<RECT> m_positions;  // virtual-screen coordinates
    int m_positionIndex = 0;        // the next position's index (one picture for the primary screen)
    ImageSelector m_selector;
    PhotoEffects m_effects;
    SpecialDays m_specialDays;
    std::function<void(ComposePhase)> m_onPhase;

    EnvSettings& m_env;
    ImageCatalogue& m_catalogue;
    fw::ISystem& m_system;
    IUserRegistry* m_registry;
    PhotoSource* m_photoSource;
    std::unique_ptr<Canvas24> m_canvasStore;  // kept between changes of the same screen size
    Canvas24* m_canvas = nullptr;    // the canvas being composed, whose pixels the fresh fill writes
    bool m_priorLoaded = false;      // the prior wallpaper was read: it may be set again
    bool m_composing = false;
    bool m_positionsLoaded = false;  // poslist.txt was read or the positions were replaced
    DesktopLayout m_layout;                 // of the last change
    std::vector<MonitorPicture> m_pictures;  // one per monitor of m_layout
    fw::WallpaperStyle m_userStyle;         // the user's, while the span style is set
    bool m_spanStyleSet = false;
    bool m_unfinishedRun = false;           // the desktop still showed our picture at start
    fw::DesktopSetup m_userSetup;           // the user's, read at start where the interface exists
    bool m_hasUserSetup = false;
    int m_fitSet = -1;                      // the fit this run set through the interface, -1 none
    const std::atomic<bool>* m_cancel = nullptr;
    WallpaperGate m_gate;
    ComposeRequest m_request;               // of the composition under way
    ShownPicture m_previous;                // the picture before the last change
    PhotoList m_banned{data_files::kBanList};
    PhotoList m_kept{data_files::kKeepList};
    size_t m_favouriteIndex = 0;            // the next favourite in order
};

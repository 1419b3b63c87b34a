#pragma once
// One change of the wallpaper: background, next photograph, effects, calendar, output.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/system.h"
#include "state/catalogue.h"
#include "state/settings.h"

class Composer {
public:
    Composer(EnvSettings& env, ImageCatalogue& catalogue, fw::ISystem& system);
    ~Composer();

    void ComposeWallpaper();

    // Prior wallpaper (start and shut-down).
    void LoadPriorWallpaper();
    void SavePriorWallpaperPath();
    void RestorePriorWallpaper();

    // Tray commands.
    void TogglePause();
    void SaveCurrentWallpaper(HWND owner);

    // Start-up files beside the program.
    int LoadPositions();
    void SavePositions() const;
    int LoadSpecialDays();                       // xdaylist.txt
    void LoadMasks(const std::string& folder);   // "*.gif" files of the folder

    // State read by the main window and the dialogs.
    std::unique_ptr<Gdiplus::Bitmap> m_savedCanvas;
    std::vector<std::string> m_currentImages;
    std::string m_currentPath;
    int m_imageCount = 0;
    int m_screenWidth = 0;
    int m_screenHeight = 0;
    BOOL m_clearRequested = FALSE;
    std::vector<RECT> m_positions;
    int m_positionIndex = 0;

private:
    EnvSettings& m_env;
    ImageCatalogue& m_catalogue;
    fw::ISystem& m_system;
};

#include "composer/composer.h"

#include "framework/mbstring.h"

Composer::Composer(EnvSettings& env, ImageCatalogue& catalogue, fw::ISystem& system)
    : m_env(env), m_catalogue(catalogue), m_system(system) {}

Composer::~Composer() = default;

void Composer::ComposeWallpaper() {
    m_screenWidth = m_system.ScreenWidth();
    m_screenHeight = m_system.ScreenHeight();
}

void Composer::LoadPriorWallpaper() {}
void Composer::SavePriorWallpaperPath() {}
void Composer::RestorePriorWallpaper() {}
void Composer::TogglePause() { m_env.ispause = !m_env.ispause; }
void Composer::SaveCurrentWallpaper(HWND) {}
int Composer::LoadPositions() { return 0; }
void Composer::SavePositions() const {}
int Composer::LoadSpecialDays() { return 0; }
void Composer::LoadMasks(const std::string&) {}

#include "framework/system.h"

#include <dwmapi.h>
#include <wtsapi32.h>

#include <sys/stat.h>

#include <cstdlib>
#include <ctime>

#include "framework/mbstring.h"

namespace fw {

std::string ModuleFileName() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return mb::Narrow(path);
        }
        path.resize(path.size() * 2);  // cut short: try again with room for a longer path
    }
}

int RealSystem::Rand() { return std::rand(); }

void RealSystem::SeedRandom(unsigned seed) { std::srand(seed); }

DWORD RealSystem::TickCount() { return ::GetTickCount(); }

LocalDate RealSystem::Today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday};
}

int RealSystem::ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }

int RealSystem::ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }

WorkArea RealSystem::GetWorkArea() {
    RECT r{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool RealSystem::FileExists(const std::string& path) {
    struct _stat64 st {};
    return _stat64(path.c_str(), &st) == 0;
}

void RealSystem::SetDesktopWallpaper(const std::string& path) {
    ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path.c_str()),
                            SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}

bool RealSystem::IsWindowCloaked(HWND window) {
    DWORD cloaked = 0;
    // Fails on systems without cloaking (and without composition): nothing is cloaked there.
    return SUCCEEDED(::DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked != 0;
}

bool RealSystem::IsSessionDisconnected() {
    LPWSTR buffer = nullptr;
    DWORD bytes = 0;
    if (!::WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, WTSConnectState, &buffer,
                                       &bytes) ||
        !buffer)
        return false;
    const bool disconnected = bytes >= sizeof(WTS_CONNECTSTATE_CLASS) &&
                              *reinterpret_cast<const WTS_CONNECTSTATE_CLASS*>(buffer) == WTSDisconnected;
    ::WTSFreeMemory(buffer);
    return disconnected;
}

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace fw

#include "app/desktop.h"

// gethostbyname: the host's address list in the resolver's order, which the tooltip relies on.
#define _WINSOCK_DEPRECATED_NO_WARNINGS
#include <winsock2.h>
#include <shldisp.h>

#include <algorithm>
#include <cstring>

#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/texts.h"
#include "resource.h"

namespace {

// Shell application object and its automation interface.
constexpr CLSID kShellApplication = {0x13709620, 0xC279, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr IID kShellDispatch = {0xD8F015C0, 0xC278, 0x11CE, {0xA4, 0x9E, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

constexpr char kDesktopTitle[] = "Program Manager";

// The Start menu's title on Korean Windows, in the ANSI code page.
const std::string& StartMenuTitle() {
    static const std::string title = mb::Narrow(fw::LoadText(IDS_START_MENU_TITLE));
    return title;
}

std::string WindowTitle(HWND hwnd) {
    char text[512] = {};
    int n = ::GetWindowTextA(hwnd, text, sizeof(text));
    return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

}  // namespace

HWND FindDesktopIconView() {
    if (HWND progman = ::FindWindowW(L"Progman", nullptr))
        if (HWND view = ::FindWindowExW(progman, nullptr, L"ShellDll_DefView", nullptr)) return view;
    // Once the desktop has shown a slideshow or been animated, the view lives in a WorkerW.
    for (HWND top : TopLevelWindowsInZOrder()) {
        wchar_t className[16] = {};
        if (::GetClassNameW(top, className, 16) == 0 || ::lstrcmpiW(className, L"WorkerW") != 0) continue;
        if (HWND view = ::FindWindowExW(top, nullptr, L"ShellDll_DefView", nullptr)) return view;
    }
    return nullptr;
}

HWND FindDesktopIconList() {
    HWND view = FindDesktopIconView();
    return view ? ::FindWindowExW(view, nullptr, L"SysListView32", nullptr) : nullptr;
}

void ToggleDesktopIcons(EnvSettings& env) {
    env.isiconhide = env.isiconhide ? 0 : 1;
    if (HWND list = FindDesktopIconList()) ::ShowWindow(list, env.isiconhide ? SW_HIDE : SW_SHOW);
}

void ShowDesktopIcons() {
    if (HWND list = FindDesktopIconList()) ::ShowWindow(list, SW_SHOW);
}

bool HideDesktopIcons() {
    HWND list = FindDesktopIconList();
    if (list) ::ShowWindow(list, SW_HIDE);
    return list != nullptr;
}

void ShowDesktop() {
    fw::ComApartment com;
    if (!com.ok()) return;
    IShellDispatch* shell = nullptr;
    if (SUCCEEDED(::CoCreateInstance(kShellApplication, nullptr, CLSCTX_INPROC_SERVER, kShellDispatch,
                                     reinterpret_cast<void**>(&shell))) &&
        shell) {
        shell->MinimizeAll();
        shell->Release();
    }
}

bool IsOutOfUsersWay(const TopWindowRecord& w) {
    const bool taskbarButton = (w.exStyle & WS_EX_APPWINDOW) != 0;
    if (!taskbarButton && (w.exStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE))) return true;
    constexpr LONG_PTR kClickThrough = WS_EX_LAYERED | WS_EX_TRANSPARENT;
    if ((w.exStyle & kClickThrough) == kClickThrough) return true;
    return w.rect.right <= w.rect.left || w.rect.bottom <= w.rect.top;
}

bool IsOtherProgramActive(const std::vector<TopWindowRecord>& walk, const OutProgramList& outPrograms) {
    for (const TopWindowRecord& w : walk) {
        // A cloaked window is never seen, whatever it claims: a closed Start menu among them.
        if (!w.visible || w.cloaked || w.title.empty()) continue;
        if (w.ownedOrChild) {
            if (w.title == StartMenuTitle()) return true;
            continue;
        }
        if (w.title == kDesktopTitle || w.iconic || IsOutOfUsersWay(w)) continue;
        // Any program but the ones the user excepted.
        if (std::find(outPrograms.begin(), outPrograms.end(), w.title) == outPrograms.end()) return true;
    }
    return false;
}

TopWindowRecord DescribeWindow(HWND hwnd, fw::ISystem& system) {
    TopWindowRecord record;
    record.hwnd = hwnd;
    record.visible = ::IsWindowVisible(hwnd) != FALSE;
    record.ownedOrChild = ::GetWindow(hwnd, GW_OWNER) != nullptr || ::GetParent(hwnd) != nullptr;
    record.iconic = ::IsIconic(hwnd) != FALSE;
    record.cloaked = record.visible && system.IsWindowCloaked(hwnd);
    record.exStyle = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    if (!::GetWindowRect(hwnd, &record.rect)) record.rect = RECT{};
    record.title = WindowTitle(hwnd);
    return record;
}

std::vector<HWND> TopLevelWindowsInZOrder() {
    std::vector<HWND> windows;
    ::EnumWindows(
        [](HWND hwnd, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<TopWindowRecord> WalkTopLevelWindows(const std::function<TopWindowRecord(HWND)>& describe) {
    std::vector<TopWindowRecord> walk;
    for (HWND hwnd : TopLevelWindowsInZOrder()) walk.push_back(describe(hwnd));
    return walk;
}

bool IsOtherProgramActive(fw::ISystem& system, const OutProgramList& outPrograms) {
    return IsOtherProgramActive(WalkTopLevelWindows([&system](HWND hwnd) { return DescribeWindow(hwnd, system); }),
                                outPrograms);
}

std::string IpTextFromAddresses(const std::vector<std::string>& addresses) {
    return mb::Narrow(fw::LoadText(IDS_TRAY_ADDRESS, {addresses.empty() ? std::wstring() : mb::Widen(addresses.back())}));
}

std::vector<std::string> HostAddresses() {
    // Started once for the program's life; never cleaned up.
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    std::vector<std::string> addresses;
    char name[257] = {};
    if (::gethostname(name, 256) != 0) return addresses;
    hostent* host = ::gethostbyname(name);
    if (!host || host->h_addrtype != AF_INET || !host->h_addr_list) return addresses;
    for (char** entry = host->h_addr_list; *entry; ++entry) {
        in_addr address;
        std::memcpy(&address, *entry, sizeof(address));
        addresses.emplace_back(::inet_ntoa(address));
    }
    return addresses;
}

std::string GetIpText() { return IpTextFromAddresses(HostAddresses()); }

// Drives the program's windows for the screenshot scripts the way a user's clicks and keys reach
// them: the tray icon's right click, the tray menu's keys, the settings window's page list, a
// typed field, the close box and the OK buttons; and tells where a window is, for crops.
//   window-poke wait TITLE          until a window so titled exists (30 s at most)
//   window-poke menu [X Y]          a right click on the tray icon, the pointer at X,Y or the icon
//   window-poke hover               the pointer over the tray icon, for its tooltip
//   window-poke menu-key up|enter   a key in the open menu
//   window-poke page N              a click on the settings window's page N
//   window-poke field NAME=TEXT     types TEXT into a field of the shown settings page
//   window-poke close-box           the settings window's close box
//   window-poke ok TITLE            the OK button of that box
//   window-poke rect TITLE          the window's rectangle as WxH+X+Y
// TITLE is one of main, settings, about, refusal, swatches.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/tray_icon.h"
#include "resource.h"
#include "version.h"

namespace {

// The Korean face's title, or the English face's (englishFace).
const wchar_t* TitleOf(const char* name, bool englishFace) {
    if (!std::strcmp(name, "settings")) return englishFace ? L"Dioramix - Settings" : L"Dioramix-\uD658\uACBD\uC124\uC815";
    if (!std::strcmp(name, "about"))
        return englishFace ? DIORAMIX_VERSION_WIDE L" - About Dioramix" : DIORAMIX_VERSION_WIDE L" \uC815\uBCF4";  // "<version> 정보"
    if (!std::strcmp(name, "refusal")) return englishFace ? L"Dioramix settings" : L"Dioramix\uC124\uC815";
    if (!std::strcmp(name, "swatches")) return L"Swatches";
    return L"Dioramix";
}

HWND Find(const char* title) {
    HWND found = FindWindowW(nullptr, TitleOf(title, false));
    return found ? found : FindWindowW(nullptr, TitleOf(title, true));
}

// The settings fields the scripts type into, by the names they use.
int FieldId(const char* name, size_t length) {
    struct Field {
        const char* name;
        int id;
    };
    static const Field kFields[] = {{"photo-size", IDC_FORE_SIZE}};
    for (const Field& f : kFields)
        if (std::strlen(f.name) == length && !std::strncmp(f.name, name, length)) return f.id;
    return 0;
}

void Key(HWND target, WPARAM key) {
    PostMessageW(target, WM_KEYDOWN, key, 0);
    PostMessageW(target, WM_KEYUP, key, 0);
}

void Click(HWND target, const RECT& r) {
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(target, WM_LBUTTONUP, 0, at);
}

// Where the tray icon is: its own window when the shell gives it one, else the newest icon at
// the tray's right end. False without a task bar.
bool TrayIconPoint(POINT& at) {
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!tray) return false;
    HWND icon = FindWindowExW(tray, nullptr, L"tray_icon", nullptr);
    RECT r{};
    GetWindowRect(icon ? icon : tray, &r);
    at = {icon ? (r.left + r.right) / 2 : r.right - 10, (r.top + r.bottom) / 2};
    return true;
}

HWND EditOf(HWND host, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        host,
        [](HWND w, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (GetDlgCtrlID(w) != s->id || lstrcmpiW(cls, L"Edit")) return TRUE;
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int Wait(const char* title, int, char**) {
    for (int i = 0; i < 300; ++i, Sleep(100))
        if (Find(title)) return 0;
    std::printf("window-poke: no window %s\n", title);
    return 1;
}

int Menu(const char*, int argc, char** argv) {
    HWND app = Find("main");
    if (!app) {
        std::puts("window-poke: no window titled Dioramix");
        return 1;
    }
    POINT at{};
    if (argc > 3) at = {std::atoi(argv[2]), std::atoi(argv[3])};
    else TrayIconPoint(at);
    SetCursorPos(at.x, at.y);
    return PostMessageW(app, WM_TRAYNOTIFY, kTrayIconId, WM_RBUTTONUP) ? 0 : 1;
}

int Hover(const char*, int, char**) {
    POINT at{};
    if (!TrayIconPoint(at)) return 1;
    std::printf("window-poke: tray icon at %ld,%ld\n", at.x, at.y);
    SetCursorPos(at.x - 3, at.y - 1);  // a move onto the icon, not a jump
    Sleep(150);
    SetCursorPos(at.x, at.y);
    return 0;
}

int MenuKey(const char* key, int, char**) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu) {
        std::puts("window-poke: no menu open");
        return 1;
    }
    Key(menu, !std::strcmp(key, "up") ? VK_UP : VK_RETURN);  // Up from no selection: the last entry
    return 0;
}

int Page(const char* index, int, char**) {
    HWND host = Find("settings");
    HWND list = host ? GetDlgItem(host, IDC_PAGE_LIST) : nullptr;
    RECT r{};
    if (!list || SendMessageW(list, LB_GETITEMRECT, std::atoi(index), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
        return 1;
    Click(list, r);
    return 0;
}

int Field(const char* assignment, int, char**) {
    const char* text = std::strchr(assignment, '=');
    const int id = text ? FieldId(assignment, static_cast<size_t>(text - assignment)) : 0;
    HWND host = Find("settings");
    HWND edit = host && id ? EditOf(host, id) : nullptr;
    return edit && SetWindowTextA(edit, text + 1) ? 0 : 1;
}

int CloseBox(const char*, int, char**) {
    HWND host = Find("settings");
    return host && PostMessageW(host, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
}

int Ok(const char* title, int, char**) {
    HWND box = Find(title);
    return box && PostMessageW(box, WM_COMMAND, IDOK, 0) ? 0 : 1;
}

int Rect(const char* title, int, char**) {
    HWND w = Find(title);
    RECT r{};
    if (!w || !GetWindowRect(w, &r)) return 1;
    std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    return 0;
}

struct Command {
    const char* name;
    int (*run)(const char* arg, int argc, char** argv);
};

const Command kCommands[] = {
    {"wait", Wait}, {"menu", Menu},         {"hover", Hover},       {"menu-key", MenuKey}, {"page", Page},
    {"field", Field}, {"close-box", CloseBox}, {"ok", Ok}, {"rect", Rect},
};

}  // namespace

int main(int argc, char** argv) {
    const char* what = argc > 1 ? argv[1] : "";
    for (const Command& c : kCommands)
        if (!std::strcmp(what, c.name)) return c.run(argc > 2 ? argv[2] : "", argc, argv);
    std::puts("usage: window-poke wait|ok|rect TITLE | menu [X Y] | hover | menu-key up|enter | page N | "
              "field NAME=TEXT | close-box");
    return 2;
}

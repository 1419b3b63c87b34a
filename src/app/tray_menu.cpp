#include "app/tray_menu.h"

#include <algorithm>

#include "app/main_window_logic.h"
#include "framework/handles.h"
#include "framework/mbstring.h"
#include "resource.h"

namespace {

constexpr int kGradientSteps = 256;

int Channel(int from, int to, int step) { return from + ::MulDiv(to - from, step, kGradientSteps - 1); }

std::wstring LoadVersion(HINSTANCE resources) {
    wchar_t text[64] = {};
    ::LoadStringW(resources, IDS_VERSION, text, 64);
    return text;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    fw::Brush brush(::CreateSolidBrush(color));
    ::FillRect(dc, &rect, brush.get());
}

void DrawBannerGradient(HDC dc, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up: row 0 is the bottom row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        COLORREF c = BannerColorForRow(y, height);
        DWORD bgra = (static_cast<DWORD>(GetRValue(c)) << 16) | (static_cast<DWORD>(GetGValue(c)) << 8) | GetBValue(c);
        std::fill_n(pixels.begin() + static_cast<ptrdiff_t>(y) * width, width, bgra);
    }
    ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                        static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
}

void DrawBannerCaption(HDC dc, int height, const std::wstring& caption) {
    fw::Font font(::CreateFontW(16, 0, 900, 900, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Arial"));
    fw::SelectObjectGuard select(dc, font.get());
    COLORREF oldColor = ::SetTextColor(dc, RGB(255, 255, 255));
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    ::TextOutW(dc, 2, height - 4, caption.c_str(), static_cast<int>(caption.size()));
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColor);
}

}  // namespace

COLORREF BannerColorForRow(int rowFromBottom, int height) {
    if (height <= 0) return kBannerBottom;
    int step = std::clamp(::MulDiv(rowFromBottom, kGradientSteps, height), 0, kGradientSteps - 1);
    return RGB(Channel(GetRValue(kBannerBottom), GetRValue(kBannerTop), step),
               Channel(GetGValue(kBannerBottom), GetGValue(kBannerTop), step),
               Channel(GetBValue(kBannerBottom), GetBValue(kBannerTop), step));
}

void DrawTrayBanner(HDC dc, int width, int height, const std::wstring& caption) {
    if (width <= 0 || height <= 0) return;
    DrawBannerGradient(dc, width, height);
    DrawBannerCaption(dc, height, caption);
    FillSolid(dc, RECT{23, 1, width - 7, height}, RGB(255, 255, 255));
}

void DrawTrayMenuItem(const DRAWITEMSTRUCT& item, const TrayItemDrawing& drawing) {
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    const RECT outer{r.left + 24, r.top + 1, r.right - 5, r.bottom};
    const RECT inner{r.left + 25, r.top + 2, r.right - 6, r.bottom - 1};
    RECT textRect{r.left + 42, r.top + 2, r.right - 6, r.bottom - 1};

    if (item.itemID == ID_TRAY_CURRENT_IMAGES && item.itemAction == ODA_DRAWENTIRE)
        DrawTrayBanner(dc, r.right + 3, drawing.menuHeight, L" Dioramix " + drawing.version);

    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    if (selected && (item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
        FillSolid(dc, outer, kSelectionOuter);
        FillSolid(dc, inner, kSelectionInner);
    } else if (!selected && (item.itemAction & ODA_SELECT)) {
        FillSolid(dc, outer, RGB(255, 255, 255));
    }

    const std::wstring empty;
    const std::wstring& text = drawing.text ? *drawing.text : empty;
    if (!text.empty()) {
        // The menu text colour also on a selected item: the highlight text colour a system may
        // leave in the DC (white) cannot be read on the pale selection.
        int oldMode = ::SetBkMode(dc, TRANSPARENT);
        COLORREF oldColor = ::SetTextColor(dc, ::GetSysColor(COLOR_MENUTEXT));
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER);
        ::SetTextColor(dc, oldColor);
        ::SetBkMode(dc, oldMode);
    } else {
        ::MoveToEx(dc, r.left + 42, r.top + 2, nullptr);
        ::LineTo(dc, r.right - 10, r.top + 2);
    }

    if (item.itemID == ID_TRAY_PAUSE && (item.itemState & ODS_CHECKED) && drawing.pauseMark)
        ::DrawIconEx(dc, r.left + 23, r.top + 3, drawing.pauseMark, 16, 16, 0, nullptr, DI_NORMAL);
}

int TrayItemWidth(const std::wstring& text, int averageCharWidth) {
    return static_cast<int>(mb::Narrow(text).size()) * averageCharWidth + 10;
}

CTrayMenu::CTrayMenu(HMENU popup, HINSTANCE resources) : m_menu(popup), m_resources(resources) {}

CTrayMenu::~CTrayMenu() = default;

void CTrayMenu::ConvertItems() {
    const int count = ::GetMenuItemCount(m_menu);
    for (int pos = 0; pos < count; ++pos) {
        auto item = std::make_unique<Item>();
        wchar_t text[1025] = {};
        ::GetMenuStringW(m_menu, static_cast<UINT>(pos), text, 1024, MF_BYPOSITION);
        item->text = text;
        const UINT id = ::GetMenuItemID(m_menu, pos);
        const auto data = reinterpret_cast<LPCWSTR>(item.get());
        if (id != 0 && id != static_cast<UINT>(-1)) {
            ::ModifyMenuW(m_menu, static_cast<UINT>(pos), MF_BYPOSITION | MF_OWNERDRAW, id, data);
            m_menuHeight += kTrayItemHeight;
        } else if (id == 0) {
            ::ModifyMenuW(m_menu, static_cast<UINT>(pos), MF_BYPOSITION | MF_OWNERDRAW | MF_SEPARATOR, 0, data);
            m_menuHeight += kTraySeparatorHeight;
        }
        m_items.push_back(std::move(item));
    }
}

void CTrayMenu::SetItemText(int index, const std::wstring& text) {
    if (index >= 0 && static_cast<size_t>(index) < m_items.size()) m_items[static_cast<size_t>(index)]->text = text;
}

void CTrayMenu::MeasureItem(MEASUREITEMSTRUCT& item) {
    const auto* record = reinterpret_cast<const Item*>(item.itemData);
    const std::wstring text = record ? record->text : std::wstring();
    item.itemHeight = text.empty() ? kTraySeparatorHeight : kTrayItemHeight;
    fw::WindowDc screen(nullptr);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(screen.get(), &metrics);
    item.itemWidth = static_cast<UINT>(TrayItemWidth(text, metrics.tmAveCharWidth));
}

void CTrayMenu::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU) return;
    TrayItemDrawing drawing;
    const auto* record = reinterpret_cast<const Item*>(item.itemData);
    drawing.text = record ? &record->text : nullptr;
    drawing.menuHeight = m_menuHeight;
    drawing.version = LoadVersion(m_resources);
    // Shared icon from the module: owned by the system.
    drawing.pauseMark = static_cast<HICON>(
        ::LoadImageW(m_resources, MAKEINTRESOURCEW(IDI_PAUSE_MARK), IMAGE_ICON, 16, 16, LR_SHARED));
    DrawTrayMenuItem(item, drawing);
}

void ApplyTrayMenuState(CTrayMenu& menu, const TrayMenuState& state) {
    ::CheckMenuItem(menu.GetSafeHmenu(), ID_TRAY_PAUSE, MF_BYCOMMAND | (state.pauseChecked ? MF_CHECKED : MF_UNCHECKED));
    if (state.replaceIconItemText) menu.SetItemText(3, state.iconItemText);
}

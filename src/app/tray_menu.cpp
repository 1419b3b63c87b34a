#include "app/tray_menu.h"

#include <algorithm>

#include "app/main_window_logic.h"
#include "framework/dpi.h"
#include "framework/font_faces.h"
#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/system.h"
#include "framework/texts.h"
#include "resource.h"

namespace {

constexpr int kGradientSteps = 256;

int Channel(int from, int to, int step) { return from + ::MulDiv(to - from, step, kGradientSteps - 1); }

std::wstring LoadVersion(HINSTANCE resources) {
    wchar_t text[64] = {};
    ::LoadStringW(resources, IDS_VERSION, text, 64);
    return text;
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

void DrawBannerCaption(HDC dc, int height, const std::wstring& caption, UINT dpi) {
    fw::Font font(::CreateFontW(fw::ScaleForDpi(16, dpi), 0, 900, 900, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                fw::kBannerFace));
    fw::SelectObjectGuard select(dc, font.get());
    COLORREF oldColor = ::SetTextColor(dc, RGB(255, 255, 255));
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    ::TextOutW(dc, fw::ScaleForDpi(2, dpi), height - fw::ScaleForDpi(4, dpi), caption.c_str(),
               static_cast<int>(caption.size()));
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColor);
}

// The item's own band of the banner: the DC is clipped to the item, so a menu redrawn one
// item at a time (or a system that clips each item) shows the same banner.
void DrawBannerBand(HDC dc, const RECT& item, const TrayItemDrawing& drawing) {
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, item.left, item.top, item.right, item.bottom);
    // The banner starts with the first item, which need not be at the top of the DC (a menu
    // window's border can come first).
    ::OffsetViewportOrgEx(dc, 0, drawing.menuTop, nullptr);
    DrawTrayBanner(dc, item.right + fw::ScaleForDpi(3, drawing.dpi), drawing.menuHeight,
                   fw::LoadText(IDS_TRAY_BANNER, {drawing.version}), drawing.dpi,
                   TrayMenuColorsFor(drawing.highContrast).panel);
    ::RestoreDC(dc, saved);
}

}  // namespace

COLORREF BannerColorForRow(int rowFromBottom, int height) {
    if (height <= 0) return kBannerBottom;
    int step = std::clamp(::MulDiv(rowFromBottom, kGradientSteps, height), 0, kGradientSteps - 1);
    return RGB(Channel(GetRValue(kBannerBottom), GetRValue(kBannerTop), step),
               Channel(GetGValue(kBannerBottom), GetGValue(kBannerTop), step),
               Channel(GetBValue(kBannerBottom), GetBValue(kBannerTop), step));
}

TrayMenuColors TrayMenuColorsFor(bool highContrast) {
    if (highContrast) {
        const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
        return {::GetSysColor(COLOR_MENU), ::GetSysColor(COLOR_MENUTEXT), highlight, highlight,
                ::GetSysColor(COLOR_HIGHLIGHTTEXT)};
    }
    // The menu text colour also on a selected item: the highlight text colour (white) cannot be
    // read on the pale selection.
    const COLORREF text = ::GetSysColor(COLOR_MENUTEXT);
    return {RGB(255, 255, 255), text, kSelectionOuter, kSelectionInner, text};
}

void DrawTrayBanner(HDC dc, int width, int height, const std::wstring& caption, UINT dpi, COLORREF panel) {
    if (width <= 0 || height <= 0) return;
    DrawBannerGradient(dc, width, height);
    DrawBannerCaption(dc, height, caption, dpi);
    const int edge = fw::ScaleForDpi(7, dpi);
    fw::FillSolid(dc, RECT{fw::ScaleForDpi(23, dpi), fw::ScaleForDpi(1, dpi), width - edge, height}, panel);
}

void DrawTrayMenuItem(const DRAWITEMSTRUCT& item, const TrayItemDrawing& drawing) {
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    auto px = [&drawing](int length) { return fw::ScaleForDpi(length, drawing.dpi); };
    const RECT outer{r.left + px(24), r.top + px(1), r.right - px(5), r.bottom};
    const RECT inner{r.left + px(25), r.top + px(2), r.right - px(6), r.bottom - px(1)};
    RECT textRect{r.left + px(42), r.top + px(2), r.right - px(6), r.bottom - px(1)};

    if (item.itemAction == ODA_DRAWENTIRE) DrawBannerBand(dc, r, drawing);

    const TrayMenuColors colors = TrayMenuColorsFor(drawing.highContrast);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    if (selected && (item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
        fw::FillSolid(dc, outer, colors.selectionOuter);
        fw::FillSolid(dc, inner, colors.selectionInner);
    } else if (!selected && (item.itemAction & ODA_SELECT)) {
        fw::FillSolid(dc, outer, colors.panel);
    }

    const std::wstring empty;
    const std::wstring& text = drawing.text ? *drawing.text : empty;
    if (!text.empty()) {
        // Whatever text colour the system left in the DC, the one that goes with the fill.
        int oldMode = ::SetBkMode(dc, TRANSPARENT);
        COLORREF oldColor = ::SetTextColor(dc, selected ? colors.selectedText : colors.text);
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER);
        ::SetTextColor(dc, oldColor);
        ::SetBkMode(dc, oldMode);
    } else {
        // The DC's pen normally; in a high-contrast theme the menu text colour, seen on its panel.
        fw::Pen textPen(drawing.highContrast ? ::CreatePen(PS_SOLID, 1, colors.text) : nullptr);
        fw::SelectObjectGuard pen(dc, textPen ? static_cast<HGDIOBJ>(textPen.get()) : ::GetCurrentObject(dc, OBJ_PEN));
        ::MoveToEx(dc, r.left + px(42), r.top + px(2), nullptr);
        ::LineTo(dc, r.right - px(10), r.top + px(2));
    }

    if (item.itemID == ID_TRAY_PAUSE && (item.itemState & ODS_CHECKED) && drawing.pauseMark) {
        const int size = px(16);
        ::DrawIconEx(dc, r.left + px(23), r.top + px(3), drawing.pauseMark, size, size, 0, nullptr, DI_NORMAL);
    }
}

TrayRowHeights TrayRowHeightsFor(UINT dpi, int fontHeight) {
    TrayRowHeights rows;
    // The text sits between T+2 and B-1: a large menu font needs taller rows than 22.
    rows.item = std::max(fw::ScaleForDpi(kTrayItemHeight, dpi), fontHeight + fw::ScaleForDpi(4, dpi));
    rows.separator = fw::ScaleForDpi(kTraySeparatorHeight, dpi);
    return rows;
}

int TrayItemWidthFor(int textWidth, UINT dpi) {
    // The text starts 42 pixels in and ends 6 before the right edge; 10 more keep it clear of it.
    return textWidth + fw::ScaleForDpi(42 + 6 + 10, dpi);
}

CTrayMenu::CTrayMenu(HMENU popup, HINSTANCE resources, UINT dpi)
    : m_menu(popup), m_resources(resources), m_dpi(dpi ? dpi : fw::kDefaultDpi), m_highContrast(fw::HighContrastOn()) {
    LOGFONTW menuFont = fw::MenuFont(m_dpi);
    m_font.reset(::CreateFontIndirectW(&menuFont));
    m_rows = TrayRowHeightsFor(m_dpi, TextSize(L"\uAC00Ag").cy);
    const int mark = fw::ScaleForDpi(16, m_dpi);
    m_pauseMark.reset(static_cast<HICON>(
        ::LoadImageW(m_resources, MAKEINTRESOURCEW(IDI_PAUSE_MARK), IMAGE_ICON, mark, mark, 0)));
}

CTrayMenu::~CTrayMenu() = default;

SIZE CTrayMenu::TextSize(const std::wstring& text) const {
    SIZE size{0, 0};
    fw::WindowDc screen(nullptr);
    fw::SelectObjectGuard select(screen.get(), m_font ? static_cast<HGDIOBJ>(m_font.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void CTrayMenu::ConvertItems() {
    const int count = ::GetMenuItemCount(m_menu);
    for (int pos = 0; pos < count; ++pos) {
        auto item = std::make_unique<Item>();
        wchar_t text[1025] = {};
        ::GetMenuStringW(m_menu, static_cast<UINT>(pos), text, 1024, MF_BYPOSITION);
        item->text = text;
        const UINT id = ::GetMenuItemID(m_menu, pos);
        const bool separator = id == 0;
        if (separator || id != static_cast<UINT>(-1)) {
            ::ModifyMenuW(m_menu, static_cast<UINT>(pos), MF_BYPOSITION | MF_OWNERDRAW | (separator ? MF_SEPARATOR : 0),
                          id, reinterpret_cast<LPCWSTR>(item.get()));
            item->top = m_menuHeight;
            m_menuHeight += separator ? m_rows.separator : m_rows.item;
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
    item.itemHeight = static_cast<UINT>(text.empty() ? m_rows.separator : m_rows.item);
    // Measured in the font the menu draws with, at the menu's DPI.
    item.itemWidth = static_cast<UINT>(TrayItemWidthFor(text.empty() ? 0 : TextSize(text).cx, m_dpi));
}

void CTrayMenu::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU) return;
    TrayItemDrawing drawing;
    const auto* record = reinterpret_cast<const Item*>(item.itemData);
    drawing.text = record ? &record->text : nullptr;
    drawing.menuHeight = m_menuHeight;
    if (record) drawing.menuTop = item.rcItem.top - record->top;
    drawing.version = LoadVersion(m_resources);
    drawing.dpi = m_dpi;
    drawing.highContrast = m_highContrast;
    drawing.pauseMark = m_pauseMark.get();
    // The text is measured in the menu font; draw it in that font whatever the DC holds.
    fw::SelectObjectGuard select(item.hDC, m_font.get());
    DrawTrayMenuItem(item, drawing);
}

void ApplyTrayMenuState(CTrayMenu& menu, const TrayMenuState& state) {
    ::CheckMenuItem(menu.GetSafeHmenu(), ID_TRAY_PAUSE, MF_BYCOMMAND | (state.pauseChecked ? MF_CHECKED : MF_UNCHECKED));
    if (state.replaceIconItemText) menu.SetItemText(3, state.iconItemText);
}

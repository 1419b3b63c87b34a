#include "composer/calendar.h"

#include <cstdio>

#include "composer/canvas.h"
#include "composer/text.h"
#include "framework/dpi.h"
#include "framework/mbstring.h"
#include "state/data_files.h"

namespace {

const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
const Gdiplus::Color kMarkedDayColor(255, 255, 255, 157);

INT FontStyle(bool bold, bool italic) {
    return (bold ? Gdiplus::FontStyleBold : 0) | (italic ? Gdiplus::FontStyleItalic : 0);
}

void FillBar(Gdiplus::Graphics& g, const Gdiplus::Rect& bar, const Gdiplus::Color& left, const Gdiplus::Color& right) {
    // The horizontal mode is the angle-0 gradient across the rectangle, stated without an angle: some
    // GDI+ versions stretch an angled gradient over a long, flat bar beyond its ends.
    Gdiplus::LinearGradientBrush brush(bar, left, right, Gdiplus::LinearGradientModeHorizontal);
    brush.SetWrapMode(Gdiplus::WrapModeTile);
    g.FillRectangle(&brush, bar);
}

std::string DayKey(const char* prefix, int month, int day) {
    char key[32];
    std::snprintf(key, sizeof key, "%s%d.%d", prefix, month, day);
    return key;
}

Gdiplus::Color DayColor(const EnvSettings& env, const SpecialDays& days, int month, int day, int firstWeekday) {
    if (days.count(DayKey("*", month, day))) return kMarkedDayColor;
    int c = (day + firstWeekday) % 7;  // 0 Saturday, 1 Sunday
    if (days.count(DayKey("", month, day))) c = 1;
    if (c == 0) return OpaqueColor(env.bluedaycolor);
    if (c == 1) return OpaqueColor(env.reddaycolor);
    return OpaqueColor(env.whitedaycolor);
}

void DrawTodayMarker(Gdiplus::Graphics& g, const std::string& path, const Gdiplus::RectF& layout, int day,
                     const CalendarGeometry& geometry) {
    std::wstring wide = mb::Widen(path);
    Gdiplus::Image marker(wide.c_str());
    if (marker.GetLastStatus() != Gdiplus::Ok) return;
    int x = static_cast<int>(layout.X + layout.Width - (day < 10 ? geometry.markerOneDigit : geometry.markerTwoDigits));
    int y = static_cast<int>(layout.Y - geometry.markerRaise);
    g.DrawImage(&marker, x, y, geometry.markerSize, geometry.markerSize);
}

Gdiplus::RectF AsRectF(const Gdiplus::Rect& r) {
    return {static_cast<Gdiplus::REAL>(r.X), static_cast<Gdiplus::REAL>(r.Y), static_cast<Gdiplus::REAL>(r.Width),
            static_cast<Gdiplus::REAL>(r.Height)};
}

}  // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    if (month < 1 || month > 12) return 0;
    if (month == 2 && IsLeapYear(year)) return 29;
    return kMonthDays[month - 1];
}

int FirstWeekdayOfMonth(int year, int month) {
    long long y = year - 1LL;
    long long days = 365 * y + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month && m <= 12; ++m) days += DaysInMonth(year, m);
    int weekday = static_cast<int>((days + 1) % 7);
    return weekday < 0 ? weekday + 7 : weekday;
}

CalendarGeometry CalendarLayout(const fw::WorkArea& wa, UINT dpi) {
    dpi = fw::UsableDpi(dpi);
    const auto scaled = [dpi](int length) { return fw::ScaleForDpi(length, dpi); };
    const float scale = fw::DpiScale(dpi);
    const int right = wa.x + wa.width, bottom = wa.y + wa.height;
    CalendarGeometry geometry;
    geometry.monthBar = Gdiplus::Rect(right - scaled(200), bottom - scaled(82), scaled(200), scaled(30));
    geometry.dayBar = Gdiplus::Rect(right - scaled(800), bottom - scaled(44), scaled(800), scaled(16));
    geometry.monthFontSize = 30 * scale;
    geometry.dayFontSize = 16 * scale;
    geometry.twoDigitDay = 16 * scale;
    geometry.oneDigitDay = 10 * scale;
    geometry.spacing = TextSpacingAt(dpi);
    geometry.markerSize = scaled(32);
    geometry.markerTwoDigits = scaled(29);
    geometry.markerOneDigit = scaled(24);
    geometry.markerRaise = scaled(6);
    return geometry;
}

bool DrawCalendar(Gdiplus::Graphics& g, const fw::WorkArea& wa, const EnvSettings& env, const SpecialDays& days,
                  const fw::LocalDate& today, UINT dpi) {
    const CalendarGeometry geometry = CalendarLayout(wa, dpi);

    FillBar(g, geometry.monthBar, Gdiplus::Color(1, 1, 0, 0), Gdiplus::Color(210, 0, 0, 0));
    char title[32];
    std::snprintf(title, sizeof title, "%d. %d.", today.year, today.month);
    auto monthFont = MakeFont(env.ymfontname, geometry.monthFontSize, FontStyle(env.isbold1 != 0, env.isitalic1 != 0));
    Gdiplus::SolidBrush titleBrush(OpaqueColor(env.yymmcolor));
    Gdiplus::RectF titleLayout = AsRectF(geometry.monthBar);
    DrawShadowedString(g, title, *monthFont, titleLayout, titleBrush, geometry.spacing);

    FillBar(g, geometry.dayBar, Gdiplus::Color(0, 0, 0, 0), Gdiplus::Color(210, 0, 0, 0));
    auto dayFont = MakeFont(env.ddfontname, geometry.dayFontSize, FontStyle(env.isbold2 != 0, env.isitalic2 != 0));
    Gdiplus::SolidBrush dayBrush(Gdiplus::Color(255, 255, 255, 255));
    Gdiplus::RectF layout = AsRectF(geometry.dayBar);

    const int firstWeekday = FirstWeekdayOfMonth(today.year, today.month);
    const std::string markerPath = env.InstalledFilePath(data_files::kCalendarMarker);
    for (int day = DaysInMonth(today.year, today.month); day >= 1; --day) {
        dayBrush.SetColor(DayColor(env, days, today.month, day, firstWeekday));
        DrawShadowedString(g, std::to_string(day), *dayFont, layout, dayBrush, geometry.spacing);
        if (day == today.day) DrawTodayMarker(g, markerPath, layout, day, geometry);
        layout.Width -= day >= 10 ? geometry.twoDigitDay : geometry.oneDigitDay;
    }
    return true;
}

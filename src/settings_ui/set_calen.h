#pragma once
// Page 4, "달력 설정": the calendar's fonts and colours.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "resource.h"
#include "settings_ui/color_button.h"
#include "settings_ui/label_static.h"
#include "settings_ui/settings_page.h"

// Whether an enumerated face belongs in the font lists: only on a double-byte system, never a
// vertical-writing face ("@..."), TrueType only, ANSI or Hangul character set.
bool IsCalendarFace(std::string_view face, DWORD fontType, BYTE charSet, bool dbcsSystem);
// Which item of a sorted face list a stored name selects: the item equal to it (ignoring case),
// else the first item it begins, searched from the second item round to the first as the list's
// own prefix search does; -1 when none.
int FindStoredFace(const std::vector<std::string>& items, const std::string& stored);
// The character height of a point size: -(points x pixels per inch / 72), rounded as MulDiv rounds.
LONG PointsToHeight(int points, int logPixelsY);
// The preview's font: the face at the given size, bold and italic; every other field zero.
LOGFONTA CalendarPreviewFont(const std::string& face, int points, int logPixelsY, bool bold, bool italic);

class CSetCalen : public CSettingsPageImpl<CSetCalen> {
public:
    static constexpr int kYearMonthPoints = 22;
    static constexpr int kDayPoints = 12;

    explicit CSetCalen(SettingsContext& context);
    ~CSetCalen() override;

    const CLabelStatic& YearMonthPreview() const { return m_ymPreview; }
    const CLabelStatic& DayPreview() const { return m_dayPreview; }
    const CColorButton& Swatch(int id) const;

    static const fw::Handler<CSetCalen> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    struct FontRow {
        int list, bold, italic;
        int points;
        CLabelStatic& preview;
        uint8_t& isbold;
        uint8_t& isitalic;
        std::string& fontname;
    };

    void OnShowCalendar();
    void OnYearMonthFont() { ApplyFont(YearMonthRow()); }
    void OnDayFont() { ApplyFont(DayRow()); }
    void OnStyle(UINT id);
    void OnColor(UINT id);

    FontRow YearMonthRow();
    FontRow DayRow();
    void FillFontLists();
    std::vector<std::string> ListItems(int list) const;
    void SelectStoredFace(const FontRow& row);
    void ApplyFont(const FontRow& row);
    static int SwatchIndex(int id);
    COLORREF* ColorOption(int index);

    int m_logPixelsY = 96;
    CLabelStatic m_ymPreview;
    CLabelStatic m_dayPreview;
    // Year-month, weekdays, Saturdays, Sundays: swatch and option in the same order.
    static constexpr int kSwatches = 4;
    static constexpr int kSwatchIds[kSwatches] = {IDC_CALEN_YM_COLOR, IDC_CALEN_WEEKDAY_COLOR,
                                                  IDC_CALEN_SATURDAY_COLOR, IDC_CALEN_SUNDAY_COLOR};
    CColorButton m_swatches[kSwatches];
};

#include "settings_ui/set_calen.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/handles.h"
#include "framework/mbstring.h"
#include "resource.h"

bool IsCalendarFace(std::string_view face, DWORD fontType, BYTE charSet, bool dbcsSystem) {
    if (!dbcsSystem || face.empty() || face.front() == '@') return false;
    if (!(fontType & TRUETYPE_FONTTYPE)) return false;
    return charSet == ANSI_CHARSET || charSet == HANGUL_CHARSET;
}

int FindStoredFace(const std::vector<std::string>& items, const std::string& stored) {
    if (stored.empty() || items.empty()) return -1;
    const std::string wanted = mb::ToLower(stored);
    for (size_t i = 0; i < items.size(); ++i)
        if (mb::ToLower(items[i]) == wanted) return static_cast<int>(i);
    for (size_t step = 1; step <= items.size(); ++step) {
        size_t i = step % items.size();
        if (mb::StartsWith(mb::ToLower(items[i]), wanted)) return static_cast<int>(i);
    }
    return -1;
}

LONG PointsToHeight(int points, int logPixelsY) { return -::MulDiv(points, logPixelsY, 72); }

LOGFONTA CalendarPreviewFont(const std::string& face, int points, int logPixelsY, bool bold, bool italic) {
    LOGFONTA lf{};
    // Whole characters only: a face cut inside a character would name no font.
    const std::string cut = mb::CutAtCharacter(face, LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, cut.data(), cut.size());
    lf.lfHeight = PointsToHeight(points, logPixelsY);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    return lf;
}

namespace {

int CALLBACK CollectFace(const LOGFONTW* lf, const TEXTMETRICW*, DWORD fontType, LPARAM param) {
    auto* faces = reinterpret_cast<std::vector<std::string>*>(param);
    const std::string face = mb::Narrow(lf->lfFaceName);
    if (IsCalendarFace(face, fontType, lf->lfCharSet, ::GetSystemMetrics(SM_DBCSENABLED) != 0))
        faces->push_back(face);
    return 1;  // always go on
}

}  // namespace

const fw::Handler<CSetCalen> CSetCalen::kHandlers[] = {
    fw::OnCommand(IDC_CALEN_SHOW, &CSetCalen::OnShowCalendar, BN_CLICKED),
    fw::OnCommand(IDC_CALEN_YM_FONT, &CSetCalen::OnYearMonthFont, CBN_SELCHANGE),
    fw::OnCommand(IDC_CALEN_DAY_FONT, &CSetCalen::OnDayFont, CBN_SELCHANGE),
    fw::OnCommandRange(IDC_CALEN_YM_BOLD, IDC_CALEN_DAY_ITALIC, &CSetCalen::OnStyle, BN_CLICKED),
    fw::OnCommandRange(IDC_CALEN_WEEKDAY_COLOR, IDC_CALEN_SUNDAY_COLOR, &CSetCalen::OnColor, BN_CLICKED),
    fw::OnCommandRange(IDC_CALEN_SATURDAY_COLOR, IDC_CALEN_SATURDAY_COLOR, &CSetCalen::OnColor, BN_CLICKED),
    fw::OnCommandRange(IDC_CALEN_YM_COLOR, IDC_CALEN_YM_COLOR, &CSetCalen::OnColor, BN_CLICKED),
};

CSetCalen::CSetCalen(SettingsContext& context) : CSettingsPageImpl(IDD_SET_CALEN, context) {}

CSetCalen::~CSetCalen() = default;

CSetCalen::FontRow CSetCalen::YearMonthRow() {
    return {IDC_CALEN_YM_FONT, IDC_CALEN_YM_BOLD, IDC_CALEN_YM_ITALIC, kYearMonthPoints, m_ymPreview,
            m_pEnv->isbold1, m_pEnv->isitalic1, m_pEnv->ymfontname};
}

CSetCalen::FontRow CSetCalen::DayRow() {
    return {IDC_CALEN_DAY_FONT, IDC_CALEN_DAY_BOLD, IDC_CALEN_DAY_ITALIC, kDayPoints, m_dayPreview,
            m_pEnv->isbold2, m_pEnv->isitalic2, m_pEnv->ddfontname};
}

BOOL CSetCalen::OnInitDialog() {
    EnvSettings& env = *m_pEnv;
    m_ymPreview.SubclassDlgItem(IDC_CALEN_YM_PREVIEW, m_hwnd);
    m_dayPreview.SubclassDlgItem(IDC_CALEN_DAY_PREVIEW, m_hwnd);
    for (int i = 0; i < kSwatches; ++i) m_swatches[i].SubclassDlgItem(kSwatchIds[i], m_hwnd);

    SetChecked(IDC_CALEN_SHOW, env.iscalender);
    FillFontLists();
    SelectStoredFace(YearMonthRow());
    SelectStoredFace(DayRow());

    struct Initial { bool on; int box; CLabelStatic& preview; UINT bit; };
    const Initial styles[] = {
        {env.isbold1 != 0, IDC_CALEN_YM_BOLD, m_ymPreview, CLabelStatic::kBold},
        {env.isbold2 != 0, IDC_CALEN_DAY_BOLD, m_dayPreview, CLabelStatic::kBold},
        {env.isitalic1 != 0, IDC_CALEN_YM_ITALIC, m_ymPreview, CLabelStatic::kItalic},
        {env.isitalic2 != 0, IDC_CALEN_DAY_ITALIC, m_dayPreview, CLabelStatic::kItalic},
    };
    for (const Initial& s : styles) {
        if (!s.on) continue;
        SetChecked(s.box, true);
        s.preview.SetFontStyle(0, s.bit);
    }

    for (int i = 0; i < kSwatches; ++i) m_swatches[i].SetColor(*ColorOption(i));
    return TRUE;
}

void CSetCalen::FillFontLists() {
    fw::WindowDc dc(m_hwnd);
    m_logPixelsY = ::GetDeviceCaps(dc.get(), LOGPIXELSY);
    std::vector<std::string> faces;
    LOGFONTW all{};
    all.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(dc.get(), &all, CollectFace, reinterpret_cast<LPARAM>(&faces), 0);
    for (int list : {IDC_CALEN_YM_FONT, IDC_CALEN_DAY_FONT}) {
        HWND combo = GetDlgItem(list);
        for (const std::string& face : faces) {
            std::wstring wide = mb::Widen(face);
            // A face comes once per character set; the list names it once.
            if (::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(wide.c_str())) != CB_ERR)
                continue;
            ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        }
    }
}

std::vector<std::string> CSetCalen::ListItems(int list) const {
    std::vector<std::string> items;
    const int count = static_cast<int>(::SendMessageW(GetDlgItem(list), CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) items.push_back(mb::Narrow(ComboText(list, i)));
    return items;
}

void CSetCalen::SelectStoredFace(const FontRow& row) {
    // The stored face itself first: the list's prefix search alone could land on a longer name.
    const int index = FindStoredFace(ListItems(row.list), row.fontname);
    if (index < 0) return;
    ::SendMessageW(GetDlgItem(row.list), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ApplyFont(row);
}

void CSetCalen::ApplyFont(const FontRow& row) {
    if (::SendMessageW(GetDlgItem(row.list), CB_GETCURSEL, 0, 0) == CB_ERR) return;
    const std::string face = mb::Narrow(ComboText(row.list));
    row.preview.SetLogFont(CalendarPreviewFont(face, row.points, m_logPixelsY, row.isbold, row.isitalic));
    row.fontname = face;
}

void CSetCalen::OnShowCalendar() {
    const bool on = IsChecked(IDC_CALEN_SHOW);
    m_pEnv->iscalender = on ? 1 : 0;
    Enable({IDC_CALEN_YM_FONT, IDC_CALEN_DAY_FONT, IDC_CALEN_YM_BOLD, IDC_CALEN_DAY_BOLD, IDC_CALEN_YM_ITALIC,
            IDC_CALEN_DAY_ITALIC, IDC_CALEN_YM_COLOR, IDC_CALEN_WEEKDAY_COLOR, IDC_CALEN_SATURDAY_COLOR,
            IDC_CALEN_SUNDAY_COLOR}, on);
    RequestFreshBackground();
}

void CSetCalen::OnStyle(UINT id) {
    const bool yearMonth = id == IDC_CALEN_YM_BOLD || id == IDC_CALEN_YM_ITALIC;
    const bool bold = id == IDC_CALEN_YM_BOLD || id == IDC_CALEN_DAY_BOLD;
    FontRow row = yearMonth ? YearMonthRow() : DayRow();
    const bool on = IsChecked(static_cast<int>(id));
    const UINT bit = bold ? CLabelStatic::kBold : CLabelStatic::kItalic;
    if (on) row.preview.SetFontStyle(0, bit); else row.preview.SetFontStyle(bit, 0);
    (bold ? row.isbold : row.isitalic) = on ? 1 : 0;
    ::SetFocus(GetDlgItem(row.list));
}

int CSetCalen::SwatchIndex(int id) {
    for (int i = 0; i < kSwatches; ++i)
        if (kSwatchIds[i] == id) return i;
    return -1;
}

COLORREF* CSetCalen::ColorOption(int index) {
    COLORREF* options[kSwatches] = {&m_pEnv->yymmcolor, &m_pEnv->whitedaycolor, &m_pEnv->bluedaycolor,
                                    &m_pEnv->reddaycolor};
    return options[index];
}

const CColorButton& CSetCalen::Swatch(int id) const { return m_swatches[std::max(0, SwatchIndex(id))]; }

void CSetCalen::OnColor(UINT id) {
    if (!m_pEnv->iscalender) return;
    const int index = SwatchIndex(static_cast<int>(id));
    if (index < 0) return;
    ChooseSwatchColor(m_swatches[index], *ColorOption(index));
}

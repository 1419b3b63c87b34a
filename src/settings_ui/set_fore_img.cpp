#include "settings_ui/set_fore_img.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <vector>

#include "composer/placement.h"
#include "framework/handles.h"
#include "framework/texts.h"
#include "resource.h"

int OverlapSizeLimit(int screenWidth, int screenHeight) {
    const int64_t area = static_cast<int64_t>(screenHeight) * screenWidth / 4;
    if (area <= 0) return 0;
    auto root = static_cast<int64_t>(std::sqrt(static_cast<double>(area)));
    while (root * root > area) --root;  // truncated, whatever the rounding of sqrt
    while ((root + 1) * (root + 1) <= area) ++root;
    return static_cast<int>(root);
}

int TenStepArrowStart(int position, int delta) { return position + (delta > 0 ? 9 : -9); }

int PositionMapScale(int screenExtent, int mapExtent) {
    return mapExtent > 0 ? screenExtent * 10 / mapExtent : 0;
}

RECT PositionOnMap(const RECT& r, int xScale, int yScale) {
    if (xScale <= 0 || yScale <= 0) return {};
    return {r.left * 10 / xScale, r.top * 10 / yScale, r.right * 10 / xScale, r.bottom * 10 / yScale};
}

void DrawPositionMap(HDC dc, const RECT& client, const std::vector<RECT>& positions, int xScale, int yScale) {
    fw::SelectObjectGuard brush(dc, ::GetStockObject(WHITE_BRUSH));
    fw::SelectObjectGuard pen(dc, ::GetStockObject(BLACK_PEN));
    ::Rectangle(dc, client.left, client.top, client.right, client.bottom);
    if (xScale <= 0 || yScale <= 0) return;
    for (const RECT& position : positions) {
        const RECT m = PositionOnMap(position, xScale, yScale);
        ::Rectangle(dc, client.left + m.left, client.top + m.top, client.left + m.right, client.top + m.bottom);
    }
}

namespace {

// The controls the foreground switch governs, besides overlap and placement.
constexpr int kPhotoControls[] = {IDC_FORE_SIZE,      IDC_FORE_SIZE_SPIN,       IDC_FORE_NOTSTRETCH,
                                  IDC_FORE_MINUTES,   IDC_FORE_SECONDS,         IDC_FORE_CHANGETIME,
                                  IDC_FORE_CHANGETIME_SPIN, IDC_FORE_SEQUENTIAL, IDC_FORE_RANDOM,
                                  IDC_FORE_CENTRE,    IDC_FORE_RANDOMPOS,       IDC_FORE_USERPOS};

// The placement buttons, by the placement each stands for.
constexpr int kPlacementIds[] = {IDC_FORE_CENTRE, IDC_FORE_USERPOS, IDC_FORE_RANDOMPOS};
static_assert(IDC_FORE_RANDOM == IDC_FORE_SEQUENTIAL + 1 && IDC_FORE_RANDOMPOS == IDC_FORE_CENTRE + 1,
              "the order and placement buttons are handled as id ranges");

constexpr int kMinSecMinutes = 60000;
constexpr int kMinSecSeconds = 1000;

}  // namespace

const fw::Handler<CSetForeImg> CSetForeImg::kHandlers[] = {
    fw::OnCommand(IDC_FORE_USE, &CSetForeImg::OnForegroundSwitch, BN_CLICKED),
    fw::OnCommand(IDC_FORE_NOTSTRETCH, &CSetForeImg::OnNotStretch, BN_CLICKED),
    fw::OnCommand(IDC_FORE_MINUTES, &CSetForeImg::OnMinutes, BN_CLICKED),
    fw::OnCommand(IDC_FORE_SECONDS, &CSetForeImg::OnSeconds, BN_CLICKED),
    fw::OnCommandRange(IDC_FORE_SEQUENTIAL, IDC_FORE_RANDOM, &CSetForeImg::OnOrder, BN_CLICKED),
    fw::OnCommandRange(IDC_FORE_CENTRE, IDC_FORE_RANDOMPOS, &CSetForeImg::OnPlacement, BN_CLICKED),
    fw::OnCommandRange(IDC_FORE_USERPOS, IDC_FORE_USERPOS, &CSetForeImg::OnPlacement, BN_CLICKED),
    fw::OnCommand(IDC_FORE_OVERLAP, &CSetForeImg::OnOverlapSwitch, BN_CLICKED),
    fw::OnCommand(IDC_FORE_BACKGRAY, &CSetForeImg::OnBackGray, BN_CLICKED),
    fw::OnCommand(IDC_FORE_SIZE, &CSetForeImg::OnSizeChanged, EN_CHANGE),
    fw::OnNotify(IDC_FORE_SIZE_SPIN, UDN_DELTAPOS, &CSetForeImg::OnSizeArrow),
    fw::OnCommand(IDC_FORE_POSEDIT, &CSetForeImg::OnOpenPositionEditor, BN_CLICKED),
    fw::OnMessage(WM_DRAWITEM, &CSetForeImg::OnDrawItem),
};

CSetForeImg::CSetForeImg(SettingsContext& context) : CSettingsPageImpl(IDD_SET_FOREIMG, context) {}

CSetForeImg::~CSetForeImg() = default;

BOOL CSetForeImg::OnInitDialog() {
    m_context.m_overlapLimit = 0;  // recomputed below; until then the size watch stays quiet
    const EnvSettings& env = *m_pEnv;
    const int screenWidth = m_context.system.ScreenWidth();

    SetChecked(IDC_FORE_USE, env.isforeimg);
    SetFieldValue(IDC_FORE_SIZE, env.picmaxsize);
    SetSpinRange(IDC_FORE_SIZE_SPIN, 200, MaxPhotoSizeForScreen(screenWidth));
    SetChecked(IDC_FORE_NOTSTRETCH, env.notstrech);
    InitChangeTime();
    SetChecked(env.israndum ? IDC_FORE_RANDOM : IDC_FORE_SEQUENTIAL, true);
    InitPlacement();
    SetChecked(IDC_FORE_OVERLAP, env.isoverlap);
    SetSpinRange(IDC_FORE_CLEARCOUNT_SPIN, 3, 30);
    SetFieldValue(IDC_FORE_CLEARCOUNT, env.piccleartotalcnt);
    SetChecked(IDC_FORE_BACKGRAY, env.isbackgray);
    UpdateEnabling();
    InitOverlapLimit();
    InitPositionMap();
    m_ready = true;
    return TRUE;
}

void CSetForeImg::InitChangeTime() {
    SetFieldValue(IDC_FORE_CHANGETIME, m_pEnv->changetime);
    const bool seconds = m_pEnv->min_sec == kMinSecSeconds;
    SetChecked(seconds ? IDC_FORE_SECONDS : IDC_FORE_MINUTES, true);
    ShowIntervalUnit(seconds ? kMinSecSeconds : kMinSecMinutes);
}

// The unit's label and the interval's range: at least 3 seconds, or at least a minute.
void CSetForeImg::ShowIntervalUnit(int minSec) {
    const bool seconds = minSec == kMinSecSeconds;
    SetText(IDC_FORE_UNIT, fw::LoadText(seconds ? IDS_UNIT_SECONDS : IDS_UNIT_MINUTES));
    SetSpinRange(IDC_FORE_CHANGETIME_SPIN, seconds ? 3 : 1, 60);
}

void CSetForeImg::InitPlacement() {
    if (m_pEnv->imagepos >= 0 && m_pEnv->imagepos < static_cast<int>(std::size(kPlacementIds)))
        SetChecked(kPlacementIds[m_pEnv->imagepos], true);
}

void CSetForeImg::InitOverlapLimit() {
    m_context.m_overlapLimit = OverlapSizeLimit(m_context.system.ScreenWidth(), m_context.system.ScreenHeight());
    SetText(IDC_FORE_OVERLAP, fw::LoadText(IDS_OVERLAP_LABEL, m_context.m_overlapLimit));
}

void CSetForeImg::InitPositionMap() {
    m_context.composer.EnsurePositionsLoaded();  // the map and the editor start from the saved ones
    MeasurePositionMap();
}

void CSetForeImg::MeasurePositionMap() {
    RECT client{};
    ::GetClientRect(GetDlgItem(IDC_FORE_POSMAP), &client);
    m_xScale = PositionMapScale(m_context.system.ScreenWidth(), client.right - client.left);
    m_yScale = PositionMapScale(m_context.system.ScreenHeight(), client.bottom - client.top);
    RefreshPositionMap();
}

void CSetForeImg::DpiChanged(UINT oldDpi, UINT newDpi) {
    CSettingsPage::DpiChanged(oldDpi, newDpi);
    MeasurePositionMap();
}

void CSetForeImg::UpdateEnabling() {
    const EnvSettings& env = *m_pEnv;
    const bool fore = env.isforeimg != 0;
    for (int id : kPhotoControls) Enable(id, fore);
    const bool overlapPossible = fore && env.imagepos > 0;
    const bool overlapOn = overlapPossible && env.isoverlap;
    Enable(IDC_FORE_OVERLAP, overlapPossible);
    Enable({IDC_FORE_CLEARCOUNT, IDC_FORE_CLEARCOUNT_SPIN, IDC_FORE_BACKGRAY}, overlapOn);
    Enable(IDC_FORE_POSEDIT, fore && env.imagepos == 1);
}

int CSetForeImg::FieldValue(int id) const { return ParseInt(GetDlgItemText(id)); }

void CSetForeImg::SetFieldValue(int id, int value) const { ::SetDlgItemInt(m_hwnd, id, static_cast<UINT>(value), TRUE); }

void CSetForeImg::SetSpinRange(int id, int low, int high) const {
    ::SendMessageW(GetDlgItem(id), UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

// ---- Switches ---------------------------------------------------------------------------------

void CSetForeImg::OnForegroundSwitch() {
    m_pEnv->isforeimg = IsChecked(IDC_FORE_USE) ? 1 : 0;
    UpdateEnabling();
    RequestFreshBackground();
}

void CSetForeImg::OnNotStretch() { m_pEnv->notstrech = IsChecked(IDC_FORE_NOTSTRETCH) ? 1 : 0; }

void CSetForeImg::OnMinutes() {
    m_pEnv->min_sec = kMinSecMinutes;
    ShowIntervalUnit(kMinSecMinutes);
}

void CSetForeImg::OnSeconds() {
    m_pEnv->min_sec = kMinSecSeconds;
    ShowIntervalUnit(kMinSecSeconds);
    if (FieldValue(IDC_FORE_CHANGETIME) < 3) ::SetDlgItemTextW(m_hwnd, IDC_FORE_CHANGETIME, L"3");
}

void CSetForeImg::OnOrder(UINT id) { m_pEnv->israndum = id == IDC_FORE_RANDOM ? 1 : 0; }

void CSetForeImg::OnPlacement(UINT id) {
    const auto* button = std::find(std::begin(kPlacementIds), std::end(kPlacementIds), static_cast<int>(id));
    if (button == std::end(kPlacementIds)) return;
    m_pEnv->imagepos = static_cast<int32_t>(button - std::begin(kPlacementIds));
    UpdateEnabling();
}

void CSetForeImg::OnOverlapSwitch() {
    m_pEnv->isoverlap = IsChecked(IDC_FORE_OVERLAP) ? 1 : 0;
    UpdateEnabling();
    const int limit = m_context.m_overlapLimit;
    if (FieldValue(IDC_FORE_SIZE) <= limit) return;
    Prompts().ShowMessage(m_hwnd, fw::LoadText(IDS_OVERLAP_LIMITED), fw::LoadText(IDS_SETTINGS_CAPTION),
                          MB_OK | MB_ICONEXCLAMATION);
    SetFieldValue(IDC_FORE_SIZE, limit);
    ::SetFocus(GetDlgItem(IDC_FORE_SIZE));
}

void CSetForeImg::OnBackGray() {
    m_pEnv->isbackgray = IsChecked(IDC_FORE_BACKGRAY) ? 1 : 0;
    if (!m_pEnv->isbackgray) RequestFreshBackground();  // the grey must not linger on the picture
}

// Typing a size beyond the overlap limit turns overlap off, quietly.
void CSetForeImg::OnSizeChanged() {
    const int limit = m_context.m_overlapLimit;
    if (!m_ready || limit == 0 || FieldValue(IDC_FORE_SIZE) <= limit) return;
    SetChecked(IDC_FORE_OVERLAP, false);
    m_pEnv->isoverlap = 0;
}

LRESULT CSetForeImg::OnSizeArrow(NMHDR* header) {
    const auto* change = reinterpret_cast<NMUPDOWN*>(header);
    HWND spin = header->hwndFrom;
    const int position = static_cast<int>(::SendMessageW(spin, UDM_GETPOS32, 0, 0));
    ::SendMessageW(spin, UDM_SETPOS32, 0, TenStepArrowStart(position, change->iDelta));
    return 0;  // let the control add its own step
}

// ---- Position map and editor --------------------------------------------------------------------

LRESULT CSetForeImg::OnDrawItem(WPARAM, LPARAM lp) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (!item || item->CtlID != IDC_FORE_POSMAP) return FALSE;
    // The positions where their photos are drawn, those saved off a smaller screen moved into view.
    std::vector<RECT> shown = m_context.composer.Positions();
    for (RECT& r : shown) r = PositionInView(r, m_context.system.ScreenWidth(), m_context.system.ScreenHeight());
    DrawPositionMap(item->hDC, item->rcItem, shown, m_xScale, m_yScale);
    return TRUE;
}

void CSetForeImg::RefreshPositionMap() {
    SetText(IDC_FORE_POSCOUNT, fw::LoadText(IDS_POSITION_COUNT, static_cast<int>(m_context.composer.Positions().size())));
    HWND map = GetDlgItem(IDC_FORE_POSMAP);
    ::InvalidateRect(map, nullptr, TRUE);
    ::UpdateWindow(map);
}

CImgPosSetDlg* CSetForeImg::PositionEditor() const {
    return m_pPosSetDlg && m_pPosSetDlg->IsWindow() ? m_pPosSetDlg.get() : nullptr;
}

void CSetForeImg::OnOpenPositionEditor() {
    if (CImgPosSetDlg* open = PositionEditor()) {
        ::SetForegroundWindow(open->GetSafeHwnd());
        return;
    }
    HWND host = SettingsWindow();
    ::ShowWindow(host, SW_HIDE);
    m_pPosSetDlg = std::make_unique<CImgPosSetDlg>(m_context.env, m_context.composer,
                                                   m_context.owner.MainWindow(), [this] { OnPositionEditorClosed(); });
    if (!m_pPosSetDlg->Create()) {
        ::ShowWindow(host, SW_SHOW);
        return;
    }
    HWND editor = m_pPosSetDlg->GetSafeHwnd();
    ::ShowWindow(editor, SW_SHOW);
    ::SetWindowPos(editor, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CSetForeImg::OnPositionEditorClosed() {
    if (!m_hwnd) return;
    RefreshPositionMap();
    if (!m_exiting) ::ShowWindow(SettingsWindow(), SW_SHOW);
}

void CSetForeImg::CloseOwnedWindows() {
    m_exiting = true;
    if (CImgPosSetDlg* open = PositionEditor()) open->DestroyWindow();
}

// ---- Close checks -------------------------------------------------------------------------------

void CSetForeImg::ReadCheckedFields(CloseCheckFields& fields) const {
    if (!m_hwnd) return;
    fields.photographsPagePresent = true;
    fields.changeTime = GetDlgItemText(IDC_FORE_CHANGETIME);
    fields.clearCount = GetDlgItemText(IDC_FORE_CLEARCOUNT);
    fields.imageSize = GetDlgItemText(IDC_FORE_SIZE);
}

HWND CSetForeImg::CheckedFieldControl(CheckedField field) const {
    switch (field) {
        case CheckedField::ChangeTime: return GetDlgItem(IDC_FORE_CHANGETIME);
        case CheckedField::ClearCount: return GetDlgItem(IDC_FORE_CLEARCOUNT);
        case CheckedField::ImageSize: return GetDlgItem(IDC_FORE_SIZE);
        default: return nullptr;
    }
}

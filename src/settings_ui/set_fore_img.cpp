#include "settings_ui/set_fore_img.h"

#include <cmath>
#include <cstdint>
#include <cwchar>
#include <vector>

#include "composer/placement.h"
#include "framework/handles.h"
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

constexpr int kMinSecMinutes = 60000;
constexpr int kMinSecSeconds = 1000;

const wchar_t kCaption[] = L"Dioramix\uC124\uC815";  // Dioramix설정

void ShowWarningBox(HWND owner, const std::wstring& text) {
    ::MessageBoxW(owner, text.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

const fw::Handler<CSetForeImg> CSetForeImg::kHandlers[] = {
    fw::OnCommand(IDOK, &CSetForeImg::OnOk),
    fw::OnCommand(IDCANCEL, &CSetForeImg::OnCancel),
    fw::OnCommand(IDC_FORE_USE, &CSetForeImg::OnForegroundSwitch, BN_CLICKED),
    fw::OnCommand(IDC_FORE_NOTSTRETCH, &CSetForeImg::OnNotStretch, BN_CLICKED),
    fw::OnCommand(IDC_FORE_MINUTES, &CSetForeImg::OnMinutes, BN_CLICKED),
    fw::OnCommand(IDC_FORE_SECONDS, &CSetForeImg::OnSeconds, BN_CLICKED),
    fw::OnCommand(IDC_FORE_SEQUENTIAL, &CSetForeImg::OnSequential, BN_CLICKED),
    fw::OnCommand(IDC_FORE_RANDOM, &CSetForeImg::OnRandomOrder, BN_CLICKED),
    fw::OnCommand(IDC_FORE_CENTRE, &CSetForeImg::OnCentre, BN_CLICKED),
    fw::OnCommand(IDC_FORE_USERPOS, &CSetForeImg::OnUserPositions, BN_CLICKED),
    fw::OnCommand(IDC_FORE_RANDOMPOS, &CSetForeImg::OnRandomPosition, BN_CLICKED),
    fw::OnCommand(IDC_FORE_OVERLAP, &CSetForeImg::OnOverlapSwitch, BN_CLICKED),
    fw::OnCommand(IDC_FORE_BACKGRAY, &CSetForeImg::OnBackGray, BN_CLICKED),
    fw::OnCommand(IDC_FORE_SIZE, &CSetForeImg::OnSizeChanged, EN_CHANGE),
    fw::OnNotify(IDC_FORE_SIZE_SPIN, UDN_DELTAPOS, &CSetForeImg::OnSizeArrow),
    fw::OnCommand(IDC_FORE_POSEDIT, &CSetForeImg::OnOpenPositionEditor, BN_CLICKED),
    fw::OnMessage(WM_DRAWITEM, &CSetForeImg::OnDrawItem),
};

CSetForeImg::CSetForeImg(SettingsContext& context) : CDialogImpl(IDD_SET_FOREIMG), m_context(context) {
    showWarning = [this](const std::wstring& text) { ShowWarningBox(m_hwnd, text); };
}

CSetForeImg::~CSetForeImg() = default;

BOOL CSetForeImg::OnInitDialog() {
    m_pEnv = &m_context.env;
    m_context.m_overlapLimit = 0;  // recomputed below; until then the size watch stays quiet
    const EnvSettings& env = *m_pEnv;
    const int screenWidth = m_context.system.ScreenWidth();

    ::CheckDlgButton(m_hwnd, IDC_FORE_USE, env.isforeimg ? BST_CHECKED : BST_UNCHECKED);
    SetFieldValue(IDC_FORE_SIZE, env.picmaxsize);
    SetSpinRange(IDC_FORE_SIZE_SPIN, 200, MaxPhotoSizeForScreen(screenWidth));
    ::CheckDlgButton(m_hwnd, IDC_FORE_NOTSTRETCH, env.notstrech ? BST_CHECKED : BST_UNCHECKED);
    InitChangeTime();
    ::CheckDlgButton(m_hwnd, env.israndum ? IDC_FORE_RANDOM : IDC_FORE_SEQUENTIAL, BST_CHECKED);
    InitPlacement();
    ::CheckDlgButton(m_hwnd, IDC_FORE_OVERLAP, env.isoverlap ? BST_CHECKED : BST_UNCHECKED);
    SetSpinRange(IDC_FORE_CLEARCOUNT_SPIN, 3, 30);
    SetFieldValue(IDC_FORE_CLEARCOUNT, env.piccleartotalcnt);
    ::CheckDlgButton(m_hwnd, IDC_FORE_BACKGRAY, env.isbackgray ? BST_CHECKED : BST_UNCHECKED);
    UpdateEnabling();
    InitOverlapLimit();
    InitPositionMap();
    m_ready = true;
    return TRUE;
}

void CSetForeImg::InitChangeTime() {
    SetFieldValue(IDC_FORE_CHANGETIME, m_pEnv->changetime);
    if (m_pEnv->min_sec == kMinSecSeconds) {
        ::CheckDlgButton(m_hwnd, IDC_FORE_SECONDS, BST_CHECKED);
        ::SetDlgItemTextW(m_hwnd, IDC_FORE_UNIT, L"\uCD08\uB9C8\uB2E4 (>3)");  // 초마다 (>3)
        SetSpinRange(IDC_FORE_CHANGETIME_SPIN, 3, 60);
    } else {
        ::CheckDlgButton(m_hwnd, IDC_FORE_MINUTES, BST_CHECKED);
        ::SetDlgItemTextW(m_hwnd, IDC_FORE_UNIT, L"\uBD84\uB9C8\uB2E4");  // 분마다
        SetSpinRange(IDC_FORE_CHANGETIME_SPIN, 1, 60);
    }
}

void CSetForeImg::InitPlacement() {
    switch (m_pEnv->imagepos) {
        case 0: ::CheckDlgButton(m_hwnd, IDC_FORE_CENTRE, BST_CHECKED); break;
        case 1: ::CheckDlgButton(m_hwnd, IDC_FORE_USERPOS, BST_CHECKED); break;
        case 2: ::CheckDlgButton(m_hwnd, IDC_FORE_RANDOMPOS, BST_CHECKED); break;
        default: break;
    }
}

void CSetForeImg::InitOverlapLimit() {
    m_context.m_overlapLimit = OverlapSizeLimit(m_context.system.ScreenWidth(), m_context.system.ScreenHeight());
    wchar_t text[128];
    // 이미지 겹침 설정(제한 이미지크기:%d)
    std::swprintf(text, 128, L"\uC774\uBBF8\uC9C0 \uACB9\uCE68 \uC124\uC815(\uC81C\uD55C \uC774\uBBF8\uC9C0\uD06C\uAE30:%d)",
                  m_context.m_overlapLimit);
    ::SetDlgItemTextW(m_hwnd, IDC_FORE_OVERLAP, text);
}

void CSetForeImg::InitPositionMap() {
    m_context.composer.EnsurePositionsLoaded();  // the map and the editor start from the saved ones
    RECT client{};
    ::GetClientRect(GetDlgItem(IDC_FORE_POSMAP), &client);
    m_xScale = PositionMapScale(m_context.system.ScreenWidth(), client.right - client.left);
    m_yScale = PositionMapScale(m_context.system.ScreenHeight(), client.bottom - client.top);
    RefreshPositionMap();
}

void CSetForeImg::UpdateEnabling() {
    const EnvSettings& env = *m_pEnv;
    const bool fore = env.isforeimg != 0;
    for (int id : kPhotoControls) Enable(id, fore);
    const bool overlapPossible = fore && env.imagepos > 0;
    const bool overlapOn = overlapPossible && env.isoverlap;
    Enable(IDC_FORE_OVERLAP, overlapPossible);
    Enable(IDC_FORE_CLEARCOUNT, overlapOn);
    Enable(IDC_FORE_CLEARCOUNT_SPIN, overlapOn);
    Enable(IDC_FORE_BACKGRAY, overlapOn);
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
    ::SetDlgItemTextW(m_hwnd, IDC_FORE_UNIT, L"\uBD84\uB9C8\uB2E4");  // 분마다
    m_pEnv->min_sec = kMinSecMinutes;
    SetSpinRange(IDC_FORE_CHANGETIME_SPIN, 1, 60);
}

void CSetForeImg::OnSeconds() {
    ::SetDlgItemTextW(m_hwnd, IDC_FORE_UNIT, L"\uCD08\uB9C8\uB2E4 (>3)");  // 초마다 (>3)
    m_pEnv->min_sec = kMinSecSeconds;
    SetSpinRange(IDC_FORE_CHANGETIME_SPIN, 3, 60);
    if (FieldValue(IDC_FORE_CHANGETIME) < 3) ::SetDlgItemTextW(m_hwnd, IDC_FORE_CHANGETIME, L"3");
}

void CSetForeImg::OnSequential() { m_pEnv->israndum = 0; }
void CSetForeImg::OnRandomOrder() { m_pEnv->israndum = 1; }

void CSetForeImg::OnCentre() { SetPlacement(0); }
void CSetForeImg::OnUserPositions() { SetPlacement(1); }
void CSetForeImg::OnRandomPosition() { SetPlacement(2); }

void CSetForeImg::SetPlacement(int imagepos) {
    m_pEnv->imagepos = imagepos;
    UpdateEnabling();
}

void CSetForeImg::OnOverlapSwitch() {
    m_pEnv->isoverlap = IsChecked(IDC_FORE_OVERLAP) ? 1 : 0;
    UpdateEnabling();
    const int limit = m_context.m_overlapLimit;
    if (FieldValue(IDC_FORE_SIZE) <= limit) return;
    // 이미지 겹침설정은 이미지크기에 제한이 있습니다.\n제한크기로 자동 설정됩니다.
    if (showWarning)
        showWarning(L"\uC774\uBBF8\uC9C0 \uACB9\uCE68\uC124\uC815\uC740 \uC774\uBBF8\uC9C0\uD06C\uAE30\uC5D0 "
                    L"\uC81C\uD55C\uC774 \uC788\uC2B5\uB2C8\uB2E4.\n\uC81C\uD55C\uD06C\uAE30\uB85C \uC790\uB3D9 "
                    L"\uC124\uC815\uB429\uB2C8\uB2E4.");
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
    ::CheckDlgButton(m_hwnd, IDC_FORE_OVERLAP, BST_UNCHECKED);
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
    std::vector<RECT> shown = m_context.composer.m_positions;
    for (RECT& r : shown) r = PositionInView(r, m_context.system.ScreenWidth(), m_context.system.ScreenHeight());
    DrawPositionMap(item->hDC, item->rcItem, shown, m_xScale, m_yScale);
    return TRUE;
}

void CSetForeImg::RefreshPositionMap() {
    wchar_t count[32];
    std::swprintf(count, 32, L"%d\uAC1C", static_cast<int>(m_context.composer.m_positions.size()));  // %d개
    ::SetDlgItemTextW(m_hwnd, IDC_FORE_POSCOUNT, count);
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
    HWND host = ::GetAncestor(m_hwnd, GA_ROOT);
    ::ShowWindow(host, SW_HIDE);
    m_pPosSetDlg = std::make_unique<CImgPosSetDlg>(m_context.env, m_context.composer, m_context.system,
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
    if (!m_exiting) ::ShowWindow(::GetAncestor(m_hwnd, GA_ROOT), SW_SHOW);
}

void CSetForeImg::CloseOwnedWindows() {
    m_exiting = true;
    if (CImgPosSetDlg* open = PositionEditor()) open->DestroyWindow();
}

#include "aux_windows/img_pos_set_dlg.h"

#include <algorithm>
#include <utility>

#include "composer/layout.h"
#include "composer/placement.h"
#include "resource.h"

const fw::Handler<CImgPosSetDlg> CImgPosSetDlg::kHandlers[] = {
    fw::OnCommand(IDC_IMGPOS_ADD, &CImgPosSetDlg::OnAdd, BN_CLICKED),
    fw::OnCommand(IDC_IMGPOS_APPLY, &CImgPosSetDlg::OnApply, BN_CLICKED),
    fw::OnMessage(WM_SYSCOMMAND, &CImgPosSetDlg::OnSysCommand),
    fw::OnMessage(WM_DESTROY, &CImgPosSetDlg::OnDestroy),
    fw::OnMessage(WM_IMGPOS_DELETE, &CImgPosSetDlg::OnDeleteRequest),
};

CImgPosSetDlg::CImgPosSetDlg(const EnvSettings& env, ISettingsComposer& composer, HWND positionOwner,
                             std::function<void()> onClosed)
    : CDialogImpl(IDD_IMGPOS_SET),
      m_env(env),
      m_composer(composer),
      m_positionOwner(positionOwner),
      m_onClosed(std::move(onClosed)) {}

// Destroyed without its window's destruction message (the owner goes first): the position
// windows go with their objects, nothing is stored.
CImgPosSetDlg::~CImgPosSetDlg() = default;

std::vector<int> CImgPosSetDlg::Numbers() const {
    std::vector<int> numbers;
    for (const auto& [number, window] : m_windows) numbers.push_back(number);
    return numbers;
}

CImgPosDlg* CImgPosSetDlg::PositionWindow(int number) const {
    auto it = m_windows.find(number);
    return it == m_windows.end() ? nullptr : it->second.get();
}

BOOL CImgPosSetDlg::OnInitDialog() {
    PlaceAtTopOfScreen();
    int number = 0;
    const DesktopLayout layout = m_composer.ShownLayout();
    for (const RECT& rect : m_composer.Positions()) {
        // Where the photo will be drawn, so that a position saved off a smaller screen or on a
        // monitor that is gone can be reached.
        CImgPosDlg* window = OpenPosition(++number, PositionInLayout(rect, layout.monitors));
        if (window) ::ShowWindow(window->GetSafeHwnd(), SW_SHOWNORMAL);
    }
    m_lastNumber = number;
    return TRUE;
}

// Out of the way of the squares, which start in the middle of the screen.
void CImgPosSetDlg::PlaceAtTopOfScreen() {
    RECT r{};
    ::GetWindowRect(m_hwnd, &r);
    const int x = (m_composer.ShownScreenSize().cx - (r.right - r.left)) / 2;
    ::SetWindowPos(m_hwnd, nullptr, x > 0 ? x : 0, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CImgPosSetDlg::WidestMonitor() {
    int widest = m_composer.ShownScreenSize().cx;
    for (const fw::MonitorInfo& m : m_composer.ShownLayout().monitors) widest = std::max(widest, RectWidth(m.rect));
    return widest;
}

CImgPosDlg* CImgPosSetDlg::OpenPosition(int number, const RECT& rect) {
    // Any square may be dragged to the widest monitor: it may grow as large as a photo there.
    auto window = std::make_unique<CImgPosDlg>(rect, number, WidestMonitor(), m_hwnd);
    if (!window->Create(m_positionOwner)) return nullptr;
    CImgPosDlg* opened = window.get();
    m_windows[number] = std::move(window);
    return opened;
}

void CImgPosSetDlg::OnAdd() {
    const SIZE screen = m_composer.ShownScreenSize();
    // Within the limits the system will hold the square to, so that it stays centred.
    const int side = std::clamp(m_env.picmaxsize, CImgPosDlg::kMinSide,
                                std::max(CImgPosDlg::kMinSide, MaxPhotoSizeForScreen(screen.cx)));
    const RECT square = CentredSquare(side, screen.cx, screen.cy);
    CImgPosDlg* window = OpenPosition(++m_lastNumber, square);
    if (!window) return;
    window->SetColor(CImgPosDlg::kFocusColor);
    ::ShowWindow(window->GetSafeHwnd(), SW_SHOW);
}

void CImgPosSetDlg::OnApply() {
    m_applied = true;
    DestroyWindow();
}

fw::MessageResult CImgPosSetDlg::OnSysCommand(WPARAM wp, LPARAM) {
    if ((wp & 0xFFF0) != SC_CLOSE) return fw::kDeclined;
    m_applied = false;
    DestroyWindow();
    return 0;
}

LRESULT CImgPosSetDlg::OnDeleteRequest(WPARAM number, LPARAM) {
    auto it = m_windows.find(static_cast<int>(number));
    if (it == m_windows.end()) return 0;
    m_windows.erase(it);  // the object's destructor destroys its window
    m_composer.RestartPositions();
    return 0;
}

void CImgPosSetDlg::StorePositions() {
    // Renumbered 1, 2, 3 ... in the order of the old numbers.
    std::vector<RECT> positions;
    for (const auto& [number, window] : m_windows) {
        RECT r{};
        if (::GetWindowRect(window->GetSafeHwnd(), &r)) positions.push_back(r);
    }
    m_composer.ReplacePositions(std::move(positions));
    // On disk at once: the settings window may stay open long after the editor has closed.
    m_composer.SavePositions();
}

LRESULT CImgPosSetDlg::OnDestroy(WPARAM, LPARAM) {
    if (m_applied) StorePositions();
    for (auto& [number, window] : m_windows) ::ShowWindow(window->GetSafeHwnd(), SW_HIDE);
    m_windows.clear();
    if (m_onClosed) m_onClosed();
    return 0;
}

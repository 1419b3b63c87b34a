#include "settings_ui/set_path.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <utility>

#include "framework/dpi.h"
#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/texts.h"
#include "resource.h"

const fw::Handler<CSetPath> CSetPath::kHandlers[] = {
    fw::OnCommand(IDC_PATH_ADD, &CSetPath::AddFolder, BN_CLICKED),
    fw::OnCommand(IDC_PATH_DELETE, &CSetPath::OnDelete, BN_CLICKED),
    fw::OnCommand(IDC_PATH_RELOAD, &CSetPath::ReloadFolders, BN_CLICKED),
    fw::OnCommand(IDC_PATH_CANCEL, &CSetPath::CancelScan, BN_CLICKED),
    fw::OnCommand(IDCANCEL, &CSetPath::OnEscape),
    fw::OnCommand(IDC_PATH_CLOUD, &CSetPath::OnCloudPhotos, BN_CLICKED),
    fw::OnNotify(IDC_PATH_LIST, NM_CLICK, &CSetPath::OnListClick),
    fw::OnMessage(WM_TIMER, &CSetPath::OnTimer),
    fw::OnMessage(WM_DESTROY, &CSetPath::OnDestroy),
};

namespace {

constexpr UINT_PTR kScanTimer = 1;
// Often enough for a bar that moves smoothly, seldom enough to cost nothing.
constexpr UINT kScanPollInterval = 50;
constexpr UINT kMarqueeInterval = 30;

// The message box of a folder rule: the refused root is a notice with its own caption and the
// information icon, the refusals and the tidy-up are plain.
struct FolderMessageBox {
    UINT text;
    UINT caption;
    UINT type;
};

FolderMessageBox FolderMessageBoxOf(FolderMessage message) {
    switch (message) {
        case FolderMessage::RootFolder: return {IDS_FOLDER_ROOT, IDS_NOTICE_CAPTION, MB_OK | MB_ICONINFORMATION};
        case FolderMessage::SameName: return {IDS_FOLDER_SAME_NAME, IDS_MESSAGE_CAPTION, MB_OK};
        case FolderMessage::AlreadyIncluded: return {IDS_FOLDER_INCLUDED, IDS_MESSAGE_CAPTION, MB_OK};
        case FolderMessage::TidiedUp: return {IDS_FOLDER_TIDIED, IDS_MESSAGE_CAPTION, MB_OK};
    }
    return {0, IDS_MESSAGE_CAPTION, MB_OK};
}

}  // namespace

bool IsListNavigationKey(WPARAM virtualKey) {
    switch (virtualKey) {
        case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME: case VK_UP: case VK_DOWN:
            return true;
        default:
            return false;
    }
}

int SumOfCounts(const std::vector<std::string>& countTexts) {
    int total = 0;
    for (const std::string& text : countTexts) total += std::atoi(text.c_str());
    return total;
}

std::string TotalText(int total, int cloudOnly, const std::string& cloudLabel, size_t banned) {
    std::string text = mb::Narrow(fw::LoadText(IDS_PATH_TOTAL, total));
    if (cloudOnly > 0) text += " (" + cloudLabel + " " + std::to_string(cloudOnly) + ")";
    // Photos the user banned stay in the folders but are never shown.
    if (banned) text += ", " + mb::Narrow(fw::LoadText(IDS_PATH_BANNED, static_cast<int>(banned)));
    return text;
}

std::vector<std::string> RowOfEntry(const std::string& entry) {
    std::vector<std::string> cells = SplitTokens(entry, ",");
    // Every entry keeps its row, so that row i is always folder list entry i.
    cells.resize(std::max<size_t>(cells.size(), 2));
    return cells;
}

void ShowBarPosition(HWND bar, int position, int range) {
    // The 32-bit range: a tree of more than 65535 entries still fills the bar exactly once.
    if (::SendMessageW(bar, PBM_GETRANGE, FALSE, 0) != range) ::SendMessageW(bar, PBM_SETRANGE32, 0, range);
    if (position < range) {
        ::SendMessageW(bar, PBM_SETPOS, position + 1, 0);
        ::SendMessageW(bar, PBM_SETPOS, position, 0);
        return;
    }
    ::SendMessageW(bar, PBM_SETRANGE32, 0, range + 1);
    ::SendMessageW(bar, PBM_SETPOS, range + 1, 0);
    ::SendMessageW(bar, PBM_SETPOS, range, 0);
    ::SendMessageW(bar, PBM_SETRANGE32, 0, range);
}

CSetPath::CSetPath(SettingsContext& context) : CSettingsPageImpl(IDD_SET_PATH, context) {}

CSetPath::~CSetPath() { HandOverScan(); }

void CSetPath::SetRowHeight(UINT dpi) {
    // A 1-pixel-wide image list only so that every row is at least 16 pixels (at 96 DPI) high. The
    // list view, which does not share its image lists, destroys it with itself; the one it gives
    // back on a change is ours.
    fw::GiveListViewImageList(m_list.GetSafeHwnd(),
                              fw::ImageList(::ImageList_Create(1, fw::ScaleForDpi(16, dpi), ILC_COLOR24, 1, 1)),
                              LVSIL_SMALL);
}

void CSetPath::DpiChanged(UINT oldDpi, UINT newDpi) {
    CSettingsPage::DpiChanged(oldDpi, newDpi);
    SetRowHeight(newDpi);
}

BOOL CSetPath::OnInitDialog() {
    m_list.SubclassDlgItem(IDC_PATH_LIST, m_hwnd);
    m_progress = GetDlgItem(IDC_PATH_PROGRESS);

    static const int kWidths[] = {350, 50};
    static const int kFormats[] = {LVCFMT_LEFT, LVCFMT_RIGHT};
    m_list.InsertColumns(mb::Narrow(fw::LoadText(IDS_FOLDER_COLUMNS)).c_str(), ",", kWidths, kFormats);
    ListView_SetExtendedListViewStyle(m_list.GetSafeHwnd(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    SetRowHeight(fw::WindowDpi(m_list.GetSafeHwnd()));

    Enable(IDC_PATH_DELETE, false);
    SetChecked(IDC_PATH_CLOUD, m_pEnv->cloudphotos != 0);
    FillList();
    return TRUE;
}

LRESULT CSetPath::OnDestroy(WPARAM, LPARAM) {
    ::KillTimer(m_hwnd, kScanTimer);
    HandOverScan();
    return 0;
}

void CSetPath::HandOverScan() {
    // The settings window closes, not the user's edit: the main window finishes and commits it.
    if (m_edit.scan) m_context.owner.AdoptFolderEdit(std::move(m_edit));
    m_edit = FolderEdit();
}

bool CSetPath::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && IsListNavigationKey(msg->wParam)) return true;
    return CDialog::PreTranslateMessage(msg);
}

// ---- Display ------------------------------------------------------------------------------------

void CSetPath::FillList() {
    HWND list = m_list.GetSafeHwnd();
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    m_list.DeleteAllItems();
    m_shownList = m_context.catalogue.FolderEntries();
    for (const std::string& entry : m_shownList) m_list.InsertRow(RowOfEntry(entry));
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ShowTotal();
}

bool CSetPath::ShowsAnOldList() {
    // An edit of an earlier settings window was committed meanwhile: a row number of the old
    // list could name another folder now.
    if (Scanning() || m_context.catalogue.FolderEntries() == m_shownList) return false;
    FillList();
    ClearSelection();
    return true;
}

void CSetPath::ShowTotal() {
    std::vector<std::string> counts;
    for (int row = 0; row < m_list.GetItemCount(); ++row) counts.push_back(m_list.GetItemText(row, 1));
    // The cloud-only count comes from this run's scans, which read it from the folders' listings.
    SetDlgItemText(IDC_PATH_TOTAL, TotalText(SumOfCounts(counts), m_context.catalogue.CloudOnlyCount(),
                                             mb::Narrow(fw::LoadText(IDS_CLOUD_ONLY_LABEL)),
                                             m_context.composer.BannedCount()));
}

void CSetPath::ShowFolderMessage(FolderMessage message) const {
    const FolderMessageBox box = FolderMessageBoxOf(message);
    Prompts().ShowMessage(m_hwnd, fw::LoadText(box.text), fw::LoadText(box.caption), box.type);
}

void CSetPath::ClearSelection() {
    m_nSelected = -1;
    Enable(IDC_PATH_DELETE, false);
}

// ---- Handlers -----------------------------------------------------------------------------------

LRESULT CSetPath::OnListClick(NMHDR* nm) {
    const int item = reinterpret_cast<NMITEMACTIVATE*>(nm)->iItem;
    if (ShowsAnOldList()) return 0;
    // A click beside the rows: the delete button goes off, the stored row stays. During a scan
    // nothing can be deleted, and the rows are rebuilt when it ends.
    if (item < 0 || Scanning()) {
        Enable(IDC_PATH_DELETE, false);
        return 0;
    }
    m_nSelected = item;
    Enable(IDC_PATH_DELETE, true);
    return 0;
}

void CSetPath::AddFolder() {
    if (Scanning()) return;
    std::string folder;
    if (!Prompts().BrowseForFolder(m_hwnd, folder)) return;
    AddChosenFolder(folder);
}

void CSetPath::AddChosenFolder(const std::string& folder) {
    if (Scanning()) return;
    m_chosenPath = mb::ToLower(folder);
    ImageCatalogue& catalogue = m_context.catalogue;
    const size_t listedBefore = catalogue.FolderEntries().size();
    FolderCheck check = catalogue.CheckNewFolder(folder);
    for (FolderMessage message : check.messages) ShowFolderMessage(message);

    if (check.RefusedAsListed()) ClearSelection();
    if (!check.folder.empty()) {
        StartScan(FolderEditKind::Add, check.folder, {check.folder});
    } else if (catalogue.FolderEntries().size() != listedBefore) {
        // A tidy-up that a later rule stopped still removed entries.
        FillList();
        ClearSelection();
    }
}

void CSetPath::OnDelete() {
    if (m_nSelected >= 0) RemoveFolder(static_cast<size_t>(m_nSelected));
}

void CSetPath::RemoveFolder(size_t row) {
    if (Scanning() || ShowsAnOldList()) return;
    std::vector<std::string> rest = m_context.catalogue.ListedFolders();
    if (row >= rest.size()) return;
    std::string removed = rest[row];
    rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(row));
    ::SendMessageW(m_list.GetSafeHwnd(), LVM_DELETEITEM, row, 0);
    ::RedrawWindow(m_list.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    // The remaining folders are re-read; the entry goes only when that scan is taken.
    StartScan(FolderEditKind::Remove, std::move(removed), std::move(rest));
}

void CSetPath::ReloadFolders() {
    if (Scanning()) return;
    StartScan(FolderEditKind::Reread, {}, m_context.catalogue.ListedFolders());
}

void CSetPath::OnCloudPhotos() { m_pEnv->cloudphotos = IsChecked(IDC_PATH_CLOUD) ? 1 : 0; }

void CSetPath::OnEscape() {
    // Escape stops a scan; otherwise the page keeps it from the settings window, as ever.
    CancelScan();
}

LRESULT CSetPath::OnTimer(WPARAM id, LPARAM) {
    if (id != kScanTimer) return 0;
    if (!m_edit.scan) {
        ::KillTimer(m_hwnd, kScanTimer);
        return 0;
    }
    if (m_edit.scan->Finished())
        FinishScan();
    else
        ShowScanProgress();
    return 0;
}

// ---- Scans --------------------------------------------------------------------------------------

void CSetPath::StartScan(FolderEditKind kind, std::string folder, std::vector<std::string> folders) {
    m_edit.kind = kind;
    m_edit.folder = std::move(folder);
    m_edit.listBefore = m_context.catalogue.FolderEntries();
    // A re-read shows its rows only once they are known.
    if (kind == FolderEditKind::Reread || kind == FolderEditKind::Remove) m_list.DeleteAllItems();
    SetDlgItemText(IDC_PATH_TOTAL, "");
    ::SendMessageW(m_progress, PBM_SETRANGE32, 0, 0);
    ::SendMessageW(m_progress, PBM_SETPOS, 0, 0);
    ShowScanControls(true);
    m_edit.scan = std::make_unique<BackgroundScan>(std::move(folders), true);
    ::SetTimer(m_hwnd, kScanTimer, kScanPollInterval, nullptr);
}

void CSetPath::ShowScanProgress() {
    const ScanStatus& status = m_edit.scan->Status();
    const bool counting = status.counting;
    ShowCounting(counting);
    if (counting) return;
    const int range = status.range;
    ShowBarPosition(m_progress, std::min<int>(status.steps, range), range);
}

void CSetPath::FinishScan() {
    ::KillTimer(m_hwnd, kScanTimer);
    FolderEdit edit = std::exchange(m_edit, FolderEdit());
    ShowCounting(false);
    // A whole scan makes as many steps as it counted: the bar ends full.
    const int range = edit.scan->Status().range;
    ShowBarPosition(m_progress, range, range);
    if (edit.scan->Complete()) CommitFolderEdit(m_context.catalogue, edit, edit.scan->TakeResults());
    EndScan();
}

void CSetPath::CancelScan() {
    if (!m_edit.scan) return;
    ::KillTimer(m_hwnd, kScanTimer);
    m_edit = FolderEdit();
    ShowCounting(false);
    ::SendMessageW(m_progress, PBM_SETPOS, 0, 0);
    EndScan();
}

void CSetPath::EndScan() {
    ShowScanControls(false);
    FillList();
    ClearSelection();
}

void CSetPath::ShowScanControls(bool scanning) {
    HWND cancel = GetDlgItem(IDC_PATH_CANCEL);
    HWND add = GetDlgItem(IDC_PATH_ADD);
    // The focus goes to the button that is about to be usable: a hidden or disabled one loses it.
    const bool focusInside = ::IsChild(m_hwnd, ::GetFocus()) != FALSE;
    Enable({IDC_PATH_RELOAD, IDC_PATH_ADD}, !scanning);
    if (scanning) Enable(IDC_PATH_DELETE, false);
    ::ShowWindow(cancel, scanning ? SW_SHOW : SW_HIDE);
    if (focusInside) ::SetFocus(scanning ? cancel : add);
}

void CSetPath::ShowCounting(bool counting) {
    if (counting == m_counting) return;
    m_counting = counting;
    if (counting) {
        fw::SetStyleBits(m_progress, GWL_STYLE, PBS_MARQUEE, true);
        ::SendMessageW(m_progress, PBM_SETMARQUEE, TRUE, kMarqueeInterval);
    } else {
        ::SendMessageW(m_progress, PBM_SETMARQUEE, FALSE, 0);
        fw::SetStyleBits(m_progress, GWL_STYLE, PBS_MARQUEE, false);
    }
}

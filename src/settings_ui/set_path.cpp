#include "settings_ui/set_path.h"

#include <algorithm>
#include <cstdlib>

#include "framework/dpi.h"
#include "framework/mbstring.h"
#include "framework/texts.h"
#include "resource.h"

const fw::Handler<CSetPath> CSetPath::kHandlers[] = {
    fw::OnCommand(IDC_PATH_ADD, &CSetPath::OnAdd, BN_CLICKED),
    fw::OnCommand(IDC_PATH_DELETE, &CSetPath::OnDelete, BN_CLICKED),
    fw::OnCommand(IDC_PATH_RELOAD, &CSetPath::OnReload, BN_CLICKED),
    fw::OnNotify(IDC_PATH_LIST, NM_CLICK, &CSetPath::OnListClick),
    fw::OnNotify(IDC_PATH_LIST, LVN_ITEMCHANGED, &CSetPath::OnListItemChanged),
    fw::OnMessage(WM_DESTROY, &CSetPath::OnDestroy),
};

namespace {

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

std::string TotalText(int total) { return std::to_string(total) + " pics"; }

std::vector<std::string> RowOfEntry(const std::string& entry) {
    std::vector<std::string> cells = SplitTokens(entry, ",");
    // Every entry keeps its row, so that row i is always folder list entry i.
    cells.resize(std::max<size_t>(cells.size(), 2));
    return cells;
}

CSetPath::CSetPath(SettingsContext& context) : CSettingsPageImpl(IDD_SET_PATH, context) {}

CSetPath::~CSetPath() {
    ReleaseCatalogue();  // also when the object goes before its window
}

void CSetPath::SetRowHeight(UINT dpi) {
    // A 1-pixel-wide image list only so that every row is at least 16 pixels (at 96 DPI) high. The
    // list view, which does not share its image lists, destroys it with itself; the one it gives
    // back on a change is ours.
    HIMAGELIST old = ListView_SetImageList(m_list.GetSafeHwnd(),
                                           ::ImageList_Create(1, fw::ScaleForDpi(16, dpi), ILC_COLOR24, 1, 1), LVSIL_SMALL);
    if (old) ::ImageList_Destroy(old);
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

    // While the page lives, every scan of the catalogue shows its progress here.
    ImageCatalogue& catalogue = m_context.catalogue;
    m_previousStep = catalogue.onScanStep;
    m_previousStart = catalogue.onScanStart;
    m_previousCounting = catalogue.onCounting;
    m_previousMessage = catalogue.onMessage;
    catalogue.onScanStep = [this] { StepProgress(); };
    catalogue.onScanStart = [this](int range) { PrepareScan(range); };
    catalogue.onCounting = [this](bool counting) { ShowCounting(counting); };
    m_hooked = true;

    Enable(IDC_PATH_DELETE, false);
    FillList();
    return TRUE;
}

LRESULT CSetPath::OnDestroy(WPARAM, LPARAM) {
    ReleaseCatalogue();
    return 0;
}

void CSetPath::ReleaseCatalogue() {
    if (m_hooked) {
        m_context.catalogue.onScanStep = m_previousStep;
        m_context.catalogue.onScanStart = m_previousStart;
        m_context.catalogue.onCounting = m_previousCounting;
        m_context.catalogue.onMessage = m_previousMessage;
        m_hooked = false;
    }
}

bool CSetPath::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN && IsListNavigationKey(msg->wParam)) return true;
    return CDialog::PreTranslateMessage(msg);
}

// ---- Display ------------------------------------------------------------------------------------

void CSetPath::FillList() {
    m_list.DeleteAllItems();
    for (const std::string& entry : m_context.catalogue.m_pathList) m_list.InsertRow(RowOfEntry(entry));
    ShowTotal();
}

void CSetPath::ShowTotal() {
    std::vector<std::string> counts;
    for (int row = 0; row < m_list.GetItemCount(); ++row) counts.push_back(m_list.GetItemText(row, 1));
    SetDlgItemText(IDC_PATH_TOTAL, TotalText(SumOfCounts(counts)));
}

void CSetPath::PrepareScan(int range) {
    ::SendMessageW(m_progress, PBM_SETPOS, 0, 0);
    ::SendMessageW(m_progress, PBM_SETSTEP, 1, 0);
    SetDlgItemText(IDC_PATH_TOTAL, "");
    // The 32-bit range: a tree of more than 65535 entries still fills the bar exactly once.
    ::SendMessageW(m_progress, PBM_SETRANGE32, 0, range);
}

void CSetPath::StepProgress() { ::SendMessageW(m_progress, PBM_STEPIT, 0, 0); }

void CSetPath::ShowCounting(bool counting) {
    if (counting)
        m_countingCursor.emplace();
    else
        m_countingCursor.reset();
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
    if (item < 0) {
        // A click beside the rows: the delete button goes off, the stored row stays.
        Enable(IDC_PATH_DELETE, false);
        return 0;
    }
    m_nSelected = item;
    Enable(IDC_PATH_DELETE, true);
    return 0;
}

void CSetPath::OnAdd() {
    std::string folder;
    if (!Prompts().BrowseForFolder(m_hwnd, folder)) return;
    AddChosenFolder(folder);
}

void CSetPath::AddChosenFolder(const std::string& folder) {
    m_chosenPath = mb::ToLower(folder);
    ImageCatalogue& catalogue = m_context.catalogue;
    const size_t listedBefore = catalogue.m_pathList.size();
    bool refusedAsListed = false;
    catalogue.onMessage = [this, &refusedAsListed](FolderMessage message) {
        if (message == FolderMessage::SameName || message == FolderMessage::AlreadyIncluded) refusedAsListed = true;
        ShowFolderMessage(message);
    };
    const bool added = catalogue.AddFolder(folder);
    catalogue.onMessage = m_previousMessage;

    if (refusedAsListed) ClearSelection();
    if (added || catalogue.m_pathList.size() != listedBefore) {
        FillList();
        // The rows were rebuilt: the list shows no selection, so the page keeps none either.
        ClearSelection();
    }
}

void CSetPath::OnDelete() {
    if (m_nSelected < 0) return;
    const int row = m_nSelected;
    ::SendMessageW(m_list.GetSafeHwnd(), LVM_DELETEITEM, row, 0);
    ::RedrawWindow(m_list.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Reread([this, row] { m_context.catalogue.RemoveFolder(static_cast<size_t>(row)); });
}

void CSetPath::OnReload() {
    Reread([this] { m_context.catalogue.ReloadFolders(); });
}

void CSetPath::Reread(const std::function<void()>& operation) {
    Enable(IDC_PATH_RELOAD, false);
    Enable(IDC_PATH_DELETE, false);
    Enable(IDC_PATH_ADD, false);
    HWND list = m_list.GetSafeHwnd();
    m_list.DeleteAllItems();
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);

    operation();
    for (const std::string& entry : m_context.catalogue.m_pathList) m_list.InsertRow(RowOfEntry(entry));

    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ShowTotal();
    Enable(IDC_PATH_RELOAD, true);
    Enable(IDC_PATH_ADD, true);
    ClearSelection();
}

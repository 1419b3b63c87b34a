#include "aux_windows/images_dlg.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "aux_windows/thumbnail.h"
#include "framework/dpi.h"
#include "framework/handles.h"
#include "framework/mbstring.h"
#include "resource.h"

static_assert(IDC_IMAGES_LIST == 1005, "the list of the current images template");

const fw::Handler<CImagesDlg> CImagesDlg::kHandlers[] = {
    fw::OnNotify(IDC_IMAGES_LIST, NM_RCLICK, &CImagesDlg::OnListRightClick),
    fw::OnMessage(WM_DPICHANGED, &CImagesDlg::OnDpiChanged),
    fw::OnMessage(WM_THUMBNAIL_READY, &CImagesDlg::OnThumbnailReady),
    fw::OnMessage(WM_DESTROY, &CImagesDlg::OnDestroy),
    fw::OnCommand(ID_IMAGES_DELETE, &CImagesDlg::OnDelete),
    fw::OnCommand(ID_IMAGES_OPEN, &CImagesDlg::OnOpen),
    fw::OnCommand(ID_IMAGES_BAN, &CImagesDlg::OnBan),
    fw::OnCommand(ID_IMAGES_KEEP, &CImagesDlg::OnKeep),
    fw::OnCommand(IDOK, &CImagesDlg::OnClose),
    fw::OnCommand(IDCANCEL, &CImagesDlg::OnClose),
};

std::wstring ShellPathList(const std::string& path) {
    std::wstring list = mb::Widen(path);
    list.push_back(L'\0');  // the string's own terminator is the second one
    return list;
}

bool DeleteWithShell(HWND owner, const std::string& path, FILEOP_FLAGS flags) {
    if (path.empty()) return false;
    // Built to the path's own length: a long path is never cut into a different file's name.
    std::wstring from = ShellPathList(path);
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = flags;
    return ::SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

void OpenWithShell(const std::string& path) {
    ::ShellExecuteW(nullptr, L"open", mb::Widen(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

CImagesDlg::CImagesDlg(std::vector<std::string> currentImages, HWND owner)
    : CDialogImpl(IDD_IMAGES, owner), m_itemPaths(std::move(currentImages)) {}

CImagesDlg::~CImagesDlg() = default;

BOOL CImagesDlg::OnInitDialog() {
    HWND list = List();
    m_dpi = fw::WindowDpi(m_hwnd);
    m_jobs = std::make_unique<fw::WindowJobs<fw::Bitmap>>(m_hwnd, WM_THUMBNAIL_READY);
    ShowThumbnails();
    for (size_t i = 0; i < m_itemPaths.size(); ++i) {
        ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        AddItem(static_cast<int>(i));
        ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    }
    return TRUE;
}

int CImagesDlg::ThumbnailSize() const { return fw::ScaleForDpi(kThumbnailSize, m_dpi); }

int CImagesDlg::Spacing() const { return fw::ScaleForDpi(kSpacing, m_dpi); }

void CImagesDlg::ShowThumbnails() {
    HWND list = List();
    const int size = ThumbnailSize();
    if (!m_jobs) return;  // not initialised yet, or closing
    // Thumbnails still coming at the old size are of no use any more.
    m_jobs->Cancel();
    fw::ImageList thumbnails(::ImageList_Create(size, size, ILC_COLOR32, 0, 1));
    ::ImageList_SetImageCount(thumbnails.get(), static_cast<UINT>(m_itemPaths.size()));
    const fw::Bitmap placeholder = MakeThumbnailPlaceholder(size);
    for (size_t i = 0; i < m_itemPaths.size(); ++i)
        ::ImageList_Replace(thumbnails.get(), static_cast<int>(i), placeholder.get(), nullptr);
    m_thumbnails = thumbnails.get();
    fw::GiveListViewImageList(list, std::move(thumbnails), LVSIL_NORMAL);
    ListView_SetIconSpacing(list, Spacing(), Spacing());
    const int rows = ListView_GetItemCount(list);
    for (int row = 0; row < rows; ++row) {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        if (!::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) continue;
        const int index = static_cast<int>(item.lParam);
        ListView_SetItemPosition32(list, row, Spacing() * index, 0);
        QueueThumbnail(index);
    }
}

void CImagesDlg::QueueThumbnail(int index) {
    if (!makeThumbnail) return;
    m_jobs->Post(index, [make = makeThumbnail, path = m_itemPaths[static_cast<size_t>(index)],
                         size = ThumbnailSize()](const std::atomic<bool>& cancelled) {
        return cancelled ? fw::Bitmap() : make(path, size);
    });
}

LRESULT CImagesDlg::OnThumbnailReady(WPARAM, LPARAM) {
    if (!m_jobs) return 0;
    HWND list = List();
    for (auto& done : m_jobs->Take()) {
        if (!done.result) continue;
        ::ImageList_Replace(m_thumbnails, done.key, done.result.get(), nullptr);
        LVFINDINFOW find{};
        find.flags = LVFI_PARAM;
        find.lParam = done.key;
        const int row = static_cast<int>(::SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                                        reinterpret_cast<LPARAM>(&find)));
        if (row >= 0) ListView_RedrawItems(list, row, row);
    }
    return 0;
}

LRESULT CImagesDlg::OnDestroy(WPARAM, LPARAM) {
    // Thumbnails still being made are dropped; one stuck on a dead share ends alone, unseen.
    m_jobs.reset();
    return 0;
}

fw::MessageResult CImagesDlg::OnDpiChanged(WPARAM wp, LPARAM lp) {
    // The dialog manager re-lays the controls out for the new DPI and sizes the window first;
    // the thumbnails and their spacing follow.
    if (m_inDefaultDpiChange) return fw::kDeclined;
    fw::RunDefaultDpiChange(m_hwnd, wp, lp, m_inDefaultDpiChange);
    const UINT dpi = HIWORD(wp) ? HIWORD(wp) : fw::kDefaultDpi;
    if (dpi == m_dpi) return 0;
    m_dpi = dpi;
    ShowThumbnails();
    return 0;
}

void CImagesDlg::AddItem(int index) {
    HWND list = List();
    std::wstring name = mb::Widen(mb::FileNameOfPath(m_itemPaths[static_cast<size_t>(index)]));
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = name.data();
    item.iImage = index;
    item.lParam = index;
    const int row = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) return;
    // All in one row, each in its own place, which a deletion leaves alone.
    ListView_SetItemPosition32(list, row, Spacing() * index, 0);
    QueueThumbnail(index);
}

bool CImagesDlg::SelectItemAt(POINT screen) {
    HWND list = List();
    LVHITTESTINFO hit{};
    hit.pt = screen;
    ::ScreenToClient(list, &hit.pt);
    m_selectedIndex = static_cast<int>(::SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (m_selectedIndex < 0) return false;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = m_selectedIndex;
    if (!::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return false;
    const size_t pathIndex = static_cast<size_t>(item.lParam);
    m_selectedPath = pathIndex < m_itemPaths.size() ? m_itemPaths[pathIndex] : std::string();
    return !m_selectedPath.empty();
}

LRESULT CImagesDlg::OnListRightClick(NMHDR* nm) {
    // Where the click happened, which the pointer may have left since.
    POINT cursor = reinterpret_cast<NMITEMACTIVATE*>(nm)->ptAction;
    ::ClientToScreen(List(), &cursor);
    if (!SelectItemAt(cursor)) return 0;
    fw::Menu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_IMAGES_MENU)));
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (popup) ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_hwnd, nullptr);
    return 1;
}

void CImagesDlg::OnDelete() {
    if (m_selectedIndex < 0 || m_selectedPath.empty()) return;
    // The row and the list entry go whatever the shell did (also when the user declined).
    // The shell's confirmation belongs to this window, which it keeps disabled while it asks.
    DeleteWithShell(m_hwnd, m_selectedPath, deleteFlags);
    RemoveSelected();
}

void CImagesDlg::OnBan() {
    if (m_selectedIndex < 0 || m_selectedPath.empty()) return;
    if (onBan) onBan(m_selectedPath);
    RemoveSelected();
}

void CImagesDlg::OnKeep() {
    if (!m_selectedPath.empty() && onKeep) onKeep(m_selectedPath);
}

void CImagesDlg::RemoveSelected() {
    ::SendMessageW(List(), LVM_DELETEITEM, m_selectedIndex, 0);
    if (onRemove) onRemove(m_selectedPath);
    m_selectedIndex = -1;
    m_selectedPath.clear();
}

void CImagesDlg::OnOpen() {
    if (!m_selectedPath.empty() && openFile) openFile(m_selectedPath);
}

#include "settings_ui/mask_dlg.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>

#include "framework/handles.h"
#include "framework/mbstring.h"
#include "resource.h"

ThumbnailPlace FitThumbnail(int W, int H) {
    constexpr int box = CMaskDlg::kThumbSize;
    if (W <= 0) W = 1;
    if (H <= 0) H = 1;
    const double r = static_cast<double>(static_cast<int64_t>(W) * 100 / H);
    int width, height;
    if (r > 100) {
        width = W > box ? box : W;
        height = static_cast<int>(width * 100 / r);
    } else if (H > box) {
        height = box;
        width = static_cast<int>(r * box * 0.01);
    } else {
        height = H;
        width = static_cast<int>(r * H * 0.01);
    }
    return {box / 2 - width / 2, box / 2 - height / 2, width, height};
}

std::string MaskLabel(const std::string& path) {
    const std::string name = mb::FileNameOfPath(path);
    return name.size() > 4 ? name.substr(0, name.size() - 4) : std::string();
}

const fw::Handler<CMaskDlg> CMaskDlg::kHandlers[] = {
    fw::OnCommand(IDC_MASK_SELECT, &CMaskDlg::OnSelect, BN_CLICKED),
    fw::OnCommand(IDC_MASK_CANCEL, &CMaskDlg::OnCancel, BN_CLICKED),
    fw::OnCommand(IDOK, &CMaskDlg::OnSelect),
    fw::OnCommand(IDCANCEL, &CMaskDlg::OnCancel),
    fw::OnNotify(IDC_MASK_LIST, LVN_ITEMCHANGED, &CMaskDlg::OnItemChanged),
    fw::OnNotify(IDC_MASK_LIST, NM_DBLCLK, &CMaskDlg::OnDoubleClick),
    fw::OnMessage(WM_DESTROY, &CMaskDlg::OnDestroy),
};

CMaskDlg::CMaskDlg(const std::vector<std::string>& masks, HWND parent)
    : CDialogImpl(IDD_MASK_PICKER, parent), m_masks(masks) {}

CMaskDlg::~CMaskDlg() = default;

BOOL CMaskDlg::OnInitDialog() {
    m_nLastItem = -1;
    HWND list = GetDlgItem(IDC_MASK_LIST);
    m_imageList.reset(::ImageList_Create(kThumbSize, kThumbSize, ILC_COLOR32, 0, 1));
    ListView_SetImageList(list, m_imageList.get(), LVSIL_NORMAL);
    ListView_SetIconSpacing(list, kSpacing, kSpacing);
    ::ImageList_SetImageCount(m_imageList.get(), static_cast<UINT>(m_masks.size()));
    for (int i = 0; i < static_cast<int>(m_masks.size()); ++i) AddMask(list, i);
    // Two columns come from the spacing and the list's width: placing items by hand raced with
    // the list's own placement of new items.
    ::SendMessageW(list, LVM_ARRANGE, LVA_ALIGNTOP, 0);
    ::EnableWindow(GetDlgItem(IDC_MASK_SELECT), FALSE);
    return TRUE;
}

void CMaskDlg::AddMask(HWND list, int i) {
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    std::wstring label = mb::Widen(MaskLabel(m_masks[static_cast<size_t>(i)]));
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.pszText = label.data();
    item.iImage = i;
    ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    BuildThumbnail(i);
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

void CMaskDlg::BuildThumbnail(int i) {
    std::wstring path = mb::Widen(m_masks[static_cast<size_t>(i)]);
    auto image = std::make_unique<Gdiplus::Bitmap>(path.c_str());
    const bool loaded = image->GetLastStatus() == Gdiplus::Ok;
    const int W = loaded ? static_cast<int>(image->GetWidth()) : 1;
    const int H = loaded ? static_cast<int>(image->GetHeight()) : 1;

    Gdiplus::Bitmap thumb(kThumbSize, kThumbSize, PixelFormat24bppRGB);
    if (loaded) thumb.SetResolution(image->GetHorizontalResolution(), image->GetVerticalResolution());
    {
        Gdiplus::Graphics g(&thumb);
        g.Clear(Gdiplus::Color(255, 255, 255, 255));
        g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        Gdiplus::Pen black(Gdiplus::Color(255, 0, 0, 0), 1.0f);
        g.DrawRectangle(&black, 0, 0, kThumbSize - 1, kThumbSize - 1);
        if (loaded) {
            ThumbnailPlace at = FitThumbnail(W, H);
            g.DrawImage(image.get(), at.x, at.y, at.width, at.height);
        }
    }
    image.reset();  // the file is free again before the picker closes

    HBITMAP raw = nullptr;
    if (thumb.GetHBITMAP(Gdiplus::Color(255, 255, 255, 255), &raw) != Gdiplus::Ok) return;
    fw::Bitmap bitmap(raw);
    ::ImageList_Replace(m_imageList.get(), i, bitmap.get(), nullptr);
}

LRESULT CMaskDlg::OnItemChanged(NMHDR* header) {
    auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    // Only an item becoming selected is a choice; focus moves alone are not.
    const bool selected = (change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED);
    if (change->iItem < 0 || static_cast<size_t>(change->iItem) >= m_masks.size() || change->iItem == m_nLastItem ||
        !selected)
        return 0;
    // Item i shows mask i: the list keeps the order it was filled in.
    m_strSelected = MaskLabel(m_masks[static_cast<size_t>(change->iItem)]);
    ::EnableWindow(GetDlgItem(IDC_MASK_SELECT), TRUE);
    m_nLastItem = change->iItem;
    return 0;
}

LRESULT CMaskDlg::OnDestroy(WPARAM, LPARAM) {
    // A list view destroys the image list it holds when it dies; this one belongs to the picker.
    ListView_SetImageList(GetDlgItem(IDC_MASK_LIST), nullptr, LVSIL_NORMAL);
    return 0;
}

LRESULT CMaskDlg::OnDoubleClick(NMHDR*) {
    OnSelect();
    return 0;
}

void CMaskDlg::OnSelect() {
    if (m_nLastItem < 0) return;  // nothing chosen yet
    EndDialog(1);
}

void CMaskDlg::OnCancel() { EndDialog(0); }

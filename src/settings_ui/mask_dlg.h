#pragma once
// The mask picker: every mask of the masks folder as a 40 x 40 thumbnail, two to a row; returns
// the label of the chosen one.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/handles.h"
#include "framework/window.h"

// Where a mask of W x H pixels goes in its 40 x 40 thumbnail: shrunk to fit keeping its shape,
// never enlarged, centred.
struct ThumbnailPlace {
    int x, y, width, height;
};
ThumbnailPlace FitThumbnail(int W, int H);

// The item label of a mask path: the file name without its last four characters (".gif").
std::string MaskLabel(const std::string& path);

class CMaskDlg : public fw::CDialogImpl<CMaskDlg> {
public:
    static constexpr int kThumbSize = 40;
    static constexpr int kSpacing = 60;

    CMaskDlg(const std::vector<std::string>& masks, HWND parent);
    ~CMaskDlg() override;

    std::string m_strSelected;  // label of the chosen mask; empty until one is chosen
    int m_nLastItem = -1;       // list item handled last

    static const fw::Handler<CMaskDlg> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnSelect();
    void OnCancel();
    LRESULT OnItemChanged(NMHDR* header);
    LRESULT OnDoubleClick(NMHDR* header);
    LRESULT OnDestroy(WPARAM, LPARAM);
    void AddMask(HWND list, int i);
    void BuildThumbnail(int i);

    const std::vector<std::string>& m_masks;
    fw::ImageList m_imageList;
};

#pragma once
// "현재 이미지들..": the photographs on the current wallpaper as a row of thumbnails, each of
// which can be deleted to the recycle bin or opened with its associated program.

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "aux_windows/thumbnail.h"
#include "framework/window.h"
#include "framework/window_jobs.h"

// A thumbnail made on the dialog's worker is ready to be taken.
constexpr UINT WM_THUMBNAIL_READY = WM_APP + 0x52;

// The shell's list of one path (double-terminated), whatever the path's length.
std::wstring ShellPathList(const std::string& path);
// Deletes a file through the shell; with FOF_ALLOWUNDO it goes to the recycle bin. True when the
// shell did it (not aborted, not declined).
bool DeleteWithShell(HWND owner, const std::string& path, FILEOP_FLAGS flags);
// Opens a file with the program the system associates with its type.
void OpenWithShell(const std::string& path);

class CImagesDlg : public fw::CDialogImpl<CImagesDlg> {
public:
    // `currentImages`: the photos on the wallpaper. `owner`: the main window, which also owns the
    // shell's delete confirmation.
    CImagesDlg(std::vector<std::string> currentImages, HWND owner);
    ~CImagesDlg() override;

    // The item under a point of the screen becomes the selection; false when there is none.
    bool SelectItemAt(POINT screen);
    int SelectedIndex() const { return m_selectedIndex; }
    const std::string& SelectedPath() const { return m_selectedPath; }
    HWND List() const { return GetDlgItem(IDC_LIST); }
    HIMAGELIST Thumbnails() const { return m_thumbnails; }
    // The side of a thumbnail and the distance between two, at the window's DPI.
    int ThumbnailSize() const;
    int Spacing() const;

    // The shell's delete flags: to the recycle bin, files only, after the shell's confirmation.
    FILEOP_FLAGS deleteFlags = FOF_ALLOWUNDO | FOF_FILESONLY;
    // How a photo is opened; tests record it instead of starting a viewer.
    std::function<void(const std::string&)> openFile = OpenWithShell;
    // "다시 보지 않기" and "즐겨찾기": the owner puts the photo on its list. A banned photo leaves
    // this list too.
    std::function<void(const std::string&)> onBan;
    std::function<void(const std::string&)> onKeep;
    // A photo deleted or banned left the window: the owner takes it out of the current images.
    std::function<void(const std::string&)> onRemove;
    // How a thumbnail is made, on the dialog's worker thread; tests stand in a slow one.
    std::function<fw::Bitmap(const std::string&, int)> makeThumbnail = MakeThumbnail;
    // Thumbnails are still being made or wait to be shown; until then their cells show the
    // placeholder.
    bool ThumbnailsPending() const { return m_jobs && m_jobs->Busy(); }

    static const fw::Handler<CImagesDlg> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    static constexpr int IDC_LIST = 1005;
    static constexpr int kSpacing = 80;

    LRESULT OnListRightClick(NMHDR*);
    fw::MessageResult OnDpiChanged(WPARAM, LPARAM);
    LRESULT OnThumbnailReady(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    // The thumbnails' cells and places for m_dpi, with placeholders until the pictures come; rows
    // deleted meanwhile stay gone.
    void ShowThumbnails();
    void OnDelete();
    void OnOpen();
    void OnBan();
    void OnKeep();
    void RemoveSelected();
    void OnClose() { EndDialog(IDCANCEL); }
    void AddItem(int index);
    // The thumbnail of a path is made on the worker; it replaces the placeholder when it arrives.
    void QueueThumbnail(int index);

    // The paths as they were at opening; item data indexes them, so deletions never move them.
    std::vector<std::string> m_itemPaths;
    HIMAGELIST m_thumbnails = nullptr;  // owned by the list view once attached
    std::string m_selectedPath;
    int m_selectedIndex = -1;
    UINT m_dpi = 96;
    std::unique_ptr<fw::WindowJobs<fw::Bitmap>> m_jobs;
    bool m_inDefaultDpiChange = false;
};

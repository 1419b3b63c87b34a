#pragma once
// Page 3, "이미지 경로": the image folders.

#include <memory>
#include <string>
#include <vector>

#include "settings_ui/color_list_ctrl.h"
#include "settings_ui/settings_page.h"
#include "state/folder_edit.h"

// Keys that would move the list's selection behind the page's back; the page swallows them so
// that the selection changes by the mouse only.
bool IsListNavigationKey(WPARAM virtualKey);
// The sum of the count texts (a text that is no number counts 0).
int SumOfCounts(const std::vector<std::string>& countTexts);
// "%d pics", " (<label> %d)" after it when some of them are cloud-only, and the banned photos' count.
std::string TotalText(int total, int cloudOnly = 0, const std::string& cloudLabel = "", size_t banned = 0);
// The cells of a folder list entry's row: its comma-separated fields, path and count.
std::vector<std::string> RowOfEntry(const std::string& entry);

// Shows `position` of `range` on a progress bar at once. Windows' animated bar glides towards a
// new position and lags far behind a fast scan, but draws a step back at once: the bar is set one
// beyond and then back (at the end, through a range one higher).
void ShowBarPosition(HWND bar, int position, int range);

class CSetPath : public CSettingsPageImpl<CSetPath> {
public:
    explicit CSetPath(SettingsContext& context);
    ~CSetPath() override;

    bool PreTranslateMessage(MSG* msg) override;
    // The columns and the row height follow the DPI.
    void DpiChanged(UINT oldDpi, UINT newDpi) override;

    // The part of an add after the folder browser: the folder rules, then the scan in the
    // background; the folder is listed when the scan has finished.
    void AddChosenFolder(const std::string& folder);
    // The row that a click chose, -1 for none.
    int Selection() const { return m_nSelected; }
    // An add, delete or re-read is scanning; the page's edits wait for it.
    bool Scanning() const { return m_edit.scan != nullptr; }
    // Drops the running scan: the folder list and the catalogue stay as they were.
    void CancelScan();

    static const fw::Handler<CSetPath> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void AddFolder();
    void OnDelete();
    void RemoveFolder(size_t row);
    void ReloadFolders();
    void OnEscape();
    void OnCloudPhotos();
    LRESULT OnListClick(NMHDR* nm);
    LRESULT OnTimer(WPARAM id, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    // A scan still running when the page goes is handed to the owner with its edit.
    void HandOverScan();

    void SetRowHeight(UINT dpi);
    void FillList();
    // The catalogue's list is no longer the one shown (a closed window's edit was committed
    // since): the rows are filled again, and true.
    bool ShowsAnOldList();
    void ShowTotal();
    void ShowFolderMessage(FolderMessage message) const;
    void ClearSelection();

    // Scans the folders on a worker thread, polled by a timer, with the edits disabled and the
    // cancel button shown. `folder` is the one added or removed.
    void StartScan(FolderEditKind kind, std::string folder, std::vector<std::string> folders);
    void ShowScanProgress();
    void FinishScan();
    // Back to the idle page after a scan, whether it was taken or dropped.
    void EndScan();
    void ShowScanControls(bool scanning);
    // The bar runs as a marquee while the entries are counted: the range is not known yet.
    void ShowCounting(bool counting);

    CColorListCtrl m_list;
    HWND m_progress = nullptr;
    int m_nSelected = -1;
    std::string m_chosenPath;
    // The edit being scanned; the page's window closing hands it to the main window.
    FolderEdit m_edit;
    std::vector<std::string> m_shownList;  // the folder list as the rows show it
    bool m_counting = false;
};

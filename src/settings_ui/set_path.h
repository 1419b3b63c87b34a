#pragma once
// Page 3, "이미지 경로": the image folders.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/handles.h"
#include "settings_ui/color_list_ctrl.h"
#include "settings_ui/settings_page.h"

// Keys that would move the list's selection behind the page's back; the page swallows them so
// that the selection changes by the mouse only.
bool IsListNavigationKey(WPARAM virtualKey);
// The sum of the count texts (a text that is no number counts 0).
int SumOfCounts(const std::vector<std::string>& countTexts);
// "%d pics"
std::string TotalText(int total);
// The cells of a folder list entry's row: its comma-separated fields, path and count.
std::vector<std::string> RowOfEntry(const std::string& entry);

class CSetPath : public CSettingsPageImpl<CSetPath> {
public:
    explicit CSetPath(SettingsContext& context);
    ~CSetPath() override;

    bool PreTranslateMessage(MSG* msg) override;
    // The columns and the row height follow the DPI.
    void DpiChanged(UINT oldDpi, UINT newDpi) override;

    // The part of an add after the folder browser: the folder rules, the scan and the display.
    void AddChosenFolder(const std::string& folder);
    // The row that a click chose, -1 for none.
    int Selection() const { return m_nSelected; }

    static const fw::Handler<CSetPath> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnAdd();
    void OnDelete();
    void OnReload();
    LRESULT OnListClick(NMHDR* nm);
    LRESULT OnListItemChanged(NMHDR*) { return 0; }
    LRESULT OnDestroy(WPARAM, LPARAM);
    // Hands the catalogue's hooks back (they point at this page).
    void ReleaseCatalogue();

    void SetRowHeight(UINT dpi);
    void FillList();
    void ShowTotal();
    void PrepareScan(int range);
    void StepProgress();
    // The wait cursor while the entries of a large tree are counted.
    void ShowCounting(bool counting);
    void ShowFolderMessage(FolderMessage message) const;
    // Runs a re-read of the folders (or a delete, which ends in one) with the buttons disabled
    // and the list frozen.
    void Reread(const std::function<void()>& operation);
    void ClearSelection();

    CColorListCtrl m_list;
    HWND m_progress = nullptr;
    int m_nSelected = -1;
    std::string m_chosenPath;
    // The catalogue's hooks as they were before the page took them over.
    std::function<void()> m_previousStep;
    std::function<void(int)> m_previousStart;
    std::function<void(bool)> m_previousCounting;
    std::function<void(FolderMessage)> m_previousMessage;
    bool m_hooked = false;
    std::optional<fw::WaitCursor> m_countingCursor;
};

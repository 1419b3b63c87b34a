#pragma once
// The real message boxes and choosers of the settings windows.

#include "settings_ui/settings_context.h"

class SystemPrompts : public IPrompts {
public:
    int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override;
    // Fully open and modal to `owner`; the custom colours the user mixes stay for the rest of the run.
    bool PickColor(HWND owner, COLORREF& color) override;
    bool BrowseForFolder(HWND owner, std::string& folder) override;
    bool ChooseImageFile(HWND owner, std::string& path) override;
};

// The image file dialog's filter: "Image (*.jpg,*.jpeg,...)", then the patterns of every picture
// the catalogue takes, each part ended by a null.
std::wstring ImageFileFilter();

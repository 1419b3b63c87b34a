#include "settings_ui/prompts.h"

#include <commdlg.h>
#include <shlobj.h>

#include <array>
#include <vector>

#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/texts.h"
#include "resource.h"
#include "state/catalogue.h"

std::wstring ImageFileFilter() {
    std::wstring names, patterns;
    for (const char* ext : kImageExtensions) {
        const std::wstring wide = mb::Widen(ext);
        names += (names.empty() ? L"*." : L",*.") + wide;
        patterns += (patterns.empty() ? L"*." : L";*.") + wide;
    }
    return fw::LoadFilter(IDS_IMAGE_FILE_FILTER, {names, patterns});
}

int SystemPrompts::ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

bool SystemPrompts::PickColor(HWND owner, COLORREF& color) {
    static std::array<COLORREF, 16> customColors = [] {
        std::array<COLORREF, 16> white;
        white.fill(RGB(255, 255, 255));
        return white;
    }();
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = owner;
    cc.rgbResult = color;
    cc.lpCustColors = customColors.data();
    cc.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!::ChooseColorW(&cc)) return false;
    color = cc.rgbResult;
    return true;
}

bool SystemPrompts::BrowseForFolder(HWND owner, std::string& folder) {
    fw::ComApartment com;
    const std::wstring title = fw::LoadText(IDS_BROWSE_FOLDER_TITLE);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    fw::CurrentFolderKept folderKept;
    fw::CoTaskMemory<ITEMIDLIST> chosen(::SHBrowseForFolderW(&info));
    if (!chosen) return false;
    wchar_t path[MAX_PATH] = {};
    // A folder the code page cannot spell goes by its short name, or counts as no file-system path.
    folder = ::SHGetPathFromIDListW(chosen.get(), path) ? mb::NarrowPath(path) : std::string();
    return true;
}

bool SystemPrompts::ChooseImageFile(HWND owner, std::string& path) {
    const std::wstring filter = ImageFileFilter();
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
    fw::CurrentFolderKept folderKept;  // the flag does not hold for the Open dialog
    if (!::GetOpenFileNameW(&ofn)) return false;
    const std::string narrow = mb::NarrowPath(file.data());
    if (narrow.empty()) return false;  // no spelling of it names this file
    path = narrow;
    return true;
}

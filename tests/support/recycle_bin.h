// The recycle bin as the tests see it. The bin is shared with every other program and, under Wine,
// with every other test run of the Unix user (it is the user's trash folder), so its item count
// proves nothing about one delete: a test looks for its own file's entry instead.
#pragma once

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "framework/handles.h"
#include "framework/mbstring.h"

namespace testing_support {

namespace recycle_bin_detail {

struct FreeItemId {
    void operator()(ITEMIDLIST* id) const noexcept { ::CoTaskMemFree(id); }
};
using ItemId = std::unique_ptr<ITEMIDLIST, FreeItemId>;

inline std::wstring DisplayName(IShellFolder& folder, const ITEMIDLIST* item) {
    STRRET text{};
    wchar_t name[MAX_PATH] = L"";
    if (FAILED(folder.GetDisplayNameOf(item, SHGDN_INFOLDER, &text))) return L"";
    if (FAILED(::StrRetToBufW(&text, item, name, MAX_PATH))) return L"";
    return name;
}

}  // namespace recycle_bin_detail

// Whether the bin holds an entry named `fileName`, compared with or without its extension (the
// shell hides known extensions when the user asks it to).
inline bool RecycleBinHolds(const std::string& fileName) {
    using namespace recycle_bin_detail;
    const std::wstring full = mb::Widen(fileName);
    const std::wstring bare = full.substr(0, full.rfind(L'.'));
    IShellFolder* raw = nullptr;
    if (FAILED(::SHGetDesktopFolder(&raw))) return false;
    const fw::ComInterface<IShellFolder> desktop(raw);
    ITEMIDLIST* binId = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &binId))) return false;
    const ItemId binOwner(binId);
    raw = nullptr;
    if (FAILED(desktop->BindToObject(binId, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&raw)))) return false;
    const fw::ComInterface<IShellFolder> bin(raw);
    IEnumIDList* rawItems = nullptr;
    if (bin->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, &rawItems) != S_OK)
        return false;
    const fw::ComInterface<IEnumIDList> items(rawItems);
    ITEMIDLIST* item = nullptr;
    while (items->Next(1, &item, nullptr) == S_OK) {
        const ItemId owner(item);
        const std::wstring name = DisplayName(*bin, item);
        if (::lstrcmpiW(name.c_str(), full.c_str()) == 0 || ::lstrcmpiW(name.c_str(), bare.c_str()) == 0) return true;
    }
    return false;
}

// Wine's recycle bin: the Unix user's trash folder, reached through the drive that maps the Unix
// root; "" elsewhere, where the bin is the system's own.
inline std::string WineTrashFolder() {
    const char* home = std::getenv("WINEHOMEDIR");  // "\\??\\Z:\\root"
    if (!home) return "";
    std::string folder = home;
    if (folder.rfind("\\??\\", 0) == 0) folder.erase(0, 4);
    folder += "\\.local\\share\\Trash";
    return ::GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES ? "" : folder;
}

// Takes a test's own file out of Wine's trash again, so that test runs do not fill it.
inline void TakeOutOfWineTrash(const std::string& fileName) {
    const std::string trash = WineTrashFolder();
    if (trash.empty()) return;
    ::DeleteFileW(mb::Widen(trash + "\\files\\" + fileName).c_str());
    ::DeleteFileW(mb::Widen(trash + "\\info\\" + fileName + ".trashinfo").c_str());
}

}  // namespace testing_support

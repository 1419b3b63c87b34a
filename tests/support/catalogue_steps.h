#pragma once
// The catalogue's folder operations run to the end on the calling thread: the same steps the path
// page runs (a scan on a worker, then a commit), so that a test can drive them in one call.

#include <string>
#include <vector>

#include "state/catalogue.h"

namespace testing_support {

// Appends every image below the folder to the catalogue; returns how many.
inline int ScanFolder(ImageCatalogue& catalogue, const std::string& folder) {
    ScanStatus status;
    std::vector<std::string> images = std::move(ScanFolders({folder}, false, status).front().images);
    const int found = static_cast<int>(images.size());
    catalogue.AddImages(std::move(images));
    return found;
}

// Directory entries below the folder, "." and ".." included: the steps a scan of it makes.
inline int CountEntries(const std::string& folder) {
    ScanStatus status;
    ScanFolders({folder}, true, status);
    return status.range;
}

// Checks, scans and commits a chosen folder; true when it was added. The rules' messages are
// appended to `messages` when given.
inline bool AddFolder(ImageCatalogue& catalogue, const std::string& chosen,
                      std::vector<FolderMessage>* messages = nullptr) {
    FolderCheck check = catalogue.CheckNewFolder(chosen);
    if (messages) messages->insert(messages->end(), check.messages.begin(), check.messages.end());
    if (check.folder.empty()) return false;
    ScanStatus status;
    catalogue.CommitAdd(std::move(ScanFolders({check.folder}, false, status).front()));
    return true;
}

// Rebuilds the catalogue from its folder list.
inline void ReloadFolders(ImageCatalogue& catalogue) {
    ScanStatus status;
    catalogue.CommitReread(ScanFolders(catalogue.ListedFolders(), false, status));
}

// Removes one folder entry and rebuilds the catalogue.
inline void RemoveFolder(ImageCatalogue& catalogue, size_t index) {
    std::vector<std::string> folders = catalogue.ListedFolders();
    if (index >= folders.size()) return;
    folders.erase(folders.begin() + static_cast<std::ptrdiff_t>(index));
    ScanStatus status;
    catalogue.CommitReread(ScanFolders(folders, false, status));
}

}  // namespace testing_support

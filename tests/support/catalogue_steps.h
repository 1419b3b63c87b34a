#pragma once
// The catalogue's folder operations run to the end on the calling thread: the same steps the path
// page runs (a scan on a worker, then a commit), so that a test can drive them in one call.

#include <iterator>
#include <string>
#include <vector>

#include "state/catalogue.h"

namespace testing_support {

// Appends every image below the folder to the catalogue; returns how many.
inline int ScanFolder(ImageCatalogue& catalogue, const std::string& folder) {
    ScanStatus status;
    std::vector<std::string> images = std::move(ScanFolders({folder}, false, status).front().images);
    catalogue.m_imageList.insert(catalogue.m_imageList.end(), std::make_move_iterator(images.begin()),
                                 std::make_move_iterator(images.end()));
    return static_cast<int>(images.size());
}

// Directory entries below the folder, "." and ".." included: the steps a scan of it makes.
inline int CountEntries(const std::string& folder) {
    ScanStatus status;
    ScanFolders({folder}, true, status);
    return status.range;
}

// Checks, scans and commits a chosen folder; true when it was added.
inline bool AddFolder(ImageCatalogue& catalogue, const std::string& chosen) {
    const std::string folder = catalogue.CheckNewFolder(chosen);
    if (folder.empty()) return false;
    ScanStatus status;
    catalogue.CommitAdd(std::move(ScanFolders({folder}, false, status).front()));
    return true;
}

// Rebuilds the catalogue from its folder list.
inline void ReloadFolders(ImageCatalogue& catalogue) {
    ScanStatus status;
    catalogue.CommitReread(ScanFolders(catalogue.ListedFolders(), false, status));
}

// Removes one folder entry and rebuilds the catalogue.
inline void RemoveFolder(ImageCatalogue& catalogue, size_t index) {
    if (index >= catalogue.m_pathList.size()) return;
    catalogue.m_pathList.erase(catalogue.m_pathList.begin() + static_cast<std::ptrdiff_t>(index));
    ReloadFolders(catalogue);
}

}  // namespace testing_support

#include "state/folder_edit.h"

#include <algorithm>
#include <utility>

#include "framework/mbstring.h"

namespace {

// The folder is listed, or lies inside a listed folder.
bool IsCoveredByList(const ImageCatalogue& catalogue, const std::string& lowerFolder) {
    for (const std::string& listed : catalogue.ListedFolders()) {
        const std::string lower = mb::ToLower(listed);
        if (lower == lowerFolder || (lower.size() < lowerFolder.size() && mb::IsInsideFolder(lowerFolder, lower)))
            return true;
    }
    return false;
}

bool RemoveFolderAndItsPictures(ImageCatalogue& catalogue, const std::string& folder) {
    const std::string lowerFolder = mb::ToLower(folder);
    auto& paths = catalogue.m_pathList;
    const auto listed = std::find_if(paths.begin(), paths.end(), [&](const std::string& entry) {
        return mb::ToLower(FolderOfEntry(entry)) == lowerFolder;
    });
    if (listed == paths.end()) return false;
    paths.erase(listed);
    auto& images = catalogue.m_imageList;
    images.erase(std::remove_if(images.begin(), images.end(),
                                [&](const std::string& path) { return mb::IsInsideFolder(mb::ToLower(path), lowerFolder); }),
                 images.end());
    return true;
}

}  // namespace

bool CommitFolderEdit(ImageCatalogue& catalogue, const FolderEdit& edit, std::vector<FolderScan> scans) {
    const bool unchanged = catalogue.m_pathList == edit.listBefore;
    switch (edit.kind) {
        case FolderEditKind::Add:
            if (scans.empty()) return false;
            if (!unchanged && IsCoveredByList(catalogue, mb::ToLower(scans.front().folder))) return false;
            catalogue.CommitAdd(std::move(scans.front()));
            return true;
        case FolderEditKind::Remove:
            if (!unchanged) return RemoveFolderAndItsPictures(catalogue, edit.folder);
            catalogue.CommitReread(std::move(scans));
            return true;
        case FolderEditKind::Reread:
            if (!unchanged) return false;
            catalogue.CommitReread(std::move(scans));
            return true;
    }
    return false;
}

void AdoptedFolderEdits::Adopt(FolderEdit edit) {
    if (edit.scan) m_edits.push_back(std::move(edit));
}

bool AdoptedFolderEdits::CommitFinished(ImageCatalogue& catalogue) {
    bool changed = false;
    while (!m_edits.empty() && m_edits.front().scan->Finished()) {
        FolderEdit edit = std::move(m_edits.front());
        m_edits.pop_front();
        if (edit.scan->Complete() && CommitFolderEdit(catalogue, edit, edit.scan->TakeResults())) changed = true;
    }
    return changed;
}

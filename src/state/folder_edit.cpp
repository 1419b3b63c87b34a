#include "state/folder_edit.h"

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

}  // namespace

bool CommitFolderEdit(ImageCatalogue& catalogue, const FolderEdit& edit, std::vector<FolderScan> scans) {
    const bool unchanged = catalogue.FolderEntries() == edit.listBefore;
    switch (edit.kind) {
        case FolderEditKind::Add:
            if (scans.empty()) return false;
            if (!unchanged && IsCoveredByList(catalogue, mb::ToLower(scans.front().folder))) return false;
            catalogue.CommitAdd(std::move(scans.front()));
            return true;
        case FolderEditKind::Remove:
            if (!unchanged) return catalogue.RemoveFolder(edit.folder);
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

#pragma once
// An add, a removal or a re-read of the image folders whose scan runs in the background. The
// window that began it commits it when the scan ends; a window closed before then hands it to the
// main window, which commits it later, so that closing a window never throws the edit away.

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "state/background_scan.h"
#include "state/catalogue.h"

enum class FolderEditKind { Add, Remove, Reread };

struct FolderEdit {
    FolderEditKind kind = FolderEditKind::Reread;
    std::string folder;                    // the folder added or removed; empty for a re-read
    std::vector<std::string> listBefore;   // the folder list when the edit began
    std::unique_ptr<BackgroundScan> scan;  // an add scans the new folder, the others what stays listed
};

// Takes a complete scan's results into the catalogue; true when it changed. On the list the edit
// began from, an add appends the folder (with the tidy-up) and a removal or re-read rebuilds both
// lists. When the list was edited meanwhile, an add still goes in unless the folder is listed or
// inside a listed one by now, a removal takes out the folder and its pictures alone, and a
// re-read, stale, is dropped.
bool CommitFolderEdit(ImageCatalogue& catalogue, const FolderEdit& edit, std::vector<FolderScan> scans);

// Edits whose window closed before their scans ended, committed in the order they were begun.
class AdoptedFolderEdits {
public:
    void Adopt(FolderEdit edit);
    bool Empty() const { return m_edits.empty(); }
    // Commits the edits whose scans have ended, oldest first, up to one still running; an edit
    // whose scan failed is dropped. True when the catalogue changed.
    bool CommitFinished(ImageCatalogue& catalogue);

private:
    std::deque<FolderEdit> m_edits;
};

#include "state/catalogue.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <utility>

#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/safe_file.h"
#include "state/data_files.h"

namespace {

// list.txt lines are read in pieces of at most 259 bytes, three times as many in UTF-8 (where a
// Korean character takes three bytes instead of two).
size_t LineBuffer() { return mb::ScaledByteLimit(260); }
// A longer path would come back from list.txt in two pieces (its line end counts in the buffer).
size_t LongestCataloguedPath() { return LineBuffer() - 2; }

std::string ListFilePath(const std::string& exePath) { return exePath + data_files::kFolderList; }

// Calls visit for every entry of the folder in the order the file system returns them, until the
// scan is cancelled. The wide functions see every name as it is; the narrow ones would hand out
// names the code page cannot hold with "?" in them. The large fetch asks a network share for many
// entries per round trip.
template <class Visit>
void ForEachEntry(const std::string& folder, const ScanStatus& status, Visit visit) {
    WIN32_FIND_DATAW data{};
    fw::FindHandle find(::FindFirstFileExW(mb::Widen(folder + "\\*.*").c_str(), FindExInfoStandard, &data,
                                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return;
    do {
        if (status.cancelled.load(std::memory_order_relaxed)) return;
        visit(data);
    } while (::FindNextFileW(find.get(), &data));
}

// The name as the code page writes it, when it comes back unchanged; "" otherwise (a Japanese
// or emoji name on a Korean system would come out with "?" and could never be opened).
std::string ExactNarrowName(const wchar_t* name) {
    if (!*name || std::wcschr(name, L'\uFFFD') || std::wcschr(name, L'?')) return "";
    std::string narrow = mb::Narrow(name);
    return mb::Widen(narrow) == name ? narrow : std::string();
}

// The name under which an entry is catalogued: its own, else its short (8.3) name, else none.
std::string CataloguedName(const wchar_t* name, const wchar_t* shortName) {
    std::string narrow = ExactNarrowName(name);
    return narrow.empty() ? ExactNarrowName(shortName) : narrow;
}

// The folders a walk is inside, by file identity, so that a link or junction leading back up the
// tree is not followed again.
class FolderTrail {
public:
    explicit FolderTrail(fw::IFileSystem& files) : m_files(files) {}
    // False when the folder is one the walk is already inside; otherwise it is entered.
    bool Enter(const std::string& folder) {
        fw::FolderId id{};
        // A folder that cannot be opened, or a share that names every folder alike, identifies
        // nothing; the path length limit still ends any loop through it.
        if (!m_files.IdentifyFolder(mb::Widen(folder), id) || !fw::IsKnownFolderId(id)) {
            m_trail.push_back({false, {}});
            return true;
        }
        for (const auto& inside : m_trail)
            if (inside.first && inside.second.volume == id.volume && inside.second.index == id.index) return false;
        m_trail.push_back({true, id});
        return true;
    }
    void Leave() { m_trail.pop_back(); }

private:
    fw::IFileSystem& m_files;
    std::vector<std::pair<bool, fw::FolderId>> m_trail;  // known, identity
};

bool IsDotEntry(const wchar_t* name) { return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0; }

bool IsDirectory(const WIN32_FIND_DATAW& data) { return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

enum class EntryKind { Folder, File, Skipped };

// What the walk does with an entry, and its full path (the folder, a backslash, the name).
EntryKind ClassifyEntry(const std::string& folder, const WIN32_FIND_DATAW& data, std::string& path) {
    if (IsDotEntry(data.cFileName)) return EntryKind::Skipped;
    std::string name = CataloguedName(data.cFileName, data.cAlternateFileName);
    if (name.empty()) return EntryKind::Skipped;
    path = folder + "\\" + name;
    if (path.size() > LongestCataloguedPath()) {
        // The short name may still fit where the long one does not.
        std::string shortName = CataloguedName(data.cAlternateFileName, L"");
        if (shortName.empty()) return EntryKind::Skipped;
        path = folder + "\\" + shortName;
        if (path.size() > LongestCataloguedPath()) return EntryKind::Skipped;
    }
    return IsDirectory(data) ? EntryKind::Folder : EntryKind::File;
}

// The first comma-separated token of a folder list entry, leading commas skipped.
std::string FirstToken(const std::string& entry) {
    size_t start = entry.find_first_not_of(',');
    if (start == std::string::npos) return "";
    return entry.substr(start, entry.find(',', start) - start);
}

// Walks the tree below the folder depth first: onEntry for every entry, "." and ".." included,
// onImage for every image file with its attributes.
template <class OnEntry, class OnImage>
void WalkBelow(const std::string& folder, FolderTrail& trail, const ScanStatus& status, OnEntry& onEntry,
               OnImage& onImage) {
    ForEachEntry(folder, status, [&](const WIN32_FIND_DATAW& data) {
        onEntry();
        std::string path;
        switch (ClassifyEntry(folder, data, path)) {
        case EntryKind::Folder:
            if (trail.Enter(path)) {
                WalkBelow(path, trail, status, onEntry, onImage);
                trail.Leave();
            }
            break;
        case EntryKind::File:
            if (HasImageExtension(path) && MayBePhoto(data.cFileName, data.dwFileAttributes))
                onImage(std::move(path), data.dwFileAttributes);
            break;
        case EntryKind::Skipped:
            break;
        }
    });
}

// An empty path would enumerate the root of the current drive.
template <class OnEntry, class OnImage>
void WalkTree(const std::string& folder, const ScanStatus& status, fw::IFileSystem& files, OnEntry onEntry,
              OnImage onImage) {
    FolderTrail trail(files);
    if (folder.empty() || !trail.Enter(folder)) return;
    WalkBelow(folder, trail, status, onEntry, onImage);
}

bool CanList(const std::string& folder) {
    WIN32_FIND_DATAW data{};
    fw::FindHandle find(::FindFirstFileExW(mb::Widen(folder + "\\*.*").c_str(), FindExInfoBasic, &data,
                                           FindExSearchNameMatch, nullptr, 0));
    return static_cast<bool>(find);
}

// The attributes come with the find data: counting cloud-only photos costs no extra request.
void ScanFolder(FolderScan& scan, ScanStatus& status, fw::IFileSystem& files) {
    WalkTree(scan.folder, status, files, [&] { status.steps.fetch_add(1, std::memory_order_relaxed); },
             [&](std::string path, DWORD attributes) {
                 if (fw::IsCloudOnly(attributes)) ++scan.cloudOnly;
                 scan.images.push_back(std::move(path));
             });
    if (scan.images.empty() && !scan.folder.empty()) scan.reachable = CanList(scan.folder);
}

int CountEntries(const std::string& folder, const ScanStatus& status, fw::IFileSystem& files) {
    int count = 0;
    WalkTree(folder, status, files, [&] { ++count; }, [](std::string, DWORD) {});
    return count;
}

void AppendImages(std::vector<std::string>& catalogue, std::vector<std::string>& images) {
    catalogue.insert(catalogue.end(), std::make_move_iterator(images.begin()), std::make_move_iterator(images.end()));
}

int CountOf(const FolderScan& scan) { return static_cast<int>(scan.images.size()); }

std::vector<std::string> FoldersOf(const std::vector<std::string>& entries,
                                   std::string (*folderOf)(const std::string&)) {
    std::vector<std::string> folders;
    for (const std::string& entry : entries) folders.push_back(folderOf(entry));
    return folders;
}

}  // namespace

std::vector<FolderScan> ScanFolders(const std::vector<std::string>& folders, bool countFirst, ScanStatus& status,
                                    fw::IFileSystem& files) {
    std::vector<FolderScan> scans;
    for (size_t i = 0; i < folders.size() && !status.cancelled; ++i) {
        status.steps = 0;
        status.range = 0;
        status.folder = static_cast<int>(i);
        if (countFirst) {
            status.counting = true;
            status.range = CountEntries(folders[i], status, files);
            status.counting = false;
        }
        scans.push_back({folders[i], {}});
        ScanFolder(scans.back(), status, files);
    }
    return scans;
}

bool MayBePhoto(const wchar_t* name, DWORD attributes) {
    // A Mac leaves "._name" beside each file it copies: resource data, never a picture.
    if (name[0] == L'.' && name[1] == L'_') return false;
    return (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

std::string FolderOfEntry(const std::string& entry) { return entry.substr(0, entry.find(',')); }

std::string MakeFolderEntry(const std::string& folder, int count) { return folder + "," + std::to_string(count); }

bool HasImageExtension(const std::string& fileName) {
    const size_t slash = mb::FindLastBackslash(fileName);
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    // The last real dot of the name: a trail byte of a double-byte character is never one.
    size_t dot = fileName.rfind('.');
    while (dot != std::string::npos && dot >= nameStart && !mb::IsCharBoundary(fileName, dot))
        dot = dot == 0 ? std::string::npos : fileName.rfind('.', dot - 1);
    if (dot == std::string::npos || dot < nameStart) return false;
    const std::string extension = mb::ToLower(std::string_view(fileName).substr(dot + 1));
    for (const char* known : kImageExtensions)
        if (extension == known) return true;
    return false;
}

bool FolderCheck::RefusedAsListed() const {
    return std::any_of(messages.begin(), messages.end(), [](FolderMessage m) {
        return m == FolderMessage::SameName || m == FolderMessage::AlreadyIncluded;
    });
}

void ImageCatalogue::Replace(std::vector<std::string> folderEntries, std::vector<std::string> images) {
    m_pathList = std::move(folderEntries);
    m_imageList = std::move(images);
}

void ImageCatalogue::AddImages(std::vector<std::string> images) { AppendImages(m_imageList, images); }

std::string ImageCatalogue::TakeImage(size_t index) {
    if (index >= m_imageList.size()) return "";
    std::string path = std::move(m_imageList[index]);
    m_imageList.erase(m_imageList.begin() + static_cast<std::ptrdiff_t>(index));
    return path;
}

void ImageCatalogue::PutBackImage(size_t index, std::string path) {
    m_imageList.insert(m_imageList.begin() + static_cast<std::ptrdiff_t>(std::min(index, m_imageList.size())),
                       std::move(path));
}

bool ImageCatalogue::RemoveImage(const std::string& path) {
    const std::string lowered = mb::ToLower(path);
    const auto same = [&lowered](const std::string& other) { return mb::ToLower(other) == lowered; };
    const auto kept = std::remove_if(m_imageList.begin(), m_imageList.end(), same);
    const bool removed = kept != m_imageList.end();
    m_imageList.erase(kept, m_imageList.end());
    return removed;
}

bool ImageCatalogue::RemoveFolder(const std::string& folder) {
    const std::string lowerFolder = mb::ToLower(folder);
    const auto listed = std::find_if(m_pathList.begin(), m_pathList.end(), [&](const std::string& entry) {
        return mb::ToLower(FolderOfEntry(entry)) == lowerFolder;
    });
    if (listed == m_pathList.end()) return false;
    m_pathList.erase(listed);
    RemoveImagesInside(lowerFolder);
    return true;
}

int ImageCatalogue::LoadImageList(const std::string& exePath) {
    m_imageList.clear();
    fw::StdioFile file(std::fopen(ListFilePath(exePath).c_str(), "r"));
    if (!file) return 0;

    int count = 0;
    bool inCatalogue = false;
    std::string buffer(LineBuffer(), '\0');
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), file.get())) {
        std::string line(buffer.c_str());
        line.erase(std::remove(line.begin(), line.end(), '\n'), line.end());
        if (inCatalogue) {
            m_imageList.push_back(line);
            ++count;
        } else if (line == "&") {
            inCatalogue = true;
        } else {
            m_pathList.push_back(line);
        }
    }
    return count;
}

bool ImageCatalogue::SaveImageList(const std::string& exePath) const {
    // Text-mode line ends, as the file has always had.
    std::string text;
    for (const std::string& entry : m_pathList) text += entry + "\r\n";
    text += "&\r\n";
    // Without folders the catalogue could never be refilled; it is not kept either.
    if (!m_pathList.empty())
        for (const std::string& path : m_imageList) text += path + "\r\n";
    return fw::ReplaceFileContentSafely(ListFilePath(exePath), text);
}

FolderCheck ImageCatalogue::CheckNewFolder(const std::string& chosen) {
    FolderCheck check;
    if (chosen.size() <= 3) {
        check.messages.push_back(FolderMessage::RootFolder);
        return check;
    }
    std::string folder = mb::ToLower(chosen);

    bool tidies = false;
    for (size_t i = 0; i < m_pathList.size(); ++i) {
        std::string listed = mb::ToLower(FolderOfEntry(m_pathList[i]));
        const bool same = listed == folder;
        if (same || (listed.size() < folder.size() && mb::IsInsideFolder(folder, listed))) {
            check.messages.push_back(same ? FolderMessage::SameName : FolderMessage::AlreadyIncluded);
            // The entries tidied away before the stop stay removed, as an entry-by-entry walk leaves them.
            if (tidies) {
                RemoveListedInside(folder, i);
                RemoveImagesInside(folder);
            }
            return check;
        }
        if (!tidies && listed.size() > folder.size() && mb::IsInsideFolder(listed, folder)) {
            tidies = true;
            check.messages.push_back(FolderMessage::TidiedUp);
        }
    }
    check.folder = std::move(folder);
    return check;
}

void ImageCatalogue::NoteCloudOnly(const FolderScan& scan) {
    const std::string folder = mb::ToLower(scan.folder);
    for (auto& noted : m_cloudOnly)
        if (noted.first == folder) {
            noted.second = scan.cloudOnly;
            return;
        }
    m_cloudOnly.emplace_back(folder, scan.cloudOnly);
}

int ImageCatalogue::CloudOnlyCount() const {
    int total = 0;
    for (const std::string& listed : ListedFolders()) {
        const std::string folder = mb::ToLower(listed);
        for (const auto& noted : m_cloudOnly)
            if (noted.first == folder) total += noted.second;
    }
    return total;
}

void ImageCatalogue::CommitAdd(FolderScan scan) {
    if (RemoveListedInside(scan.folder)) RemoveImagesInside(scan.folder);
    NoteCloudOnly(scan);
    m_pathList.push_back(MakeFolderEntry(scan.folder, CountOf(scan)));
    AppendImages(m_imageList, scan.images);
}

std::vector<std::string> ImageCatalogue::ListedFolders() const { return FoldersOf(m_pathList, FolderOfEntry); }

void ImageCatalogue::CommitReread(std::vector<FolderScan> scans) {
    m_imageList.clear();
    m_pathList.clear();
    for (FolderScan& scan : scans) {
        NoteCloudOnly(scan);
        if (scan.images.empty()) continue;
        m_pathList.push_back(MakeFolderEntry(scan.folder, CountOf(scan)));
        AppendImages(m_imageList, scan.images);
    }
}

std::vector<std::string> ImageCatalogue::RefillFolders() const { return FoldersOf(m_pathList, FirstToken); }

void ImageCatalogue::Refill() {
    if (m_startRefill) {
        m_startRefill();
        return;
    }
    ScanStatus status;
    for (FolderScan& scan : ScanFolders(RefillFolders(), false, status)) AppendImages(m_imageList, scan.images);
}

bool ImageCatalogue::CommitRefill(const std::vector<std::string>& folders, std::vector<FolderScan> scans) {
    // Filled by a re-read meanwhile, or scanned for folders that are no longer listed.
    if (!m_imageList.empty() || RefillFolders() != folders) return false;
    for (FolderScan& scan : scans) {
        NoteCloudOnly(scan);
        AppendImages(m_imageList, scan.images);
    }
    return true;
}

bool ImageCatalogue::RemoveListedInside(const std::string& lowerFolder, size_t within) {
    auto inside = [&](const std::string& entry) {
        const std::string listed = mb::ToLower(FolderOfEntry(entry));
        return listed.size() > lowerFolder.size() && mb::IsInsideFolder(listed, lowerFolder);
    };
    const auto end = m_pathList.begin() + static_cast<std::ptrdiff_t>(std::min(within, m_pathList.size()));
    const auto kept = std::remove_if(m_pathList.begin(), end, inside);
    const bool removed = kept != end;
    m_pathList.erase(kept, end);
    return removed;
}

void ImageCatalogue::RemoveImagesInside(const std::string& lowerFolder) {
    // Catalogue paths read from list.txt may carry capitals that the folder entry no longer has.
    auto inside = [&](const std::string& path) { return mb::IsInsideFolder(mb::ToLower(path), lowerFolder); };
    m_imageList.erase(std::remove_if(m_imageList.begin(), m_imageList.end(), inside), m_imageList.end());
}

#pragma once
// The image catalogue and the folder list, stored in list.txt.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/file_system.h"

// The messages of the folder rules; the image path page shows them.
enum class FolderMessage {
    RootFolder,       // a drive root or a choice without a file-system path
    SameName,         // the folder is listed already
    AlreadyIncluded,  // the folder lies inside a listed folder
    TidiedUp,         // listed folders inside the new one were removed
};

// Progress and cancellation of one scan, shared by the thread that scans and the one that shows
// it (the window thread polls it; nothing is posted to a window).
struct ScanStatus {
    std::atomic<bool> cancelled{false};
    std::atomic<bool> counting{false};  // the entries of the current folder are being counted
    std::atomic<int> folder{0};         // index of the folder being counted or scanned
    std::atomic<int> range{0};          // its entry count, once counted
    std::atomic<int> steps{0};          // its entries scanned so far, "." and ".." included
};

// What a scan found below one folder, in scan order.
struct FolderScan {
    std::string folder;
    std::vector<std::string> images;
    int cloudOnly = 0;       // of the images, those whose data is in the cloud only
    bool reachable = true;   // the folder itself could be listed
};

// Scans the folders in order, each one counted first (for the range) when `countFirst`; every
// entry scanned is one step, "." and ".." included. A cancel ends the walk at the next entry: the
// results are then incomplete and must be dropped. A walk goes depth first; links back into a
// folder it is inside are not followed, unreadable folders are passed over, and a name the code
// page cannot hold is taken by its short name or left out.
// Hidden and system files and AppleDouble companions ("._name") are not photos. Folders are told
// apart by the identity `files` gives; where it knows none, the path length limit ends a loop.
std::vector<FolderScan> ScanFolders(const std::vector<std::string>& folders, bool countFirst, ScanStatus& status,
                                    fw::IFileSystem& files = fw::RealFiles());

// Whether a file found by a walk may be a photo, by its name and attributes alone.
bool MayBePhoto(const wchar_t* name, DWORD attributes);

// What the folder rules made of a chosen folder: the lower-cased folder to scan ("" when they
// refused it) and the messages to show, in order.
struct FolderCheck {
    std::string folder;
    std::vector<FolderMessage> messages;
    // Refused because the folder is listed, or lies inside a listed one.
    bool RefusedAsListed() const;
};

class ImageCatalogue {
public:
    // The folder list, "folder,count" entries in order, and the catalogue: full paths of the images
    // not yet shown in this round.
    const std::vector<std::string>& FolderEntries() const { return m_pathList; }
    const std::vector<std::string>& Images() const { return m_imageList; }
    bool HasFolders() const { return !m_pathList.empty(); }

    // Both lists replaced as a whole (as list.txt holds them).
    void Replace(std::vector<std::string> folderEntries, std::vector<std::string> images);
    // Images found by a scan, appended in scan order.
    void AddImages(std::vector<std::string> images);
    // The image at a catalogue position taken out (a random pick) and put back at it (a pick
    // whose folder rests).
    std::string TakeImage(size_t index);
    void PutBackImage(size_t index, std::string path);
    // Every entry of the image, in any letter case, taken out; true when there was one.
    bool RemoveImage(const std::string& path);
    // The folder's entry and the images inside it taken out; false when it is not listed.
    bool RemoveFolder(const std::string& folder);

    // The cloud-only photos of the listed folders as far as this run's scans saw them.
    int CloudOnlyCount() const;

    // list.txt in the given folder (the program's folder).
    int LoadImageList(const std::string& exePath);
    // Replaces list.txt in one step; false, with the old file kept, when it could not be written.
    bool SaveImageList(const std::string& exePath) const;

    // An add in three parts, so that the scan can run elsewhere and a cancelled one changes
    // nothing: the folder rules give the lower-cased folder to scan with their messages, the folder
    // "" when they refuse it (removals of a tidy-up that a later rule stopped stand); the scan's
    // result is then committed with the tidy-up.
    FolderCheck CheckNewFolder(const std::string& chosen);
    void CommitAdd(FolderScan scan);

    // The folders of the list entries, in order: what a re-read scans.
    std::vector<std::string> ListedFolders() const;
    // Both lists rebuilt from a re-read's scans: folders without images are dropped.
    void CommitReread(std::vector<FolderScan> scans);

    // The folders a refill scans (leading commas of an entry skipped).
    std::vector<std::string> RefillFolders() const;
    // When set, Refill hands the refill to it (a scan in the background that commits through
    // CommitRefill) instead of scanning on the calling thread.
    void HandRefillsTo(std::function<void()> startRefill) { m_startRefill = std::move(startRefill); }
    // Refills an empty catalogue from every listed folder; the folder list is unchanged.
    void Refill();
    // Takes a refill's scans of `folders`, unless the catalogue was filled meanwhile or its
    // folders changed; true when taken.
    bool CommitRefill(const std::vector<std::string>& folders, std::vector<FolderScan> scans);

private:
    void NoteCloudOnly(const FolderScan& scan);
    // Removes the entries listed inside the folder among the first `within`; true when there were any.
    bool RemoveListedInside(const std::string& lowerFolder, size_t within = SIZE_MAX);
    void RemoveImagesInside(const std::string& lowerFolder);

    std::function<void()> m_startRefill;
    std::vector<std::string> m_pathList;   // "folder,count"
    std::vector<std::string> m_imageList;  // full paths of image files
    // Of the images the latest scans listed, those whose data is in the cloud only, per folder
    // (lower-cased); unknown for folders not scanned in this run.
    std::vector<std::pair<std::string, int>> m_cloudOnly;
};

// The folder path of a folder list entry: the text before the first comma.
std::string FolderOfEntry(const std::string& entry);
// "folder,count" as stored in the folder list.
std::string MakeFolderEntry(const std::string& folder, int count);
// The extensions (after the last dot, any letter case) of the files the catalogue takes.
inline constexpr const char* kImageExtensions[] = {"jpg", "jpeg", "jpe",  "jfif", "bmp",  "dib",  "gif",
                                                   "png", "tif",  "tiff", "webp", "heic", "heif", "avif"};
// True when the file name's extension, after its last dot, is one of kImageExtensions.
bool HasImageExtension(const std::string& fileName);

#pragma once
// The image catalogue (m_imageList) and the folder list (m_pathList), stored in list.txt.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The messages of the folder rules; the image path page shows them.
enum class FolderMessage {
    RootFolder,       // a drive root or a choice without a file-system path
    SameName,         // the folder is listed already
    AlreadyIncluded,  // the folder lies inside a listed folder
    TidiedUp,         // listed folders inside the new one were removed
};

class ImageCatalogue {
public:
    // Steps the image path page's progress bar once per directory entry scanned (may be empty).
    std::function<void()> onScanStep;
    // Called before a folder of the list is scanned, with its entry count as the bar's range.
    // When empty, the entries are not counted at all.
    std::function<void(int range)> onScanStart;
    // Called with true before that count and with false after it: a large tree takes a while
    // (may be empty).
    std::function<void(bool counting)> onCounting;
    // Shows a message of the folder rules (may be empty: nothing is shown).
    std::function<void(FolderMessage)> onMessage;

    std::vector<std::string> m_pathList;   // "folder,count"
    std::vector<std::string> m_imageList;  // full paths of image files

    // list.txt in the given folder (the program's folder).
    int LoadImageList(const std::string& exePath);
    // Replaces list.txt in one step; false, with the old file kept, when it could not be written.
    bool SaveImageList(const std::string& exePath) const;

    // Appends every image below the folder, depth first, to the catalogue; returns how many.
    // Links back into a folder the scan is inside are not followed, unreadable folders are passed
    // over, and a name the code page cannot hold is taken by its short name or left out.
    int ScanFolder(const std::string& folder);
    // Directory entries below the folder, "." and ".." included: the steps ScanFolder makes.
    int CountEntries(const std::string& folder) const;

    // Adds the folder that the user chose, under the folder rules; true when it was added.
    bool AddFolder(const std::string& chosen);
    // Rebuilds the catalogue from the folder list; folders without images are dropped.
    void ReloadFolders();
    // Removes one folder entry and rebuilds the catalogue.
    void RemoveFolder(size_t index);
    // Refills an empty catalogue from every listed folder; the folder list is unchanged.
    void Refill();

private:
    class FolderTrail;
    int ScanBelow(const std::string& folder, FolderTrail& trail);
    static int CountEntriesBelow(const std::string& folder, FolderTrail& trail);
    void Notify(FolderMessage message) const;
    // Counts the folder's entries for onScanStart, when it is set.
    void StartScan(const std::string& folder) const;
    void RemoveImagesInside(const std::string& lowerFolder);
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

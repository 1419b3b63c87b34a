#pragma once
// The image catalogue (m_imageList) and the folder list (m_pathList), stored in list.txt.

#include <functional>
#include <list>
#include <string>
#include <vector>

class ImageCatalogue {
public:
    // Steps the image path page's progress bar once per directory entry scanned (may be empty).
    std::function<void()> onScanStep;

    std::vector<std::string> m_pathList;  // "folder,count"
    std::list<std::string> m_imageList;   // full paths of image files

    // list.txt in the given folder (the program's folder).
    int LoadImageList(const std::string& exePath);
    void SaveImageList(const std::string& exePath) const;

    int ScanFolder(const std::string& folder);
    // Refills an empty catalogue from every listed folder; the folder list is unchanged.
    void Refill();
};

// The folder path of a folder list entry: the text before the first comma.
std::string FolderOfEntry(const std::string& entry);

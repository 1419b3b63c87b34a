#pragma once
// The user's word on single photos: banlist.txt (never shown again; the file stays on disk) and
// keeplist.txt (favourites). One full path a line, in the code page of list.txt, compared
// without regard to letter case.

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

class PhotoList {
public:
    // The file's name in the data folder, starting with '\'.
    explicit PhotoList(const char* fileName) : m_fileName(fileName) {}

    // Reads the list from the folder. A missing, empty or unreadable file is an empty list; blank
    // lines, line ends of either kind and repeats are dropped.
    void Load(const std::string& folder);
    // Replaces the file in one step; false, with the old file kept, when it could not be written.
    bool Save(const std::string& folder) const;

    // False when the path is empty or listed already.
    bool Add(const std::string& path);
    bool Contains(const std::string& path) const;
    // Drops the paths the check refuses (a photo moved or deleted); true when any went.
    bool KeepOnly(const std::function<bool(const std::string&)>& keep);

    const std::vector<std::string>& Paths() const { return m_paths; }
    bool Empty() const { return m_paths.empty(); }
    const char* FileName() const { return m_fileName; }

private:
    const char* m_fileName;
    std::vector<std::string> m_paths;
    std::unordered_set<std::string> m_lowered;
};

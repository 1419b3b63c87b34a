#pragma once
// Helpers shared by the tests: scratch folders and small file utilities.

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

// A fresh folder under the temp directory, removed with everything in it when the object dies.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return m_path; }
    // path() + "\\" + name
    std::string File(const std::string& name) const;
    std::string MakeDir(const std::string& relative) const;

private:
    std::string m_path;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
std::vector<std::string> ReadLines(const std::string& path);  // without line ends
bool FileExists(const std::string& path);

// The keys of env.ini in the order a save writes them (oriwallpath, written at start, aside).
const std::vector<std::string>& SavedSettingsKeys();

// Folder of Dioramix.exe and its data files: every executable of the build lies there.
std::string BinDir();

}  // namespace testing_support

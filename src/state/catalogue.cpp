#include "state/catalogue.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "framework/handles.h"
#include "framework/mbstring.h"

namespace {

constexpr int kLineBuffer = 260;  // list.txt lines are read in pieces of at most 259 bytes

struct FileCloser {
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string ListFilePath(const std::string& exePath) { return exePath + "\\list.txt"; }

bool IsDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

bool IsDirectory(const WIN32_FIND_DATAA& data) { return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// Calls visit for every entry of the folder in the order the file system returns them.
template <class Visit>
void ForEachEntry(const std::string& folder, Visit visit) {
    WIN32_FIND_DATAA data{};
    fw::FindHandle find(::FindFirstFileA((folder + "\\*.*").c_str(), &data));
    if (!find) return;
    do {
        visit(data);
    } while (::FindNextFileA(find.get(), &data));
}

// The first comma-separated token of a folder list entry, leading commas skipped.
std::string FirstToken(const std::string& entry) {
    size_t start = entry.find_first_not_of(',');
    if (start == std::string::npos) return "";
    return entry.substr(start, entry.find(',', start) - start);
}

int CountEntriesBelow(const std::string& folder) {
    if (folder.empty()) return 0;
    int count = 0;
    ForEachEntry(folder, [&](const WIN32_FIND_DATAA& data) {
        ++count;
        if (IsDirectory(data) && !IsDotEntry(data.cFileName))
            count += CountEntriesBelow(folder + "\\" + data.cFileName);
    });
    return count;
}

// The wait cursor for as long as a count of a large tree blocks the user interface.
class WaitCursor {
public:
    WaitCursor() : m_previous(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(m_previous); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_previous;
};

}  // namespace

std::string FolderOfEntry(const std::string& entry) { return entry.substr(0, entry.find(',')); }

std::string MakeFolderEntry(const std::string& folder, int count) { return folder + "," + std::to_string(count); }

bool HasImageExtension(const std::string& fileName) {
    size_t start = fileName.size() > 3 ? fileName.size() - 3 : 0;
    // A trail byte of a double-byte character may look like a letter: such a tail is no extension.
    if (!mb::IsCharBoundary(fileName, start)) return false;
    std::string tail = mb::ToLower(std::string_view(fileName).substr(start));
    for (const char* ext : {"jpg", "bmp", "gif", "png", "tif"})
        if (tail == ext) return true;
    return false;
}

int ImageCatalogue::LoadImageList(const std::string& exePath) {
    m_imageList.clear();
    File file(std::fopen(ListFilePath(exePath).c_str(), "r"));
    if (!file) return 0;

    int count = 0;
    bool inCatalogue = false;
    char buffer[kLineBuffer];
    while (std::fgets(buffer, sizeof buffer, file.get())) {
        std::string line(buffer);
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

void ImageCatalogue::SaveImageList(const std::string& exePath) const {
    File file(std::fopen(ListFilePath(exePath).c_str(), "w"));
    if (!file) return;
    for (const std::string& entry : m_pathList) std::fprintf(file.get(), "%s\n", entry.c_str());
    std::fputs("&\n", file.get());
    // Without folders the catalogue could never be refilled; it is not kept either.
    if (m_pathList.empty()) return;
    for (const std::string& path : m_imageList) std::fprintf(file.get(), "%s\n", path.c_str());
}

int ImageCatalogue::ScanFolder(const std::string& folder) {
    // An empty path would enumerate the root of the current drive.
    if (folder.empty()) return 0;
    int found = 0;
    ForEachEntry(folder, [&](const WIN32_FIND_DATAA& data) {
        if (onScanStep) onScanStep();
        if (IsDotEntry(data.cFileName)) return;
        std::string path = folder + "\\" + data.cFileName;
        if (IsDirectory(data)) {
            found += ScanFolder(path);
        } else if (HasImageExtension(data.cFileName)) {
            m_imageList.push_back(path);
            ++found;
        }
    });
    return found;
}

int ImageCatalogue::CountEntries(const std::string& folder) const {
    WaitCursor wait;
    return CountEntriesBelow(folder);
}

bool ImageCatalogue::AddFolder(const std::string& chosen) {
    if (chosen.size() <= 3) {
        Notify(FolderMessage::RootFolder);
        return false;
    }
    std::string folder = mb::ToLower(chosen);

    bool tidied = false;
    for (size_t i = 0; i < m_pathList.size();) {
        std::string listed = mb::ToLower(FolderOfEntry(m_pathList[i]));
        if (listed == folder) {
            Notify(FolderMessage::SameName);
            return false;
        }
        if (listed.size() < folder.size() && mb::IsInsideFolder(folder, listed)) {
            Notify(FolderMessage::AlreadyIncluded);
            return false;
        }
        if (listed.size() > folder.size() && mb::IsInsideFolder(listed, folder)) {
            m_pathList.erase(m_pathList.begin() + static_cast<std::ptrdiff_t>(i));
            if (!tidied) {
                tidied = true;
                Notify(FolderMessage::TidiedUp);
                RemoveImagesInside(folder);
            }
            continue;
        }
        ++i;
    }

    if (onScanStart) onScanStart(CountEntries(folder));
    int found = ScanFolder(folder);
    m_pathList.push_back(MakeFolderEntry(folder, found));
    return true;
}

void ImageCatalogue::ReloadFolders() {
    m_imageList.clear();
    std::vector<std::string> folders;
    folders.swap(m_pathList);
    for (const std::string& entry : folders) {
        std::string folder = FolderOfEntry(entry);
        if (onScanStart) onScanStart(CountEntries(folder));
        int found = ScanFolder(folder);
        if (found > 0) m_pathList.push_back(MakeFolderEntry(folder, found));
    }
}

void ImageCatalogue::RemoveFolder(size_t index) {
    if (index >= m_pathList.size()) return;
    m_pathList.erase(m_pathList.begin() + static_cast<std::ptrdiff_t>(index));
    ReloadFolders();
}

void ImageCatalogue::Refill() {
    for (const std::string& entry : m_pathList) ScanFolder(FirstToken(entry));
}

void ImageCatalogue::Notify(FolderMessage message) const {
    if (onMessage) onMessage(message);
}

void ImageCatalogue::RemoveImagesInside(const std::string& lowerFolder) {
    // Catalogue paths read from list.txt may carry capitals that the folder entry no longer has.
    auto inside = [&](const std::string& path) { return mb::IsInsideFolder(mb::ToLower(path), lowerFolder); };
    m_imageList.erase(std::remove_if(m_imageList.begin(), m_imageList.end(), inside), m_imageList.end());
}

const wchar_t* FolderMessageText(FolderMessage message) {
    switch (message) {
    case FolderMessage::RootFolder:
        // 루트 디렉토리는 설정불가입니다!\n다시설정바랍니다.
        return L"\uB8E8\uD2B8 \uB514\uB809\uD1A0\uB9AC\uB294 \uC124\uC815\uBD88\uAC00\uC785\uB2C8\uB2E4!\n"
               L"\uB2E4\uC2DC\uC124\uC815\uBC14\uB78D\uB2C8\uB2E4.";
    case FolderMessage::SameName:
        // 같은 이름의 폴더가 있습니다!
        return L"\uAC19\uC740 \uC774\uB984\uC758 \uD3F4\uB354\uAC00 \uC788\uC2B5\uB2C8\uB2E4!";
    case FolderMessage::AlreadyIncluded:
        // 추가하신 폴더는 이미 포함되어있습니다!
        return L"\uCD94\uAC00\uD558\uC2E0 \uD3F4\uB354\uB294 \uC774\uBBF8 "
               L"\uD3EC\uD568\uB418\uC5B4\uC788\uC2B5\uB2C8\uB2E4!";
    case FolderMessage::TidiedUp:
        // 중복되는 폴더가 존재하므로 자동정리합니다!
        return L"\uC911\uBCF5\uB418\uB294 \uD3F4\uB354\uAC00 \uC874\uC7AC\uD558\uBBC0\uB85C "
               L"\uC790\uB3D9\uC815\uB9AC\uD569\uB2C8\uB2E4!";
    }
    return L"";
}

void ShowFolderMessage(HWND owner, FolderMessage message) {
    if (message == FolderMessage::RootFolder)
        ::MessageBoxW(owner, FolderMessageText(message), L"\uC54C\uB9BC", MB_OK | MB_ICONINFORMATION);  // 알림
    else
        ::MessageBoxW(owner, FolderMessageText(message), L"Dioramix", MB_OK);
}

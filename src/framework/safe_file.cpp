#include "framework/safe_file.h"

#include <windows.h>

#include "framework/handles.h"
#include "framework/mbstring.h"

namespace fw {
namespace {

constexpr char kTemporaryPrefix[] = "~dx";

std::string FolderOf(const std::string& path) {
    size_t slash = mb::FindLastBackslash(path);
    if (slash == std::string::npos) return ".";
    // "C:\file": the folder is the root, which keeps its backslash.
    return slash == 2 && path[1] == ':' ? path.substr(0, 3) : path.substr(0, slash);
}

// A new, empty, uniquely named file in the folder; "" when none can be made.
std::string CreateTemporaryFile(const std::string& folder) {
    char name[MAX_PATH] = {};
    if (!::GetTempFileNameA(folder.c_str(), kTemporaryPrefix, 0, name)) return "";
    return name;
}

// Forces the file's data out of the system's cache, so that the move never publishes a file whose
// content is still only in memory.
bool FlushToDisk(const std::string& path) {
    FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && ::FlushFileBuffers(file.get()) != FALSE;
}

bool CopyExistingInto(const std::string& target, const std::string& temporary) {
    DWORD attributes = ::GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = ::GetLastError();
        // Only a file that is not there starts empty; any other failure must not lose its content.
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    return ::CopyFileA(target.c_str(), temporary.c_str(), FALSE) != FALSE;
}

// A folder cannot be replaced by a file, and a file the user made read-only is not to be
// replaced either (a rename over it would succeed on some file systems).
bool MayReplace(const std::string& target) {
    DWORD attributes = ::GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

}  // namespace

bool ReplaceFileSafely(const std::string& target, const TemporaryWriter& write, Durability durability) {
    if (target.empty() || !MayReplace(target)) return false;
    const std::string temporary = CreateTemporaryFile(FolderOf(target));
    if (temporary.empty()) return false;
    const bool flush = durability == Durability::Flushed;
    bool ok = write(temporary) && (!flush || FlushToDisk(temporary)) &&
              ::MoveFileExA(temporary.c_str(), target.c_str(),
                            MOVEFILE_REPLACE_EXISTING | (flush ? MOVEFILE_WRITE_THROUGH : 0));
    if (!ok) ::DeleteFileA(temporary.c_str());
    return ok;
}

bool EditFileSafely(const std::string& target, const TemporaryWriter& edit) {
    return ReplaceFileSafely(target, [&](const std::string& temporary) {
        return CopyExistingInto(target, temporary) && edit(temporary);
    });
}

bool WriteProfileStringSafely(const char* section, const char* key, const char* value, const std::string& file) {
    return EditFileSafely(file, [&](const std::string& temporary) {
        return ::WritePrivateProfileStringA(section, key, value, temporary.c_str()) != FALSE;
    });
}

int RemoveStaleTemporaryFiles(const std::string& folder) {
    if (folder.empty()) return 0;
    WIN32_FIND_DATAA data{};
    FindHandle find(::FindFirstFileA((folder + "\\" + kTemporaryFilePattern).c_str(), &data));
    if (!find) return 0;
    int removed = 0;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (::DeleteFileA((folder + "\\" + data.cFileName).c_str())) ++removed;
    } while (::FindNextFileA(find.get(), &data));
    return removed;
}

}  // namespace fw

#include "framework/safe_file.h"

#include <windows.h>

#include <algorithm>

#include "framework/field_log.h"
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
// The file's own name: the log names the program's files, never the folders above them.
std::string NameOf(const std::string& path) {
    const size_t slash = mb::FindLastBackslash(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CreateTemporaryFile(const std::string& folder) {
    char name[MAX_PATH] = {};
    if (!::GetTempFileNameA(folder.c_str(), kTemporaryPrefix, 0, name)) return "";
    return name;
}

// A folder cannot be replaced by a file, and a file the user made read-only is not to be
// replaced either (a rename over it would succeed on some file systems).
bool MayReplace(const std::string& target) {
    DWORD attributes = ::GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0;
}

bool IsPassingHold(DWORD error) {
    switch (error) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_ACCESS_DENIED:              // also a file another program is deleting or scanning
        case ERROR_USER_MAPPED_FILE:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:  // both files still have their own names
            return true;
        default:
            return false;
    }
}

// Runs attempt() until it succeeds, fails for a reason other than another program's hold, or
// the retry window has passed. The last error is the last attempt's.
template <class Attempt>
bool WhileHeld(const HoldRetry& retry, Attempt attempt) {
    auto now = [&retry] { return retry.ticks ? retry.ticks() : ::GetTickCount(); };
    const DWORD start = now();
    for (bool retried = false;; retried = true) {
        if (attempt()) {
            if (retried) Log("a file another program held was written after %lu ms", static_cast<unsigned long>(now() - start));
            return true;
        }
        const DWORD error = ::GetLastError();
        if (!IsPassingHold(error) || now() - start >= retry.windowMs) {
            if (retried) Log("a file another program held stayed held for %lu ms", static_cast<unsigned long>(now() - start));
            ::SetLastError(error);
            return false;
        }
        if (retry.sleep)
            retry.sleep(retry.pauseMs);
        else
            ::Sleep(retry.pauseMs);
    }
}

// The user's marks on the replaced file (hidden, system, not indexed) on its new content too,
// where the file system's replace or the rename did not carry them.
void KeepAttributes(const std::wstring& path, DWORD old) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD now = ::GetFileAttributesW(path.c_str());
    if (now == INVALID_FILE_ATTRIBUTES || (now & kKept) == (old & kKept)) return;
    const DWORD wanted = (now & ~kKept & ~FILE_ATTRIBUTE_NORMAL) | (old & kKept);
    ::SetFileAttributesW(path.c_str(), wanted ? wanted : FILE_ATTRIBUTE_NORMAL);
}

// Opens the file for writing into the owner; false (with the last error) when it cannot.
bool OpenInto(FileHandle& file, const std::string& path, DWORD share, DWORD disposition) {
    HANDLE raw = ::CreateFileA(path.c_str(), GENERIC_WRITE, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return false;
    file.reset(raw);
    return true;
}

// Forces a file that the writer closed out of the system's cache, so that the move never
// publishes a file whose content is still only in memory. Opened sharing everything, so that a
// scanner reading it meanwhile does not stand in the way.
bool FlushToDisk(const std::string& path, const HoldRetry& retry) {
    FileHandle file;
    const bool opened = WhileHeld(retry, [&] {
        return OpenInto(file, path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
    });
    return opened && ::FlushFileBuffers(file.get()) != FALSE;
}

// Writes the content into the (empty) temporary and flushes it through the same handle.
bool WriteAndFlush(const std::string& path, std::string_view content, bool flush, const HoldRetry& retry) {
    FileHandle file;
    const bool opened = WhileHeld(retry, [&] {
        return OpenInto(file, path, FILE_SHARE_READ, TRUNCATE_EXISTING);
    });
    if (!opened) return false;
    while (!content.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size(), 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file.get(), content.data(), chunk, &written, nullptr) || written == 0) return false;
        content.remove_prefix(written);
    }
    return !flush || ::FlushFileBuffers(file.get()) != FALSE;
}

// One attempt at putting the temporary in the target's place. An existing target is replaced
// in a way that keeps its attributes, security and identity; where the file system cannot do
// that (or the replace left the target gone), the temporary is renamed over it.
bool MoveOver(const std::string& temporary, const std::string& target, bool writeThrough) {
    const std::wstring from = mb::Widen(temporary), to = mb::Widen(target);
    const DWORD attributes = ::GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (::ReplaceFileW(to.c_str(), from.c_str(), nullptr,
                           REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr)) {
            KeepAttributes(to, attributes);
            return true;
        }
        if (IsPassingHold(::GetLastError())) return false;
    }
    if (!::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | (writeThrough ? MOVEFILE_WRITE_THROUGH : 0)))
        return false;
    if (attributes != INVALID_FILE_ATTRIBUTES) KeepAttributes(to, attributes);
    return true;
}

// The temporary made, filled by produce(), moved over the target; the temporary removed on failure.
bool ReplaceThroughTemporary(const std::string& target, Durability durability, const HoldRetry& retry,
                             const std::function<bool(const std::string&, bool flush)>& produce) {
    if (target.empty() || !MayReplace(target)) return false;
    const std::string temporary = CreateTemporaryFile(FolderOf(target));
    if (temporary.empty()) return false;
    const bool flush = durability == Durability::Flushed;
    const bool ok = produce(temporary, flush) && WhileHeld(retry, [&] { return MoveOver(temporary, target, flush); });
    if (!ok) {
        const DWORD error = ::GetLastError();
        Log("%s not written (error %lu): the old version stays", NameOf(target).c_str(), static_cast<unsigned long>(error));
        ::DeleteFileA(temporary.c_str());
    }
    return ok;
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

}  // namespace

bool ReplaceFileSafely(const std::string& target, const TemporaryWriter& write, Durability durability,
                       const HoldRetry& retry) {
    return ReplaceThroughTemporary(target, durability, retry, [&](const std::string& temporary, bool flush) {
        return write(temporary) && (!flush || FlushToDisk(temporary, retry));
    });
}

bool ReplaceFileContentSafely(const std::string& target, std::string_view content, Durability durability,
                              const HoldRetry& retry) {
    return ReplaceThroughTemporary(target, durability, retry, [&](const std::string& temporary, bool flush) {
        return WriteAndFlush(temporary, content, flush, retry);
    });
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

#include "framework/file_system.h"

namespace fw {

bool IsKnownFolderId(const FolderId& id) {
    return id.volume != 0 && id.index != 0 && id.index != ~0ULL;
}

DWORD RealFileSystem::Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }

FileHandle RealFileSystem::OpenForReading(const std::wstring& path, DWORD& error) {
    // Others may keep reading, writing or deleting the file meanwhile; we read what we get.
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    error = file ? ERROR_SUCCESS : ::GetLastError();
    return file;
}

bool RealFileSystem::Size(HANDLE file, uint64_t& size) {
    LARGE_INTEGER value{};
    if (!::GetFileSizeEx(file, &value) || value.QuadPart < 0) return false;
    size = static_cast<uint64_t>(value.QuadPart);
    return true;
}

bool RealFileSystem::Read(HANDLE file, void* buffer, DWORD bytes, DWORD& read, DWORD& error) {
    read = 0;
    if (::ReadFile(file, buffer, bytes, &read, nullptr)) {
        error = ERROR_SUCCESS;
        return true;
    }
    error = ::GetLastError();
    return false;
}

bool RealFileSystem::CancelPendingIo(HANDLE thread) { return ::CancelSynchronousIo(thread) != FALSE; }

bool RealFileSystem::IdentifyFolder(const std::wstring& folder, FolderId& id) {
    // Backup semantics opens a folder; the handle follows links to the folder they name.
    FileHandle handle(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!handle || !::GetFileInformationByHandle(handle.get(), &info)) return false;
    id.volume = info.dwVolumeSerialNumber;
    id.index = (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

IFileSystem& RealFiles() {
    static RealFileSystem files;
    return files;
}

}  // namespace fw

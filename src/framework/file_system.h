#pragma once
// The seam for reading photos where users keep them (local disks, shares, USB drives, cloud
// folders): attributes, open, size, read, cancelling a thread's stalled I/O and folder identity.
// RealFileSystem is the one production implementation; tests put slow, failing or cloud-only
// files behind it.

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/handles.h"

namespace fw {

// Where a folder lives, to tell a link back into the walk from a new folder.
struct FolderId {
    DWORD volume = 0;
    ULONGLONG index = 0;
};

// WebDAV and many NAS shares answer 0 (or all ones) for every folder, and some a volume serial
// of 0: such an answer identifies nothing.
bool IsKnownFolderId(const FolderId& id);

// Attributes of a placeholder whose data lives in the cloud: reading it would download it.
constexpr DWORD kCloudOnlyAttributes = 0x00400000 /* recall on data access */ | 0x00040000 /* recall on open */ |
                                       FILE_ATTRIBUTE_OFFLINE;
inline bool IsCloudOnly(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & kCloudOnlyAttributes) != 0;
}

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // INVALID_FILE_ATTRIBUTES when there is no such file; never downloads a cloud file.
    virtual DWORD Attributes(const std::wstring& path) = 0;
    // Opened for reading, others free to read, write or delete it; empty, with the error, when not.
    virtual FileHandle OpenForReading(const std::wstring& path, DWORD& error) = 0;
    virtual bool Size(HANDLE file, uint64_t& size) = 0;
    // One ReadFile; false with the error when it fails (ERROR_OPERATION_ABORTED once cancelled).
    virtual bool Read(HANDLE file, void* buffer, DWORD bytes, DWORD& read, DWORD& error) = 0;
    // Cancels the synchronous open or read the thread waits in; false when none was pending.
    virtual bool CancelPendingIo(HANDLE thread) = 0;
    // False when the folder cannot be opened to ask.
    virtual bool IdentifyFolder(const std::wstring& folder, FolderId& id) = 0;
};

class RealFileSystem final : public IFileSystem {
public:
    DWORD Attributes(const std::wstring& path) override;
    FileHandle OpenForReading(const std::wstring& path, DWORD& error) override;
    bool Size(HANDLE file, uint64_t& size) override;
    bool Read(HANDLE file, void* buffer, DWORD bytes, DWORD& read, DWORD& error) override;
    bool CancelPendingIo(HANDLE thread) override;
    bool IdentifyFolder(const std::wstring& folder, FolderId& id) override;
};

// The process's one real file system (stateless, safe from any thread).
IFileSystem& RealFiles();

}  // namespace fw

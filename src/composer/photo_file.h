#pragma once
// A photo's file read whole into memory before it is decoded: a read that fails (a share that
// dropped, a pulled drive, a failed cloud download) is an error to pass the photo over, where a
// mapped view would have raised an exception. Stalled opens and reads are cancelled by a watchdog
// and their folder rests a while; cloud-only files are left in the cloud unless asked for.

#include <windows.h>
#include <objidl.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "framework/file_system.h"
#include "framework/io_watchdog.h"

// Files larger than this are no photo worth reading into memory (a picture the decoders could
// take within their pixel budget is far smaller).
constexpr uint64_t kMaxPhotoFileBytes = 512ull * 1024 * 1024;
// An open or a read still pending after this is cancelled.
constexpr std::chrono::milliseconds kPhotoIoLimit{10'000};
// A folder whose photo stalled is left alone this long.
constexpr ULONGLONG kStalledFolderRestMs = 10 * 60 * 1000;

// The bytes of one file in one movable global block, so that GDI+ and WIC can read them through a
// stream without a copy; the stream keeps them alive for as long as a decoder holds it.
class PhotoBytes {
public:
    PhotoBytes() = default;
    ~PhotoBytes();
    PhotoBytes(PhotoBytes&& other) noexcept { *this = std::move(other); }
    PhotoBytes& operator=(PhotoBytes&& other) noexcept;
    PhotoBytes(const PhotoBytes&) = delete;
    PhotoBytes& operator=(const PhotoBytes&) = delete;

    // Room for `size` bytes (at least one); false when the memory is not to be had.
    bool Allocate(size_t size);
    uint8_t* Data() const { return m_data; }
    size_t Size() const { return m_size; }
    explicit operator bool() const { return m_data != nullptr; }
    // A new reference to a stream over the bytes, at their start; null when there are none.
    IStream* NewStream() const;

private:
    void Release() noexcept;

    IStream* m_stream = nullptr;  // owns the global block
    HGLOBAL m_block = nullptr;
    uint8_t* m_data = nullptr;    // the block, locked
    size_t m_size = 0;
};

enum class PhotoRead {
    Read,
    Missing,      // no such file (any more)
    CloudOnly,    // its data lives in the cloud and the user keeps it there
    TooLarge,     // beyond kMaxPhotoFileBytes, or no memory for it
    Failed,       // the open or a read failed
    Stalled,      // the open or a read was cancelled after the limit
    Resting,      // its folder stalled lately and is left alone for now
};
// What the field log says of a read that gave no bytes.
const char* PhotoReadText(PhotoRead read);

// Folders left alone for a while after a stall, shared by every thread that reads photos.
class FolderRests {
public:
    explicit FolderRests(std::function<ULONGLONG()> clock = ::GetTickCount64) : m_clock(std::move(clock)) {}
    void Rest(const std::string& folder);
    // True when the path is (inside) a folder that still rests.
    bool IsResting(const std::string& path);

private:
    std::function<ULONGLONG()> m_clock;
    std::mutex m_mutex;
    std::vector<std::pair<std::string, ULONGLONG>> m_resting;  // lower-cased folder, rest's end
};

// The folder a stall rests: the listed folder that holds the photo, else its share
// (\\server\share) or drive (d:).
std::string StalledFolderOf(const std::string& path, const std::vector<std::string>& listedFolders);

// Reads photos for any thread: checks, opens and reads each file under the watchdog.
class PhotoSource {
public:
    explicit PhotoSource(fw::IFileSystem& files, std::chrono::milliseconds limit = kPhotoIoLimit,
                         std::function<ULONGLONG()> clock = ::GetTickCount64);

    // The whole file into bytes. `takeCloudOnly` lets a cloud-only file be downloaded; a stall
    // rests the folder StalledFolderOf gives for `listedFolders`.
    PhotoRead Read(const std::string& path, bool takeCloudOnly, const std::vector<std::string>& listedFolders,
                   PhotoBytes& bytes);
    fw::IFileSystem& Files() { return m_files; }
    FolderRests& Rests() { return m_rests; }

private:
    PhotoRead ReadWhole(const std::wstring& path, PhotoBytes& bytes);

    fw::IFileSystem& m_files;
    FolderRests m_rests;
    fw::IoWatchdog m_watchdog;
};

// The process's photo source on the real file system, for readers without one of their own
// (thumbnails, the background image); its watchdog stops at exit.
PhotoSource& DefaultPhotoSource();

#include "composer/photo_file.h"

#include <algorithm>

#include "framework/mbstring.h"

namespace {

// Reads in pieces, each under its own watch, so a slow but moving share is not cut off.
constexpr DWORD kReadPiece = 8u * 1024 * 1024;

}  // namespace

PhotoBytes::~PhotoBytes() { Release(); }

PhotoBytes& PhotoBytes::operator=(PhotoBytes&& other) noexcept {
    if (this != &other) {
        Release();
        m_stream = std::exchange(other.m_stream, nullptr);
        m_block = std::exchange(other.m_block, nullptr);
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

void PhotoBytes::Release() noexcept {
    if (m_data) ::GlobalUnlock(m_block);
    if (m_stream) m_stream->Release();  // frees the block once no decoder holds the stream
    m_stream = nullptr;
    m_block = nullptr;
    m_data = nullptr;
    m_size = 0;
}

bool PhotoBytes::Allocate(size_t size) {
    Release();
    size = std::max<size_t>(size, 1);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) return false;
    if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &m_stream))) {
        ::GlobalFree(block);
        m_stream = nullptr;
        return false;
    }
    // The block may be larger than asked: the stream ends where the file does.
    ULARGE_INTEGER end{};
    end.QuadPart = size;
    if (FAILED(m_stream->SetSize(end)) || FAILED(::GetHGlobalFromStream(m_stream, &m_block))) {
        Release();
        return false;
    }
    m_data = static_cast<uint8_t*>(::GlobalLock(m_block));
    if (!m_data) {
        Release();
        return false;
    }
    m_size = size;
    return true;
}

IStream* PhotoBytes::NewStream() const {
    if (!m_stream) return nullptr;
    IStream* clone = nullptr;
    // A clone shares the bytes with a seek position of its own.
    if (FAILED(m_stream->Clone(&clone)) || !clone) return nullptr;
    LARGE_INTEGER start{};
    clone->Seek(start, STREAM_SEEK_SET, nullptr);
    return clone;
}

void FolderRests::Rest(const std::string& folder) {
    const std::string key = mb::ToLower(folder);
    const ULONGLONG until = m_clock() + kStalledFolderRestMs;
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto& resting : m_resting)
        if (resting.first == key) {
            resting.second = until;
            return;
        }
    m_resting.emplace_back(key, until);
}

bool FolderRests::IsResting(const std::string& path) {
    const ULONGLONG now = m_clock();
    const std::string lower = mb::ToLower(path);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_resting.erase(std::remove_if(m_resting.begin(), m_resting.end(), [now](const auto& r) { return r.second <= now; }),
                    m_resting.end());
    for (const auto& resting : m_resting)
        if (lower == resting.first || mb::IsInsideFolder(lower, resting.first)) return true;
    return false;
}

std::string StalledFolderOf(const std::string& path, const std::vector<std::string>& listedFolders) {
    const std::string lower = mb::ToLower(path);
    std::string best;
    for (const std::string& folder : listedFolders) {
        const std::string listed = mb::ToLower(folder);
        if (listed.size() > best.size() && mb::IsInsideFolder(lower, listed)) best = listed;
    }
    if (!best.empty()) return best;
    // \\server\share: up to the backslash after the share's name.
    if (lower.compare(0, 2, "\\\\") == 0) {
        const size_t server = lower.find('\\', 2);
        if (server == std::string::npos) return lower;
        const size_t share = lower.find('\\', server + 1);
        return share == std::string::npos ? lower : lower.substr(0, share);
    }
    if (lower.size() >= 2 && lower[1] == ':') return lower.substr(0, 2);
    const size_t slash = mb::FindLastBackslash(lower);
    return slash == std::string::npos ? lower : lower.substr(0, slash);
}

PhotoSource::PhotoSource(fw::IFileSystem& files, std::chrono::milliseconds limit, std::function<ULONGLONG()> clock)
    : m_files(files), m_rests(std::move(clock)), m_watchdog(files, limit) {}

PhotoRead PhotoSource::Read(const std::string& path, bool takeCloudOnly, const std::vector<std::string>& listedFolders,
                            PhotoBytes& bytes) {
    bytes = PhotoBytes();
    if (m_rests.IsResting(path)) return PhotoRead::Resting;
    const std::wstring wide = mb::Widen(path);
    PhotoRead result = PhotoRead::Read;
    {
        // The attributes come from the folder's metadata: asking never downloads a cloud file,
        // but a share that stopped answering can hold even this question.
        fw::IoWatchdog::Watch watch(m_watchdog);
        const DWORD attributes = m_files.Attributes(wide);
        if (watch.Expired())
            result = PhotoRead::Stalled;
        else if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return PhotoRead::Missing;
        else if (fw::IsCloudOnly(attributes) && !takeCloudOnly)
            return PhotoRead::CloudOnly;
    }
    if (result == PhotoRead::Read) result = ReadWhole(wide, bytes);
    if (result == PhotoRead::Stalled) m_rests.Rest(StalledFolderOf(path, listedFolders));
    if (result != PhotoRead::Read) bytes = PhotoBytes();
    return result;
}

PhotoRead PhotoSource::ReadWhole(const std::wstring& path, PhotoBytes& bytes) {
    fw::FileHandle file;
    {
        fw::IoWatchdog::Watch watch(m_watchdog);
        DWORD error = 0;
        file = m_files.OpenForReading(path, error);
        if (watch.Expired()) return PhotoRead::Stalled;
        if (!file) return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PhotoRead::Missing
                                                                                       : PhotoRead::Failed;
    }
    uint64_t size = 0;
    if (!m_files.Size(file.get(), size) || size == 0) return PhotoRead::Failed;
    if (size > kMaxPhotoFileBytes || size > SIZE_MAX) return PhotoRead::TooLarge;
    if (!bytes.Allocate(static_cast<size_t>(size))) return PhotoRead::TooLarge;
    size_t done = 0;
    while (done < bytes.Size()) {
        const DWORD piece = static_cast<DWORD>(std::min<size_t>(kReadPiece, bytes.Size() - done));
        fw::IoWatchdog::Watch watch(m_watchdog);
        DWORD read = 0, error = 0;
        const bool ok = m_files.Read(file.get(), bytes.Data() + done, piece, read, error);
        if (watch.Expired()) return PhotoRead::Stalled;
        // A file cut short since its size was taken is as unreadable as one that failed.
        if (!ok || read == 0) return PhotoRead::Failed;
        done += read;
    }
    return PhotoRead::Read;
}

PhotoSource& DefaultPhotoSource() {
    static PhotoSource source(fw::RealFiles());
    return source;
}

const char* PhotoReadText(PhotoRead read) {
    switch (read) {
        case PhotoRead::Read: return "read";
        case PhotoRead::Missing: return "missing";
        case PhotoRead::CloudOnly: return "cloud-only";
        case PhotoRead::TooLarge: return "too large";
        case PhotoRead::Failed: return "read failed";
        case PhotoRead::Stalled: return "read stalled and cancelled";
        case PhotoRead::Resting: return "its folder rests";
    }
    return "?";
}

#pragma once
// A file system seam over the real disk that can make chosen files cloud-only, fail part-way,
// or stall until their thread's I/O is cancelled, and that can answer folder identities the way
// WebDAV and NAS shares do. Header-only, like the fake system.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "framework/file_system.h"
#include "framework/mbstring.h"

namespace testing_support {

class FakeFiles : public fw::IFileSystem {
public:
    enum class Trouble { None, CloudOnly, FailsHalfWay, Stalls };

    void Make(const std::string& path, Trouble trouble) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_trouble[mb::ToLower(path)] = trouble;
    }
    // Every folder answers this identity (volume 0 or index 0 identify nothing).
    bool sameIdentityForAll = false;
    fw::FolderId identity{};

    std::atomic<int> opens{0};
    std::atomic<int> cancels{0};
    // Runs before each open, on the reading thread: a share that answers only after a while.
    std::function<void(const std::wstring&)> onOpen;

    DWORD Attributes(const std::wstring& path) override {
        DWORD attributes = m_real.Attributes(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && TroubleOf(path) == Trouble::CloudOnly)
            attributes |= 0x00400000;  // recall on data access
        return attributes;
    }
    fw::FileHandle OpenForReading(const std::wstring& path, DWORD& error) override {
        ++opens;
        if (onOpen) onOpen(path);
        fw::FileHandle file = m_real.OpenForReading(path, error);
        if (file) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_open[file.get()] = TroubleOf(path, false);
        }
        return file;
    }
    bool Size(HANDLE file, uint64_t& size) override { return m_real.Size(file, size); }
    bool Read(HANDLE file, void* buffer, DWORD bytes, DWORD& read, DWORD& error) override {
        Trouble trouble;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            trouble = m_open[file];
        }
        if (trouble == Trouble::Stalls) {
            // Blocks as a dead share does, until the watchdog cancels this thread's I/O.
            std::unique_lock<std::mutex> lock(m_mutex);
            const DWORD me = ::GetCurrentThreadId();
            m_cancelled.erase(me);  // a late repeat of an earlier cancel; the watchdog repeats its own
            m_wake.wait(lock, [&] { return m_cancelled.count(me) != 0; });
            m_cancelled.erase(me);
            read = 0;
            error = ERROR_OPERATION_ABORTED;
            return false;
        }
        if (trouble == Trouble::FailsHalfWay) {
            uint64_t size = 0;
            m_real.Size(file, size);
            LARGE_INTEGER at{};
            ::SetFilePointerEx(file, LARGE_INTEGER{}, &at, FILE_CURRENT);
            if (static_cast<uint64_t>(at.QuadPart) >= size / 2) {
                read = 0;
                error = ERROR_NETNAME_DELETED;
                return false;
            }
            bytes = static_cast<DWORD>(std::min<uint64_t>(bytes, size / 2 - at.QuadPart));
        }
        return m_real.Read(file, buffer, bytes, read, error);
    }
    bool CancelPendingIo(HANDLE thread) override {
        ++cancels;
        std::lock_guard<std::mutex> lock(m_mutex);
        m_cancelled[::GetThreadId(thread)] = true;
        m_wake.notify_all();
        return true;
    }
    bool IdentifyFolder(const std::wstring& folder, fw::FolderId& id) override {
        if (!sameIdentityForAll) return m_real.IdentifyFolder(folder, id);
        fw::FolderId real{};
        if (!m_real.IdentifyFolder(folder, real)) return false;
        id = identity;
        return true;
    }

private:
    Trouble TroubleOf(const std::wstring& path, bool lock = true) {
        std::unique_lock<std::mutex> guard(m_mutex, std::defer_lock);
        if (lock) guard.lock();
        auto found = m_trouble.find(mb::ToLower(mb::Narrow(path)));
        return found == m_trouble.end() ? Trouble::None : found->second;
    }

    fw::RealFileSystem m_real;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<std::string, Trouble> m_trouble;
    std::map<HANDLE, Trouble> m_open;
    std::map<DWORD, bool> m_cancelled;
};

}  // namespace testing_support

#include "framework/io_watchdog.h"

#include <algorithm>
#include <system_error>

#include "framework/thread_stack.h"

namespace fw {

namespace {

// A cancel that arrives just before the thread enters its call misses it: it is repeated this
// often until the watch ends.
constexpr std::chrono::milliseconds kCancelRepeat{100};

HANDLE DuplicateCurrentThread() {
    HANDLE thread = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), &thread, 0, FALSE,
                           DUPLICATE_SAME_ACCESS))
        return nullptr;
    return thread;
}

}  // namespace

IoWatchdog::IoWatchdog(IFileSystem& files, std::chrono::milliseconds limit) : m_files(files), m_limit(limit) {}

IoWatchdog::~IoWatchdog() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

size_t IoWatchdog::ActiveWatches() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_watches.size();
}

void IoWatchdog::Add(Watch* watch) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stopping) return;
    if (!m_thread.joinable()) {
        try {
            m_thread = std::thread(&IoWatchdog::Run, this);
        } catch (const std::system_error&) {
            return;  // no thread to be had: the I/O runs unwatched, as it would without us
        }
    }
    m_watches.push_back(watch);
    m_wake.notify_all();
}

void IoWatchdog::Remove(Watch* watch) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_watches.erase(std::remove(m_watches.begin(), m_watches.end(), watch), m_watches.end());
}

void IoWatchdog::Run() {
    ReserveStackForCrashHandling();
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        if (m_watches.empty()) {
            m_wake.wait(lock);
            continue;
        }
        const auto now = std::chrono::steady_clock::now();
        auto next = now + std::chrono::hours(1);
        for (Watch* watch : m_watches) {
            if (watch->m_deadline <= now) {
                watch->m_expired = true;
                if (watch->m_thread) m_files.CancelPendingIo(watch->m_thread.get());
                next = std::min(next, now + kCancelRepeat);
            } else {
                next = std::min(next, watch->m_deadline);
            }
        }
        m_wake.wait_until(lock, next);
    }
}

IoWatchdog::Watch::Watch(IoWatchdog& watchdog)
    : m_watchdog(watchdog), m_thread(DuplicateCurrentThread()),
      m_deadline(std::chrono::steady_clock::now() + watchdog.m_limit) {
    m_watchdog.Add(this);
}

IoWatchdog::Watch::~Watch() { m_watchdog.Remove(this); }

bool IoWatchdog::Watch::Expired() const {
    std::lock_guard<std::mutex> lock(m_watchdog.m_mutex);
    return m_expired;
}

}  // namespace fw

#include "state/background_scan.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>

#include "framework/thread_stack.h"

namespace {

// How long dropping a scan waits for its thread before leaving it to end alone.
constexpr std::chrono::milliseconds kStopWait{200};

}  // namespace

struct BackgroundScan::Shared {
    std::vector<std::string> folders;
    bool countFirst = false;
    ScanStatus status;
    std::vector<FolderScan> results;  // the worker's until `finished`, the owner's after
    bool failed = false;
    std::atomic<bool> finished{false};
    std::mutex mutex;
    std::condition_variable ended;
};

BackgroundScan::BackgroundScan(std::vector<std::string> folders, bool countFirst)
    : m_shared(std::make_shared<Shared>()) {
    m_shared->folders = std::move(folders);
    m_shared->countFirst = countFirst;
    try {
        m_thread = std::thread(&BackgroundScan::Run, m_shared);
    } catch (const std::system_error&) {
        // No thread to be had: the scan fails, and nothing is committed.
        m_shared->failed = true;
        m_shared->finished = true;
    }
}

BackgroundScan::~BackgroundScan() {
    Cancel();
    if (!m_thread.joinable()) return;
    // A cancelled walk ends at its next entry; a share that stopped answering can hold it inside
    // one call for many seconds, and then the thread ends alone.
    std::unique_lock<std::mutex> lock(m_shared->mutex);
    const bool ended = m_shared->ended.wait_for(lock, kStopWait, [this] { return Finished(); });
    lock.unlock();
    if (ended)
        m_thread.join();
    else
        m_thread.detach();
}

void BackgroundScan::Run(const std::shared_ptr<Shared>& shared) noexcept {
    fw::ReserveStackForCrashHandling();
    try {
        shared->results = ScanFolders(shared->folders, shared->countFirst, shared->status);
    } catch (...) {
        // Out of memory on a huge tree: the scan fails whole.
        shared->failed = true;
    }
    std::lock_guard<std::mutex> lock(shared->mutex);
    shared->finished.store(true, std::memory_order_release);
    shared->ended.notify_all();
}

const std::vector<std::string>& BackgroundScan::Folders() const { return m_shared->folders; }

const ScanStatus& BackgroundScan::Status() const { return m_shared->status; }

bool BackgroundScan::Finished() const { return m_shared->finished.load(std::memory_order_acquire); }

bool BackgroundScan::Complete() const {
    return Finished() && !m_shared->failed && !m_shared->status.cancelled.load();
}

std::vector<FolderScan> BackgroundScan::TakeResults() {
    if (!Complete()) return {};
    return std::move(m_shared->results);
}

void BackgroundScan::Cancel() { m_shared->status.cancelled = true; }

bool BackgroundRefill::Start() {
    if (m_scan) return true;
    if (m_restUntil != 0 && m_clock() < m_restUntil) return false;
    m_restUntil = 0;
    std::vector<std::string> folders = m_catalogue.RefillFolders();
    if (folders.empty()) return false;
    m_scan = std::make_unique<BackgroundScan>(std::move(folders), false);
    return true;
}

bool BackgroundRefill::Poll() {
    if (!m_scan) return true;
    if (!m_scan->Finished()) return false;
    std::vector<FolderScan> scans = m_scan->TakeResults();
    const bool noneReached = !scans.empty() && std::none_of(scans.begin(), scans.end(), [](const FolderScan& scan) {
        return scan.reachable;
    });
    // Walking unreachable folders at every tick would only keep a dead share busy.
    if (noneReached) m_restUntil = m_clock() + kUnreachableRefillRestMs;
    m_catalogue.CommitRefill(m_scan->Folders(), std::move(scans));
    m_scan.reset();
    return true;
}

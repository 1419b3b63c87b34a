#pragma once
// Slow work of a window (reading and decoding pictures) on a thread of its own, so that the
// window never waits for a disk, a share or a huge file. Results come back one by one, in the
// order the work was posted: the thread posts the window a message, and the window takes what
// is ready on its own thread.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "framework/handles.h"
#include "framework/thread_stack.h"

namespace fw {

// How long dropping a window's jobs waits for the one in hand before leaving it to end alone.
constexpr std::chrono::milliseconds kJobStopWait{200};

template <class Result>
class WindowJobs {
public:
    // The work sees the cancel flag of its batch; it may stop early, and what it returns then is
    // dropped anyway.
    using Work = std::function<Result(const std::atomic<bool>& cancelled)>;
    struct Done {
        int key;
        Result result;
    };

    // The thread holds only the window's handle, never the window object: a message to a window
    // that has gone is lost harmlessly.
    WindowJobs(HWND window, UINT message) : m_shared(std::make_shared<Shared>()) {
        m_shared->window = window;
        m_shared->message = message;
        try {
            m_thread = std::thread(&WindowJobs::Run, m_shared);
        } catch (const std::system_error&) {
            // No thread to be had: the work runs on the window's thread, late rather than never.
        }
    }
    // Drops what is queued and waits briefly for the job in hand; one stuck on a share that
    // stopped answering ends alone later, and its result is freed unseen.
    ~WindowJobs() {
        {
            std::lock_guard<std::mutex> lock(m_shared->mutex);
            m_shared->stopping = true;
            m_shared->queue.clear();
            m_shared->done.clear();
            m_shared->cancelled->store(true);
        }
        m_shared->wake.notify_all();
        if (!m_thread.joinable()) return;
        std::unique_lock<std::mutex> lock(m_shared->mutex);
        const bool ended = m_shared->ended.wait_for(lock, kJobStopWait, [this] { return m_shared->finished; });
        lock.unlock();
        if (ended)
            m_thread.join();
        else
            m_thread.detach();
    }
    WindowJobs(const WindowJobs&) = delete;
    WindowJobs& operator=(const WindowJobs&) = delete;

    void Post(int key, Work work) {
        if (!m_thread.joinable()) {
            RunHere(key, work);
            return;
        }
        {
            std::lock_guard<std::mutex> lock(m_shared->mutex);
            m_shared->queue.push_back({m_shared->generation, key, std::move(work)});
        }
        m_shared->wake.notify_one();
    }

    // Forgets everything posted so far: queued work is dropped, the job in hand is told to stop,
    // and no result of it is handed out any more.
    void Cancel() {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        ++m_shared->generation;
        m_shared->queue.clear();
        m_shared->done.clear();
        m_shared->cancelled->store(true);
        m_shared->cancelled = std::make_shared<std::atomic<bool>>(false);
    }

    // The results ready now, in the order their work was posted.
    std::vector<Done> Take() {
        std::vector<Done> ready;
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        ready.swap(m_shared->done);
        return ready;
    }

    // Work is queued or in hand, or a result waits to be taken.
    bool Busy() const {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        return !m_shared->queue.empty() || m_shared->inHand || !m_shared->done.empty();
    }

private:
    struct Job {
        unsigned generation;
        int key;
        Work work;
    };
    struct Shared {
        HWND window = nullptr;
        UINT message = 0;
        mutable std::mutex mutex;
        std::condition_variable wake, ended;
        std::deque<Job> queue;
        std::vector<Done> done;
        unsigned generation = 0;
        std::shared_ptr<std::atomic<bool>> cancelled = std::make_shared<std::atomic<bool>>(false);
        bool inHand = false;
        bool stopping = false;
        bool finished = false;
    };

    static void Run(std::shared_ptr<Shared> shared) noexcept {
        ReserveStackForCrashHandling();
        // Decoders may use WIC; this thread is a member of the multithreaded apartment.
        ComApartment com(COINIT_MULTITHREADED);
        for (;;) {
            Job job;
            std::shared_ptr<std::atomic<bool>> cancelled;
            {
                std::unique_lock<std::mutex> lock(shared->mutex);
                shared->wake.wait(lock, [&] { return shared->stopping || !shared->queue.empty(); });
                if (shared->stopping) break;
                job = std::move(shared->queue.front());
                shared->queue.pop_front();
                cancelled = shared->cancelled;
                shared->inHand = true;
            }
            bool made = false;
            Result result{};
            try {
                result = job.work(*cancelled);
                made = true;
            } catch (...) {
                // Out of memory on a huge picture: this one is passed over, the rest still come.
            }
            bool handed = false;
            {
                std::lock_guard<std::mutex> lock(shared->mutex);
                shared->inHand = false;
                if (made && !shared->stopping && job.generation == shared->generation) {
                    shared->done.push_back({job.key, std::move(result)});
                    handed = true;
                }
            }
            if (handed) ::PostMessageW(shared->window, shared->message, 0, 0);
        }
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->finished = true;
        shared->ended.notify_all();
    }

    void RunHere(int key, const Work& work) {
        std::atomic<bool> cancelled{false};
        try {
            Result result = work(cancelled);
            std::lock_guard<std::mutex> lock(m_shared->mutex);
            m_shared->done.push_back({key, std::move(result)});
        } catch (...) {
            return;
        }
        ::PostMessageW(m_shared->window, m_shared->message, 0, 0);
    }

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};

}  // namespace fw

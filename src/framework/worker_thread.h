#pragma once
// One thread that runs long jobs one at a time, so that no window waits for them. The thread is
// made once, lives in a COM apartment of its own and ends with its owner.

#include <windows.h>

#include <atomic>
#include <functional>

#include "framework/handles.h"

namespace fw {

// Waits up to `ms` for `done`, handling the messages other threads send to this thread's
// windows meanwhile: a job that broadcasts to every window (setting the wallpaper does) then
// never waits for the thread that waits for it. True when `done` came true.
bool WaitHandlingSentMessages(DWORD ms, const std::function<bool()>& done);

class WorkerThread {
public:
    // `finished` runs on the worker after each job, cancelled or not (an owner posts itself a
    // message from it); it may be empty.
    explicit WorkerThread(std::function<void()> finished = {});
    // Cancels the job in progress and waits for the thread to end.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Hands a job to the worker; false while the previous one is still running, or when no
    // thread could be made.
    bool Start(std::function<void()> job);
    bool Busy() const noexcept { return m_busy.load(std::memory_order_acquire); }

    // Asks the job in progress to end early: the token says so from now on, and a pending
    // synchronous open or read of the worker's is cancelled. The next job starts uncancelled.
    void Cancel();
    const std::atomic<bool>& CancelToken() const noexcept { return m_cancelled; }

    // Waits up to `ms` for the job in progress, handling sent messages; true once none runs.
    bool Wait(DWORD ms) const;

private:
    static unsigned __stdcall ThreadMain(void* self);
    void Loop();

    std::function<void()> m_finished;
    std::function<void()> m_job;  // handed over under the wake event
    std::atomic<bool> m_busy{false};
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_quit{false};
    KernelHandle m_wake;
    KernelHandle m_thread;
};

}  // namespace fw

#pragma once
// Bounds how long a thread may wait in one open or read: a share that stopped answering, a pulled
// drive or a stuck cloud download would otherwise hold it for minutes. One watchdog thread, started
// at the first watch and stopped with its owner, cancels what outlasts the limit through the file
// system seam (CancelSynchronousIo).

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "framework/file_system.h"
#include "framework/handles.h"

namespace fw {

class IoWatchdog {
public:
    IoWatchdog(IFileSystem& files, std::chrono::milliseconds limit);
    // Stops and joins the watchdog thread; no watch may outlive it.
    ~IoWatchdog();
    IoWatchdog(const IoWatchdog&) = delete;
    IoWatchdog& operator=(const IoWatchdog&) = delete;

    // One open or read of the calling thread, from construction to destruction.
    class Watch {
    public:
        explicit Watch(IoWatchdog& watchdog);
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;
        // The limit passed and the I/O was cancelled (or will be, until the watch ends).
        bool Expired() const;

    private:
        friend class IoWatchdog;
        IoWatchdog& m_watchdog;
        KernelHandle m_thread;
        std::chrono::steady_clock::time_point m_deadline;
        bool m_expired = false;  // under the watchdog's lock
    };

    // Watches armed now (a test checks that none is left behind).
    size_t ActiveWatches();

private:
    void Run();
    void Add(Watch* watch);
    void Remove(Watch* watch);

    IFileSystem& m_files;
    const std::chrono::milliseconds m_limit;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<Watch*> m_watches;
    bool m_stopping = false;
    std::thread m_thread;
};

}  // namespace fw

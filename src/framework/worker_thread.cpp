#include "framework/worker_thread.h"

#include <process.h>

#include "framework/field_log.h"
#include "framework/thread_stack.h"

namespace fw {

namespace {

// Decoders and GDI+ nest deeply on large pictures: room to grow, taken only as it is used.
constexpr unsigned kStackReserve = 4u << 20;

}  // namespace

bool WaitHandlingSentMessages(DWORD ms, const std::function<bool()>& done) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (done()) return true;
        const DWORD spent = ::GetTickCount() - start;
        if (spent >= ms) return false;
        // Wakes for sent messages only; posted ones stay queued for the loop that owns them.
        const DWORD slice = ms - spent < 10 ? ms - spent : 10;
        if (::MsgWaitForMultipleObjectsEx(0, nullptr, slice, QS_SENDMESSAGE, 0) == WAIT_OBJECT_0) {
            MSG msg;
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
}

WorkerThread::WorkerThread(std::function<void()> finished) : m_finished(std::move(finished)) {}

WorkerThread::~WorkerThread() {
    if (!m_thread) return;
    Cancel();
    m_quit.store(true, std::memory_order_release);
    ::SetEvent(m_wake.get());
    // A job stuck in a system call ends with the process; its owner decides before this runs.
    WaitHandlingSentMessages(INFINITE, [this] { return ::WaitForSingleObject(m_thread.get(), 0) == WAIT_OBJECT_0; });
}

bool WorkerThread::Start(std::function<void()> job) {
    if (Busy()) return false;
    if (!m_thread) {
        m_wake.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
        if (!m_wake) return false;
        const uintptr_t thread =
            ::_beginthreadex(nullptr, kStackReserve, ThreadMain, this, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
        if (!thread) return false;
        m_thread.reset(reinterpret_cast<HANDLE>(thread));
    }
    m_job = std::move(job);
    m_cancelled.store(false, std::memory_order_release);
    m_busy.store(true, std::memory_order_release);
    ::SetEvent(m_wake.get());
    return true;
}

void WorkerThread::Cancel() {
    if (!Busy()) return;
    m_cancelled.store(true, std::memory_order_release);
    if (m_thread) ::CancelSynchronousIo(m_thread.get());
}

bool WorkerThread::Wait(DWORD ms) const {
    return WaitHandlingSentMessages(ms, [this] { return !Busy(); });
}

unsigned __stdcall WorkerThread::ThreadMain(void* self) {
    static_cast<WorkerThread*>(self)->Loop();
    return 0;
}

void WorkerThread::Loop() {
    ReserveStackForCrashHandling();
    ComApartment com;
    for (;;) {
        // An apartment thread handles its messages while it waits.
        HANDLE wake = m_wake.get();
        if (::MsgWaitForMultipleObjectsEx(1, &wake, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
            continue;
        }
        if (m_quit.load(std::memory_order_acquire)) return;
        std::function<void()> job = std::move(m_job);
        m_job = nullptr;
        if (job) {
            try {
                job();
            } catch (...) {
                // A job's failure is its own; the thread goes on serving the next.
                Log("exception stopped a worker's job");
            }
        }
        m_busy.store(false, std::memory_order_release);
        if (m_finished) m_finished();
    }
}

}  // namespace fw

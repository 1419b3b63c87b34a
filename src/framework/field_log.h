#pragma once
// A small log in the data folder, for when the program "stopped changing" on a user's machine:
// start and exit, photos passed over and why, failed writes, display and session changes,
// exceptions caught at window boundaries. Lines are kept in memory and written by a thread of the
// log's own, so that no change ever waits for the disk. Two files of at most kFieldLogLimit bytes
// take turns: a full log becomes the old one and a new one is begun.

#include <windows.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace fw {

constexpr size_t kFieldLogLimit = 256 * 1024;

class FieldLog {
public:
    // `beforeWrite` runs on the writer before each write to disk (a test's slow disk); may be empty.
    explicit FieldLog(std::function<void()> beforeWrite = {});
    // Writes what is still kept, then stops the writer.
    ~FieldLog();
    FieldLog(const FieldLog&) = delete;
    FieldLog& operator=(const FieldLog&) = delete;

    // Begins writing into `file`, which a full log turns into `oldFile` (or goes on in other
    // files); lines written before are kept for it. An empty name writes nothing.
    void Open(std::wstring file, std::wstring oldFile);
    // One line, after the local time; never waits for the disk. Beyond a bound of kept text the
    // lines are counted, not kept, until the writer catches up.
    void Write(std::string_view line);
    // Waits until every line written so far is on disk (exit, tests); false after `ms`.
    bool Flush(DWORD ms = 2000);

    // The process's log, written by every floor.
    static FieldLog& Process();

private:
    void Run();
    void WriteToDisk(const std::wstring& file, const std::wstring& oldFile, const std::string& text);

    std::function<void()> m_beforeWrite;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_written;
    std::wstring m_file, m_oldFile;
    std::string m_pending;
    size_t m_dropped = 0;
    unsigned long long m_queued = 0;   // lines handed over so far
    unsigned long long m_done = 0;     // lines on disk (or given up) so far
    bool m_stop = false;
    std::thread m_thread;
};

// printf-style line into the process's log.
void Log(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace fw

#include "framework/field_log.h"

#include <cstdarg>
#include <cstdio>

#include "framework/handles.h"
#include "framework/thread_stack.h"

namespace fw {

namespace {

// Lines beyond this wait for the writer no longer: they are counted instead.
constexpr size_t kPendingLimit = 64 * 1024;
// The writer writes at least this often while lines wait.
constexpr auto kWritePause = std::chrono::seconds(1);

std::string TimeStamp() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    return text;
}

LONGLONG FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool Append(const std::wstring& path, std::string_view text) {
    // Shared for reading and deleting: a user may open the log while the program runs.
    FileHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

}  // namespace

FieldLog::FieldLog(std::function<void()> beforeWrite) : m_beforeWrite(std::move(beforeWrite)) {}

FieldLog::~FieldLog() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

void FieldLog::Open(std::wstring file, std::wstring oldFile) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (file.empty() || oldFile.empty()) return;
    m_file = std::move(file);
    m_oldFile = std::move(oldFile);
    if (!m_thread.joinable()) m_thread = std::thread([this] { Run(); });
}

void FieldLog::Write(std::string_view line) {
    std::string text = TimeStamp();
    text.append(line.substr(0, 1024));  // a line, not a dump
    text.append("\r\n");
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_pending.size() + text.size() > kPendingLimit) {
            ++m_dropped;
            return;
        }
        if (m_dropped) {
            char note[64];
            std::snprintf(note, sizeof note, "(%u lines left out)\r\n", static_cast<unsigned>(m_dropped));
            m_pending.append(note);
            m_dropped = 0;
        }
        m_pending.append(text);
        ++m_queued;
    }
    m_wake.notify_one();
}

bool FieldLog::Flush(DWORD ms) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_thread.joinable()) return false;
    const unsigned long long target = m_queued;
    m_wake.notify_one();
    return m_written.wait_for(lock, std::chrono::milliseconds(ms), [&] { return m_done >= target; });
}

void FieldLog::Run() {
    ReserveStackForCrashHandling();
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait_for(lock, kWritePause, [this] { return m_stop || !m_pending.empty(); });
        if (m_pending.empty()) {
            if (m_stop) return;
            continue;
        }
        std::string text;
        text.swap(m_pending);
        const unsigned long long lines = m_queued;
        const std::wstring file = m_file, oldFile = m_oldFile;
        lock.unlock();
        WriteToDisk(file, oldFile, text);  // Write() goes on meanwhile
        lock.lock();
        m_done = lines;
        m_written.notify_all();
    }
}

void FieldLog::WriteToDisk(const std::wstring& file, const std::wstring& oldFile, const std::string& text) {
    if (m_beforeWrite) m_beforeWrite();
    if (FileSize(file) + static_cast<LONGLONG>(text.size()) > static_cast<LONGLONG>(kFieldLogLimit))
        ::MoveFileExW(file.c_str(), oldFile.c_str(), MOVEFILE_REPLACE_EXISTING);
    // A log that cannot be written is no reason to stop anything else.
    Append(file, std::string_view(text).substr(0, kFieldLogLimit));
}

FieldLog& FieldLog::Process() {
    static FieldLog log;
    return log;
}

void Log(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    FieldLog::Process().Write(text);
}

}  // namespace fw

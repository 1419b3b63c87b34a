#include "state/start_with_windows.h"

#include <iterator>
#include <utility>
#include <vector>

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"Dioramix";
// Where the Task Manager keeps the user's choice for each Run entry.
constexpr wchar_t kStartupApprovedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
// What the Task Manager writes for an enabled entry.
constexpr BYTE kEnabledRecord[12] = {2};

// The Run value for the executable: its path in quotes, so that a path with blanks is one command.
std::wstring StartCommand(const std::wstring& exePath) { return L"\"" + exePath + L"\""; }

// Whether a start-up list record says the user disabled the entry: the first byte is odd (02 00 ...
// enabled, 03 00 ... and the time of disabling: disabled). No record is no choice.
bool IsDisabledInStartupList(const std::vector<BYTE>& record) { return !record.empty() && (record[0] & 1) != 0; }

}  // namespace

StartWithWindows::StartWithWindows(fw::IRegistry& registry, std::wstring exePath)
    : m_registry(registry), m_exePath(std::move(exePath)) {}

bool StartWithWindows::IsOn() const {
    if (!m_registry.Read(kRunKey, kValueName)) return false;
    const auto record = m_registry.Read(kStartupApprovedKey, kValueName);
    return !record || !IsDisabledInStartupList(record->bytes);
}

bool StartWithWindows::Set(bool on) {
    if (!on) return m_registry.Delete(kRunKey, kValueName);
    if (!m_registry.Write(kRunKey, kValueName, fw::StringValue(StartCommand(m_exePath)))) return false;
    // Ticking the box is the user's word: an entry disabled in the start-up list is enabled again.
    const auto record = m_registry.Read(kStartupApprovedKey, kValueName);
    if (record && IsDisabledInStartupList(record->bytes))
        m_registry.Write(kStartupApprovedKey, kValueName,
                         {REG_BINARY, std::vector<BYTE>(std::begin(kEnabledRecord), std::end(kEnabledRecord))});
    return true;
}

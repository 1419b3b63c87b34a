#pragma once
// "Start with Windows": the program's value under the current user's Run key, and the record the
// Task Manager keeps of the user's choice for it, which disables a value that is there.

#include <string>

#include "framework/registry.h"

class StartWithWindows {
public:
    // exePath: the executable as the system spells it, every character kept.
    StartWithWindows(fw::IRegistry& registry, std::wstring exePath);

    // The value is there and the user has not disabled it in the Task Manager.
    bool IsOn() const;
    // Writes the executable's command and enables it again in the start-up list (on), or deletes
    // the value (off); false when the registry refused. Deleting a value that is not there counts
    // as done.
    bool Set(bool on);

private:
    fw::IRegistry& m_registry;
    std::wstring m_exePath;
};

#pragma once
// Starting a program of the tests' own: its process handle comes back owned, its thread's is
// closed at once.

#include <windows.h>

#include <string>

#include "framework/handles.h"

namespace testing_support {

inline fw::KernelHandle StartProgram(const std::string& exe, const std::string& folder,
                                     const std::string& arguments = "") {
    std::string line = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return fw::KernelHandle();
    fw::KernelHandle thread(pi.hThread);
    return fw::KernelHandle(pi.hProcess);
}

}  // namespace testing_support

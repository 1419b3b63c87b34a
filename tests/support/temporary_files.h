#pragma once
// How many temporary files of the safe writes a folder holds: none may outlive a write.

#include <windows.h>

#include <string>

#include "framework/handles.h"
#include "framework/safe_file.h"

namespace testing_support {

inline int CountTemporaryFiles(const std::string& folder) {
    WIN32_FIND_DATAA data{};
    fw::FindHandle find(::FindFirstFileA((folder + "\\" + fw::kTemporaryFilePattern).c_str(), &data));
    if (!find) return 0;
    int n = 0;
    do ++n;
    while (::FindNextFileA(find.get(), &data));
    return n;
}

}  // namespace testing_support

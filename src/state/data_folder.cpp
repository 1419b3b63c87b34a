#include "state/data_folder.h"

#include <windows.h>
#include <shlobj.h>

#include "framework/mbstring.h"
#include "state/data_files.h"

std::string ChooseDataFolder(const std::string& exePath, const std::string& localAppData,
                             const std::function<bool(const std::string&)>& canWrite) {
    if (localAppData.empty() || (!exePath.empty() && canWrite(exePath))) return exePath;
    return localAppData + data_files::kDataFolderName;
}

bool CanWriteFolder(const std::string& folder) {
    if (folder.empty()) return false;
    char name[MAX_PATH] = {};
    // A name of our own in the folder; GetTempFileName creates the file, which is the test.
    if (::GetTempFileNameA(folder.c_str(), "dmx", 0, name) == 0) return false;
    ::DeleteFileA(name);
    return true;
}

std::string LocalAppDataFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)))
        return "";
    return mb::NarrowPath(path);
}

void UseDataFolder(EnvSettings& env, const std::string& localAppData) {
    const std::string folder = ChooseDataFolder(env.m_exePath, localAppData, CanWriteFolder);
    if (folder == env.m_exePath) {
        env.m_dataPath.clear();
        return;
    }
    ::CreateDirectoryA(folder.c_str(), nullptr);
    if (!CanWriteFolder(folder)) {
        env.m_dataPath.clear();  // nowhere better: stay beside the program
        return;
    }
    if (!env.m_exePath.empty()) CarryOverUserFiles(env.m_exePath, folder);
    env.m_dataPath = folder;
}

void CarryOverUserFiles(const std::string& from, const std::string& to) {
    for (const char* name : data_files::kUserFiles) ::CopyFileA((from + name).c_str(), (to + name).c_str(), TRUE);
}

#pragma once
// Where the program keeps the files it writes. Beside the executable, as always, when that
// folder can be written; a program placed under "Program Files" cannot write there (a 64-bit
// program gets no file virtualisation), so it then keeps them in "Dioramix" inside the user's
// local application data folder.

#include <functional>
#include <string>

#include "state/settings.h"

// The folder for the program's files: exePath when it can be written, else localAppData +
// "\Dioramix"; exePath as well when there is no such folder to use. An empty exePath (the
// program's folder has no narrow name) cannot be written.
std::string ChooseDataFolder(const std::string& exePath, const std::string& localAppData,
                             const std::function<bool(const std::string&)>& canWrite);

// True when a new file can be created in the folder (tried with a scratch file, removed again).
bool CanWriteFolder(const std::string& folder);
// The user's local application data folder, "" when unknown or without a narrow name.
std::string LocalAppDataFolder();

// Copies each of the user's files from the program's folder to `to` unless it is there already.
void CarryOverUserFiles(const std::string& from, const std::string& to);

// Sets env.m_dataPath after InitExePath. When the files move to the user's folder, that folder
// is made, and the user's files found beside the program and not yet there are copied over
// once, so that settings kept with the program are not lost.
void UseDataFolder(EnvSettings& env, const std::string& localAppData = LocalAppDataFolder());

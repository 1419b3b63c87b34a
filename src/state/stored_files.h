#pragma once
// The user's stored files (env.ini, list.txt, poslist.txt, xdaylist.txt) in UTF-8 once the
// program's code page is UTF-8. An earlier version wrote them in the system's ANSI code page;
// such a file is converted once at start, its old version kept beside as "<name>.bak".

#include <windows.h>

#include <string>

// The code page an earlier version wrote the stored files in: the system locale's ANSI code page
// (949 on Korean Windows), 1252 when the locale names none.
UINT LegacyCodePage();

enum class Migration { Missing, AlreadyUtf8, Converted, Failed };

// Converts one file to UTF-8 line by line: a line that is valid UTF-8 is kept as it is (a file
// half written by this version stays right), any other line is taken as legacyCodePage. The old
// file is first copied to path + ".bak" unless such a copy exists; the new one replaces it
// safely. Failed leaves the file as it was.
Migration MigrateToUtf8(const std::string& path, UINT legacyCodePage);

// The text with every line that is not valid UTF-8 re-encoded from legacyCodePage; line ends kept.
std::string LegacyLinesToUtf8(const std::string& text, UINT legacyCodePage);

// Migrates each of the user's files in the folder; nothing when the process's own code page is
// not UTF-8 (the manifest's setting was not honoured), where the files stay in the system's.
void MigrateStoredFiles(const std::string& folder, UINT legacyCodePage = LegacyCodePage());

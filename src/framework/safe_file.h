#pragma once
// Replacing a file so that at every instant either the old or the new version is whole on disk:
// the new content goes to a temporary file in the target's folder, is flushed, and is moved over
// the target in one step. A failed write leaves the target as it was.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace fw {

// Writes the new content to the given temporary path; false when it could not be written whole.
using TemporaryWriter = std::function<bool(const std::string& temporaryPath)>;

// Whether the new content is forced out of the system's cache before the move. A file the program
// makes anew at every change (the wallpaper) is only kept whole, not flushed: forcing megabytes to
// disk each time costs more than the whole picture's drawing, and the next change writes it again.
enum class Durability { Flushed, Regenerated };

// Anti-virus scanners, the search indexer and cloud sync open new and changed files for a moment:
// the flush and the final move try again for a while when another program holds either file.
// Tests pass their own clock and sleep.
struct HoldRetry {
    DWORD windowMs = 4000;
    DWORD pauseMs = 100;
    std::function<DWORD()> ticks;        // ::GetTickCount when empty
    std::function<void(DWORD)> sleep;    // ::Sleep when empty
};

// Writes through write() and moves the result over target, keeping an existing target's
// attributes and security. False, with target untouched and the temporary file gone, when the
// temporary cannot be made, write() fails, or the move fails (the target is a folder, is
// read-only, or is held open by another program for longer than the retry window).
bool ReplaceFileSafely(const std::string& target, const TemporaryWriter& write,
                       Durability durability = Durability::Flushed, const HoldRetry& retry = {});

// The same with the whole new content at hand: it is written and flushed through one handle.
bool ReplaceFileContentSafely(const std::string& target, std::string_view content,
                              Durability durability = Durability::Flushed, const HoldRetry& retry = {});

// Like ReplaceFileSafely, with the temporary starting as a copy of target (empty when there is
// none): for files changed piecewise in place, such as private-profile files.
bool EditFileSafely(const std::string& target, const TemporaryWriter& edit);

// One private-profile value written through EditFileSafely.
bool WriteProfileStringSafely(const char* section, const char* key, const char* value, const std::string& file);

// Removes the temporary files that a run killed in the middle of a write left in the folder.
// Returns how many were removed.
int RemoveStaleTemporaryFiles(const std::string& folder);

// The name pattern of those temporary files, for tests.
constexpr char kTemporaryFilePattern[] = "~dx*.tmp";

}  // namespace fw

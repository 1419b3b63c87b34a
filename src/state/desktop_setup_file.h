#pragma once
// The user's wallpaper setup kept in the data folder for the run (oriwallsetup.txt), so that a run
// that ended without giving it back (a crash, a kill, a power cut) gives it back at the next start.
// UTF-8 lines "key=value"; a monitor's line is "monitor=<device path>|<picture>" ('|' is in
// neither a path nor a device path), each of a slideshow's items one "slideshowitem=<path>" line.
// A file of an older version, without the slideshow's and the picture of the day's lines, reads
// as neither running.

#include <string>

#include "framework/system.h"

std::string FormatDesktopSetup(const fw::DesktopSetup& setup);
// Unknown and malformed lines are passed over; false when no monitor's line is there.
bool ParseDesktopSetup(const std::string& text, fw::DesktopSetup& setup);

// Safe replace: the old file or the new one, never half of either.
bool SaveDesktopSetup(const std::string& path, const fw::DesktopSetup& setup);
// False when the file is missing, unreadable, too large for such a file or names no monitor.
bool LoadDesktopSetup(const std::string& path, fw::DesktopSetup& setup);

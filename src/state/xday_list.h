#pragma once
// xdaylist.txt: the user's holidays and marked days for the calendar.

#include <map>
#include <string>

// Key "%d.%d" (month.day) marks a holiday, "*%d.%d" a marked day; texts are kept, never shown.
using SpecialDays = std::map<std::string, std::string>;

// One line of xdaylist.txt split at minus signs (empty pieces skipped): the first piece is the key,
// the second the text. False for comments and lines without any piece.
bool ParseSpecialDayLine(const std::string& line, std::string& key, std::string& text);

// Reads xdaylist.txt; 1 when the file was opened, 0 when not (the map is left as it was).
int LoadSpecialDays(const std::string& path, SpecialDays& days);

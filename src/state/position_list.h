#pragma once
// poslist.txt: the user's own photo positions, one rectangle a line in virtual-screen coordinates
// ("left,top,right,bottom").

#include <windows.h>

#include <string>
#include <vector>

// One poslist.txt line: the first four comma-separated numbers (blanks around them allowed).
bool ParsePositionLine(const char* line, RECT& rect);
// Appends the positions of the file; 1 when it was opened, 0 when not.
int LoadPositions(const std::string& path, std::vector<RECT>& positions);
// Replaces the file in one step; false, with the old file kept, when it could not be written whole.
bool SavePositions(const std::string& path, const std::vector<RECT>& positions);

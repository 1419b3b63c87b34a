#pragma once
// Every text the user reads lives in the resource script's string table; code names it by id.

#include <windows.h>

#include <string>

namespace fw {

// The string table entry of the running program; empty when there is none.
std::wstring LoadText(UINT id);
// The entry with its "%d" replaced by the number (the entry as it is when it has none).
std::wstring LoadText(UINT id, int number);

// The face the program shows for a UI language: Korean for Korean, English for any other.
LANGID FaceLanguageFor(LANGID uiLanguage);
// Chooses the face for the user's UI language once at start, as the thread's preferred UI
// language, so that every string, menu and dialog the thread loads is of that face.
LANGID UseFaceLanguage();

}  // namespace fw

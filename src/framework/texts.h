#pragma once
// Every text the user reads lives in the resource script's string table; code names it by id.

#include <windows.h>

#include <initializer_list>
#include <string>

namespace fw {

// The string table entry of the running program; empty when there is none.
std::wstring LoadText(UINT id);
// The entry with its "%d" replaced by the number (the entry as it is when it has none).
std::wstring LoadText(UINT id, int number);
// The entry with each "%s" replaced by the next of the values, in order; marks beyond the values
// stay as they are.
std::wstring LoadText(UINT id, std::initializer_list<std::wstring> values);
// A file dialog's filter from an entry that ends each of its parts with '|' ("JPEG|*.jpg|"): the
// parts ended by nulls instead, the last one by the string's own terminator too.
std::wstring LoadFilter(UINT id, std::initializer_list<std::wstring> values = {});

// The face the program shows for a UI language: Korean for Korean, English for any other.
LANGID FaceLanguageFor(LANGID uiLanguage);
// Chooses the face for the user's UI language once at start, as the thread's preferred UI
// language, so that every string, menu and dialog the thread loads is of that face.
LANGID UseFaceLanguage();

}  // namespace fw

#pragma once
// Multibyte-aware helpers for narrow strings in an ANSI code page (949 in production).
// A double-byte character is never split: its trail byte may equal '\\' or an ASCII letter.

#include <windows.h>

#include <string>
#include <string_view>

namespace mb {

// Byte offsets at which a character starts, walking lead/trail pairs from the front.
bool IsCharBoundary(std::string_view s, size_t pos, UINT codePage = CP_ACP);

// Lower-cases single-byte letters A-Z only; double-byte characters are copied unchanged.
std::string ToLower(std::string_view s, UINT codePage = CP_ACP);

// Position of the last real backslash, or npos.
size_t FindLastBackslash(std::string_view s, UINT codePage = CP_ACP);
// What follows the last backslash: the whole path when it has none, "" when it ends in one.
std::string FileNameOfPath(std::string_view path, UINT codePage = CP_ACP);
// What precedes the last backslash; "" when the path has none.
std::string FolderOfPath(std::string_view path, UINT codePage = CP_ACP);

// True when s begins with prefix and the prefix ends on a character boundary of s.
bool StartsWith(std::string_view s, std::string_view prefix, UINT codePage = CP_ACP);

// True when s lies inside folder: s begins with folder followed by a backslash.
bool IsInsideFolder(std::string_view s, std::string_view folder, UINT codePage = CP_ACP);

// Conversions at the UTF-16 boundary (GDI+, the shell).
std::wstring Widen(std::string_view s, UINT codePage = CP_ACP);
std::string Narrow(std::wstring_view s, UINT codePage = CP_ACP);

// A path the user chose, in the ANSI code page: as it is when it comes back unchanged, else its
// short (8.3) form when that does; "" when neither does. Never a best-fit spelling, which can name
// a different, existing file.
std::string NarrowPath(const std::wstring& path);
// The same for a file about to be written, which may not exist yet: an existing file as above,
// else its folder's exact or short name and its own name exactly; "" when the name has no
// spelling in the code page.
std::string NarrowPathToCreate(const std::wstring& path);

}  // namespace mb

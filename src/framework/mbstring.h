#pragma once
// Multibyte-aware helpers for narrow strings in the process's ANSI code page: UTF-8 where the
// manifest's code page is honoured, else the system's (949 on Korean Windows). A character is
// never split: a double-byte character's trail byte may equal '\\' or an ASCII letter, and a
// UTF-8 sequence cut inside names nothing.

#include <windows.h>

#include <string>
#include <string_view>

namespace mb {

// The code page a narrow string of this process is in: CP_ACP resolved to what the process really
// has (65001 when the manifest's UTF-8 is honoured).
UINT ResolveCodePage(UINT codePage = CP_ACP);
bool IsUtf8CodePage(UINT codePage = CP_ACP);

// A fixed byte limit of the stored files and buffers, widened so that a text that fitted in a
// double-byte code page fits in UTF-8 too (a character there may take three bytes); unchanged
// in any other code page.
size_t ScaledByteLimit(size_t doubleByteLimit, UINT codePage = CP_ACP);

// Byte offsets at which a character starts, walking lead/trail pairs from the front.
bool IsCharBoundary(std::string_view s, size_t pos, UINT codePage = CP_ACP);

// The longest front of s of at most maxBytes that ends on a character boundary.
std::string CutAtCharacter(std::string_view s, size_t maxBytes, UINT codePage = CP_ACP);

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

// True when s is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view s);

// Text re-encoded from one code page to another through UTF-16.
std::string Recode(std::string_view s, UINT fromCodePage, UINT toCodePage);

// A path the user chose, in the ANSI code page: as it is when it comes back unchanged, else its
// short (8.3) form when that does; "" when neither does. Never a best-fit spelling, which can name
// a different, existing file.
std::string NarrowPath(const std::wstring& path);
// The same for a file about to be written, which may not exist yet: an existing file as above,
// else its folder's exact or short name and its own name exactly; "" when the name has no
// spelling in the code page.
std::string NarrowPathToCreate(const std::wstring& path);

}  // namespace mb

#include "framework/mbstring.h"

namespace mb {
namespace {

bool IsContinuation(char c) { return (static_cast<BYTE>(c) & 0xC0) == 0x80; }

// The bytes a UTF-8 sequence starting at s[i] announces; 1 for an ASCII, stray or cut-off byte,
// so that damaged text still walks one byte at a time.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
    const BYTE lead = static_cast<BYTE>(s[i]);
    const size_t len = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 1;
    if (len == 1 || lead > 0xF4 || i + len > s.size()) return 1;
    for (size_t k = 1; k < len; ++k)
        if (!IsContinuation(s[i + k])) return 1;
    return len;
}

// Calls f(position, length) for each character; a lone lead byte at the end counts as one byte.
template <class F>
void ForEachChar(std::string_view s, UINT codePage, F&& f) {
    const UINT resolved = ResolveCodePage(codePage);
    const bool utf8 = resolved == CP_UTF8;
    for (size_t i = 0; i < s.size();) {
        size_t len = utf8 ? Utf8SequenceLength(s, i)
                          : (::IsDBCSLeadByteEx(resolved, static_cast<BYTE>(s[i])) && i + 1 < s.size()) ? 2 : 1;
        if (!f(i, len)) return;
        i += len;
    }
}

}  // namespace

UINT ResolveCodePage(UINT codePage) {
    if (codePage == CP_ACP) return ::GetACP();
    if (codePage == CP_THREAD_ACP) {
        // The thread's locale names its code page; the manifest's UTF-8 overrides every locale.
        if (::GetACP() == CP_UTF8) return CP_UTF8;
        UINT threadCodePage = 0;
        if (::GetLocaleInfoW(::GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                             reinterpret_cast<LPWSTR>(&threadCodePage), sizeof threadCodePage / sizeof(wchar_t)) &&
            threadCodePage != 0)
            return threadCodePage;
        return ::GetACP();
    }
    return codePage;
}

bool IsUtf8CodePage(UINT codePage) { return ResolveCodePage(codePage) == CP_UTF8; }

size_t ScaledByteLimit(size_t doubleByteLimit, UINT codePage) {
    return IsUtf8CodePage(codePage) ? doubleByteLimit * 3 : doubleByteLimit;
}

std::string CutAtCharacter(std::string_view s, size_t maxBytes, UINT codePage) {
    if (s.size() <= maxBytes) return std::string(s);
    size_t end = 0;
    ForEachChar(s, codePage, [&](size_t i, size_t len) {
        if (i + len > maxBytes) return false;
        end = i + len;
        return true;
    });
    return std::string(s.substr(0, end));
}

bool IsCharBoundary(std::string_view s, size_t pos, UINT codePage) {
    if (pos == 0 || pos >= s.size()) return pos <= s.size();
    bool boundary = false;
    ForEachChar(s, codePage, [&](size_t i, size_t) {
        if (i == pos) boundary = true;
        return i < pos;
    });
    return boundary;
}

std::string ToLower(std::string_view s, UINT codePage) {
    std::string out(s);
    ForEachChar(s, codePage, [&](size_t i, size_t len) {
        if (len == 1 && out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
        return true;
    });
    return out;
}

size_t FindLastBackslash(std::string_view s, UINT codePage) {
    size_t found = std::string_view::npos;
    ForEachChar(s, codePage, [&](size_t i, size_t len) {
        if (len == 1 && s[i] == '\\') found = i;
        return true;
    });
    return found;
}

std::string FileNameOfPath(std::string_view path, UINT codePage) {
    const size_t slash = FindLastBackslash(path, codePage);
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderOfPath(std::string_view path, UINT codePage) {
    const size_t slash = FindLastBackslash(path, codePage);
    return std::string(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash));
}

bool StartsWith(std::string_view s, std::string_view prefix, UINT codePage) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0 &&
           IsCharBoundary(s, prefix.size(), codePage);
}

bool IsInsideFolder(std::string_view s, std::string_view folder, UINT codePage) {
    return s.size() > folder.size() && StartsWith(s, folder, codePage) && s[folder.size()] == '\\';
}

std::wstring Widen(std::string_view s, UINT codePage) {
    if (s.empty()) return {};
    int n = ::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) ::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

std::string Narrow(std::wstring_view s, UINT codePage) {
    if (s.empty()) return {};
    int n = ::WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        ::WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

bool IsValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const BYTE lead = static_cast<BYTE>(s[i]);
        const size_t len = Utf8SequenceLength(s, i);
        if (len == 1 && lead >= 0x80) return false;
        if (len >= 3) {
            const BYTE second = static_cast<BYTE>(s[i + 1]);
            // Overlong three- and four-byte forms, UTF-16 surrogates, and values past U+10FFFF.
            if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
                (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
                return false;
        }
        i += len;
    }
    return true;
}

std::string Recode(std::string_view s, UINT fromCodePage, UINT toCodePage) {
    return Narrow(Widen(s, fromCodePage), toCodePage);
}

namespace {

std::string ExactNarrow(const std::wstring& path) {
    if (path.empty() || path.find(L'?') != std::wstring::npos) return "";
    std::string narrow = Narrow(path);
    return Widen(narrow) == path ? narrow : std::string();
}

}  // namespace

std::string NarrowPath(const std::wstring& path) {
    std::string exact = ExactNarrow(path);
    if (!exact.empty()) return exact;
    const DWORD size = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) return "";
    std::wstring shortPath(size, L'\0');
    const DWORD n = ::GetShortPathNameW(path.c_str(), shortPath.data(), size);
    if (n == 0 || n >= size) return "";
    shortPath.resize(n);
    return ExactNarrow(shortPath);
}

std::string NarrowPathToCreate(const std::wstring& path) {
    std::string existing = NarrowPath(path);
    if (!existing.empty()) return existing;
    const size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return "";
    const std::string folder = NarrowPath(path.substr(0, slash));
    const std::string name = ExactNarrow(path.substr(slash + 1));
    if (folder.empty() || name.empty()) return "";
    return folder + "\\" + name;
}

}  // namespace mb

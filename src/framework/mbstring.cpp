#include "framework/mbstring.h"

namespace mb {
namespace {

bool IsLead(char c, UINT codePage) {
    return ::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(c)) != FALSE;
}

// Calls f(position, length) for each character; a lone lead byte at the end counts as one byte.
template <class F>
void ForEachChar(std::string_view s, UINT codePage, F&& f) {
    for (size_t i = 0; i < s.size();) {
        size_t len = (IsLead(s[i], codePage) && i + 1 < s.size()) ? 2 : 1;
        if (!f(i, len)) return;
        i += len;
    }
}

}  // namespace

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

#include "state/photo_lists.h"

#include <cstdio>

#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/safe_file.h"

namespace {

// A line longer than any path is not a path: it is read to its end and passed over.
constexpr size_t kLongestLine = 32768;

// One line without its line end, NUL bytes included (a damaged file); false at the end.
bool ReadLine(std::FILE* file, std::string& line) {
    line.clear();
    int c = std::getc(file);
    if (c == EOF) return false;
    for (; c != EOF && c != '\n'; c = std::getc(file))
        if (line.size() <= kLongestLine) line.push_back(static_cast<char>(c));
    while (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

}  // namespace

void PhotoList::Load(const std::string& folder) {
    m_paths.clear();
    m_lowered.clear();
    if (folder.empty()) return;
    fw::StdioFile file(std::fopen((folder + m_fileName).c_str(), "rb"));
    if (!file) return;
    std::string line;
    while (ReadLine(file.get(), line))
        if (line.size() <= kLongestLine && line.find('\0') == std::string::npos) Add(line);
}

bool PhotoList::Save(const std::string& folder) const {
    if (folder.empty()) return false;
    std::string text;
    for (const std::string& path : m_paths) text += path + "\r\n";
    return fw::ReplaceFileContentSafely(folder + m_fileName, text);
}

bool PhotoList::Add(const std::string& path) {
    if (path.empty() || !m_lowered.insert(mb::ToLower(path)).second) return false;
    m_paths.push_back(path);
    return true;
}

bool PhotoList::Contains(const std::string& path) const { return m_lowered.count(mb::ToLower(path)) != 0; }

bool PhotoList::KeepOnly(const std::function<bool(const std::string&)>& keep) {
    std::vector<std::string> kept;
    for (std::string& path : m_paths)
        if (keep(path)) kept.push_back(std::move(path));
    const bool changed = kept.size() != m_paths.size();
    m_paths.clear();
    m_lowered.clear();
    for (const std::string& path : kept) Add(path);
    return changed;
}

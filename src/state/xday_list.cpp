#include "state/xday_list.h"

#include <cstdio>

#include "framework/handles.h"
#include "framework/mbstring.h"

bool ParseSpecialDayLine(const std::string& line, std::string& key, std::string& text) {
    if (line.compare(0, 2, "//") == 0) return false;
    std::string tokens[2];
    int count = 0;
    size_t pos = 0;
    while (count < 2 && pos <= line.size()) {
        size_t minus = line.find('-', pos);
        size_t end = minus == std::string::npos ? line.size() : minus;
        if (end > pos) tokens[count++] = line.substr(pos, end - pos);
        if (minus == std::string::npos) break;
        pos = minus + 1;
    }
    if (count == 0) return false;
    key = tokens[0];
    text = tokens[1];
    return true;
}

int LoadSpecialDays(const std::string& path, SpecialDays& days) {
    fw::StdioFile file(std::fopen(path.c_str(), "r"));
    if (!file) return 0;
    // Lines of 99 bytes, three times as many in UTF-8 where a Korean character takes three.
    std::string buffer(mb::ScaledByteLimit(100), '\0');
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), file.get())) {
        std::string key, text;
        if (ParseSpecialDayLine(buffer.c_str(), key, text)) days[key] = text;
    }
    return 1;
}

#include "support/test_support.h"

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "framework/mbstring.h"
#include "framework/system.h"

namespace testing_support {

ScratchDir::ScratchDir() {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%sdioramix-test-%lu-%u", temp, ::GetCurrentProcessId(), ++counter);
        if (::CreateDirectoryA(name, nullptr)) {
            m_path = name;
            break;
        }
    }
}

ScratchDir::~ScratchDir() {
    std::string from = m_path + std::string(2, '\0');  // double-terminated list
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    ::SHFileOperationA(&op);
}

std::string ScratchDir::File(const std::string& name) const { return m_path + "\\" + name; }

std::string ScratchDir::MakeDir(const std::string& relative) const {
    std::string full = File(relative);
    ::CreateDirectoryA(full.c_str(), nullptr);
    return full;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::string all = ReadFile(path), line;
    for (char c : all) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

const std::vector<std::string>& SavedSettingsKeys() {
    static const std::vector<std::string> keys = {
        "isbackimg", "isforeimg", "picmaxsize", "changetime", "min_sec", "framesize", "rotatevalue",
        "piccleartotalcnt", "imagepos", "rememory", "showtime", "maskfilename", "backimagename", "ymfontname",
        "ddfontname", "outprogram0", "outprogram1", "outprogram2", "isframe", "ismask", "isshadow", "isrotate",
        "ispath", "iscalender", "maxwinstop", "notstrech", "israndum", "isbackcolor", "isstretch", "isiptooltip",
        "isweekday", "isbold1", "isbold2", "isitalic1", "isitalic2", "isrndmask", "isbackgray", "isoverlap",
        "isiconhide", "ispause", "backcolor", "framecolor", "whitedaycolor", "bluedaycolor", "reddaycolor",
        "yymmcolor", "multimonitor", "cloudphotos", "favoritesonly", "hotkeynext", "hotkeyback", "hotkeypause",
        "hotkeyban", "hotkeykeep"};
    return keys;
}

std::string BinDir() { return mb::FolderOfPath(fw::ModuleFileName()); }

}  // namespace testing_support

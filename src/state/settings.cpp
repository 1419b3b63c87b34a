#include "state/settings.h"

#include <cstdio>
#include <cstdlib>

#include "framework/mbstring.h"

namespace {

constexpr char kSection[] = "DEFAULT";

// Value buffers: flags and integers keep 5 characters, colours 8, strings 259.
constexpr DWORD kNumberBuffer = 6;
constexpr DWORD kColorBuffer = 9;
constexpr DWORD kStringBuffer = 260;

std::string ReadValue(const std::string& file, const char* key, const char* def, DWORD bufferSize) {
    std::string buffer(bufferSize, '\0');
    DWORD n = ::GetPrivateProfileStringA(kSection, key, def, buffer.data(), bufferSize, file.c_str());
    buffer.resize(n);
    return buffer;
}

void WriteValue(const std::string& file, const char* key, const std::string& value) {
    ::WritePrivateProfileStringA(kSection, key, value.c_str(), file.c_str());
}

uint8_t ReadFlag(const std::string& file, const char* key, const char* def) {
    return ParseInt(ReadValue(file, key, def, kNumberBuffer)) != 0 ? 1 : 0;
}

int ReadNumber(const std::string& file, const char* key) {
    return ParseInt(ReadValue(file, key, "", kNumberBuffer));
}

uint32_t ReadColor(const std::string& file, const char* key, const char* def) {
    return static_cast<uint32_t>(ParseInt(ReadValue(file, key, def, kColorBuffer)));
}

std::string ReadString(const std::string& file, const char* key, const char* def) {
    return ReadValue(file, key, def, kStringBuffer);
}

void WriteFlag(const std::string& file, const char* key, uint8_t flag) { WriteValue(file, key, flag ? "1" : "0"); }

void WriteNumber(const std::string& file, const char* key, long long value) {
    WriteValue(file, key, std::to_string(value));
}

std::string IniPath(const EnvSettings& env) { return env.FilePath("\\env.ini"); }

// True when the section holds the key in a spelling other than the given one (say "isStretch"
// for "isstretch"). The profile functions replace a value in place but keep the old key's spelling.
bool HasKeyInOtherSpelling(const std::string& file, const std::string& key) {
    std::string section(32768, '\0');
    DWORD n = ::GetPrivateProfileSectionA(kSection, section.data(), static_cast<DWORD>(section.size()), file.c_str());
    section.resize(n);
    for (size_t pos = 0; pos < section.size();) {
        size_t end = section.find('\0', pos);
        if (end == std::string::npos) end = section.size();
        std::string entry = section.substr(pos, end - pos);
        std::string name = entry.substr(0, entry.find('='));
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
        if (name != key && ::lstrcmpiA(name.c_str(), key.c_str()) == 0) return true;
        pos = end + 1;
    }
    return false;
}

}  // namespace

int ParseInt(const std::string& text) { return std::atoi(text.c_str()); }

uint32_t ColorRefToArgb(COLORREF c) {
    return 0xFF000000u + GetRValue(c) * 65536u + GetGValue(c) * 256u + GetBValue(c);
}

COLORREF ArgbToColorRef(uint32_t argb) {
    uint32_t red = (argb >> 16) & 0xFF, green = (argb >> 8) & 0xFF, blue = argb & 0xFF;
    return blue * 65536u + green * 256u + red;
}

void ResetSettings(EnvSettings& env) {
    uint32_t desktop = env.m_desktopColor, back = env.backcolor;
    COLORREF frame = env.framecolor, white = env.whitedaycolor, blue = env.bluedaycolor,
             red = env.reddaycolor, yymm = env.yymmcolor;
    env = EnvSettings{};
    env.m_desktopColor = desktop;
    env.backcolor = back;
    env.framecolor = frame;
    env.whitedaycolor = white;
    env.bluedaycolor = blue;
    env.reddaycolor = red;
    env.yymmcolor = yymm;
}

void InitExePath(EnvSettings& env, const std::string& moduleFileName) {
    env.m_exeFile = moduleFileName;
    size_t slash = mb::FindLastBackslash(moduleFileName);
    env.m_exePath = slash == std::string::npos ? std::string() : moduleFileName.substr(0, slash);
}

void InitExePath(EnvSettings& env) {
    char path[MAX_PATH + 1] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    InitExePath(env, std::string(path, n));
}

void LoadSettings(EnvSettings& env, OutProgramList& outPrograms) {
    const std::string f = IniPath(env);

    env.isbackimg = ReadFlag(f, "isbackimg", "0");
    env.isforeimg = ReadFlag(f, "isforeimg", "0");
    env.isframe = ReadFlag(f, "isframe", "0");
    env.ismask = ReadFlag(f, "ismask", "0");
    env.isshadow = ReadFlag(f, "isshadow", "0");
    env.isrotate = ReadFlag(f, "isrotate", "0");
    env.ispath = ReadFlag(f, "ispath", "0");
    env.iscalender = ReadFlag(f, "iscalender", "0");
    env.maxwinstop = ReadFlag(f, "maxwinstop", "1");
    env.notstrech = ReadFlag(f, "notstrech", "1");
    env.israndum = ReadFlag(f, "israndum", "1");
    env.isbackcolor = ReadFlag(f, "isbackcolor", "1");
    env.isstretch = ReadFlag(f, "isStretch", "1");
    env.isiptooltip = ReadFlag(f, "isiptooltip", "1");
    env.isweekday = ReadFlag(f, "isweekday", "1");
    env.isbold1 = ReadFlag(f, "isbold1", "1");
    env.isbold2 = ReadFlag(f, "isbold2", "1");
    env.isitalic1 = ReadFlag(f, "isitalic1", "1");
    env.isitalic2 = ReadFlag(f, "isitalic2", "1");
    env.isrndmask = ReadFlag(f, "isrndmask", "");
    env.isbackgray = ReadFlag(f, "isbackgray", "");
    env.isoverlap = ReadFlag(f, "isoverlap", "");
    env.isiconhide = ReadFlag(f, "isiconhide", "");
    env.ispause = ReadFlag(f, "ispause", "");

    env.picmaxsize = ParseInt(ReadValue(f, "picmaxsize", "0", kNumberBuffer));
    if (env.picmaxsize == 0) env.picmaxsize = 400;
    env.changetime = ParseInt(ReadValue(f, "changetime", "0", kNumberBuffer));
    if (env.changetime == 0) env.changetime = 15;
    env.min_sec = ReadNumber(f, "min_sec");
    if (env.min_sec < 1000) env.min_sec = 1000;
    env.framesize = ReadNumber(f, "framesize");
    if (env.framesize == 0) env.framesize = 7;
    env.rotatevalue = ReadNumber(f, "rotatevalue");
    if (env.rotatevalue == 0) env.rotatevalue = 90;
    env.piccleartotalcnt = ReadNumber(f, "piccleartotalcnt");
    if (env.piccleartotalcnt == 0) env.piccleartotalcnt = 10;
    env.imagepos = ReadNumber(f, "imagepos");
    env.rememory = ReadNumber(f, "rememory");
    env.showtime = ReadNumber(f, "showtime");

    env.maskfilename = ReadString(f, "maskfilename", "");
    env.backimagename = ReadString(f, "backimagename", "");
    env.ymfontname = ReadString(f, "ymfontname", "Georgia");
    env.ddfontname = ReadString(f, "ddfontname", "Georgia");

    for (int i = 0; i < kMaxOutPrograms; ++i) {
        std::string key = "outprogram" + std::to_string(i);
        std::string title = ReadString(f, key.c_str(), "");
        if (!title.empty()) outPrograms.push_back(title);
    }

    env.backcolor = ColorRefToArgb(ReadColor(f, "backcolor", "7558472"));
    env.framecolor = ReadColor(f, "framecolor", "16777215");
    env.whitedaycolor = ReadColor(f, "whitedaycolor", "16777215");
    env.bluedaycolor = ReadColor(f, "bluedaycolor", "16439668");
    env.reddaycolor = ReadColor(f, "reddaycolor", "8262389");
    env.yymmcolor = ReadColor(f, "yymmcolor", "14416893");
}

void SaveSettings(const EnvSettings& env, const OutProgramList& outPrograms) {
    const std::string f = IniPath(env);

    WriteFlag(f, "isbackimg", env.isbackimg);
    WriteFlag(f, "isforeimg", env.isforeimg);
    WriteNumber(f, "picmaxsize", env.picmaxsize);
    WriteNumber(f, "changetime", env.changetime);
    WriteNumber(f, "min_sec", env.min_sec);
    WriteNumber(f, "framesize", env.framesize);
    WriteNumber(f, "rotatevalue", env.rotatevalue);
    WriteNumber(f, "piccleartotalcnt", env.piccleartotalcnt);
    WriteNumber(f, "imagepos", env.imagepos);
    WriteNumber(f, "rememory", env.rememory);
    WriteNumber(f, "showtime", env.showtime);
    WriteValue(f, "maskfilename", env.maskfilename);
    WriteValue(f, "backimagename", env.backimagename);
    WriteValue(f, "ymfontname", env.ymfontname);
    WriteValue(f, "ddfontname", env.ddfontname);
    for (int i = 0; i < kMaxOutPrograms; ++i) {
        std::string key = "outprogram" + std::to_string(i);
        WriteValue(f, key.c_str(), static_cast<size_t>(i) < outPrograms.size() ? outPrograms[i] : std::string());
    }
    WriteFlag(f, "isframe", env.isframe);
    WriteFlag(f, "ismask", env.ismask);
    WriteFlag(f, "isshadow", env.isshadow);
    WriteFlag(f, "isrotate", env.isrotate);
    WriteFlag(f, "ispath", env.ispath);
    WriteFlag(f, "iscalender", env.iscalender);
    WriteFlag(f, "maxwinstop", env.maxwinstop);
    WriteFlag(f, "notstrech", env.notstrech);
    WriteFlag(f, "israndum", env.israndum);
    WriteFlag(f, "isbackcolor", env.isbackcolor);
    if (HasKeyInOtherSpelling(f, "isstretch"))
        ::WritePrivateProfileStringA(kSection, "isstretch", nullptr, f.c_str());
    WriteFlag(f, "isstretch", env.isstretch);
    WriteFlag(f, "isiptooltip", env.isiptooltip);
    WriteFlag(f, "isweekday", env.isweekday);
    WriteFlag(f, "isbold1", env.isbold1);
    WriteFlag(f, "isbold2", env.isbold2);
    WriteFlag(f, "isitalic1", env.isitalic1);
    WriteFlag(f, "isitalic2", env.isitalic2);
    WriteFlag(f, "isrndmask", env.isrndmask);
    WriteFlag(f, "isbackgray", env.isbackgray);
    WriteFlag(f, "isoverlap", env.isoverlap);
    WriteFlag(f, "isiconhide", env.isiconhide);
    WriteFlag(f, "ispause", env.ispause);
    WriteNumber(f, "backcolor", static_cast<long long>(ArgbToColorRef(env.backcolor)));
    WriteNumber(f, "framecolor", static_cast<int>(env.framecolor));
    WriteNumber(f, "whitedaycolor", static_cast<int>(env.whitedaycolor));
    WriteNumber(f, "bluedaycolor", static_cast<int>(env.bluedaycolor));
    WriteNumber(f, "reddaycolor", static_cast<int>(env.reddaycolor));
    WriteNumber(f, "yymmcolor", static_cast<int>(env.yymmcolor));
}

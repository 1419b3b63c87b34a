#include "state/settings.h"

#include <cstdio>
#include <cstdlib>

#include "framework/mbstring.h"
#include "framework/safe_file.h"

namespace {

constexpr char kSection[] = "DEFAULT";

// Value buffers: flags and integers keep 5 characters, colours 8, strings 259.
constexpr DWORD kNumberBuffer = 6;
constexpr DWORD kColorBuffer = 9;
constexpr DWORD kStringBuffer = 260;

// Beyond these a hand-edited or damaged file would make the composer allocate huge layers or
// divide by a negative range; such values take the defaults that a 0 takes.
constexpr int kLargestPicture = 10000;
constexpr int kLargestFrame = 50;
constexpr int kLargestRotation = 360;

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

std::string ReadValue(const std::string& file, const char* key, const char* def, DWORD bufferSize) {
    std::string buffer(bufferSize, '\0');
    DWORD n = ::GetPrivateProfileStringA(kSection, key, def, buffer.data(), bufferSize, file.c_str());
    buffer.resize(n);
    return buffer;
}

// Writes the keys of one save and remembers whether every write succeeded.
class ProfileWriter {
public:
    explicit ProfileWriter(const std::string& file) : m_file(file) {}
    void Value(const char* key, const std::string& value) {
        if (!::WritePrivateProfileStringA(kSection, key, value.c_str(), m_file.c_str())) m_ok = false;
    }
    void Flag(const char* key, uint8_t flag) { Value(key, flag ? "1" : "0"); }
    void Number(const char* key, long long value) { Value(key, std::to_string(value)); }
    void Remove(const char* key) { ::WritePrivateProfileStringA(kSection, key, nullptr, m_file.c_str()); }
    const std::string& file() const { return m_file; }
    bool ok() const { return m_ok; }

private:
    std::string m_file;
    bool m_ok = true;
};

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

void WriteAllKeys(ProfileWriter& w, const EnvSettings& env, const OutProgramList& outPrograms);

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
    if (!InRange(env.picmaxsize, 1, kLargestPicture)) env.picmaxsize = 400;
    env.changetime = ParseInt(ReadValue(f, "changetime", "0", kNumberBuffer));
    if (env.changetime <= 0) env.changetime = 15;
    env.min_sec = ReadNumber(f, "min_sec");
    if (env.min_sec < 1000) env.min_sec = 1000;
    env.framesize = ReadNumber(f, "framesize");
    if (!InRange(env.framesize, 1, kLargestFrame)) env.framesize = 7;
    env.rotatevalue = ReadNumber(f, "rotatevalue");
    if (!InRange(env.rotatevalue, 1, kLargestRotation)) env.rotatevalue = 90;
    env.piccleartotalcnt = ReadNumber(f, "piccleartotalcnt");
    if (env.piccleartotalcnt <= 0) env.piccleartotalcnt = 10;
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

bool SaveSettings(const EnvSettings& env, const OutProgramList& outPrograms) {
    // The keys go into a copy of env.ini that replaces it only once every key is written.
    return fw::EditFileSafely(IniPath(env), [&](const std::string& copy) {
        ProfileWriter writer(copy);
        WriteAllKeys(writer, env, outPrograms);
        return writer.ok();
    });
}

namespace {

void WriteAllKeys(ProfileWriter& w, const EnvSettings& env, const OutProgramList& outPrograms) {
    w.Flag("isbackimg", env.isbackimg);
    w.Flag("isforeimg", env.isforeimg);
    w.Number("picmaxsize", env.picmaxsize);
    w.Number("changetime", env.changetime);
    w.Number("min_sec", env.min_sec);
    w.Number("framesize", env.framesize);
    w.Number("rotatevalue", env.rotatevalue);
    w.Number("piccleartotalcnt", env.piccleartotalcnt);
    w.Number("imagepos", env.imagepos);
    w.Number("rememory", env.rememory);
    w.Number("showtime", env.showtime);
    w.Value("maskfilename", env.maskfilename);
    w.Value("backimagename", env.backimagename);
    w.Value("ymfontname", env.ymfontname);
    w.Value("ddfontname", env.ddfontname);
    for (int i = 0; i < kMaxOutPrograms; ++i) {
        std::string key = "outprogram" + std::to_string(i);
        w.Value(key.c_str(), static_cast<size_t>(i) < outPrograms.size() ? outPrograms[i] : std::string());
    }
    w.Flag("isframe", env.isframe);
    w.Flag("ismask", env.ismask);
    w.Flag("isshadow", env.isshadow);
    w.Flag("isrotate", env.isrotate);
    w.Flag("ispath", env.ispath);
    w.Flag("iscalender", env.iscalender);
    w.Flag("maxwinstop", env.maxwinstop);
    w.Flag("notstrech", env.notstrech);
    w.Flag("israndum", env.israndum);
    w.Flag("isbackcolor", env.isbackcolor);
    if (HasKeyInOtherSpelling(w.file(), "isstretch")) w.Remove("isstretch");
    w.Flag("isstretch", env.isstretch);
    w.Flag("isiptooltip", env.isiptooltip);
    w.Flag("isweekday", env.isweekday);
    w.Flag("isbold1", env.isbold1);
    w.Flag("isbold2", env.isbold2);
    w.Flag("isitalic1", env.isitalic1);
    w.Flag("isitalic2", env.isitalic2);
    w.Flag("isrndmask", env.isrndmask);
    w.Flag("isbackgray", env.isbackgray);
    w.Flag("isoverlap", env.isoverlap);
    w.Flag("isiconhide", env.isiconhide);
    w.Flag("ispause", env.ispause);
    w.Number("backcolor", static_cast<long long>(ArgbToColorRef(env.backcolor)));
    w.Number("framecolor", static_cast<int>(env.framecolor));
    w.Number("whitedaycolor", static_cast<int>(env.whitedaycolor));
    w.Number("bluedaycolor", static_cast<int>(env.bluedaycolor));
    w.Number("reddaycolor", static_cast<int>(env.reddaycolor));
    w.Number("yymmcolor", static_cast<int>(env.yymmcolor));
}

}  // namespace

#include "state/settings.h"

#include <cstdlib>
#include <limits>

#include "framework/font_faces.h"
#include "framework/mbstring.h"
#include "framework/safe_file.h"
#include "framework/system.h"
#include "state/data_files.h"

namespace {

constexpr char kSection[] = "DEFAULT";

// Value buffers: flags and integers keep 5 characters, colours 8, strings 259 (three times as
// many bytes in UTF-8, so that a migrated Korean value still fits whole).
constexpr DWORD kNumberBuffer = 6;
constexpr DWORD kColorBuffer = 9;
DWORD StringBuffer() { return static_cast<DWORD>(mb::ScaledByteLimit(260)); }

// Beyond these (and kLargestPicture) a hand-edited or damaged file would make the composer allocate
// huge layers or divide by a negative range; such values take the defaults that a 0 takes.
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

std::string IniPath(const EnvSettings& env) { return env.FilePath(data_files::kSettings); }

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

// ---- The keys of env.ini ----------------------------------------------------------------------

// One key: its member, the default a missing key reads as, and for numbers the range outside which
// the value is taken as damaged and replaced. The table's order is the order a save writes.
struct SettingKey {
    enum class Kind { Flag, Number, Text, Color, Argb, Programs };
    Kind kind;
    const char* name;
    const char* fallback;  // the profile default: what a missing key reads as
    int low, high, damaged;  // Number: a value outside [low, high] becomes `damaged`
    bool respell;            // Flag: a key spelt otherwise is removed, then written in this spelling
    uint8_t EnvSettings::*flag;
    int32_t EnvSettings::*number;
    std::string EnvSettings::*text;
    COLORREF EnvSettings::*color;
    uint32_t EnvSettings::*argb;  // kept as ARGB, stored as COLORREF
};

constexpr int kAny = std::numeric_limits<int>::max();

constexpr SettingKey Flag(const char* name, uint8_t EnvSettings::*member, bool on, bool respell = false) {
    return {SettingKey::Kind::Flag, name, on ? "1" : "0", 0, 0, 0, respell, member, nullptr, nullptr, nullptr, nullptr};
}
// A hotkey word; a damaged one is no hotkey rather than a surprise.
constexpr SettingKey Hotkey(const char* name, int32_t EnvSettings::*member, const char* fallback) {
    return {SettingKey::Kind::Number, name, fallback, 0, 0xFFFF, 0, false, nullptr, member, nullptr, nullptr, nullptr};
}
constexpr SettingKey Number(const char* name, int32_t EnvSettings::*member, int low = -kAny - 1, int high = kAny,
                            int damaged = 0) {
    return {SettingKey::Kind::Number, name, "", low, high, damaged, false, nullptr, member, nullptr, nullptr, nullptr};
}
constexpr SettingKey Text(const char* name, std::string EnvSettings::*member, const char* fallback = "") {
    return {SettingKey::Kind::Text, name, fallback, 0, 0, 0, false, nullptr, nullptr, member, nullptr, nullptr};
}
constexpr SettingKey Color(const char* name, COLORREF EnvSettings::*member, const char* fallback) {
    return {SettingKey::Kind::Color, name, fallback, 0, 0, 0, false, nullptr, nullptr, nullptr, member, nullptr};
}
constexpr SettingKey Argb(const char* name, uint32_t EnvSettings::*member, const char* fallback) {
    return {SettingKey::Kind::Argb, name, fallback, 0, 0, 0, false, nullptr, nullptr, nullptr, nullptr, member};
}
// outprogram0 .. outprogram2: the titles of the programs that pause the changes.
constexpr SettingKey Programs() {
    return {SettingKey::Kind::Programs, "outprogram", "", 0, 0, 0, false, nullptr, nullptr, nullptr, nullptr, nullptr};
}

using E = EnvSettings;
constexpr SettingKey kSettingKeys[] = {
    Flag("isbackimg", &E::isbackimg, false),
    Flag("isforeimg", &E::isforeimg, false),
    Number("picmaxsize", &E::picmaxsize, 1, kLargestPicture, 400),
    Number("changetime", &E::changetime, 1, kAny, 15),
    Number("min_sec", &E::min_sec, 1000, kAny, 1000),
    Number("framesize", &E::framesize, 1, kLargestFrame, 7),
    Number("rotatevalue", &E::rotatevalue, 1, kLargestRotation, 90),
    Number("piccleartotalcnt", &E::piccleartotalcnt, 1, kAny, 10),
    Number("imagepos", &E::imagepos),
    Number("rememory", &E::rememory),
    Number("showtime", &E::showtime),
    Text("maskfilename", &E::maskfilename),
    Text("backimagename", &E::backimagename),
    Text("ymfontname", &E::ymfontname, fw::kCalendarFace),
    Text("ddfontname", &E::ddfontname, fw::kCalendarFace),
    Programs(),
    Flag("isframe", &E::isframe, false),
    Flag("ismask", &E::ismask, false),
    Flag("isshadow", &E::isshadow, false),
    Flag("isrotate", &E::isrotate, false),
    Flag("ispath", &E::ispath, false),
    Flag("iscalender", &E::iscalender, false),
    Flag("maxwinstop", &E::maxwinstop, true),
    Flag("notstrech", &E::notstrech, true),
    Flag("israndum", &E::israndum, true),
    Flag("isbackcolor", &E::isbackcolor, true),
    Flag("isstretch", &E::isstretch, true, true),  // older files spell it "isStretch"
    Flag("isiptooltip", &E::isiptooltip, true),
    Flag("isweekday", &E::isweekday, true),
    Flag("isbold1", &E::isbold1, true),
    Flag("isbold2", &E::isbold2, true),
    Flag("isitalic1", &E::isitalic1, true),
    Flag("isitalic2", &E::isitalic2, true),
    Flag("isrndmask", &E::isrndmask, false),
    Flag("isbackgray", &E::isbackgray, false),
    Flag("isoverlap", &E::isoverlap, false),
    Flag("isiconhide", &E::isiconhide, false),
    Flag("ispause", &E::ispause, false),
    Argb("backcolor", &E::backcolor, "7558472"),
    Color("framecolor", &E::framecolor, "16777215"),
    Color("whitedaycolor", &E::whitedaycolor, "16777215"),
    Color("bluedaycolor", &E::bluedaycolor, "16439668"),
    Color("reddaycolor", &E::reddaycolor, "8262389"),
    Color("yymmcolor", &E::yymmcolor, "14416893"),
    Flag("multimonitor", &E::multimonitor, true),
    Flag("cloudphotos", &E::cloudphotos, false),
    Flag("favoritesonly", &E::favoritesonly, false),
    // Ctrl+Alt+N, Ctrl+Alt+B and Ctrl+Alt+P as the hotkey control writes them.
    Hotkey("hotkeynext", &E::hotkeynext, "1614"),
    Hotkey("hotkeyback", &E::hotkeyback, "1602"),
    Hotkey("hotkeypause", &E::hotkeypause, "1616"),
    Hotkey("hotkeyban", &E::hotkeyban, "0"),
    Hotkey("hotkeykeep", &E::hotkeykeep, "0"),
};

std::string ProgramKey(int i) { return "outprogram" + std::to_string(i); }

void LoadKey(const std::string& f, const SettingKey& key, EnvSettings& env, OutProgramList& outPrograms) {
    using K = SettingKey::Kind;
    auto number = [&](DWORD bufferSize) { return ParseInt(ReadValue(f, key.name, key.fallback, bufferSize)); };
    switch (key.kind) {
        case K::Flag:
            env.*key.flag = number(kNumberBuffer) != 0 ? 1 : 0;
            break;
        case K::Number: {
            const int value = number(kNumberBuffer);
            env.*key.number = InRange(value, key.low, key.high) ? value : key.damaged;
            break;
        }
        case K::Text:
            env.*key.text = ReadValue(f, key.name, key.fallback, StringBuffer());
            break;
        case K::Color:
            env.*key.color = static_cast<COLORREF>(number(kColorBuffer));
            break;
        case K::Argb:
            env.*key.argb = ColorRefToArgb(static_cast<COLORREF>(number(kColorBuffer)));
            break;
        case K::Programs:
            for (int i = 0; i < kMaxOutPrograms; ++i) {
                std::string title = ReadValue(f, ProgramKey(i).c_str(), "", StringBuffer());
                if (!title.empty()) outPrograms.push_back(title);
            }
            break;
    }
}

void WriteKey(ProfileWriter& w, const SettingKey& key, const EnvSettings& env, const OutProgramList& outPrograms) {
    using K = SettingKey::Kind;
    switch (key.kind) {
        case K::Flag:
            if (key.respell && HasKeyInOtherSpelling(w.file(), key.name)) w.Remove(key.name);
            w.Flag(key.name, env.*key.flag);
            break;
        case K::Number:
            w.Number(key.name, env.*key.number);
            break;
        case K::Text:
            w.Value(key.name, env.*key.text);
            break;
        case K::Color:
            // Signed, as it was read: a damaged negative value is written back as it came.
            w.Number(key.name, static_cast<int>(env.*key.color));
            break;
        case K::Argb:
            w.Number(key.name, static_cast<long long>(ArgbToColorRef(env.*key.argb)));
            break;
        case K::Programs:
            for (int i = 0; i < kMaxOutPrograms; ++i)
                w.Value(ProgramKey(i).c_str(), static_cast<size_t>(i) < outPrograms.size() ? outPrograms[i] : std::string());
            break;
    }
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
    env.m_exePath = mb::FolderOfPath(moduleFileName);
}

void InitExePath(EnvSettings& env) { InitExePath(env, fw::ModuleFileName()); }

void LoadSettings(EnvSettings& env, OutProgramList& outPrograms) {
    const std::string f = IniPath(env);
    for (const SettingKey& key : kSettingKeys) LoadKey(f, key, env, outPrograms);
}

namespace {

constexpr char kPriorWallpaperKey[] = "oriwallpath";
constexpr char kPriorStyleKey[] = "oriwallstyle";
constexpr char kPriorTileKey[] = "oritilewall";
// Style words are a few digits; longer values are cut as they always were.
constexpr DWORD kStyleBuffer = 16;

}  // namespace

bool KeepPriorWallpaper(const EnvSettings& env) {
    return fw::WriteProfileStringSafely(kSection, kPriorWallpaperKey, env.oriwallpath.c_str(), IniPath(env));
}

bool KeepWallpaperStyle(const EnvSettings& env, const fw::WallpaperStyle& style) {
    const std::string file = IniPath(env);
    const bool styleKept = fw::WriteProfileStringSafely(kSection, kPriorStyleKey, style.style.c_str(), file);
    return fw::WriteProfileStringSafely(kSection, kPriorTileKey, style.tile.c_str(), file) && styleKept;
}

fw::WallpaperStyle KeptWallpaperStyle(const EnvSettings& env) {
    const std::string file = IniPath(env);
    return {ReadValue(file, kPriorStyleKey, "", kStyleBuffer), ReadValue(file, kPriorTileKey, "", kStyleBuffer)};
}

std::string ResolvePriorWallpaper(const std::string& registryWallpaper, const std::string& dataFolder) {
    if (dataFolder.empty() || registryWallpaper != dataFolder + data_files::kWallpaper) return registryWallpaper;
    return ReadValue(dataFolder + data_files::kSettings, kPriorWallpaperKey, "", StringBuffer());
}

bool SaveSettings(const EnvSettings& env, const OutProgramList& outPrograms) {
    // The keys go into a copy of env.ini that replaces it only once every key is written.
    return fw::EditFileSafely(IniPath(env), [&](const std::string& copy) {
        ProfileWriter writer(copy);
        for (const SettingKey& key : kSettingKeys) WriteKey(writer, key, env, outPrograms);
        return writer.ok();
    });
}

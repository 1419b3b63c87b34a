// The English face beside the Korean one: every dialog template, menu and string of the program
// in both languages, with the same controls, so that a control added to one template and not
// to its twin fails here.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "framework/texts.h"

namespace {

const LANGID kKorean = MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN);
const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The wide spellings of RT_MENU, RT_DIALOG and RT_STRING (the build's own are narrow).
const LPCWSTR kMenu = MAKEINTRESOURCEW(4), kDialog = MAKEINTRESOURCEW(5), kStrings = MAKEINTRESOURCEW(6);

HMODULE Program() { return ::GetModuleHandleW(nullptr); }

std::vector<LPCWSTR> ResourceNames(LPCWSTR type) {
    std::vector<LPCWSTR> names;
    ::EnumResourceNamesW(
        Program(), type,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
            // The names here are numbers: the pointer is the id itself.
            reinterpret_cast<std::vector<LPCWSTR>*>(param)->push_back(name);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&names));
    return names;
}

// One resource of the given language, as raw words; empty when it has none in that language.
std::vector<WORD> Resource(LPCWSTR type, LPCWSTR name, LANGID language) {
    HRSRC found = ::FindResourceExW(Program(), type, name, language);
    if (!found) return {};
    const auto* data = static_cast<const WORD*>(::LockResource(::LoadResource(Program(), found)));
    return std::vector<WORD>(data, data + ::SizeofResource(Program(), found) / sizeof(WORD));
}

// Reads a dialog template's words from a position on.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<WORD>& words) : m_words(words) {}
    WORD Word() { return m_pos < m_words.size() ? m_words[m_pos++] : 0; }
    DWORD Dword() {
        const DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    void Skip(size_t words) { m_pos += words; }
    // A name or an ordinal, as the template spells either.
    std::wstring NameOrOrdinal() {
        const WORD first = Word();
        if (first == 0xFFFF) return L"#" + std::to_wstring(Word());
        std::wstring text;
        for (WORD c = first; c != 0 && m_pos <= m_words.size(); c = Word()) text.push_back(static_cast<wchar_t>(c));
        return text;
    }
    void AlignToDword() { m_pos += m_pos % 2; }
    bool AtEnd() const { return m_pos >= m_words.size(); }

private:
    const std::vector<WORD>& m_words;
    size_t m_pos = 0;
};

// The (id, window class) of each control of an extended dialog template, in order.
std::vector<std::pair<DWORD, std::wstring>> ControlsOf(const std::vector<WORD>& words) {
    TemplateReader in(words);
    EXPECT_EQ(1, in.Word()) << "an extended template";
    EXPECT_EQ(0xFFFF, in.Word());
    in.Skip(2 + 2);  // help id, extended style
    const DWORD style = in.Dword();
    const WORD count = in.Word();
    in.Skip(4);  // x, y, cx, cy
    in.NameOrOrdinal();  // menu
    in.NameOrOrdinal();  // class
    in.NameOrOrdinal();  // title
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        in.Skip(3);  // size, weight, italic and character set
        in.NameOrOrdinal();
    }
    std::vector<std::pair<DWORD, std::wstring>> controls;
    for (WORD i = 0; i < count && !in.AtEnd(); ++i) {
        in.AlignToDword();
        in.Skip(2 + 2 + 2 + 4);  // help id, extended style, style, x, y, cx, cy
        const DWORD id = in.Dword();
        std::wstring windowClass = in.NameOrOrdinal();
        in.NameOrOrdinal();  // text
        in.Skip((in.Word() + 1) / 2);  // creation data
        controls.emplace_back(id, std::move(windowClass));
    }
    return controls;
}

// The command ids of a menu template, separators as 0, in order; -1 marks a pop-up.
std::vector<int> MenuIdsOf(HMENU menu) {
    std::vector<int> ids;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            ids.push_back(-1);
            for (int id : MenuIdsOf(sub)) ids.push_back(id);
        } else {
            ids.push_back(static_cast<int>(::GetMenuItemID(menu, i)));
        }
    }
    return ids;
}

TEST(EnglishFace, EveryDialogTemplateHasTheSameControlsInBothLanguages) {
    const std::vector<LPCWSTR> dialogs = ResourceNames(kDialog);
    ASSERT_GE(dialogs.size(), 15u);
    size_t controls = 0, listViews = 0;
    for (LPCWSTR name : dialogs) {
        const int id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
        const std::vector<WORD> korean = Resource(kDialog, name, kKorean);
        const std::vector<WORD> english = Resource(kDialog, name, kEnglish);
        ASSERT_FALSE(korean.empty()) << "dialog " << id << " in Korean";
        ASSERT_FALSE(english.empty()) << "dialog " << id << " in English";
        const auto koreanControls = ControlsOf(korean);
        EXPECT_EQ(koreanControls, ControlsOf(english)) << "dialog " << id;
        controls += koreanControls.size();
        for (const auto& control : koreanControls) listViews += _wcsicmp(control.second.c_str(), L"SysListView32") == 0;
    }
    // The templates were read through, not taken as empty.
    EXPECT_GT(controls, 120u);
    EXPECT_EQ(4u, listViews);
}

TEST(EnglishFace, EveryMenuItemAndStringExistsInBothLanguages) {
    for (LPCWSTR name : ResourceNames(kMenu)) {
        const int id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
        std::vector<WORD> korean = Resource(kMenu, name, kKorean), english = Resource(kMenu, name, kEnglish);
        ASSERT_FALSE(korean.empty() || english.empty()) << "menu " << id;
        HMENU koreanMenu = ::LoadMenuIndirectW(korean.data()), englishMenu = ::LoadMenuIndirectW(english.data());
        ASSERT_TRUE(koreanMenu && englishMenu) << "menu " << id;
        EXPECT_EQ(MenuIdsOf(koreanMenu), MenuIdsOf(englishMenu)) << "menu " << id;
        ::DestroyMenu(koreanMenu);
        ::DestroyMenu(englishMenu);
    }
    // A string block holds 16 counted strings; an id of one language must have its twin.
    const std::vector<LPCWSTR> blocks = ResourceNames(kStrings);
    ASSERT_FALSE(blocks.empty());
    for (LPCWSTR name : blocks) {
        const UINT block = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name));
        const std::vector<WORD> korean = Resource(kStrings, name, kKorean);
        const std::vector<WORD> english = Resource(kStrings, name, kEnglish);
        ASSERT_FALSE(korean.empty() || english.empty()) << "string block " << block;
        size_t k = 0, e = 0;
        for (UINT i = 0; i < 16; ++i) {
            const WORD koreanLength = k < korean.size() ? korean[k] : 0;
            const WORD englishLength = e < english.size() ? english[e] : 0;
            EXPECT_EQ(koreanLength == 0, englishLength == 0) << "string " << (block - 1) * 16 + i;
            k += 1 + koreanLength;
            e += 1 + englishLength;
        }
    }
}

TEST(EnglishFace, KoreanForAKoreanUserAndEnglishForEveryOther) {
    EXPECT_EQ(kKorean, fw::FaceLanguageFor(MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN)));
    EXPECT_EQ(kKorean, fw::FaceLanguageFor(MAKELANGID(LANG_KOREAN, SUBLANG_NEUTRAL)));
    const LANGID others[] = {kEnglish, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
                             MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)};
    for (LANGID other : others)
        EXPECT_EQ(kEnglish, fw::FaceLanguageFor(other)) << other;
}

}  // namespace

#include "framework/texts.h"

#include <algorithm>

namespace fw {

std::wstring LoadText(UINT id) {
    // With a length of 0 the function hands out a pointer into the resource itself, which is not
    // terminated: no buffer to guess a size for.
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

std::wstring LoadText(UINT id, int number) {
    std::wstring text = LoadText(id);
    const size_t mark = text.find(L"%d");
    if (mark != std::wstring::npos) text.replace(mark, 2, std::to_wstring(number));
    return text;
}

std::wstring LoadText(UINT id, std::initializer_list<std::wstring> values) {
    std::wstring text = LoadText(id);
    size_t from = 0;
    for (const std::wstring& value : values) {
        const size_t mark = text.find(L"%s", from);
        if (mark == std::wstring::npos) break;
        text.replace(mark, 2, value);
        from = mark + value.size();  // a value holding "%s" is not itself filled in
    }
    return text;
}

std::wstring LoadFilter(UINT id, std::initializer_list<std::wstring> values) {
    std::wstring filter = LoadText(id, values);
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    return filter;
}

LANGID FaceLanguageFor(LANGID uiLanguage) {
    return PRIMARYLANGID(uiLanguage) == LANG_KOREAN ? MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN)
                                                    : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

LANGID UseFaceLanguage() {
    const LANGID face = FaceLanguageFor(::GetUserDefaultUILanguage());
    // A list of names ending in an empty one: the literal's own terminator is the second.
    const wchar_t* names = PRIMARYLANGID(face) == LANG_KOREAN ? L"ko-KR\0" : L"en-US\0";
    ULONG count = 0;
    ::SetThreadPreferredUILanguages(MUI_LANGUAGE_NAME, names, &count);
    return face;
}

}  // namespace fw

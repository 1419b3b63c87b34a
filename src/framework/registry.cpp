#include "framework/registry.h"

#include <cstring>

namespace fw {

RegKey OpenRegKey(HKEY root, const std::wstring& path, REGSAM access, KeyOpening how) {
    HKEY key = nullptr;
    const LSTATUS status =
        how == KeyOpening::Existing
            ? ::RegOpenKeyExW(root, path.c_str(), 0, access, &key)
            : ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, access, nullptr, &key, nullptr);
    return RegKey(status == ERROR_SUCCESS ? key : nullptr);
}

RegValue StringValue(const std::wstring& text) {
    const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
    return {REG_SZ, std::vector<BYTE>(first, first + (text.size() + 1) * sizeof(wchar_t))};
}

std::wstring TextOf(const RegValue& value) {
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) return {};
    std::wstring text(value.bytes.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), value.bytes.data(), text.size() * sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

RegValue NumberValue(DWORD number) {
    const auto* first = reinterpret_cast<const BYTE*>(&number);
    return {REG_DWORD, std::vector<BYTE>(first, first + sizeof number)};
}

std::optional<DWORD> NumberOf(const RegValue& value) {
    if (value.type != REG_DWORD || value.bytes.size() != sizeof(DWORD)) return std::nullopt;
    DWORD number = 0;
    std::memcpy(&number, value.bytes.data(), sizeof number);
    return number;
}

std::optional<RegValue> UserRegistry::Read(const std::wstring& keyPath, const std::wstring& name) {
    const RegKey key = OpenRegKey(HKEY_CURRENT_USER, keyPath, KEY_QUERY_VALUE);
    if (!key) return std::nullopt;
    RegValue value;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    // The value may grow between asking its size and reading it: then the size is asked again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        value.bytes.resize(size);
        const LSTATUS status =
            ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &value.type, value.bytes.data(), &size);
        if (status == ERROR_SUCCESS) {
            value.bytes.resize(size);
            return value;
        }
        if (status != ERROR_MORE_DATA) break;
    }
    return std::nullopt;
}

bool UserRegistry::Write(const std::wstring& keyPath, const std::wstring& name, const RegValue& value) {
    const RegKey key = OpenRegKey(HKEY_CURRENT_USER, keyPath, KEY_SET_VALUE, KeyOpening::CreateIfAbsent);
    return key && ::RegSetValueExW(key.get(), name.c_str(), 0, value.type, value.bytes.data(),
                                   static_cast<DWORD>(value.bytes.size())) == ERROR_SUCCESS;
}

bool UserRegistry::Delete(const std::wstring& keyPath, const std::wstring& name) {
    const RegKey key = OpenRegKey(HKEY_CURRENT_USER, keyPath, KEY_SET_VALUE);
    // A key that is not there holds no value; one that is there but refuses us keeps it.
    if (!key) return !OpenRegKey(HKEY_CURRENT_USER, keyPath, KEY_QUERY_VALUE);
    const LSTATUS status = ::RegDeleteValueW(key.get(), name.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace fw

#pragma once
// Registry keys are opened here alone, each handed back with its owner. The values a rule of the
// program reads and writes go through IRegistry, so that the rule is tested without the registry.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/handles.h"

namespace fw {

enum class KeyOpening { Existing, CreateIfAbsent };

// The key `path` under `root` with the access asked for; an empty owner when it is absent (for
// Existing) or cannot be opened or made.
RegKey OpenRegKey(HKEY root, const std::wstring& path, REGSAM access, KeyOpening how = KeyOpening::Existing);

// A value as the registry stores it.
struct RegValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    bool operator==(const RegValue& o) const { return type == o.type && bytes == o.bytes; }
};

// A REG_SZ value holding the text and its terminator.
RegValue StringValue(const std::wstring& text);
// The text of a REG_SZ or REG_EXPAND_SZ value, up to its first terminator; "" for another type.
std::wstring TextOf(const RegValue& value);
// A REG_DWORD value.
RegValue NumberValue(DWORD number);
// The number of a REG_DWORD value; nothing for another type or size.
std::optional<DWORD> NumberOf(const RegValue& value);

// The values of one root's keys.
class IRegistry {
public:
    virtual ~IRegistry() = default;
    // Nothing when the key or the value is absent or cannot be read.
    virtual std::optional<RegValue> Read(const std::wstring& key, const std::wstring& name) = 0;
    // Makes the key when it is absent; false when the registry refused.
    virtual bool Write(const std::wstring& key, const std::wstring& name, const RegValue& value) = 0;
    // True when the value is gone afterwards, also when it was never there.
    virtual bool Delete(const std::wstring& key, const std::wstring& name) = 0;
};

// The current user's keys (HKEY_CURRENT_USER).
class UserRegistry final : public IRegistry {
public:
    std::optional<RegValue> Read(const std::wstring& key, const std::wstring& name) override;
    bool Write(const std::wstring& key, const std::wstring& name, const RegValue& value) override;
    bool Delete(const std::wstring& key, const std::wstring& name) override;
};

}  // namespace fw

// The registry helper on the prefix's own registry, and the start-with-Windows switch through its
// seam: the Run value and the Task Manager's record, on a registry the test holds.

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/registry.h"
#include "state/start_with_windows.h"

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kStartupListKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// A key of the test's own under HKEY_CURRENT_USER, removed with everything under it.
class ScratchKey {
public:
    ScratchKey() : m_path(L"Software\\DioramixTests\\registry-" + std::to_wstring(::GetCurrentProcessId())) { Remove(); }
    ~ScratchKey() { Remove(); }
    const std::wstring& path() const { return m_path; }

private:
    void Remove() {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\DioramixTests");  // when no other run holds a key in it
    }
    std::wstring m_path;
};

fw::RegValue Binary(std::vector<BYTE> bytes) { return {REG_BINARY, std::move(bytes)}; }

// Keys open only when there or asked to be made; values are read whole, and deleting an absent
// one is done.
TEST(Registry, KeysOpenOnlyWhenThereOrAskedToBeMadeAndValuesAreReadWhole) {
    ScratchKey scratch;
    const std::wstring inner = scratch.path() + L"\\inner";
    EXPECT_FALSE(fw::OpenRegKey(HKEY_CURRENT_USER, inner, KEY_QUERY_VALUE)) << "an absent key opened";
    {
        const fw::RegKey made = fw::OpenRegKey(HKEY_CURRENT_USER, inner, KEY_SET_VALUE, fw::KeyOpening::CreateIfAbsent);
        ASSERT_TRUE(made) << "the key and the one above it were not made";
    }
    EXPECT_TRUE(fw::OpenRegKey(HKEY_CURRENT_USER, inner, KEY_QUERY_VALUE));

    fw::UserRegistry registry;
    const std::wstring key = scratch.path() + L"\\values";
    EXPECT_FALSE(registry.Read(key, L"text")) << "a value of an absent key";
    EXPECT_TRUE(registry.Delete(key, L"text")) << "an absent key holds no value";

    // Longer than any fixed buffer a reader might guess, with a Korean name in it.
    const std::wstring longText = L"C:\\\uC0AC\uC9C4\\" + std::wstring(3000, L'x') + L"\\Dioramix.exe";
    const struct {
        fw::RegValue value;
        std::wstring text;
    } cases[] = {
        {fw::StringValue(L"\"C:\\Program Files\\Dioramix.exe\""), L"\"C:\\Program Files\\Dioramix.exe\""},
        {fw::StringValue(longText), longText},
        {fw::StringValue(L""), L""},
        {Binary({3, 0, 0, 0, 0x10, 0x20}), L""},
        {Binary({}), L""},
        {fw::NumberValue(7), L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.bytes.size());
        ASSERT_TRUE(registry.Write(key, L"value", c.value));
        const std::optional<fw::RegValue> read = registry.Read(key, L"value");
        ASSERT_TRUE(read);
        EXPECT_EQ(c.value, *read);
        EXPECT_EQ(c.text, fw::TextOf(*read));
    }

    EXPECT_TRUE(registry.Delete(key, L"value"));
    EXPECT_FALSE(registry.Read(key, L"value"));
    EXPECT_TRUE(registry.Delete(key, L"value")) << "deleting it again";
}

TEST(Registry, TextAndNumberOfAValueTakeOnlyTheirOwnType) {
    const auto bytes = [](const std::wstring& text) {
        const auto* first = reinterpret_cast<const BYTE*>(text.data());
        return std::vector<BYTE>(first, first + text.size() * sizeof(wchar_t));
    };
    const struct {
        fw::RegValue value;
        std::wstring text;
    } cases[] = {
        {fw::StringValue(L"\uB514\uC624"), L"\uB514\uC624"},
        {{REG_SZ, bytes(L"unterminated")}, L"unterminated"},
        {{REG_EXPAND_SZ, bytes(std::wstring(L"first\0second", 12))}, L"first"},
        {{REG_SZ, {'a', 0, 'b'}}, L"a"},  // an odd byte count: the half character is dropped
        {{REG_DWORD, {1, 0, 0, 0}}, L""},
        {{REG_SZ, {}}, L""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.text, fw::TextOf(c.value)) << c.value.bytes.size();

    EXPECT_EQ(0x12345678u, fw::NumberOf(fw::NumberValue(0x12345678)));
    EXPECT_FALSE(fw::NumberOf({REG_DWORD, {1, 0}})) << "too short";
    EXPECT_FALSE(fw::NumberOf(fw::StringValue(L"1")));
}

// Values kept in memory; a refusing registry writes and deletes nothing.
class FakeRegistry : public fw::IRegistry {
public:
    std::map<std::pair<std::wstring, std::wstring>, fw::RegValue> values;
    bool refuses = false;

    std::optional<fw::RegValue> Read(const std::wstring& key, const std::wstring& name) override {
        const auto it = values.find({key, name});
        return it == values.end() ? std::nullopt : std::optional<fw::RegValue>(it->second);
    }
    bool Write(const std::wstring& key, const std::wstring& name, const fw::RegValue& value) override {
        if (refuses) return false;
        values[{key, name}] = value;
        return true;
    }
    bool Delete(const std::wstring& key, const std::wstring& name) override {
        if (refuses) return false;
        values.erase({key, name});
        return true;
    }
};

TEST(StartWithWindows, TheRunValueCountsUnlessTheTaskManagersRecordDisablesIt) {
    const struct {
        bool runValue;
        std::optional<std::vector<BYTE>> record;
        bool on;
    } cases[] = {
        {false, std::nullopt, false},
        {false, std::vector<BYTE>{2, 0, 0, 0}, false},
        {true, std::nullopt, true},
        {true, std::vector<BYTE>{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, true},
        {true, std::vector<BYTE>{3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}, false},
        {true, std::vector<BYTE>{6, 0, 0, 0}, true},
        {true, std::vector<BYTE>{7, 0, 0, 0}, false},
        {true, std::vector<BYTE>{}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "run value " << c.runValue << ", record "
                                          << (c.record ? (c.record->empty() ? -1 : c.record->at(0)) : -2));
        FakeRegistry registry;
        if (c.runValue) registry.values[{kRunKey, L"Dioramix"}] = fw::StringValue(L"\"C:\\Dioramix.exe\"");
        if (c.record) registry.values[{kStartupListKey, L"Dioramix"}] = Binary(*c.record);
        EXPECT_EQ(c.on, StartWithWindows(registry, L"C:\\Dioramix.exe").IsOn());
    }
}

TEST(StartWithWindows, TickingWritesTheQuotedPathAndEnablesADisabledRecordOnly) {
    const std::wstring exe = L"C:\\Program Files\\\uB514\uC624\\Dioramix.exe";
    const std::vector<BYTE> enabledWithTime = {2, 0, 0, 0, 9, 9, 9, 9, 9, 9, 9, 9};
    const std::vector<BYTE> enabled = {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const struct {
        const char* name;
        std::optional<std::vector<BYTE>> record, after;
    } cases[] = {
        {"no record: none is made", std::nullopt, std::nullopt},
        {"disabled: enabled again", std::vector<BYTE>{3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}, enabled},
        {"enabled: left as it is", enabledWithTime, enabledWithTime},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRegistry registry;
        if (c.record) registry.values[{kStartupListKey, L"Dioramix"}] = Binary(*c.record);
        StartWithWindows startup(registry, exe);
        ASSERT_TRUE(startup.Set(true));
        EXPECT_EQ(fw::StringValue(L"\"" + exe + L"\""), registry.Read(kRunKey, L"Dioramix"))
            << "the path in quotes, so that its blanks do not split the command";
        const auto record = registry.Read(kStartupListKey, L"Dioramix");
        EXPECT_EQ(c.after.has_value(), record.has_value());
        if (c.after && record) {
            EXPECT_EQ(Binary(*c.after), *record);
        }
        EXPECT_TRUE(startup.IsOn());
    }
}

TEST(StartWithWindows, UntickingDeletesTheValueAndARefusalIsReported) {
    FakeRegistry registry;
    StartWithWindows startup(registry, L"C:\\Dioramix.exe");
    EXPECT_TRUE(startup.Set(false)) << "no value to delete counts as done";
    ASSERT_TRUE(startup.Set(true));
    ASSERT_TRUE(startup.Set(false));
    EXPECT_FALSE(registry.Read(kRunKey, L"Dioramix"));
    EXPECT_FALSE(startup.IsOn());

    const std::vector<BYTE> disabled = {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    registry.values[{kStartupListKey, L"Dioramix"}] = Binary(disabled);
    registry.refuses = true;
    EXPECT_FALSE(startup.Set(true));
    EXPECT_EQ(Binary(disabled), registry.Read(kStartupListKey, L"Dioramix")) << "touched after the refusal";
    registry.refuses = false;
    ASSERT_TRUE(startup.Set(true));
    registry.refuses = true;
    EXPECT_FALSE(startup.Set(false));
    EXPECT_TRUE(startup.IsOn());
}

}  // namespace

#include "platform/settings_backend.h"
#include "settings/settings_store.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

using namespace quillo;

namespace {

// Where the installer puts the settings, and so where the client must find them.
constexpr char kSettingsKey[] = "Software\\Tarnwick\\Tarnwick Live Chat";

// The settings key as the installer leaves it: removed, or present with nothing in it.
void removeKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
}

bool keyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void createEmptyKey() {
    removeKey();
    HKEY key = nullptr;
    REQUIRE(RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                            nullptr) == ERROR_SUCCESS);
    RegCloseKey(key);
}

void storeRaw(const char* name, DWORD type, const std::string& bytes) {
    HKEY key = nullptr;
    REQUIRE(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_WRITE, &key) == ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), DWORD(bytes.size()));
    RegCloseKey(key);
}

} // namespace

TEST_CASE("an absent key: reads say so, writes store nothing and the key is never created") {
    removeKey();
    const auto backend = createUserSettings();
    bool missing = false;
    const SettingResult read = ReadSetting(*backend, kOrderIdValue, kOrderIdBufferSize, missing);
    REQUIRE_FALSE(read.hasValue());
    CHECK(read.error() == SettingError::NoKey);
    CHECK_FALSE(missing);
    CHECK_FALSE(WriteSetting(*backend, "12345", kOrderIdValue));
    CHECK_FALSE(keyExists());
}

TEST_CASE("values as another program may have stored them, read into the client's buffers") {
    struct Row {
        const char* name;
        DWORD type;
        std::string bytes; // exactly as stored, terminator or not
        std::size_t size;
        std::optional<SettingError> error; // none: the text is read
        bool missing;
        std::string text;
    };
    const std::string dword12345("\x39\x30\x00\x00", 4);
    const std::vector<Row> rows = {
        {"9 characters fit the order number's 10 bytes", REG_SZ, std::string("123456789\0", 10), 10,
         std::nullopt, false, "123456789"},
        {"10 characters do not fit", REG_SZ, std::string("1234567890\0", 11), 10, SettingError::TooLong, true,
         ""},
        {"stored without its terminator", REG_SZ, "12345", 10, std::nullopt, false, "12345"},
        {"empty text", REG_SZ, std::string("\0", 1), 10, std::nullopt, false, ""},
        {"255 characters fit the address's 256 bytes", REG_SZ, std::string(255, 'u') + '\0', 256,
         std::nullopt, false, std::string(255, 'u')},
        {"256 characters do not", REG_SZ, std::string(256, 'u') + '\0', 256, SettingError::TooLong, true, ""},
        {"a number where text belongs counts as absent", REG_DWORD, dword12345, 10, SettingError::NoValue,
         true, ""},
        {"binary data counts as absent", REG_BINARY, "42", 10, SettingError::NoValue, true, ""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        createEmptyKey();
        storeRaw(kOrderIdValue, row.type, row.bytes);
        const auto backend = createUserSettings();
        bool missing = false;
        const SettingResult read = ReadSetting(*backend, kOrderIdValue, row.size, missing);
        CHECK(missing == row.missing);
        REQUIRE(read.hasValue() == !row.error.has_value());
        if (read)
            CHECK(read.value() == row.text);
        else
            CHECK(read.error() == *row.error);
    }
}

TEST_CASE("an absent value raises the flag") {
    createEmptyKey();
    const auto backend = createUserSettings();
    bool missing = false;
    const SettingResult read = ReadSetting(*backend, kUrlValue, kUrlBufferSize, missing);
    REQUIRE_FALSE(read.hasValue());
    CHECK(read.error() == SettingError::NoValue);
    CHECK(missing);
}

TEST_CASE("a write stores text with its terminator as REG_SZ in the existing key") {
    for (const std::string text : {"<b>42</b>", ""}) {
        CAPTURE(text);
        createEmptyKey();
        const auto backend = createUserSettings();
        CHECK(WriteSetting(*backend, text.c_str(), kOrderIdValue));
        DWORD type = REG_NONE;
        char stored[32] = {};
        DWORD size = sizeof stored;
        REQUIRE(RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, kOrderIdValue, RRF_RT_ANY, &type, stored,
                             &size) == ERROR_SUCCESS);
        CHECK(type == REG_SZ);
        CHECK(size == text.size() + 1);
        CHECK(std::string(stored) == text);
    }
    removeKey();
}

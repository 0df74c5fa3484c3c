#include "main_window/settings_store.h"
#include "platform/settings_backend.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

using namespace quillo;

namespace {

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

TEST_CASE("an absent key: reads and writes return its error and the key is never created") {
    removeKey();
    const auto backend = createUserSettingsBackend();
    char buffer[10] = "untouched";
    bool missing = false;
    CHECK(ReadSetting(*backend, kSettingsKey, buffer, kOrderIdValue, sizeof buffer, missing) ==
          kErrorFileNotFound);
    CHECK(std::string(buffer) == "untouched");
    CHECK_FALSE(missing);
    CHECK(WriteSetting(*backend, kSettingsKey, "12345", kOrderIdValue) == kErrorFileNotFound);
    CHECK_FALSE(keyExists());
}

TEST_CASE("values as another program may have stored them, read into the client's buffers") {
    struct Row {
        const char* name;
        DWORD type;
        std::string bytes; // exactly as stored, terminator or not
        unsigned size;
        long error;
        bool missing;
        std::string text;
    };
    const std::string dword12345("\x39\x30\x00\x00", 4);
    const std::vector<Row> rows = {
        {"9 characters fit the order number's 10 bytes", REG_SZ, std::string("123456789\0", 10), 10,
         kErrorSuccess, false, "123456789"},
        {"10 characters do not fit", REG_SZ, std::string("1234567890\0", 11), 10, kErrorMoreData, true, ""},
        {"stored without its terminator", REG_SZ, "12345", 10, kErrorSuccess, false, "12345"},
        {"empty text", REG_SZ, std::string("\0", 1), 10, kErrorSuccess, false, ""},
        {"255 characters fit the address's 256 bytes", REG_SZ, std::string(255, 'u') + '\0', 256,
         kErrorSuccess, false, std::string(255, 'u')},
        {"256 characters do not", REG_SZ, std::string(256, 'u') + '\0', 256, kErrorMoreData, true, ""},
        {"a number where text belongs counts as absent", REG_DWORD, dword12345, 10, kErrorFileNotFound, true,
         ""},
        {"binary data counts as absent", REG_BINARY, "42", 10, kErrorFileNotFound, true, ""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        createEmptyKey();
        storeRaw(kOrderIdValue, row.type, row.bytes);
        const auto backend = createUserSettingsBackend();
        std::vector<char> buffer(row.size, '#');
        bool missing = false;
        CHECK(ReadSetting(*backend, kSettingsKey, buffer.data(), kOrderIdValue, row.size, missing) ==
              row.error);
        CHECK(missing == row.missing);
        if (row.error == kErrorSuccess)
            CHECK(std::string(buffer.data()) == row.text);
    }
}

TEST_CASE("an absent value raises the flag") {
    createEmptyKey();
    const auto backend = createUserSettingsBackend();
    char buffer[256] = {};
    bool missing = false;
    CHECK(ReadSetting(*backend, kSettingsKey, buffer, kUrlValue, sizeof buffer, missing) ==
          kErrorFileNotFound);
    CHECK(missing);
}

TEST_CASE("a write stores text with its terminator as REG_SZ in the existing key") {
    for (const std::string text : {"<b>42</b>", ""}) {
        CAPTURE(text);
        createEmptyKey();
        const auto backend = createUserSettingsBackend();
        CHECK(WriteSetting(*backend, kSettingsKey, text.c_str(), kOrderIdValue) == kErrorSuccess);
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

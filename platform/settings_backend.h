#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace quillo {

// Result codes of the settings backend, with the registry's numbers so both platforms report alike.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorMoreData = 234;

// Where the two settings values live. On Windows this is the current user's registry; elsewhere a
// file per key. A key is never created by the client, only by its installer (or the demo script).
class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;

    // kErrorSuccess when the key exists and can be read, otherwise the error of opening it.
    virtual long openKey(std::string_view subKey) = 0;
    // Reads one string value of an existing key; kErrorFileNotFound when the value is absent.
    virtual long queryValue(std::string_view subKey, std::string_view valueName, std::string& text) = 0;
    // Stores one string value in an existing key; never creates the key.
    virtual long setValue(std::string_view subKey, std::string_view valueName, std::string_view text) = 0;
    // Creates the key unless it exists, keeping whatever it holds. Only the setup tool calls this,
    // as the installer does on Windows; the client itself never creates the key.
    virtual long createKey(std::string_view subKey) = 0;
};

// The backend of this platform for the current user.
std::unique_ptr<SettingsBackend> createUserSettingsBackend();

} // namespace quillo

#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quillo {

// The one settings key of the client and its string values. On Windows it is the current user's
// registry key of the organisation and the application; elsewhere the file QSettings keeps for
// them. The key is never created by the client, only by its installer (or quillo-setup).
class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;

    // Whether the key exists and can be read.
    virtual bool keyExists() = 0;
    // One string value of the key; nothing when the key or the value is absent, or the value is
    // not text.
    virtual std::optional<std::string> value(std::string_view name) = 0;
    // Stores one string value in an existing key, never creating the key; whether it was stored.
    virtual bool setValue(std::string_view name, std::string_view text) = 0;
    // Creates the key unless it exists, keeping whatever it holds; whether the key is there now.
    // Only the setup tool calls this, as the installer does on Windows.
    virtual bool createKey() = 0;
};

// The backend of this platform for the current user's key of that organisation and application.
std::unique_ptr<SettingsBackend> createUserSettingsBackend(std::string_view organisation,
                                                           std::string_view application);

} // namespace quillo

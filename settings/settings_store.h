#pragma once

#include "platform/settings_backend.h"

#include <cstddef>
#include <string>
#include <variant>

namespace quillo {

// Whose key the settings are: the one the installer creates. The client reads and writes its
// values but never creates it.
inline constexpr char kSettingsOrganisation[] = "Tarnwick";
inline constexpr char kSettingsApplication[] = "Tarnwick Live Chat";
inline constexpr char kOrderIdValue[] = "OrderID";
inline constexpr char kUrlValue[] = "URL";
// The room each value has, terminator included: an order number of at most 9 bytes, an address of
// at most 255. A longer value is not read at all.
inline constexpr std::size_t kOrderIdBufferSize = 10;
inline constexpr std::size_t kUrlBufferSize = 256;

// Why a setting could not be read.
enum class SettingError {
    // The key is absent (or unreadable): nothing at all was read.
    NoKey,
    // The key is there, the value is not.
    NoValue,
    // The value does not fit its room.
    TooLong,
};

// A setting's text, or why there is none.
class SettingResult {
public:
    SettingResult(std::string text)
        : m_result(std::move(text)) {}
    SettingResult(SettingError error)
        : m_result(error) {}

    bool hasValue() const { return std::holds_alternative<std::string>(m_result); }
    explicit operator bool() const { return hasValue(); }
    // Only when there is a value.
    const std::string& value() const { return std::get<std::string>(m_result); }
    // Only when there is none.
    SettingError error() const { return std::get<SettingError>(m_result); }

private:
    std::variant<std::string, SettingError> m_result;
};

// The settings key of the current user on this platform.
inline std::unique_ptr<SettingsBackend> createUserSettings() {
    return createUserSettingsBackend(kSettingsOrganisation, kSettingsApplication);
}

// Reads a string value that must fit `size` bytes with its terminator. An absent key reads as
// NoKey and leaves `settingMissing` alone; an absent value or one that does not fit raises
// `settingMissing`, which is never lowered.
SettingResult ReadSetting(SettingsBackend& backend, const char* valueName, std::size_t size,
                          bool& settingMissing);

// Stores `text` under `valueName` in the existing key. False when the key is absent, and then
// nothing is written; once the key exists, later failures are not reported.
bool WriteSetting(SettingsBackend& backend, const char* text, const char* valueName);

} // namespace quillo

#include "settings/settings_store.h"

namespace quillo {

SettingResult ReadSetting(SettingsBackend& backend, const char* valueName, std::size_t size,
                          bool& settingMissing) {
    if (!backend.keyExists())
        return SettingError::NoKey;
    std::optional<std::string> text = backend.value(valueName);
    if (!text || text->size() + 1 > size) {
        settingMissing = true;
        return text ? SettingError::TooLong : SettingError::NoValue;
    }
    // A value that holds a NUL is read up to it, as a terminated string always was.
    if (const auto nul = text->find('\0'); nul != std::string::npos)
        text->resize(nul);
    return std::move(*text);
}

bool WriteSetting(SettingsBackend& backend, const char* text, const char* valueName) {
    if (!backend.keyExists())
        return false;
    backend.setValue(valueName, text);
    return true;
}

} // namespace quillo

#include "main_window/settings_store.h"

#include <cstring>

namespace quillo {

long ReadSetting(SettingsBackend& backend, const char* subKey, char* buffer, const char* valueName,
                 unsigned size, bool& settingMissing) {
    if (const long error = backend.openKey(subKey); error != kErrorSuccess)
        return error;
    std::string text;
    long error = backend.queryValue(subKey, valueName, text);
    if (error == kErrorSuccess && text.size() + 1 > size)
        error = kErrorMoreData;
    if (error != kErrorSuccess) {
        settingMissing = true;
        return error;
    }
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return kErrorSuccess;
}

long WriteSetting(SettingsBackend& backend, const char* subKey, const char* text, const char* valueName) {
    if (const long error = backend.openKey(subKey); error != kErrorSuccess)
        return error;
    backend.setValue(subKey, valueName, text);
    return kErrorSuccess;
}

} // namespace quillo

#include "platform/settings_backend.h"

#include <windows.h>

namespace quillo {
namespace {

class RegistryBackend final : public SettingsBackend {
public:
    long openKey(std::string_view subKey) override {
        HKEY key = nullptr;
        const std::string path(subKey);
        const LONG error = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key);
        if (error == ERROR_SUCCESS)
            RegCloseKey(key);
        return error;
    }

    long queryValue(std::string_view subKey, std::string_view valueName, std::string& text) override {
        HKEY key = nullptr;
        const std::string path(subKey);
        if (const LONG error = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key))
            return error;
        const std::string name(valueName);
        DWORD type = REG_NONE;
        DWORD size = 0;
        LONG error = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
        // A number or binary data under a text value was written neither by the client nor by its
        // installer; read as text it would be a few stray bytes, so it counts as absent.
        if (error == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ)
            error = ERROR_FILE_NOT_FOUND;
        if (error == ERROR_SUCCESS) {
            std::string bytes(size, '\0');
            error = RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(bytes.data()), &size);
            bytes.resize(size);
            // A value written by another program may or may not carry its terminator.
            if (const auto nul = bytes.find('\0'); nul != std::string::npos)
                bytes.resize(nul);
            text = bytes;
        }
        RegCloseKey(key);
        return error;
    }

    long setValue(std::string_view subKey, std::string_view valueName, std::string_view text) override {
        if (const long error = openKey(subKey))
            return error;
        HKEY key = nullptr;
        const std::string path(subKey);
        // Opened, never created: a key removed since the check above stays removed.
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS)
            return kErrorSuccess;
        const std::string name(valueName);
        const std::string value(text);
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       DWORD(value.size() + 1));
        RegCloseKey(key);
        return kErrorSuccess;
    }

    long createKey(std::string_view subKey) override {
        HKEY key = nullptr;
        const std::string path(subKey);
        const LONG error = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
        if (error == ERROR_SUCCESS)
            RegCloseKey(key);
        return error;
    }
};

} // namespace

std::unique_ptr<SettingsBackend> createUserSettingsBackend() {
    return std::make_unique<RegistryBackend>();
}

} // namespace quillo

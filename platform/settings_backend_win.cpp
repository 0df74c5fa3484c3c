#include "platform/settings_backend.h"

#include <windows.h>

namespace quillo {
namespace {

// HKEY_CURRENT_USER\Software\<organisation>\<application>, the key the installer creates.
class RegistryBackend final : public SettingsBackend {
public:
    RegistryBackend(std::string_view organisation, std::string_view application) {
        m_path = "Software\\";
        m_path += organisation;
        m_path += '\\';
        m_path += application;
    }

    bool keyExists() override {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    std::optional<std::string> value(std::string_view valueName) override {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return std::nullopt;
        const std::string name(valueName);
        DWORD type = REG_NONE;
        DWORD size = 0;
        std::optional<std::string> text;
        // A number or binary data under a text value was written neither by the client nor by its
        // installer; read as text it would be a few stray bytes, so it counts as absent.
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ)) {
            std::string bytes(size, '\0');
            if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(bytes.data()),
                                 &size) == ERROR_SUCCESS) {
                bytes.resize(size);
                // A value written by another program may or may not carry its terminator.
                if (const auto nul = bytes.find('\0'); nul != std::string::npos)
                    bytes.resize(nul);
                text = std::move(bytes);
            }
        }
        RegCloseKey(key);
        return text;
    }

    bool setValue(std::string_view valueName, std::string_view text) override {
        HKEY key = nullptr;
        // Opened, never created: a key that is not there stays away.
        if (RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS)
            return false;
        const std::string name(valueName);
        const std::string value(text);
        const LONG stored =
            RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           DWORD(value.size() + 1));
        RegCloseKey(key);
        return stored == ERROR_SUCCESS;
    }

    bool createKey() override {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                            nullptr, &key, nullptr) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

private:
    std::string m_path;
};

} // namespace

std::unique_ptr<SettingsBackend> createUserSettingsBackend(std::string_view organisation,
                                                           std::string_view application) {
    return std::make_unique<RegistryBackend>(organisation, application);
}

} // namespace quillo

#pragma once

#include "platform/settings_backend.h"

#include <map>
#include <optional>
#include <string>

// An in-memory key: absent, or present with some values. Counts reads so a test can tell which
// values were asked for.
class FakeSettingsBackend final : public quillo::SettingsBackend {
public:
    bool present = true;
    std::map<std::string, std::string> values;
    std::map<std::string, int> queries;

    bool keyExists() override { return present; }
    std::optional<std::string> value(std::string_view name) override {
        ++queries[std::string(name)];
        const auto it = values.find(std::string(name));
        if (!present || it == values.end())
            return std::nullopt;
        return it->second;
    }
    bool setValue(std::string_view name, std::string_view text) override {
        if (!present)
            return false;
        values[std::string(name)] = std::string(text);
        return true;
    }
    bool createKey() override {
        present = true;
        return true;
    }
};

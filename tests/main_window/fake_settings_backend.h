#pragma once

#include "platform/settings_backend.h"

#include <map>
#include <optional>
#include <string>

// An in-memory key: absent, or present with some values. Counts reads so a test can tell which
// values were asked for.
class FakeSettingsBackend final : public quillo::SettingsBackend {
public:
    bool keyExists = true;
    std::map<std::string, std::string> values;
    std::map<std::string, int> queries;

    long openKey(std::string_view) override {
        return keyExists ? quillo::kErrorSuccess : quillo::kErrorFileNotFound;
    }
    long queryValue(std::string_view, std::string_view name, std::string& text) override {
        ++queries[std::string(name)];
        if (!keyExists)
            return quillo::kErrorFileNotFound;
        const auto it = values.find(std::string(name));
        if (it == values.end())
            return quillo::kErrorFileNotFound;
        text = it->second;
        return quillo::kErrorSuccess;
    }
    long setValue(std::string_view, std::string_view name, std::string_view text) override {
        if (!keyExists)
            return quillo::kErrorFileNotFound;
        values[std::string(name)] = std::string(text);
        return quillo::kErrorSuccess;
    }
    long createKey(std::string_view) override {
        keyExists = true;
        return quillo::kErrorSuccess;
    }
};

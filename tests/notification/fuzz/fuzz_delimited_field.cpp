#include "notification/delimited_field.h"

#include <cstdint>
#include <cstdlib>
#include <string>

// Checks the field rules on random records: the record is read only within its length, no escape
// byte survives in a field, and a record has exactly one field more than it has separators.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size < 2)
        return 0;
    const char delimiter = static_cast<char>(bytes[0]);
    const char escape = static_cast<char>(bytes[1]);
    const auto length = static_cast<std::int32_t>(size - 2);
    // A copy of exactly the record's length, so a read past it is caught by the address sanitizer.
    std::string record(reinterpret_cast<const char*>(bytes + 2), size - 2);
    const char* data = length > 0 ? record.data() : nullptr;

    int separators = 0;
    for (std::int32_t i = 0; i < length; ++i)
        if (record[i] == delimiter && (i == 0 || record[i - 1] != escape))
            ++separators;

    std::size_t total = 0;
    for (int n = 0; n <= separators + 1; ++n) {
        std::string field = "stale";
        const int result = GetDelimitedField(field, data, length, n, delimiter, escape);
        if (length == 0) {
            if (result != 0 || field != "stale")
                std::abort();
            continue;
        }
        if (n <= separators) {
            if (result != 1 || field.find(escape) != std::string::npos)
                std::abort();
            total += field.size();
        } else if (result != 0 || !field.empty()) {
            std::abort();
        }
    }
    // Fields hold every byte but the separators and the escape bytes.
    if (length > 0 && delimiter != escape) {
        std::size_t escapes = 0;
        for (const char c : record)
            if (c == escape)
                ++escapes;
        if (total != record.size() - static_cast<std::size_t>(separators) - escapes)
            std::abort();
    }
    return 0;
}

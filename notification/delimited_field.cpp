#include "notification/delimited_field.h"

#include <new>
#include <stdexcept>

int GetDelimitedField(std::string& out, const char* data, std::int32_t length, std::int32_t n, char delimiter,
                      char escape) {
    // A negative length would make every scan below read before the record; treat it as no record.
    if (data == nullptr || length <= 0)
        return 0;

    // Only the one preceding byte decides, so an escaped escape still hides the delimiter after it.
    const auto isSeparator = [data, delimiter, escape](std::int32_t i) {
        return data[i] == delimiter && (i == 0 || data[i - 1] != escape);
    };

    std::int32_t start = 0;
    if (n > 0) {
        for (std::int32_t i = 0; i < length; ++i) {
            if (isSeparator(i) && --n == 0) {
                start = i + 1;
                break;
            }
        }
        if (n > 0) {
            out.clear();
            return 0;
        }
    }

    std::int32_t end = start;
    std::int32_t escapes = 0;
    for (; end < length && !isSeparator(end); ++end) {
        if (data[end] == escape)
            ++escapes;
    }

    try {
        out.resize(static_cast<std::size_t>(end - start - escapes));
    } catch (const std::bad_alloc&) {
        return 0;
    } catch (const std::length_error&) {
        return 0;
    }

    std::size_t at = 0;
    for (std::int32_t i = start; i < end; ++i) {
        if (data[i] != escape)
            out[at++] = data[i];
    }
    return 1;
}

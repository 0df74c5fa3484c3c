#pragma once

// How doctest prints the standard containers the tests compare, so a failed check shows the values
// and not "{?}". (Row names are std::string_view for the same reason: doctest prints a const char*
// as an address, and its switch to print it as text does not compile in the packaged version.)

#include "resources/rect.h"

#include <doctest/doctest.h>

#include <optional>
#include <vector>

namespace doctest {

template <typename T> struct StringMaker<std::vector<T>> {
    static String convert(const std::vector<T>& values) {
        String text = "{";
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (i > 0)
                text += ", ";
            text += toString(values[i]);
        }
        return text + "}";
    }
};

template <> struct StringMaker<quillo::Rect> {
    static String convert(const quillo::Rect& r) {
        return toString(r.x) + "," + toString(r.y) + " " + toString(r.width) + "x" + toString(r.height);
    }
};

template <typename T> struct StringMaker<std::optional<T>> {
    static String convert(const std::optional<T>& value) { return value ? toString(*value) : String("none"); }
};

} // namespace doctest

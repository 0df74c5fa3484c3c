#pragma once

#include <string>
#include <string_view>

namespace quillo {

// A value of type string in a desktop entry: backslash, tab, newline and carriage return escaped,
// as every reader undoes them before anything else.
std::string desktopStringValue(std::string_view value);

// The Exec value that runs program with no arguments: quoted when the path holds a character the
// launcher's command-line rules reserve, % doubled so that no part of a path reads as a field code
// (and run through env then, for GLib's sake), and written as a string value on top of that.
std::string desktopExecValue(std::string_view program);

} // namespace quillo

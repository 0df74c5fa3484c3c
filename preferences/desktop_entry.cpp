#include "preferences/desktop_entry.h"

namespace quillo {
namespace {

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
// Inside double quotes these four still mean something to the launcher and take a backslash.
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

} // namespace

std::string desktopStringValue(std::string_view value) {
    std::string escaped;
    escaped.reserve(value.size());
    for (const char c : value) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\r':
            escaped += "\\r";
            break;
        default:
            escaped += c;
        }
    }
    // A reader trims the blanks around '='; a leading one must survive it.
    if (!escaped.empty() && escaped.front() == ' ')
        escaped.replace(0, 1, "\\s");
    return escaped;
}

std::string desktopExecValue(std::string_view program) {
    const bool quote = program.find_first_of(kReserved) != std::string_view::npos;
    std::string argument;
    if (quote)
        argument += '"';
    for (const char c : program) {
        if (c == '%')
            argument += '%';
        else if (quote && kEscapedInQuotes.find(c) != std::string_view::npos)
            argument += '\\';
        argument += c;
    }
    if (quote)
        argument += '"';
    // GLib looks the program up by the Exec's first word before it undoes %%, so it would never
    // load an entry whose program path holds a %; env is found, and runs the path once undone.
    if (program.find('%') != std::string_view::npos)
        argument.insert(0, "env ");
    // The quoting's backslashes are undone after the string value's, so they are doubled too.
    return desktopStringValue(argument);
}

} // namespace quillo

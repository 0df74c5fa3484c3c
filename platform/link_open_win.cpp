#include "platform/link_open_win.h"

#include "platform/link_fallback.h"

// <windows.h> must come first: the shell's header relies on its types.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstdint>

namespace quillo {
namespace {

constexpr LONG kRegistryValueBuffer = 260;

// The default value of root\subKey; 0 on success, else the error of opening or reading the key.
LONG ReadRegistryDefault(HKEY root, const char* subKey, std::string& text) {
    HKEY key = nullptr;
    if (const LONG opened = RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &key); opened != ERROR_SUCCESS)
        return opened;
    char buffer[kRegistryValueBuffer] = {};
    LONG size = sizeof buffer;
    const LONG read = RegQueryValueA(key, nullptr, buffer, &size);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS)
        return read;
    buffer[kRegistryValueBuffer - 1] = '\0';
    text.assign(buffer);
    return 0;
}

} // namespace

bool openAddressWithShell(const std::string& address) {
    // The shell's result is a number greater than 32 on success.
    const auto shell = reinterpret_cast<std::intptr_t>(
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOW));
    if (static_cast<std::uintptr_t>(shell) > 32)
        return true;

    // No handler for the address itself: start whatever opens .htm files, with the address.
    std::string fileClass;
    if (ReadRegistryDefault(HKEY_CLASSES_ROOT, ".htm", fileClass) != 0)
        return false;
    std::string openCommand;
    if (ReadRegistryDefault(HKEY_CLASSES_ROOT, openCommandKey(fileClass).c_str(), openCommand) != 0)
        return false;
    const auto line = buildFallbackCommandLine(openCommand, address);
    // WinExec, too, reports success with a number greater than 31.
    return line && WinExec(line->c_str(), SW_SHOW) > 31;
}

} // namespace quillo

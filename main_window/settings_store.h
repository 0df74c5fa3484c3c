#pragma once

#include "platform/settings_backend.h"

#include <string>

namespace quillo {

// The key the installer creates; the client reads and writes its values but never creates it.
inline constexpr char kSettingsKey[] = "Software\\Tarnwick\\Tarnwick Live Chat";
inline constexpr char kOrderIdValue[] = "OrderID";
inline constexpr char kUrlValue[] = "URL";
inline constexpr unsigned kOrderIdBufferSize = 10;
inline constexpr unsigned kUrlBufferSize = 256;

// Reads a string value into a caller's buffer of `size` bytes. An absent key returns its error and
// leaves both the buffer and `settingMissing` alone; an absent value or one that does not fit
// (with its terminator) raises `settingMissing`, which is never lowered. On success the buffer
// always holds a terminated string of at most size - 1 bytes.
long ReadSetting(SettingsBackend& backend, const char* subKey, char* buffer, const char* valueName,
                 unsigned size, bool& settingMissing);

// Stores `text` under `valueName` in an existing key. Returns the error of the existence check,
// or 0 once the key exists; later failures are not reported.
long WriteSetting(SettingsBackend& backend, const char* subKey, const char* text, const char* valueName);

} // namespace quillo

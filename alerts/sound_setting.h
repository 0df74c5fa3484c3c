#pragma once

#include "alerts/alert_sound.h"

namespace quillo {
class ClientSettings;
}

namespace quillo::alerts {

// The alert sound's mode in the client's own settings file, which quillo-setup writes too.
inline constexpr char kSoundModeKey[] = "alerts/sound";

// The stored mode, or the default when none or an unknown one is stored.
SoundMode readSoundMode(const ClientSettings& settings);
// Writes the mode through to the file; false when the file could not be written.
bool writeSoundMode(ClientSettings& settings, SoundMode mode);

} // namespace quillo::alerts

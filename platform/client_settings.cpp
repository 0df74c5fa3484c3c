#include "platform/client_settings.h"

using namespace Qt::StringLiterals;

namespace quillo {

std::unique_ptr<QSettings> openClientSettings() {
    // Named explicitly: quillo-setup writes the same file, and its application name differs.
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, u"Quillo"_s, u"quillo"_s);
}

QString clientSettingsPath() {
    return openClientSettings()->fileName();
}

} // namespace quillo

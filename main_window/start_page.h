#pragma once

#include "platform/settings_backend.h"

#include <string>

namespace quillo {

struct StartPageHosts {
    std::string makerHost; // the maker's web site, home of the product page
    std::string chatHost;  // the chat service, home of the logon page
};

std::string productPageUrl(const StartPageHosts& hosts);
std::string logonPageUrl(const StartPageHosts& hosts);

// Chooses the first page from the stored order number and address, reading them through the
// settings store so that `settingMissing` is raised exactly as the reads raise it:
// no usable order number gives the product page, no usable address the logon page with the order
// number, otherwise the address with the order number appended as it stands.
std::string chooseStartPage(SettingsBackend& backend, bool& settingMissing, const StartPageHosts& hosts);

} // namespace quillo

#include "main_window/start_page.h"

#include "settings/settings_store.h"

namespace quillo {

std::string productPageUrl(const StartPageHosts& hosts) {
    return "http://" + hosts.makerHost + "/store/free-live-chat-software.asp";
}

std::string logonPageUrl(const StartPageHosts& hosts) {
    return "https://" + hosts.chatHost + "/logon.aspx?id=";
}

std::string chooseStartPage(SettingsBackend& backend, bool& settingMissing, const StartPageHosts& hosts) {
    const SettingResult orderId = ReadSetting(backend, kOrderIdValue, kOrderIdBufferSize, settingMissing);
    // Without the key nothing was read at all; the product page is the one page that needs nothing.
    if (settingMissing || !orderId)
        return productPageUrl(hosts);

    const SettingResult url = ReadSetting(backend, kUrlValue, kUrlBufferSize, settingMissing);
    if (settingMissing)
        return logonPageUrl(hosts) + orderId.value();
    // The key went away between the two reads.
    if (!url)
        return productPageUrl(hosts);
    return url.value() + orderId.value();
}

} // namespace quillo

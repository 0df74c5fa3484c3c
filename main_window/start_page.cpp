#include "main_window/start_page.h"

#include "main_window/settings_store.h"

namespace quillo {

std::string productPageUrl(const StartPageHosts& hosts) {
    return "http://" + hosts.makerHost + "/store/free-live-chat-software.asp";
}

std::string logonPageUrl(const StartPageHosts& hosts) {
    return "https://" + hosts.chatHost + "/logon.aspx?id=";
}

std::string ChooseStartPage(SettingsBackend& backend, bool& settingMissing, const StartPageHosts& hosts) {
    char orderId[kOrderIdBufferSize] = {};
    const long orderError =
        ReadSetting(backend, kSettingsKey, orderId, kOrderIdValue, sizeof orderId, settingMissing);
    // Without the key nothing was read at all; the product page is the one page that needs nothing.
    if (settingMissing || orderError != kErrorSuccess)
        return productPageUrl(hosts);

    char url[kUrlBufferSize] = {};
    const long urlError = ReadSetting(backend, kSettingsKey, url, kUrlValue, sizeof url, settingMissing);
    if (settingMissing)
        return logonPageUrl(hosts) + orderId;
    if (urlError != kErrorSuccess)
        return productPageUrl(hosts);
    return std::string(url) + orderId;
}

} // namespace quillo

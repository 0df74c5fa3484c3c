#pragma once

#include "browser_host/browser_commands.h"
#include "browser_host/page_scripts.h"
#include "page_contract/origin_trust.h"

#include <functional>

class CExternalDispatch;
class SpellCheck;
class ZoomKeeper;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace quillo {

namespace page_services {
class PageServices;
}

// What every browser site needs, built once by the application and handed to the site factory,
// which hands it to each site it makes: nothing a site uses is looked up.
struct BrowserServices {
    // The run's one profile, so cookies and storage persist and every browser shares them.
    QWebEngineProfile& profile;
    // window.external: one object for every page of the run.
    CExternalDispatch& external;
    // The origins whose pages get window.external and may change the client's settings.
    OriginTrust trust{};
    // The scripts that give those pages window.external (buildExternalScripts of `trust`).
    ExternalScripts scripts{};
    // Takes the context menu's commands first; when empty, each browser acts on its own.
    BrowserCommandRouter commandRouter{};
    // New windows and permissions for every page; null where there are none (a bare browser).
    page_services::PageServices* pageServices = nullptr;
    // The page a new browser shows, in `profile`, owned by the browser.
    std::function<QWebEnginePage*(QWebEngineView& browser)> makePage{};
    // Gives a new browser what brings its page back after a dead renderer, a hang or an outage;
    // may be empty.
    std::function<void(QWebEngineView& browser)> attachRecovery{};
    // The zoom level of each site, kept across runs; null where zoom is not remembered.
    ZoomKeeper* zoom = nullptr;
    // The spelling languages, offered in a text field's menu; null where there is no choice.
    SpellCheck* spelling = nullptr;
};

} // namespace quillo

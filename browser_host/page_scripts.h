#pragma once

#include <QString>
#include <string_view>

class QJsonObject;

namespace quillo {

class OriginTrust;

// The DOM event by which the page's window.external hands a call to the client's bridge.
inline constexpr char kExternalCallEvent[] = "quillo-external-call";
// The name under which the bridge object is published on the web channel.
inline constexpr char kExternalBridgeObject[] = "quilloExternal";

// A text of the page contract, as the injected scripts get it.
QString fromContract(std::string_view text);

// A script resource called with its configuration, JSON-encoded, as its one argument.
QString withConfig(const QString& script, const QJsonObject& config);

// The DOM event by which the page's world names a sound source that failed to the client's script.
inline constexpr char kMediaCheckEvent[] = "quillo-media-check";

// The two scripts that give the pages of trusted origins window.external: the shim in the page's
// own world, and the bridge to the client in the client's private world. Beside them the scripts
// that tell the client what the engine does not: in the page's world, a notification's wish to
// stay; in the client's world, a sound that failed, in reports marked with `reportToken`, the
// run's secret that only the client and that world know.
struct ExternalScripts {
    QString shim;
    QString bridge;
    QString pageHooks;
    QString mediaWatch;
};
ExternalScripts buildExternalScripts(const OriginTrust& trust, const QString& reportToken);

} // namespace quillo

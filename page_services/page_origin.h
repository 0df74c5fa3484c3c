#pragma once

#include "page_contract/origin_trust.h"

class QString;
class QUrl;

namespace quillo {

// The origin of a page address as the browser sees it; the host in its ASCII form.
Origin originOfUrl(const QUrl& url);

// A frame's origin as script serialises it (event.origin, self.origin), for OriginTrust::grants;
// nullopt for an opaque origin or anything that is not an origin.
std::optional<Origin> askingFrame(const QString& serialisedOrigin);

// Whether the page or frame at this address (a page's own, or a security origin the engine gives
// for the frame that asks) may drive the client or change its settings.
bool isTrustedPage(const OriginTrust& trust, const QUrl& page);

} // namespace quillo

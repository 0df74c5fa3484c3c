#pragma once

#include "page_contract/origin_trust.h"

class QUrl;

namespace quillo {

// The origin of a page address as the browser sees it; the host in its ASCII form.
Origin originOfUrl(const QUrl& url);

// Whether the page at this address may drive the client or change its settings.
bool isTrustedPage(const OriginTrust& trust, const QUrl& page);

} // namespace quillo

#pragma once

#include <string>
#include <string_view>

namespace quillo {

// The browser engine's command line: the operator's own flags first, then the client's defaults
// for whatever the operator left unset. Pages of one site share a few renderer processes, so a
// page that opens dozens of windows costs a fraction of the memory of one process per window.
// singleSignOnServers: the administrator's allow-list for Kerberos/Negotiate sign-in, passed on
// unless the operator's own flags name the servers.
std::string engineFlags(std::string_view userFlags, std::string_view singleSignOnServers = {});

// The renderer processes that windows share at most.
inline constexpr int kRendererProcessLimit = 8;

} // namespace quillo

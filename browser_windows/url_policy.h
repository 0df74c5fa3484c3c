#pragma once

#include <string_view>

namespace quillo {

// Whether a page may open this address in a secondary window: only absolute http and https
// addresses with a host. Page script hands over addresses already resolved against its own page,
// so anything else (file:, javascript:, data:, about:, a bare path) is refused.
bool isOpenableAddress(std::string_view url);

} // namespace quillo

#pragma once

#include <QString>

namespace quillo {

// Results as the shell gives them: greater than 32 is success.
inline constexpr int kOpenNoAssociation = 31;
inline constexpr int kOpenDone = 33;

// Opens address in the user's web browser, with the window shown as showCommand asks where the
// platform has such a thing.
int OpenAddressInBrowser(const QString& address, int showCommand);

} // namespace quillo

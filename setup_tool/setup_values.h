#pragma once

#include <QString>

namespace quillo {

// What quillo-setup accepts: exactly what the client would use. An empty text means the value is
// acceptable; otherwise it says why not, in a sentence for the operator.
QString orderIdProblem(const QString& orderId);
QString urlProblem(const QString& url);

} // namespace quillo

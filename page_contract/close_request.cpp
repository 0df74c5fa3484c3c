#include "page_contract/close_request.h"

namespace quillo {

CloseAction closeActionFor(CloseCaller caller, OperatorPlace place) {
    if (place == OperatorPlace::BoxOfCallersWindow)
        return CloseAction::Refuse;
    if (caller == CloseCaller::SecondaryWindow)
        return CloseAction::EndCallersWindow;
    return place == OperatorPlace::CallersWindow ? CloseAction::EndClient : CloseAction::Refuse;
}

} // namespace quillo

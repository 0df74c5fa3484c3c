#include "notification/request_notice.h"

namespace quillo::notify {

bool showsRequestOnDesktop(std::string_view platformName) {
    return platformName.starts_with("wayland");
}

RequestNotice::Serial RequestNotice::requestShown() {
    m_showing = true;
    return ++m_serial;
}

std::optional<RequestNotice::Id> RequestNotice::shown(Serial serial, std::optional<Id> id) {
    if (!id || *id == 0)
        return std::nullopt;
    // A newer request's show was asked before this answer came, so it did not replace this one.
    if (serial != m_serial)
        return id;
    if (!m_showing)
        return id;
    m_id = *id;
    return std::nullopt;
}

std::optional<RequestNotice::Id> RequestNotice::popupEnded(PopupEnd end) {
    if (end == PopupEnd::TimedOut)
        return std::nullopt;
    m_showing = false;
    if (m_id == 0)
        return std::nullopt;
    const Id closing = m_id;
    m_id = 0;
    return closing;
}

bool RequestNotice::actionInvoked(Id id, std::string_view action) const {
    return m_showing && id != 0 && id == m_id && action == kAcceptAction;
}

void RequestNotice::closedByService(Id id) {
    if (id == m_id && id != 0) {
        m_id = 0;
        // The operator dismissed it on the desktop; the console still shows the request.
        m_showing = false;
    }
}

} // namespace quillo::notify

#pragma once

#include "page_contract/external_target.h"

#include <QPointer>
#include <QWidget>

namespace quillo {

// The window of a page that calls window.external: the top-level window that shows the page's
// browser at the time of the call.
class CallerWindow final {
public:
    explicit CallerWindow(QWidget& browser)
        : m_browser(&browser) {}

    // Null once the browser is gone.
    QWidget* window() const { return m_browser ? m_browser->window() : nullptr; }

private:
    QPointer<QWidget> m_browser;
};

} // namespace quillo

#include "browser_host/web_browser2.h"

#include <QUrl>
#include <QWebEngineHistory>
#include <QWebEnginePage>

CWebBrowser2::CWebBrowser2(QWidget* parent)
    : QWebEngineView(parent) {
    connect(this, &QWebEngineView::loadFinished, this, [this](bool) { emit DocumentComplete(); });
}

CWebBrowser2::~CWebBrowser2() = default;

void CWebBrowser2::Navigate2(const QString& url) {
    load(QUrl(url, QUrl::TolerantMode));
}

void CWebBrowser2::Refresh() {
    reload();
}

bool CWebBrowser2::GoBack() {
    if (!history()->canGoBack())
        return false;
    back();
    return true;
}

QWebEnginePage* CWebBrowser2::GetDocument() const {
    return page();
}

bool CWebBrowser2::hasFocusWithin(const QWidget& window) {
    // The page's own widget inside the view holds the focus, not the view.
    for (const QWidget* widget = window.focusWidget(); widget != nullptr; widget = widget->parentWidget()) {
        if (qobject_cast<const CWebBrowser2*>(widget) != nullptr)
            return true;
    }
    return false;
}

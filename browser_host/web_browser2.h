#pragma once

#include <QWebEngineView>

// The one way the client talks to an embedded browser: navigate, refresh, go back, reach the
// document, and hear when a document has completed.
class CWebBrowser2 final : public QWebEngineView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CWebBrowser2)

public:
    // The page it shows is set by its site, which gets it from the application.
    explicit CWebBrowser2(QWidget* parent);
    ~CWebBrowser2() override;

    void Navigate2(const QString& url);
    void Refresh();
    // False when the history holds no earlier page; nothing happens then.
    bool GoBack();
    // The document currently shown, in which the page bridge runs its element walks.
    QWebEnginePage* GetDocument() const;

    // Whether the keyboard is in a browser inside `window`: keys typed there belong to its page.
    static bool hasFocusWithin(const QWidget& window);

signals:
    // Every finished load of the top-level document, failed loads included, and of a frame of a
    // trusted page that finishes after it.
    void DocumentComplete();
};

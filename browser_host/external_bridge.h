#pragma once

#include <QJsonArray>
#include <QObject>
#include <deque>
#include <functional>

class CExternalDispatch;
class QWebEnginePage;

namespace quillo {

// The one object that a page's window.external reaches through the web channel. Calls come in
// batches, in the order the page made them; each names a method and carries its script arguments; the name is
// looked up and the call dispatched in CExternalDispatch, so a page can reach the five operations and nothing
// else. Whether the calling page may call (its origin trusted, its window not ended) is checked again on
// every call, whatever the scripts in the page decided.
class ExternalBridge final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExternalBridge)

public:
    using TrustCheck = std::function<bool(const QWebEnginePage&)>;

    ExternalBridge(CExternalDispatch& external, QWebEnginePage& page, TrustCheck isTrusted, QObject* parent);

    // Each element is [name, [arguments...]]; anything else is skipped.
    Q_INVOKABLE void calls(const QJsonArray& batch);
    void call(const QString& name, const QJsonArray& args);
    // A frame of the page finished loading after the page itself.
    Q_INVOKABLE void frameLoaded();

signals:
    void frameCompleted();

private:
    CExternalDispatch& m_external;
    QWebEnginePage& m_page;
    TrustCheck m_isTrusted;
    // Batches that came in while a call was still running (the message box runs its own loop);
    // they wait their turn so the page's calls stay in the order it made them.
    std::deque<QJsonArray> m_waiting;
    bool m_dispatching = false;
};

} // namespace quillo

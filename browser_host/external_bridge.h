#pragma once

#include "browser_host/caller_window.h"

#include <QJsonArray>
#include <QLoggingCategory>
#include <QObject>
#include <deque>
#include <functional>
#include <optional>

class CExternalDispatch;
class QWebEnginePage;

// window.external's calls that the client refused, for support.
Q_DECLARE_LOGGING_CATEGORY(lcBridge)

namespace quillo {

// Why a page may not call window.external now.
enum class CallRefusal {
    // The page's origin is not one the client trusts.
    UntrustedOrigin,
    // The page's window has ended; its page may still run until the blank page replaces it.
    WindowEnded,
};

// The one object that a page's window.external reaches through the web channel. Calls come in
// batches, in the order the page made them; each names a method and carries its script arguments; the name is
// looked up and the call dispatched in CExternalDispatch, so a page can reach the five operations and nothing
// else. Whether the calling frame may call (its own origin trusted, as the browser gave it to the
// client's script, and its window not ended) is checked again on every call, whatever the scripts
// in the page decided.
class ExternalBridge final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExternalBridge)

public:
    // Nothing when the frame of callerOrigin ("https://host", as script serialises an origin) in
    // the page may call now, else why not.
    using CallCheck =
        std::function<std::optional<CallRefusal>(const QWebEnginePage&, const QString& callerOrigin)>;

    // `browser` shows `page`; CB_Close acts on the window it is in.
    ExternalBridge(CExternalDispatch& external, QWebEnginePage& page, QWidget& browser, CallCheck mayCall,
                   QObject* parent);

    // Each element is [name, [arguments...], callerOrigin]; anything else is skipped. The calls of
    // a batch that their frames may not make are refused with one log line for the batch.
    Q_INVOKABLE void calls(const QJsonArray& batch);
    // A frame of the page finished loading after the page itself; origin is the top frame's.
    Q_INVOKABLE void frameLoaded(const QString& origin);

signals:
    void frameCompleted();

private:
    CExternalDispatch& m_external;
    QWebEnginePage& m_page;
    const CallerWindow m_caller;
    // Runs one call, unless refused; then it says why.
    std::optional<CallRefusal> call(const QString& name, const QJsonArray& args, const QString& caller);

    CallCheck m_mayCall;
    // Batches that came in while a call was still running (the message box runs its own loop);
    // they wait their turn so the page's calls stay in the order it made them.
    std::deque<QJsonArray> m_waiting;
    bool m_dispatching = false;
};

} // namespace quillo

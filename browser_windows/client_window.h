#pragma once

#include "browser_windows/client_window_cap.h"

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>
#include <optional>

class CCustomOccManager;
class CWebBrowser2;
class QWebEngineNavigationRequest;
class QWebEngineNewWindowRequest;
class QWebEnginePage;

namespace quillo {
class OriginTrust;
}

// A window that one of the chat service's pages opened for a page of its own (a chat apart, a
// report, a page to print): a browser of the client's, with its menu, keys, recovery and page
// services, in the run's profile and so in the operator's session. Titled after its page; it goes
// when the operator or its page (window.close()) closes it, and when its page would leave the
// chat service's origins: the session is for the chat service's pages alone.
class ClientWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClientWindow)

public:
    // The browser comes from `siteFactory`; `owner` (the main window) owns the window.
    ClientWindow(CCustomOccManager& siteFactory, QWidget* owner);
    ~ClientWindow() override;

    CWebBrowser2* browser() const { return m_browser; }
    // Places the window so that its outer rectangle, frame included, is `outer`; a frame that the
    // window manager adds later is taken off the page's size once it is known.
    void setOuterGeometry(const QRect& outer);
    // The window manager's frame as last measured on a client or pool window; null before any.
    static QMargins knownFrameMargins();

    // From now on the window shows the chat service's pages only: another site's address goes to
    // the operator's browser when the operator's click asked for it, and the window closes.
    // openedByClick: the operator's click opened it, and the first address its opener loads in it
    // counts as that click's. opener: how the log names who opened it until its document says.
    void guard(bool openedByClick, const QString& opener);
    // A blank window stays only if its document's origin, which is that of the frame that opened
    // it, is trusted; its opening (address as logged) is logged once that is known.
    void judgeBlankDocument(const QString& address) { judgeBlankDocument(address, false); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void correctOuterGeometry();
    void noteFrame();
    void onNavigationRequested(QWebEngineNavigationRequest& request);
    // Asks the document for its origin, then hands it to `answer`; an answer that cannot be had
    // comes as an empty text.
    void askDocumentOrigin(std::function<void(const QString& origin)> answer);
    void judgeBlankDocument(const QString& address, bool askedAgain);
    // The page would leave for target: the window goes, the address perhaps to the desktop.
    void leave(const QUrl& target, bool handToDesktop);

    const quillo::OriginTrust& m_trust;
    CWebBrowser2* m_browser = nullptr;
    std::optional<QRect> m_pendingOuter;
    bool m_clickPending = false;
    bool m_leaving = false;
    QString m_opener;
};

// The windows that the chat service's pages have open in the client, under a cap of their own.
class ClientWindows final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClientWindows)

public:
    // The main window, which owns every client window; null while there is none.
    using Owner = std::function<QWidget*()>;

    ClientWindows(CCustomOccManager& siteFactory, Owner owner, QObject* parent);
    ~ClientWindows() override;

    // Opens the page's request in a new client window, or refuses it with a log line.
    void open(QWebEnginePage& opener, QWebEngineNewWindowRequest& request);
    int openCount() const { return m_cap.openCount(); }

private:
    CCustomOccManager& m_siteFactory;
    Owner m_owner;
    quillo::ClientWindowCap m_cap;
};

#pragma once

#include "browser_windows/client_window_cap.h"

#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class CCustomOccManager;
class CWebBrowser2;
class QWebEngineNewWindowRequest;
class QWebEnginePage;

// A window that one of the chat service's pages opened for a page of its own (a chat apart, a
// report, a page to print): a browser of the client's, with its menu, keys, recovery and page
// services, in the run's profile and so in the operator's session. Titled after its page; it goes
// when the operator or its page (window.close()) closes it.
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

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void correctOuterGeometry();
    void noteFrame();

    CWebBrowser2* m_browser = nullptr;
    std::optional<QRect> m_pendingOuter;
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
    void open(const QWebEnginePage& opener, QWebEngineNewWindowRequest& request);
    int openCount() const { return m_cap.openCount(); }

private:
    struct Open {
        QPointer<ClientWindow> window;
        const QWebEnginePage* opener;
    };
    int openedBy(const QWebEnginePage* opener) const;

    CCustomOccManager& m_siteFactory;
    Owner m_owner;
    quillo::ClientWindowCap m_cap;
    std::vector<Open> m_open;
};

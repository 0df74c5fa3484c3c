#pragma once

#include "browser_features/context_menu.h"
#include "browser_features/zoom_levels.h"
#include "browser_host/browser_commands.h"
#include "browser_host/browser_services.h"
#include "browser_host/key_filter.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <optional>

class CWebBrowser2;
class QKeyEvent;
class QMenu;
class QWebChannel;
class QWebEnginePage;
class QWidget;

namespace quillo {
class ExternalBridge;
enum class CallRefusal;
} // namespace quillo

// Hosts one browser for a window and gives it the client's behaviour: its own context menu, the
// key filter, no border, and window.external for trusted pages. The container owns the site.
class CCustomControlSite final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CCustomControlSite)

public:
    // `services` outlives the site (the site factory keeps it for the run).
    CCustomControlSite(const quillo::BrowserServices& services, QWidget* container);
    ~CCustomControlSite() override;

    CWebBrowser2* browser() const { return m_browser; }

    // Shows the client's context menu at a screen point; its commands act on this browser.
    void ShowContextMenu(const QPoint& screenPos);
    // The menu shown last, while it is open; tests choose from it.
    QMenu* contextMenu() const;

    // What the menu's commands do.
    void onRefresh();
    void onBack();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void installExternalScripts();
    // What the engine says about where the context menu was asked for.
    quillo::MenuContext menuContext() const;
    void addSpellingLanguages(QMenu& menu);
    void routeCommand(quillo::BrowserCommand command);
    void watchKeys(QObject* widget);
    // Zoom as a browser's keys and Ctrl+wheel give it: `steps` up or down, or back to 100 %.
    bool handleZoomKey(const QKeyEvent& key);
    void zoomBy(int steps);
    void setZoom(double factor);
    // The level remembered for the page's origin, once it has loaded or moved to another address.
    void applyRememberedZoom();
    // Whether the frame of callerOrigin may call window.external now (the frame and its page
    // trusted, and its window not ended), or why not.
    std::optional<quillo::CallRefusal> mayCall(const QWebEnginePage& page, const QString& callerOrigin) const;

    const quillo::BrowserServices& m_services;
    CWebBrowser2* m_browser = nullptr;
    QWebChannel* m_channel = nullptr;
    quillo::ExternalBridge* m_bridge = nullptr;
    QPointer<QMenu> m_menu;
    quillo::KeyStateTracker m_keys;
    quillo::WheelNotches m_wheel;
};

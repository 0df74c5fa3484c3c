#pragma once

#include "page_services/page_marks.h"
#include "page_services/web_policy.h"

#include <QDir>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <functional>
#include <map>
#include <set>
#include <vector>

class QMessageBox;
class QWebEngineNewWindowRequest;
class QWebEnginePage;
class QWebEngineProfile;
class QWidget;

namespace quillo {
class ClientSettings;
}

namespace quillo::notify {
class PopupStack;
}

namespace quillo::network {
class NetworkAccess;
}

namespace quillo::page_services {

class DownloadManager;
class NewWindowHandoff;
class NotificationPresenter;
class PagePrinter;

// What a desktop browser does for the chat pages and the client did not: new windows go to the
// operator's browser, downloads are saved where the operator says, sound plays without a click,
// notifications and other permissions follow the trust rule of window.external. It lives as a
// child of the run's profile; every page of that profile is attached to it by its browser's site.
class PageServices final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageServices)

public:
    // Whether a page or origin is one of the chat service's; the same rule as window.external.
    using TrustRule = std::function<bool(const QUrl& origin)>;
    // The operator's main window, or null while there is none.
    using MainWindow = std::function<QWidget*()>;

    // settings: the client's own, for what the way to the service keeps; popups: the corner the
    // client's own notification card shares with the chat popup.
    PageServices(QWebEngineProfile& profile, ClientSettings& settings, TrustRule trusted,
                 MainWindow mainWindow, notify::PopupStack* popups);
    ~PageServices() override;

    // Hooks a page's new-window, print and permission requests; call once for each page of the
    // profile.
    void attachPage(QWebEnginePage& page);
    // A page is about to load url: a trusted origin gets the notification permission before its
    // first script asks, as the engine keeps no grant from one run to the next.
    void prepareLoad(QWebEnginePage& page, const QUrl& url);
    // Where the chat service's pages open their own windows; until set, they go to the desktop.
    void
    setClientWindowOpener(std::function<void(QWebEnginePage& opener, QWebEngineNewWindowRequest&)> opener);

    // Shows the pages' notifications; lives as long as this object.
    NotificationPresenter* notifications() const { return m_notifications; }

    // The operator's main window, or null while there is none.
    QWidget* mainWindow() const { return m_mainWindow ? m_mainWindow() : nullptr; }

    // An origin as the operator reads it in questions and in the log: scheme, host and port.
    static QString originText(const QUrl& origin);

    // Where a page's file chooser opens: the folder the operator last chose files in this run,
    // else the home folder.
    QString lastChosenFolder() const {
        return m_lastChosenFolder.isEmpty() ? QDir::homePath() : m_lastChosenFolder;
    }
    void setLastChosenFolder(const QString& folder) { m_lastChosenFolder = folder; }

    // The run's secret that marks the reports of the client's own script in a page: random for each
    // run, given to that script in its private world only.
    const QString& reportToken() const { return m_reportToken; }

    // A console message of a page: the client's report of a sound or video of a trusted frame that
    // failed to load or play (the engine says nothing of it), logged once per source for the run;
    // else the page's own line, warnings and errors logged as one line.
    void noteConsoleMessage(const QWebEnginePage& page, int level, const QString& message);

private:
    void onPermissionRequested(QWebEnginePage& page, const QUrl& origin, int feature);
    void askOperator(QWebEnginePage& page, const QUrl& origin, int feature, Permission permission);
    // The question for a permission, in the operator's language.
    static QString permissionQuestion(const QString& origin, Permission permission);
    void answerWaiting(const QUrl& origin, int feature, Permission permission, bool granted);
    QWidget* dialogParent(const QWebEnginePage* page) const;

    QWebEngineProfile& m_profile;
    TrustRule m_trusted;
    MainWindow m_mainWindow;
    PermissionPolicy m_permissions;
    // Pages waiting for the operator's answer, by origin and feature.
    std::map<std::pair<QString, int>, std::vector<QPointer<QWebEnginePage>>> m_waiting;
    // Origins granted notifications ahead of a load, so the log says it once.
    std::set<QString> m_grantedAhead;
    DownloadManager* m_downloads = nullptr;
    NotificationPresenter* m_notifications = nullptr;
    QString m_lastChosenFolder;
    OncePerSource m_mediaErrors;
    QString m_reportToken;
    NewWindowHandoff* m_newWindows = nullptr;
    PagePrinter* m_printer = nullptr;
    network::NetworkAccess* m_network = nullptr;
};

} // namespace quillo::page_services

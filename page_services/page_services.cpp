#include "page_services/page_services.h"

#include "network_access/network_access.h"
#include "page_services/download_manager.h"
#include "page_services/new_window_handoff.h"
#include "page_services/notification_presenter.h"
#include "page_services/page_printer.h"
#include "page_services/web_log.h"
#include "page_services/window_modality.h"

#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QWebEngineNotification>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

// What pages write on their consoles, under the engine's own name for it.
Q_LOGGING_CATEGORY(lcPageConsole, "js", QtWarningMsg)

namespace quillo::page_services {

namespace {

std::optional<Permission> permissionOf(QWebEnginePage::Feature feature) {
    switch (feature) {
    case QWebEnginePage::Notifications:
        return Permission::Notifications;
    case QWebEnginePage::Geolocation:
        return Permission::Geolocation;
    case QWebEnginePage::MediaAudioCapture:
        return Permission::Microphone;
    case QWebEnginePage::MediaVideoCapture:
        return Permission::Camera;
    case QWebEnginePage::MediaAudioVideoCapture:
        return Permission::CameraAndMicrophone;
    case QWebEnginePage::MouseLock:
        return Permission::MouseLock;
    case QWebEnginePage::DesktopVideoCapture:
        return Permission::ScreenSharing;
    case QWebEnginePage::DesktopAudioVideoCapture:
        return Permission::ScreenSharingWithAudio;
    }
    return std::nullopt;
}

} // namespace

PageServices::PageServices(QWebEngineProfile& profile, ClientSettings& settings, TrustRule trusted,
                           MainWindow mainWindow, notify::PopupStack* popups)
    : QObject(&profile)
    , m_profile(profile)
    , m_trusted(std::move(trusted))
    , m_mainWindow(std::move(mainWindow))
    , m_reportToken(QString::fromLatin1(QByteArray::number(QRandomGenerator::system()->generate64(), 16) +
                                        QByteArray::number(QRandomGenerator::system()->generate64(), 16))) {
    // An operator console's alert must sound even when the operator has not touched the page
    // since logging on.
    profile.settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    // An address the engine cannot load itself goes to the desktop only from the operator's click;
    // the page's acceptNavigationRequest() then lets only mail addresses through.
    profile.settings()->setUnknownUrlSchemePolicy(
        QWebEngineSettings::AllowUnknownUrlSchemesFromUserInteraction);
    // The engine's popup blocking: window.open() without the operator's click is refused inside
    // the engine, before it costs the client a window. What does come, the handoff decides.
    profile.settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    m_newWindows = new NewWindowHandoff([this](const QUrl& url) { return m_trusted(url); }, this);

    // Sign-in questions are modal to the page's window alone, as the permission questions are.
    m_network = new network::NetworkAccess(
        settings, [](QWidget& box, QWidget& window) { makeModalToWindowOnly(box, window); }, this);

    m_downloads =
        new DownloadManager([this](const QWebEnginePage* page) { return dialogParent(page); }, this);
    connect(&profile, &QWebEngineProfile::downloadRequested, m_downloads,
            &DownloadManager::onDownloadRequested);

    // A print to a file is offered where downloads go, in the folder made as they make it.
    m_printer = new PagePrinter(
        m_mainWindow, [this] { return m_downloads->downloadFolder(); }, this);

    m_notifications = new NotificationPresenter(m_trusted, m_mainWindow, popups, this);
    profile.setNotificationPresenter([presenter = QPointer<NotificationPresenter>(m_notifications)](
                                         std::unique_ptr<QWebEngineNotification> notification) {
        if (presenter)
            presenter->present(std::move(notification));
    });
}

// Nothing to undo on the profile: it deletes this while it is itself being destroyed, when it
// must not be called; its notification hook checks that the presenter is still there.
PageServices::~PageServices() = default;

QString PageServices::originText(const QUrl& origin) {
    return origin.toDisplayString(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment |
                                  QUrl::StripTrailingSlash);
}

void PageServices::setClientWindowOpener(
    std::function<void(QWebEnginePage& opener, QWebEngineNewWindowRequest&)> opener) {
    m_newWindows->setClientWindowOpener(std::move(opener));
}

void PageServices::attachPage(QWebEnginePage& page) {
    m_newWindows->attachPage(page);
    m_printer->attachPage(page);
    m_network->attachPage(page);
    prepareLoad(page, page.requestedUrl());
    connect(&page, &QWebEnginePage::urlChanged, this,
            [this, page = &page](const QUrl& url) { prepareLoad(*page, url); });
    connect(&page, &QWebEnginePage::featurePermissionRequested, this,
            [this, page = &page](const QUrl& origin, QWebEnginePage::Feature feature) {
                onPermissionRequested(*page, origin, feature);
            });
}

void PageServices::prepareLoad(QWebEnginePage& page, const QUrl& url) {
    if (!url.isValid() || !m_trusted(url))
        return;
    const QUrl origin =
        url.adjusted(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment);
    page.setFeaturePermission(origin, QWebEnginePage::Notifications, QWebEnginePage::PermissionGrantedByUser);
    if (m_grantedAhead.insert(originText(origin)).second)
        qCInfo(lcWeb) << "permission" << QWebEnginePage::Notifications << "granted to" << originText(origin)
                      << "ahead of its load (trusted)";
}

void PageServices::onPermissionRequested(QWebEnginePage& page, const QUrl& origin, int feature) {
    const auto qtFeature = QWebEnginePage::Feature(feature);
    const std::optional<Permission> permission = permissionOf(qtFeature);
    const bool trusted = m_trusted(origin);
    const PermissionAnswer answer =
        permission ? m_permissions.request(originText(origin).toStdString(), *permission, trusted)
                   : PermissionAnswer::Deny;
    switch (answer) {
    case PermissionAnswer::Grant:
    case PermissionAnswer::Deny: {
        const bool granted = answer == PermissionAnswer::Grant;
        page.setFeaturePermission(origin, qtFeature,
                                  granted ? QWebEnginePage::PermissionGrantedByUser
                                          : QWebEnginePage::PermissionDeniedByUser);
        qCInfo(lcWeb) << "permission" << qtFeature << (granted ? "granted to" : "denied to")
                      << originText(origin) << (trusted ? "(trusted)" : "(not trusted)");
        break;
    }
    case PermissionAnswer::AskOperator:
        m_waiting[{originText(origin), feature}].emplace_back(&page);
        askOperator(page, origin, feature, *permission);
        break;
    case PermissionAnswer::AwaitOperator:
        m_waiting[{originText(origin), feature}].emplace_back(&page);
        break;
    }
}

void PageServices::askOperator(QWebEnginePage& page, const QUrl& origin, int feature, Permission permission) {
    qCInfo(lcWeb) << "permission" << QWebEnginePage::Feature(feature) << "for" << originText(origin)
                  << "put to the operator";
    // Not modal to the application: the page and the client go on while the question waits.
    auto* box = new QMessageBox(QMessageBox::Question, tr("Permission request"),
                                permissionQuestion(originText(origin), permission), QMessageBox::NoButton,
                                dialogParent(&page));
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* allow = box->addButton(tr("Allow"), QMessageBox::AcceptRole);
    QPushButton* deny = box->addButton(tr("Deny"), QMessageBox::RejectRole);
    // Enter or Escape alone never grants anything.
    box->setDefaultButton(deny);
    box->setEscapeButton(deny);
    connect(box, &QMessageBox::finished, this, [this, box, allow, origin, feature, permission] {
        answerWaiting(origin, feature, permission, box->clickedButton() == allow);
    });
    if (QWidget* window = box->parentWidget())
        makeModalToWindowOnly(*box, *window);
    box->show();
}

QString PageServices::permissionQuestion(const QString& origin, Permission permission) {
    // Whole sentences, so each language can put the origin where it belongs.
    switch (permission) {
    case Permission::Notifications:
        //: %1 is the page's origin, e.g. https://chat.example
        return tr("%1 asks to show notifications. Allow it?").arg(origin);
    case Permission::Geolocation:
        //: %1 is the page's origin, e.g. https://chat.example
        return tr("%1 asks to know your location. Allow it?").arg(origin);
    case Permission::Microphone:
        //: %1 is the page's origin, e.g. https://chat.example
        return tr("%1 asks to use your microphone. Allow it?").arg(origin);
    case Permission::Camera:
        //: %1 is the page's origin, e.g. https://chat.example
        return tr("%1 asks to use your camera. Allow it?").arg(origin);
    case Permission::CameraAndMicrophone:
        //: %1 is the page's origin, e.g. https://chat.example
        return tr("%1 asks to use your camera and microphone. Allow it?").arg(origin);
    case Permission::MouseLock:
        //: %1 is the page's origin, e.g. https://chat.example
        return tr("%1 asks to lock your mouse pointer. Allow it?").arg(origin);
    case Permission::ScreenSharing:
        //: %1 is the page's origin, e.g. https://chat.example
        return tr("%1 asks to share your screen. Allow it?").arg(origin);
    case Permission::ScreenSharingWithAudio:
        //: %1 is the page's origin, e.g. https://chat.example
        return tr("%1 asks to share your screen and its sound. Allow it?").arg(origin);
    }
    //: %1 is the page's origin, e.g. https://chat.example
    return tr("%1 asks to use a feature of your computer. Allow it?").arg(origin);
}

void PageServices::answerWaiting(const QUrl& origin, int feature, Permission permission, bool granted) {
    const QString text = originText(origin);
    m_permissions.answer(text.toStdString(), permission, granted);
    qCInfo(lcWeb) << "permission" << QWebEnginePage::Feature(feature)
                  << (granted ? "granted to" : "denied to") << text << "by the operator";
    const auto waiting = m_waiting.find({text, feature});
    if (waiting == m_waiting.end())
        return;
    const std::vector<QPointer<QWebEnginePage>> pages = std::move(waiting->second);
    m_waiting.erase(waiting);
    for (const QPointer<QWebEnginePage>& page : pages) {
        if (page)
            page->setFeaturePermission(origin, QWebEnginePage::Feature(feature),
                                       granted ? QWebEnginePage::PermissionGrantedByUser
                                               : QWebEnginePage::PermissionDeniedByUser);
    }
}

void PageServices::noteConsoleMessage(const QWebEnginePage& page, int level, const QString& message) {
    const std::optional<MediaErrorReport> report =
        parseMediaErrorReport(message.toStdString(), m_reportToken.toStdString());
    if (!report) {
        // The page's own line, as the engine would log it, but never more than one line of the log.
        if (level != QWebEnginePage::InfoMessageLevel)
            qCWarning(lcPageConsole).noquote() << originText(page.url()) << logged(message);
        return;
    }
    // Only the client's script, in a trusted frame, knows the token; the frame is judged again here.
    const QUrl frame(QString::fromStdString(report->frameOrigin));
    if (!m_trusted(frame) || !m_mediaErrors.first(report->source))
        return;
    qCInfo(lcWeb).noquote() << "media of" << originText(frame)
                            << "failed:" << logged(QString::fromStdString(report->source))
                            << u'(' + QString::fromUtf8(mediaErrorName(report->code)) + u')'
                            << logged(QString::fromStdString(report->message));
}

QWidget* PageServices::dialogParent(const QWebEnginePage* page) const {
    if (page != nullptr) {
        if (QWebEngineView* view = QWebEngineView::forPage(page))
            return view->window();
    }
    return mainWindow();
}

} // namespace quillo::page_services

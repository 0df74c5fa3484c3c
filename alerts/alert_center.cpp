#include "alerts/alert_center.h"

#include "alerts/alert_log.h"
#include "alerts/alert_sound_player.h"
#include "alerts/sound_setting.h"
#include "platform/launcher_entry.h"
#include "resources/resource_loader.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QWidget>

#include <array>
#include <utility>

namespace quillo::alerts {

namespace {

constexpr std::array<std::pair<SoundMode, const char*>, 3> kSoundChoices{{
    // Mnemonics apart from the window menu's own (Restore, Minimize, Maximize, Close, About).
    {SoundMode::Off, QT_TRANSLATE_NOOP("quillo::alerts::AlertCenter", "Alert sound: O&ff")},
    {SoundMode::Once, QT_TRANSLATE_NOOP("quillo::alerts::AlertCenter", "Alert sound: &Once")},
    {SoundMode::Repeat, QT_TRANSLATE_NOOP("quillo::alerts::AlertCenter", "Alert sound: Rep&eat")},
}};

QString launcherAppUri() {
    return QString::fromLatin1(kLauncherAppUri.data(), qsizetype(kLauncherAppUri.size()));
}

} // namespace

AlertCenter::AlertCenter(ClientSettings& settings, Console console, QObject* parent)
    : QObject(parent)
    , m_console(std::move(console))
    , m_settings(settings)
    , m_sound(readSoundMode(m_settings))
    , m_icon(res::loadAppIcon()) {
    m_clock.start();
    m_repeat.setSingleShot(true);
    m_repeat.setTimerType(Qt::PreciseTimer);
    connect(&m_repeat, &QTimer::timeout, this, &AlertCenter::onRepeatDue);
    m_player = new AlertSoundPlayer(this);

    m_soundChoices = new QActionGroup(this);
    m_soundChoices->setExclusive(true);
    for (const auto& [mode, text] : kSoundChoices) {
        QAction* choice = m_soundChoices->addAction(tr(text));
        choice->setCheckable(true);
        choice->setData(int(mode));
        choice->setChecked(mode == m_sound.mode());
        connect(choice, &QAction::triggered, this, [this, mode = mode] { setSoundMode(mode); });
    }
    m_acceptAction = new QAction(tr("Acce&pt chat request"), this);
    m_acceptAction->setShortcut(QKeySequence(QString::fromLatin1(kAcceptShortcut)));
    // Any window of the client will do: the secondary windows and boxes too.
    m_acceptAction->setShortcutContext(Qt::ApplicationShortcut);
    connect(m_acceptAction, &QAction::triggered, this, &AlertCenter::acceptNewest);

    // Input anywhere in the client: the operator is there.
    qApp->installEventFilter(this);

    createTray();
    // Docks may remember a count from an earlier run that ended without clearing it.
    waitingChanged();
}

AlertCenter::~AlertCenter() {
    // Requests that still wait end with the client; a dock must not keep showing them.
    if (m_waiting.count() > 0)
        sendLauncherEntry(launcherAppUri(), 0, false, false);
}

void AlertCenter::createTray() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        qCInfo(lcAlerts) << "no system tray: no tray icon";
        return;
    }
    m_trayMenu = std::make_unique<QMenu>();
    m_trayMenu->addAction(tr("&Show Quillo"), this, [this] { m_console.show(); });
    m_trayMenu->addSeparator();
    m_trayMenu->addActions(m_soundChoices->actions());
    m_trayMenu->addAction(m_acceptAction);
    if (m_console.preferences)
        m_trayMenu->addAction(tr("P&references…"), this, [this] { m_console.preferences(); });
    m_trayMenu->addSeparator();
    m_trayMenu->addAction(tr("&Quit"), this, [this] { m_console.quit(); });

    m_tray = std::make_unique<QSystemTrayIcon>(m_icon);
    m_tray->setContextMenu(m_trayMenu.get());
    connect(m_tray.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                    m_console.show();
            });
    m_tray->show();
}

void AlertCenter::onRequestShown() {
    if (m_waiting.onShown())
        waitingChanged();
    request(SoundRules::kFixedRequest);
}

void AlertCenter::onPopupEnded(notify::PopupEnd end) {
    bool changed = false;
    switch (end) {
    case notify::PopupEnd::Accepted:
        changed = m_waiting.onAccepted();
        answered("the chat request was accepted");
        break;
    case notify::PopupEnd::Declined:
        changed = m_waiting.onClosed();
        answered("the chat popup was closed");
        break;
    case notify::PopupEnd::TimedOut:
        // Nobody answered: the request still waits and a repeating sound goes on.
        changed = m_waiting.onDisplayOver();
        break;
    }
    if (changed)
        waitingChanged();
}

void AlertCenter::onNotificationShown(quint64 key) {
    if (m_waiting.onNotificationShown(key))
        waitingChanged();
    request(key);
}

void AlertCenter::onNotificationClicked(quint64 key) {
    if (m_waiting.onNotificationEnded(key))
        waitingChanged();
    answered("a page's notification was clicked");
}

void AlertCenter::onNotificationClosedByPage(quint64 key) {
    if (m_waiting.onNotificationEnded(key))
        waitingChanged();
    const bool wasDue = m_sound.nextDue().has_value();
    m_sound.onWithdrawn(key);
    repeatEnded(wasDue, "the page closed its notification");
}

void AlertCenter::onNotificationGone(quint64 key) {
    if (m_waiting.onNotificationEnded(key))
        waitingChanged();
}

void AlertCenter::watchConsole(QWidget& console) {
    // The application's filter sees the console's events too.
    m_consoleWindow = &console;
}

bool AlertCenter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ActivationChange:
        if (watched == m_consoleWindow.data() && m_consoleWindow->isActiveWindow()) {
            if (m_waiting.onConsoleActivated())
                waitingChanged();
            answered("the console was activated");
        }
        break;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
        // One press reaches several objects on its way; only the first finds a repeat to stop.
        if (m_repeat.isActive())
            answered(event->type() == QEvent::KeyPress ? "a key press in the client"
                                                       : "a mouse press in the client");
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void AlertCenter::setSoundMode(SoundMode mode) {
    for (QAction* choice : m_soundChoices->actions())
        choice->setChecked(choice->data().toInt() == int(mode));
    if (mode == m_sound.mode())
        return;
    const bool wasDue = m_sound.nextDue().has_value();
    m_sound.setMode(mode);
    repeatEnded(wasDue, "the sound's mode changed");
    // A failed write is logged by the settings.
    writeSoundMode(m_settings, mode);
    qCInfo(lcAlerts) << "alert sound:" << formatSoundMode(mode).data();
    emit soundModeChanged(mode);
}

void AlertCenter::testSound() {
    qCInfo(lcAlerts) << "alert sound tested";
    m_player->play();
}

void AlertCenter::acceptNewest() {
    const WaitingRequests::NewestRequest newest = m_waiting.newest();
    switch (newest.kind) {
    case WaitingRequests::Newest::None:
        qCInfo(lcAlerts) << "accept from the keyboard: no chat request waits";
        return;
    case WaitingRequests::Newest::ChatOnPopup:
        // The popup's own accept, which reports back through onPopupEnded().
        m_console.acceptOnPopup();
        return;
    case WaitingRequests::Newest::ChatInConsole:
        // The popup is gone but its request still waits: the console accepts it.
        if (m_waiting.onAccepted())
            waitingChanged();
        answered("the chat request was accepted");
        m_console.acceptInConsole();
        return;
    case WaitingRequests::Newest::Notification:
        // The page's onclick answers it, as a click on the notification would; the click reports
        // back through onNotificationClicked().
        if (!m_console.clickNotification(newest.key)) {
            qCInfo(lcAlerts) << "accept from the keyboard: the page's notification is gone";
            onNotificationGone(newest.key);
        }
        return;
    }
}

void AlertCenter::addMenuItems(QMenu& menu) const {
    menu.addSeparator();
    menu.addActions(m_soundChoices->actions());
    menu.addAction(m_acceptAction);
}

void AlertCenter::request(SoundRules::RequestKey key) {
    if (m_sound.onRequest(m_clock.elapsed(), key))
        m_player->play();
    scheduleRepeat();
}

void AlertCenter::answered(const char* why) {
    const bool wasDue = m_sound.nextDue().has_value();
    m_sound.onAnswered();
    repeatEnded(wasDue, why);
}

void AlertCenter::repeatEnded(bool wasDue, const char* why) {
    if (wasDue && !m_sound.nextDue())
        qCInfo(lcAlerts) << "alert sound: repeat stopped:" << why;
    scheduleRepeat();
}

void AlertCenter::scheduleRepeat() {
    const std::optional<TimeMs> due = m_sound.nextDue();
    if (!due) {
        m_repeat.stop();
        return;
    }
    m_repeat.start(int(std::max<TimeMs>(0, *due - m_clock.elapsed())));
}

void AlertCenter::onRepeatDue() {
    if (m_sound.onTick(m_clock.elapsed()))
        m_player->play();
    repeatEnded(true, "its time limit was reached");
}

void AlertCenter::waitingChanged() {
    const int count = m_waiting.count();
    if (m_tray) {
        m_tray->setIcon(m_waiting.attention() ? attentionIcon(count) : m_icon);
        m_tray->setToolTip(QString::fromStdString(m_waiting.tooltip()));
    }
    const LauncherEntry entry = m_waiting.launcherEntry();
    if (!sendLauncherEntry(launcherAppUri(), entry.count, entry.countVisible, entry.urgent) &&
        !m_launcherFailureLogged) {
        m_launcherFailureLogged = true;
        qCInfo(lcAlerts) << "no session bus: docks are not told how many chat requests wait";
    }
}

QIcon AlertCenter::attentionIcon(int count) const {
    // The tray cannot be asked for attention through Qt, so the icon itself changes: the program's
    // icon with a red badge that carries the count.
    constexpr int kSize = 64;
    QPixmap pixmap = m_icon.pixmap(kSize, kSize);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF badge(kSize * 0.4, kSize * 0.4, kSize * 0.6, kSize * 0.6);
    painter.setPen(QPen(Qt::white, 3));
    painter.setBrush(QColor(220, 30, 30));
    painter.drawEllipse(badge);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(int(badge.height() * 0.6));
    painter.setFont(font);
    painter.drawText(badge, Qt::AlignCenter, count > 9 ? QStringLiteral("9+") : QString::number(count));
    painter.end();
    return QIcon(pixmap);
}

} // namespace quillo::alerts

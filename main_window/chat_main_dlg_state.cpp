#include "main_window/chat_main_dlg.h"

#include "main_window/window_state.h"
#include "settings/client_settings.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString kStateKey = u"mainWindow/state"_s;

// The present screens, the primary one first, as the restore decides on them.
std::vector<quillo::ScreenArea> presentScreens() {
    std::vector<quillo::ScreenArea> screens;
    QList<QScreen*> all = QGuiApplication::screens();
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        all.removeAll(primary);
        all.prepend(primary);
    }
    for (const QScreen* screen : all) {
        const QRect area = screen->availableGeometry();
        screens.push_back({screen->name().toStdString(), {area.x(), area.y(), area.width(), area.height()}});
    }
    return screens;
}

} // namespace

void CChatMainDlg::restoreWindowState() {
    const QString text =
        m_clientSettings != nullptr ? m_clientSettings->value(kStateKey).toString() : QString();
    const std::optional<quillo::SavedWindowState> saved = quillo::parseWindowState(text.toStdString());
    if (!saved && !text.isEmpty())
        qCWarning(lcMainWindow) << "saved window state unreadable, keeping the first-run place:" << text;
    const std::vector<quillo::ScreenArea> screens = presentScreens();
    const quillo::WindowSize minimum{std::max(quillo::kMinimumWindowSize.width, minimumWidth()),
                                     std::max(quillo::kMinimumWindowSize.height, minimumHeight())};
    const std::optional<quillo::RestoredWindowState> restored =
        quillo::restoreWindowState(saved, screens, minimum);
    if (!restored) {
        // The first run: the template's size in the middle of the primary screen's work area,
        // centred here since the dialog's own centring allows for a frame this window lacks.
        if (!screens.empty()) {
            const quillo::Rect& area = screens.front().available;
            move(area.x + (area.width - width()) / 2, area.y + (area.height - height()) / 2);
        }
        return;
    }
    const quillo::Rect& r = restored->normal;
    // Placed before it is shown, so the dialog does not centre it, and maximised on that screen.
    setGeometry(r.x, r.y, r.width, r.height);
    if (restored->maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void CChatMainDlg::saveWindowState() const {
    if (m_clientSettings == nullptr)
        return;
    const QRect normal = isMaximized() || isMinimized() || isFullScreen() ? normalGeometry() : geometry();
    if (normal.isEmpty())
        return;
    const QScreen* on = screen();
    const quillo::SavedWindowState state{{normal.x(), normal.y(), normal.width(), normal.height()},
                                         isMaximized(),
                                         on != nullptr ? on->name().toStdString() : std::string()};
    // A failed write is logged by the settings.
    m_clientSettings->setValue(kStateKey, QString::fromStdString(quillo::formatWindowState(state)));
}

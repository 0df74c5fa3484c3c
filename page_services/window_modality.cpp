#include "page_services/window_modality.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QShortcut>
#include <QWidget>
#include <QWindow>

namespace quillo::page_services {
namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

class WindowInputBlock final : public QObject {
public:
    WindowInputBlock(QWidget& blocked, QWidget& box)
        : QObject(&box)
        , m_blocked(&blocked)
        , m_box(box) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_blocked.isNull() || !isUserInput(event->type()) || !belongsToBlocked(watched))
            return false;
        if (event->type() == QEvent::MouseButtonPress) {
            m_box.raise();
            m_box.activateWindow();
        }
        return true;
    }

private:
    bool belongsToBlocked(QObject* watched) const {
        if (auto* window = qobject_cast<QWindow*>(watched))
            return window == m_blocked->windowHandle();
        if (auto* widget = qobject_cast<QWidget*>(watched))
            return widget->window() == m_blocked;
        if (auto* shortcut = qobject_cast<QShortcut*>(watched)) {
            const auto* owner = qobject_cast<QWidget*>(shortcut->parent());
            return owner != nullptr && owner->window() == m_blocked;
        }
        return false;
    }

    QPointer<QWidget> m_blocked;
    QWidget& m_box;
};

} // namespace

void makeModalToWindowOnly(QWidget& box, QWidget& window) {
    box.setWindowModality(Qt::NonModal);
    new WindowInputBlock(*window.window(), box); // owned by the box
}

} // namespace quillo::page_services

#include "notification/popup_accessible.h"

#include "notification/chat_notify_dlg.h"

#include <QAccessibleWidget>

namespace quillo::notify {
namespace {

class AcceptAreaAccessible final : public QAccessibleWidget {
public:
    explicit AcceptAreaAccessible(AcceptArea* area)
        : QAccessibleWidget(area, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& actionName) override {
        // A press on a hidden popup would accept a request that is no longer shown.
        if (actionName == pressAction() && widget()->isVisible())
            emit static_cast<AcceptArea*>(widget())->pressed();
    }
};

QAccessibleInterface* popupAccessible(const QString&, QObject* object) {
    if (auto* area = qobject_cast<AcceptArea*>(object))
        return new AcceptAreaAccessible(area);
    // Qt on Linux passes no alert event on to assistive technology; a window of the alert role
    // that shows is announced with its name and description instead.
    if (auto* popup = qobject_cast<CChatNotifyDlg*>(object))
        return new QAccessibleWidget(popup, QAccessible::AlertMessage);
    return nullptr;
}

} // namespace

AcceptArea::AcceptArea(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

AcceptArea::~AcceptArea() = default;

void installPopupAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(popupAccessible);
        return true;
    }();
    (void)installed;
}

} // namespace quillo::notify

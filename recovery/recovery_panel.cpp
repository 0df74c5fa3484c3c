#include "recovery/recovery_panel.h"

#include "recovery/recovery_policy.h"
#include "resources/resource_loader.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillo {

RecoveryPanel::RecoveryPanel(QWidget& covered)
    : QWidget(&covered) {
    setObjectName(QStringLiteral("recoveryPanel"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(res::loadText(QStringLiteral(":/recovery/recovery_panel.qss")));
    auto* layout = new QVBoxLayout(this);
    layout->setAlignment(Qt::AlignCenter);
    layout->setSpacing(12);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("recoveryTitle"));
    m_what = new QLabel(this);
    m_what->setWordWrap(true);
    m_countdown = new QLabel(this);
    m_countdown->setObjectName(QStringLiteral("recoveryCountdown"));
    m_button = new QPushButton(this);
    connect(m_button, &QPushButton::clicked, this, &RecoveryPanel::tryNowClicked);
    for (QLabel* label : {m_title, m_what, m_countdown}) {
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText);
        layout->addWidget(label);
    }
    layout->addWidget(m_button, 0, Qt::AlignCenter);
    hide();
    covered.installEventFilter(this);
}

RecoveryPanel::~RecoveryPanel() = default;

void RecoveryPanel::setTexts(const RecoveryText& text) {
    m_title->setText(QString::fromStdString(text.title));
    m_what->setText(QString::fromStdString(text.what));
    m_countdown->setText(QString::fromStdString(text.countdown));
    m_button->setText(QString::fromStdString(text.button));
}

QStringList RecoveryPanel::texts() const {
    return {m_title->text(), m_what->text(), m_countdown->text(), m_button->text()};
}

void RecoveryPanel::showOver() {
    setGeometry(parentWidget()->rect());
    raise();
    show();
    const QWidget* focused = window()->focusWidget();
    if (focused == parentWidget() || (parentWidget()->isAncestorOf(focused) && !isAncestorOf(focused)))
        m_button->setFocus(Qt::OtherFocusReason);
}

void RecoveryPanel::setVisible(bool visible) {
    const bool hadKeyboard = !visible && isAncestorOf(window()->focusWidget());
    QWidget::setVisible(visible);
    if (hadKeyboard)
        parentWidget()->setFocus(Qt::OtherFocusReason);
}

bool RecoveryPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

} // namespace quillo

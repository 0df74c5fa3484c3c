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
    // Centred by stretches rather than by the layout's alignment: an aligned label keeps its
    // narrow preferred width and wraps a long sentence (a long address, a longer language) early.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(12);
    layout->addStretch();
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("recoveryTitle"));
    m_what = new QLabel(this);
    m_countdown = new QLabel(this);
    m_countdown->setObjectName(QStringLiteral("recoveryCountdown"));
    m_button = new QPushButton(this);
    connect(m_button, &QPushButton::clicked, this, &RecoveryPanel::tryNowClicked);
    for (QLabel* label : {m_title, m_what, m_countdown}) {
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText);
        // A narrow browser window wraps a title too, rather than cutting it off.
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    layout->addWidget(m_button, 0, Qt::AlignCenter);
    layout->addStretch();
    hide();
    covered.installEventFilter(this);
}

RecoveryPanel::~RecoveryPanel() = default;

void RecoveryPanel::setTexts(const RecoveryTexts& texts) {
    m_title->setText(texts.title);
    m_what->setText(texts.what);
    m_countdown->setText(texts.countdown);
    m_countdown->setVisible(!texts.countdown.isEmpty());
    m_button->setText(texts.button);
}

RecoveryTexts RecoveryPanel::textsFor(const RecoveryNotice& notice) {
    RecoveryTexts texts;
    const QString address = QString::fromStdString(notice.address);
    texts.title = notice.serviceDown ? tr("Can't reach the chat service") : tr("The page stopped");
    switch (notice.reason) {
    case RecoveryReason::RendererCrashed:
        texts.what = tr("The page's renderer crashed.");
        break;
    case RecoveryReason::RendererKilled:
        texts.what = tr("The page's renderer was ended by the system.");
        break;
    case RecoveryReason::RendererEnded:
        texts.what = tr("The page's renderer ended unexpectedly.");
        break;
    case RecoveryReason::PageHung:
        texts.what = tr("The page stopped answering and was ended.");
        break;
    case RecoveryReason::Unreachable:
        //: %1 is the address of the chat service's page.
        texts.what = tr("%1 does not answer.").arg(address);
        break;
    case RecoveryReason::Unavailable:
        //: %1 is the address of the chat service's page.
        texts.what = tr("%1 is not available at the moment.").arg(address);
        break;
    case RecoveryReason::Refused:
        //: %1 is the address of the page.
        texts.what = tr("%1 was not loaded.").arg(address);
        break;
    }
    const int seconds = notice.secondsLeft;
    if (notice.serviceDown) {
        texts.countdown = seconds <= 0   ? tr("Trying again now...")
                          : seconds == 1 ? tr("Trying again in 1 second.")
                                         //: %1 is a number of seconds, 2 or more.
                                         : tr("Trying again in %1 seconds.").arg(seconds);
        texts.button = tr("Try now");
    } else {
        texts.countdown = seconds <= 0   ? tr("Loading it again now...")
                          : seconds == 1 ? tr("Loading it again in 1 second.")
                                         //: %1 is a number of seconds, 2 or more.
                                         : tr("Loading it again in %1 seconds.").arg(seconds);
        texts.button = tr("Reload now");
    }
    return texts;
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

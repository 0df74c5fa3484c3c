#include "notification/web_notification_card.h"

#include "notification/notify_text.h"
#include "resources/qt_rgb.h"
#include "resources/resource_loader.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillo::notify {

namespace {
constexpr int kIconSize = 32;
} // namespace

WebNotificationCard::WebNotificationCard(PopupStack* stack)
    : SlideUpCard(stack, Stacking::AboveBaseCard, kWindowTitle) {
    setObjectName(QStringLiteral("card"));
    setStyleSheet(QStringLiteral("#card { background: %1; border: 1px solid %2; }"
                                 "QLabel { color: %2; font-family: %3; font-size: %4pt; }"
                                 "QLabel#title { color: %5; font-weight: bold; }")
                      .arg(toQColor(kTextAreaBackground).name(), toQColor(kTextColour).name(),
                           QString::fromLatin1(kTextFace), QString::number(kTextPointSize + 1),
                           toQColor(kLastFieldColour).name()));
    setAttribute(Qt::WA_StyledBackground);

    m_icon = new QLabel(this);
    m_icon->setObjectName(QStringLiteral("icon"));
    m_icon->setPixmap(res::loadAppIcon().pixmap(kIconSize, kIconSize));
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("title"));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setWordWrap(true);
    m_body = new QLabel(this);
    m_body->setTextFormat(Qt::PlainText);
    m_body->setWordWrap(true);
    m_body->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // A card that stays needs a way out that is not the page's action.
    auto* close = new QToolButton(this);
    close->setObjectName(QStringLiteral("close"));
    close->setText(QStringLiteral("\u00d7"));
    close->setAutoRaise(true);
    close->setFocusPolicy(Qt::NoFocus);
    close->setAccessibleName(tr("Close"));
    connect(close, &QToolButton::clicked, this, &WebNotificationCard::dismiss);

    auto* header = new QHBoxLayout;
    header->addWidget(m_icon, 0, Qt::AlignTop);
    header->addWidget(m_title, 1);
    header->addWidget(close, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(header);
    layout->addWidget(m_body, 1);
    // Clicks on the texts count as clicks on the card.
    for (QLabel* label : {m_icon, m_title, m_body})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
}

WebNotificationCard::~WebNotificationCard() = default;

void WebNotificationCard::showText(const QString& title, const QString& body, const QPixmap& icon,
                                   bool stays) {
    m_icon->setPixmap((icon.isNull() ? res::loadAppIcon().pixmap(kIconSize, kIconSize) : icon)
                          .scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_title->setText(title);
    m_body->setText(body);
    startDisplay(stays);
}

void WebNotificationCard::dismiss() {
    // Reported as the end of its time would be: dismissed, not clicked.
    endDisplay(PopupEnd::TimedOut);
}

void WebNotificationCard::displayEnded(PopupEnd end) {
    if (end == PopupEnd::TimedOut)
        emit dismissed();
    else
        emit clicked();
}

} // namespace quillo::notify

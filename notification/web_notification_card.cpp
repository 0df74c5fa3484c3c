#include "notification/web_notification_card.h"

#include "notification/notify_text.h"
#include "resources/qt_rgb.h"
#include "resources/resource_loader.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace quillo::notify {

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

    auto* icon = new QLabel(this);
    icon->setPixmap(res::loadAppIcon().pixmap(32, 32));
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("title"));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setWordWrap(true);
    m_body = new QLabel(this);
    m_body->setTextFormat(Qt::PlainText);
    m_body->setWordWrap(true);
    m_body->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* header = new QHBoxLayout;
    header->addWidget(icon, 0, Qt::AlignTop);
    header->addWidget(m_title, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(header);
    layout->addWidget(m_body, 1);
    // Clicks on the texts count as clicks on the card.
    for (QLabel* label : {icon, m_title, m_body})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
}

WebNotificationCard::~WebNotificationCard() = default;

void WebNotificationCard::showText(const QString& title, const QString& body) {
    m_title->setText(title);
    m_body->setText(body);
    startDisplay();
}

void WebNotificationCard::displayEnded(PopupEnd end) {
    if (end == PopupEnd::TimedOut)
        emit dismissed();
    else
        emit clicked();
}

} // namespace quillo::notify

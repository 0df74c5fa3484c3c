#include "notification/chat_notify_dlg.h"

#include "notification/popup_accessible.h"

#include "resources/qt_rgb.h"
#include "resources/resource_ids.h"
#include "resources/resource_loader.h"

#include <QAccessible>
#include <QPainter>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

using namespace quillo;

const QRect CChatNotifyDlg::kTextAreaRect{QPoint(5, 45), QPoint(187, 88)};
const QRect CChatNotifyDlg::kAcceptAreaRect{QPoint(30, 85), QPoint(96, 116)};

CChatNotifyDlg::CChatNotifyDlg(notify::PopupStack* stack)
    : SlideUpCard(stack, Stacking::OnBaseLine, kWindowTitle)
    , m_background(res::loadBitmap(res::IDB_POPUP_BACKGROUND)) {
    // A text edit accepts the clicks on it, so they never count as clicks on the card.
    m_richText = new QTextEdit(this);
    m_richText->setGeometry(kTextAreaRect);
    m_richText->setFrameStyle(QFrame::NoFrame);
    m_richText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_richText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_richText->setAcceptRichText(false);
    m_richText->document()->setDocumentMargin(1);
    QPalette palette = m_richText->palette();
    palette.setColor(QPalette::Base, toQColor(notify::kTextAreaBackground));
    palette.setColor(QPalette::Text, toQColor(notify::kTextColour));
    m_richText->setPalette(palette);
    m_richText->viewport()->setAutoFillBackground(true);

    notify::installPopupAccessibility();
    setAccessibleName(tr("Chat request"));
    auto* acceptArea = new notify::AcceptArea(this);
    acceptArea->setGeometry(kAcceptAreaRect);
    acceptArea->setAccessibleName(tr("Accept chat"));
    connect(acceptArea, &notify::AcceptArea::pressed, this, &CChatNotifyDlg::accept);
}

CChatNotifyDlg::~CChatNotifyDlg() = default;

bool CChatNotifyDlg::ShowNotification(std::string record) {
    setText(notify::composeNotifyText(record));
    const QString shown = m_richText->toPlainText();
    // Before the window shows: its showing is announced with what it says.
    setAccessibleDescription(shown);
    // A card that shows already shows again for a new request, so that request is announced too.
    if (isVisible()) {
        QAccessibleEvent event(this, QAccessible::ObjectShow);
        QAccessible::updateAccessibility(&event);
    }
    startDisplay();
    emit requestShown(shown);
    return true;
}

void CChatNotifyDlg::setText(const notify::NotifyText& text) {
    m_richText->setPlainText(QString::fromUtf8(text.text.data(), static_cast<qsizetype>(text.text.size())));

    QTextCursor cursor(m_richText->document());
    cursor.select(QTextCursor::Document);
    QTextCharFormat base;
    base.setForeground(toQColor(notify::kTextColour));
    base.setFontFamilies({QString::fromLatin1(notify::kTextFace)});
    base.setFontPointSize(notify::kTextPointSize);
    cursor.mergeCharFormat(base);

    for (const auto& span : {text.waitingSpan, text.lastFieldSpan}) {
        if (!span)
            continue;
        cursor.setPosition(span->position);
        cursor.setPosition(span->position + span->positionLength, QTextCursor::KeepAnchor);
        QTextCharFormat colour;
        colour.setForeground(toQColor(span->colour));
        cursor.mergeCharFormat(colour);
    }
    // The widget's own cursor stays unselected: an unfocused rich edit hides its selection, Qt
    // would paint it over the coloured span.
}

void CChatNotifyDlg::displayEnded(notify::PopupEnd end) {
    emit requestEnded(end);
    emit chatPopupClosed(end == notify::PopupEnd::Accepted);
}

void CChatNotifyDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(notify::kTextAreaBackground));
    painter.drawPixmap(0, 0, m_background);
}

#include "network_access/question_parts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillo::network {

QLabel* addTextLine(QDialog& dialog, QVBoxLayout& layout, const QString& text) {
    auto* line = new QLabel(text, &dialog);
    line->setTextFormat(Qt::PlainText);
    line->setWordWrap(true);
    layout.addWidget(line);
    return line;
}

QDialogButtonBox* addAnswerRow(QDialog& dialog, QVBoxLayout& layout, const QString& accept,
                               const QString& reject) {
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* yes = buttons->addButton(accept, QDialogButtonBox::AcceptRole);
    yes->setDefault(true);
    if (reject.isEmpty())
        buttons->addButton(QDialogButtonBox::Cancel);
    else
        buttons->addButton(reject, QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
    return buttons;
}

} // namespace quillo::network

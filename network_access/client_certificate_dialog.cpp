#include "network_access/client_certificate_dialog.h"

#include "network_access/question_parts.h"

#include <QCheckBox>
#include <QListWidget>
#include <QScrollBar>
#include <QVBoxLayout>

namespace quillo::network {
namespace {

QString nameOf(const QStringList& names) {
    return names.isEmpty() ? QObject::tr("(no name)") : names.join(QLatin1String(", "));
}

} // namespace

ClientCertificateDialog::ClientCertificateDialog(const QString& hostAndPort,
                                                 const QList<QSslCertificate>& offered, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Choose a certificate"));
    auto* layout = new QVBoxLayout(this);
    addTextLine(*this, *layout, tr("%1 asks for a certificate that identifies you.").arg(hostAndPort));
    m_list = new QListWidget(this);
    for (const QSslCertificate& certificate : offered)
        m_list->addItem(tr("%1\nIssued by %2, valid until %3")
                            .arg(nameOf(certificate.subjectInfo(QSslCertificate::CommonName)),
                                 nameOf(certificate.issuerInfo(QSslCertificate::CommonName)),
                                 QLocale().toString(certificate.expiryDate().date(), QLocale::ShortFormat)));
    m_list->setCurrentRow(0);
    // Each certificate's lines read whole, without scrolling sideways.
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setMinimumWidth(m_list->sizeHintForColumn(0) + 2 * m_list->frameWidth() +
                            m_list->verticalScrollBar()->sizeHint().width());
    layout->addWidget(m_list);
    m_remember = new QCheckBox(tr("&Remember for this service"), this);
    layout->addWidget(m_remember);
    addAnswerRow(*this, *layout, tr("Use certificate"), tr("Send none"));
    m_list->setFocus();
}

ClientCertificateDialog::~ClientCertificateDialog() = default;

int ClientCertificateDialog::chosen() const {
    return m_list->currentRow();
}

bool ClientCertificateDialog::remember() const {
    return m_remember->isChecked();
}

} // namespace quillo::network

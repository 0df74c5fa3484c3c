#include "network_access/client_certificate_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
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
    auto* who = new QLabel(tr("%1 asks for a certificate that identifies you.").arg(hostAndPort), this);
    who->setTextFormat(Qt::PlainText);
    who->setWordWrap(true);
    layout->addWidget(who);
    m_list = new QListWidget(this);
    for (const QSslCertificate& certificate : offered)
        m_list->addItem(tr("%1\nIssued by %2, valid until %3")
                            .arg(nameOf(certificate.subjectInfo(QSslCertificate::CommonName)),
                                 nameOf(certificate.issuerInfo(QSslCertificate::CommonName)),
                                 QLocale().toString(certificate.expiryDate().date(), QLocale::ShortFormat)));
    m_list->setCurrentRow(0);
    layout->addWidget(m_list);
    m_remember = new QCheckBox(tr("&Remember for this service"), this);
    layout->addWidget(m_remember);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* use = buttons->addButton(tr("Use certificate"), QDialogButtonBox::AcceptRole);
    use->setDefault(true);
    buttons->addButton(tr("Send none"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
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

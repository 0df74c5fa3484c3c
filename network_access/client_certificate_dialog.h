#pragma once

#include <QDialog>
#include <QList>
#include <QSslCertificate>

class QCheckBox;
class QListWidget;

namespace quillo::network {

// The operator's choice among the client certificates a service accepts: each with its subject,
// issuer and expiry, and whether to remember the choice for that service.
class ClientCertificateDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClientCertificateDialog)

public:
    ClientCertificateDialog(const QString& hostAndPort, const QList<QSslCertificate>& offered,
                            QWidget* parent);
    ~ClientCertificateDialog() override;

    // The chosen one's index among those offered.
    int chosen() const;
    bool remember() const;

private:
    QListWidget* m_list = nullptr;
    QCheckBox* m_remember = nullptr;
};

} // namespace quillo::network

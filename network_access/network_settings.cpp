#include "network_access/network_settings.h"

#include "network_access/network_rules.h"

#include "settings/client_settings.h"
#include <QCryptographicHash>

#include <QSslCertificate>

namespace quillo::network {
QString fingerprintOf(const QSslCertificate& certificate) {
    const QByteArray digest = certificate.digest(QCryptographicHash::Sha256);
    return QString::fromStdString(
        formatFingerprint(std::string_view(digest.constData(), std::size_t(digest.size()))));
}

std::optional<QString> fingerprintOfFile(const QByteArray& contents) {
    // PEM first: DER never starts with text, and a PEM file read as DER is no certificate.
    QList<QSslCertificate> found = QSslCertificate::fromData(contents, QSsl::Pem);
    if (found.isEmpty())
        found = QSslCertificate::fromData(contents, QSsl::Der);
    if (found.size() != 1 || found.first().isNull())
        return std::nullopt;
    return fingerprintOf(found.first());
}

QStringList trustedFingerprints(const ClientSettings& settings) {
    std::vector<std::string> stored;
    for (const QString& entry : settings.value(QLatin1String(kTrustedCertificatesKey)).toStringList())
        stored.push_back(entry.toStdString());
    const TrustedFingerprints trusted(std::move(stored));
    QStringList fingerprints;
    for (const std::string& fingerprint : trusted.list())
        fingerprints << QString::fromStdString(fingerprint);
    return fingerprints;
}

bool writeTrustedFingerprints(ClientSettings& settings, const QStringList& fingerprints) {
    if (fingerprints.isEmpty())
        return settings.remove(QLatin1String(kTrustedCertificatesKey));
    return settings.setValue(QLatin1String(kTrustedCertificatesKey), fingerprints);
}

namespace {

QString clientCertificateKey(const QString& hostAndPort) {
    return QLatin1String(kClientCertificatesGroup) + QLatin1Char('/') + hostAndPort;
}

} // namespace

QString rememberedClientCertificate(const ClientSettings& settings, const QString& hostAndPort) {
    return settings.value(clientCertificateKey(hostAndPort)).toString();
}

bool rememberClientCertificate(ClientSettings& settings, const QString& hostAndPort,
                               const QString& fingerprint) {
    return settings.setValue(clientCertificateKey(hostAndPort), fingerprint);
}

bool forgetClientCertificate(ClientSettings& settings, const QString& hostAndPort) {
    return settings.remove(clientCertificateKey(hostAndPort));
}

QString singleSignOnServers(const ClientSettings& settings) {
    return settings.value(QLatin1String(kSingleSignOnServersKey)).toString();
}

bool writeSingleSignOnServers(ClientSettings& settings, const QString& servers) {
    if (servers.isEmpty())
        return settings.remove(QLatin1String(kSingleSignOnServersKey));
    return settings.setValue(QLatin1String(kSingleSignOnServersKey), servers);
}

} // namespace quillo::network

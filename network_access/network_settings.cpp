#include "network_access/network_settings.h"

#include "network_access/network_rules.h"

#include <QCryptographicHash>
#include <QSettings>
#include <QSslCertificate>

namespace quillo::network {
namespace {

bool written(QSettings& settings) {
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace

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

QStringList trustedFingerprints(QSettings& settings) {
    std::vector<std::string> stored;
    for (const QString& entry : settings.value(QLatin1String(kTrustedCertificatesKey)).toStringList())
        stored.push_back(entry.toStdString());
    const TrustedFingerprints trusted(std::move(stored));
    QStringList fingerprints;
    for (const std::string& fingerprint : trusted.list())
        fingerprints << QString::fromStdString(fingerprint);
    return fingerprints;
}

bool writeTrustedFingerprints(QSettings& settings, const QStringList& fingerprints) {
    if (fingerprints.isEmpty())
        settings.remove(QLatin1String(kTrustedCertificatesKey));
    else
        settings.setValue(QLatin1String(kTrustedCertificatesKey), fingerprints);
    return written(settings);
}

QString rememberedClientCertificate(QSettings& settings, const QString& hostAndPort) {
    settings.beginGroup(QLatin1String(kClientCertificatesGroup));
    const QString fingerprint = settings.value(hostAndPort).toString();
    settings.endGroup();
    return fingerprint;
}

bool rememberClientCertificate(QSettings& settings, const QString& hostAndPort, const QString& fingerprint) {
    settings.beginGroup(QLatin1String(kClientCertificatesGroup));
    settings.setValue(hostAndPort, fingerprint);
    settings.endGroup();
    return written(settings);
}

bool forgetClientCertificate(QSettings& settings, const QString& hostAndPort) {
    settings.beginGroup(QLatin1String(kClientCertificatesGroup));
    settings.remove(hostAndPort);
    settings.endGroup();
    return written(settings);
}

QString singleSignOnServers(QSettings& settings) {
    return settings.value(QLatin1String(kSingleSignOnServersKey)).toString();
}

bool writeSingleSignOnServers(QSettings& settings, const QString& servers) {
    if (servers.isEmpty())
        settings.remove(QLatin1String(kSingleSignOnServersKey));
    else
        settings.setValue(QLatin1String(kSingleSignOnServersKey), servers);
    return written(settings);
}

} // namespace quillo::network

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QByteArray;
class QSslCertificate;

namespace quillo {
class ClientSettings;
}

namespace quillo::network {

// Where the client's own settings keep what an administrator set with quillo-setup.
inline constexpr char kTrustedCertificatesKey[] = "network/trustedCertificates";
inline constexpr char kSingleSignOnServersKey[] = "network/singleSignOnServers";
inline constexpr char kClientCertificatesGroup[] = "clientCertificates";

// A certificate's SHA-256 fingerprint as the client shows and stores it ("A4:0F:...").
QString fingerprintOf(const QSslCertificate& certificate);
// The fingerprint of the one certificate in a PEM or DER file's contents; nothing when the
// contents hold no certificate or more than one.
std::optional<QString> fingerprintOfFile(const QByteArray& contents);

QStringList trustedFingerprints(const ClientSettings& settings);
// Each writes through to the file; false when it could not be written.
bool writeTrustedFingerprints(ClientSettings& settings, const QStringList& fingerprints);

// The client certificate chosen with "Remember" for a service's "host:port", by fingerprint.
QString rememberedClientCertificate(const ClientSettings& settings, const QString& hostAndPort);
bool rememberClientCertificate(ClientSettings& settings, const QString& hostAndPort,
                               const QString& fingerprint);
bool forgetClientCertificate(ClientSettings& settings, const QString& hostAndPort);

QString singleSignOnServers(const ClientSettings& settings);
bool writeSingleSignOnServers(ClientSettings& settings, const QString& servers);

} // namespace quillo::network

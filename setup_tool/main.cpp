#include "alerts/sound_setting.h"
#include "network_access/network_rules.h"
#include "network_access/network_settings.h"
#include "preferences/autostart.h"
#include "resources/version_info.h"
#include "settings/client_settings.h"
#include "settings/settings_store.h"
#include "setup_tool/setup_values.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

// quillo-setup: what the installer does on Windows. It stores the operator's order number and chat
// address through the client's own settings code, and never starts the client.

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "quillo-setup: %s\n", qPrintable(message));
    return 1;
}

QString shownValue(quillo::SettingsBackend& settings, const char* name, std::size_t size) {
    bool missing = false;
    const quillo::SettingResult value = quillo::ReadSetting(settings, name, size, missing);
    if (value)
        return QString::fromStdString(value.value());
    if (value.error() == quillo::SettingError::TooLong)
        return QStringLiteral("(too long; Quillo ignores it)");
    return QStringLiteral("(not set)");
}

void show(quillo::SettingsBackend& settings, const quillo::ClientSettings& client) {
    if (!settings.keyExists()) {
        std::printf("No settings yet: give the order number with --order-id.\n");
    } else {
        std::printf("OrderID: %s\n",
                    qPrintable(shownValue(settings, quillo::kOrderIdValue, quillo::kOrderIdBufferSize)));
        std::printf("URL: %s\n", qPrintable(shownValue(settings, quillo::kUrlValue, quillo::kUrlBufferSize)));
    }
    std::printf("Autostart: %s\n", quillo::autostartEnabled() ? "on" : "off");
    std::printf("Sound: %s\n", quillo::alerts::formatSoundMode(quillo::alerts::readSoundMode(client)).data());
    const QStringList trusted = quillo::network::trustedFingerprints(client);
    std::printf("Trusted certificates: %s\n", trusted.isEmpty() ? "none" : "");
    for (const QString& fingerprint : trusted)
        std::printf("  SHA-256 %s\n", qPrintable(fingerprint));
    const QString servers = quillo::network::singleSignOnServers(client);
    std::printf("Single sign-on servers: %s\n", servers.isEmpty() ? "none" : qPrintable(servers));
}

// The fingerprint of the certificate in a PEM or DER file, or why there is none.
std::optional<QString> certificateFingerprint(const QString& path, QString& problem) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const std::optional<QString> fingerprint = quillo::network::fingerprintOfFile(file.read(1 << 20));
    if (!fingerprint)
        problem = QStringLiteral("%1 holds no certificate, or more than one (PEM or DER, one certificate)")
                      .arg(path);
    return fingerprint;
}

// Stores one value and reads it back, so a write the store could not make is reported.
bool store(quillo::SettingsBackend& settings, const char* name, const QString& value) {
    const QByteArray text = value.toUtf8();
    quillo::WriteSetting(settings, text.constData(), name);
    return settings.value(name) == text.toStdString();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationVersion(QString::fromLatin1(quillo::res::kApplicationVersion));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stores the operator's order number and chat address for Quillo, adds Quillo to "
                       "the desktop's autostart, and chooses Quillo's alert sound."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption orderIdOption(QStringLiteral("order-id"),
                                           QStringLiteral("The operator's order number (1 to 9 characters)."),
                                           QStringLiteral("ID"));
    const QCommandLineOption urlOption(
        QStringLiteral("url"),
        QStringLiteral("The chat service address that the order number is appended to (http or https)."),
        QStringLiteral("ADDRESS"));
    const QCommandLineOption showOption(QStringLiteral("show"), QStringLiteral("Print the stored values."));
    const QCommandLineOption autostartOption(QStringLiteral("autostart"),
                                             QStringLiteral("Start Quillo when the user logs in, or not."),
                                             QStringLiteral("on|off"));
    const QCommandLineOption soundOption(
        QStringLiteral("sound"),
        QStringLiteral("Quillo's own alert sound on a chat request: not at all, once, or again every 10 s "
                       "until answered."),
        QStringLiteral("off|once|repeat"));
    const QCommandLineOption trustOption(
        QStringLiteral("trust-certificate"),
        QStringLiteral("Let Quillo accept the chat service's certificate in FILE (PEM or DER) although the "
                       "system does not trust its issuer."),
        QStringLiteral("FILE"));
    const QCommandLineOption untrustOption(
        QStringLiteral("untrust-certificate"),
        QStringLiteral("Take back --trust-certificate for the certificate in FILE."), QStringLiteral("FILE"));
    const QCommandLineOption ssoOption(
        QStringLiteral("sso-servers"),
        QStringLiteral(
            "Servers Quillo may sign in to with the desktop's Kerberos ticket (Negotiate), such as "
            "\"*.corp.example\"; an empty list turns it off. Read at Quillo's next start."),
        QStringLiteral("LIST"));
    parser.addOptions({orderIdOption, urlOption, showOption, autostartOption, soundOption, trustOption,
                       untrustOption, ssoOption});
    parser.process(application);

    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument \"%1\"; see --help")
                        .arg(parser.positionalArguments().first()));
    const bool setOrderId = parser.isSet(orderIdOption);
    const bool setUrl = parser.isSet(urlOption);
    const bool setAutostart = parser.isSet(autostartOption);
    const bool setSound = parser.isSet(soundOption);
    const bool setTrust = parser.isSet(trustOption);
    const bool setUntrust = parser.isSet(untrustOption);
    const bool setSso = parser.isSet(ssoOption);
    if (!setOrderId && !setUrl && !setAutostart && !setSound && !setTrust && !setUntrust && !setSso &&
        !parser.isSet(showOption))
        return fail(QStringLiteral("nothing to do; see --help"));

    // Everything is checked before anything is written: a refused run leaves the settings as they were.
    const QString orderId = parser.value(orderIdOption);
    const QString url = parser.value(urlOption);
    const QString autostart = parser.value(autostartOption);
    if (setOrderId)
        if (const QString problem = quillo::orderIdProblem(orderId); !problem.isEmpty())
            return fail(problem);
    if (setUrl)
        if (const QString problem = quillo::urlProblem(url); !problem.isEmpty())
            return fail(problem);
    if (setAutostart && autostart != QLatin1String("on") && autostart != QLatin1String("off"))
        return fail(QStringLiteral("--autostart takes on or off, not \"%1\"").arg(autostart));
    const QString sound = parser.value(soundOption);
    const QByteArray soundText = sound.toUtf8();
    const quillo::alerts::ParsedSoundMode soundMode = quillo::alerts::parseSoundMode(
        std::string_view(soundText.constData(), std::size_t(soundText.size())));
    if (setSound && !soundMode.known)
        return fail(QStringLiteral("--sound takes off, once or repeat, not \"%1\"").arg(sound));

    QString problem;
    std::optional<QString> trusted;
    std::optional<QString> untrusted;
    if (setTrust && !(trusted = certificateFingerprint(parser.value(trustOption), problem)))
        return fail(problem);
    if (setUntrust && !(untrusted = certificateFingerprint(parser.value(untrustOption), problem)))
        return fail(problem);
    const QString servers = parser.value(ssoOption).trimmed();
    if (setSso && !servers.isEmpty())
        if (const std::string why = quillo::network::singleSignOnProblem(servers.toStdString()); !why.empty())
            return fail(QString::fromStdString(why));

    const std::unique_ptr<quillo::SettingsBackend> settings = quillo::createUserSettings();
    if ((setOrderId || setUrl) && !settings->createKey())
        return fail(QStringLiteral("cannot create or read the settings; is the settings file damaged?"));
    if (setOrderId && !store(*settings, quillo::kOrderIdValue, orderId))
        return fail(QStringLiteral("could not store the order number"));
    if (setUrl && !store(*settings, quillo::kUrlValue, url))
        return fail(QStringLiteral("could not store the address"));
    if (setAutostart) {
        const QString problem = quillo::setStartAtLogin(autostart == QLatin1String("on"));
        if (!problem.isEmpty())
            return fail(problem);
    }
    quillo::ClientSettings client;
    if (setSound && !quillo::alerts::writeSoundMode(client, soundMode.mode))
        return fail(QStringLiteral("could not store the alert sound in %1").arg(client.fileName()));
    if (setTrust || setUntrust) {
        QStringList fingerprints = quillo::network::trustedFingerprints(client);
        if (untrusted && !fingerprints.removeAll(*untrusted))
            std::printf("Not trusted before: SHA-256 %s\n", qPrintable(*untrusted));
        if (trusted && !fingerprints.contains(*trusted))
            fingerprints << *trusted;
        if (!quillo::network::writeTrustedFingerprints(client, fingerprints))
            return fail(
                QStringLiteral("could not store the trusted certificates in %1").arg(client.fileName()));
    }
    if (setSso && !quillo::network::writeSingleSignOnServers(client, servers))
        return fail(
            QStringLiteral("could not store the single sign-on servers in %1").arg(client.fileName()));
    if (parser.isSet(showOption))
        show(*settings, client);
    return 0;
}

#include "demo/demo_server.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"quillo-demo-service"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(u"Demo chat service for Quillo, on 127.0.0.1 only."_s);
    parser.addHelpOption();
    const QCommandLineOption portOption(u"port"_s, u"HTTP port (0: any free port)."_s, u"N"_s, u"8080"_s);
    const QCommandLineOption tlsPortOption(u"tls-port"_s, u"Also serve HTTPS on this port (0: any)."_s,
                                           u"N"_s);
    const QCommandLineOption certOption(u"cert"_s, u"PEM certificate for HTTPS."_s, u"FILE"_s);
    const QCommandLineOption keyOption(u"key"_s, u"PEM private key for HTTPS."_s, u"FILE"_s);
    parser.addOptions({portOption, tlsPortOption, certOption, keyOption});
    parser.process(app);

    bool portOk = false;
    const uint port = parser.value(portOption).toUInt(&portOk);
    if (!portOk || port > 65535) {
        std::fprintf(stderr, "invalid --port\n");
        return 2;
    }

    DemoServer server;
    const quint16 bound = server.listen(QHostAddress::LocalHost, quint16(port));
    if (bound == 0) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1:%u\n", port);
        return 1;
    }

    quint16 tlsBound = 0;
    if (parser.isSet(tlsPortOption)) {
        bool tlsPortOk = false;
        const uint tlsPort = parser.value(tlsPortOption).toUInt(&tlsPortOk);
        const QList<QSslCertificate> certificates =
            QSslCertificate::fromData(readFile(parser.value(certOption)), QSsl::Pem);
        const QSslKey key(readFile(parser.value(keyOption)), QSsl::Rsa, QSsl::Pem);
        if (!tlsPortOk || tlsPort > 65535 || certificates.isEmpty() || key.isNull()) {
            std::fprintf(stderr, "HTTPS needs --tls-port, and a readable PEM --cert and RSA --key\n");
            return 2;
        }
        // The server takes its TLS setting at listen time, so the plain listener above stays plain.
        server.sslSetup(certificates.first(), key);
        tlsBound = server.listen(QHostAddress::LocalHost, quint16(tlsPort));
        if (tlsBound == 0) {
            std::fprintf(stderr, "cannot listen for HTTPS on 127.0.0.1:%u\n", tlsPort);
            return 1;
        }
    }

    // One line each, flushed at once: the test harness reads the ports from here.
    std::printf("listening on %u\n", unsigned(bound));
    if (tlsBound != 0)
        std::printf("tls listening on %u\n", unsigned(tlsBound));
    std::fflush(stdout);
    return QCoreApplication::exec();
}

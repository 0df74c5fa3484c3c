#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

class QWebEnginePage;
class QWidget;

namespace quillo {
class ClientSettings;
}

namespace quillo::network {

class CredentialStore;

// What the engine asks the client about the way to a page: a site's or a proxy's sign-in, and a
// certificate the system does not trust. Sign-ins are asked in the client's own dialog and may be
// remembered in the desktop's secret store; a certificate is accepted only when an administrator
// trusted exactly that one, and every refusal is shown over the page by its recovery panel.
class NetworkAccess final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NetworkAccess)

public:
    // Makes a box modal to one window alone (the page's), never to the whole client.
    using ModalToWindow = std::function<void(QWidget& box, QWidget& window)>;

    // settings: the client's own, where the trusted and the remembered certificates are kept.
    NetworkAccess(ClientSettings& settings, ModalToWindow modalToWindow, QObject* parent);
    ~NetworkAccess() override;

    // Hooks the page's sign-in and certificate questions; call once for each page.
    void attachPage(QWebEnginePage& page);

private:
    friend class PageNetwork;

    ClientSettings& m_settings;
    ModalToWindow m_modalToWindow;
    CredentialStore* m_store = nullptr;
    // Client certificates chosen this run, by fingerprint, for each service's "host:port".
    QHash<QString, QString> m_clientCertificates;
};

} // namespace quillo::network

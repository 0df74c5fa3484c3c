#include "network_access/network_access.h"

#include "network_access/client_certificate_dialog.h"
#include "network_access/credential_store.h"
#include "network_access/network_log.h"
#include "network_access/network_rules.h"
#include "network_access/network_settings.h"
#include "network_access/sign_in_dialog.h"
#include "recovery/recovery_panel.h"
#include "recovery/renderer_recovery.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QWebEngineCertificateError>
#include <QWebEngineClientCertificateSelection>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <map>
#include <memory>
#include <utility>

namespace quillo::network {
namespace {

// How long a sign-in waits for the secret store before it asks the operator instead.
constexpr int kStoreWaitMs = 5000;

// A client certificate's choice is kept by "host:port", as the engine names the server asking.
QString hostAndPortOf(const QUrl& url) {
    return url.host() + u':' + QString::number(url.port(443));
}

std::optional<Origin> originOf(const QUrl& url) {
    return makeOrigin(url.scheme().toStdString(), url.host().toStdString(), url.port());
}

} // namespace

// One page's sign-ins and certificate refusals; a child of the page, so it goes with it.
//
// Qt 6.4 takes a sign-in only from the authenticator as the engine's call returns, and a loop
// waiting there for the operator holds up the engine's work on the client's one thread (measured:
// with one, a page in another window answered no command for the 10 s the question was open;
// without, in about 110 ms). So the first question of a load is cancelled at once, which leaves the
// service's answer page, and the operator (or the secret store) is asked without waiting; the
// answer is kept for the place that asked, and the address is loaded again, when the engine asks
// again and gets the answer at once.
class PageNetwork final : public QObject {
    Q_DECLARE_TR_FUNCTIONS(PageNetwork)

public:
    PageNetwork(NetworkAccess& access, QWebEnginePage& page)
        : QObject(&page)
        , m_access(access)
        , m_page(page) {
        connect(
            &page, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl& url, QAuthenticator* authenticator) { onSiteSignIn(url, *authenticator); });
        connect(&page, &QWebEnginePage::proxyAuthenticationRequired, this,
                [this](const QUrl& url, QAuthenticator* authenticator, const QString& proxyHost) {
                    onProxySignIn(url, proxyHost, *authenticator);
                });
        connect(&page, &QWebEnginePage::certificateError, this, &PageNetwork::onCertificateError);
        connect(&page, &QWebEnginePage::selectClientCertificate, this, &PageNetwork::onClientCertificate);
        connect(&page, &QWebEnginePage::loadingChanged, this, &PageNetwork::onLoadingChanged);
    }
    Q_DISABLE_COPY_MOVE(PageNetwork)

private:
    struct Question {
        SignInTarget target;
        QString key;
        // As the operator reads it: the site's origin or the proxy's host.
        QString where;
        // The address to load again once answered.
        QUrl url;
    };

    void onSiteSignIn(const QUrl& url, QAuthenticator& authenticator);
    void onProxySignIn(const QUrl& url, const QString& proxyHost, QAuthenticator& authenticator);
    void signIn(const Question& question, QAuthenticator& authenticator);
    void ask(const Question& question, bool refusedBefore);
    void answered(const Question& question, const Credentials& credentials);
    void cancelled(const Question& question);
    void loadAgain(const QUrl& url);
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void onCertificateError(const QWebEngineCertificateError& error);
    void onClientCertificate(QWebEngineClientCertificateSelection selection);
    void onLoadFailed(const QWebEngineLoadingInfo& info);
    // The window the page shows in, which a question about the page belongs to.
    QWidget* pageWindow() const;
    // Shows a question modal to the page's window only, gone once answered.
    void present(QDialog& box);
    // The page's recovery panel says what was refused, with a button to try again.
    void showRefusal(const RefusalNotice& notice, const QUrl& url);
    static RecoveryTexts refusalTexts(const RefusalNotice& notice);
    bool isPageAddress(const QUrl& url) const;

    NetworkAccess& m_access;
    QWebEnginePage& m_page;
    SignInAttempts m_attempts;
    // Answers waiting for the engine to ask again, by credential key; each is given once.
    std::map<QString, Credentials> m_answers;
    // Typed with "Remember": stored once the page loads with them, never when they were refused.
    std::map<QString, Credentials> m_toRemember;
    QPointer<SignInDialog> m_box;
    bool m_asking = false;
    bool m_loading = false;
    // A question of this load was left unanswered, so its answer page is no sign of success.
    bool m_askedInLoad = false;
    QUrl m_loadingUrl;
    std::optional<QUrl> m_loadWhenDone;
    QString m_lastUser;
};

void PageNetwork::onSiteSignIn(const QUrl& url, QAuthenticator& authenticator) {
    const std::optional<Origin> origin = originOf(url);
    if (!origin) {
        qCInfo(lcNetwork).noquote() << "sign-in asked by" << url.toDisplayString(QUrl::RemoveUserInfo)
                                    << "refused: no origin to give credentials to";
        authenticator = QAuthenticator();
        return;
    }
    const SignInTarget target = siteTarget(*origin, authenticator.realm().toStdString());
    const QString where = url.toDisplayString(QUrl::RemoveUserInfo | QUrl::RemovePath | QUrl::RemoveQuery |
                                              QUrl::RemoveFragment | QUrl::StripTrailingSlash);
    signIn({target, QString::fromStdString(credentialKey(target)), where, url}, authenticator);
}

void PageNetwork::onProxySignIn(const QUrl& url, const QString& proxyHost, QAuthenticator& authenticator) {
    const SignInTarget target = proxyTarget(proxyHost.toStdString(), -1, authenticator.realm().toStdString());
    signIn({target, QString::fromStdString(credentialKey(target)), proxyHost, url}, authenticator);
}

void PageNetwork::signIn(const Question& question, QAuthenticator& authenticator) {
    // The answer given for exactly this place and realm, and to no other.
    if (const auto answer = m_answers.find(question.key); answer != m_answers.end()) {
        authenticator.setUser(answer->second.user);
        authenticator.setPassword(answer->second.password);
        m_answers.erase(answer);
        return;
    }
    // Left as the engine handed it over (with its realm set) it would send empty credentials and
    // ask again until it gives up; a null one cancels, leaving the service's answer page.
    authenticator = QAuthenticator();
    m_askedInLoad = true;
    // Asked again after an answer: that answer was refused, so it is not remembered.
    m_toRemember.erase(question.key);
    if (m_asking) {
        qCInfo(lcNetwork).noquote() << "sign-in for" << question.key
                                    << "left unanswered: another question waits";
        return;
    }
    CredentialStore& store = *m_access.m_store;
    const SignInStep step =
        m_attempts.next(question.key.toStdString(), store.state() != CredentialStore::State::Unavailable);
    m_asking = true;
    if (step.action == SignInStep::Action::Ask) {
        ask(question, step.refusedBefore);
        return;
    }
    // Whichever comes first: the store's answer, or the operator is asked.
    auto settled = std::make_shared<bool>(false);
    QTimer::singleShot(kStoreWaitMs, this, [this, question, settled] {
        if (std::exchange(*settled, true))
            return;
        qCWarning(lcNetwork).noquote()
            << "the secret store did not answer within" << kStoreWaitMs << "ms; asking the operator";
        ask(question, false);
    });
    store.read(question.key, *this, [this, question, settled](std::optional<Credentials> stored) {
        if (std::exchange(*settled, true))
            return;
        if (!stored) {
            ask(question, false);
            return;
        }
        qCInfo(lcNetwork).noquote() << "remembered sign-in offered to" << question.key;
        m_asking = false;
        m_lastUser = stored->user;
        m_answers[question.key] = *stored;
        loadAgain(question.url);
    });
}

void PageNetwork::ask(const Question& question, bool refusedBefore) {
    if (refusedBefore)
        qCInfo(lcNetwork).noquote() << "sign-in for" << question.key << "was refused; asking again";
    const SignInDialog::Question text{question.where,
                                      question.target.kind == SignInKind::Proxy,
                                      QString::fromStdString(question.target.realm),
                                      refusedBefore,
                                      m_access.m_store->state() != CredentialStore::State::Unavailable,
                                      m_lastUser};
    m_box = new SignInDialog(text, pageWindow());
    connect(m_box, &QDialog::finished, this, [this, question, box = m_box](int result) {
        m_asking = false;
        if (result == QDialog::Accepted) {
            if (box->remember())
                m_toRemember[question.key] = {box->user(), box->password()};
            answered(question, {box->user(), box->password()});
        } else {
            cancelled(question);
        }
    });
    // A box that goes with its window unanswered leaves the next question free to come.
    connect(m_box, &QObject::destroyed, this, [this] { m_asking = false; });
    qCInfo(lcNetwork).noquote() << "sign-in for" << question.key << "put to the operator";
    present(*m_box);
}

void PageNetwork::answered(const Question& question, const Credentials& credentials) {
    qCInfo(lcNetwork).noquote() << "sign-in for" << question.key << "answered by the operator";
    m_lastUser = credentials.user;
    m_answers[question.key] = credentials;
    loadAgain(question.url);
}

void PageNetwork::cancelled(const Question& question) {
    qCInfo(lcNetwork).noquote() << "sign-in for" << question.key << "cancelled by the operator";
    m_attempts.forget(question.key.toStdString());
    const bool proxy = question.target.kind == SignInKind::Proxy;
    // A part of the page from elsewhere that was not signed in to leaves the page alone.
    if (proxy || isPageAddress(question.url))
        showRefusal(signInCancelled(question.where.toStdString(), proxy), question.url);
}

void PageNetwork::loadAgain(const QUrl& url) {
    // The load that asked is the page's own: that address again; else the part of the page
    // asked for it, and the page is loaded again. A load still under way finishes first, so the
    // new one does not race its answer page.
    const QUrl address = url == m_loadingUrl || m_loadingUrl.isEmpty() ? url : m_loadingUrl;
    if (m_loading) {
        m_loadWhenDone = address;
        return;
    }
    m_page.load(address);
}

void PageNetwork::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        m_loading = true;
        m_askedInLoad = false;
        m_loadingUrl = info.url();
        return;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        // Loaded with every question answered: the answers were right.
        if (!m_askedInLoad) {
            m_attempts.reset();
            for (const auto& [key, credentials] : m_toRemember)
                m_access.m_store->write(key, credentials);
            m_toRemember.clear();
        }
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        onLoadFailed(info);
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        break;
    }
    m_loading = false;
    if (const std::optional<QUrl> next = std::exchange(m_loadWhenDone, std::nullopt))
        m_page.load(*next);
}

void PageNetwork::onCertificateError(const QWebEngineCertificateError& error) {
    QWebEngineCertificateError decision(error);
    const QList<QSslCertificate> chain = error.certificateChain();
    const QString fingerprint = chain.isEmpty() ? QString() : fingerprintOf(chain.first());
    const QString host = error.url().host();
    const CertificateProblem problem = certificateProblem(int(error.type()));
    // Read afresh each time: quillo-setup may have trusted the certificate since the start.
    if (!fingerprint.isEmpty() && trustedFingerprints(m_access.m_settings).contains(fingerprint)) {
        if (error.isOverridable()) {
            decision.acceptCertificate();
            qCInfo(lcNetwork).noquote() << "certificate of" << host << "(" << problemName(problem)
                                        << ") accepted: the administrator trusts" << fingerprint;
            return;
        }
        qCWarning(lcNetwork).noquote()
            << "certificate of" << host << "is trusted by the administrator, but the"
            << "engine does not let this error be overridden";
    }
    decision.rejectCertificate();
    qCWarning(lcNetwork).noquote() << "certificate of" << host << "refused (" << problemName(problem)
                                   << ", error" << int(error.type()) << ", SHA-256" << fingerprint << ")";
    if (isPageAddress(error.url()))
        showRefusal(certificateRefusal(int(error.type()), host.toStdString(), fingerprint.toStdString()),
                    m_page.requestedUrl());
}

void PageNetwork::onClientCertificate(QWebEngineClientCertificateSelection selection) {
    const QUrl host = selection.host();
    const QString hostAndPort = hostAndPortOf(host);
    const QList<QSslCertificate> offered = selection.certificates();
    if (offered.isEmpty()) {
        selection.selectNone();
        qCWarning(lcNetwork).noquote() << hostAndPort << "asked for a client certificate; none is available";
        showRefusal(clientCertificateMissing(hostAndPort.toStdString()), m_page.requestedUrl());
        return;
    }
    QString chosen = m_access.m_clientCertificates.value(hostAndPort);
    if (chosen.isEmpty())
        chosen = rememberedClientCertificate(m_access.m_settings, hostAndPort);
    for (const QSslCertificate& certificate : offered) {
        if (!chosen.isEmpty() && fingerprintOf(certificate) == chosen) {
            qCInfo(lcNetwork).noquote()
                << "client certificate" << chosen << "sent to" << hostAndPort << "as chosen";
            selection.select(certificate);
            return;
        }
    }
    // The selection waits for its answer, so the operator is asked without holding up the engine.
    auto* box = new ClientCertificateDialog(hostAndPort, offered, pageWindow());
    connect(box, &QDialog::finished, this, [this, box, selection, offered, hostAndPort](int result) mutable {
        const int index = box->chosen();
        if (result != QDialog::Accepted || index < 0 || index >= offered.size()) {
            qCInfo(lcNetwork).noquote()
                << "no client certificate sent to" << hostAndPort << ": the operator chose none";
            selection.selectNone();
            return;
        }
        const QString fingerprint = fingerprintOf(offered.at(index));
        m_access.m_clientCertificates.insert(hostAndPort, fingerprint);
        // A failed write is logged by the settings.
        if (box->remember())
            rememberClientCertificate(m_access.m_settings, hostAndPort, fingerprint);
        qCInfo(lcNetwork).noquote() << "client certificate" << fingerprint << "sent to" << hostAndPort;
        selection.select(offered.at(index));
    });
    qCInfo(lcNetwork).noquote() << "client certificate for" << hostAndPort << "put to the operator";
    present(*box);
}

void PageNetwork::onLoadFailed(const QWebEngineLoadingInfo& info) {
    if (info.errorDomain() != QWebEngineLoadingInfo::ConnectionErrorDomain || !isPageAddress(info.url()))
        return;
    const QString hostAndPort = hostAndPortOf(info.url());
    const bool sent = m_access.m_clientCertificates.contains(hostAndPort);
    switch (clientCertificateFailure(info.errorCode(), sent)) {
    case ClientCertificateFailure::None:
        return;
    case ClientCertificateFailure::Missing:
        qCWarning(lcNetwork).noquote() << hostAndPort << "asked for a client certificate; none is installed ("
                                       << info.errorCode() << info.errorString() << ")";
        showRefusal(clientCertificateMissing(hostAndPort.toStdString()), info.url());
        return;
    case ClientCertificateFailure::Refused:
        // Trying again asks the operator afresh, with no remembered choice in the way.
        m_access.m_clientCertificates.remove(hostAndPort);
        forgetClientCertificate(m_access.m_settings, hostAndPort);
        qCWarning(lcNetwork).noquote()
            << hostAndPort << "refused the client certificate it was sent (" << info.errorCode()
            << info.errorString() << "); the choice is forgotten";
        showRefusal(clientCertificateRefused(hostAndPort.toStdString()), info.url());
        return;
    }
}

QWidget* PageNetwork::pageWindow() const {
    QWebEngineView* view = QWebEngineView::forPage(&m_page);
    return view != nullptr ? view->window() : nullptr;
}

void PageNetwork::present(QDialog& box) {
    box.setAttribute(Qt::WA_DeleteOnClose);
    if (QWidget* window = pageWindow())
        m_access.m_modalToWindow(box, *window);
    box.show();
    box.raise();
    box.activateWindow();
}

bool PageNetwork::isPageAddress(const QUrl& url) const {
    // A refused part of a page (an image from elsewhere) leaves the page itself alone.
    const std::optional<Origin> refused = originOf(url);
    if (!refused)
        return false;
    for (const QUrl& page : {m_page.requestedUrl(), m_page.url()}) {
        if (const std::optional<Origin> origin = originOf(page); origin && sameOrigin(*origin, *refused))
            return true;
    }
    return false;
}

void PageNetwork::showRefusal(const RefusalNotice& notice, const QUrl& url) {
    QWebEngineView* view = QWebEngineView::forPage(&m_page);
    auto* recovery =
        view != nullptr ? view->findChild<RendererRecovery*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (recovery != nullptr)
        recovery->showRefusal(refusalTexts(notice), url);
}

RecoveryTexts PageNetwork::refusalTexts(const RefusalNotice& notice) {
    const QString where = QString::fromStdString(notice.where);
    RecoveryTexts texts;
    switch (notice.refusal) {
    case Refusal::Certificate: {
        texts.title = tr("Can't trust the chat service's certificate");
        QString problem;
        switch (notice.problem) {
        case CertificateProblem::UntrustedIssuer:
            //: %1 is the host name of the server.
            problem = tr("%1 presented a certificate from an issuer this computer does not trust.");
            break;
        case CertificateProblem::Expired:
            //: %1 is the host name of the server.
            problem = tr("%1 presented a certificate that has expired or is not valid yet.");
            break;
        case CertificateProblem::WrongName:
            //: %1 is the host name of the server.
            problem = tr("%1 presented a certificate made out for another name.");
            break;
        case CertificateProblem::Revoked:
            //: %1 is the host name of the server.
            problem = tr("%1 presented a certificate that its issuer has revoked.");
            break;
        case CertificateProblem::Invalid:
            //: %1 is the host name of the server.
            problem = tr("%1 presented a certificate that is damaged or not valid.");
            break;
        case CertificateProblem::Weak:
            //: %1 is the host name of the server.
            problem = tr("%1 presented a certificate with a weak key or signature.");
            break;
        case CertificateProblem::Other:
            //: %1 is the host name of the server.
            problem = tr("%1 presented a certificate that cannot be trusted.");
            break;
        }
        const QString advice =
            notice.fingerprint.empty()
                ? tr("Nothing was loaded. Its SHA-256 fingerprint is unknown.")
                //: %1 is the certificate's fingerprint (hex pairs and colons); the command stays as it is.
                : tr("Nothing was loaded. Its SHA-256 fingerprint is %1; an administrator who knows it to be "
                     "right can trust it with quillo-setup --trust-certificate.")
                      .arg(QString::fromStdString(notice.fingerprint));
        texts.what = problem.arg(where) + u' ' + advice;
        texts.button = tr("Try again");
        break;
    }
    case Refusal::SiteSignInCancelled:
        texts.title = tr("Sign-in cancelled");
        //: %1 is the site's address (scheme, host and port).
        texts.what = tr("Sign-in to %1 was cancelled.").arg(where);
        texts.button = tr("Sign in again");
        break;
    case Refusal::ProxySignInCancelled:
        texts.title = tr("Sign-in cancelled");
        //: %1 is the proxy's host name.
        texts.what = tr("Sign-in to the proxy %1 was cancelled, so the page could not load.").arg(where);
        texts.button = tr("Sign in again");
        break;
    case Refusal::ClientCertificateMissing:
        texts.title = tr("The service asks for a client certificate");
        //: %1 is the server's host name and port.
        texts.what = tr("%1 asked for a certificate that identifies this computer or its user, and none is "
                        "installed in the user's certificate database.")
                         .arg(where);
        texts.button = tr("Try again");
        break;
    case Refusal::ClientCertificateRefused:
        texts.title = tr("The service refused the client certificate");
        //: %1 is the server's host name and port.
        texts.what =
            tr("%1 did not accept the certificate that was sent. Try again to choose another one, or "
               "ask your administrator which certificate the service accepts.")
                .arg(where);
        texts.button = tr("Try again");
        break;
    }
    return texts;
}

NetworkAccess::NetworkAccess(ClientSettings& settings, ModalToWindow modalToWindow, QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_modalToWindow(std::move(modalToWindow))
    , m_store(new CredentialStore(this)) {}

NetworkAccess::~NetworkAccess() = default;

void NetworkAccess::attachPage(QWebEnginePage& page) {
    new PageNetwork(*this, page); // owned by the page
}

} // namespace quillo::network

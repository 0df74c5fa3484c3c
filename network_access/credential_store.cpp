#include "network_access/credential_store.h"

#include "network_access/network_log.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>

#include <qt6keychain/keychain.h>

namespace quillo::network {
namespace {

const QString kService = QStringLiteral("Quillo");
// Never stored: only asked for, to learn whether there is a store at all.
const QString kProbeKey = QStringLiteral("quillo store probe");

QByteArray encode(const Credentials& credentials) {
    return QJsonDocument(QJsonObject{{QStringLiteral("user"), credentials.user},
                                     {QStringLiteral("password"), credentials.password}})
        .toJson(QJsonDocument::Compact);
}

std::optional<Credentials> decode(const QByteArray& data) {
    const QJsonObject object = QJsonDocument::fromJson(data).object();
    if (!object.value(QStringLiteral("user")).isString())
        return std::nullopt;
    return Credentials{object.value(QStringLiteral("user")).toString(),
                       object.value(QStringLiteral("password")).toString()};
}

} // namespace

CredentialStore::CredentialStore(QObject* parent)
    : QObject(parent) {
    auto* probe = new QKeychain::ReadPasswordJob(kService, this);
    probe->setKey(kProbeKey);
    connect(probe, &QKeychain::Job::finished, this,
            [this](QKeychain::Job* job) { noteResult(job->error(), job->errorString()); });
    probe->start();
}

CredentialStore::~CredentialStore() = default;

void CredentialStore::noteResult(int error, const QString& errorText) {
    const bool reached = error == QKeychain::NoError || error == QKeychain::EntryNotFound;
    const State state = reached ? State::Available : State::Unavailable;
    if (state == m_state)
        return;
    // Logged once each way, not for every question.
    if (state == State::Unavailable)
        qCWarning(lcNetwork).noquote()
            << "no secret store: sign-ins cannot be remembered (" << errorText << ")";
    else if (m_state == State::Unavailable)
        qCInfo(lcNetwork) << "the secret store answers again";
    m_state = state;
}

void CredentialStore::read(const QString& key, QObject& context,
                           std::function<void(std::optional<Credentials>)> done) {
    auto* job = new QKeychain::ReadPasswordJob(kService, this);
    job->setKey(key);
    connect(job, &QKeychain::Job::finished, &context,
            [this, done = std::move(done), self = QPointer<CredentialStore>(this)](QKeychain::Job* finished) {
                if (self)
                    noteResult(finished->error(), finished->errorString());
                const auto* reader = static_cast<QKeychain::ReadPasswordJob*>(finished);
                done(finished->error() == QKeychain::NoError ? decode(reader->binaryData()) : std::nullopt);
            });
    job->start();
}

void CredentialStore::write(const QString& key, const Credentials& credentials) {
    auto* job = new QKeychain::WritePasswordJob(kService, this);
    job->setKey(key);
    job->setBinaryData(encode(credentials));
    connect(job, &QKeychain::Job::finished, this, [this, key](QKeychain::Job* finished) {
        noteResult(finished->error(), finished->errorString());
        if (finished->error() != QKeychain::NoError)
            qCWarning(lcNetwork).noquote()
                << "sign-in for" << key << "could not be remembered:" << finished->errorString();
        else
            qCInfo(lcNetwork).noquote() << "sign-in for" << key << "remembered in the secret store";
    });
    job->start();
}

} // namespace quillo::network

#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace quillo::network {

struct Credentials {
    QString user;
    QString password;
};

// The operator's remembered sign-ins in the desktop's secret store (the Secret Service on Linux,
// the Credential Manager on Windows), never in a file of the client's. Every call is answered
// later, through the event loop, as the store answers over the bus.
class CredentialStore final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CredentialStore)

public:
    enum class State { Unknown, Available, Unavailable };

    // Asks the store once at once, so that the first sign-in question already knows whether
    // credentials can be remembered.
    explicit CredentialStore(QObject* parent);
    ~CredentialStore() override;

    State state() const { return m_state; }

    // done gets the stored credentials, or nothing (none stored, no store); never after context
    // is gone.
    void read(const QString& key, QObject& context, std::function<void(std::optional<Credentials>)> done);
    void write(const QString& key, const Credentials& credentials);

private:
    void noteResult(int error, const QString& errorText);

    State m_state = State::Unknown;
};

} // namespace quillo::network

#include "tests/support/session_manager.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTest>

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <cstdlib>
#include <list>

namespace quillo::e2e {

struct SessionManager::Client {
    SmsConn connection = nullptr;
    IceConn ice = nullptr;
    std::unique_ptr<QSocketNotifier> notifier;
    bool registered = false;
    bool saveDone = false;
};

struct SessionManager::Private {
    int listenCount = 0;
    IceListenObj* listeners = nullptr;
    std::list<std::unique_ptr<QSocketNotifier>> listenNotifiers;
    std::list<Client> clients;
    QString address;
    QString error;

    Client* find(SmsConn connection) {
        for (Client& client : clients) {
            if (client.connection == connection)
                return &client;
        }
        return nullptr;
    }
};

namespace {

// The manager the library's callbacks act for; one per test process.
SessionManager::Private* s_manager = nullptr;

Bool acceptAnyHost(char*) {
    // Clients of this manager run on the same machine, with no ICE authority file set up.
    return True;
}

Status registerClient(SmsConn connection, SmPointer, char*) {
    SessionManager::Client* client = s_manager->find(connection);
    char* id = SmsGenerateClientID(connection);
    const Status replied =
        SmsRegisterClientReply(connection, id != nullptr ? id : const_cast<char*>("1quillotest"));
    std::free(id);
    if (client != nullptr)
        client->registered = replied != 0;
    return replied;
}

void saveYourselfDone(SmsConn connection, SmPointer, Bool) {
    if (SessionManager::Client* client = s_manager->find(connection))
        client->saveDone = true;
}

void interactRequest(SmsConn connection, SmPointer, int) {
    SmsInteract(connection);
}

void phase2Request(SmsConn connection, SmPointer) {
    SmsSaveYourselfPhase2(connection);
}

void closeConnection(SmsConn connection, SmPointer, int count, char** reasons) {
    SmFreeReasons(count, reasons);
    SessionManager::Client* client = s_manager->find(connection);
    IceConn ice = SmsGetIceConnection(connection);
    SmsCleanUp(connection);
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
    if (client != nullptr) {
        // The library called this from the notifier's own signal.
        if (client->notifier) {
            client->notifier->setEnabled(false);
            client->notifier.release()->deleteLater();
        }
        client->connection = nullptr;
        client->ice = nullptr;
    }
}

void setProperties(SmsConn, SmPointer, int count, SmProp** properties) {
    for (int i = 0; i < count; ++i)
        SmFreeProperty(properties[i]);
    std::free(properties);
}

void deleteProperties(SmsConn, SmPointer, int count, char** names) {
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}

void getProperties(SmsConn connection, SmPointer) {
    SmsReturnProperties(connection, 0, nullptr);
}

Status newClient(SmsConn connection, SmPointer, unsigned long* mask, SmsCallbacks* callbacks, char**) {
    SessionManager::Private& manager = *s_manager;
    for (SessionManager::Client& client : manager.clients) {
        if (client.connection == nullptr && client.ice == SmsGetIceConnection(connection)) {
            client.connection = connection;
            break;
        }
    }
    *callbacks = {};
    callbacks->register_client.callback = registerClient;
    callbacks->interact_request.callback = interactRequest;
    callbacks->interact_done.callback = [](SmsConn, SmPointer, Bool) {
    };
    callbacks->save_yourself_request.callback = [](SmsConn, SmPointer, int, Bool, int, Bool, Bool) {
    };
    callbacks->save_yourself_phase2_request.callback = phase2Request;
    callbacks->save_yourself_done.callback = saveYourselfDone;
    callbacks->close_connection.callback = closeConnection;
    callbacks->set_properties.callback = setProperties;
    callbacks->delete_properties.callback = deleteProperties;
    callbacks->get_properties.callback = getProperties;
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
            SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
            SmsGetPropertiesProcMask;
    return 1;
}

} // namespace

SessionManager::SessionManager()
    : d(std::make_unique<Private>()) {}

SessionManager::~SessionManager() {
    for (Client& client : d->clients) {
        client.notifier.reset();
        if (client.connection != nullptr)
            SmsCleanUp(client.connection);
        if (client.ice != nullptr) {
            IceSetShutdownNegotiation(client.ice, False);
            IceCloseConnection(client.ice);
        }
    }
    d->listenNotifiers.clear();
    if (d->listeners != nullptr)
        IceFreeListenObjs(d->listenCount, d->listeners);
    if (s_manager == d.get())
        s_manager = nullptr;
}

bool SessionManager::start() {
    if (s_manager != nullptr) {
        d->error = QStringLiteral("only one session manager per process");
        return false;
    }
    s_manager = d.get();
    // The library's own handler ends the whole process when a client goes away unasked.
    IceSetIOErrorHandler([](IceConn) {});
    char error[256] = {};
    if (!SmsInitialize("quillo-tests", "1.0", newClient, nullptr, acceptAnyHost, sizeof error, error) ||
        !IceListenForConnections(&d->listenCount, &d->listeners, sizeof error, error)) {
        d->error = QString::fromLocal8Bit(error);
        return false;
    }
    for (int i = 0; i < d->listenCount; ++i) {
        IceSetHostBasedAuthProc(d->listeners[i], acceptAnyHost);
        auto notifier = std::make_unique<QSocketNotifier>(IceGetListenConnectionNumber(d->listeners[i]),
                                                          QSocketNotifier::Read);
        connect(notifier.get(), &QSocketNotifier::activated, this, [this, listener = d->listeners[i]] {
            IceAcceptStatus status = IceAcceptFailure;
            IceConn ice = IceAcceptConnection(listener, &status);
            if (ice == nullptr || status != IceAcceptSuccess)
                return;
            Client& client = d->clients.emplace_back();
            client.ice = ice;
            client.notifier =
                std::make_unique<QSocketNotifier>(IceConnectionNumber(ice), QSocketNotifier::Read);
            connect(client.notifier.get(), &QSocketNotifier::activated, this, [this, ice] {
                if (IceProcessMessages(ice, nullptr, nullptr) != IceProcessMessagesIOError)
                    return;
                for (Client& gone : d->clients) {
                    if (gone.ice != ice)
                        continue;
                    if (gone.notifier) {
                        gone.notifier->setEnabled(false);
                        gone.notifier.release()->deleteLater();
                    }
                    if (gone.connection != nullptr)
                        SmsCleanUp(gone.connection);
                    gone.connection = nullptr;
                    gone.ice = nullptr;
                }
                IceSetShutdownNegotiation(ice, False);
                IceCloseConnection(ice);
            });
        });
        d->listenNotifiers.push_back(std::move(notifier));
    }
    char* ids = IceComposeNetworkIdList(d->listenCount, d->listeners);
    d->address = QString::fromLocal8Bit(ids);
    std::free(ids);
    return true;
}

QString SessionManager::errorString() const {
    return d->error;
}

QString SessionManager::address() const {
    return d->address;
}

bool SessionManager::waitForClient(int ms) {
    return QTest::qWaitFor(
        [this] {
            for (const Client& client : d->clients) {
                if (client.registered && client.connection != nullptr)
                    return true;
            }
            return false;
        },
        ms);
}

bool SessionManager::saveYourself(bool shutdown, int ms) {
    int asked = 0;
    for (Client& client : d->clients) {
        if (client.connection == nullptr)
            continue;
        client.saveDone = false;
        SmsSaveYourself(client.connection, SmSaveBoth, shutdown ? True : False, SmInteractStyleAny, False);
        ++asked;
    }
    return asked > 0 && QTest::qWaitFor(
                            [this] {
                                for (const Client& client : d->clients) {
                                    if (client.connection != nullptr && !client.saveDone)
                                        return false;
                                }
                                return true;
                            },
                            ms);
}

void SessionManager::die() {
    for (Client& client : d->clients) {
        if (client.connection != nullptr)
            SmsDie(client.connection);
    }
}

} // namespace quillo::e2e

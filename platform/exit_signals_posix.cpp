#include "platform/exit_signals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quillo {
namespace {

constexpr std::array kSignals = {SIGTERM, SIGINT, SIGHUP};
// The write end, for the handler; -1 while no object listens.
volatile sig_atomic_t s_writeFd = -1;

extern "C" void onExitSignal(int signalNumber) {
    const int savedErrno = errno;
    const int fd = s_writeFd;
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signalNumber);
        // A full pipe means an earlier request is still unread; that one suffices.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

} // namespace

struct ExitSignals::Private {
    int fds[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier;
    std::array<struct sigaction, kSignals.size()> previous{};
    bool active = false;
};

ExitSignals::ExitSignals(QObject* parent)
    : QObject(parent)
    , d(std::make_unique<Private>()) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, d->fds) != 0)
        return;
    d->notifier = std::make_unique<QSocketNotifier>(d->fds[1], QSocketNotifier::Read);
    connect(d->notifier.get(), &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        while (::read(d->fds[1], &byte, 1) == 1)
            emit exitRequested(int(byte));
    });
    s_writeFd = d->fds[0];
    struct sigaction action = {};
    action.sa_handler = onExitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    d->active = true;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        d->active = ::sigaction(kSignals[i], &action, &d->previous[i]) == 0 && d->active;
}

ExitSignals::~ExitSignals() {
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        ::sigaction(kSignals[i], &d->previous[i], nullptr);
    s_writeFd = -1;
    d->notifier.reset();
    for (int fd : d->fds) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool ExitSignals::isActive() const {
    return d->active;
}

} // namespace quillo

#include "app/TerminationSignals.h"

#include <QDebug>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int sockets[2] = {-1, -1};
const int caught[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void onSignal(int number)
{
    const unsigned char byte = static_cast<unsigned char>(number);
    // Nothing but an async-signal-safe write; a full socket only drops a repeat.
    [[maybe_unused]] const ssize_t written = ::write(sockets[1], &byte, 1);
}
} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (sockets[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) {
        qWarning() << "TerminationSignals: signals stay with their default handling";
        return;
    }
    ::fcntl(sockets[1], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(sockets[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : caught)
        ::sigaction(number, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    for (const int number : caught)
        ::signal(number, SIG_DFL);
    ::close(sockets[0]);
    ::close(sockets[1]);
    sockets[0] = sockets[1] = -1;
}

void TerminationSignals::readSignal()
{
    unsigned char byte = 0;
    if (::read(sockets[0], &byte, 1) == 1) {
        qDebug() << "TerminationSignals: signal" << int(byte) << ", closing";
        emit terminationRequested(int(byte));
    }
}

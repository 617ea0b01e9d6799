#include "link/Connection.h"

#include <QDeadlineTimer>
#include <QThread>
#include <array>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "link/LinkLog.h"
#include "link/LinkTrace.h"
#include "link/WinsockErrorText.h"

namespace tolm {

namespace {

constexpr int kStopCheckSliceMs = 50;

// Sleeps `ms`, asking `stopped` every slice; false when it said to stop.
bool pauseUnless(int ms, const std::function<bool()>& stopped) {
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (stopped()) {
            return false;
        }
        QThread::msleep(quint64(qMin<qint64>(kStopCheckSliceMs, deadline.remainingTime())));
    }
    return !stopped();
}

net::SocketHandle connectionFailed(const char* what) {
    qCWarning(lcLink, "error: EstablishConnection: %s", what);
    return net::kInvalidSocket;
}

// What a look-up thread hands back; shared, so that a look-up left behind outlives the wait.
struct Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::optional<quint32> address;
    int error = 0;
};

std::mutex resolverMutex;
HostResolver installedResolver;
Connector installedConnector;

Connector currentConnector() {
    std::lock_guard lock(resolverMutex);
    if (installedConnector) {
        return installedConnector;
    }
    return [](net::SocketHandle s, quint32 address, quint16 port,
              const std::function<bool()>& cancelled) {
        return net::connectSocket(s, address, port, cancelled);
    };
}

HostResolver currentResolver() {
    std::lock_guard lock(resolverMutex);
    if (installedResolver) {
        return installedResolver;
    }
    return [](const QByteArray& name) { return net::resolveHost(name); };
}

}  // namespace

void setHostResolver(HostResolver resolver) {
    std::lock_guard lock(resolverMutex);
    installedResolver = std::move(resolver);
}

void setConnector(Connector connector) {
    std::lock_guard lock(resolverMutex);
    installedConnector = std::move(connector);
}

std::optional<quint32> LookupAddress(const QString& host, const std::atomic<bool>* stopRequest) {
    const QByteArray text = host.toLocal8Bit();
    if (const auto dotted = net::dottedAddress(text)) {
        return dotted;
    }
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, text, resolve = currentResolver()] {
        std::optional<quint32> address = resolve(text);
        const int error = net::lastError();
        std::lock_guard lock(lookup->mutex);
        lookup->address = address;
        lookup->error = error;
        lookup->finished = true;
        lookup->done.notify_all();
    }).detach();

    std::unique_lock lock(lookup->mutex);
    while (!lookup->done.wait_for(lock, std::chrono::milliseconds(kStopCheckSliceMs),
                                  [&] { return lookup->finished; })) {
        if (stopRequest && stopRequest->load()) {
            qCInfo(lcLink).noquote() << "LookupAddress(): stop requested while looking up" << host;
            return std::nullopt;
        }
    }
    if (!lookup->address) {
        qCWarning(lcLink).noquote()
            << WinsockErrorText(QStringLiteral("LookupAddress(): ") + host, lookup->error);
    }
    return lookup->address;
}

net::SocketHandle EstablishConnection(quint32 address, quint16 portNetOrder, int attempts,
                                      const ConnectCancelled& cancelled, int attemptMs) {
    const auto stopped = [&cancelled] { return cancelled && cancelled(); };
    const Connector connect = currentConnector();
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        if (stopped()) {
            break;
        }
        // A socket whose connect failed is not used again: its state is then unspecified.
        const net::SocketHandle s = net::openTcpSocket();
        if (s == net::kInvalidSocket) {
            return connectionFailed("INVALID_SOCKET");
        }
        const QDeadlineTimer deadline(attemptMs);
        if (connect(s, address, portNetOrder, [&] { return stopped() || deadline.hasExpired(); })) {
            LinkTrace::connectAttempt(address, portNetOrder, attempt, attempts, true, 0);
            return s;
        }
        const int error =
            deadline.hasExpired() && !stopped() ? net::kErrTimedOut : net::lastError();
        qCDebug(lcLink).noquote() << WinsockErrorText(
            QStringLiteral("connect() attempt %1 of %2").arg(attempt).arg(attempts), error);
        LinkTrace::connectAttempt(address, portNetOrder, attempt, attempts, false, error);
        net::closeSocket(s);
        if (!pauseUnless(kConnectPauseMs, stopped)) {
            break;
        }
    }
    if (stopped()) {
        qCInfo(lcLink, "EstablishConnection: given up on request");
        return net::kInvalidSocket;
    }
    return connectionFailed("SOCKET_ERROR");
}

bool SetSocketRcvTimeout(net::SocketHandle s, int timeoutMs) {
    return !net::setReceiveTimeout(s, timeoutMs);
}

bool SetSocketSendTimeout(net::SocketHandle s, int timeoutMs) {
    return !net::setSendTimeout(s, timeoutMs);
}

bool ShutdownConnection(net::SocketHandle s) {
    LinkTrace::closed(true);
    if (!net::shutdownSend(s)) {
        qCWarning(lcLink).noquote()
            << WinsockErrorText(QStringLiteral("ShutdownConnection(): shutdown() failed"), 0);
        net::closeSocket(s);  // the handle is released all the same
        return false;
    }
    std::array<unsigned char, 1024> drain;
    const QDeadlineTimer deadline(kShutdownDrainMs);
    for (;;) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0 || net::waitReadable(s, int(left)) != net::Readiness::Ready) {
            qCWarning(lcLink, "ShutdownConnection(): the unit did not close within %d ms",
                      kShutdownDrainMs);
            break;
        }
        const int n = net::recvSome(s, drain.data(), int(drain.size()), false);
        if (n > 0) {
            LinkTrace::drained(drain.data(), n);
            qCWarning(lcLink, "FYI, received %d unexpected bytes during shutdown", n);
        } else if (n == 0) {
            break;
        } else {
            qCWarning(lcLink).noquote()
                << WinsockErrorText(QStringLiteral("ShutdownConnection(): recv() failed"), 0);
            break;
        }
    }
    if (!net::closeSocket(s)) {
        qCWarning(lcLink).noquote()
            << WinsockErrorText(QStringLiteral("ShutdownConnection(): closesocket() failed"), 0);
        return false;
    }
    return true;
}

bool AbortConnection(net::SocketHandle s) {
    LinkTrace::closed(false);
    // After a failed step the handle is still closed, so that no socket is left behind.
    const bool ok = net::setAbortiveLinger(s) && net::shutdownSend(s);
    return net::closeSocket(s) && ok;
}

}  // namespace tolm

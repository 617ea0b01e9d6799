#include "link/TCPHandler.h"

#include <QtEndian>
#include <optional>

#include "link/CommLog.h"
#include "link/CommandExchange.h"
#include "link/Connection.h"
#include "link/LinkLog.h"
#include "link/LinkStatus.h"
#include "link/LinkTrace.h"

namespace tolm {

namespace {

// How long a link thread that has signalled its end may take to return.
constexpr int kThreadWindUpMs = 1000;

// A failure while the connection comes up.
struct StartFailure {
    const char* text;
};

QString dotted(quint32 addressNetOrder) {
    const quint32 a = qFromBigEndian(addressNetOrder);
    return QStringLiteral("%1.%2.%3.%4")
        .arg(a >> 24)
        .arg((a >> 16) & 0xFF)
        .arg((a >> 8) & 0xFF)
        .arg(a & 0xFF);
}

int serveCommands(LinkContext& link, net::SocketHandle& socket) {
    for (;;) {
        link.commandEvent.wait(AutoResetEvent::kInfinite);
        if (link.stopRequest.load()) {
            return kLinkStopped;
        }
        const std::optional<CommandHandOver::Taken> taken = link.handOver.take();
        if (!taken) {
            qCDebug(lcLink) << "command event without a command: ignored";
            continue;
        }
        switch (CommandExchange(link, socket, taken->generation, taken->receiveLimitMs).run()) {
            case CommandExchange::Outcome::Completed:
            case CommandExchange::Outcome::Failed:
            case CommandExchange::Outcome::Withdrawn:
                link.handOver.report(taken->generation);
                link.responseEvent.set();
                break;
            case CommandExchange::Outcome::Abandoned:
                // The connection was reset in the middle of an exchange: the thread ends, and
                // the next command sets the link up again where the user sees it and can end
                // it. TCPHandler reports the command once the thread has wound up.
            case CommandExchange::Outcome::Untrusted:
                // Reported like any failed command, but by TCPHandler once the thread has
                // wound up, so that the response event is set exactly once.
                return kLinkFailed;
            case CommandExchange::Outcome::Stopped:
                return kLinkStopped;
        }
    }
}

// The body of the thread; hands back the socket it leaves open (kInvalidSocket if none).
int TCPHandler_(LinkContext& link, net::SocketHandle& socket) {
    quint32 address = 0;
    quint16 port = 0;
    try {
        if (!net::startup()) {
            throw StartFailure{"WSAStartup() failed."};
        }
        const QString host = link.host();
        qCDebug(lcLink).noquote()
            << QStringLiteral("Looking up remote host address (%1)...").arg(host);
        const auto found = LookupAddress(host, &link.stopRequest);
        if (!found) {
            if (link.stopRequest.load()) {
                return kLinkStopped;
            }
            throw StartFailure{"LookupAddress() failed."};
        }
        address = *found;
        port = qToBigEndian(quint16(link.port.load()));
        qCInfo(lcLink).noquote() << dotted(address) + QLatin1Char(':') +
                                        QString::number(link.port.load());
        qCDebug(lcLink) << "Connecting to remote host...";
        socket = EstablishConnection(
            address, port, link.connectAttempts.load(), [&link] { return link.stopRequest.load(); },
            link.connectAttemptMs.load());
        if (socket == net::kInvalidSocket) {
            if (link.stopRequest.load()) {
                return kLinkStopped;
            }
            throw StartFailure{"EstablishConnection() failed."};
        }
        if (SetSocketRcvTimeout(socket, link.socketTimeoutMs.load())) {
            throw StartFailure{"SetSocketRcvTimeout() failed."};
        }
        if (SetSocketSendTimeout(socket, link.socketTimeoutMs.load())) {
            throw StartFailure{"SetSocketSendTimeout() failed."};
        }
        qCDebug(lcLink, "*** connected to remote host using socket #%d ***", int(socket));
    } catch (const StartFailure& failure) {
        const QString message =
            QStringLiteral("error: TCPHandler_(): ") + QLatin1String(failure.text);
        LogCommStatus(message, STATUS_ERROR);
        link.setStatus(STATUS_ERROR, message);
        return kLinkFailed;
    }
    LogCommStatus(QStringLiteral("thread initialised"), STATUS_READY);
    link.setStatus(STATUS_READY, QStringLiteral("thread initialised"));
    link.handOver.threadServing();
    link.responseEvent.set();
    return serveCommands(link, socket);
}

}  // namespace

int TCPHandler(LinkContext& link) {
    net::SocketHandle socket = net::kInvalidSocket;
    LinkTrace::started(link.host(), link.port.load());
    const int result = TCPHandler_(link, socket);
    if (socket != net::kInvalidSocket) {
        qCDebug(lcLink) << "Shutting down connection...";
        ShutdownConnection(socket);
    }
    qCDebug(lcLink) << "Terminates use of the WS2_32.DLL";
    net::cleanup();
    qCDebug(lcLink) << "All done!";
    if (result == kLinkStopped) {
        qCWarning(lcLink) << "TCPHandler(): thread has exited";
        LogCommStatus(QStringLiteral("Thread has exited"), STATUS_EXITED);
        link.setStatus(STATUS_EXITED, QStringLiteral("Thread has exited"));
    }
    LinkTrace::ended(result == kLinkStopped, link.statusText());
    // In one step: whoever sees the command released also sees that no thread serves any more,
    // and no new command is handed to a thread on its way out.
    link.handOver.threadEnded();
    link.responseEvent.set();
    return result;
}

bool StartLinkThread(WorkerThread& thread, LinkContext& link) {
    // A thread that has given its last signal may still be on its way out of TCPHandler.
    if (!link.handOver.threadRunning()) {
        thread.wait(kThreadWindUpMs);
    }
    if (thread.isRunning()) {
        return false;
    }
    // The last signal of the thread before is never taken for the new one's.
    link.commandEvent.reset();
    link.responseEvent.reset();
    link.handOver.threadStarting();
    if (!thread.start([&link] { return TCPHandler(link); })) {
        link.handOver.threadEnded();
        return false;
    }
    return true;
}

}  // namespace tolm

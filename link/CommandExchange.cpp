#include "link/CommandExchange.h"

#include <QFile>
#include <QTemporaryFile>
#include <array>

#include "core/ByteOrder.h"
#include "link/CommLog.h"
#include "link/Connection.h"
#include "link/LinkLog.h"
#include "link/LinkStatus.h"
#include "link/LinkTrace.h"
#include "link/ResponseFile.h"
#include "link/SocketChannel.h"
#include "link/UnitCommand.h"
#include "link/UnitResponse.h"
#include "link/WinsockErrorText.h"

namespace tolm {

namespace {

// The command failed; `trusted` tells whether the connection may carry the next command.
struct Failure {
    QString text;
    bool trusted;
};
// An abort or stop request was seen while waiting for the unit.
struct Interrupted {
    bool stop;
};

const char* const kRefused = "Invalid response detected, or unit returned error";

void check(SocketChannel::Result result, const SocketChannel& channel, const char* text) {
    LinkTrace::socketResult(result, text, channel.lastError());
    switch (result) {
        case SocketChannel::Result::Ok:
            return;
        case SocketChannel::Result::Closed:
            throw Failure{QStringLiteral("Connection closed by the unit."), false};
        case SocketChannel::Result::Failed:
        case SocketChannel::Result::TimedOut:
            qCWarning(lcLink).noquote()
                << WinsockErrorText(QLatin1String(text), channel.lastError());
            throw Failure{QLatin1String(text), false};
        case SocketChannel::Result::Aborted:
            throw Interrupted{false};
        case SocketChannel::Result::Stopped:
            throw Interrupted{true};
    }
}

void store(QFile& file, const unsigned char* data, int length) {
    if (file.write(reinterpret_cast<const char*>(data), length) != length) {
        qCWarning(lcLink) << "cannot write" << file.fileName() << file.errorString();
        throw Failure{QStringLiteral("failed to write temporary file"), false};
    }
}

}  // namespace

CommandExchange::CommandExchange(LinkContext& link, net::SocketHandle& socket,
                                 CommandHandOver::Generation generation, int receiveLimitMs)
    : link_(link),
      socket_(socket),
      generation_(generation),
      timeoutMs_(receiveLimitMs > 0 ? receiveLimitMs : link.socketTimeoutMs.load()) {}

CommandExchange::Outcome CommandExchange::run() {
    link_.setResponseFileName(QString());
    link_.bytesReceived.store(0);
    link_.responseSize.store(0);
    if (link_.handOver.abortRequested(generation_)) {
        // Withdrawn before it was sent: the connection is still in step.
        qCInfo(lcLink) << "a command withdrawn before it was sent is given up";
        LinkTrace::aborted();
        link_.setStatus(STATUS_OK, QStringLiteral("OK"));
        return Outcome::Withdrawn;
    }
    bool withdrawn = false;
    try {
        withdrawn = !exchange();
    } catch (const Failure& failure) {
        return fail(failure.text, failure.trusted);
    } catch (const Interrupted&) {
        // Only a stop request gets here: a withdrawal is dealt with inside exchange().
        closeConnection();
        return Outcome::Stopped;
    }
    link_.setStatus(STATUS_OK, QStringLiteral("OK"));
    return withdrawn ? Outcome::Abandoned : Outcome::Completed;
}

bool CommandExchange::exchange() {
    QTemporaryFile received;
    if (!received.open()) {
        throw Failure{QStringLiteral("failed to open temporary file"), true};
    }
    bool withdrawn = false;
    try {
        sendCommand();
        const quint32 size = receiveSize(received);
        withdrawn = !receiveBody(received, size);
        received.close();
    } catch (const Interrupted& interrupted) {
        if (interrupted.stop) {
            throw;
        }
        withdrawn = true;
    }
    if (withdrawn) {
        // The rest of the response is left unread: the connection is reset.
        qCInfo(lcLink) << "command withdrawn during its exchange: the connection is reset";
        LinkTrace::aborted();
        closeConnection();
        return false;
    }
    validate(received, quint32(link_.responseSize.load()));
    return true;
}

void CommandExchange::sendCommand() {
    const quint32 length = loadBe32(link_.commandBuffer.data());
    if (length < UnitCommand::kHeaderSize || length > link_.commandBuffer.size()) {
        qCWarning(lcLink, "the command buffer holds no command (length word %u)", length);
        throw Failure{QStringLiteral("send() failed."), true};
    }
    SocketChannel channel(link_, socket_, generation_, timeoutMs_);
    LinkTrace::sent(link_.commandBuffer.data(), int(length));
    check(channel.sendAll(link_.commandBuffer.data(), int(length)), channel, "send() failed.");
    qCDebug(lcLinkTraffic, "Sent command (%d Bytes).  Waiting for response...", int(length));
}

quint32 CommandExchange::receiveSize(QFile& into) {
    std::array<unsigned char, 4> word;
    SocketChannel channel(link_, socket_, generation_, timeoutMs_);
    check(channel.receiveExactly(word.data(), int(word.size())), channel,
          "Failed to retrieve response size.");
    LinkTrace::received(word.data(), int(word.size()));
    store(into, word.data(), int(word.size()));
    const quint32 size = loadBe32(word.data());
    link_.responseSize.store(qint32(size));
    link_.bytesReceived.store(qint32(word.size()));
    qCDebug(lcLinkTraffic, "Response message size = %d Bytes", int(size));
    if (size < UnitResponse::kHeaderSize || size > UnitResponse::kMaxSize) {
        // Whatever follows cannot be framed: nothing more is read from this connection.
        LogCommStatus(QStringLiteral("Invalid response size %1").arg(size), STATUS_ERROR);
        throw Failure{QLatin1String(kRefused), false};
    }
    return size;
}

bool CommandExchange::receiveBody(QFile& into, quint32 size) {
    std::array<unsigned char, kChunkSize> chunk;
    SocketChannel channel(link_, socket_, generation_, timeoutMs_);
    quint32 received = 0;
    const quint32 due = size - 4;
    while (received < due) {
        int n = 0;
        const int want = int(qMin<quint32>(kChunkSize, due - received));
        check(channel.receiveSome(chunk.data(), want, n), channel, "recv() failed.");
        LinkTrace::received(chunk.data(), n);
        store(into, chunk.data(), n);
        received += quint32(n);
        link_.bytesReceived.store(qint32(received + 4));
        if (n >= 4) {
            qCDebug(lcLinkTraffic, "%d / %d\t%#x...%#x", int(received + 4), int(size),
                    loadBe32(chunk.data()), loadBe32(chunk.data() + (n / 4 - 1) * 4));
        } else {
            qCDebug(lcLinkTraffic, "%d / %d", int(received + 4), int(size));
        }
        if (link_.handOver.abortRequested(generation_)) {
            // A response that is already complete is validated as usual: the connection is
            // in step and need not be reset.
            return received == due;
        }
    }
    return true;
}

void CommandExchange::validate(QFile& received, quint32 size) {
    QString name;
    const int rc = ValidateResponse(name, received, size);
    link_.setResponseFileName(name);
    if (rc != 0) {
        throw Failure{QLatin1String(kRefused), true};
    }
}

void CommandExchange::closeConnection() {
    if (socket_ != net::kInvalidSocket) {
        AbortConnection(socket_);
        socket_ = net::kInvalidSocket;
    }
}

CommandExchange::Outcome CommandExchange::fail(const QString& text, bool trusted) {
    const QString name = link_.responseFileName();
    if (!name.isEmpty()) {
        QFile::remove(name);
        link_.setResponseFileName(QString());
    }
    LogCommStatus(text, STATUS_ERROR);
    LinkTrace::failed(text);
    link_.setStatus(STATUS_ERROR, text);
    if (trusted) {
        return Outcome::Failed;
    }
    closeConnection();
    return Outcome::Untrusted;
}

}  // namespace tolm

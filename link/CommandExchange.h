#pragma once
// One command on the link thread: send it, stream the response into a temporary file, validate
// it into the response file, and leave the outcome in the LinkContext. A command withdrawn in
// the middle of its exchange resets the connection, as does a connection that can no longer be
// trusted; the thread then ends.
#include <QString>
#include <QtGlobal>

#include "link/LinkContext.h"
#include "link/SocketApi.h"

class QFile;

namespace tolm {

class CommandExchange {
public:
    enum class Outcome {
        Completed,  // STATUS_OK; the thread signals and waits for the next command
        Failed,     // STATUS_ERROR; the connection is still good
        Withdrawn,  // given up before it was sent: STATUS_OK without a response file
        Abandoned,  // given up during its exchange: STATUS_OK without a response file, and the
                    // connection is reset (the rest of the answer is never read)
        Untrusted,  // STATUS_ERROR; the connection is closed and the thread must end
        Stopped,    // a stop request came during the command; the connection is closed
    };
    // Bytes asked of the socket at a time while the response streams in.
    static constexpr int kChunkSize = 1024;

    // socket is the thread's connection; it is set to kInvalidSocket when the exchange closes
    // it. receiveLimitMs: the longest wait without progress (0: the link's socket time-out).
    CommandExchange(LinkContext& link, net::SocketHandle& socket,
                    CommandHandOver::Generation generation, int receiveLimitMs);

    Outcome run();

private:
    // False when the command was withdrawn while it ran.
    bool exchange();
    void sendCommand();
    quint32 receiveSize(QFile& into);
    bool receiveBody(QFile& into, quint32 size);
    void validate(QFile& received, quint32 size);
    void closeConnection();
    Outcome fail(const QString& text, bool trusted);

    LinkContext& link_;
    net::SocketHandle& socket_;
    CommandHandOver::Generation generation_;
    int timeoutMs_;
};

}  // namespace tolm

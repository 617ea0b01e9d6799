#pragma once
// One command on the link thread: send it, stream the response into a temporary file, validate
// it into the response file, and leave the outcome in the LinkContext. An abort closes the
// connection and connects again; a connection that can no longer be trusted is closed.
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
        Untrusted,  // STATUS_ERROR; the connection is closed and the thread must end
        Stopped,    // a stop request came during the command; the connection is closed
    };
    // Bytes asked of the socket at a time while the response streams in.
    static constexpr int kChunkSize = 1024;
    // Pause between closing an aborted connection and connecting again.
    static constexpr int kReconnectPauseMs = 500;

    // socket is the thread's connection; it is replaced when the exchange reconnects and set to
    // kInvalidSocket when the exchange closes it.
    CommandExchange(LinkContext& link, net::SocketHandle& socket, quint32 address,
                    quint16 portNetOrder)
        : link_(link), socket_(socket), address_(address), port_(portNetOrder) {}

    Outcome run();

private:
    void exchange();
    void sendCommand();
    quint32 receiveSize(QFile& into);
    bool receiveBody(QFile& into, quint32 size);
    void validate(QFile& received, quint32 size);
    void reconnect();
    Outcome fail(const QString& text, bool trusted);

    LinkContext& link_;
    net::SocketHandle& socket_;
    quint32 address_;
    quint16 port_;
};

}  // namespace tolm

#pragma once
// The link thread's sends and receives on its connection. Every wait for the socket is made in
// short slices so that an abort or stop request takes effect at once, even while the unit is
// silent; a wait that sees no progress for the command's receive limit fails.
#include "link/LinkContext.h"
#include "link/SocketApi.h"

namespace tolm {

class SocketChannel {
public:
    enum class Result { Ok, Closed, Failed, TimedOut, Aborted, Stopped };
    // Longest wait before the requests are looked at again.
    static constexpr int kSliceMs = 20;

    // generation: the command the channel works for; its withdrawal is an abort. timeoutMs:
    // the longest wait without progress.
    SocketChannel(LinkContext& link, net::SocketHandle socket,
                  CommandHandOver::Generation generation, int timeoutMs)
        : link_(link), socket_(socket), generation_(generation), timeoutMs_(timeoutMs) {}

    Result sendAll(const unsigned char* data, int length);
    // Receives at least one and at most `max` bytes; their number goes to `received`.
    Result receiveSome(unsigned char* into, int max, int& received);
    // Receives exactly `count` bytes, in as many pieces as they come in.
    Result receiveExactly(unsigned char* into, int count);
    // The Winsock code of the last failure.
    int lastError() const { return lastError_; }

private:
    Result interruption() const;
    Result waitUntilReady(bool forWriting);

    LinkContext& link_;
    net::SocketHandle socket_;
    CommandHandOver::Generation generation_;
    int timeoutMs_;
    int lastError_ = 0;
};

}  // namespace tolm

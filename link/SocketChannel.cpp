#include "link/SocketChannel.h"

#include <QDeadlineTimer>

namespace tolm {

SocketChannel::Result SocketChannel::interruption() const {
    if (link_.stopRequest.load()) {
        return Result::Stopped;
    }
    if (link_.handOver.abortRequested(generation_)) {
        return Result::Aborted;
    }
    return Result::Ok;
}

SocketChannel::Result SocketChannel::waitUntilReady(bool forWriting) {
    const QDeadlineTimer deadline(timeoutMs_);
    for (;;) {
        if (const Result r = interruption(); r != Result::Ok) {
            return r;
        }
        const qint64 left = deadline.remainingTime();
        if (left <= 0) {
            lastError_ = net::kErrTimedOut;
            return Result::TimedOut;
        }
        const int slice = int(qMin<qint64>(left, kSliceMs));
        const net::Readiness ready =
            forWriting ? net::waitWritable(socket_, slice) : net::waitReadable(socket_, slice);
        if (ready == net::Readiness::Ready) {
            return Result::Ok;
        }
        if (ready == net::Readiness::Failed) {
            lastError_ = net::lastError();
            return Result::Failed;
        }
    }
}

SocketChannel::Result SocketChannel::sendAll(const unsigned char* data, int length) {
    for (int sent = 0; sent < length;) {
        if (const Result r = waitUntilReady(true); r != Result::Ok) {
            return r;
        }
        const int n = net::sendSome(socket_, data + sent, length - sent);
        if (n < 0) {
            lastError_ = net::lastError();
            return Result::Failed;
        }
        sent += n;
    }
    return Result::Ok;
}

SocketChannel::Result SocketChannel::receiveSome(unsigned char* into, int max, int& received) {
    received = 0;
    for (;;) {
        // Data that is already there is taken without a wait; the requests are still seen
        // after every chunk, by the caller.
        const int n = net::recvSome(socket_, into, max, true);
        if (n > 0) {
            received = n;
            return Result::Ok;
        }
        if (n == 0) {
            return Result::Closed;
        }
        if (net::lastError() != net::kErrWouldBlock) {
            lastError_ = net::lastError();
            return Result::Failed;
        }
        if (const Result r = waitUntilReady(false); r != Result::Ok) {
            return r;
        }
    }
}

SocketChannel::Result SocketChannel::receiveExactly(unsigned char* into, int count) {
    for (int have = 0; have < count;) {
        int n = 0;
        if (const Result r = receiveSome(into + have, count - have, n); r != Result::Ok) {
            return r;
        }
        have += n;
    }
    return Result::Ok;
}

}  // namespace tolm

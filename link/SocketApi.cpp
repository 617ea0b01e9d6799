#include "link/SocketApi.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace tolm::net {

namespace {

thread_local int lastErrorCode = 0;
std::atomic<bool> loopbackOnly{false};

// How often a connect in progress looks at its cancel predicate.
constexpr int kConnectSliceMs = 50;

bool fail(int winsockCode) {
    lastErrorCode = winsockCode;
    return false;
}
bool failFromErrno() {
    return fail(winsockCodeFromErrno(errno));
}

Readiness waitFor(SocketHandle s, short events, int timeoutMs) {
    pollfd p{s, events, 0};
    for (;;) {
        const int n = ::poll(&p, 1, timeoutMs);
        if (n > 0) {
            return Readiness::Ready;
        }
        if (n == 0) {
            return Readiness::TimedOut;
        }
        if (errno != EINTR) {
            failFromErrno();
            return Readiness::Failed;
        }
    }
}

bool setBlocking(SocketHandle s, bool blocking) {
    const int flags = ::fcntl(s, F_GETFL, 0);
    if (flags < 0) {
        return failFromErrno();
    }
    const int wanted = blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK;
    return ::fcntl(s, F_SETFL, wanted) == 0 || failFromErrno();
}

bool setTimeoutOption(SocketHandle s, int option, int timeoutMs) {
    timeval tv{};
    tv.tv_sec = timeoutMs / 1000;
    tv.tv_usec = (timeoutMs % 1000) * 1000;
    return ::setsockopt(s, SOL_SOCKET, option, &tv, sizeof tv) == 0 || failFromErrno();
}

}  // namespace

int lastError() {
    return lastErrorCode;
}

int winsockCodeFromErrno(int e) {
    switch (e) {
        case EINTR:
            return 10004;
        case EBADF:
            return 10009;
        case EACCES:
            return 10013;
        case EFAULT:
            return 10014;
        case EINVAL:
            return 10022;
        case EMFILE:
            return 10024;
        case EWOULDBLOCK:
            return 10035;
        case EINPROGRESS:
            return 10036;
        case EALREADY:
            return 10037;
        case ENOTSOCK:
            return 10038;
        case EDESTADDRREQ:
            return 10039;
        case EMSGSIZE:
            return 10040;
        case EPROTOTYPE:
            return 10041;
        case ENOPROTOOPT:
            return 10042;
        case EPROTONOSUPPORT:
            return 10043;
        case ESOCKTNOSUPPORT:
            return 10044;
        case EOPNOTSUPP:
            return 10045;
        case EPFNOSUPPORT:
            return 10046;
        case EAFNOSUPPORT:
            return 10047;
        case EADDRINUSE:
            return 10048;
        case EADDRNOTAVAIL:
            return 10049;
        case ENETDOWN:
            return 10050;
        case ENETUNREACH:
            return 10051;
        case ENETRESET:
            return 10052;
        case ECONNABORTED:
            return 10053;
        case ECONNRESET:
            return 10054;
        case ENOBUFS:
            return 10055;
        case EISCONN:
            return 10056;
        case ENOTCONN:
            return 10057;
        case ESHUTDOWN:
        case EPIPE:
            return 10058;
        case ETOOMANYREFS:
            return 10059;
        case ETIMEDOUT:
            return 10060;
        case ECONNREFUSED:
            return 10061;
        case ELOOP:
            return 10062;
        case ENAMETOOLONG:
            return 10063;
        case EHOSTDOWN:
            return 10064;
        case EHOSTUNREACH:
            return 10065;
        case ENOTEMPTY:
            return 10066;
        case EUSERS:
            return 10068;
        case EDQUOT:
            return 10069;
        case ESTALE:
            return 10070;
        case EREMOTE:
            return 10071;
        default:
            return e;
    }
}

bool startup() {
    return true;
}

void cleanup() {}

std::optional<quint32> dottedAddress(const QByteArray& text) {
    in_addr a{};
    if (::inet_aton(text.constData(), &a) == 0 || a.s_addr == INADDR_NONE) {
        return std::nullopt;
    }
    return a.s_addr;
}

std::optional<quint32> resolveHost(const QByteArray& name) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const int rc = ::getaddrinfo(name.constData(), nullptr, &hints, &list);
    if (rc != 0 || list == nullptr) {
        fail(rc == EAI_NONAME ? kErrHostNotFound : kErrNoData);
        return std::nullopt;
    }
    sockaddr_in first{};
    std::memcpy(&first, list->ai_addr, sizeof first);
    ::freeaddrinfo(list);
    return first.sin_addr.s_addr;
}

SocketHandle openTcpSocket() {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        failFromErrno();
        return kInvalidSocket;
    }
    return s;
}

bool connectSocket(SocketHandle s, quint32 address, quint16 port,
                   const std::function<bool()>& cancelled) {
    if (loopbackOnly.load() && (ntohl(address) >> 24) != 127) {
        return fail(kErrAccess);
    }
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    to.sin_port = port;
    if (!setBlocking(s, false)) {
        return false;
    }
    if (::connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        if (errno != EINPROGRESS) {
            return failFromErrno();
        }
        for (;;) {
            const Readiness r = waitWritable(s, kConnectSliceMs);
            if (r == Readiness::Failed) {
                return false;
            }
            if (r == Readiness::Ready) {
                break;
            }
            if (cancelled && cancelled()) {
                return fail(kErrInterrupted);
            }
        }
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
            return failFromErrno();
        }
        if (error != 0) {
            return fail(winsockCodeFromErrno(error));
        }
    }
    return setBlocking(s, true);
}

int sendSome(SocketHandle s, const unsigned char* data, int length) {
    const ssize_t n = ::send(s, data, static_cast<size_t>(length), MSG_NOSIGNAL);
    if (n < 0) {
        failFromErrno();
        return -1;
    }
    return static_cast<int>(n);
}

int recvSome(SocketHandle s, unsigned char* data, int length, bool dontWait) {
    for (;;) {
        const ssize_t n = ::recv(s, data, static_cast<size_t>(length), dontWait ? MSG_DONTWAIT : 0);
        if (n >= 0) {
            return static_cast<int>(n);
        }
        if (errno != EINTR) {
            failFromErrno();
            return -1;
        }
    }
}

Readiness waitReadable(SocketHandle s, int timeoutMs) {
    return waitFor(s, POLLIN, timeoutMs);
}

Readiness waitWritable(SocketHandle s, int timeoutMs) {
    return waitFor(s, POLLOUT, timeoutMs);
}

bool setReceiveTimeout(SocketHandle s, int timeoutMs) {
    return setTimeoutOption(s, SO_RCVTIMEO, timeoutMs);
}

bool setSendTimeout(SocketHandle s, int timeoutMs) {
    return setTimeoutOption(s, SO_SNDTIMEO, timeoutMs);
}

bool setAbortiveLinger(SocketHandle s) {
    linger l{};
    l.l_onoff = 1;
    l.l_linger = 0;
    return ::setsockopt(s, SOL_SOCKET, SO_LINGER, &l, sizeof l) == 0 || failFromErrno();
}

bool shutdownSend(SocketHandle s) {
    return ::shutdown(s, SHUT_WR) == 0 || failFromErrno();
}

bool closeSocket(SocketHandle s) {
    return ::close(s) == 0 || failFromErrno();
}

void setLoopbackOnly(bool on) {
    loopbackOnly.store(on);
}

}  // namespace tolm::net

#pragma once
// The few socket calls the link thread makes, behind one small interface. This build uses the
// POSIX calls; a Winsock build provides the same functions. Failures are reported as Winsock
// error codes (lastError()), so that WinsockErrorText describes them on every platform.
#include <QByteArray>
#include <QtGlobal>
#include <cstdint>
#include <functional>
#include <optional>

namespace tolm::net {

#ifdef _WIN32
using SocketHandle = std::uintptr_t;
#else
using SocketHandle = int;
#endif
inline constexpr SocketHandle kInvalidSocket = static_cast<SocketHandle>(-1);

// Winsock codes this code tests for or reports itself.
inline constexpr int kErrInterrupted = 10004;
inline constexpr int kErrAccess = 10013;
inline constexpr int kErrWouldBlock = 10035;
inline constexpr int kErrConnReset = 10054;
inline constexpr int kErrTimedOut = 10060;
inline constexpr int kErrHostNotFound = 11001;
inline constexpr int kErrNoData = 11004;

// The Winsock code of the last failed call on this thread.
int lastError();
// The Winsock code for a POSIX errno value (unknown values come back unchanged).
int winsockCodeFromErrno(int errnoValue);

// WSAStartup for version 2.2 and WSACleanup; nothing to do on POSIX.
bool startup();
void cleanup();

// inet_addr: the address of a dotted IPv4 text in network order, or nothing.
std::optional<quint32> dottedAddress(const QByteArray& text);
// The first IPv4 address of a host name in network order, or nothing.
std::optional<quint32> resolveHost(const QByteArray& name);

SocketHandle openTcpSocket();
// Connects to an IPv4 address (network order) and port (network order). The wait for the
// connection polls cancelled() every few tens of milliseconds and gives up when it says so.
bool connectSocket(SocketHandle s, quint32 address, quint16 port,
                   const std::function<bool()>& cancelled);
// One send or recv call. Result: bytes moved, 0 when the peer has closed (recv only), -1 on
// failure. With dontWait, recv fails with kErrWouldBlock instead of waiting for data.
int sendSome(SocketHandle s, const unsigned char* data, int length);
int recvSome(SocketHandle s, unsigned char* data, int length, bool dontWait);

enum class Readiness { Ready, TimedOut, Failed };
// Waits at most timeoutMs until the socket can be read (or has closed), or can be written.
Readiness waitReadable(SocketHandle s, int timeoutMs);
Readiness waitWritable(SocketHandle s, int timeoutMs);

// SO_RCVTIMEO / SO_SNDTIMEO; true on success.
bool setReceiveTimeout(SocketHandle s, int timeoutMs);
bool setSendTimeout(SocketHandle s, int timeoutMs);
// SO_LINGER on with a time of 0, so that closing resets the connection.
bool setAbortiveLinger(SocketHandle s);
bool shutdownSend(SocketHandle s);
bool closeSocket(SocketHandle s);

// A safety net for tests and tools: while set, connecting to any address outside 127.0.0.0/8
// fails with kErrAccess before a packet leaves the machine.
void setLoopbackOnly(bool on);

}  // namespace tolm::net

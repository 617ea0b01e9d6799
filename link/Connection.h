#pragma once
// Setting up and closing the link thread's TCP connection.
#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <atomic>
#include <functional>
#include <optional>

#include "link/SocketApi.h"

namespace tolm {

// Pause after each failed connect attempt.
inline constexpr int kConnectPauseMs = 1000;
// How long a graceful shutdown waits for the unit to close its side.
inline constexpr int kShutdownDrainMs = 2000;

// A dotted address is taken as it is; anything else is looked up and its first IPv4 address
// used. The address is in network order. A name look-up cannot be interrupted, so it runs on a
// thread of its own, and a set stop request ends the wait for it at once (the look-up is left
// to finish by itself).
std::optional<quint32> LookupAddress(const QString& host,
                                     const std::atomic<bool>* stopRequest = nullptr);

// The name look-up LookupAddress uses: the system's resolver unless a test installed another
// (an empty function restores the system's). It reports failures through net::lastError().
using HostResolver = std::function<std::optional<quint32>(const QByteArray& name)>;
void setHostResolver(HostResolver resolver);

// What ends connect attempts early: a stop request, or the withdrawal of the command that waits
// for the connection.
using ConnectCancelled = std::function<bool()>;

// Makes up to `attempts` connect attempts with a pause of kConnectPauseMs after each failure;
// an attempt that has no answer after attemptMs counts as failed. Returns the connected socket,
// or kInvalidSocket when no attempt succeeded or `cancelled` said to give up.
net::SocketHandle EstablishConnection(quint32 address, quint16 portNetOrder, int attempts,
                                      const ConnectCancelled& cancelled, int attemptMs);

// The connect of one attempt: the system's (net::connectSocket) unless a test installed another
// (an empty function restores the system's). It must give up as soon as `cancelled` says so,
// and reports failures through net::lastError().
using Connector = std::function<bool(net::SocketHandle s, quint32 address, quint16 portNetOrder,
                                     const std::function<bool()>& cancelled)>;
void setConnector(Connector connector);

// SO_RCVTIMEO and SO_SNDTIMEO. As the link thread's steps read them: true on failure.
bool SetSocketRcvTimeout(net::SocketHandle s, int timeoutMs);
bool SetSocketSendTimeout(net::SocketHandle s, int timeoutMs);

// Graceful close: no more sending, read what the unit still sends until it closes (at most
// kShutdownDrainMs), close. True on success; the socket is closed in every case.
bool ShutdownConnection(net::SocketHandle s);
// Abortive close: linger 0, no more sending, close (the connection is reset). True on success;
// the socket is closed in every case.
bool AbortConnection(net::SocketHandle s);

}  // namespace tolm

#pragma once
// The link trace: every byte that crosses the unit link, with the connection's life around it,
// for the maker's support and for playing a fault back with "quor-sim --replay FILE". Off
// unless switched on (the program's option "-t", or the setting "LinkTrace").
//
// The file is "tolmLink.trace" beside the communication log: text, one record a line,
//
//   <time> <event> [<field> ...]
//
// where <time> is the local date and time to the millisecond, 2008-07-16T15:24:05.007, taken
// when the link thread reached that point. The events, in the order the link meets them:
//
//   start <host>:<port> pid <pid>          a link thread starts for this host and port
//   connect <a.b.c.d>:<port> <n>/<of> ok   connect attempt n of `of` succeeded
//   connect <a.b.c.d>:<port> <n>/<of> failed <code>
//                                          ... failed with this Winsock error code
//   send <hex>                             a command, every byte of it, just before it is sent
//   recv <hex>                             bytes of the response as one read brought them
//   drain <hex>                            bytes the unit sent while the link shut down
//   timeout <step>                         no progress within the socket time-out
//   closed <step>                          the unit closed the connection
//   error <code> <step>                    a socket call failed with this Winsock error code
//   abort                                  the command was withdrawn; the rest is left unread
//   fail <text>                            the command failed with this status text
//   close graceful|abortive                the link closed the connection
//   end stopped                            the link thread ended on a stop request
//   end <text>                             the link thread ended by itself, leaving this status
//                                          text: a failure, or "OK" after a withdrawn command
//
// <hex> is two lower-case hexadecimal digits a byte, nothing between them. <step> is the
// failure text of the step ("recv() failed.") and, like <text>, runs to the end of the line.
// The "recv" lines after a "send" are its whole response as the unit sent it, the size word
// first; the time from the "send" to each "recv" is how long the unit took. Lines that begin
// with "#" are notes (records lost because the disk was too slow). A file of several runs
// holds one "start" and one "end" for each link thread.
//
// At kLimitBytes the file is renamed "tolmLink.trace.1", replacing the older copy, and begun
// afresh: the trace never takes more than about twice that. Records are written by a thread of
// the trace's own, so the link never waits for the disk; a file that cannot be written costs
// the records, once reported through "tolm.link.trace", and never the command.
#include <QString>
#include <QtGlobal>

#include "link/SocketChannel.h"

namespace tolm {

class LinkTrace {
public:
    static constexpr qint64 kLimitBytes = 8 * 1024 * 1024;

    // "tolmLink.trace" beside the communication log.
    static QString defaultPath();

    // Switching, from any thread. switchOn begins recording into path (appending to what is
    // there); a trace already on is switched off first. switchOff writes what is still queued.
    static void switchOn(const QString& path = defaultPath(), qint64 limitBytes = kLimitBytes);
    static void switchOff();
    static bool isOn();
    // Waits at most timeoutMs until every record made so far is in the file (tests, exit).
    static bool flush(int timeoutMs);

    // What the link records, on the link thread; each is one call line where it happens and
    // costs nothing but a test of a flag while the trace is off.
    static void started(const QString& host, int port);
    static void connectAttempt(quint32 addressNetOrder, quint16 portNetOrder, int attempt,
                               int attempts, bool connected, int error);
    static void sent(const unsigned char* data, int length);
    static void received(const unsigned char* data, int length);
    static void drained(const unsigned char* data, int length);
    // A send or receive that did not succeed: time-outs, closes and socket errors are recorded;
    // an abort or stop request is not (see aborted() and ended()), nor is success.
    static void socketResult(SocketChannel::Result result, const char* step, int error);
    static void aborted();
    static void failed(const QString& text);
    static void closed(bool graceful);
    static void ended(bool stopped, const QString& text);
};

}  // namespace tolm

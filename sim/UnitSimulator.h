#pragma once
// The simulated unit on the network: listens on 127.0.0.1 only, serves each connection on its
// own thread, reads commands and sends the SimulatedUnit's answers, in segments when asked to.
// Tests run it in-process on a free port; the quor-sim program runs it on its own.
#include <QElapsedTimer>
#include <QtGlobal>
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "sim/SimulatedUnit.h"
#include "sim/TraceScript.h"

namespace quorsim {

class UnitSimulator {
public:
    UnitSimulator() = default;
    UnitSimulator(const UnitSimulator&) = delete;
    UnitSimulator& operator=(const UnitSimulator&) = delete;
    ~UnitSimulator();

    // Listens on 127.0.0.1:port (0: any free port). False when that port cannot be had.
    bool start(quint16 port = 0);
    // Stops listening and drops every connection; the unit keeps its state.
    void stop();
    quint16 port() const { return port_; }

    SimulatedUnit& unit() { return unit_; }
    // Sends every answer in pieces of `bytes` with a pause after each (0 bytes: all at once).
    void setSegments(int bytes, int pauseMs = 1);
    // Resets the next n connections as soon as they are accepted.
    void refuseConnections(int n);
    // The unit is switched off for `ms` milliseconds: its connections go silent (what is sent on
    // them is read and never answered, and they are not closed) and new connections are
    // refused. Switched on again, it resets the connections it had, as a restarted unit's
    // network stack would, and serves new ones as before.
    void powerOff(int ms);
    bool poweredOff() const;
    // Called with one line per command received (the program prints them).
    void setCommandEcho(std::function<void(const QString&)> echo);
    // Plays a link trace back: every command, whichever connection brings it, is answered with
    // the script's next answer at the recorded times and ended as recorded, instead of by the
    // unit. Once the script is used up, a command finds its connection closed. Nothing: the
    // unit answers again.
    void setReplay(std::optional<TraceScript> script);
    // How many of the script's answers have been served so far.
    int answersReplayed() const;

    int connectionsAccepted() const { return accepted_.load(); }
    // Waits until at least n connections have been accepted in all (a client's connect returns
    // before the simulator has accepted it).
    bool waitForConnections(int n, int timeoutMs) const;
    // Waits until the unit has received at least n commands in all.
    bool waitForCommands(std::size_t n, int timeoutMs) const;

private:
    void acceptLoop();
    void serve(int socket, int id);
    // Reads `count` bytes; false when the connection ended, or died with a power cycle.
    bool readExactly(int socket, unsigned char* into, int count, int epoch);
    // A connection that died with a power cycle: silent until the power is back, then reset.
    void dieWithPower(int socket);
    bool pauseMs(int ms);
    void waitUntilClosed(int socket);
    bool send(int socket, const Reply& reply);
    void echo(int id, const ReceivedCommand& command, int length);
    void say(int id, const QString& text);
    // Whether a script is played; if so, its next answer, if one is left.
    bool nextScripted(std::optional<ScriptedAnswer>& answer);
    // Serves one scripted answer; false when the connection is to end.
    bool play(int socket, int id, const QByteArray& command, const ScriptedAnswer& answer);
    bool pauseUntil(const QElapsedTimer& since, qint64 atMs);
    // True when the program still holds the connection at atMs.
    bool connectedUntil(int socket, const QElapsedTimer& since, qint64 atMs);

    SimulatedUnit unit_;
    std::atomic<bool> running_{false};
    int listener_ = -1;
    quint16 port_ = 0;
    std::thread acceptor_;
    std::atomic<int> accepted_{0};
    std::atomic<int> refuseNext_{0};
    std::atomic<int> segmentBytes_{0};
    std::atomic<int> segmentPauseMs_{1};
    std::atomic<qint64> offUntilMs_{0};  // on the steady clock
    std::atomic<int> powerEpoch_{0};     // counts the power cycles

    mutable std::mutex mutex_;  // guards what follows
    // One thread per connection; a connection that has ended is joined at the next accept, so
    // that a long run does not gather finished threads.
    std::map<int, std::thread> connections_;
    std::vector<int> ended_;
    std::set<int> openSockets_;
    std::function<void(const QString&)> echo_;
    std::optional<TraceScript> replay_;
    std::size_t replayNext_ = 0;
};

}  // namespace quorsim

#pragma once
// Shared by the link tests: the communication log read back, a link thread serving from a
// LinkContext against the simulator on loopback, and the response file it leaves.
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "link/LinkContext.h"
#include "link/WorkerThread.h"
#include "sim/UnitSimulator.h"

namespace linktest {

// (status code, status message) of every record in the communication log.
std::vector<std::pair<int, QString>> logRecords();
void clearLog();

// A port on 127.0.0.1 where nothing listens.
quint16 deadPort();

// The bytes of the link's response file (see testenv::fileBytes).
QByteArray responseBytes(tolm::LinkContext& link);

// The simulator and a link thread pointed at it: one connect attempt, the socket time-out given.
struct ThreadRig {
    quorsim::UnitSimulator sim;
    tolm::LinkContext link;
    tolm::WorkerThread thread;

    explicit ThreadRig(int socketTimeoutMs = 3000);
    ~ThreadRig();
    // Starts the link thread; true when it reported STATUS_READY.
    bool connect();
    // Hands over a command and waits for its outcome; true when the link reported in time.
    bool run(quint32 code, std::vector<quint32> payload, int waitMs = 5000);
    // Stops the link thread and waits for it to end.
    void stop();
    // (code, first payload word or 0) of each command the unit received.
    std::vector<std::pair<quint32, quint32>> commandsSent();
};

// A sequence's owner or view that counts the set-ups asked of it; onReconnect makes them.
template <class Base>
struct Reconnecting : Base {
    int reconnects = 0;
    std::function<bool()> onReconnect;
    bool reconnect() override {
        ++reconnects;
        return onReconnect && onReconnect();
    }
};

}  // namespace linktest

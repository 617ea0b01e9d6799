#include "tests/link/LinkTestSupport.h"

#include <QFile>

#include "link/CommLog.h"
#include "link/LinkStatus.h"
#include "link/SocketApi.h"
#include "link/TCPHandler.h"
#include "tests/support/TestEnvironment.h"

namespace linktest {

namespace {

// No test of this program may reach any address but loopback.
const bool loopbackOnly = (tolm::net::setLoopbackOnly(true), true);

}  // namespace

std::vector<std::pair<int, QString>> logRecords() {
    std::vector<std::pair<int, QString>> records;
    int code = -1;
    for (const QByteArray& line : testenv::fileBytes(tolm::commLogPath()).split('\n')) {
        if (line.startsWith("status code:  ")) {
            code = line.mid(14).toInt();
        } else if (line.startsWith("status msg:   ")) {
            records.emplace_back(code, QString::fromLocal8Bit(line.mid(14)));
        }
    }
    return records;
}

void clearLog() {
    QFile::remove(tolm::commLogPath());
}

quint16 deadPort() {
    quorsim::UnitSimulator probe;
    probe.start();
    const quint16 port = probe.port();
    probe.stop();
    return port;
}

QByteArray responseBytes(tolm::LinkContext& link) {
    return testenv::fileBytes(link.responseFileName());
}

ThreadRig::ThreadRig(int socketTimeoutMs) {
    (void)loopbackOnly;
    sim.start();
    link.setHost(QStringLiteral("127.0.0.1"));
    link.port.store(sim.port());
    link.connectAttempts.store(1);
    link.socketTimeoutMs.store(socketTimeoutMs);
    clearLog();
}

ThreadRig::~ThreadRig() {
    stop();
}

bool ThreadRig::connect() {
    tolm::StartLinkThread(thread, link);
    return link.responseEvent.wait(5000) && link.statusCode.load() == tolm::STATUS_READY;
}

bool ThreadRig::run(quint32 code, std::vector<quint32> payload, int waitMs) {
    const auto ticket = tolm::HandOverCommand(link, code, payload);
    return ticket && link.handOver.waitReported(ticket.generation, waitMs);
}

void ThreadRig::stop() {
    link.stopRequest.store(true);
    link.commandEvent.set();
    thread.wait(5000);
    link.stopRequest.store(false);
}

std::vector<std::pair<quint32, quint32>> ThreadRig::commandsSent() {
    std::vector<std::pair<quint32, quint32>> sent;
    for (const auto& c : sim.unit().commands()) {
        sent.emplace_back(c.code, c.payload.empty() ? 0 : c.payload[0]);
    }
    return sent;
}

}  // namespace linktest

// The link thread against the simulated unit on loopback.
#include <netdb.h>

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <memory>
#include <optional>
#include <thread>

#include "link/CommandTable.h"
#include "link/Connection.h"
#include "link/LinkStatus.h"
#include "link/ResponseFile.h"
#include "link/SocketApi.h"
#include "link/TCPHandler.h"
#include "sim/image/FlightImage.h"
#include "tests/link/LinkTestSupport.h"

using namespace tolm;
using linktest::logRecords;
using quorsim::Fault;
using quorsim::FaultKind;
using Record = std::pair<int, QString>;

namespace {

const QString kRefused = QStringLiteral("Invalid response detected, or unit returned error");

// The system's own look-up, not the link's: a bare chroot may have no hosts file.
bool systemResolves(const char* host) {
    addrinfo* found = nullptr;
    if (getaddrinfo(host, nullptr, nullptr, &found) != 0) {
        return false;
    }
    freeaddrinfo(found);
    return true;
}

}  // namespace

TEST(LinkThreadTest, ConnectsByAddressOrNameAndStopsWhenAsked) {
    for (const char* host : {"127.0.0.1", "localhost"}) {
        if (QLatin1String(host) == QLatin1String("localhost") && !systemResolves(host)) {
            GTEST_SKIP() << "this machine cannot resolve \"localhost\"";
        }
        linktest::ThreadRig rig;
        rig.link.setHost(QLatin1String(host));
        ASSERT_TRUE(rig.connect()) << host;
        EXPECT_EQ(rig.link.statusText(), "thread initialised");
        rig.link.stopRequest.store(true);
        rig.link.commandEvent.set();
        ASSERT_TRUE(rig.link.responseEvent.wait(2000)) << host;
        ASSERT_TRUE(rig.thread.wait(1000));
        EXPECT_EQ(rig.thread.exitCode(), kLinkStopped);
        EXPECT_EQ(rig.link.statusCode.load(), STATUS_EXITED);
        EXPECT_EQ(rig.link.statusText(), "Thread has exited");
        EXPECT_EQ(logRecords(),
                  (std::vector<Record>{{1, "thread initialised"}, {3, "Thread has exited"}}));
    }
}

TEST(LinkThreadTest, NothingListeningMakesEachAttemptOneSecondApart) {
    linktest::ThreadRig rig;
    rig.link.port.store(linktest::deadPort());
    rig.link.connectAttempts.store(2);
    std::atomic<int> attempts{0};
    setConnector([&attempts](net::SocketHandle s, quint32 address, quint16 port,
                             const std::function<bool()>& cancelled) {
        ++attempts;
        return net::connectSocket(s, address, port, cancelled);
    });
    QElapsedTimer clock;
    clock.start();
    StartLinkThread(rig.thread, rig.link);
    ASSERT_TRUE(rig.thread.wait(20000));  // bounds that a busy machine cannot fail
    setConnector({});
    EXPECT_GE(clock.elapsed(), 2000);
    EXPECT_EQ(attempts.load(), 2);
    EXPECT_EQ(rig.thread.exitCode(), kLinkFailed);
    const QString text = QStringLiteral("error: TCPHandler_(): EstablishConnection() failed.");
    EXPECT_EQ(rig.link.statusCode.load(), STATUS_ERROR);
    EXPECT_EQ(rig.link.statusText(), text);
    EXPECT_TRUE(rig.link.responseEvent.poll());
    EXPECT_EQ(logRecords(), (std::vector<Record>{{4, text}}));
}

// Command after command on one connection, none of which may put it out of step.
TEST(LinkThreadTest, OneConnectionServesEveryCommandInTurn) {
    linktest::ThreadRig rig(30000);  // the simulator makes its image first
    rig.sim.unit().setSeed(7);
    // A stop request made while no thread runs leaves the command event set: not a command.
    rig.link.stopRequest.store(true);
    rig.link.commandEvent.set();
    rig.link.stopRequest.store(false);
    EXPECT_FALSE(HandOverCommand(rig.link, CMD_GET_PART_NUMBERS, std::vector<quint32>{0}));
    ASSERT_TRUE(rig.connect());
    rig.link.commandEvent.set();  // nor is a signal without a command while it runs
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(rig.sim.unit().commands().empty());
    EXPECT_EQ(rig.link.statusCode.load(), STATUS_READY);

    // A command withdrawn before the thread has sent it is never sent.
    const auto ticket = rig.link.handOver.submit({});  // marked in flight, the thread not told
    ASSERT_TRUE(ticket);
    rig.link.handOver.withdraw(ticket.generation);
    rig.link.commandEvent.set();
    ASSERT_TRUE(rig.link.handOver.waitReported(ticket.generation, 3000));
    EXPECT_EQ(rig.link.statusCode.load(), STATUS_OK);
    EXPECT_TRUE(rig.sim.unit().commands().empty());

    // The response is the same whole or one byte per segment, the size word too.
    ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}));
    EXPECT_EQ(rig.sim.unit().commands().size(), 1u);
    ASSERT_EQ(rig.link.statusCode.load(), STATUS_OK);
    EXPECT_EQ(rig.link.statusText(), "OK");
    EXPECT_EQ(rig.link.responseFileName(), responseFilePath());
    const QByteArray whole = linktest::responseBytes(rig.link);
    ASSERT_EQ(whole.size(), 12 + 8 + 276);
    EXPECT_EQ(whole.mid(20, 16), QByteArray("731-400-000-2C\0\0", 16));
    rig.sim.setSegments(1, 1);
    QFile::remove(responseFilePath());
    ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}));
    EXPECT_EQ(rig.link.statusCode.load(), STATUS_OK);
    EXPECT_EQ(linktest::responseBytes(rig.link), whole);
    EXPECT_EQ(rig.link.bytesReceived.load(), 296);
    rig.sim.setSegments(0);

    // A refused response logs its reason (each reason: the protocol tests) and leaves no file.
    linktest::clearLog();
    rig.sim.unit().addFault({FaultKind::Ack, CMD_GET_PART_NUMBERS, 5});
    ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}));
    EXPECT_EQ(rig.link.statusCode.load(), STATUS_ERROR);
    EXPECT_EQ(rig.link.statusText(), kRefused);
    EXPECT_TRUE(rig.link.responseFileName().isEmpty());
    EXPECT_FALSE(QFile::exists(responseFilePath()));
    EXPECT_EQ(logRecords(),
              (std::vector<Record>{{4, "Unit returned error (ACK = 5)"}, {4, kRefused}}));

    // A download files the unit's image in host order; after an erase, the erased image.
    ASSERT_TRUE(rig.run(CMD_DOWNLOAD_BEARING_DATA, {2, 0}, 30000));
    ASSERT_EQ(rig.link.statusCode.load(), STATUS_OK) << rig.link.statusText().toStdString();
    EXPECT_EQ(rig.link.responseSize.load(), quorsim::FlightImage::kImageSize);
    EXPECT_EQ(rig.link.bytesReceived.load(), quorsim::FlightImage::kImageSize);
    EXPECT_TRUE(linktest::responseBytes(rig.link) ==
                quorsim::FlightImage::generate(7, 2).responseFile());
    ASSERT_TRUE(rig.run(CMD_ERASE_BEARING_DATA, {2}));
    ASSERT_TRUE(rig.run(CMD_DOWNLOAD_BEARING_DATA, {2, 0}, 30000));
    EXPECT_TRUE(linktest::responseBytes(rig.link) ==
                quorsim::FlightImage::erased(2).responseFile());

    // Upload packets arrive whole and in order; an erase takes the unit's time.
    std::vector<quint32> packet(kUploadPacketWords);
    QByteArray expected;
    for (quint32 n = 0; n < 2; ++n) {
        for (quint32 i = 0; i < packet.size(); ++i) {
            packet[i] = 0x01020304u * (n + 1) + i;
            expected += QByteArray(1, char(packet[i] >> 24)) + char(packet[i] >> 16) +
                        char(packet[i] >> 8) + char(packet[i]);
        }
        ASSERT_TRUE(rig.run(CMD_UPLOAD_CONFIG_TABLE, packet));
        EXPECT_EQ(rig.link.statusCode.load(), STATUS_OK);
    }
    EXPECT_EQ(rig.sim.unit().uploaded(CMD_UPLOAD_CONFIG_TABLE), expected);
    rig.sim.unit().setEraseDurationMs(CMD_ERASE_ACCEL_DEFECT_HISTORY, 300);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(rig.run(CMD_ERASE_ACCEL_DEFECT_HISTORY, {1}));
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_EQ(rig.link.statusCode.load(), STATUS_OK);
    EXPECT_EQ(linktest::responseBytes(rig.link).size(), 12);
    EXPECT_EQ(rig.sim.unit().commands().back().payload, std::vector<quint32>{1});

    // The least response size: the header alone, announcing a block that never follows.
    rig.sim.unit().addFault({FaultKind::SizeWord, 0, 12});
    ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}));
    EXPECT_EQ(rig.link.statusCode.load(), STATUS_OK);
    EXPECT_EQ(rig.sim.connectionsAccepted(), 1);
    EXPECT_TRUE(rig.thread.isRunning());
}

// Each is reported, then the thread ends; the size word must lie from 12 to 16777215 bytes.
TEST(LinkThreadTest, BrokenResponsesEndTheThreadAfterReportingTheCommand) {
    struct Case {
        std::optional<Fault> fault;
        QString record;  // logged first; a refusal logs the status text after it
        QString text;
        int stallAfter = 0;  // bytes answered before a 2 s pause; 0: all at once
    };
    const QString recvFailed = QStringLiteral("recv() failed.");
    const QString closed = QStringLiteral("Connection closed by the unit.");
    const QString noSize = QStringLiteral("Failed to retrieve response size.");
    const Case cases[] = {
        {Fault{FaultKind::SizeWord, 0, 4}, "Invalid response size 4", kRefused},
        {Fault{FaultKind::SizeWord, 0, 11}, "Invalid response size 11", kRefused},
        {Fault{FaultKind::SizeWord, 0, 16777215}, recvFailed, recvFailed},  // waits for more
        {Fault{FaultKind::SizeWord, 0, 16777216}, "Invalid response size 16777216", kRefused},
        {Fault{FaultKind::SizeWord, 0, 0xFFFFFFFF}, "Invalid response size 4294967295", kRefused},
        {Fault{FaultKind::CloseMidResponse}, closed, closed},
        {Fault{FaultKind::NoAnswer}, noSize, noSize},
        {std::nullopt, recvFailed, recvFailed, 100},  // no fault: the body stalls
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record.toStdString() + (c.stallAfter ? ", stalled" : ""));
        linktest::ThreadRig rig(300);
        ASSERT_TRUE(rig.connect());
        linktest::clearLog();
        if (c.fault) {
            rig.sim.unit().addFault(*c.fault);
        }
        rig.sim.setSegments(c.stallAfter, 2000);
        ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}));
        EXPECT_EQ(rig.link.statusCode.load(), STATUS_ERROR);
        EXPECT_EQ(rig.link.statusText(), c.text);
        if (c.stallAfter) {
            EXPECT_EQ(rig.link.bytesReceived.load(), c.stallAfter);
        }
        std::vector<Record> records{{4, c.record}};
        if (c.text != c.record) {
            records.emplace_back(4, c.text);
        }
        EXPECT_EQ(logRecords(), records);
        EXPECT_FALSE(rig.link.handOver.threadRunning());
        ASSERT_TRUE(rig.thread.wait(1000));
        EXPECT_EQ(rig.thread.exitCode(), kLinkFailed);
        EXPECT_TRUE(rig.link.responseEvent.poll());
        rig.sim.setSegments(0);
        ASSERT_TRUE(rig.connect());
        ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}));
        EXPECT_EQ(rig.link.statusCode.load(), STATUS_OK);
        EXPECT_EQ(rig.sim.connectionsAccepted(), 2);
    }
}

// A command withdrawn mid-answer or while the unit is silent: nothing is validated, and the
// connection is reset and the thread ends at once, so the next command sets the link up anew.
TEST(LinkThreadTest, AbortOrStopMidCommandTakesEffectAtOnce) {
    linktest::ThreadRig rig(30000);  // far beyond the bounds below; the image is made first
    rig.sim.setSegments(8192, 2);
    ASSERT_TRUE(rig.connect());
    ASSERT_TRUE(HandOverCommand(rig.link, CMD_DOWNLOAD_BEARING_DATA, std::vector<quint32>{1, 0}));
    QElapsedTimer waited;
    waited.start();
    while (rig.link.bytesReceived.load() < 100000) {
        ASSERT_LT(waited.elapsed(), 30000) << rig.link.statusText().toStdString();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    RequestAbort(rig.link);
    ASSERT_TRUE(rig.link.responseEvent.wait(3000));
    EXPECT_EQ(rig.link.statusCode.load(), STATUS_OK);
    EXPECT_TRUE(rig.link.responseFileName().isEmpty());
    EXPECT_LT(rig.link.bytesReceived.load(), quorsim::FlightImage::kImageSize);
    ASSERT_TRUE(rig.thread.wait(2000));
    EXPECT_FALSE(rig.link.handOver.threadRunning());
    EXPECT_EQ(rig.sim.connectionsAccepted(), 1);

    // While the unit is silent; a second command is refused meanwhile.
    rig.sim.setSegments(0);
    rig.sim.unit().addFault({FaultKind::NoAnswer, CMD_DOWNLOAD_BEARING_DATA});
    ASSERT_TRUE(rig.connect());
    ASSERT_TRUE(HandOverCommand(rig.link, CMD_DOWNLOAD_BEARING_DATA, std::vector<quint32>{1, 0}));
    ASSERT_TRUE(rig.sim.waitForCommands(2, 2000));
    const auto before = rig.link.commandBuffer;
    EXPECT_FALSE(HandOverCommand(rig.link, CMD_GET_PART_NUMBERS, std::vector<quint32>{0}));
    EXPECT_EQ(rig.link.commandBuffer, before);
    QElapsedTimer clock;
    clock.start();
    RequestAbort(rig.link);
    // The waits are sliced: not the 30 s socket time-out. The bound leaves a busy machine room.
    ASSERT_TRUE(rig.link.responseEvent.wait(15000));
    EXPECT_LT(clock.elapsed(), 15000);
    EXPECT_EQ(rig.link.statusCode.load(), STATUS_OK);
    EXPECT_TRUE(rig.link.responseFileName().isEmpty());
    ASSERT_TRUE(rig.thread.wait(2000));
    ASSERT_TRUE(rig.connect());
    ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}));
    EXPECT_EQ(rig.link.statusCode.load(), STATUS_OK);
    EXPECT_EQ(rig.sim.connectionsAccepted(), 3);
    EXPECT_EQ(rig.sim.unit().commands().size(), 3u);

    // A stop request ends the thread as quickly.
    rig.sim.unit().addFault({FaultKind::NoAnswer});
    ASSERT_TRUE(HandOverCommand(rig.link, CMD_GET_PART_NUMBERS, std::vector<quint32>{0}));
    ASSERT_TRUE(rig.sim.waitForCommands(4, 2000));
    rig.link.stopRequest.store(true);
    rig.link.commandEvent.set();
    ASSERT_TRUE(rig.thread.wait(15000));  // at once, long before the socket time-out
    EXPECT_EQ(rig.link.statusCode.load(), STATUS_EXITED);
    EXPECT_FALSE(rig.link.handOver.inFlight());
}

// A name look-up cannot be interrupted: a stop request still ends the link thread at once, and
// the look-up is left to finish by itself. Program exit never waits for a resolver.
TEST(LinkThreadTest, AStopDuringANameLookUpEndsTheThreadAtOnce) {
    struct Resolver {
        std::atomic<bool> asked{false};
        std::atomic<bool> release{false};
        std::atomic<bool> returned{false};
    };
    auto resolver = std::make_shared<Resolver>();
    setHostResolver([resolver](const QByteArray&) {
        resolver->asked = true;
        while (!resolver->release) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        resolver->returned = true;
        return std::optional<quint32>();
    });
    linktest::ThreadRig rig;
    rig.link.setHost(QStringLiteral("unit.example"));
    StartLinkThread(rig.thread, rig.link);
    for (int i = 0; i < 2000 && !resolver->asked; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(resolver->asked);
    rig.link.stopRequest.store(true);
    rig.link.commandEvent.set();
    EXPECT_TRUE(rig.thread.wait(15000));  // the resolver never returns on its own
    EXPECT_EQ(rig.thread.exitCode(), kLinkStopped);
    EXPECT_FALSE(resolver->returned);

    resolver->release = true;
    setHostResolver({});
    for (int i = 0; i < 2000 && !resolver->returned; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

TEST(WorkerThreadTest, DestructionNeverWaitsWithoutBoundForAThreadThatDoesNotEnd) {
    auto release = std::make_shared<std::atomic<bool>>(false);
    auto ended = std::make_shared<std::atomic<bool>>(false);
    {
        WorkerThread thread;
        ASSERT_TRUE(thread.start([release, ended] {
            while (!*release) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            *ended = true;
            return 0;
        }));
    }  // returns after its bounded wait, the thread still running
    EXPECT_FALSE(*ended);
    *release = true;
    for (int i = 0; i < 2000 && !*ended; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(*ended);
}

// A command handed over just as the link thread ends: either the hand-over is refused (no
// thread), or the thread's end releases the command. It is never left marked in flight for a
// thread that is gone, which would refuse every later command until the next set-up.
TEST(HandOverTest, NoCommandIsLeftInFlightOrTakenForAnother) {
    CommandHandOver handOver;
    int handedOver = 0;
    for (int round = 0; round < 5000; ++round) {
        handOver.threadStarting();
        std::atomic<bool> go{false};
        std::thread ending([&] {
            while (!go.load()) {
            }
            handOver.threadEnded();
        });
        go.store(true);
        const CommandHandOver::Ticket ticket = handOver.submit([] {});
        ending.join();
        handedOver += ticket ? 1 : 0;
        ASSERT_FALSE(handOver.threadRunning());
        ASSERT_FALSE(handOver.inFlight()) << "round " << round;
        if (ticket) {
            EXPECT_TRUE(handOver.reported(ticket.generation));
        }
    }
    EXPECT_GT(handedOver, 0);

    // A late report or abort of a withdrawn command is never taken for the command after it.
    handOver.threadStarting();
    const auto first = handOver.submit({});
    ASSERT_TRUE(first);
    EXPECT_FALSE(handOver.submit({}));  // one at a time
    handOver.withdraw(first.generation);
    ASSERT_TRUE(handOver.take());
    handOver.report(first.generation);
    const auto second = handOver.submit({});
    ASSERT_TRUE(second);
    EXPECT_FALSE(handOver.abortRequested(second.generation));
    handOver.report(first.generation);  // a stray second report of the first
    EXPECT_FALSE(handOver.reported(second.generation));
    handOver.withdraw(first.generation);  // a stray withdrawal of the first
    EXPECT_FALSE(handOver.abortRequested(second.generation));
}

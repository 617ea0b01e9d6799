// The link trace on loopback: what it records, its bound, an unwritable trace, and replays.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <functional>
#include <mutex>
#include <thread>

#include "link/CommandTable.h"
#include "link/LinkStatus.h"
#include "link/LinkTrace.h"
#include "link/TraceFile.h"
#include "tests/link/LinkTestSupport.h"
#include "tests/support/TestEnvironment.h"

using namespace tolm;
using quorsim::Fault;
using quorsim::FaultKind;

namespace {

struct Record {
    QString time;
    QByteArray event, fields;
};

struct Trace {
    QString path;
    std::vector<Record> records;

    // The events in order, each run of "recv" taken as one.
    QStringList events() const {
        QStringList out;
        for (const Record& r : records) {
            if (r.event != "recv" || out.isEmpty() || out.last() != "recv") {
                out << QString::fromLatin1(r.event);
            }
        }
        return out;
    }
    QByteArray received() const {
        QByteArray bytes;
        for (const Record& r : records) {
            bytes += r.event == "recv" ? QByteArray::fromHex(r.fields) : QByteArray();
        }
        return bytes;
    }
};

// Runs `act` against the simulated unit with the trace on, into a file of its own in the home.
Trace record(const QString& name, const std::function<void(linktest::ThreadRig&)>& act) {
    Trace trace{testenv::home() + QLatin1Char('/') + name, {}};
    QFile::remove(trace.path);
    LinkTrace::switchOn(trace.path);
    {
        linktest::ThreadRig rig;
        act(rig);
    }
    LinkTrace::switchOff();
    for (const QByteArray& line : testenv::fileBytes(trace.path).split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() >= 2) {
            trace.records.push_back({QString::fromLatin1(words[0]), words[1],
                                     line.mid(words[0].size() + words[1].size() + 2)});
        }
    }
    return trace;
}

std::mutex warningsMutex;
QStringList traceWarnings;

void recordTraceWarning(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && context.category == QLatin1String("tolm.link.trace")) {
        std::lock_guard lock(warningsMutex);
        traceWarnings << text;
    }
}

}  // namespace

TEST(LinkTraceTest, RecordsEveryByteBothWaysAndTheConnectionsLife) {
    quint16 port = 0;
    const Trace trace = record(QStringLiteral("exchange.trace"), [&](linktest::ThreadRig& rig) {
        port = rig.sim.port();
        rig.sim.setSegments(100, 1);  // the answer comes in several reads
        ASSERT_TRUE(rig.connect());
        ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}));
        ASSERT_EQ(rig.link.statusCode.load(), STATUS_OK);
    });
    const auto& records = trace.records;
    ASSERT_GT(records.size(), 6u);
    EXPECT_EQ(trace.events(), QStringList({"start", "connect", "send", "recv", "close", "end"}));
    const QByteArray at = "127.0.0.1:" + QByteArray::number(port);
    EXPECT_TRUE(records[0].fields.startsWith(at + " pid "));
    EXPECT_EQ(records[1].fields, at + " 1/1 ok");
    EXPECT_EQ(records[2].fields, "0000000c0000000100000000");
    EXPECT_EQ(trace.received(), quorsim::SimulatedUnit().handle({CMD_GET_PART_NUMBERS, {0}}).bytes);
    EXPECT_EQ(records[records.size() - 2].fields, "graceful");
    EXPECT_EQ(records.back().fields, "stopped");
    const QRegularExpression stamp(QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}$)"));
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_TRUE(stamp.match(records[i].time).hasMatch()) << records[i].time.toStdString();
        EXPECT_LE(records[i ? i - 1 : 0].time, records[i].time);
    }
}

TEST(LinkTraceTest, AnUnwritableTraceCostsTheTraceNotTheCommandAndIsReportedOnce) {
    const QString notAFolder = testenv::home() + QStringLiteral("/not-a-folder");
    QFile blocker(notAFolder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    traceWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordTraceWarning);
    record(QStringLiteral("not-a-folder/tolmLink.trace"), [](linktest::ThreadRig& rig) {
        ASSERT_TRUE(rig.connect());
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}));
            EXPECT_EQ(rig.link.statusCode.load(), STATUS_OK);
            EXPECT_TRUE(LinkTrace::flush(5000));
        }
    });
    qInstallMessageHandler(previous);
    ASSERT_EQ(traceWarnings.size(), 1);
    EXPECT_TRUE(traceWarnings[0].startsWith(QStringLiteral("cannot open ") + notAFolder));
    QFile::remove(notAFolder);
}

TEST(TraceFileTest, RotatesAtItsBoundKeepingOneOlderCopy) {
    const QString dir = testenv::freshDirectory(QStringLiteral("rotation"));
    QDir().mkpath(dir);
    const QString path = dir + QStringLiteral("/t.trace");
    QByteArray all;
    {
        TraceFile file(path, 100);
        for (int i = 10; i < 60; ++i) {  // 10 bytes each
            all += "record " + QByteArray::number(i) + '\n';
            file.append(all.right(10));
        }
        ASSERT_TRUE(file.flush(5000));
    }
    EXPECT_EQ(QDir(dir).entryList(QDir::Files), QStringList({"t.trace", "t.trace.1"}));
    const QByteArray older = testenv::fileBytes(path + ".1"), current = testenv::fileBytes(path);
    EXPECT_LE(older.size(), 100);
    EXPECT_LE(current.size(), 100);
    // The newest records, whole and in order, the last one last.
    EXPECT_TRUE(all.endsWith(older + current));
    EXPECT_TRUE(older.startsWith("record ") && older.size() > 90);

    // A record longer than the bound gets a file of its own; the one before becomes the copy.
    {
        TraceFile file(path, 100);
        file.append(QByteArray(150, 'x') + '\n');
        ASSERT_TRUE(file.flush(5000));
    }
    EXPECT_EQ(testenv::fileBytes(path + ".1"), current);
    EXPECT_EQ(testenv::fileBytes(path).size(), 151);
}

// Played back from the trace alone, a recorded run gives a fresh link its bytes at its pace.
TEST(TraceReplayTest, AReplayedTraceGivesTheProgramTheSameBytes) {
    const std::vector<std::pair<quint32, std::vector<quint32>>> steps = {
        {CMD_GET_PART_NUMBERS, {0}},
        {CMD_DOWNLOAD_BEARING_DATA, {2, 0}},
        {CMD_ERASE_BEARING_DEFECT_HISTORY, {2}},
    };
    const auto run = [&](linktest::ThreadRig& rig, std::vector<QByteArray>& files) {
        rig.link.socketTimeoutMs.store(30000);  // the simulator makes its image first
        ASSERT_TRUE(rig.connect());
        for (const auto& [code, payload] : steps) {
            ASSERT_TRUE(rig.run(code, payload, 30000));
            ASSERT_EQ(rig.link.statusCode.load(), STATUS_OK) << rig.link.statusText().toStdString();
            files.push_back(linktest::responseBytes(rig.link));
        }
    };
    std::vector<QByteArray> recordedFiles, replayedFiles;
    const Trace recorded = record(QStringLiteral("recorded.trace"), [&](linktest::ThreadRig& rig) {
        rig.sim.unit().setSeed(11);
        rig.sim.unit().setEraseDurationMs(CMD_ERASE_BEARING_DEFECT_HISTORY, 400);
        rig.sim.setSegments(3000, 1);
        run(rig, recordedFiles);
    });
    const std::optional<quorsim::TraceScript> script = quorsim::TraceScript::load(recorded.path);
    ASSERT_TRUE(script);
    EXPECT_EQ(script->problemCount(), 0);
    ASSERT_EQ(script->answers().size(), steps.size());

    qint64 elapsed = 0;
    const Trace replayed = record(QStringLiteral("replayed.trace"), [&](linktest::ThreadRig& rig) {
        rig.sim.unit().setSeed(99);  // the unit's own answers would differ
        rig.sim.setReplay(*script);
        QElapsedTimer clock;
        clock.start();
        run(rig, replayedFiles);
        elapsed = clock.elapsed();
        EXPECT_EQ(rig.sim.answersReplayed(), 3);
        EXPECT_TRUE(rig.sim.unit().commands().empty());
    });
    EXPECT_GE(elapsed, 400);  // the erase took as long as when it was recorded
    EXPECT_TRUE(replayedFiles == recordedFiles);
    EXPECT_TRUE(replayed.received() == recorded.received());
}

// Played back, a silence times the step out again, a close mid-answer closes at the same byte,
// and an answer given up at the aircraft ends there, dropped rather than waited out.
TEST(TraceReplayTest, RecordedFaultsHappenAgainOnReplay) {
    struct Case {
        std::optional<Fault> fault;  // none: the answer is cancelled after 100 bytes
        const char* event;
        const char* replayedText;
        int socketTimeoutMs;
    };
    const Case cases[] = {
        {Fault{FaultKind::NoAnswer}, "timeout", "Failed to retrieve response size.", 300},
        {Fault{FaultKind::CloseMidResponse, 0, 100}, "closed", "Connection closed by the unit.",
         300},
        {std::nullopt, "abort", "recv() failed.", 30000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.event);
        qint32 received = 0;
        const Trace trace = record(QStringLiteral("fault.trace"), [&](linktest::ThreadRig& rig) {
            rig.link.socketTimeoutMs.store(300);
            rig.sim.setSegments(20, 20);
            if (c.fault) {
                rig.sim.unit().addFault(*c.fault);
            }
            ASSERT_TRUE(rig.connect());
            ASSERT_TRUE(HandOverCommand(rig.link, CMD_GET_PART_NUMBERS, std::vector<quint32>{0}));
            while (!c.fault && rig.link.bytesReceived.load() < 100) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            if (!c.fault) {
                RequestAbort(rig.link);
            }
            ASSERT_TRUE(rig.link.responseEvent.wait(3000));
            received = rig.link.bytesReceived.load();
            ASSERT_TRUE(rig.thread.wait(2000));
        });
        EXPECT_TRUE(trace.events().contains(QLatin1String(c.event)));
        EXPECT_EQ(trace.events().last(), "end");

        linktest::ThreadRig rig(c.socketTimeoutMs);
        rig.sim.setReplay(quorsim::TraceScript::load(trace.path));
        ASSERT_TRUE(rig.connect());
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}, 40000));
        EXPECT_EQ(rig.link.statusCode.load(), STATUS_ERROR);
        EXPECT_EQ(rig.link.statusText(), QLatin1String(c.replayedText));
        EXPECT_EQ(rig.link.bytesReceived.load(), received);
        EXPECT_GE(clock.elapsed(), c.fault && c.fault->kind == FaultKind::NoAnswer ? 300 : 0);
        EXPECT_LT(clock.elapsed(), 15000);  // bounds for a busy machine
    }
}

// The link trace: what it records of real exchanges with the simulated unit on loopback, its
// bound, a trace that cannot be written, and a recorded run played back by the simulator.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <mutex>
#include <thread>

#include "link/CommandTable.h"
#include "link/LinkStatus.h"
#include "link/LinkTrace.h"
#include "link/TCPHandler.h"
#include "link/TraceFile.h"
#include "tests/link/LinkTestSupport.h"
#include "tests/support/TestEnvironment.h"

using namespace tolm;
using quorsim::Fault;
using quorsim::FaultKind;

namespace {

// A trace switched on for one test, in a file of its own.
class TraceOn {
public:
    explicit TraceOn(const QString& name, qint64 limit = LinkTrace::kLimitBytes)
        : path_(testenv::home() + QLatin1Char('/') + name) {
        QFile::remove(path_);
        QFile::remove(path_ + QStringLiteral(".1"));
        LinkTrace::switchOn(path_, limit);
    }
    ~TraceOn() { LinkTrace::switchOff(); }
    const QString& path() const { return path_; }

    struct Record {
        QString time;
        QByteArray event;
        QByteArray fields;
    };
    std::vector<Record> records() const {
        EXPECT_TRUE(LinkTrace::flush(5000));
        QFile f(path_);
        std::vector<Record> out;
        if (!f.open(QIODevice::ReadOnly)) {
            return out;
        }
        for (const QByteArray& line : f.readAll().split('\n')) {
            const QList<QByteArray> words = line.split(' ');
            if (words.size() >= 2) {
                out.push_back({QString::fromLatin1(words[0]), words[1],
                               line.mid(words[0].size() + words[1].size() + 2)});
            }
        }
        return out;
    }
    // The events in order, each "recv" run taken as one.
    QStringList events() const {
        QStringList out;
        for (const Record& r : records()) {
            if (r.event != "recv" || out.isEmpty() || out.last() != "recv") {
                out << QString::fromLatin1(r.event);
            }
        }
        return out;
    }
    // Every byte of the "recv" records, in order.
    QByteArray received() const {
        QByteArray bytes;
        for (const Record& r : records()) {
            if (r.event == "recv") {
                bytes += QByteArray::fromHex(r.fields);
            }
        }
        return bytes;
    }

private:
    QString path_;
};

QByteArray responseFile(LinkContext& link) {
    QFile f(link.responseFileName());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The warnings of "tolm.link.trace" while it lives.
class TraceWarnings {
public:
    TraceWarnings() { previous = qInstallMessageHandler(record); }
    ~TraceWarnings() { qInstallMessageHandler(previous); }
    QStringList lines() const {
        std::lock_guard lock(mutex);
        return seen;
    }

private:
    static void record(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtWarningMsg && context.category == QLatin1String("tolm.link.trace")) {
            std::lock_guard lock(mutex);
            seen << text;
        }
    }
    static inline std::mutex mutex;
    static inline QStringList seen;
    static inline QtMessageHandler previous = nullptr;
};

}  // namespace

TEST(LinkTraceTest, RecordsEveryByteBothWaysAndTheConnectionsLife) {
    TraceOn trace(QStringLiteral("exchange.trace"));
    linktest::ThreadRig rig;
    rig.sim.setSegments(100, 1);  // the answer comes in several reads
    ASSERT_TRUE(rig.connect());
    ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}));
    ASSERT_EQ(rig.link.statusCode.load(), STATUS_OK);
    rig.stop();

    const auto records = trace.records();
    ASSERT_GE(records.size(), 5u);
    const QByteArray port = QByteArray::number(rig.sim.port());
    EXPECT_EQ(records[0].event, "start");
    EXPECT_TRUE(records[0].fields.startsWith("127.0.0.1:" + port + " pid "));
    EXPECT_EQ(records[1].event + ' ' + records[1].fields, "connect 127.0.0.1:" + port + " 1/1 ok");
    EXPECT_EQ(records[2].event + ' ' + records[2].fields, "send 0000000c0000000100000000");
    EXPECT_EQ(trace.events(), QStringList({"start", "connect", "send", "recv", "close", "end"}));
    EXPECT_EQ(records[records.size() - 2].fields, "graceful");
    EXPECT_EQ(records.back().fields, "stopped");
    // Every byte the unit sent, in the reads that brought them.
    const QByteArray answer = quorsim::SimulatedUnit().handle({CMD_GET_PART_NUMBERS, {0}}).bytes;
    EXPECT_EQ(trace.received(), answer);
    EXPECT_GT(records.size(), 6u);
    const QRegularExpression stamp(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}$"));
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_TRUE(stamp.match(records[i].time).hasMatch()) << records[i].time.toStdString();
        EXPECT_LE(records[i ? i - 1 : 0].time, records[i].time);
    }
}

TEST(LinkTraceTest, OffRecordsNothing) {
    QFile::remove(LinkTrace::defaultPath());
    ASSERT_FALSE(LinkTrace::isOn());
    linktest::ThreadRig rig;
    ASSERT_TRUE(rig.connect());
    ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}));
    rig.stop();
    EXPECT_FALSE(QFile::exists(LinkTrace::defaultPath()));
}

TEST(LinkTraceTest, AnUnwritableTraceCostsTheTraceNotTheCommandAndIsReportedOnce) {
    const QString notAFolder = testenv::home() + QStringLiteral("/not-a-folder");
    QFile blocker(notAFolder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TraceWarnings warnings;
    LinkTrace::switchOn(notAFolder + QStringLiteral("/tolmLink.trace"));
    linktest::ThreadRig rig;
    ASSERT_TRUE(rig.connect());
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}));
        EXPECT_EQ(rig.link.statusCode.load(), STATUS_OK);
        EXPECT_TRUE(LinkTrace::flush(5000));
    }
    rig.stop();
    LinkTrace::switchOff();
    ASSERT_EQ(warnings.lines().size(), 1);
    EXPECT_TRUE(warnings.lines()[0].startsWith(QStringLiteral("cannot open ") + notAFolder))
        << warnings.lines()[0].toStdString();
    QFile::remove(notAFolder);
}

TEST(TraceFileTest, RotatesAtItsBoundKeepingOneOlderCopy) {
    const QString path = testenv::freshDirectory(QStringLiteral("rotation")) + "/t.trace";
    QDir().mkpath(QFileInfo(path).path());
    const auto record = [](int i) { return QByteArray("record ") + QByteArray::number(i) + '\n'; };
    QByteArray all;
    {
        TraceFile file(path, 100);
        for (int i = 10; i < 60; ++i) {  // 10 bytes each
            file.append(record(i));
            all += record(i);
        }
        ASSERT_TRUE(file.flush(5000));
    }
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files),
              QStringList({"t.trace", "t.trace.1"}));
    QFile older(path + ".1"), current(path);
    ASSERT_TRUE(older.open(QIODevice::ReadOnly) && current.open(QIODevice::ReadOnly));
    const QByteArray kept = older.readAll() + current.readAll();
    EXPECT_LE(older.size(), 100);
    EXPECT_LE(current.size(), 100);
    // The newest records, whole and in order, the last one last.
    EXPECT_TRUE(all.endsWith(kept));
    EXPECT_TRUE(kept.startsWith("record ")) << kept.constData();
    EXPECT_GE(kept.size(), 100);

    // A record longer than the bound gets a file of its own; the one before becomes the copy.
    {
        TraceFile file(path, 100);
        file.append(QByteArray(150, 'x') + '\n');
        ASSERT_TRUE(file.flush(5000));
    }
    older.close();
    current.close();
    EXPECT_EQ(QFileInfo(path).size(), 151);
    EXPECT_TRUE(QFileInfo(path + ".1").size() <= 100);
}

// A run recorded with the simulated unit, then played back to a fresh link by the simulator
// from the trace alone: the program receives the same bytes, at the recorded pace.
TEST(TraceReplayTest, AReplayedTraceGivesTheProgramTheSameBytes) {
    struct Step {
        quint32 code;
        std::vector<quint32> payload;
    };
    const std::vector<Step> steps = {
        {CMD_GET_PART_NUMBERS, {0}},
        {CMD_DOWNLOAD_BEARING_DATA, {2, 0}},
        {CMD_ERASE_BEARING_DEFECT_HISTORY, {2}},
    };
    const auto run = [&](linktest::ThreadRig& rig, std::vector<QByteArray>& files) {
        ASSERT_TRUE(rig.connect());
        for (const Step& s : steps) {
            ASSERT_TRUE(rig.run(s.code, s.payload, 30000));
            ASSERT_EQ(rig.link.statusCode.load(), STATUS_OK) << rig.link.statusText().toStdString();
            files.push_back(responseFile(rig.link));
        }
        rig.stop();
    };

    std::vector<QByteArray> recordedFiles, replayedFiles;
    QByteArray recordedBytes;
    QString recorded;
    {
        TraceOn trace(QStringLiteral("recorded.trace"));
        linktest::ThreadRig rig;
        rig.sim.unit().setSeed(11);
        rig.sim.unit().setEraseDurationMs(CMD_ERASE_BEARING_DEFECT_HISTORY, 400);
        rig.sim.setSegments(3000, 1);
        run(rig, recordedFiles);
        recordedBytes = trace.received();
        recorded = trace.path();
    }
    const std::optional<quorsim::TraceScript> script = quorsim::TraceScript::load(recorded);
    ASSERT_TRUE(script);
    EXPECT_EQ(script->problemCount(), 0);
    ASSERT_EQ(script->answers().size(), steps.size());

    TraceOn trace(QStringLiteral("replayed.trace"));
    linktest::ThreadRig rig;
    rig.sim.unit().setSeed(99);  // the unit's own answers would differ
    rig.sim.setReplay(*script);
    QElapsedTimer clock;
    clock.start();
    run(rig, replayedFiles);
    EXPECT_GE(clock.elapsed(), 400);  // the erase took as long as when it was recorded
    EXPECT_EQ(rig.sim.answersReplayed(), 3);
    EXPECT_TRUE(rig.sim.unit().commands().empty());
    ASSERT_EQ(replayedFiles.size(), recordedFiles.size());
    for (std::size_t i = 0; i < recordedFiles.size(); ++i) {
        EXPECT_TRUE(replayedFiles[i] == recordedFiles[i]) << "step " << i;
    }
    EXPECT_TRUE(trace.received() == recordedBytes);
}

// Faults recorded at the unit happen again when the trace is played back: a silence makes the
// step time out, a connection closed mid-answer is closed at the same byte.
TEST(TraceReplayTest, RecordedFaultsHappenAgainOnReplay) {
    struct Case {
        Fault fault;
        const char* event;
        QString text;
    };
    const Case cases[] = {
        {{FaultKind::NoAnswer}, "timeout", "Failed to retrieve response size."},
        {{FaultKind::CloseMidResponse, 0, 100}, "closed", "Connection closed by the unit."},
    };
    for (const Case& c : cases) {
        QString recorded;
        {
            TraceOn trace(QStringLiteral("fault.trace"));
            linktest::ThreadRig rig;
            rig.link.socketTimeoutMs.store(300);
            rig.sim.unit().addFault(c.fault);
            ASSERT_TRUE(rig.connect());
            ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}));
            ASSERT_EQ(rig.link.statusText(), c.text);
            ASSERT_TRUE(rig.thread.wait(2000));
            EXPECT_TRUE(trace.events().contains(QLatin1String(c.event))) << c.event;
            EXPECT_EQ(trace.events().mid(trace.events().size() - 3),
                      QStringList({"fail", "close", "end"}));
            recorded = trace.path() + QStringLiteral(".kept");
            QFile::remove(recorded);
            QFile::copy(trace.path(), recorded);
        }
        linktest::ThreadRig rig;
        rig.link.socketTimeoutMs.store(300);
        rig.sim.setReplay(quorsim::TraceScript::load(recorded));
        ASSERT_TRUE(rig.connect());
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}));
        EXPECT_EQ(rig.link.statusCode.load(), STATUS_ERROR);
        EXPECT_EQ(rig.link.statusText(), c.text);
        if (c.fault.kind == FaultKind::NoAnswer) {
            EXPECT_GE(clock.elapsed(), 300);
        } else {
            EXPECT_EQ(rig.link.bytesReceived.load(), 100);
        }
        EXPECT_TRUE(rig.thread.wait(2000));
    }
}

// An answer cancelled at the aircraft: played back, it ends where it was given up and the
// connection is dropped then, so that the replay neither runs on nor hangs without a Cancel.
TEST(TraceReplayTest, ARecordedCancelEndsTheAnswerWhereItWasGivenUp) {
    QString recorded;
    qint32 received = 0;
    {
        TraceOn trace(QStringLiteral("cancel.trace"));
        linktest::ThreadRig rig;
        rig.sim.setSegments(20, 20);
        ASSERT_TRUE(rig.connect());
        ASSERT_TRUE(HandOverCommand(rig.link, CMD_GET_PART_NUMBERS, std::vector<quint32>{0}));
        while (rig.link.bytesReceived.load() < 100) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        RequestAbort(rig.link);
        ASSERT_TRUE(rig.link.responseEvent.wait(3000));
        received = rig.link.bytesReceived.load();
        ASSERT_TRUE(rig.thread.wait(2000));
        EXPECT_EQ(trace.events().mid(trace.events().size() - 3),
                  QStringList({"abort", "close", "end"}));
        EXPECT_EQ(trace.records().back().fields, "OK");
        recorded = trace.path() + QStringLiteral(".kept");
        QFile::remove(recorded);
        QFile::copy(trace.path(), recorded);
    }
    ASSERT_LT(received, 296);
    linktest::ThreadRig rig;
    rig.link.socketTimeoutMs.store(30000);
    rig.sim.setReplay(quorsim::TraceScript::load(recorded));
    ASSERT_TRUE(rig.connect());
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}, 40000));
    EXPECT_EQ(rig.link.statusCode.load(), STATUS_ERROR);
    EXPECT_EQ(rig.link.bytesReceived.load(), received);
    EXPECT_LT(clock.elapsed(), 15000);  // dropped, not waited out; bounds for a busy machine
}

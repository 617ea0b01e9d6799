// A long fault soak of the download: two-engine download sequences in a row, headless, against
// the simulator on loopback, each with one fault drawn from a printed seed. After every run: no
// erase reached an engine whose four files were not all written, every file written equals the
// one written from the same image without faults, no response or temporary file is left, and the
// link serves the next download. At the end: the heap does not grow with the number of runs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <array>
#include <functional>
#include <numeric>
#include <optional>

#if defined(__SANITIZE_ADDRESS__)
#define TOLM_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOLM_SOAK_ASAN 1
#endif
#endif
#if defined(TOLM_SOAK_ASAN)
// AddressSanitizer's own count (its header does not come with every compiler).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

#include "core/Clock.h"
#include "core/PlatformPaths.h"
#include "download/DownloadSequence.h"
#include "download/ReformatData.h"
#include "link/LinkContext.h"
#include "link/LinkStatus.h"
#include "link/ResponseFile.h"
#include "sim/image/FlightImage.h"
#include "tests/download/SimulatedAircraft.h"
#include "tests/link/LinkTestSupport.h"
#include "tests/soak/SoakRuns.h"
#include "tests/support/TestEnvironment.h"

using namespace tolm;
using quorsim::Fault;
using quorsim::FaultKind;

namespace {

enum class Trouble {
    DroppedConnection,  // the unit closes the connection at a random byte of a download
    TruncatedAnswer,    // a download's answer is shorter than its size word or its first block
    BadBlock,           // a download's first block has an unknown type or too large a count
    ErrorAck,           // one command is answered with an error
    SilenceThenCancel,  // one command is never answered; the user cancels
    EraseNeverAnswers,  // one erase is never answered; its time-out runs out, tick by tick
    RefusedConnection,  // the first connection of the download is reset by the unit
};
constexpr int kTroubles = 7;
const char* const kTroubleNames[kTroubles] = {
    "dropped connection",  "truncated answer",    "bad block",         "error ack",
    "silence then Cancel", "erase never answers", "refused connection"};

// The bytes the program has allocated and not freed: AddressSanitizer's count when it runs,
// otherwise glibc's (arena and mmapped chunks, all threads).
qint64 heapInUse() {
#if defined(TOLM_SOAK_ASAN)
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 m = mallinfo2();
    return qint64(m.uordblks + m.hblkhd);
#endif
}
// What the last 20 runs may hold more than the first 20 on average: far below what one
// connection or one thread left behind in each run would add up to over 200 runs, far above the
// few kilobytes that containers growing once add.
constexpr double kHeapGrowthLimit = 32 * 1024;

// One run's fault: what the unit does, and at which step (engine index, step kind).
struct Plan {
    Trouble trouble;
    int engine = 0;
    int kind = kDownloadBearingData;
    std::optional<Fault> fault;
};

QString describe(const Plan& p) {
    QString what = QString::asprintf("%s, engine %d, step %d", kTroubleNames[int(p.trouble)],
                                     p.engine + 1, p.kind);
    if (p.fault) {
        what += QStringLiteral(": fault %1, value %2").arg(int(p.fault->kind)).arg(p.fault->value);
    }
    return what;
}

Plan choose(soak::Runs& runs, std::optional<Trouble> trouble) {
    const quint32 size = quint32(quorsim::FlightImage::kImageSize);
    Plan p;
    p.trouble = trouble.value_or(Trouble(runs.below(kTroubles)));
    p.engine = int(runs.below(2));
    const int step = int(runs.below(4));     // a step that talks to the unit: download or one erase
    const bool either = runs.below(2) == 0;  // which of a trouble's two faults
    const auto at = [&p](FaultKind kind, quint32 value) {
        // The fault applies to the engine's command: the first one of its code is engine 1's.
        const quint32 code = p.kind == kDownloadBearingData
                                 ? CMD_DOWNLOAD_BEARING_DATA
                                 : soak::kEraseCodes[p.kind - kEraseBearingDataStep];
        p.fault = Fault{kind, code, value, 1, p.engine};
    };
    switch (p.trouble) {
        case Trouble::DroppedConnection:
            at(FaultKind::CloseMidResponse, 1 + runs.below(size - 1));
            break;
        case Trouble::TruncatedAnswer:  // a short size word, or a first block of 100 bytes more
            either ? at(FaultKind::SizeWord, runs.below(size)) : at(FaultKind::Truncated, 0);
            break;
        case Trouble::BadBlock:
            either ? at(FaultKind::InvalidBlockType, 4 + runs.below(1000))
                   : at(FaultKind::ByteCountOverLimit, 0);
            break;
        case Trouble::ErrorAck:
        case Trouble::SilenceThenCancel:
            p.kind = step == 0 ? kDownloadBearingData : kEraseBearingDataStep + step - 1;
            p.trouble == Trouble::ErrorAck ? at(FaultKind::Ack, 1 + runs.below(255))
                                           : at(FaultKind::NoAnswer, 0);
            break;
        case Trouble::EraseNeverAnswers:
            p.kind = kEraseBearingDataStep + int(runs.below(3));
            at(FaultKind::NoAnswer, 0);
            break;
        case Trouble::RefusedConnection:
            p.engine = 0;
            break;
    }
    return p;
}

// What each of the ten steps must come to under the plan.
StepOutcome expectedOutcome(const Plan& p, int engine, int kind) {
    const bool faulted = engine == p.engine && kind == p.kind;
    switch (p.trouble) {
        case Trouble::TruncatedAnswer:
            if (p.fault->kind == FaultKind::SizeWord && p.fault->value == 12 && faulted) {
                // Cut to its 12-byte header the answer is a valid one without blocks: it is
                // received, and refused when filed.
                return StepOutcome::Completed;
            }
            break;
        case Trouble::ErrorAck:
            if (p.kind != kDownloadBearingData) {
                return faulted ? StepOutcome::Failed : StepOutcome::Completed;
            }
            break;
        case Trouble::SilenceThenCancel:
            // Nothing after the silent step starts, and the silent step never ends.
            return engine * kDownloadStepKinds + kind < p.engine * kDownloadStepKinds + p.kind
                       ? StepOutcome::Completed
                       : StepOutcome::NotRequested;
        case Trouble::EraseNeverAnswers:
            return faulted ? StepOutcome::Timeout : StepOutcome::Completed;
        default:  // a dropped connection, a bad block, a refused connection
            break;
    }
    // The engine's download failed: nothing filed, nothing erased.
    if (engine != p.engine) {
        return StepOutcome::Completed;
    }
    return kind <= kPostProcessBearingData ? StepOutcome::Failed : StepOutcome::Skipped;
}

// Records each step's outcome and sets the link up again when the sequence asks.
struct SoakView : DownloadSequence::View {
    std::function<bool()> onReconnect;
    std::array<std::optional<StepOutcome>, 10> outcomes;

    void stepFinished(int index, StepOutcome o) override { outcomes[std::size_t(index)] = o; }
    bool reconnect() override { return onReconnect(); }
};

class DownloadSoak : public ::testing::Test {
protected:
    void SetUp() override {
        setClock(&clock);
        dataDir = testenv::freshDirectory(QStringLiteral("soak-data"));
        rig.link.socketTimeoutMs.store(20000);  // longer than any wait of the sequence
        // Like the program's own set-up, a connect that fails is tried again (after a second).
        rig.link.connectAttempts.store(2);
        ASSERT_TRUE(rig.connect());
        aircraft = simulatedAircraft(
            QStringLiteral("HB-SOAK"),
            {EngineOption::DownloadBearingData, EngineOption::EraseBearingData,
             EngineOption::EraseBearingDefectHistory, EngineOption::EraseAccelDefectHistory});
        writeReferences();
    }
    void TearDown() override { setClock(nullptr); }

    // Sets the link up as the program does, so the last thread's report is not the new one's.
    bool connectLink() {
        rig.link.responseEvent.reset();
        rig.link.statusCode.store(0);
        return rig.connect();
    }

    // The four files of each engine as filed from the simulator's images without any fault.
    void writeReferences() {
        const QString referenceDir = testenv::home() + QStringLiteral("/soak-reference");
        for (int e = 0; e < 2; ++e) {
            const QString image = testenv::home() + QStringLiteral("/soak-image");
            QFile file(image);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(quorsim::FlightImage::generate(1, e + 1).responseFile());
            file.close();
            ASSERT_TRUE(
                ReformatData(image, e, aircraft, parts, referenceDir, nullptr, nullptr).rawWritten);
            const QDir dir(referenceDir + QStringLiteral("/HB-SOAK_data/engine_%1").arg(e + 1));
            for (const QString& name : dir.entryList(QDir::Files)) {
                QFile f(dir.filePath(name));
                ASSERT_TRUE(f.open(QIODevice::ReadOnly));
                reference[e][name] = f.readAll();
            }
            ASSERT_EQ(reference[e].size(), 4);
        }
        QDir(referenceDir).removeRecursively();
    }

    // One download sequence with the plan's fault, driven to its end, then checked.
    void runOnce(const Plan& plan) {
        quorsim::SimulatedUnit& unit = rig.sim.unit();
        unit.clearFaults();
        unit.clearCommands();
        unit.restoreBearingData();
        if (plan.fault) {
            unit.addFault(*plan.fault);
        }
        if (plan.trouble == Trouble::RefusedConnection) {
            rig.stop();  // the download sets the link up, and its first connection is reset
            rig.sim.refuseConnections(1);
        }
        SoakView view;
        view.onReconnect = [this] { return connectLink(); };
        const auto& outcomes = view.outcomes;
        DownloadSequence sequence(rig.link, parts, aircraft, dataDir, view);
        const int faultedIndex = plan.engine * kDownloadStepKinds + plan.kind;
        const auto faultedCommandSent = [&] {
            const auto& sent = unit.commands();
            return std::any_of(sent.begin(), sent.end(), [&plan](const auto& c) {
                return plan.fault && c.code == plan.fault->command && !c.payload.empty() &&
                       int(c.payload[0]) == plan.engine + 1;
            });
        };

        sequence.start();
        bool cancelled = false;
        for (int tick = 0; tick < 20000 && !sequence.isFinished() && !cancelled; ++tick) {
            const bool silent = plan.trouble == Trouble::EraseNeverAnswers ||
                                plan.trouble == Trouble::SilenceThenCancel;
            if (silent && !outcomes[faultedIndex] && faultedCommandSent()) {
                if (plan.trouble == Trouble::SilenceThenCancel) {
                    sequence.tick();
                    sequence.cancel();
                    cancelled = true;
                    continue;
                }
                // The unit stays silent: its time-out runs out, tick by tick, without waiting.
                for (int t = 0; t <= 3000 && !outcomes[faultedIndex]; ++t) {
                    sequence.tick();
                }
                ASSERT_EQ(outcomes[faultedIndex], StepOutcome::Timeout);
                continue;
            }
            sequence.tick();
            QThread::msleep(5);
        }
        ASSERT_TRUE(sequence.isFinished() || cancelled) << "the run did not end";
        ASSERT_TRUE(WaitForCommand(rig.link, 15000)) << "the link never let go";

        // A reset connection is either seen while it is set up, and tried again, or by the
        // first command, which then fails like a dropped connection.
        const bool retried = plan.trouble == Trouble::RefusedConnection &&
                             outcomes[kDownloadBearingData] == StepOutcome::Completed;
        for (int i = 0; i < 10; ++i) {
            const int engine = i / kDownloadStepKinds, kind = i % kDownloadStepKinds;
            const StepOutcome expected =
                retried ? StepOutcome::Completed : expectedOutcome(plan, engine, kind);
            EXPECT_EQ(outcomes[i].value_or(StepOutcome::NotRequested), expected)
                << "engine " << engine + 1 << " step " << kind;
        }
        checkAfterRun();
    }

    // What a run must leave behind, whatever happened in it.
    void checkAfterRun() {
        // Every file written is whole: the one written from the same image without faults.
        bool filed[2] = {false, false};
        for (int e = 0; e < 2; ++e) {
            const QDir dir(dataDir + QStringLiteral("/HB-SOAK_data/engine_%1").arg(e + 1));
            const QStringList names = dir.entryList(QDir::Files | QDir::Hidden);
            for (const QString& name : names) {
                ASSERT_TRUE(reference[e].contains(name))
                    << "unexpected file " << name.toStdString();
                QFile f(dir.filePath(name));
                ASSERT_TRUE(f.open(QIODevice::ReadOnly));
                EXPECT_TRUE(f.readAll() == reference[e][name])
                    << name.toStdString() << " is not whole";
            }
            filed[e] = names.size() == 4;
        }
        // No erase reached an engine whose files were not all written.
        for (const auto& c : rig.sim.unit().commands()) {
            if (c.code != CMD_DOWNLOAD_BEARING_DATA && c.code != CMD_GET_PART_NUMBERS) {
                ASSERT_FALSE(c.payload.empty());
                EXPECT_TRUE(filed[(c.payload[0] - 1) & 1])
                    << "erase " << c.code << " reached engine " << c.payload[0]
                    << " whose files were not all written";
            }
        }
        // No response file and no temporary file left.
        EXPECT_FALSE(QFile::exists(responseFilePath()));
        EXPECT_EQ(QDir(testenv::home() + QStringLiteral("/tmp"))
                      .entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                  QStringList());
        // The link serves the next download: set up again if its thread ended, as Download does.
        if (!rig.link.handOver.threadRunning()) {
            ASSERT_TRUE(connectLink()) << "the link cannot be set up again";
        }
        ASSERT_TRUE(rig.run(CMD_GET_PART_NUMBERS, {0}, 10000));
        EXPECT_EQ(rig.link.statusCode.load(), STATUS_OK);
        const QString answer = rig.link.responseFileName();
        EXPECT_TRUE(!answer.isEmpty() && QFile::exists(answer));
        QFile::remove(answer);
        QDir(dataDir).removeRecursively();
        QFile::remove(backupImagePath());
    }

    ManualClock clock{QDateTime(QDate(2008, 3, 5), QTime(14, 7, 9))};
    linktest::ThreadRig rig;
    PartNumberRecord parts;
    AircraftRecord aircraft;
    QString dataDir;
    QMap<QString, QByteArray> reference[2];
};

}  // namespace

TEST_F(DownloadSoak, EveryRunWithItsFaultLeavesWholeFilesNoErasedUnsavedDataAndAWorkingLink) {
    soak::Runs runs("soak");
    // The first runs meet every kind of fault once, in an order of their own; then at random.
    std::vector<int> firstRuns(kTroubles);
    std::iota(firstRuns.begin(), firstRuns.end(), 0);
    std::shuffle(firstRuns.begin(), firstRuns.end(), runs.rng);
    std::vector<qint64> heap;
    for (int run = 1; run <= runs.count; ++run) {
        const Plan plan = choose(
            runs, run <= kTroubles ? std::optional(Trouble(firstRuns[run - 1])) : std::nullopt);
        const QByteArray what = describe(plan).toLocal8Bit();
        runs.say("run %d: %s", run, what.constData());
        SCOPED_TRACE("run " + std::to_string(run));
        runOnce(plan);
        if (HasFailure()) {
            runs.say("run %d failed: %s", run, what.constData());
            return;
        }
        // Measured with the unit's data as it was before the run, whatever it erased.
        rig.sim.unit().restoreBearingData();
        heap.push_back(heapInUse());
    }
    runs.say("%d runs in %.1f s", runs.count, runs.clock.elapsed() / 1000.0);
    if (runs.count < 40) {
        return;  // the heap is compared over 40 runs or more
    }
    const auto mean = [&heap](std::size_t from) {
        return std::accumulate(heap.begin() + long(from), heap.begin() + long(from) + 20, 0.0) / 20;
    };
    const double first = mean(0), last = mean(heap.size() - 20);
    runs.say("heap in use after each run: first 20 %.0f bytes, last 20 %.0f bytes", first, last);
    EXPECT_LT(last - first, kHeapGrowthLimit) << "the heap grows with the number of runs";
}

// The download's steps on loopback, without a window; no engine is erased unsaved.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QThread>
#include <QtEndian>
#include <functional>
#include <optional>

#include "download/DownloadSequence.h"
#include "link/CommandTable.h"
#include "link/LinkContext.h"
#include "link/LinkStatus.h"
#include "sim/image/FlightImage.h"
#include "tests/download/SimulatedAircraft.h"
#include "tests/link/LinkTestSupport.h"
#include "tests/support/TestEnvironment.h"

using namespace tolm;
using quorsim::Fault;
using quorsim::FaultKind;
using Commands = std::vector<std::pair<quint32, quint32>>;

namespace {

// Records what the sequence reports: each line's text as the dialog would show it.
class RecordingView : public linktest::Reconnecting<DownloadSequence::View> {
public:
    QString lines[2][kDownloadStepKinds];
    Notices notices;
    bool done = false;
    std::function<void()> onRefresh = [] {};
    const StepSequence* steps = nullptr;

    void stepFinished(int index, StepOutcome outcome) override {
        const SequenceStep& step = steps->step(index);
        lines[step.engine][step.kind] = outcomeText(outcome);
    }
    void notify(const Notices& shown) override { notices << shown; }
    void refresh() override { onRefresh(); }
    void finished() override { done = true; }

    QStringList engine(int e) const {
        return QStringList(std::begin(lines[e]), std::end(lines[e]));
    }
};

class DownloadSequenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        dataDir = testenv::freshDirectory(QStringLiteral("sequence-data"));
        rig.link.socketTimeoutMs.store(20000);  // longer than any wait of the sequence
        ASSERT_TRUE(rig.connect());
        aircraft = simulatedAircraft(QStringLiteral("HB-IJK"));
        view.onReconnect = [this] { return rig.connect(); };
    }

    void setOptions(int engine, bool download, bool erase, bool defect, bool accel) {
        EngineRecord r = aircraft.engine(engine);
        r.setOption(EngineOption::DownloadBearingData, download);
        r.setOption(EngineOption::EraseBearingData, erase);
        r.setOption(EngineOption::EraseBearingDefectHistory, defect);
        r.setOption(EngineOption::EraseAccelDefectHistory, accel);
        aircraft.setEngine(engine, r);
    }
    void setAll(bool on) {
        setOptions(0, on, on, on, on);
        setOptions(1, on, on, on, on);
    }

    void start() {
        sequence.emplace(rig.link, parts, aircraft, dataDir, view);
        view.steps = &sequence->steps();
        sequence->start();
    }
    // Ticks until the sequence has finished, with a short pause while the link works.
    void tickUntilFinished(int maxTicks = 5000) {
        for (int i = 0; i < maxTicks && !sequence->isFinished(); ++i) {
            sequence->tick();
            QThread::msleep(2);
        }
        ASSERT_TRUE(sequence->isFinished());
    }

    QStringList rawFiles(int engineNumber) const {
        QDir dir(dataDir + QStringLiteral("/HB-IJK_data/engine_%1").arg(engineNumber));
        QStringList files = dir.entryList({QStringLiteral("*.raw")}, QDir::Files, QDir::Name);
        for (QString& f : files) {
            f = dir.filePath(f);
        }
        return files;
    }
    // Engine 1's download failed: none of it is filed or erased; engine 2 is done all the same.
    void expectOnlyEngineTwoDone() {
        EXPECT_EQ(view.engine(0),
                  QStringList({"Failed", "Failed", "Skipped", "Skipped", "Skipped"}));
        EXPECT_EQ(rig.commandsSent(), (Commands{{CMD_DOWNLOAD_BEARING_DATA, 1},
                                                {CMD_DOWNLOAD_BEARING_DATA, 2},
                                                {CMD_ERASE_BEARING_DATA, 2},
                                                {CMD_ERASE_BEARING_DEFECT_HISTORY, 2},
                                                {CMD_ERASE_ACCEL_DEFECT_HISTORY, 2}}));
        EXPECT_FALSE(rig.sim.unit().bearingDataErased(1));
        EXPECT_TRUE(rawFiles(1).isEmpty());
        EXPECT_EQ(rawFiles(2).size(), 1);
    }
    static qint32 rawWord(const QString& path, int offset) {
        QFile f(path);
        const QByteArray b = f.open(QIODevice::ReadOnly) ? f.read(offset + 4) : QByteArray();
        return b.size() == offset + 4 ? qFromLittleEndian<qint32>(b.constData() + offset) : -1;
    }

    linktest::ThreadRig rig;
    PartNumberRecord parts;
    AircraftRecord aircraft;
    QString dataDir;
    RecordingView view;
    std::optional<DownloadSequence> sequence;
    const QStringList allCompleted = QStringList(5, QStringLiteral("Completed"));
    const QStringList nothing = QStringList(5, QStringLiteral("Not requested"));
};

const Commands kFullDownload = {
    {CMD_DOWNLOAD_BEARING_DATA, 1},        {CMD_ERASE_BEARING_DATA, 1},
    {CMD_ERASE_BEARING_DEFECT_HISTORY, 1}, {CMD_ERASE_ACCEL_DEFECT_HISTORY, 1},
    {CMD_DOWNLOAD_BEARING_DATA, 2},        {CMD_ERASE_BEARING_DATA, 2},
    {CMD_ERASE_BEARING_DEFECT_HISTORY, 2}, {CMD_ERASE_ACCEL_DEFECT_HISTORY, 2}};

}  // namespace

TEST_F(DownloadSequenceTest, AllOptionsOffEndsAtOnceAndEveryOptionSendsExactlyItsCommand) {
    setAll(false);
    start();
    EXPECT_TRUE(sequence->isFinished());
    EXPECT_TRUE(view.done);
    EXPECT_EQ(view.engine(0), nothing);
    EXPECT_EQ(view.engine(1), nothing);
    EXPECT_TRUE(rig.sim.unit().commands().empty());

    // Each option on its own, the other three off: only its own command goes to the unit (an
    // option read from its neighbour's byte sends the wrong one).
    const std::pair<int, quint32> options[] = {{0, CMD_DOWNLOAD_BEARING_DATA},
                                               {1, CMD_ERASE_BEARING_DATA},
                                               {2, CMD_ERASE_BEARING_DEFECT_HISTORY},
                                               {3, CMD_ERASE_ACCEL_DEFECT_HISTORY}};
    std::size_t before = 0;
    for (const auto& [option, command] : options) {
        setAll(false);
        setOptions(1, option == 0, option == 1, option == 2, option == 3);
        start();
        tickUntilFinished();
        const Commands sent = rig.commandsSent();
        EXPECT_EQ(Commands(sent.begin() + before, sent.end()), (Commands{{command, 2}}))
            << "option " << option;
        before = sent.size();
        EXPECT_EQ(view.engine(0), nothing);
    }
}

TEST_F(DownloadSequenceTest, BothEnginesAreDownloadedFiledAndErasedInOrder) {
    setAll(true);
    start();
    tickUntilFinished();
    EXPECT_EQ(view.engine(0), allCompleted);
    EXPECT_EQ(view.engine(1), allCompleted);
    EXPECT_TRUE(view.notices.isEmpty());
    EXPECT_EQ(rig.commandsSent(), kFullDownload);
    // Each engine's raw file holds that engine's own image: its number and flight numbers.
    for (int e = 1; e <= 2; ++e) {
        const QStringList raw = rawFiles(e);
        ASSERT_EQ(raw.size(), 1);
        EXPECT_EQ(rawWord(raw[0], 0x028), e);
        const quorsim::FlightImage image = quorsim::FlightImage::generate(1, e);
        for (int b = 0; b < 20; ++b) {
            EXPECT_EQ(rawWord(raw[0], 0x044 + 4 * b), image.flightNumber(b)) << e << " " << b;
        }
    }
    EXPECT_TRUE(rig.sim.unit().bearingDataErased(1));
    EXPECT_TRUE(rig.link.responseFileName().isEmpty() ||
                !QFile::exists(rig.link.responseFileName()));
}

TEST_F(DownloadSequenceTest, AFailedDownloadIsNeverErased) {
    setAll(true);
    rig.sim.unit().addFault(Fault{FaultKind::Ack, CMD_DOWNLOAD_BEARING_DATA, 5, 1});
    start();
    tickUntilFinished();
    expectOnlyEngineTwoDone();
    EXPECT_EQ(view.engine(1), allCompleted);
    EXPECT_EQ(view.notices, Notices{Notice::critical("BRIXAutoDownload::ReformatData",
                                                     "Raw data file not found.")});
}

// The unit closes the connection 100,000 bytes into engine 1's answer: the link is set up again
// once, for engine 2. An erase answered with an error reads "Failed", and the next one goes out.
TEST_F(DownloadSequenceTest, ALinkDroppedDuringEngineOneIsSetUpAgainForEngineTwo) {
    setAll(true);
    rig.sim.unit().addFault(
        Fault{FaultKind::CloseMidResponse, CMD_DOWNLOAD_BEARING_DATA, 100000, 1});
    rig.sim.unit().addFault(Fault{FaultKind::Ack, CMD_ERASE_BEARING_DEFECT_HISTORY, 3, 1});
    start();
    tickUntilFinished();
    expectOnlyEngineTwoDone();
    EXPECT_EQ(view.engine(1),
              QStringList({"Completed", "Completed", "Completed", "Failed", "Completed"}));
    EXPECT_EQ(view.reconnects, 1);
    EXPECT_EQ(rig.sim.connectionsAccepted(), 2);
}

// A late answer to a timed-out erase must not be taken for the next step's: the sequence waits
// for the link to drop the command before it hands over the next one. A bearing data erase
// waits 300 s, a defect history erase 60 s.
TEST_F(DownloadSequenceTest, ErasesThatNeverAnswerTimeOutAndTheNextDownloadGetsItsOwnImage) {
    setOptions(0, false, true, false, true);
    setOptions(1, true, false, false, false);
    rig.sim.unit().addFault(Fault{FaultKind::NoAnswer, CMD_ERASE_BEARING_DATA, 0, 1});
    rig.sim.unit().addFault(Fault{FaultKind::NoAnswer, CMD_ERASE_ACCEL_DEFECT_HISTORY, 0, 1});
    start();
    ASSERT_TRUE(rig.sim.waitForCommands(1, 5000));
    for (int i = 0; i < 2999; ++i) {  // 300 s of ticks, without waiting for them
        sequence->tick();
    }
    EXPECT_TRUE(view.lines[0][kEraseBearingDataStep].isEmpty());
    sequence->tick();
    EXPECT_EQ(view.lines[0][kEraseBearingDataStep], "Timeout");
    // The accel line erase goes out on the first tick after the link has let go of the other.
    ASSERT_TRUE(WaitForCommand(rig.link, 5000));
    sequence->tick();
    ASSERT_TRUE(rig.sim.waitForCommands(2, 5000));
    for (int i = 0; i < 599; ++i) {
        sequence->tick();
    }
    EXPECT_TRUE(view.lines[0][kEraseAccelDefectHistoryStep].isEmpty());
    sequence->tick();
    EXPECT_EQ(view.lines[0][kEraseAccelDefectHistoryStep], "Timeout");

    tickUntilFinished();
    EXPECT_EQ(view.lines[1][kDownloadBearingData], "Completed");
    EXPECT_EQ(view.lines[1][kPostProcessBearingData], "Completed");
    const QStringList raw = rawFiles(2);
    ASSERT_EQ(raw.size(), 1);
    EXPECT_EQ(rawWord(raw[0], 0x028), 2);
    EXPECT_EQ(rawWord(raw[0], 0x044), quorsim::FlightImage::generate(1, 2).flightNumber(0));
}

TEST_F(DownloadSequenceTest, CancelWhileTheUnitIsSilentWithdrawsTheCommand) {
    setAll(true);
    rig.sim.unit().addFault(Fault{FaultKind::NoAnswer, CMD_DOWNLOAD_BEARING_DATA, 0, 1});
    start();
    ASSERT_TRUE(rig.sim.waitForCommands(1, 5000));
    sequence->cancel();
    sequence->tick();
    EXPECT_FALSE(sequence->isFinished());
    // The link gives up the silent command long before its socket time-out; nothing is erased.
    ASSERT_TRUE(WaitForCommand(rig.link, 5000));
    EXPECT_EQ(rig.link.statusCode.load(), STATUS_OK);
    EXPECT_TRUE(rig.link.responseFileName().isEmpty());
    EXPECT_EQ(rig.commandsSent(), (Commands{{CMD_DOWNLOAD_BEARING_DATA, 1}}));
}

// The window draws during the filing but runs no command: a Cancel pressed meanwhile is handed
// out after the tick that filed, and no erase has gone out by then.
TEST_F(DownloadSequenceTest, CancelDuringFilingLetsTheFilingFinishAndStartsNoErase) {
    setOptions(0, true, true, true, true);
    setOptions(1, false, false, false, false);
    int refreshes = 0;
    view.onRefresh = [&refreshes] { ++refreshes; };
    start();
    ASSERT_TRUE(WaitForCommand(rig.link, 10000));
    sequence->tick();
    EXPECT_GT(refreshes, 0);
    sequence->cancel();  // the user's Cancel, from the dialog's loop
    sequence->tick();
    EXPECT_EQ(view.lines[0][kPostProcessBearingData], "Completed");
    EXPECT_TRUE(view.lines[0][kEraseBearingDataStep].isEmpty());
    EXPECT_EQ(rawFiles(1).size(), 1);  // what was downloaded is filed all the same
    QThread::msleep(100);
    EXPECT_EQ(rig.commandsSent(), (Commands{{CMD_DOWNLOAD_BEARING_DATA, 1}}));
}

// With the unit gone for good, one set-up is tried; every step then fails without waiting.
TEST_F(DownloadSequenceTest, WhenTheLinkCannotBeSetUpAgainTheStepsFailAtOnce) {
    setOptions(0, false, true, true, true);
    setOptions(1, false, true, true, true);
    rig.stop();
    view.onReconnect = [] { return false; };
    start();
    EXPECT_TRUE(sequence->isFinished());
    EXPECT_EQ(view.reconnects, 1);
    for (int e = 0; e < 2; ++e) {
        EXPECT_EQ(view.engine(e),
                  QStringList({"Not requested", "Not requested", "Failed", "Failed", "Failed"}));
    }
    EXPECT_TRUE(rig.sim.unit().commands().empty());
}

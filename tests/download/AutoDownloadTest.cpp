// The download dialog against the simulated unit on loopback: how it draws the sequence's steps
// and outcomes, the boxes of filing, Cancel and Done. What the sequence does is tested without a
// window in the download core's tests; the whole download runs from the main menu in the app
// tests.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QThread>
#include <QTimer>

#include "download/ui/BRIXAutoDownload.h"
#include "link/CommandTable.h"
#include "link/LinkStatus.h"
#include "sim/image/FlightImage.h"
#include "tests/download/SimulatedAircraft.h"
#include "tests/link/LinkTestSupport.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/UserPersist.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafStorage.h"
#include "toolkit/ZafWindowManager.h"

using namespace tolm;
using quorsim::Fault;
using quorsim::FaultKind;

namespace {

const QString kDownload = QStringLiteral("Download Bearing Data.............");
const QString kPost = QStringLiteral("Post-process Bearing Data.........");
const QString kErase = QStringLiteral("Erase Bearing Data................");
const QString kDefect = QStringLiteral("Erase Bearing Defect History......");
const QString kAccel = QStringLiteral("Erase Accel Line Defect History...");

class AutoDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::clearSettings();
        dataDir = testenv::freshDirectory(QStringLiteral("auto-download-data"));
        QSettings().setValue("DataDir", dataDir);
        zafApplication()->SetDefaultReader(&reader);
        rig.link.socketTimeoutMs.store(20000);  // longer than any time-out of the dialog's own
        ASSERT_TRUE(rig.connect());

        aircraft = simulatedAircraft(QStringLiteral("HB-IJK"));
    }
    void TearDown() override {
        rig.stop();
        zafApplication()->SetDefaultReader(nullptr);
        testenv::pump();
    }

    void setOptions(int engine, bool download, bool erase, bool defect, bool accel) {
        EngineRecord r = aircraft.engine(engine);
        r.setOption(EngineOption::DownloadBearingData, download);
        r.setOption(EngineOption::EraseBearingData, erase);
        r.setOption(EngineOption::EraseBearingDefectHistory, defect);
        r.setOption(EngineOption::EraseAccelDefectHistory, accel);
        aircraft.setEngine(engine, r);
    }

    // Ticks the dialog until it has finished (or maxTicks ran out), sleeping 2 ms between ticks
    // while the link works.
    static void tickUntilFinished(BRIXAutoDownload& dialog, int maxTicks) {
        for (int i = 0; i < maxTicks && !dialog.Finished(); ++i) {
            dialog.Event(ZafEventStruct(BRIXAutoDownload::kTickEvent));
            QThread::msleep(2);
        }
    }

    // (code, engine) of every command the unit received.
    std::vector<std::pair<quint32, quint32>> commandsSent() {
        std::vector<std::pair<quint32, quint32>> sent;
        for (const auto& c : sim.unit().commands()) {
            sent.emplace_back(c.code, c.payload.empty() ? 0 : c.payload[0]);
        }
        return sent;
    }

    QStringList rawFiles(int engineNumber) const {
        QDir dir(dataDir + QStringLiteral("/HB-IJK_data/engine_%1").arg(engineNumber));
        QStringList files = dir.entryList({QStringLiteral("*.raw")}, QDir::Files, QDir::Name);
        for (QString& f : files) {
            f = dir.filePath(f);
        }
        return files;
    }

    FakeDialogs dialogs;
    ZafStorage storage{testenv::binDir() + QStringLiteral("/QUOR.znc")};
    UserPersist reader{&storage};
    linktest::ThreadRig rig;
    quorsim::UnitSimulator& sim = rig.sim;
    LinkContext& link = rig.link;
    PartNumberRecord partNumbers;
    AircraftRecord aircraft;
    QString dataDir;
};

}  // namespace

TEST_F(AutoDownloadTest, AllOptionsOffEndsAtOnce) {
    setOptions(0, false, false, false, false);
    setOptions(1, false, false, false, false);
    BRIXAutoDownload dialog(link, partNumbers, aircraft, 255, 255);
    EXPECT_TRUE(dialog.Finished());
    for (int e = 0; e < 2; ++e) {
        EXPECT_EQ(dialog.StepText(e, 0), kDownload + QStringLiteral("Not requested"));
        EXPECT_EQ(dialog.StepText(e, 1), kPost + QStringLiteral("Not requested"));
        EXPECT_EQ(dialog.StepText(e, 4), kAccel + QStringLiteral("Not requested"));
    }
    EXPECT_EQ(dialog.StatusText(), QStringLiteral("Processing complete"));
    EXPECT_EQ(dialog.ButtonText(), QStringLiteral("Done (F5)"));
    EXPECT_TRUE(sim.unit().commands().empty());

    // F5 now closes the dialog normally.
    QTimer::singleShot(
        0, [&] { zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, &dialog)); });
    EXPECT_EQ(dialog.RunModal(), S_DIALOG_OK);
}

TEST_F(AutoDownloadTest, AFailedDownloadIsNeverErased) {
    setOptions(0, true, true, true, true);
    setOptions(1, true, true, true, true);
    sim.unit().addFault(Fault{FaultKind::Ack, CMD_DOWNLOAD_BEARING_DATA, 5, 1});
    BRIXAutoDownload dialog(link, partNumbers, aircraft, 255, 255);
    tickUntilFinished(dialog, 5000);
    ASSERT_TRUE(dialog.Finished());
    EXPECT_EQ(dialog.StepText(0, 0), kDownload + QStringLiteral("Failed"));
    EXPECT_EQ(dialog.StepText(0, 1), kPost + QStringLiteral("Failed"));
    EXPECT_EQ(dialog.StepText(0, 2), kErase + QStringLiteral("Skipped"));
    EXPECT_EQ(dialog.StepText(0, 3), kDefect + QStringLiteral("Skipped"));
    EXPECT_EQ(dialog.StepText(0, 4), kAccel + QStringLiteral("Skipped"));
    for (int kind = 0; kind < 5; ++kind) {
        EXPECT_TRUE(dialog.StepText(1, kind).endsWith(QStringLiteral("Completed"))) << kind;
    }
    EXPECT_EQ(dialogs.messages, (Boxes{{MessageKind::Critical, "BRIXAutoDownload::ReformatData",
                                        "Raw data file not found."}}));

    for (const auto& [code, engine] : commandsSent()) {
        if (code != CMD_DOWNLOAD_BEARING_DATA) {
            EXPECT_EQ(engine, 2u) << "an erase reached engine 1";
        }
    }
    EXPECT_TRUE(rawFiles(1).isEmpty());
    EXPECT_EQ(rawFiles(2).size(), 1);
}

TEST_F(AutoDownloadTest, CancelWhileTheUnitIsSilentEndsAtOnceAndAbortsTheCommand) {
    setOptions(0, true, true, true, true);
    setOptions(1, true, true, true, true);
    sim.unit().addFault(Fault{FaultKind::NoAnswer, CMD_DOWNLOAD_BEARING_DATA, 0, 1});
    BRIXAutoDownload dialog(link, partNumbers, aircraft, 255, 255);
    ASSERT_TRUE(sim.waitForCommands(1, 5000));
    QTimer::singleShot(
        50, [&] { zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, &dialog)); });
    EXPECT_EQ(dialog.RunModal(), S_CLOSE);
    EXPECT_TRUE(dialogs.messages.empty());

    // The link gives up the silent command long before its socket time-out (the link tests
    // show it serving the next command), and nothing was erased.
    ASSERT_TRUE(WaitForCommand(link, 5000));
    EXPECT_EQ(link.statusCode.load(), STATUS_OK);
    EXPECT_TRUE(link.responseFileName().isEmpty());
    EXPECT_EQ(commandsSent(),
              (std::vector<std::pair<quint32, quint32>>{{CMD_DOWNLOAD_BEARING_DATA, 1}}));
}

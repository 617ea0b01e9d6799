// The download dialog on loopback: what it draws and which box. What the sequence does is tested
// without a window, the whole download from the main menu in the app tests.
#include <gtest/gtest.h>

#include <QSettings>
#include <QThread>
#include <QTimer>

#include "download/ui/BRIXAutoDownload.h"
#include "link/CommandTable.h"
#include "tests/download/SimulatedAircraft.h"
#include "tests/link/LinkTestSupport.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/UserPersist.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafStorage.h"

using namespace tolm;
using quorsim::Fault;
using quorsim::FaultKind;

namespace {

const QString kLabels[] = {
    "Download Bearing Data.............", "Post-process Bearing Data.........",
    "Erase Bearing Data................", "Erase Bearing Defect History......",
    "Erase Accel Line Defect History..."};

class AutoDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::clearSettings();
        QSettings().setValue("DataDir", testenv::freshDirectory(QStringLiteral("auto-download")));
        zafApplication()->SetDefaultReader(&reader);
        rig.link.socketTimeoutMs.store(20000);  // longer than any time-out of the dialog's own
        ASSERT_TRUE(rig.connect());
    }
    void TearDown() override {
        rig.stop();
        zafApplication()->SetDefaultReader(nullptr);
        testenv::pump();
    }

    FakeDialogs dialogs;
    ZafStorage storage{testenv::binDir() + QStringLiteral("/QUOR.znc")};
    UserPersist reader{&storage};
    linktest::ThreadRig rig;
    PartNumberRecord partNumbers;
    const AircraftRecord everything = simulatedAircraft(
        QStringLiteral("HB-IJK"),
        {EngineOption::DownloadBearingData, EngineOption::EraseBearingData,
         EngineOption::EraseBearingDefectHistory, EngineOption::EraseAccelDefectHistory});
};

}  // namespace

TEST_F(AutoDownloadTest, AllOptionsOffEndsAtOnceAndEveryLineShowsItsLabel) {
    const AircraftRecord nothing = simulatedAircraft(QStringLiteral("HB-IJK"));
    BRIXAutoDownload dialog(rig.link, partNumbers, nothing, 255, 255);
    EXPECT_TRUE(dialog.Finished());
    for (int e = 0; e < 2; ++e) {
        for (int kind = 0; kind < 5; ++kind) {
            EXPECT_EQ(dialog.StepText(e, kind), kLabels[kind] + QStringLiteral("Not requested"));
        }
    }
    EXPECT_EQ(dialog.StatusText(), QStringLiteral("Processing complete"));
    EXPECT_EQ(dialog.ButtonText(), QStringLiteral("Done (F5)"));

    // F5 now closes the dialog normally.
    QTimer::singleShot(
        0, [&] { zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, &dialog)); });
    EXPECT_EQ(dialog.RunModal(), S_DIALOG_OK);
}

TEST_F(AutoDownloadTest, AFailedDownloadShowsItsOutcomesAndTheFilingsBox) {
    rig.sim.unit().addFault(Fault{FaultKind::Ack, CMD_DOWNLOAD_BEARING_DATA, 5, 1});
    BRIXAutoDownload dialog(rig.link, partNumbers, everything, 255, 255);
    for (int i = 0; i < 5000 && !dialog.Finished(); ++i) {
        dialog.Event(ZafEventStruct(BRIXAutoDownload::kTickEvent));
        QThread::msleep(2);
    }
    ASSERT_TRUE(dialog.Finished());
    const char* const outcomes[] = {"Failed", "Failed", "Skipped", "Skipped", "Skipped"};
    for (int kind = 0; kind < 5; ++kind) {
        EXPECT_EQ(dialog.StepText(0, kind), kLabels[kind] + QLatin1String(outcomes[kind]));
        EXPECT_EQ(dialog.StepText(1, kind), kLabels[kind] + QStringLiteral("Completed"));
    }
    EXPECT_EQ(dialogs.messages, (Boxes{{MessageKind::Critical, "BRIXAutoDownload::ReformatData",
                                        "Raw data file not found."}}));
}

// F5 while the unit is silent ends the dialog at once and has the sequence withdraw the command.
TEST_F(AutoDownloadTest, CancelWhileTheUnitIsSilentEndsAtOnceAndWithdrawsTheCommand) {
    rig.sim.unit().addFault(Fault{FaultKind::NoAnswer, CMD_DOWNLOAD_BEARING_DATA, 0, 1});
    BRIXAutoDownload dialog(rig.link, partNumbers, everything, 255, 255);
    ASSERT_TRUE(rig.sim.waitForCommands(1, 5000));
    QTimer::singleShot(
        50, [&] { zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, &dialog)); });
    EXPECT_EQ(dialog.RunModal(), S_CLOSE);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(WaitForCommand(rig.link, 5000));  // long before the socket's 20 s
}

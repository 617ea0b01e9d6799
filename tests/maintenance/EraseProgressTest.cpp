// The erase dialog on loopback: its lines, the gauge in seconds, waits in ticks, Done at the end.
// The step machine's own rules are tested with it; here only a late answer is seen through.
#include <gtest/gtest.h>

#include <QThread>
#include <QTimer>

#include "link/CommandTable.h"
#include "maintenance/ui/BRIXEraseProgress.h"
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
using Commands = std::vector<std::pair<quint32, quint32>>;

namespace {

const QString kData = QStringLiteral("Erase Bearing Data................");
const QString kDefect = QStringLiteral("Erase Bearing Defect History......");
const QString kAccel = QStringLiteral("Erase Accel Line Defect History...");

class EraseProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        zafApplication()->SetDefaultReader(&reader);
        rig.link.socketTimeoutMs.store(20000);  // longer than any wait of the dialog
        ASSERT_TRUE(rig.connect());
    }
    void TearDown() override {
        rig.stop();
        zafApplication()->SetDefaultReader(nullptr);
        testenv::pump();
    }

    std::unique_ptr<BRIXEraseProgress> open(const EraseSelections& selections) {
        return std::make_unique<BRIXEraseProgress>(rig.link, selections, 255, 255, nullptr,
                                                   [this] { return rig.connect(); });
    }
    static void tick(BRIXEraseProgress& dialog, int times) {
        for (int i = 0; i < times; ++i) {
            dialog.Event(ZafEventStruct(BRIXEraseProgress::kTickEvent));
        }
    }
    static QStringList lines(const BRIXEraseProgress& dialog, int engine) {
        return {dialog.StepText(engine, 0), dialog.StepText(engine, 1), dialog.StepText(engine, 2)};
    }

    FakeDialogs dialogs;
    ZafStorage storage{testenv::binDir() + QStringLiteral("/QUOR.znc")};
    UserPersist reader{&storage};
    linktest::ThreadRig rig;
    const QStringList nothing{kData + "Not requested", kDefect + "Not requested",
                              kAccel + "Not requested"};
};

}  // namespace

TEST_F(EraseProgressTest, OnlyTheBoxesTickedAreErasedAndNoBoxFinishesAtOnce) {
    auto dialog = open(EraseSelections{});
    EXPECT_TRUE(dialog->Finished());
    EXPECT_EQ(lines(*dialog, 0), nothing);
    EXPECT_EQ(lines(*dialog, 1), nothing);
    EXPECT_EQ(dialog->StatusText(), QStringLiteral("Erase processing complete"));
    EXPECT_TRUE(dialog->DoneEnabled());
    EXPECT_EQ(dialog->GaugeValue(), 100);
    EXPECT_TRUE(rig.sim.unit().commands().empty());
    // The labels line up in a fixed-pitch face at 8 points.
    const QFont font = dialog->Get(QStringLiteral("G_ENGINE2")).Child(2).widget()->font();
    EXPECT_EQ(font.pointSize(), 8);
    EXPECT_EQ(font.styleHint(), QFont::TypeWriter);

    QTimer::singleShot(
        0, [&] { zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, dialog.get())); });
    EXPECT_EQ(dialog->RunModal(), S_DIALOG_OK);

    // Only engine 2's bearing data: one erase, with the word 2.
    rig.sim.unit().setEraseDurationMs(CMD_ERASE_BEARING_DATA, 200);
    dialog = open(EraseSelections{false, false, false, true, false, false});
    EXPECT_EQ(dialog->StatusText(),
              QStringLiteral("Erasing bearing data for engine 2 (seconds spent performing erase "
                             "function)"));
    EXPECT_EQ(dialog->GaugeMaximum(), 300);
    EXPECT_FALSE(dialog->DoneEnabled());
    for (int i = 0; i < 50 && !dialog->Finished(); ++i) {  // each tick once the link has reported
        WaitForCommand(rig.link, 5000);
        tick(*dialog, 1);
    }
    ASSERT_TRUE(dialog->Finished());
    EXPECT_EQ(lines(*dialog, 0), nothing);
    EXPECT_EQ(lines(*dialog, 1), QStringList({kData + "Completed", kDefect + "Not requested",
                                              kAccel + "Not requested"}));
    EXPECT_EQ(rig.commandsSent(), (Commands{{CMD_ERASE_BEARING_DATA, 2}}));
    EXPECT_TRUE(rig.sim.unit().bearingDataErased(2));
    EXPECT_FALSE(rig.sim.unit().bearingDataErased(1));
}

// The dialog's own 100 ms timer runs it; F5 is pressed all along and closes it only once every
// line has its outcome.
TEST_F(EraseProgressTest, EveryBoxTickedErasesInTheFixedOrderAndOnlyTheEndCanBeClosed) {
    rig.sim.unit().setEraseDurationMs(CMD_ERASE_BEARING_DEFECT_HISTORY, 150);
    auto dialog = open(kEraseEverything);
    QStringList seenWhenClosed;
    QTimer impatient;
    QObject::connect(&impatient, &QTimer::timeout, [&] {
        zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, dialog.get()));
        zafEventManager()->Put(ZafEventStruct(S_CLOSE, dialog.get(), dialog.get()));
    });
    impatient.start(5);
    EXPECT_EQ(dialog->RunModal(), S_DIALOG_OK);
    impatient.stop();
    for (int e = 0; e < 2; ++e) {
        EXPECT_EQ(lines(*dialog, e),
                  QStringList({kData + "Completed", kDefect + "Completed", kAccel + "Completed"}));
    }
    EXPECT_EQ(rig.commandsSent(), (Commands{{CMD_ERASE_BEARING_DATA, 1},
                                            {CMD_ERASE_BEARING_DEFECT_HISTORY, 1},
                                            {CMD_ERASE_ACCEL_DEFECT_HISTORY, 1},
                                            {CMD_ERASE_BEARING_DATA, 2},
                                            {CMD_ERASE_BEARING_DEFECT_HISTORY, 2},
                                            {CMD_ERASE_ACCEL_DEFECT_HISTORY, 2}}));
    EXPECT_EQ(dialog->StatusText(), QStringLiteral("Erase processing complete"));
}

// Bearing data counts 300 s, the defect history 60 s and answers 0.4 s late (for ticks driven at
// once), the accel line never answers: each erase goes out on the first tick after the link let
// go of the one before, and the late answer is never taken for the next step's.
TEST_F(EraseProgressTest, ErasesTimeOutByTheirOwnCountAndALateAnswerIsNeverTakenForTheNext) {
    rig.sim.unit().addFault(Fault{FaultKind::NoAnswer, CMD_ERASE_BEARING_DATA, 0, 1});
    rig.sim.unit().addFault(Fault{FaultKind::SlowAnswer, CMD_ERASE_BEARING_DEFECT_HISTORY, 400});
    rig.sim.unit().addFault(Fault{FaultKind::NoAnswer, CMD_ERASE_ACCEL_DEFECT_HISTORY, 0, 1});
    auto dialog = open(EraseSelections{true, true, true, false, false, false});
    ASSERT_TRUE(rig.sim.waitForCommands(1, 5000));
    tick(*dialog, 2999);
    EXPECT_EQ(dialog->StepText(0, 0), kData);
    EXPECT_EQ(dialog->GaugeValue(), 300);
    EXPECT_EQ(dialog->GaugeMaximum(), 300);
    tick(*dialog, 1);
    EXPECT_EQ(dialog->StepText(0, 0), kData + "Timeout");

    ASSERT_TRUE(WaitForCommand(rig.link, 5000));
    tick(*dialog, 1);
    ASSERT_TRUE(rig.sim.waitForCommands(2, 5000));
    tick(*dialog, 600);
    EXPECT_EQ(dialog->StepText(0, 1), kDefect + "Timeout");

    ASSERT_TRUE(WaitForCommand(rig.link, 5000));
    tick(*dialog, 1);
    ASSERT_TRUE(rig.sim.waitForCommands(3, 5000));
    QThread::msleep(500);  // whatever the link still had to report has arrived
    tick(*dialog, 599);
    EXPECT_EQ(dialog->StepText(0, 2), kAccel);
    tick(*dialog, 1);
    EXPECT_EQ(dialog->StepText(0, 2), kAccel + "Timeout");
    EXPECT_EQ(rig.commandsSent(), (Commands{{CMD_ERASE_BEARING_DATA, 1},
                                            {CMD_ERASE_BEARING_DEFECT_HISTORY, 1},
                                            {CMD_ERASE_ACCEL_DEFECT_HISTORY, 1}}));
}

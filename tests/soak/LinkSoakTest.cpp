// A long soak of everything that owns the link, driven through the main window: downloads,
// erases and uploads against the simulator on loopback, each run with a trouble of the unit or
// the cable and a key or command of the user (a second Continue, Esc, Exit, F9, Download) at a
// random tick, from a printed seed. Dialogs are ticked faster than their timers; AddressSanitizer
// finds memory freed under a running sequence. After every run: nothing was erased that was not
// filed (a download) or ticked (an erase), no erase followed an incomplete upload, every dialog
// ended within its bound, at most one ran at a time, and the link sets up again.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QThread>
#include <optional>
#include <set>
#include <utility>

#include "app/MainEvents.h"
#include "download/ui/BRIXAutoDownload.h"
#include "link/Connection.h"
#include "maintenance/ui/BRIXEraseProgress.h"
#include "maintenance/ui/MaintenanceEvents.h"
#include "register/TolmAircraftSettings.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/download/SimulatedAircraft.h"
#include "tests/soak/SoakRuns.h"
#include "toolkit/KeyCodes.h"

using namespace tolm;
using quorsim::Fault;
using quorsim::FaultKind;
using soak::kEraseCodes;

namespace {

enum class Activity { Download, Erase, DspUpload, TableUpload };
constexpr int kActivities = 4;
const char* const kActivityNames[kActivities] = {"download", "erase", "DSP upload", "table upload"};

enum class Trouble {
    None,
    Silence,            // one command is never answered
    DroppedConnection,  // the unit closes the connection in the middle of an answer
    ErrorAck,           // one command is answered with an error
    PowerOff,           // the unit is switched off for a while, at a random tick
    ConnectHangs,       // the link is down and the next connect attempts hang
    QuietReboot,        // after an upload the unit goes quiet on the old connection
};
constexpr int kTroubles = 7;
const char* const kTroubleNames[kTroubles] = {"none",        "silence",   "dropped connection",
                                              "error ack",   "power off", "connect hangs",
                                              "quiet reboot"};

enum class Input { None, SecondContinue, Escape, Exit, F9, Download };
constexpr int kInputs = 6;
const char* const kInputNames[kInputs] = {"none", "second Continue", "Esc", "Exit",
                                          "F9",   "Download"};

// Ticks delivered to a running dialog each time the user looks at it (every 5 ms).
constexpr int kTicksPerLook = 10;
// The most ticks a step may take: the longest wait (3000), the margin for letting go of a
// withdrawn command (100), and some slack for the ticks that pass while the link reports.
constexpr int kStepTickBound = 3000 + 100 + 200;
// The most a dialog may run in real time: set-ups of two attempts, answers, a download.
constexpr int kDialogWallBoundMs = 60000;

struct Plan {
    Activity activity = Activity::Download;
    Trouble trouble = Trouble::None;
    Input input = Input::None;
    int inputLook = 0;    // at which look of the user the input arrives
    int troubleLook = 0;  // for power off: at which look
    int offMs = 0;
    bool inputToFront = false;
    std::array<bool, 6> ticked{};
    std::optional<Fault> fault;
};

class LinkSoak : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        QSettings().setValue(QStringLiteral("ConnectTimeout"), 2);
        dataDir = testenv::freshDirectory(QStringLiteral("link-soak-data"));
        QSettings().setValue(QStringLiteral("DataDir"), dataDir);
        AircraftRecord record =
            simulatedAircraft(QStringLiteral("HB-SOAK"), {EngineOption::EraseBearingData,
                                                          EngineOption::EraseBearingDefectHistory,
                                                          EngineOption::EraseAccelDefectHistory});
        TolmAircraftSettings().storeAircraft(record.identifier(), record);
        sim.unit().setRebootAfterUpload(true);
        userStep = [this] { look(); };
    }
    void TearDown() override {
        setConnector({});
        MainWindowFixture::TearDown();
    }

    void openWindow() {
        openAsAdministrator();
        window->unitLink().setPartNumberWaitMs(1000);
        // A download never answered is given up by the link, well inside the dialog's bound.
        window->unitLink().context().socketTimeoutMs.store(20000);
    }

    // The user at the keyboard, every 5 ms while a dialog runs: confirms the aircraft, ticks
    // the running dialog on, does the plan's input at its look, and closes a finished dialog.
    void look() {
        int running = 0;  // erase and download dialogs shown at once
        for (QWidget* w : QApplication::topLevelWidgets()) {
            running +=
                (qobject_cast<BRIXAutoDownload*>(w) || qobject_cast<BRIXEraseProgress*>(w)) &&
                w->isVisible();
        }
        dialogsAtOnce = qMax(dialogsAtOnce, running);
        ZafWindow* front = zafWindowManager()->Front();
        if (!front || !window || front == window) {
            return;
        }
        ++looks;
        act();
        if (front->objectName() == QStringLiteral("AircraftInfoDialog")) {
            zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, front));
            return;
        }
        auto* download = qobject_cast<BRIXAutoDownload*>(front);
        auto* erase = qobject_cast<BRIXEraseProgress*>(front);
        if (!download && !erase) {
            return;
        }
        if (front != current) {
            current = front;
            dialogTicks = 0;
            dialogSteps = download ? 10 : 6;
            dialogClock.start();
        }
        if (download ? download->Finished() : erase->Finished()) {
            if (!std::exchange(closing, true)) {
                zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, front));
            }
            return;
        }
        closing = false;
        ZafTimer* timer = download ? download->Timer() : erase->Timer();
        for (int i = 0; i < kTicksPerLook && timer; ++i) {
            timer->Tick();
            ++dialogTicks;
        }
        if (erase) {
            EXPECT_LE(dialogTicks, dialogSteps * kStepTickBound) << "an erase dialog overran";
        }
        if (dialogClock.elapsed() > kDialogWallBoundMs) {
            ADD_FAILURE() << front->objectName().toStdString() << " ran past its bound";
            static_cast<ZafDialogWindow*>(front)->EndModal(S_CLOSE);
        }
    }

    // The plan's trouble and input, at their looks.
    void act() {
        if (plan.trouble == Trouble::PowerOff && looks == plan.troubleLook) {
            sim.powerOff(plan.offMs);
        }
        if (plan.input == Input::None || looks != plan.inputLook || !window) {
            return;
        }
        ZafWindow* target = plan.inputToFront ? zafWindowManager()->Front() : window.data();
        const ZafEventStruct events[kInputs - 1] = {
            ZafEventStruct(MaintenanceEvent::EraseProgress, nullptr, window),  // a second Continue
            ZafEventStruct::rawKeyDown(VK::Escape, target),
            ZafEventStruct(S_CLOSE, nullptr, window),  // Exit
            ZafEventStruct::rawKeyDown(VK::F9, window),
            ZafEventStruct(MainEvent::Download, nullptr, window)};
        zafEventManager()->Put(events[int(plan.input) - 1]);
    }

    Plan choose(soak::Runs& runs) {
        Plan p;
        p.activity = Activity(runs.below(kActivities));
        p.trouble = Trouble(runs.below(kTroubles));
        if (p.trouble == Trouble::QuietReboot && p.activity != Activity::DspUpload &&
            p.activity != Activity::TableUpload) {
            p.trouble = Trouble::PowerOff;
        }
        p.input = Input(runs.below(kInputs));
        p.inputLook = 1 + int(runs.below(60));
        p.troubleLook = 1 + int(runs.below(40));
        p.offMs = 200 + int(runs.below(2800));
        p.inputToFront = runs.below(2) == 0;
        for (bool& t : p.ticked) {
            t = runs.below(2) == 0;
        }
        // Each activity's commands; one meets the trouble of a silence, a drop or an error.
        const std::vector<quint32> codes[kActivities] = {
            {CMD_DOWNLOAD_BEARING_DATA, kEraseCodes[0], kEraseCodes[1], kEraseCodes[2]},
            {kEraseCodes[0], kEraseCodes[1], kEraseCodes[2]},
            {CMD_UPLOAD_DSP_SOFTWARE},
            {CMD_UPLOAD_CONFIG_TABLE, CMD_ERASE_BEARING_DATA}};
        const std::vector<quint32>& mine = codes[int(p.activity)];
        const quint32 code = mine[runs.below(quint32(mine.size()))];
        const int after = int(runs.below(2));
        const FaultKind kinds[] = {FaultKind::NoAnswer, FaultKind::CloseMidResponse,
                                   FaultKind::Ack};
        if (p.trouble >= Trouble::Silence && p.trouble <= Trouble::ErrorAck) {
            const FaultKind kind = kinds[int(p.trouble) - int(Trouble::Silence)];
            p.fault = Fault{kind, code, kind == FaultKind::Ack ? 1 + runs.below(200) : 0, 1, after};
        }
        return p;
    }

    QString describe(const Plan& p) const {
        return QStringLiteral("%1, %2, %3 at look %4")
            .arg(QLatin1String(kActivityNames[int(p.activity)]),
                 QLatin1String(kTroubleNames[int(p.trouble)]),
                 QLatin1String(kInputNames[int(p.input)]), QString::number(p.inputLook));
    }

    // Runs the plan's activity from the main menu to its end.
    void runActivity() {
        switch (plan.activity) {
            case Activity::Download:
                press(VK::F5);
                break;
            case Activity::Erase:
                press(VK::F7);
                if (pageName() != QStringLiteral("ClearData")) {
                    return;  // the link was owned, or the key went elsewhere
                }
                for (std::size_t i = 0; i < plan.ticked.size(); ++i) {
                    onPage(i < 3 ? "G_ENGINE1" : "G_ENGINE2")
                        .Child(int(i % 3))
                        .SetSelected(plan.ticked[i]);
                }
                press(VK::F5);
                break;
            case Activity::DspUpload:
            case Activity::TableUpload:
                upload(plan.activity == Activity::TableUpload);
                break;
        }
    }

    void upload(bool table) {
        press(VK::F9);
        if (pageName() != QStringLiteral("Utilities")) {
            return;
        }
        onPage("UTILITIES_NOTEBOOK").as<QTabWidget>()->setCurrentIndex(2);
        const QString name =
            table ? QStringLiteral("731_406_S.dat") : QStringLiteral("731_403_S.dat");
        const QString path = dataDir + QStringLiteral("/SW_uploads/") + name;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            ADD_FAILURE() << "cannot write " << path.toStdString();
            return;
        }
        for (int i = 0; i < 2 * 1280 + 3; ++i) {
            file.write(QByteArray::number(0x9E3779B9u * quint32(i + 1), 16) + ' ');
        }
        file.close();
        dialogs.openFileAnswers.push_back(path);
        click(table ? "DspProcessors~ConfigurationUpdate~UpdateButton"
                    : "DspProcessors~SoftwareUpdate~UpdateButton");
        if (table) {
            dialogs.questionAnswers.push_back(QMessageBox::Yes);
        }
        click(table ? "DspProcessors~UpdateCfgButton" : "DspProcessors~UpdateSwButton");
        BRIXFirmwareUpload& firmware = window->UtilitiesPage().Firmware();
        if (ZafTimer* timer = firmware.Timer()) {
            timer->Stop();
        }
        // Pacing ticks, faster than the timer's, until the upload and what follows have run.
        QElapsedTimer clock;
        clock.start();
        while (window && firmware.Busy() && clock.elapsed() < kDialogWallBoundMs) {
            ++looks;
            act();
            if (window) {
                window->Event(ZafEventStruct(MaintenanceEvent::UploadTick, nullptr, window));
            }
            QThread::msleep(5);
            testenv::pump();
        }
        ASSERT_TRUE(!window || !firmware.Busy()) << "the upload overran";
        if (window) {
            uploadCompleted =
                firmware.Upload() && firmware.Upload()->state() == UploadSequence::State::Completed;
        }
    }

    // What the run must leave behind.
    void check() {
        EXPECT_LE(dialogsAtOnce, 1);
        bool filed[2] = {false, false};
        for (int e = 0; e < 2; ++e) {
            filed[e] = QDir(dataDir + QStringLiteral("/HB-SOAK_data/engine_%1").arg(e + 1))
                           .entryList(QDir::Files)
                           .size() == 4;
        }
        std::multiset<std::pair<quint32, quint32>> erases;
        for (const auto& c : sim.unit().commands()) {
            for (int k = 0; k < 3; ++k) {
                if (c.code == kEraseCodes[k]) {
                    ASSERT_FALSE(c.payload.empty());
                    erases.insert({quint32(k), c.payload[0]});
                }
            }
        }
        for (const auto& [kind, engine] : erases) {
            switch (plan.activity) {
                case Activity::Download:
                    EXPECT_TRUE(filed[(engine - 1) & 1])
                        << "erase of engine " << engine << " whose data was not filed";
                    break;
                case Activity::Erase:
                    EXPECT_TRUE(plan.ticked[std::size_t((engine - 1) * 3 + kind)])
                        << "erase " << kind << " of engine " << engine << " not ticked";
                    EXPECT_EQ(erases.count({kind, engine}), 1u) << "an erase sent twice";
                    break;
                case Activity::DspUpload:
                    ADD_FAILURE() << "an erase after a DSP upload";
                    break;
                case Activity::TableUpload:
                    EXPECT_TRUE(uploadCompleted)
                        << "an erase after a table upload that did not complete";
                    break;
            }
        }
    }
    // Back to a unit that answers and the main menu; the next set-up must work.
    void recover() {
        sim.unit().clearFaults();
        sim.unit().setRebootQuietly(false);
        setConnector({});
        for (int i = 0; i < 1000 && sim.poweredOff(); ++i) {
            QThread::msleep(5);
        }
        testenv::pump();
        if (!window) {
            ASSERT_EQ(plan.input, Input::Exit) << "the window went away";
            openWindow();
        }
        toMainMenu();
        ASSERT_TRUE(window->EstablishUnitLink())
            << "the link cannot be set up (owner " << int(window->unitLink().owner().holder())
            << ", status " << field("STATUS").toStdString() << ", boxes "
            << ::testing::PrintToString(dialogs.messages) << ")";
        EXPECT_EQ(field("STATUS"), QStringLiteral("Communication OK!"));
        QDir(dataDir + QStringLiteral("/HB-SOAK_data")).removeRecursively();
        sim.unit().restoreBearingData();
        sim.unit().clearCommands();
        dialogs.clear();
    }

    QString dataDir;
    Plan plan;
    int looks = 0, dialogTicks = 0, dialogSteps = 0, dialogsAtOnce = 0;
    QPointer<ZafWindow> current;
    bool closing = false, uploadCompleted = false;
    QElapsedTimer dialogClock;
};

}  // namespace

TEST_F(LinkSoak, EveryRunWithItsTroubleAndInputEndsInBoundErasesOnlyWhatItMayAndLeavesALink) {
    soak::Runs runs("link soak");
    openWindow();
    ASSERT_TRUE(window->EstablishUnitLink());
    toMainMenu();
    for (int run = 1; run <= runs.count; ++run) {
        plan = choose(runs);
        looks = 0;
        closing = false;
        uploadCompleted = false;
        current = nullptr;
        dialogsAtOnce = 0;
        if (plan.fault) {
            sim.unit().addFault(*plan.fault);
        }
        if (plan.trouble == Trouble::QuietReboot) {
            sim.unit().setRebootQuietly(true);
        }
        if (plan.trouble == Trouble::ConnectHangs) {
            ASSERT_TRUE(window->unitLink().stop(5000));
            setConnector(
                [hangs = 1 + int(runs.below(3))](net::SocketHandle s, quint32 address, quint16 port,
                                                 const std::function<bool()>& cancelled) mutable {
                    if (hangs-- > 0) {
                        while (!cancelled()) {
                            QThread::msleep(5);
                        }
                        return false;
                    }
                    return net::connectSocket(s, address, port, cancelled);
                });
        }
        const QByteArray what = describe(plan).toLocal8Bit();
        runs.say("run %d: %s", run, what.constData());
        SCOPED_TRACE("run " + std::to_string(run));
        runActivity();
        testenv::pump();
        check();
        recover();
        if (HasFailure()) {
            runs.say("run %d failed: %s", run, what.constData());
            return;
        }
    }
    runs.say("%d runs in %.1f s", runs.count, runs.clock.elapsed() / 1000.0);
}

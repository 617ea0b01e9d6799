// Uploads from the Firmware page as the user makes them, against the simulated unit, the pacing
// ticks driven by the test: what the page shows while an upload runs and after, the boxes, the
// link kept from other commands, the part numbers read again on a new connection, the erase
// after a configuration table, the exit after main software, and the uploads refused before
// anything is sent. The packets themselves and what follows which upload are the core's.
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

#include "link/CommandTable.h"
#include "maintenance/ui/BRIXEraseProgress.h"
#include "maintenance/ui/MaintenanceEvents.h"
#include "tests/app/MainWindowFixture.h"
#include "toolkit/KeyCodes.h"

using namespace tolm;
using quorsim::Fault;
using quorsim::FaultKind;
using Words = std::vector<quint32>;

namespace {

class FirmwareUpload : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        dataDir = testenv::freshDirectory(QStringLiteral("upload-data"));
        QSettings().setValue(QStringLiteral("DataDir"), dataDir);
        sim.unit().setRebootAfterUpload(true);
        // The user at the keyboard: F5 in the erase dialog once it has finished.
        QObject::connect(&user, &QTimer::timeout, [this] {
            auto* erase = qobject_cast<BRIXEraseProgress*>(zafWindowManager()->Front());
            if (erase && erase->Finished() && eraseLines.isEmpty()) {
                for (int e = 0; e < 2; ++e) {
                    for (int kind = 0; kind < 3; ++kind) {
                        eraseLines << erase->StepText(e, kind);
                    }
                }
                zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, erase));
            }
        });
        user.start(5);
    }
    void TearDown() override {
        user.stop();
        MainWindowFixture::TearDown();
    }

    void openFirmwarePage() {
        open({QStringLiteral("-l1"), QStringLiteral("-pvrkzt")});
        ASSERT_TRUE(window->EstablishUnitLink());
        toMainMenu();
        press(VK::F9);
        ASSERT_EQ(pageName(), QStringLiteral("Utilities"));
        onPage("UTILITIES_NOTEBOOK").as<QTabWidget>()->setCurrentIndex(2);
    }
    // An image file in the data directory's "SW_uploads", its words in lines of five.
    QString writeImage(const QString& name, const Words& words) {
        const QString path = dataDir + QStringLiteral("/SW_uploads/") + name;
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        for (std::size_t i = 0; i < words.size(); ++i) {
            file.write(QByteArray::number(words[i], 16).rightJustified(8, '0') +
                       (i % 5 == 4 ? "\r\n" : " "));
        }
        return path;
    }
    static Words image(std::size_t words) {
        Words w(words);
        for (std::size_t i = 0; i < words; ++i) {
            w[i] = 0x9E3779B9u * quint32(i + 1);
        }
        return w;
    }
    void click(const char* button) {
        auto* b = onPage(button).as<QAbstractButton>();
        ASSERT_NE(b, nullptr) << button;
        b->click();
        testenv::pump();
    }
    void chooseFile(const char* button, const QString& path) {
        dialogs.openFileAnswers.push_back(path);
        click(button);
    }
    BRIXFirmwareUpload& firmware() { return window->UtilitiesPage().Firmware(); }
    // Starts an upload with its button and takes its pacing over from the timer.
    void start(const char* button) {
        click(button);
        if (ZafTimer* timer = firmware().Timer()) {
            timer->Stop();
        }
    }
    // Pacing ticks, each once the link has reported on the packet in flight, until the upload
    // has ended; then what follows it runs.
    void tickToTheEnd() {
        for (int i = 0; i < 20 && firmware().Upload() && !firmware().Upload()->isFinished(); ++i) {
            WaitForCommand(window->unitLink().context(), 5000);
            tickOnce();
        }
        ASSERT_TRUE(firmware().Upload()->isFinished());
        testenv::pump();
    }
    void tickOnce() {
        window->Event(ZafEventStruct(MaintenanceEvent::UploadTick, nullptr, window));
    }
    std::vector<quint32> codes() {
        std::vector<quint32> sent;
        for (const auto& c : sim.unit().commands()) {
            sent.push_back(c.code);
        }
        return sent;
    }

    QString dataDir;
    QTimer user;
    QStringList eraseLines;
};

const std::vector<quint32> kThreePackets(3, CMD_UPLOAD_DSP_SOFTWARE);

}  // namespace

TEST_F(FirmwareUpload, ADspUploadShowsItsProgressKeepsTheLinkAndShowsThePartNumbersReadAgain) {
    quorsim::PartNumbers rebooted = quorsim::PartNumbers::compatible();
    rebooted.dsp = "731-403-000-4B";
    sim.unit().setPartNumbersAfterReboot(rebooted);
    sim.unit().addFault(Fault{FaultKind::SlowAnswer, CMD_UPLOAD_DSP_SOFTWARE, 600, 1, 2});
    const Words words = image(2 * 1280 + 7);
    openFirmwarePage();
    chooseFile("DspProcessors~SoftwareUpdate~UpdateButton",
               writeImage(QStringLiteral("731_403_B.dat"), words));
    EXPECT_EQ(firmware().FileDialog(UploadKind::DspSoftware).Filter(),
              QStringLiteral("731_403_*.dat"));
    EXPECT_EQ(QDir::fromNativeSeparators(
                  firmware().FileDialog(UploadKind::DspSoftware).InitialDirectory()),
              dataDir + QStringLiteral("/SW_uploads"));
    EXPECT_EQ(onPage("DspProcessors~SoftwareUpdate~UpdateFile").Text(),
              QStringLiteral("731_403_B.dat"));
    EXPECT_EQ(onPage("DspProcessors~SoftwareStatus~Status").Text(),
              QStringLiteral("Ready for Upload"));

    start("DspProcessors~UpdateSwButton");
    EXPECT_EQ(onPage("DspProcessors~SoftwareStatus~Status").Text(),
              QStringLiteral("Upload in Progress..."));
    EXPECT_EQ(onPage("P_UPLOAD_PROGRESS").Text(), QStringLiteral("Uploading packet 1 of 3"));
    EXPECT_TRUE(onPage("DspProcessors~UpdateSwButton").Disabled());
    EXPECT_TRUE(onPage("DspProcessors~UpdateCfgButton").Disabled());
    // A second start meanwhile is refused without a word.
    firmware().Start(UploadKind::ConfigTable);
    EXPECT_TRUE(dialogs.messages.empty());

    // The page may be left and opened again; the upload goes on, and other work on the unit
    // waits for it.
    press(VK::Escape);
    press(VK::F7);  // Clear Memory
    press(VK::F5);  // Download, whose part-number query would withdraw the packet in flight
    const ShownMessage busy{MessageKind::Warning, " TOLM for QUOR ",
                            "A software upload is in progress. Please wait until it has finished."};
    EXPECT_EQ(dialogs.messages, (Boxes{busy, busy}));
    EXPECT_EQ(codes(), (std::vector<quint32>{CMD_GET_PART_NUMBERS, CMD_UPLOAD_DSP_SOFTWARE}));
    dialogs.clear();
    WaitForCommand(window->unitLink().context(), 5000);
    tickOnce();
    press(VK::F9);
    EXPECT_EQ(onPage("P_UPLOAD_PROGRESS").Text(), QStringLiteral("Uploading packet 2 of 3"));
    EXPECT_TRUE(onPage("DspProcessors~UpdateSwButton").Disabled());

    // The last answer is slow: the notice shows until it comes.
    WaitForCommand(window->unitLink().context(), 5000);
    tickOnce();
    tickOnce();
    EXPECT_EQ(dialogs.waitNoticesShown, 1);
    EXPECT_EQ(dialogs.waitNoticeTexts,
              QStringList{"Upload complete. Reinitializing unit. Please wait..."});
    tickToTheEnd();
    EXPECT_EQ(dialogs.waitNoticesShown, 0);

    // The unit rebooted; the query on the dead connection went unanswered and was asked again
    // on a new one.
    EXPECT_EQ(sim.unit().reboots(), 1);
    EXPECT_EQ(sim.connectionsAccepted(), 2);
    std::vector<quint32> sent{CMD_GET_PART_NUMBERS};
    sent.insert(sent.end(), kThreePackets.begin(), kThreePackets.end());
    sent.insert(sent.end(), {CMD_GET_PART_NUMBERS, CMD_GET_PART_NUMBERS});
    EXPECT_EQ(codes(), sent);
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Information, "Firmware Upload", "Upload Completed!"}}));
    EXPECT_EQ(onPage("P_UPLOAD_PROGRESS").Text(), QStringLiteral("Upload Completed!"));
    EXPECT_EQ(onPage("DspProcessors~SoftwareStatus~Status").Text(),
              QStringLiteral("Upload Completed!"));
    EXPECT_EQ(onPage("DspProcessors~SoftwarePN~PN").Text(), QStringLiteral("  731-403-000-4B"));
    EXPECT_EQ(field("STATUS"), QStringLiteral("Communication OK!"));
    EXPECT_FALSE(onPage("DspProcessors~UpdateSwButton").Disabled());
    EXPECT_TRUE(window);
}

// Exit while the packets go out: the pacing tick hands no window command out, so the exit is
// handled afterwards by the main loop, where it is refused with a box; the upload goes on and
// nothing it uses is freed under it.
TEST_F(FirmwareUpload, ExitDuringAnUploadIsRefusedAndTheUploadGoesOn) {
    openFirmwarePage();
    chooseFile("DspProcessors~SoftwareUpdate~UpdateButton",
               writeImage(QStringLiteral("731_403_E.dat"), image(3 * 1280)));
    start("DspProcessors~UpdateSwButton");
    WaitForCommand(window->unitLink().context(), 5000);
    zafEventManager()->Put(ZafEventStruct(S_CLOSE, nullptr, window));  // File > Exit
    tickOnce();
    ASSERT_TRUE(window);
    EXPECT_EQ(onPage("P_UPLOAD_PROGRESS").Text(), QStringLiteral("Uploading packet 2 of 3"));
    testenv::pump();
    ASSERT_TRUE(window);
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Warning, " TOLM for QUOR ",
                      "A software upload is in progress. Please wait until it has finished."}}));
    dialogs.clear();
    tickToTheEnd();
    EXPECT_EQ(onPage("P_UPLOAD_PROGRESS").Text(), QStringLiteral("Upload Completed!"));
    press(VK::Escape);  // back to the main menu; the upload is over, so Esc there exits
    press(VK::Escape);
    EXPECT_FALSE(window);
}

// A configuration table is sent only after Yes. After it the unit reinitialises and goes quiet
// on the old connection without closing it: the part-number query times out, the link is set
// up again once, the new part numbers are read, and only then is every memory erased.
TEST_F(FirmwareUpload, AConfigurationTableAfterYesIsFollowedByItsPartNumbersAndTheErase) {
    quorsim::PartNumbers rebooted = quorsim::PartNumbers::compatible();
    rebooted.config = "731-406-000-4C";
    sim.unit().setPartNumbersAfterReboot(rebooted);
    sim.unit().setRebootQuietly(true);
    openFirmwarePage();
    window->unitLink().setPartNumberWaitMs(500);
    chooseFile("DspProcessors~ConfigurationUpdate~UpdateButton",
               writeImage(QStringLiteral("731_406_Q.dat"), image(100)));
    EXPECT_EQ(firmware().FileDialog(UploadKind::ConfigTable).Filter(),
              QStringLiteral("731_406_*.dat"));
    const Boxes question{{MessageKind::Warning, " TOLM for QUOR ",
                          "The QUOR memory will be erased.\n\nDo you want to continue?"}};
    dialogs.questionAnswers = {QMessageBox::No};
    start("DspProcessors~UpdateCfgButton");
    EXPECT_EQ(dialogs.messages, question);
    EXPECT_EQ(codes(), std::vector<quint32>{CMD_GET_PART_NUMBERS});
    EXPECT_EQ(firmware().Upload(), nullptr);

    dialogs.clear();
    dialogs.questionAnswers = {QMessageBox::Yes};
    start("DspProcessors~UpdateCfgButton");
    tickToTheEnd();
    EXPECT_EQ(dialogs.messages, question);  // no box at the end: the erase dialog follows
    EXPECT_EQ(onPage("DspProcessors~ConfigurationPN~PN").Text(),
              QStringLiteral("  731-406-000-4C"));
    EXPECT_EQ(onPage("DspProcessors~ConfigurationStatus~Status").Text(),
              QStringLiteral("Upload Completed!"));
    EXPECT_EQ(field("STATUS"), QStringLiteral("Communication OK!"));
    EXPECT_EQ(eraseLines, QStringList({"Erase Bearing Data................Completed",
                                       "Erase Bearing Defect History......Completed",
                                       "Erase Accel Line Defect History...Completed",
                                       "Erase Bearing Data................Completed",
                                       "Erase Bearing Defect History......Completed",
                                       "Erase Accel Line Defect History...Completed"}));
    EXPECT_EQ(sim.connectionsAccepted(), 2);
    EXPECT_EQ(codes(),
              (std::vector<quint32>{
                  CMD_GET_PART_NUMBERS, CMD_UPLOAD_CONFIG_TABLE, CMD_GET_PART_NUMBERS,
                  CMD_GET_PART_NUMBERS, CMD_ERASE_BEARING_DATA, CMD_ERASE_BEARING_DEFECT_HISTORY,
                  CMD_ERASE_ACCEL_DEFECT_HISTORY, CMD_ERASE_BEARING_DATA,
                  CMD_ERASE_BEARING_DEFECT_HISTORY, CMD_ERASE_ACCEL_DEFECT_HISTORY}));
}

TEST_F(FirmwareUpload, MainSoftwareInMainUploadModeEndsTheProgramAfterItsBox) {
    sim.unit().setPartNumbers(quorsim::PartNumbers::mainUploadMode());
    openFirmwarePage();
    EXPECT_TRUE(onPage("DspProcessors").Disabled());
    chooseFile("MainProcessor~SoftwareUpdate~UpdateButton",
               writeImage(QStringLiteral("731_402_M.dat"), image(1500)));
    EXPECT_EQ(firmware().FileDialog(UploadKind::MainSoftware).Filter(),
              QStringLiteral("731_402_*.dat"));
    start("MainProcessor~UpdateSwButton");
    tickToTheEnd();
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Information, "Firmware Upload",
                      "Upload completed!\nPlease unplug the cable and restart the box to "
                      "synchronize the QUOR and the SELK board.\nThe TOLM will exit."}}));
    EXPECT_FALSE(window);
    // Nothing else was sent; the unit, restarted, runs its full software.
    EXPECT_EQ(codes(), (std::vector<quint32>{CMD_GET_PART_NUMBERS, CMD_UPLOAD_MAIN_SOFTWARE,
                                             CMD_UPLOAD_MAIN_SOFTWARE}));
    ASSERT_TRUE(sim.waitForConnections(1, 1000));
    for (int i = 0; i < 500 && sim.unit().reboots() == 0; ++i) {
        QThread::msleep(2);
    }
    EXPECT_EQ(sim.unit().reboots(), 1);
}

// The unit refuses packet 2 of 3: the upload says so, nothing more is sent and nothing follows:
// no exit after main software.
TEST_F(FirmwareUpload, ARefusedPacketIsReportedAndNothingFollows) {
    sim.unit().setPartNumbers(quorsim::PartNumbers::mainUploadMode());
    sim.unit().addFault(Fault{FaultKind::Ack, CMD_UPLOAD_MAIN_SOFTWARE, 5, 1, 1});
    openFirmwarePage();
    chooseFile("MainProcessor~SoftwareUpdate~UpdateButton",
               writeImage(QStringLiteral("731_402_M.dat"), image(3 * 1280)));
    start("MainProcessor~UpdateSwButton");
    tickToTheEnd();
    for (int i = 0; i < 3; ++i) {
        tickOnce();
    }
    testenv::pump();
    EXPECT_EQ(
        dialogs.messages,
        (Boxes{{MessageKind::Critical, "Firmware Upload", "Upload failed at packet 2 of 3"}}));
    ASSERT_TRUE(window);
    EXPECT_EQ(onPage("P_UPLOAD_PROGRESS").Text(), QStringLiteral("Upload failed"));
    const auto* gauge = onPage("UPLOAD_PROGRESS").as<QProgressBar>();
    EXPECT_EQ(std::pair(gauge->value(), gauge->maximum()), std::pair(1, 3));  // the packets taken
    EXPECT_EQ(onPage("MainProcessor~SoftwareStatus~Status").Text(),
              QStringLiteral("Upload failed"));
    EXPECT_EQ(codes(), (std::vector<quint32>{CMD_GET_PART_NUMBERS, CMD_UPLOAD_MAIN_SOFTWARE,
                                             CMD_UPLOAD_MAIN_SOFTWARE}));
    EXPECT_EQ(sim.unit().reboots(), 0);
    EXPECT_FALSE(onPage("MainProcessor~UpdateSwButton").Disabled());
}

TEST_F(FirmwareUpload, NoFileAnEmptyFileAndAMissingFileAreRefusedBeforeAnythingIsSent) {
    openFirmwarePage();
    start("DspProcessors~UpdateSwButton");
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Warning, "Upload Error", "No upload file selected"}}));

    dialogs.clear();
    chooseFile("DspProcessors~SoftwareUpdate~UpdateButton",
               writeImage(QStringLiteral("731_403_E.dat"), {}));
    start("DspProcessors~UpdateSwButton");
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Warning, "Upload Error", "Upload file holds no data"}}));

    dialogs.clear();
    QFile::remove(dataDir + QStringLiteral("/SW_uploads/731_403_E.dat"));
    start("DspProcessors~UpdateSwButton");
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Critical, "File Open Error", "File Open Error"}}));
    EXPECT_EQ(onPage("P_UPLOAD_PROGRESS").Text(),
              QStringLiteral("Upload failed - file open error"));
    EXPECT_EQ(codes(), std::vector<quint32>{CMD_GET_PART_NUMBERS});
    EXPECT_FALSE(onPage("DspProcessors~UpdateSwButton").Disabled());
    // A cancelled file dialog keeps the file chosen before.
    click("DspProcessors~SoftwareUpdate~UpdateButton");
    EXPECT_EQ(onPage("DspProcessors~SoftwareUpdate~UpdateFile").Text(),
              QStringLiteral("731_403_E.dat"));
}

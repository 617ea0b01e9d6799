// Uploads from the Firmware page against the simulated unit, paced by the test: what the page and
// its boxes show, what follows each upload, the refusals. The packets are the core's.
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QTabWidget>
#include <QThread>

#include "link/CommandTable.h"
#include "maintenance/ui/BRIXEraseProgress.h"
#include "maintenance/ui/MaintenanceEvents.h"
#include "tests/app/MainWindowFixture.h"
#include "toolkit/KeyCodes.h"

using namespace tolm;
using enum MessageKind;
using quorsim::Fault;
using quorsim::FaultKind;
using Codes = std::vector<quint32>;

namespace {

class FirmwareUpload : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        dataDir = testenv::freshDirectory(QStringLiteral("upload-data"));
        QSettings().setValue("DataDir", dataDir);
        sim.unit().setRebootAfterUpload(true);
        userStep = [this] {
            auto* erase = qobject_cast<BRIXEraseProgress*>(zafWindowManager()->Front());
            if (erase && erase->Finished() && eraseLines.isEmpty()) {
                for (int e = 0; e < 2; ++e) {
                    for (int kind = 0; kind < 3; ++kind) {
                        eraseLines << erase->StepText(e, kind);
                    }
                }
                zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, erase));
            }
        };
    }

    void openFirmwarePage() {
        openAsAdministrator();
        ASSERT_TRUE(window->EstablishUnitLink());
        press(VK::F9);
        ASSERT_EQ(pageName(), QStringLiteral("Utilities"));
        onPage("UTILITIES_NOTEBOOK").as<QTabWidget>()->setCurrentIndex(2);
    }
    // Chooses with `button` an image of `words` words, in lines of five, in "SW_uploads".
    void chooseImage(const char* button, const QString& name, std::size_t words) {
        QFile file(dataDir + QStringLiteral("/SW_uploads/") + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (std::size_t i = 0; i < words; ++i) {
            const quint32 word = 0x9E3779B9u * quint32(i + 1);
            file.write(QByteArray::number(word, 16).rightJustified(8, '0') +
                       (i % 5 == 4 ? "\r\n" : " "));
        }
        file.close();
        dialogs.openFileAnswers.push_back(file.fileName());
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
    // Pacing ticks until the upload has ended, each once the packet in flight was answered.
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
    Codes codes() {
        Codes sent;
        for (const auto& c : sim.unit().commands()) {
            sent.push_back(c.code);
        }
        return sent;
    }
    QString text(const char* id) const { return onPage(id).Text(); }

    QString dataDir;
    QStringList eraseLines;
};

const ShownMessage kBusy{Warning, " TOLM for QUOR ",
                         "A software upload is in progress. Please wait until it has finished."};

}  // namespace

TEST_F(FirmwareUpload, ADspUploadThenAConfigurationTableEachFollowedByThePartNumbersReadAgain) {
    quorsim::PartNumbers rebooted = quorsim::PartNumbers::compatible();
    rebooted.dsp = "731-403-000-4B";
    sim.unit().setPartNumbersAfterReboot(rebooted);
    sim.unit().addFault(Fault{FaultKind::SlowAnswer, CMD_UPLOAD_DSP_SOFTWARE, 600, 1, 2});
    openFirmwarePage();
    chooseImage("DspProcessors~SoftwareUpdate~UpdateButton", "731_403_B.dat", 2 * 1280 + 7);
    const ZafFileDialog& fileDialog = firmware().FileDialog(UploadKind::DspSoftware);
    EXPECT_EQ(fileDialog.Filter(), "731_403_*.dat");
    EXPECT_EQ(QDir::fromNativeSeparators(fileDialog.InitialDirectory()), dataDir + "/SW_uploads");
    EXPECT_EQ(text("DspProcessors~SoftwareUpdate~UpdateFile"), "731_403_B.dat");
    EXPECT_EQ(text("DspProcessors~SoftwareStatus~Status"), "Ready for Upload");

    start("DspProcessors~UpdateSwButton");
    EXPECT_EQ(text("DspProcessors~SoftwareStatus~Status"), "Upload in Progress...");
    EXPECT_EQ(text("P_UPLOAD_PROGRESS"), "Uploading packet 1 of 3");
    EXPECT_TRUE(onPage("DspProcessors~UpdateSwButton").Disabled());
    EXPECT_TRUE(onPage("DspProcessors~UpdateCfgButton").Disabled());
    // A second start meanwhile is refused without a word.
    firmware().Start(UploadKind::ConfigTable);
    EXPECT_TRUE(dialogs.messages.empty());

    // Leaving the page keeps the upload going; other work on the unit waits for it.
    press(VK::Escape);
    press(VK::F7);  // Clear Memory
    press(VK::F5);  // Download, whose part-number query would withdraw the packet in flight
    EXPECT_EQ(dialogs.messages, (Boxes{kBusy, kBusy}));
    EXPECT_EQ(codes(), (Codes{CMD_GET_PART_NUMBERS, CMD_UPLOAD_DSP_SOFTWARE}));
    dialogs.clear();
    WaitForCommand(window->unitLink().context(), 5000);
    tickOnce();
    press(VK::F9);
    EXPECT_EQ(text("P_UPLOAD_PROGRESS"), "Uploading packet 2 of 3");
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

    // The unit rebooted: the query unanswered on the dead connection is asked again on a new one.
    EXPECT_EQ(sim.unit().reboots(), 1);
    EXPECT_EQ(sim.connectionsAccepted(), 2);
    EXPECT_EQ(codes(),
              (Codes{CMD_GET_PART_NUMBERS, CMD_UPLOAD_DSP_SOFTWARE, CMD_UPLOAD_DSP_SOFTWARE,
                     CMD_UPLOAD_DSP_SOFTWARE, CMD_GET_PART_NUMBERS, CMD_GET_PART_NUMBERS}));
    EXPECT_EQ(dialogs.messages, (Boxes{{Information, "Firmware Upload", "Upload Completed!"}}));
    EXPECT_EQ(text("P_UPLOAD_PROGRESS"), "Upload Completed!");
    EXPECT_EQ(text("DspProcessors~SoftwareStatus~Status"), "Upload Completed!");
    EXPECT_EQ(text("DspProcessors~SoftwarePN~PN"), "  731-403-000-4B");
    EXPECT_EQ(field("STATUS"), "Communication OK!");
    EXPECT_FALSE(onPage("DspProcessors~UpdateSwButton").Disabled());
    EXPECT_TRUE(window);

    // A configuration table is sent only after Yes. After it the unit reinitialises and goes
    // quiet on the old connection without closing it: the part-number query times out, the link
    // is set up again once, the new part numbers are read, and only then is every memory erased.
    rebooted.config = "731-406-000-4C";
    sim.unit().setPartNumbersAfterReboot(rebooted);
    sim.unit().setRebootQuietly(true);
    sim.unit().clearCommands();
    dialogs.clear();
    window->unitLink().setPartNumberWaitMs(500);
    chooseImage("DspProcessors~ConfigurationUpdate~UpdateButton", "731_406_Q.dat", 100);
    EXPECT_EQ(firmware().FileDialog(UploadKind::ConfigTable).Filter(), "731_406_*.dat");
    const Boxes question{{Warning, " TOLM for QUOR ",
                          "The QUOR memory will be erased.\n\nDo you want to continue?"}};
    dialogs.questionAnswers = {QMessageBox::No};
    const UploadSequence* dspUpload = firmware().Upload();
    start("DspProcessors~UpdateCfgButton");
    EXPECT_EQ(dialogs.messages, question);
    EXPECT_TRUE(codes().empty());
    EXPECT_EQ(firmware().Upload(), dspUpload);  // no new upload

    dialogs.clear();
    dialogs.questionAnswers = {QMessageBox::Yes};
    start("DspProcessors~UpdateCfgButton");
    tickToTheEnd();
    EXPECT_EQ(dialogs.messages, question);  // no box at the end: the erase dialog follows
    EXPECT_EQ(text("DspProcessors~ConfigurationPN~PN"), "  731-406-000-4C");
    EXPECT_EQ(text("DspProcessors~ConfigurationStatus~Status"), "Upload Completed!");
    EXPECT_EQ(field("STATUS"), "Communication OK!");
    const QStringList erased{"Erase Bearing Data................Completed",
                             "Erase Bearing Defect History......Completed",
                             "Erase Accel Line Defect History...Completed"};
    EXPECT_EQ(eraseLines, erased + erased);
    EXPECT_EQ(sim.connectionsAccepted(), 3);
    EXPECT_EQ(codes(), (Codes{CMD_UPLOAD_CONFIG_TABLE, CMD_GET_PART_NUMBERS, CMD_GET_PART_NUMBERS,
                              CMD_ERASE_BEARING_DATA, CMD_ERASE_BEARING_DEFECT_HISTORY,
                              CMD_ERASE_ACCEL_DEFECT_HISTORY, CMD_ERASE_BEARING_DATA,
                              CMD_ERASE_BEARING_DEFECT_HISTORY, CMD_ERASE_ACCEL_DEFECT_HISTORY}));
}

TEST_F(FirmwareUpload, UploadsWithoutDataAreRefusedAndAnExitDuringAnUploadIsRefused) {
    openFirmwarePage();
    start("DspProcessors~UpdateSwButton");
    EXPECT_EQ(dialogs.messages, (Boxes{{Warning, "Upload Error", "No upload file selected"}}));

    dialogs.clear();
    chooseImage("DspProcessors~SoftwareUpdate~UpdateButton", "731_403_E.dat", 0);
    start("DspProcessors~UpdateSwButton");
    EXPECT_EQ(dialogs.messages, (Boxes{{Warning, "Upload Error", "Upload file holds no data"}}));

    dialogs.clear();
    QFile::remove(dataDir + "/SW_uploads/731_403_E.dat");
    start("DspProcessors~UpdateSwButton");
    EXPECT_EQ(dialogs.messages, (Boxes{{Critical, "File Open Error", "File Open Error"}}));
    EXPECT_EQ(text("P_UPLOAD_PROGRESS"), "Upload failed - file open error");
    EXPECT_EQ(codes(), Codes{CMD_GET_PART_NUMBERS});
    EXPECT_FALSE(onPage("DspProcessors~UpdateSwButton").Disabled());
    // A cancelled file dialog keeps the file chosen before.
    click("DspProcessors~SoftwareUpdate~UpdateButton");
    EXPECT_EQ(text("DspProcessors~SoftwareUpdate~UpdateFile"), "731_403_E.dat");

    // Exit while the packets go out is handled after the pacing tick, by the main loop, and
    // refused with a box; the upload goes on and nothing it uses is freed under it.
    dialogs.clear();
    chooseImage("DspProcessors~SoftwareUpdate~UpdateButton", "731_403_E.dat", 3 * 1280);
    start("DspProcessors~UpdateSwButton");
    WaitForCommand(window->unitLink().context(), 5000);
    zafEventManager()->Put(ZafEventStruct(S_CLOSE, nullptr, window));  // File > Exit
    tickOnce();
    ASSERT_TRUE(window);
    EXPECT_EQ(text("P_UPLOAD_PROGRESS"), "Uploading packet 2 of 3");
    testenv::pump();
    ASSERT_TRUE(window);
    EXPECT_EQ(dialogs.messages, Boxes{kBusy});
    dialogs.clear();
    tickToTheEnd();
    EXPECT_EQ(text("P_UPLOAD_PROGRESS"), "Upload Completed!");
    press(VK::Escape);  // back to the main menu; the upload is over, so Esc there exits
    press(VK::Escape);
    EXPECT_FALSE(window);
}

// In main upload mode. The unit refuses packet 2 of 3: the upload says so, nothing more is sent
// and nothing follows. A whole upload of main software ends the program after its box.
TEST_F(FirmwareUpload, ARefusedPacketIsReportedAndNothingFollowsAWholeOneEndsTheProgram) {
    sim.unit().setPartNumbers(quorsim::PartNumbers::mainUploadMode());
    sim.unit().addFault(Fault{FaultKind::Ack, CMD_UPLOAD_MAIN_SOFTWARE, 5, 1, 1});
    openFirmwarePage();
    EXPECT_TRUE(onPage("DspProcessors").Disabled());
    chooseImage("MainProcessor~SoftwareUpdate~UpdateButton", "731_402_M.dat", 3 * 1280);
    start("MainProcessor~UpdateSwButton");
    tickToTheEnd();
    for (int i = 0; i < 3; ++i) {
        tickOnce();
    }
    testenv::pump();
    EXPECT_EQ(dialogs.messages,
              (Boxes{{Critical, "Firmware Upload", "Upload failed at packet 2 of 3"}}));
    ASSERT_TRUE(window);
    EXPECT_EQ(text("P_UPLOAD_PROGRESS"), "Upload failed");
    const auto* gauge = onPage("UPLOAD_PROGRESS").as<QProgressBar>();
    EXPECT_EQ(std::pair(gauge->value(), gauge->maximum()), std::pair(1, 3));  // the packets taken
    EXPECT_EQ(text("MainProcessor~SoftwareStatus~Status"), "Upload failed");
    EXPECT_EQ(codes(),
              (Codes{CMD_GET_PART_NUMBERS, CMD_UPLOAD_MAIN_SOFTWARE, CMD_UPLOAD_MAIN_SOFTWARE}));
    EXPECT_EQ(sim.unit().reboots(), 0);
    EXPECT_FALSE(onPage("MainProcessor~UpdateSwButton").Disabled());

    dialogs.clear();
    chooseImage("MainProcessor~SoftwareUpdate~UpdateButton", "731_402_M.dat", 1500);
    EXPECT_EQ(firmware().FileDialog(UploadKind::MainSoftware).Filter(), "731_402_*.dat");
    start("MainProcessor~UpdateSwButton");
    tickToTheEnd();
    EXPECT_EQ(dialogs.messages,
              (Boxes{{Information, "Firmware Upload",
                      "Upload completed!\nPlease unplug the cable and restart the box to "
                      "synchronize the QUOR and the SELK board.\nThe TOLM will exit."}}));
    EXPECT_FALSE(window);
    // Nothing else was sent; the unit, restarted, runs its full software.
    EXPECT_EQ(codes(),
              (Codes{CMD_GET_PART_NUMBERS, CMD_UPLOAD_MAIN_SOFTWARE, CMD_UPLOAD_MAIN_SOFTWARE,
                     CMD_UPLOAD_MAIN_SOFTWARE, CMD_UPLOAD_MAIN_SOFTWARE}));
    ASSERT_TRUE(sim.waitForConnections(1, 1000));
    for (int i = 0; i < 500 && sim.unit().reboots() == 0; ++i) {
        QThread::msleep(2);
    }
    EXPECT_EQ(sim.unit().reboots(), 1);
}

// The Clear Memory and Utilities pages in the main window, and uploads from the Firmware page
// paced by the test, against the simulated unit: what the pages and their boxes show, what
// follows each upload, the refusals. The packets are the core's.
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QTabWidget>
#include <QThread>
#include <utility>

#include "link/CommandTable.h"
#include "link/Connection.h"
#include "maintenance/ui/BRIXEraseProgress.h"
#include "maintenance/ui/MaintenanceEvents.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/register/AircraftStore.h"
#include "toolkit/KeyCodes.h"

using namespace tolm;
using enum MessageKind;
using quorsim::Fault;
using quorsim::FaultKind;
using Codes = std::vector<quint32>;
using Commands = std::vector<std::pair<quint32, quint32>>;

namespace {

class MaintenancePages : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        dataDir = testenv::freshDirectory(QStringLiteral("upload-data"));
        QSettings().setValue("DataDir", dataDir);
        sim.unit().setRebootAfterUpload(true);
        // F5 closes each erase dialog once it has finished; its lines are kept.
        userStep = [this] {
            auto* erase = qobject_cast<BRIXEraseProgress*>(zafWindowManager()->Front());
            if (erase && erase->Finished() && erase != closedErase) {
                closedErase = erase;
                ++erasesClosed;
                for (int e = 0; e < 2; ++e) {
                    for (int kind = 0; kind < 3; ++kind) {
                        eraseLines << erase->StepText(e, kind);
                    }
                }
                zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, erase));
            }
        };
    }
    void TearDown() override {
        setConnector({});
        MainWindowFixture::TearDown();
    }
    // The next set-up's first connect attempt fails, so that it connects a second later.
    static void failFirstConnect() {
        setConnector([failed = false](net::SocketHandle s, quint32 address, quint16 port,
                                      const std::function<bool()>& cancelled) mutable {
            if (!std::exchange(failed, true)) {
                return false;
            }
            return net::connectSocket(s, address, port, cancelled);
        });
    }

    void openUtilities() {
        press(VK::F9);
        ASSERT_EQ(pageName(), "Utilities");
    }
    QTabWidget* notebook() const { return onPage("UTILITIES_NOTEBOOK").as<QTabWidget>(); }
    Commands commandsSent() {
        Commands sent;
        for (const auto& c : sim.unit().commands()) {
            sent.emplace_back(c.code, c.payload.empty() ? 0 : c.payload[0]);
        }
        return sent;
    }
    void openFirmwarePage() {
        openAsAdministrator();
        ASSERT_TRUE(window->EstablishUnitLink());
        openUtilities();
        notebook()->setCurrentIndex(2);
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

    int erasesClosed = 0;
    QPointer<BRIXEraseProgress> closedErase;
    QString dataDir;
    QStringList eraseLines;
};

const ShownMessage kBusy{Warning, " TOLM for QUOR ",
                         "A software upload is in progress. Please wait until it has finished."};

// The shown controls in `top` smaller than they need or reaching out of their parent, as text.
QStringList squeezedControls(QWidget* top) {
    QStringList found;
    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(top) || w->objectName().isEmpty() ||
            w->objectName().startsWith(QLatin1String("qt_"))) {
            continue;  // hidden, or a part of a Qt widget
        }
        const QSize least = w->minimumSizeHint();
        const bool small = w->height() < least.height() || w->width() < least.width();
        const QWidget* around = w->parentWidget();
        const bool out = around && around != top && !around->rect().contains(w->geometry());
        if (small || out) {
            found << QStringLiteral("%1 %2 %3x%4")
                         .arg(QLatin1String(w->metaObject()->className()), w->objectName(),
                              QString::number(w->width()), QString::number(w->height()));
        }
    }
    return found;
}

}  // namespace

// F7 and Continue pressed while the start-up set-up waits for the unit run once it is up: the
// set-up is not broken by an erase handed to a thread that is still connecting.
TEST_F(MaintenancePages, KeysDuringTheStartUpSetUpRunAfterItAndClearMemoryErasesTheTicked) {
    QSettings().setValue("ConnectTimeout", 2);
    failFirstConnect();
    open();
    toMainMenu();
    putWhileWaiting({ZafEventStruct::rawKeyDown(VK::F7, window),
                     ZafEventStruct(MaintenanceEvent::EraseProgress, nullptr, window)});
    ASSERT_TRUE(window->EstablishUnitLink());
    ASSERT_TRUE(putMeanwhile);
    EXPECT_EQ(field("STATUS"), "Communication OK!");
    EXPECT_EQ(pageName(), "MenuWindow");
    testenv::pump();
    EXPECT_EQ(pageName(), "ClearData");
    EXPECT_EQ(erasesClosed, 1);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(commandsSent(), (Commands{{CMD_GET_PART_NUMBERS, 0}}));

    // Clear Memory erases the ticked stores and keeps the page.
    EXPECT_EQ(window->windowTitle(), " TOLM for QUOR  - Clear Memory");
    EXPECT_EQ(window->HelpContext(), "HelpClearData");
    EXPECT_TRUE(onPage("TextArea").Text().startsWith("For each engine"));
    EXPECT_FALSE(aircraftMenuEnabled());

    onPage("G_ENGINE1").Child(2).SetSelected(true);  // engine 1's accel line defect history
    onPage("G_ENGINE2").Child(0).SetSelected(true);  // engine 2's bearing data
    press(VK::F5);  // the erase dialog's lines and outcomes are its own tests'
    EXPECT_EQ(erasesClosed, 2);
    EXPECT_EQ(commandsSent(), (Commands{{CMD_GET_PART_NUMBERS, 0},
                                        {CMD_ERASE_ACCEL_DEFECT_HISTORY, 1},
                                        {CMD_ERASE_BEARING_DATA, 2}}));
    EXPECT_EQ(pageName(), "ClearData");
    EXPECT_TRUE(dialogs.messages.empty());

    // Cancel and F8 lead back to the main menu without erasing anything more.
    click("B_CANCEL");
    EXPECT_EQ(pageName(), "MenuWindow");
    press(VK::F7);
    press(VK::F8);
    EXPECT_EQ(pageName(), "MenuWindow");
    EXPECT_EQ(sim.unit().commands().size(), 3u);

    // The link went down before Continue, so the erase dialog sets it up again. A second
    // Continue meanwhile is refused with a box once the erase runs, instead of nesting a second.
    sim.unit().clearCommands();
    press(VK::F7);
    onPage("G_ENGINE1").Child(2).SetSelected(true);
    ASSERT_TRUE(window->unitLink().stop(5000));
    failFirstConnect();
    putMeanwhile = false;
    putWhileWaiting({ZafEventStruct(MaintenanceEvent::EraseProgress, nullptr, window)});
    press(VK::F5);
    ASSERT_TRUE(putMeanwhile);
    EXPECT_EQ(erasesClosed, 3);
    EXPECT_EQ(commandsSent(),
              (Commands{{CMD_GET_PART_NUMBERS, 0}, {CMD_ERASE_ACCEL_DEFECT_HISTORY, 1}}));
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Warning, " TOLM for QUOR ",
                      "An erase is in progress. Please wait until it has finished."}}));
}

TEST_F(MaintenancePages, EmptyRegisterGreysTheDownloadOptionsFirmwareFollowsPNsAddressChanges) {
    openAsAdministrator();
    ASSERT_TRUE(window->EstablishUnitLink());
    openUtilities();
    EXPECT_EQ(window->windowTitle(), " TOLM for QUOR  - Utilities");
    EXPECT_EQ(window->HelpContext(), "HelpUtilities");
    EXPECT_EQ(notebook()->currentIndex(), 0);
    EXPECT_EQ(notebook()->tabText(1), "Communications");
    EXPECT_TRUE(onPage("G_DOWNLOAD_OPTIONS").Disabled());
    EXPECT_TRUE(onPage("P_NOTE").Visible());
    EXPECT_FALSE(onPage("P_NOTE").Disabled());
    EXPECT_EQ(onPage("ADDRESS").Text(), "127.0.0.1");
    EXPECT_EQ(onPage("PORT").Text(), QString::number(sim.port()));

    // Apply on the Firmware page changes nothing, whatever the other pages hold.
    onPage("ADDRESS").SetText("127.0.0.2");
    notebook()->setCurrentIndex(2);
    press(VK::F5);
    EXPECT_EQ(QSettings().value("IP Address").toString(), "127.0.0.1");
    EXPECT_EQ(window->unitLink().context().host(), "127.0.0.1");

    // The page shown last comes back for the rest of the run.
    press(VK::Escape);
    EXPECT_EQ(pageName(), "MenuWindow");
    openUtilities();
    EXPECT_EQ(notebook()->currentIndex(), 2);

    // The Firmware sections follow the part numbers.
    EXPECT_EQ(onPage("MainProcessor~SoftwarePN~PN").Text(), "  731-402-000-1B");
    EXPECT_EQ(onPage("DspProcessors~SoftwarePN~PN").Text(), "  731-403-000-4A");
    EXPECT_EQ(onPage("DspProcessors~ConfigurationPN~PN").Text(), "  731-406-000-4D");
    EXPECT_TRUE(onPage("MainProcessor").Disabled());
    EXPECT_FALSE(onPage("DspProcessors").Disabled());
    sim.unit().setPartNumbers(quorsim::PartNumbers::mainUploadMode());
    ASSERT_TRUE(window->EstablishUnitLink());
    press(VK::Escape);
    openUtilities();
    EXPECT_FALSE(onPage("MainProcessor").Disabled());
    EXPECT_TRUE(onPage("DspProcessors").Disabled());
    EXPECT_EQ(onPage("DspProcessors~SoftwarePN~PN").Text(), QString(16, QLatin1Char(' ')));

    // A new address ends the link, and the next connection uses it.
    quorsim::UnitSimulator other;
    ASSERT_TRUE(other.start());
    const int accepted = sim.connectionsAccepted();
    notebook()->setCurrentIndex(1);
    onPage("G_COMM_ETHERNET~ADDRESS").SetText("127.0.0.1");
    onPage("G_COMM_ETHERNET~PORT").SetText(QString::number(other.port()));
    click("CommunicationsPage~B_APPLY_CHANGES");
    EXPECT_EQ(QSettings().value("Port").toInt(), other.port());
    EXPECT_EQ(QSettings().value("IP Address").toString(), "127.0.0.1");
    EXPECT_TRUE(window->unitLink().stop(5000));  // the old thread ends by itself

    ASSERT_TRUE(window->EstablishUnitLink());
    EXPECT_EQ(other.connectionsAccepted(), 1);
    EXPECT_EQ(sim.connectionsAccepted(), accepted);
    EXPECT_EQ(other.unit().commands().size(), 1u);
}

TEST_F(MaintenancePages, TicksAreStoredPerAircraftAndEveryPageShowsWholeAtTheUsualSize) {
    put("A-1");
    put("B-2");
    QSettings().setValue("LastAircraft", "B-2");
    openAsAdministrator();
    const QSize usual = window->size();
    openUtilities();
    EXPECT_FALSE(onPage("G_DOWNLOAD_OPTIONS").Disabled());
    EXPECT_FALSE(onPage("P_NOTE").Visible());
    EXPECT_EQ(onPage("AIRCRAFT_ID").Text(), "B-2");
    EXPECT_TRUE(onPage("B_DOWN_N4_E2").Selected());
    EXPECT_FALSE(onPage("B_ERASE_ACCEL_DEFECT_E2").Selected());

    onPage("B_DOWN_N4_E1").SetSelected(false);
    onPage("B_ERASE_ACCEL_DEFECT_E2").SetSelected(true);
    ::choose(onPage("AIRCRAFT_ID"), "A-1");
    testenv::pump();
    const AircraftRecord b2 = storedRecord("B-2");
    EXPECT_FALSE(b2.engine(0).option(EngineOption::DownloadBearingData));
    EXPECT_TRUE(b2.engine(1).option(EngineOption::DownloadBearingData));
    EXPECT_TRUE(b2.engine(1).option(EngineOption::EraseAccelDefectHistory));
    EXPECT_FALSE(b2.engine(1).option(EngineOption::EraseBearingData));
    EXPECT_EQ(b2.comments(), "comments of B-2");
    // A-1 is shown as stored.
    EXPECT_TRUE(onPage("B_DOWN_N4_E1").Selected());
    EXPECT_FALSE(onPage("B_ERASE_ACCEL_DEFECT_E2").Selected());

    // F5 stores the ticks of the aircraft shown; leaving without it drops them.
    onPage("B_ERASE_N4_DEFECT_E1").SetSelected(true);
    press(VK::F5);
    EXPECT_TRUE(storedRecord("A-1").engine(0).option(EngineOption::EraseBearingDefectHistory));
    onPage("B_ERASE_N4_E1").SetSelected(true);
    press(VK::Escape);
    EXPECT_FALSE(storedRecord("A-1").engine(0).option(EngineOption::EraseBearingData));

    // Every notebook page shows whole in the main window at its usual size. The Firmware page's
    // DSP rows were once squeezed, cutting off the lower edge of their buttons.
    openUtilities();
    // The longest texts the Firmware page shows during an upload.
    for (const char* status :
         {"MainProcessor~SoftwareStatus~Status", "DspProcessors~SoftwareStatus~Status",
          "DspProcessors~ConfigurationStatus~Status"}) {
        onPage(status).SetText(QStringLiteral("Upload failed at packet 1234 of 1234"));
    }
    onPage("P_UPLOAD_PROGRESS").SetText("Upload complete. Reinitializing unit. Please wait...");
    for (int page = 0; page < 3; ++page) {
        notebook()->setCurrentIndex(page);
        testenv::pump();
        EXPECT_EQ(window->height(), usual.height()) << page;
        EXPECT_EQ(window->width(), usual.width()) << page;
        EXPECT_EQ(squeezedControls(window->CurrentPage()).join(", ").toStdString(), "") << page;
    }
}

TEST_F(MaintenancePages, ADspUploadThenAConfigurationTableEachFollowedByThePartNumbersReadAgain) {
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

TEST_F(MaintenancePages, UploadsWithoutDataAreRefusedAndAnExitDuringAnUploadIsRefused) {
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
TEST_F(MaintenancePages, ARefusedPacketIsReportedAndNothingFollowsAWholeOneEndsTheProgram) {
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

// The Clear Memory and Utilities pages in the main window, against the simulated unit.
#include <QTabWidget>
#include <utility>

#include "link/CommandTable.h"
#include "link/Connection.h"
#include "maintenance/ui/BRIXEraseProgress.h"
#include "maintenance/ui/MaintenanceEvents.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/register/AircraftStore.h"
#include "toolkit/KeyCodes.h"

using namespace tolm;
using Commands = std::vector<std::pair<quint32, quint32>>;

namespace {

class MaintenancePages : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        userStep = [this] {
            auto* erase = qobject_cast<BRIXEraseProgress*>(zafWindowManager()->Front());
            if (erase && erase->Finished() && erase != closedErase) {
                closedErase = erase;
                ++erasesClosed;
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

    int erasesClosed = 0;
    QPointer<BRIXEraseProgress> closedErase;
};

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

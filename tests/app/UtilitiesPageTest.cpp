// The Clear Memory and Utilities pages in the main window: the erase of the ticked stores, the
// download options kept per aircraft, the unit's address changed for the next connection, the
// Firmware sections by the unit's part numbers, and the notebook page remembered for the run.
#include <QAbstractButton>
#include <QTabWidget>
#include <QTimer>
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
        // The user at the keyboard: F5 in the erase dialog once it has finished.
        QObject::connect(&user, &QTimer::timeout, [this] {
            auto* erase = qobject_cast<BRIXEraseProgress*>(zafWindowManager()->Front());
            if (erase && erase->Finished() && erasesClosed == 0) {
                ++erasesClosed;
                zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, erase));
            }
        });
        user.start(5);
    }
    void TearDown() override {
        user.stop();
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

    void openAsAdministrator() {
        open({QStringLiteral("-l1"), QStringLiteral("-pvrkzt")});
        toMainMenu();
    }
    void openUtilities() {
        press(VK::F9);
        ASSERT_EQ(pageName(), QStringLiteral("Utilities"));
    }
    QTabWidget* notebook() const { return onPage("UTILITIES_NOTEBOOK").as<QTabWidget>(); }
    Commands commandsSent() {
        Commands sent;
        for (const auto& c : sim.unit().commands()) {
            sent.emplace_back(c.code, c.payload.empty() ? 0 : c.payload[0]);
        }
        return sent;
    }

    QTimer user;
    int erasesClosed = 0;
};

// The shown controls inside `top` that are lower or narrower than they need, or that reach out
// of the widget around them: each as "class name WxH".
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

// The Firmware page's DSP rows were once squeezed, cutting off the lower edge of their buttons.
TEST_F(MaintenancePages, EveryNotebookPageShowsWholeInTheMainWindowAtItsUsualSize) {
    put(QStringLiteral("A-1"));
    openAsAdministrator();
    const QSize usual = window->size();
    openUtilities();
    // The longest texts the Firmware page shows during an upload.
    for (const char* status :
         {"MainProcessor~SoftwareStatus~Status", "DspProcessors~SoftwareStatus~Status",
          "DspProcessors~ConfigurationStatus~Status"}) {
        onPage(status).SetText(QStringLiteral("Upload failed at packet 1234 of 1234"));
    }
    onPage("P_UPLOAD_PROGRESS")
        .SetText(QStringLiteral("Upload complete. Reinitializing unit. Please wait..."));
    for (int page = 0; page < 3; ++page) {
        notebook()->setCurrentIndex(page);
        testenv::pump();
        EXPECT_EQ(window->height(), usual.height()) << page;
        EXPECT_EQ(window->width(), usual.width()) << page;
        EXPECT_EQ(squeezedControls(window->CurrentPage()).join(", ").toStdString(), "") << page;
    }
}

TEST_F(MaintenancePages, ClearMemoryErasesTheTickedStoresAndKeepsThePage) {
    open();
    ASSERT_TRUE(window->EstablishUnitLink());
    toMainMenu();
    press(VK::F7);
    ASSERT_EQ(pageName(), QStringLiteral("ClearData"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" TOLM for QUOR  - Clear Memory"));
    EXPECT_EQ(window->HelpContext(), QStringLiteral("HelpClearData"));
    EXPECT_TRUE(onPage("TextArea").Text().startsWith(QStringLiteral("For each engine")));
    EXPECT_FALSE(aircraftMenuEnabled());

    onPage("G_ENGINE1").Child(2).SetSelected(true);  // engine 1's accel line defect history
    onPage("G_ENGINE2").Child(0).SetSelected(true);  // engine 2's bearing data
    press(VK::F5);  // the erase dialog's lines and outcomes are its own tests'
    EXPECT_EQ(erasesClosed, 1);
    EXPECT_EQ(commandsSent(), (Commands{{CMD_GET_PART_NUMBERS, 0},
                                        {CMD_ERASE_ACCEL_DEFECT_HISTORY, 1},
                                        {CMD_ERASE_BEARING_DATA, 2}}));
    EXPECT_EQ(pageName(), QStringLiteral("ClearData"));
    EXPECT_TRUE(dialogs.messages.empty());

    // Cancel and F8 lead back to the main menu without erasing anything more.
    onPage("B_CANCEL").as<QAbstractButton>()->click();
    testenv::pump();
    EXPECT_EQ(pageName(), QStringLiteral("MenuWindow"));
    press(VK::F7);
    press(VK::F8);
    EXPECT_EQ(pageName(), QStringLiteral("MenuWindow"));
    EXPECT_EQ(sim.unit().commands().size(), 3u);
}

// The link went down before Continue, so the erase dialog sets it up again. Its wait hands out
// no window command: a second Continue pressed meanwhile is refused with a box once the erase
// dialog runs, instead of nesting a second erase dialog inside the set-up.
TEST_F(MaintenancePages, ASecondContinueWhileTheEraseSetsTheLinkUpIsRefusedNotNested) {
    QSettings().setValue(QStringLiteral("ConnectTimeout"), 2);
    open();
    ASSERT_TRUE(window->EstablishUnitLink());
    toMainMenu();
    press(VK::F7);
    onPage("G_ENGINE1").Child(2).SetSelected(true);
    ASSERT_TRUE(window->unitLink().stop(5000));
    failFirstConnect();
    bool pressed = false;
    dialogs.whileNoticeShown = [&] {
        if (!std::exchange(pressed, true)) {
            zafEventManager()->Put(
                ZafEventStruct(MaintenanceEvent::EraseProgress, nullptr, window));
        }
    };
    press(VK::F5);
    ASSERT_TRUE(pressed);
    EXPECT_EQ(erasesClosed, 1);
    EXPECT_EQ(commandsSent(), (Commands{{CMD_GET_PART_NUMBERS, 0},
                                        {CMD_GET_PART_NUMBERS, 0},
                                        {CMD_ERASE_ACCEL_DEFECT_HISTORY, 1}}));
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Warning, QStringLiteral(" TOLM for QUOR "),
                      QStringLiteral("An erase is in progress. Please wait until it has "
                                     "finished.")}}));
}

// F7 and Continue pressed while the start-up set-up waits for the unit run once it is up: the
// set-up is not broken by an erase handed to a thread that is still connecting.
TEST_F(MaintenancePages, KeysPressedDuringTheStartUpSetUpRunAfterIt) {
    QSettings().setValue(QStringLiteral("ConnectTimeout"), 2);
    failFirstConnect();
    open();
    toMainMenu();
    bool pressed = false;
    dialogs.whileNoticeShown = [&] {
        if (!std::exchange(pressed, true)) {
            zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F7, window));
            zafEventManager()->Put(
                ZafEventStruct(MaintenanceEvent::EraseProgress, nullptr, window));
        }
    };
    ASSERT_TRUE(window->EstablishUnitLink());
    ASSERT_TRUE(pressed);
    EXPECT_EQ(field("STATUS"), QStringLiteral("Communication OK!"));
    EXPECT_EQ(pageName(), QStringLiteral("MenuWindow"));
    testenv::pump();
    EXPECT_EQ(pageName(), QStringLiteral("ClearData"));
    EXPECT_EQ(erasesClosed, 1);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(commandsSent(), (Commands{{CMD_GET_PART_NUMBERS, 0}}));
}

TEST_F(MaintenancePages, WithAnEmptyRegisterOnlyTheDownloadPageIsDisabled) {
    openAsAdministrator();
    openUtilities();
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" TOLM for QUOR  - Utilities"));
    EXPECT_EQ(window->HelpContext(), QStringLiteral("HelpUtilities"));
    EXPECT_EQ(notebook()->currentIndex(), 0);
    EXPECT_EQ(notebook()->tabText(1), QStringLiteral("Communications"));
    EXPECT_TRUE(onPage("G_DOWNLOAD_OPTIONS").Disabled());
    EXPECT_TRUE(onPage("P_NOTE").Visible());
    EXPECT_FALSE(onPage("P_NOTE").Disabled());
    EXPECT_EQ(onPage("ADDRESS").Text(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(onPage("PORT").Text(), QString::number(sim.port()));

    // Apply on the Firmware page changes nothing, whatever the other pages hold.
    onPage("ADDRESS").SetText(QStringLiteral("127.0.0.2"));
    notebook()->setCurrentIndex(2);
    press(VK::F5);
    EXPECT_EQ(QSettings().value(QStringLiteral("IP Address")).toString(),
              QStringLiteral("127.0.0.1"));
    EXPECT_EQ(window->unitLink().context().host(), QStringLiteral("127.0.0.1"));

    // The page shown last comes back for the rest of the run.
    press(VK::Escape);
    EXPECT_EQ(pageName(), QStringLiteral("MenuWindow"));
    openUtilities();
    EXPECT_EQ(notebook()->currentIndex(), 2);
}

TEST_F(MaintenancePages, ANewAddressEndsTheLinkAndTheNextConnectionUsesIt) {
    quorsim::UnitSimulator other;
    ASSERT_TRUE(other.start());
    openAsAdministrator();
    ASSERT_TRUE(window->EstablishUnitLink());
    openUtilities();
    notebook()->setCurrentIndex(1);
    onPage("G_COMM_ETHERNET~ADDRESS").SetText(QStringLiteral("127.0.0.1"));
    onPage("G_COMM_ETHERNET~PORT").SetText(QString::number(other.port()));
    onPage("CommunicationsPage~B_APPLY_CHANGES").as<QAbstractButton>()->click();
    testenv::pump();
    EXPECT_EQ(QSettings().value(QStringLiteral("Port")).toInt(), other.port());
    EXPECT_EQ(QSettings().value(QStringLiteral("IP Address")).toString(),
              QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(window->unitLink().stop(5000));  // the old thread ends by itself

    ASSERT_TRUE(window->EstablishUnitLink());
    EXPECT_EQ(other.connectionsAccepted(), 1);
    EXPECT_EQ(sim.connectionsAccepted(), 1);
    EXPECT_EQ(other.unit().commands().size(), 1u);
}

TEST_F(MaintenancePages, TicksAreStoredForTheAircraftShownWhenAnotherIsChosen) {
    put(QStringLiteral("A-1"));
    put(QStringLiteral("B-2"));
    QSettings().setValue(QStringLiteral("LastAircraft"), QStringLiteral("B-2"));
    openAsAdministrator();
    openUtilities();
    EXPECT_FALSE(onPage("G_DOWNLOAD_OPTIONS").Disabled());
    EXPECT_FALSE(onPage("P_NOTE").Visible());
    EXPECT_EQ(onPage("AIRCRAFT_ID").Text(), QStringLiteral("B-2"));
    EXPECT_TRUE(onPage("B_DOWN_N4_E2").Selected());
    EXPECT_FALSE(onPage("B_ERASE_ACCEL_DEFECT_E2").Selected());

    onPage("B_DOWN_N4_E1").SetSelected(false);
    onPage("B_ERASE_ACCEL_DEFECT_E2").SetSelected(true);
    ::choose(onPage("AIRCRAFT_ID"), QStringLiteral("A-1"));
    testenv::pump();
    const EngineRecord e1 = storedRecord(QStringLiteral("B-2")).engine(0);
    const EngineRecord e2 = storedRecord(QStringLiteral("B-2")).engine(1);
    EXPECT_FALSE(e1.option(EngineOption::DownloadBearingData));
    EXPECT_TRUE(e2.option(EngineOption::DownloadBearingData));
    EXPECT_TRUE(e2.option(EngineOption::EraseAccelDefectHistory));
    EXPECT_FALSE(e2.option(EngineOption::EraseBearingData));
    EXPECT_EQ(storedRecord(QStringLiteral("B-2")).comments(), QStringLiteral("comments of B-2"));
    // A-1 is shown as stored.
    EXPECT_TRUE(onPage("B_DOWN_N4_E1").Selected());
    EXPECT_FALSE(onPage("B_ERASE_ACCEL_DEFECT_E2").Selected());

    // F5 stores the ticks of the aircraft shown; leaving without it drops them.
    onPage("B_ERASE_N4_DEFECT_E1").SetSelected(true);
    press(VK::F5);
    EXPECT_TRUE(storedRecord(QStringLiteral("A-1"))
                    .engine(0)
                    .option(EngineOption::EraseBearingDefectHistory));
    onPage("B_ERASE_N4_E1").SetSelected(true);
    press(VK::Escape);
    EXPECT_FALSE(
        storedRecord(QStringLiteral("A-1")).engine(0).option(EngineOption::EraseBearingData));
}

TEST_F(MaintenancePages, TheFirmwareSectionsFollowThePartNumbers) {
    openAsAdministrator();
    ASSERT_TRUE(window->EstablishUnitLink());
    openUtilities();
    EXPECT_EQ(onPage("MainProcessor~SoftwarePN~PN").Text(), QStringLiteral("  731-402-000-1B"));
    EXPECT_EQ(onPage("DspProcessors~SoftwarePN~PN").Text(), QStringLiteral("  731-403-000-4A"));
    EXPECT_EQ(onPage("DspProcessors~ConfigurationPN~PN").Text(),
              QStringLiteral("  731-406-000-4D"));
    EXPECT_TRUE(onPage("MainProcessor").Disabled());
    EXPECT_FALSE(onPage("DspProcessors").Disabled());

    sim.unit().setPartNumbers(quorsim::PartNumbers::mainUploadMode());
    ASSERT_TRUE(window->EstablishUnitLink());
    press(VK::Escape);
    openUtilities();
    EXPECT_FALSE(onPage("MainProcessor").Disabled());
    EXPECT_TRUE(onPage("DspProcessors").Disabled());
    EXPECT_EQ(onPage("DspProcessors~SoftwarePN~PN").Text(), QString(16, QLatin1Char(' ')));
}

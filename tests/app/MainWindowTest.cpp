// The main window: pages and keys, start options, the link state and the download's checks.
#include <QApplication>
#include <QFileInfo>
#include <utility>

#include "health/ui/FleetStatusWindow.h"
#include "link/LinkTrace.h"
#include "tests/app/MainWindowFixture.h"
#include "toolkit/KeyCodes.h"

using namespace tolm;

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, StartOptionsAndThePrivilegeMenuDecideTheLevelItsMarksAndUtilities) {
    const struct {
        QStringList arguments;
        int level;
        const char* name;
        bool administratorMark, flightLineMark, aircraftMenu;
        int utilities;  // 0 absent, 1 greyed, 2 usable
    } cases[] = {
        {{}, kLevelFlightLine, "Flight Line", false, true, false, 0},
        {{"-pvrkzt", "-l1"}, kLevelAdministrator, "Administrator", true, false, true, 2},
        {{"-l0", "-pWqPd_mZtA"}, kLevelFactory, "Korvel", false, false, true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.arguments.join(' ')));
        open(c.arguments);
        EXPECT_EQ(privilegeLevel(), c.level);
        EXPECT_EQ(field("PRIVILEGE_LEVEL"), QLatin1String(c.name));
        EXPECT_EQ(item("PUI_PRIV_ADMINISTRATOR").Selected(), c.administratorMark);
        EXPECT_EQ(item("PUI_PRIV_FLIGHTLINE").Selected(), c.flightLineMark);
        press(VK::F5);
        EXPECT_EQ(aircraftMenuEnabled(), c.aircraftMenu);
        EXPECT_EQ(onPage("B5") ? 2 - onPage("B5").Disabled() : 0, c.utilities);
        if (c.utilities != 2) {
            QPointer<ZafWindow> menu = window->CurrentPage();
            press(VK::F9);
            EXPECT_EQ(window->CurrentPage(), menu.data());
        }
        if (c.level != kLevelFlightLine) {
            // Administrator needs no login from above Flight Line, and rebuilds the menu only
            // when the level changes; Flight Line closes the aircraft menu and Utilities.
            QPointer<ZafWindow> menu = window->CurrentPage();
            choose("PDI_PRIVILEGE~PUI_PRIV_ADMINISTRATOR");
            EXPECT_EQ(loginsShown, 0);
            EXPECT_EQ(privilegeLevel(), kLevelAdministrator);
            EXPECT_TRUE(item("PUI_PRIV_ADMINISTRATOR").Selected());
            EXPECT_EQ(field("PRIVILEGE_LEVEL"), "Administrator");
            EXPECT_EQ(menu.isNull(), c.level == kLevelFactory);
            EXPECT_FALSE(onPage("B5").Disabled());
            choose("PDI_PRIVILEGE~PUI_PRIV_FLIGHTLINE");
            EXPECT_EQ(privilegeLevel(), kLevelFlightLine);
            EXPECT_EQ(field("PRIVILEGE_LEVEL"), "Flight Line");
            EXPECT_FALSE(aircraftMenuEnabled());
            EXPECT_FALSE(onPage("B5"));
        }
        delete window.data();
    }
    // The position options move the window without resizing it.
    open();
    const QSize loaded = window->size();
    delete window.data();
    open({"-x10", "-y20"});
    EXPECT_EQ(window->pos(), QPoint(10, 20));
    EXPECT_EQ(window->size(), loaded);
}

TEST_F(MainWindowTest, TheLinkStateEnablesDownloadAndClearMemoryAndTheTraceIsOffByDefault) {
    const QString trace = LinkTrace::defaultPath();
    QFile::remove(trace);
    auto buttons = [this] {
        toMainMenu();
        return std::pair{!onPage("B1").Disabled(), !onPage("B3").Disabled()};
    };
    open({"-s"});
    EXPECT_EQ(buttons(), std::pair(true, true));
    delete window.data();

    open();
    EXPECT_EQ(buttons(), std::pair(false, false));  // no link yet
    ASSERT_TRUE(window->EstablishUnitLink());
    EXPECT_EQ(field("STATUS"), "Communication OK!");
    EXPECT_EQ(buttons(), std::pair(true, true));
    sim.unit().setPartNumbers(quorsim::PartNumbers::incompatible());
    EXPECT_TRUE(window->EstablishUnitLink());
    EXPECT_EQ(buttons(), std::pair(false, true));
    sim.unit().setPartNumbers(quorsim::PartNumbers::mainUploadMode());
    EXPECT_TRUE(window->EstablishUnitLink());
    EXPECT_EQ(buttons(), std::pair(false, false));
    delete window.data();
    EXPECT_FALSE(QFile::exists(trace));

    // The trace is on for the option or the setting.
    const struct {
        QStringList arguments;
        int setting;
    } cases[] = {{{"-t"}, 0}, {{}, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        QSettings().setValue("LinkTrace", c.setting);
        open(c.arguments);
        ASSERT_TRUE(window->EstablishUnitLink());
        delete window.data();  // the link stops, and the trace with it
        EXPECT_FALSE(LinkTrace::isOn());
        QFile file(trace);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        EXPECT_TRUE(text.contains(" send 0000000c0000000100000000\n"));
        EXPECT_TRUE(text.endsWith(" end stopped\n"));
        file.remove();
    }
}

// With an aircraft, the download flow tests go on from here.
TEST_F(MainWindowTest, DownloadNeedsAnAircraftAndWaitsForTheLinkBeingSetUp) {
    open();
    toMainMenu();
    press(VK::F5);
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Warning, " TOLM for QUOR ", "No aircraft found"}}));
    EXPECT_EQ(sim.connectionsAccepted(), 0);

    // The set-up's wait hands out no window command: a second F5 pressed meanwhile waits until
    // the first set-up has ended, and never runs a second set-up inside it.
    dialogs.clear();
    QSettings().setValue("AircraftInfo/HB-IJK", QByteArray(2699, '\0'));
    sim.stop();
    dialogs.abortAfterPolls = 10;
    putWhileWaiting({ZafEventStruct::rawKeyDown(VK::F5, window)});
    press(VK::F5);
    EXPECT_EQ(dialogs.noticeTexts.size(), 2);
    EXPECT_EQ(dialogs.mostNoticesShown, 1);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(field("STATUS"), "Failed to establish a connection to the unit - Aborted!");
}

TEST_F(MainWindowTest, FleetStatusOnceTitleThenMainMenuThenAPageAndBackByButtonsAndKeys) {
    open();
    // Fleet status is the File menu's at Flight Line too, and opens once however often chosen.
    ASSERT_EQ(privilegeLevel(), kLevelFlightLine);
    choose("PDI_FILE~PUI_FILE_FLEET_STATUS");
    choose("PDI_FILE~PUI_FILE_FLEET_STATUS");
    QPointer<health::FleetStatusWindow> page = health::FleetStatusWindow::Find();
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->isVisible());
    int pages = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        pages += qobject_cast<health::FleetStatusWindow*>(w) != nullptr;
    }
    EXPECT_EQ(pages, 1);
    delete page.data();

    EXPECT_EQ(pageName(), "TitleWindow");
    EXPECT_EQ(window->windowTitle(), " TOLM for QUOR ");
    EXPECT_FALSE(field("DATE").isEmpty());
    EXPECT_TRUE(QFileInfo(dataDirectory() + "/SW_uploads").isDir());
    click("B_CONTINUE");
    EXPECT_EQ(window->windowTitle(), " TOLM for QUOR  - Main Window");
    EXPECT_EQ(onPage("B4").Text(), "Plot (F8)");

    QPointer<ZafWindow> menu = window->CurrentPage();
    window->ShowPage("TitleWindow", "Test", "HelpTest");
    EXPECT_FALSE(menu);
    EXPECT_EQ(window->windowTitle(), " TOLM for QUOR  - Test");
    EXPECT_EQ(window->HelpContext(), "HelpTest");
    EXPECT_EQ(item("TOOL_BAR~B_BACK").Text(), "Back (Esc)");
    press(VK::Escape);  // Esc on a page: back to the main menu
    EXPECT_EQ(pageName(), "MenuWindow");
    EXPECT_EQ(item("TOOL_BAR~B_BACK").Text(), "Exit (Esc)");
    EXPECT_EQ(window->HelpContext(), "HelpBRIX");
    press(VK::Escape);  // on the main menu: exit
    EXPECT_FALSE(window);
}

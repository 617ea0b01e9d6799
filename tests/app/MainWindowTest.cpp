// The main window: pages and their keys, the start options, the link state on the main menu,
// the download command's checks, and the commands that work on the page shown.
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "tests/app/MainWindowFixture.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/ZafDisplay.h"

using namespace tolm;

namespace {

class MainWindowTest : public MainWindowFixture {
protected:
    // A widget added to the page shown, inside a group of that identifier.
    template <class T>
    T* addToPage(const char* group, const char* id = "") {
        QGroupBox* box = window->CurrentPage()->Get(QLatin1String(group)).as<QGroupBox>();
        if (!box) {
            box = new QGroupBox(window->CurrentPage());
            box->setObjectName(QLatin1String(group));
            new QVBoxLayout(box);
            window->CurrentPage()->layout()->addWidget(box);
        }
        auto* widget = new T(box);
        widget->setObjectName(QLatin1String(id));
        box->layout()->addWidget(widget);
        return widget;
    }
};

}  // namespace

TEST_F(MainWindowTest, StartOptionsDecideTheLevelItsMarksAndUtilities) {
    const struct {
        QStringList arguments;
        int level;
        const char* name;
        bool administratorMark, flightLineMark, aircraftMenu;
        int utilities;  // 0 absent, 1 greyed, 2 usable
    } cases[] = {
        {{}, kLevelFlightLine, "Flight Line", false, true, false, 0},
        {{"-l1", "-pVRKZT"}, kLevelFlightLine, "Flight Line", false, true, false, 0},
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
        delete window.data();
    }
}

TEST_F(MainWindowTest, PositionOptionsMoveTheWindowWithoutResizingIt) {
    open();
    const QSize loaded = window->size();
    delete window.data();
    open({QStringLiteral("-x10"), QStringLiteral("-y20")});
    EXPECT_EQ(window->pos(), QPoint(10, 20));
    EXPECT_EQ(window->size(), loaded);
}

TEST_F(MainWindowTest, TheLinkStateEnablesDownloadAndClearMemoryUnlessUnrestricted) {
    auto buttons = [this] {
        toMainMenu();
        return std::pair{!onPage("B1").Disabled(), !onPage("B3").Disabled()};
    };
    open({QStringLiteral("-s")});
    EXPECT_EQ(buttons(), std::pair(true, true));
    delete window.data();

    open();
    EXPECT_EQ(buttons(), std::pair(false, false));  // no link yet
    ASSERT_TRUE(window->EstablishUnitLink());
    EXPECT_EQ(field("STATUS"), QStringLiteral("Communication OK!"));
    EXPECT_EQ(buttons(), std::pair(true, true));
    sim.unit().setPartNumbers(quorsim::PartNumbers::incompatible());
    EXPECT_TRUE(window->EstablishUnitLink());
    EXPECT_EQ(buttons(), std::pair(false, true));
    sim.unit().setPartNumbers(quorsim::PartNumbers::mainUploadMode());
    EXPECT_TRUE(window->EstablishUnitLink());
    EXPECT_EQ(field("PART_NUMBER"), QStringLiteral("Main Upload Mode"));
    EXPECT_EQ(buttons(), std::pair(false, false));
}

TEST_F(MainWindowTest, DownloadNeedsAnAircraftBeforeItConnects) {
    open();
    toMainMenu();
    press(VK::F5);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.last().kind, MessageKind::Warning);
    EXPECT_EQ(dialogs.last().title, QStringLiteral(" TOLM for QUOR "));
    EXPECT_EQ(dialogs.last().text, QStringLiteral("No aircraft found"));
    EXPECT_EQ(sim.connectionsAccepted(), 0);

    QSettings().setValue(QStringLiteral("AircraftInfo/HB-IJK"), QByteArray(2699, '\0'));
    dialogs.clear();
    // The aircraft dialog that follows the set-up is cancelled (F8).
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [] {
        ZafWindow* front = zafWindowManager()->Front();
        if (front && front->objectName() == QStringLiteral("AircraftInfoDialog")) {
            zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F8, front));
        }
    });
    user.start(5);
    press(VK::F5);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(sim.connectionsAccepted(), 1);
    EXPECT_EQ(field("STATUS"), QStringLiteral("Communication OK!"));
    EXPECT_FALSE(aircraftMenuEnabled());  // closed again afterwards at Flight Line
}

TEST_F(MainWindowTest, ADownloadPressedWhileTheLinkIsSetUpIsIgnored) {
    QSettings().setValue(QStringLiteral("AircraftInfo/HB-IJK"), QByteArray(2699, '\0'));
    open();
    toMainMenu();
    sim.stop();
    dialogs.abortAfterPolls = 10;
    // The second F5 arrives while the first set-up waits for the unit.
    zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, window));
    press(VK::F5);
    EXPECT_EQ(dialogs.noticeTexts.size(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(field("STATUS"),
              QStringLiteral("Failed to establish a connection to the unit - Aborted!"));
}

TEST_F(MainWindowTest, TitleThenMainMenuThenAPageAndBackByButtonsAndKeys) {
    open();
    EXPECT_EQ(pageName(), QStringLiteral("TitleWindow"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" TOLM for QUOR "));
    EXPECT_FALSE(field("DATE").isEmpty());
    EXPECT_TRUE(QFileInfo(dataDirectory() + QStringLiteral("/SW_uploads")).isDir());
    onPage("B_CONTINUE").as<QAbstractButton>()->click();
    testenv::pump();
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" TOLM for QUOR  - Main Window"));
    EXPECT_EQ(onPage("B4").Text(), QStringLiteral("Plot (F8)"));

    QPointer<ZafWindow> menu = window->CurrentPage();
    window->ShowPage(QStringLiteral("TitleWindow"), QStringLiteral("Test"),
                     QStringLiteral("HelpTest"));
    EXPECT_FALSE(menu);
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" TOLM for QUOR  - Test"));
    EXPECT_EQ(window->HelpContext(), QStringLiteral("HelpTest"));
    EXPECT_EQ(item("TOOL_BAR~B_BACK").Text(), QStringLiteral("Back (Esc)"));
    press(VK::Escape);  // Esc on a page: back to the main menu
    EXPECT_EQ(pageName(), QStringLiteral("MenuWindow"));
    EXPECT_EQ(item("TOOL_BAR~B_BACK").Text(), QStringLiteral("Exit (Esc)"));
    EXPECT_EQ(window->HelpContext(), QStringLiteral("HelpBRIX"));
    press(VK::Escape);  // on the main menu: exit
    EXPECT_FALSE(window);
}

TEST_F(MainWindowTest, ChoiceGroupSelectsAndClearsItsFourItems) {
    open();
    window->ShowPage(QStringLiteral("TitleWindow"), QString(), QString());
    QList<QCheckBox*> boxes;
    for (int i = 0; i < 4; ++i) {
        boxes << addToPage<QCheckBox>("G_CHOICE");
    }
    auto* all = addToPage<QPushButton>("G_CHOICE");
    all->setText(QStringLiteral("Select ALL"));
    ZafObject(all).SetSendMessage(MainEvent::ToggleChoice);
    for (const bool selected : {true, false}) {
        all->click();
        testenv::pump();
        EXPECT_EQ(all->text(),
                  selected ? QStringLiteral("Clear ALL") : QStringLiteral("Select ALL"));
        for (QCheckBox* box : boxes) {
            EXPECT_EQ(box->isChecked(), selected);
        }
    }
}

TEST_F(MainWindowTest, HelpSectionsGoToTheTextAreaOfThePage) {
    open();
    window->ShowPage(QStringLiteral("TitleWindow"), QString(), QString());
    window->ShowHelpSection(QStringLiteral("Download"));  // no "TextArea": nothing happens
    auto* area = addToPage<QPlainTextEdit>("G_HELP", "TextArea");
    window->ShowHelpSection(QStringLiteral("Other Functions"));
    EXPECT_EQ(
        area->toPlainText(),
        QStringLiteral("Downloaded data on the computer's disk can be displayed and inspected"));
    EXPECT_EQ(area->font(), zafDisplay()->Font(window->NormalFont()));
}

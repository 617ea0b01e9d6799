// The main window: pages and keys, start options, the privilege levels and the password, the
// link state and the download's checks, the Help menu; a whole run from the resource files.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <utility>

#include "app/DocumentShell.h"
#include "app/EventLoop.h"
#include "core/Clock.h"
#include "core/PasswordSettings.h"
#include "core/PlatformPaths.h"
#include "health/ui/FleetStatusWindow.h"
#include "link/LinkTrace.h"
#include "tests/app/MainWindowFixture.h"
#include "toolkit/KeyCodes.h"

using namespace tolm;
using enum MessageKind;

namespace {

using MainWindowTest = MainWindowFixture;

// Fills the change-password form and answers it.
std::function<int(QDialog&)> passwordForm(const QString& password, const QString& verify,
                                          int answer = QDialog::Accepted) {
    return [=](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Change Password"));
        dialog.findChild<QLineEdit*>(QStringLiteral("passwdLineEdit"))->setText(password);
        dialog.findChild<QLineEdit*>(QStringLiteral("verifyLineEdit"))->setText(verify);
        return answer;
    };
}

struct RecordingShell : DocumentShell {
    bool answer = true;
    QStringList opened;
    QWidget* owner = nullptr;
    bool open(const QString& path, QWidget* ownerWindow) override {
        opened << path;
        owner = ownerWindow;
        return answer;
    }
};

}  // namespace

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
    EXPECT_EQ(dialogs.messages, (Boxes{{Warning, " TOLM for QUOR ", "No aircraft found"}}));
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

TEST_F(MainWindowTest, AMissingResourceFileEndsTheProgramWithItsMessageAWholeRunWithZero) {
    // Each missing resource file ends the program with its message, the first missing only.
    QTemporaryDir dir;
    for (const char* file : {"Tolm.znc", "QUOR.znc"}) {
        EXPECT_EQ(RunProgram(*zafApplication(), dir.path()), 1);
        EXPECT_EQ(dialogs.messages,
                  (Boxes{{Critical, "Error", dir.filePath(file) + " could not be found."}}));
        EXPECT_EQ(zafWindowManager()->Count(), 0);
        QFile::copy(testenv::binDir() + '/' + file, dir.filePath(file));
        dialogs.clear();
    }
    // A whole run connects, shows the pages and ends with zero.
    QStringList pages;
    bool downloadEnabled = false;
    QString status;
    // Once the loop runs (it writes the time-out): F5 on the title page, Esc on the main menu.
    std::function<void()> act = [&] {
        if (!QSettings().contains("PrivTimeout")) {
            QTimer::singleShot(10, act);
            return;
        }
        auto* main = static_cast<BRIXWindow*>(zafWindowManager()->Get("BRIXWindow"));
        ASSERT_NE(main, nullptr);
        pages << main->CurrentPage()->objectName();
        zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, main));
        QTimer::singleShot(0, [&, main] {
            pages << main->CurrentPage()->objectName();
            downloadEnabled = !main->CurrentPage()->Get(QStringLiteral("B1")).Disabled();
            status = main->Get(QStringLiteral("STATUS")).Text();
            zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::Escape, main));
        });
    };
    QTimer::singleShot(0, act);
    EXPECT_EQ(RunProgram(*zafApplication(), dir.path()), 0);
    EXPECT_EQ(pages, (QStringList{"TitleWindow", "MenuWindow"}));
    // The link was set up once at start, and the main menu offers Download.
    EXPECT_EQ(sim.connectionsAccepted(), 1);
    EXPECT_EQ(status, "Communication OK!");
    EXPECT_TRUE(downloadEnabled);
    EXPECT_EQ(zafWindowManager()->Count(), 0);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(QSettings().value("PrivTimeout").toInt(), 900);
    EXPECT_EQ(tolmResourceReader(), nullptr);
}

TEST_F(MainWindowTest,
       InactivityOfMoreThanTheTimeOutRevertsOnceToFlightLineAndWarnsAfterTheRebuild) {
    ManualClock clock(QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0)));
    setClock(&clock);
    QSettings().setValue("PrivTimeout", 60);
    openAsAdministrator();
    QString pageWhenWarned;
    dialogs.onMessage = [&](const ShownMessage&) { pageWhenWarned = pageName(); };
    QPointer<ZafWindow> before = window->CurrentPage();

    EventLoop loop(*zafEventManager(), *zafWindowManager());
    loop.Start();
    // Lets `seconds` pass, then has the loop handle one event.
    auto after = [&](int seconds, const ZafEventStruct& event) {
        clock.advanceSeconds(seconds);
        zafEventManager()->Put(event);
        ZafEventType result = 0;
        while (loop.Step(ZafEventManager::Q_NO_WAIT, &result)) {
        }
    };
    const ZafEventStruct tick(MainEvent::Tick, nullptr, window);
    ZafEventStruct click(E_OSEVENT);
    click.message = WinMsg::LButtonDown;
    for (int i = 0; i < 5; ++i) {
        after(50, click);  // input keeps the level
    }
    after(60, tick);  // exactly the time-out: not more
    EXPECT_EQ(privilegeLevel(), kLevelAdministrator);
    EXPECT_TRUE(dialogs.messages.empty());
    after(1, tick);
    after(120, tick);  // at Flight Line now: no second warning
    setClock(nullptr);

    EXPECT_EQ(dialogs.messages, (Boxes{{Warning, "Privilege Level Change",
                                        "Reverting to Flight-Line level due to inactivity"}}));
    EXPECT_EQ(privilegeLevel(), kLevelFlightLine);
    EXPECT_TRUE(item("PUI_PRIV_FLIGHTLINE").Selected());
    EXPECT_FALSE(aircraftMenuEnabled());
    EXPECT_FALSE(before);
    EXPECT_EQ(pageWhenWarned, "MenuWindow");
    EXPECT_FALSE(onPage("B5"));
}

TEST_F(MainWindowTest, ChangePasswordRefusesBadEntriesAndANewOneIsTheOnlyOneTheLoginAccepts) {
    open();
    toMainMenu();
    const struct {
        std::optional<QString> current;
        const char *password, *verify;
        int answer;
        const char* failure;  // nullptr: ends without a message
    } cases[] = {
        {std::nullopt, "", "", QDialog::Accepted, nullptr},
        {"vrkzT", "", "", QDialog::Accepted, "Incorrect password."},
        {"vrkzt", "", "", QDialog::Accepted, "Invalid password."},
        {"vrkzt", "new1", "new2", QDialog::Accepted, "Passwords don't match."},
        {"vrkzt", "new1", "new1", QDialog::Rejected, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failure ? c.failure : "silent");
        dialogs.clear();
        dialogs.textAnswers = {c.current};
        dialogs.formScripts = {passwordForm(c.password, c.verify, c.answer)};
        choose("PDI_PRIVILEGE~PUI_PRIV_CHANGE_PASSWD");
        EXPECT_EQ(dialogs.textInputTitles, QStringList{"Change Password"});
        EXPECT_EQ(
            dialogs.messages,
            (c.failure ? Boxes{{Warning, "Change Password", QLatin1String(c.failure)}} : Boxes{}));
        EXPECT_EQ(storedPassword(), "vrkzt");
    }
    // A cancelled login leaves Flight Line and the page.
    QPointer<ZafWindow> menu = window->CurrentPage();
    loginScripts.push_back(
        [](TolmAdminLoginDialog* login) { login->Get("B_CANCEL").as<QAbstractButton>()->click(); });
    choose("PDI_PRIVILEGE~PUI_PRIV_ADMINISTRATOR");
    EXPECT_EQ(loginsShown, 1);
    EXPECT_EQ(privilegeLevel(), kLevelFlightLine);
    EXPECT_TRUE(item("PUI_PRIV_FLIGHTLINE").Selected());
    EXPECT_FALSE(item("PUI_PRIV_ADMINISTRATOR").Selected());
    EXPECT_FALSE(aircraftMenuEnabled());
    EXPECT_EQ(window->CurrentPage(), menu.data());
    EXPECT_TRUE(dialogs.messages.empty());

    dialogs.textAnswers.push_back("vrkzt");
    dialogs.formScripts.push_back(passwordForm("Hangar 7", "Hangar 7"));
    choose("PDI_PRIVILEGE~PUI_PRIV_CHANGE_PASSWD");
    EXPECT_EQ(dialogs.messages,
              (Boxes{{Information, "Change Password", "The password has been changed."}}));
    EXPECT_EQ(storedPassword(), "Hangar 7");  // the start options read it there

    // The old password is refused and the login stays open; the new one with OK is taken.
    dialogs.clear();
    loginScripts.push_back([this](TolmAdminLoginDialog* login) {
        dialogs.onMessage = [login](const ShownMessage&) {
            login->Get("PASSWORD").SetText("Hangar 7");
            login->Get("B_OK").as<QAbstractButton>()->click();
        };
        login->Get("PASSWORD").SetText("vrkzt");
        QTest::keyClick(login->Get("PASSWORD").widget(), Qt::Key_Return);
    });
    choose("PDI_PRIVILEGE~PUI_PRIV_ADMINISTRATOR");
    dialogs.onMessage = nullptr;
    EXPECT_EQ(loginsShown, 2);
    EXPECT_EQ(dialogs.messages, (Boxes{{Critical, "Invalid password", "Invalid password"}}));
    EXPECT_EQ(privilegeLevel(), kLevelAdministrator);
    EXPECT_EQ(field("PRIVILEGE_LEVEL"), "Administrator");
    EXPECT_TRUE(aircraftMenuEnabled());
    EXPECT_EQ(pageName(), "MenuWindow");
    EXPECT_TRUE(onPage("B5"));

    // An empty answer never passes, even when the stored password is empty.
    QSettings().setValue("Password", QString());
    dialogs.clear();
    dialogs.textAnswers = {QString()};
    choose("PDI_PRIVILEGE~PUI_PRIV_CHANGE_PASSWD");
    EXPECT_EQ(dialogs.messages, (Boxes{{Warning, "Change Password", "Incorrect password."}}));
}

TEST_F(MainWindowTest, AboutShowsItsFactsAndDocumentsAreShippedOpenedByTheShellOrReported) {
    RecordingShell shell;
    setDocumentShell(&shell);
    const auto unsetShell = qScopeGuard([] { setDocumentShell(nullptr); });
    open();
    dialogs.formScripts.push_back([](QDialog& dialog) {
        const QString text = dialog.findChild<QLabel*>(QStringLiteral("aboutLabel"))->text();
        EXPECT_EQ(dialog.windowTitle(), "About TOLM");
        EXPECT_EQ(dialog.size(), QSize(487, 239));
        EXPECT_TRUE(text.contains(">Version: 2.1.3<")) << qPrintable(text);
        EXPECT_TRUE(text.contains(">PNR 741-508-102-103<"));
        EXPECT_TRUE(text.contains(">Built: Jul 16 2008 15:24:05<"));
        for (const char* placeholder : {"version_string", "pnr_string", "build_date_time"}) {
            EXPECT_FALSE(text.contains(QLatin1String(placeholder))) << placeholder;
        }
        return int(QDialog::Accepted);
    });
    choose("PDI_HELP~PUI_HELP_ABOUT");
    EXPECT_TRUE(dialogs.formScripts.empty());  // the About dialog was shown

    // Documents missing are reported with their path.
    const QString guide = executableDirectory() + "/DOC-604-Rev3.pdf";
    const QString notes = executableDirectory() + "/releasenotes.pdf";
    ASSERT_FALSE(QFile::exists(guide));  // the test programs' directory holds no documents
    choose("PDI_HELP~PUI_HELP_USER_GUIDE");
    choose("PDI_HELP~PUI_HELP_RELEASE_NOTES");
    EXPECT_EQ(dialogs.messages, (Boxes{{Warning, "Error", "File not found: " + guide},
                                       {Warning, "Error", "File not found: " + notes}}));
    EXPECT_TRUE(shell.opened.isEmpty());

    // An existing document goes to the shell, which may fail.
    dialogs.clear();
    const QString shipped = testenv::binDir() + "/DOC-604-Rev3.pdf";
    window->OpenDocument(shipped);
    EXPECT_EQ(shell.opened, QStringList{shipped});
    EXPECT_EQ(shell.owner, window.data());
    EXPECT_TRUE(dialogs.messages.empty());
    shell.answer = false;
    window->OpenDocument(shipped);
    EXPECT_EQ(dialogs.messages, (Boxes{{Warning, "Error", "Failed to open '" + shipped + '\''}}));

    // The help files and the documents are shipped beside the program.
    const QDir bin(testenv::binDir());
    for (const char* name :
         {"BRIX_AutoDownloadHelp.txt", "BRIX_ClearHelp.txt", "BRIX_AircraftInfoHelp.txt",
          "BRIX_OtherFunctionsHelp.txt", "BRIX_UtilitiesHelp.txt"}) {
        QFile help(bin.filePath(QLatin1String(name)));
        ASSERT_TRUE(help.open(QIODevice::ReadOnly)) << name;
        EXPECT_GT(help.size(), 100) << name;
    }
    for (const char* name : {"DOC-604-Rev3.pdf", "releasenotes.pdf"}) {
        QFile pdf(bin.filePath(QLatin1String(name)));
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(pdf.read(5) == "%PDF-") << name;
        EXPECT_GT(pdf.size(), 10000) << name;
    }
}

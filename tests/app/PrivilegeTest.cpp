// Moving between the privilege levels (menu, login, inactivity and its bounds) and changing the
// password.
#include <QLineEdit>
#include <QTest>

#include "app/EventLoop.h"
#include "app/MainEvents.h"
#include "core/Clock.h"
#include "core/PasswordSettings.h"
#include "tests/app/MainWindowFixture.h"
#include "toolkit/KeyCodes.h"

using namespace tolm;

namespace {

class PrivilegeTest : public MainWindowFixture {
protected:
    static void typePassword(TolmAdminLoginDialog* login, const QString& text) {
        login->Get(QStringLiteral("PASSWORD")).SetText(text);
    }
    static void pressEnter(TolmAdminLoginDialog* login) {
        QTest::keyClick(login->Get(QStringLiteral("PASSWORD")).widget(), Qt::Key_Return);
    }
    static void click(TolmAdminLoginDialog* login, const char* button) {
        login->Get(QLatin1String(button)).as<QAbstractButton>()->click();
    }
};

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

}  // namespace

TEST_F(PrivilegeTest, ACancelledLoginLeavesFlightLineAndThePage) {
    open();
    toMainMenu();
    QPointer<ZafWindow> menu = window->CurrentPage();
    loginScripts.push_back([](TolmAdminLoginDialog* login) { click(login, "B_CANCEL"); });
    choose("PDI_PRIVILEGE~PUI_PRIV_ADMINISTRATOR");
    EXPECT_EQ(loginsShown, 1);
    EXPECT_EQ(privilegeLevel(), kLevelFlightLine);
    EXPECT_TRUE(item("PUI_PRIV_FLIGHTLINE").Selected());
    EXPECT_FALSE(item("PUI_PRIV_ADMINISTRATOR").Selected());
    EXPECT_FALSE(aircraftMenuEnabled());
    EXPECT_EQ(window->CurrentPage(), menu.data());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PrivilegeTest, AdministratorNeedsNoLoginAboveFlightLineAndFlightLineCloses) {
    for (const QStringList& arguments :
         {QStringList{"-l1", "-pvrkzt"}, QStringList{"-l0", "-pWQPD_MZTA"}}) {
        open(arguments);
        toMainMenu();
        QPointer<ZafWindow> menu = window->CurrentPage();
        choose("PDI_PRIVILEGE~PUI_PRIV_ADMINISTRATOR");
        EXPECT_EQ(loginsShown, 0);
        EXPECT_EQ(privilegeLevel(), kLevelAdministrator);
        EXPECT_TRUE(item("PUI_PRIV_ADMINISTRATOR").Selected());
        EXPECT_EQ(field("PRIVILEGE_LEVEL"), QStringLiteral("Administrator"));
        // Rebuilt only when the level changed (from the factory level).
        EXPECT_EQ(menu.isNull(), arguments.first() == QStringLiteral("-l0"));
        EXPECT_FALSE(onPage("B5").Disabled());

        choose("PDI_PRIVILEGE~PUI_PRIV_FLIGHTLINE");
        EXPECT_EQ(privilegeLevel(), kLevelFlightLine);
        EXPECT_EQ(field("PRIVILEGE_LEVEL"), QStringLiteral("Flight Line"));
        EXPECT_FALSE(aircraftMenuEnabled());
        EXPECT_FALSE(onPage("B5"));
        delete window.data();
    }
}

TEST_F(PrivilegeTest,
       InactivityOfMoreThanTheTimeOutRevertsOnceToFlightLineAndWarnsAfterTheRebuild) {
    ManualClock clock(QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0)));
    setClock(&clock);
    QSettings().setValue(QStringLiteral("PrivTimeout"), 60);
    open({QStringLiteral("-l1"), QStringLiteral("-pvrkzt")});
    toMainMenu();
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

    EXPECT_EQ(dialogs.messages, (Boxes{{MessageKind::Warning, "Privilege Level Change",
                                        "Reverting to Flight-Line level due to inactivity"}}));
    EXPECT_EQ(privilegeLevel(), kLevelFlightLine);
    EXPECT_TRUE(item("PUI_PRIV_FLIGHTLINE").Selected());
    EXPECT_FALSE(aircraftMenuEnabled());
    EXPECT_FALSE(before);
    EXPECT_EQ(pageWhenWarned, QStringLiteral("MenuWindow"));
    EXPECT_FALSE(onPage("B5"));
}

TEST_F(PrivilegeTest, ChangePasswordRefusesEveryBadEntryAndStoresNothing) {
    open();
    const struct {
        std::optional<QString> current;
        const char *password, *verify;
        int answer;
        const char* failure;  // nullptr: ends without a message
    } cases[] = {
        {std::nullopt, "", "", QDialog::Accepted, nullptr},
        {QStringLiteral("vrkzT"), "", "", QDialog::Accepted, "Incorrect password."},
        {QStringLiteral("vrkzt"), "", "", QDialog::Accepted, "Invalid password."},
        {QStringLiteral("vrkzt"), "new1", "new2", QDialog::Accepted, "Passwords don't match."},
        {QStringLiteral("vrkzt"), "new1", "new1", QDialog::Rejected, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failure ? c.failure : "silent");
        dialogs.clear();
        dialogs.textAnswers = {c.current};
        dialogs.formScripts = {
            passwordForm(QLatin1String(c.password), QLatin1String(c.verify), c.answer)};
        choose("PDI_PRIVILEGE~PUI_PRIV_CHANGE_PASSWD");
        EXPECT_EQ(dialogs.textInputTitles, QStringList{QStringLiteral("Change Password")});
        EXPECT_EQ(
            dialogs.messages,
            (c.failure ? Boxes{{MessageKind::Warning, "Change Password", QLatin1String(c.failure)}}
                       : Boxes{}));
        EXPECT_EQ(storedPassword(), QStringLiteral("vrkzt"));
    }
    // An empty answer never passes, even when the stored password is empty.
    QSettings().setValue(QStringLiteral("Password"), QString());
    dialogs.clear();
    dialogs.textAnswers = {QString()};
    choose("PDI_PRIVILEGE~PUI_PRIV_CHANGE_PASSWD");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("Incorrect password."));
}

TEST_F(PrivilegeTest, ANewPasswordIsStoredAndIsTheOnlyOneTheLoginAccepts) {
    open();
    toMainMenu();
    dialogs.textAnswers.push_back(QStringLiteral("vrkzt"));
    dialogs.formScripts.push_back(
        passwordForm(QStringLiteral("Hangar 7"), QStringLiteral("Hangar 7")));
    choose("PDI_PRIVILEGE~PUI_PRIV_CHANGE_PASSWD");
    EXPECT_EQ(
        dialogs.messages,
        (Boxes{{MessageKind::Information, "Change Password", "The password has been changed."}}));
    EXPECT_EQ(storedPassword(), QStringLiteral("Hangar 7"));  // the start options read it there

    // The old password is refused and the login stays open; the new one with OK is taken.
    dialogs.clear();
    loginScripts.push_back([this](TolmAdminLoginDialog* login) {
        dialogs.onMessage = [login](const ShownMessage&) {
            typePassword(login, QStringLiteral("Hangar 7"));
            click(login, "B_OK");
        };
        typePassword(login, QStringLiteral("vrkzt"));
        pressEnter(login);
    });
    choose("PDI_PRIVILEGE~PUI_PRIV_ADMINISTRATOR");
    dialogs.onMessage = nullptr;
    EXPECT_EQ(loginsShown, 1);
    EXPECT_EQ(dialogs.messages,
              (Boxes{{MessageKind::Critical, "Invalid password", "Invalid password"}}));
    EXPECT_EQ(privilegeLevel(), kLevelAdministrator);
    EXPECT_EQ(field("PRIVILEGE_LEVEL"), QStringLiteral("Administrator"));
    EXPECT_TRUE(aircraftMenuEnabled());
    EXPECT_EQ(pageName(), QStringLiteral("MenuWindow"));
    EXPECT_TRUE(onPage("B5"));
}

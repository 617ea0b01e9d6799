// Moving between the privilege levels (menu, login, inactivity) and changing the password.
#include <QLineEdit>
#include <QTest>

#include "app/EventLoop.h"
#include "app/MainEvents.h"
#include "core/Clock.h"
#include "core/PasswordSettings.h"
#include "tests/app/MainWindowFixture.h"
#include "toolkit/KeyCodes.h"

using namespace tolm;
using enum MessageKind;

namespace {

using PrivilegeTest = MainWindowFixture;

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

TEST_F(PrivilegeTest,
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

TEST_F(PrivilegeTest, ChangePasswordRefusesBadEntriesAndANewOneIsTheOnlyOneTheLoginAccepts) {
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
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.last().text, "Incorrect password.");
}

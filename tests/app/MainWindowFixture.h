#pragma once
// A main window built as the program builds it, a scripted user, and a simulated unit on loopback.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QPointer>
#include <QSettings>
#include <QTimer>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "app/BRIXWindow.h"
#include "app/Main.h"
#include "app/MainEvents.h"
#include "app/TolmAdminLoginDialog.h"
#include "core/Config.h"
#include "link/SocketApi.h"
#include "sim/UnitSimulator.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/UserPersist.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafStorage.h"
#include "toolkit/ZafWindowManager.h"

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        tolm::net::setLoopbackOnly(true);
        testenv::clearSettings();
        ASSERT_TRUE(sim.start());
        QSettings s;
        s.setValue(QStringLiteral("IP Address"), QStringLiteral("127.0.0.1"));
        s.setValue(QStringLiteral("Port"), sim.port());
        s.setValue(QStringLiteral("ConnectTimeout"), 1);
        tolm::BRIXWindow::SetStartupWait(0);
        zafApplication()->SetDefaultReader(&reader);
        tolm::setTolmResourceReader(&loginReader);
        // A login dialog that a test did not expect is cancelled, so that nothing hangs.
        loginWatch.setInterval(5);
        QObject::connect(&loginWatch, &QTimer::timeout, [this] {
            serveLogin();
            if (userStep) {
                userStep();
            }
        });
        loginWatch.start();
    }
    void TearDown() override {
        loginWatch.stop();
        delete window.data();
        testenv::pump();
        tolm::setTolmResourceReader(nullptr);
        zafApplication()->SetDefaultReader(nullptr);
        tolm::setPrivilegeLevel(tolm::kLevelFlightLine);
        EXPECT_EQ(unexpectedLogins, 0);
    }

    void open(const QStringList& arguments = {}) {
        window = new tolm::BRIXWindow(arguments);
        zafWindowManager()->Add(window);
        testenv::pump();
    }
    void openAsAdministrator() {
        open({"-l1", "-pvrkzt"});
        toMainMenu();
    }
    void press(int key) {
        zafEventManager()->Put(ZafEventStruct::rawKeyDown(key, window));
        testenv::pump();
    }
    // Chooses a pull-down menu item ("PDI_...~PUI_...") as the user would.
    void choose(const char* item) {
        QAction* action = window->Get(QLatin1String(item)).as<QAction>();
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
        testenv::pump();
    }
    void click(const char* button) {
        auto* b = onPage(button).as<QAbstractButton>();
        ASSERT_NE(b, nullptr) << button;
        b->click();
        testenv::pump();
    }
    void toMainMenu() {
        zafEventManager()->Put(ZafEventStruct(tolm::MainEvent::ShowMainMenu, nullptr, window));
        testenv::pump();
    }

    ZafObject item(const char* id) const { return window->Get(QLatin1String(id)); }
    ZafObject onPage(const char* id) const { return window->CurrentPage()->Get(QLatin1String(id)); }
    QString pageName() const {
        return window->CurrentPage() ? window->CurrentPage()->objectName() : QString();
    }
    QString field(const char* name) const {
        return window->statusBar().Field(QLatin1String(name)).Text();
    }
    bool aircraftMenuEnabled() const { return !item("PDI_AIRCRAFT_INFO").Disabled(); }
    // Puts `events` once while a link set-up's notice shows; `putMeanwhile` tells that it did.
    void putWhileWaiting(const std::vector<ZafEventStruct>& events) {
        dialogs.whileNoticeShown = [this, events] {
            if (!std::exchange(putMeanwhile, true)) {
                for (const ZafEventStruct& e : events) {
                    zafEventManager()->Put(e);
                }
            }
        };
    }

    // What to do with the next login dialog that shows up.
    std::deque<std::function<void(tolm::TolmAdminLoginDialog*)>> loginScripts;
    int loginsShown = 0;
    int unexpectedLogins = 0;
    bool putMeanwhile = false;
    // What the user at the keyboard does every 5 ms, e.g. F5 in a dialog once it has finished.
    std::function<void()> userStep;

    quorsim::UnitSimulator sim;
    FakeDialogs dialogs;
    ZafStorage storage{testenv::binDir() + QStringLiteral("/QUOR.znc")};
    UserPersist reader{&storage};
    ZafStorage loginStorage{testenv::binDir() + QStringLiteral("/Tolm.znc")};
    UserPersist loginReader{&loginStorage};
    QPointer<tolm::BRIXWindow> window;

private:
    void serveLogin() {
        auto* login = qobject_cast<tolm::TolmAdminLoginDialog*>(
            zafWindowManager()->Get(QStringLiteral("TolmAdminLoginDialog")));
        if (!login || !login->Running() || login == servedLogin) {
            return;
        }
        servedLogin = login;
        ++loginsShown;
        if (loginScripts.empty()) {
            ++unexpectedLogins;
            login->EndModal(S_CLOSE);
            return;
        }
        auto script = std::move(loginScripts.front());
        loginScripts.pop_front();
        script(login);
    }

    QTimer loginWatch;
    QPointer<tolm::TolmAdminLoginDialog> servedLogin;
};

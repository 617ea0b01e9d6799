// The event loop's inactivity check.
#include <gtest/gtest.h>

#include <QSettings>

#include "app/EventLoop.h"
#include "app/config/Clock.h"
#include "app/config/Config.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafWindow.h"
#include "toolkit/ZafWindowManager.h"

using namespace tolm;

namespace {

class CountingWindow : public ZafWindow {
public:
    ZafEventType Event(const ZafEventStruct& event) override {
        if (event.type == kInactivityRevertEvent) {
            ++reverts;
            setPrivilegeLevel(kLevelFlightLine);
        }
        return event.type == 99 ? S_EXIT : 0;
    }
    int reverts = 0;
};

class InactivityTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::clearSettings();
        setClock(&clock);
        window = new CountingWindow();
        zafWindowManager()->Add(window);
    }
    void TearDown() override {
        setClock(nullptr);
        setPrivilegeLevel(kLevelFlightLine);
        zafWindowManager()->Subtract(window);
        delete window;
        ZafEventStruct e;
        while (zafEventManager()->Get(e, ZafEventManager::Q_NO_WAIT) == 0) {
        }
    }
    // Puts one event and lets the loop handle it.
    void step(const ZafEventStruct& event) {
        zafEventManager()->Put(event);
        ZafEventType result = 0;
        while (loop.Step(ZafEventManager::Q_NO_WAIT, &result)) {
        }
    }

    ManualClock clock{QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0))};
    FakeDialogs dialogs;
    CountingWindow* window = nullptr;
    EventLoop loop{*zafEventManager(), *zafWindowManager()};
};

}  // namespace

TEST_F(InactivityTest, RevertsOnceAfterMoreThanTheTimeOutWithoutInput) {
    QSettings().setValue("PrivTimeout", 60);
    setPrivilegeLevel(kLevelAdministrator);
    loop.Start();
    step(ZafEventStruct::rawKeyDown(VK::F5));  // input at 09:00:00

    clock.advanceSeconds(60);
    step(ZafEventStruct(12345));  // exactly the time-out: not more
    EXPECT_EQ(window->reverts, 0);

    clock.advanceSeconds(1);
    step(ZafEventStruct(12345));
    EXPECT_EQ(window->reverts, 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.last().kind, MessageKind::Warning);
    EXPECT_EQ(dialogs.last().title, QStringLiteral("Privilege Level Change"));
    EXPECT_EQ(dialogs.last().text, QStringLiteral("Reverting to Flight-Line level due to inactivity"));

    clock.advanceSeconds(120);
    step(ZafEventStruct(12345));
    EXPECT_EQ(window->reverts, 1);  // the level is Flight Line now
}

TEST_F(InactivityTest, InputKeepsTheLevelAndFlightLineNeverReverts) {
    QSettings().setValue("PrivTimeout", 60);
    setPrivilegeLevel(kLevelFactory);
    loop.Start();
    for (int i = 0; i < 5; ++i) {
        clock.advanceSeconds(50);
        ZafEventStruct click(E_OSEVENT);
        click.message = WinMsg::LButtonDown;
        step(click);
    }
    EXPECT_EQ(window->reverts, 0);

    setPrivilegeLevel(kLevelFlightLine);
    clock.advanceSeconds(1000);
    step(ZafEventStruct(12345));
    EXPECT_EQ(window->reverts, 0);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(InactivityTest, LoopStartWritesTheDefaultTimeOutAndEndsOnExit) {
    EXPECT_FALSE(QSettings().contains("PrivTimeout"));
    zafEventManager()->Put(ZafEventStruct(99));
    EXPECT_EQ(loop.Run(), S_EXIT);
    EXPECT_EQ(QSettings().value("PrivTimeout").toInt(), 900);
}

// Start-up: the resource files and a whole run against the simulated unit.
#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "app/BRIXWindow.h"
#include "app/Main.h"
#include "link/SocketApi.h"
#include "sim/UnitSimulator.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafWindowManager.h"

using namespace tolm;

TEST(Startup, AMissingResourceFileEndsTheProgramWithItsMessageAWholeRunWithZero) {
    FakeDialogs dialogs;
    QTemporaryDir dir;
    EXPECT_EQ(RunProgram(*zafApplication(), dir.path()), 1);
    // Only the first of the two missing files.
    EXPECT_EQ(
        dialogs.messages,
        (Boxes{{MessageKind::Critical, "Error", dir.path() + "/Tolm.znc could not be found."}}));

    QFile::copy(testenv::binDir() + "/Tolm.znc", dir.filePath("Tolm.znc"));
    dialogs.clear();
    EXPECT_EQ(RunProgram(*zafApplication(), dir.path()), 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.last().text, dir.path() + "/QUOR.znc could not be found.");
    EXPECT_EQ(zafWindowManager()->Count(), 0);

    // A whole run connects, shows the pages and ends with zero.
    dialogs.clear();
    testenv::clearSettings();
    net::setLoopbackOnly(true);
    quorsim::UnitSimulator sim;
    ASSERT_TRUE(sim.start());
    QSettings().setValue("IP Address", "127.0.0.1");
    QSettings().setValue("Port", sim.port());
    BRIXWindow::SetStartupWait(0);
    QFile::copy(testenv::binDir() + "/QUOR.znc", dir.filePath("QUOR.znc"));
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

// Start-up: the resource files, the first main window and its pages, and a whole run.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "app/BRIXWindow.h"
#include "app/Main.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/TestEnvironment.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/UserPersist.h"
#include "toolkit/ZafApplication.h"
#include "toolkit/ZafEventManager.h"
#include "toolkit/ZafStorage.h"
#include "toolkit/ZafWindowManager.h"

using namespace tolm;

namespace {

QString copyResource(const QTemporaryDir& dir, const QString& name) {
    const QString target = dir.filePath(name);
    QFile::copy(testenv::binDir() + QLatin1Char('/') + name, target);
    return target;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        testenv::clearSettings();
        BRIXWindow::SetStartupWait(0);
        zafApplication()->SetDefaultReader(&reader);
        window = new BRIXWindow();
        zafWindowManager()->Add(window);
    }
    void TearDown() override {
        delete window.data();
        testenv::pump();
        zafApplication()->SetDefaultReader(nullptr);
    }
    void press(int key) {
        zafEventManager()->Put(ZafEventStruct::rawKeyDown(key, window));
        testenv::pump();
    }
    QString pageName() const { return window->CurrentPage() ? window->CurrentPage()->objectName() : QString(); }

    ZafStorage storage{testenv::binDir() + QStringLiteral("/QUOR.znc")};
    UserPersist reader{&storage};
    QPointer<BRIXWindow> window;
};

}  // namespace

TEST(Startup, AMissingResourceFileEndsTheProgramWithItsMessage) {
    FakeDialogs dialogs;
    QTemporaryDir dir;
    EXPECT_EQ(RunProgram(*zafApplication(), dir.path()), 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);  // only the first of the two missing files
    EXPECT_EQ(dialogs.last().kind, MessageKind::Critical);
    EXPECT_EQ(dialogs.last().title, QStringLiteral("Error"));
    EXPECT_EQ(dialogs.last().text, dir.path() + QStringLiteral("/Tolm.znc could not be found."));

    copyResource(dir, QStringLiteral("Tolm.znc"));
    dialogs.clear();
    EXPECT_EQ(RunProgram(*zafApplication(), dir.path()), 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.last().text, dir.path() + QStringLiteral("/QUOR.znc could not be found."));
    EXPECT_EQ(zafWindowManager()->Count(), 0);
}

TEST(Startup, AWholeRunShowsThePagesAndEndsWithZero) {
    FakeDialogs dialogs;
    testenv::clearSettings();
    BRIXWindow::SetStartupWait(0);
    QTemporaryDir dir;
    copyResource(dir, QStringLiteral("Tolm.znc"));
    copyResource(dir, QStringLiteral("QUOR.znc"));
    QStringList pages;
    // Once the loop runs (it writes the time-out when it starts): F5 on the title page, then Esc
    // on the main menu.
    std::function<void()> act = [&] {
        if (!QSettings().contains("PrivTimeout")) {
            QTimer::singleShot(10, act);
            return;
        }
        auto* main = static_cast<BRIXWindow*>(zafWindowManager()->Get(QStringLiteral("BRIXWindow")));
        ASSERT_NE(main, nullptr);
        pages << main->CurrentPage()->objectName();
        zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, main));
        QTimer::singleShot(0, [&, main] {
            pages << main->CurrentPage()->objectName();
            zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::Escape, main));
        });
    };
    QTimer::singleShot(0, act);
    EXPECT_EQ(RunProgram(*zafApplication(), dir.path()), 0);
    EXPECT_EQ(pages, (QStringList{QStringLiteral("TitleWindow"), QStringLiteral("MenuWindow")}));
    EXPECT_EQ(zafWindowManager()->Count(), 0);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(QSettings().value("PrivTimeout").toInt(), 900);
    EXPECT_EQ(tolmResourceReader(), nullptr);
}

TEST_F(MainWindowTest, TitlePageThenMainMenuByButtonOrKey) {
    EXPECT_EQ(pageName(), QStringLiteral("TitleWindow"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" TOLM for QUOR "));
    EXPECT_EQ(window->Get(QStringLiteral("PRIVILEGE_LEVEL")).Text(), QStringLiteral("Flight Line"));
    EXPECT_FALSE(window->Get(QStringLiteral("DATE")).Text().isEmpty());

    window->CurrentPage()->Get(QStringLiteral("B_CONTINUE")).as<QAbstractButton>()->click();
    testenv::pump();
    EXPECT_EQ(pageName(), QStringLiteral("MenuWindow"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" TOLM for QUOR  - Main Window"));
    // At Flight Line level the Utilities button is not on the page.
    EXPECT_FALSE(window->CurrentPage()->Get(QStringLiteral("B5")));
    EXPECT_EQ(window->CurrentPage()->Get(QStringLiteral("B4")).Text(), QStringLiteral("Plot (F8)"));
}

TEST_F(MainWindowTest, EachMainMenuIsANewPageAndTheOldOneIsDestroyed) {
    press(VK::F5);
    QPointer<ZafWindow> first = window->CurrentPage();
    window->ShowPage(QStringLiteral("TitleWindow"), QStringLiteral("Test"), QStringLiteral("HelpTest"));
    EXPECT_FALSE(first);
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" TOLM for QUOR  - Test"));
    EXPECT_EQ(window->Get(QStringLiteral("TOOL_BAR~B_BACK")).Text(), QStringLiteral("Back (Esc)"));
    press(VK::Escape);  // Esc on a page returns to the main menu
    EXPECT_EQ(pageName(), QStringLiteral("MenuWindow"));
    EXPECT_EQ(window->Get(QStringLiteral("TOOL_BAR~B_BACK")).Text(), QStringLiteral("Exit (Esc)"));
    EXPECT_TRUE(window);
}

TEST_F(MainWindowTest, EscOnTheMainMenuAndTheExitItemCloseTheWindow) {
    press(VK::F5);
    press(VK::Escape);
    EXPECT_FALSE(window);

    window = new BRIXWindow();
    zafWindowManager()->Add(window);
    window->Get(QStringLiteral("PDI_FILE~PUI_FILE_EXIT")).as<QAction>()->trigger();
    testenv::pump();
    EXPECT_FALSE(window);
}

TEST_F(MainWindowTest, TheDateTimerRunsAndStopsWithTheWindow) {
    ASSERT_NE(window->DateTimer(), nullptr);
    EXPECT_TRUE(window->DateTimer()->Active());
    EXPECT_EQ(window->DateTimer()->Interval(), 100);
    window->Get(QStringLiteral("DATE")).SetText(QString());
    window->DateTimer()->Tick();
    EXPECT_FALSE(window->Get(QStringLiteral("DATE")).Text().isEmpty());
}

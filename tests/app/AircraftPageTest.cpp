// The aircraft page in the main window: opened with F6 from the main menu, showing the last
// aircraft, asking before an edit is lost, saving with F5 or its button, Esc back to the menu.
#include "tests/app/MainWindowFixture.h"
#include "tests/register/AircraftStore.h"
#include "toolkit/KeyCodes.h"

using namespace tolm;

namespace {

class AircraftPage : public MainWindowFixture {
protected:
    void openPage() {
        open();
        toMainMenu();
        press(VK::F6);
        ASSERT_EQ(pageName(), QStringLiteral("AircraftInfo"));
    }
    void pick(const char* box, const char* text) {
        ::choose(onPage(box), QLatin1String(text));
        testenv::pump();
    }
};

}  // namespace

TEST_F(AircraftPage, OpensOnTheLastAircraftShowingABadSerAsZeroThatASaveWrites) {
    put(QStringLiteral("A-1"));
    put(QStringLiteral("B-2"), QStringLiteral("12-345"), QString());
    QSettings().setValue(QStringLiteral("LastAircraft"), QStringLiteral("B-2"));
    openPage();
    EXPECT_EQ(window->windowTitle(), QStringLiteral(" TOLM for QUOR  - Aircraft Information"));
    EXPECT_TRUE(onPage("TextArea").Text().startsWith(QStringLiteral("First make the selection")));
    EXPECT_EQ(onPage("TAIL_NUMBER").Text(), QStringLiteral("B-2"));
    EXPECT_EQ(onPage("T_COMMENTS").Text(), QStringLiteral("comments of B-2"));
    EXPECT_EQ(onPage("G_ENGINE2~TYPE").ItemCount(), 2);
    EXPECT_EQ(onPage("G_ENGINE1~SN").Text(), QStringLiteral("0"));
    EXPECT_EQ(onPage("G_ENGINE2~INSTALL_DATE").Text(), QStringLiteral("2008-02-01"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("Invalid engine 1 SER detected (12-345).\n\n"
                                                  "Please enter a new engine SER."));
    press(VK::F5);
    EXPECT_EQ(storedRecord(QStringLiteral("B-2")).engine(0).ser(), QStringLiteral("0"));
    EXPECT_EQ(storedRecord(QStringLiteral("B-2")).engine(1).ser(), QString());  // untouched
    press(VK::Escape);
    EXPECT_EQ(pageName(), QStringLiteral("MenuWindow"));
}

TEST_F(AircraftPage, ChoosingAnotherAircraftAfterAnEditAsksToSave) {
    put(QStringLiteral("A-1"));
    put(QStringLiteral("B-2"));
    openPage();
    onPage("G_ENGINE1~INSTALL_DATE").SetText(QStringLiteral("edited"));
    dialogs.questionAnswers = {QMessageBox::No};
    pick("TAIL_NUMBER", "B-2");
    EXPECT_EQ(dialogs.messages, (Boxes{{MessageKind::Question, "Save", "Save Changes"}}));
    EXPECT_EQ(storedRecord(QStringLiteral("A-1")).engine(0).installDate(),
              QStringLiteral("2008-01-01"));
    EXPECT_EQ(onPage("T_COMMENTS").Text(), QStringLiteral("comments of B-2"));
    EXPECT_EQ(onPage("G_ENGINE1~INSTALL_DATE").Text(), QStringLiteral("2008-01-01"));
    EXPECT_EQ(QSettings().value(QStringLiteral("LastAircraft")).toString(), QStringLiteral("B-2"));

    onPage("G_ENGINE2~SN").SetText(QStringLiteral("4711"));
    dialogs.questionAnswers = {QMessageBox::Yes};
    pick("TAIL_NUMBER", "A-1");
    EXPECT_EQ(storedRecord(QStringLiteral("B-2")).engine(1).ser(), QStringLiteral("4711"));
    EXPECT_EQ(onPage("T_COMMENTS").Text(), QStringLiteral("comments of A-1"));
}

TEST_F(AircraftPage, F5StoresWithoutAskingNothingWithoutEditsAndATypeChosenIsCopied) {
    put(QStringLiteral("A-1"), QStringLiteral("001234"));
    openPage();
    // The options change elsewhere meanwhile; a save without edits must not undo that.
    AircraftRecord elsewhere = storedRecord(QStringLiteral("A-1"));
    EngineRecord e = elsewhere.engine(0);
    e.setOption(EngineOption::EraseBearingData, true);
    elsewhere.setEngine(0, e);
    QSettings().setValue(QStringLiteral("AircraftInfo/A-1"), elsewhere.toByteArray());
    press(VK::F5);
    EXPECT_EQ(storedRecord(QStringLiteral("A-1")), elsewhere);

    onPage("T_COMMENTS").SetText(QStringLiteral("new comments"));
    onPage("G_ENGINE2~TYPE").SetText(QStringLiteral("CF6-80"));
    onPage("B_SAVE").as<QAbstractButton>()->click();
    testenv::pump();
    EXPECT_TRUE(dialogs.messages.empty());
    const AircraftRecord saved = storedRecord(QStringLiteral("A-1"));
    EXPECT_EQ(saved.comments(), QStringLiteral("new comments"));
    EXPECT_EQ(saved.engine(1).type(), QStringLiteral("CF6-80"));
    EXPECT_EQ(saved.engine(0).ser(), QStringLiteral("001234"));  // untouched: kept as stored

    // Taking an edit back after a save is an edit too.
    onPage("T_COMMENTS").SetText(QStringLiteral("comments of A-1"));
    press(VK::F5);
    EXPECT_EQ(storedRecord(QStringLiteral("A-1")).comments(), QStringLiteral("comments of A-1"));

    // A type chosen for one engine is copied to the other, and stored only with the next save.
    pick("G_ENGINE1~TYPE", "CFM56-7");
    EXPECT_EQ(onPage("G_ENGINE2~TYPE").Text(), QStringLiteral("CFM56-7"));
    pick("G_ENGINE2~TYPE", "CFM56-3");
    EXPECT_EQ(onPage("G_ENGINE1~TYPE").Text(), QStringLiteral("CFM56-3"));
    EXPECT_EQ(storedRecord(QStringLiteral("A-1")).engine(1).type(), QStringLiteral("CF6-80"));
}

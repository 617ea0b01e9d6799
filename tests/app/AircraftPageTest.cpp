// The aircraft page in the main window: F6 from the main menu, edits, saves, Esc back.
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
        ASSERT_EQ(pageName(), "AircraftInfo");
    }
    void pick(const char* box, const char* text) {
        ::choose(onPage(box), QLatin1String(text));
        testenv::pump();
    }
};

}  // namespace

TEST_F(AircraftPage, OpensOnTheLastAircraftShowingABadSerAsZeroThatASaveWrites) {
    put("A-1");
    put("B-2", "12-345", QString());
    QSettings().setValue("LastAircraft", "B-2");
    openPage();
    EXPECT_EQ(window->windowTitle(), " TOLM for QUOR  - Aircraft Information");
    EXPECT_TRUE(onPage("TextArea").Text().startsWith("First make the selection"));
    EXPECT_EQ(onPage("TAIL_NUMBER").Text(), "B-2");
    EXPECT_EQ(onPage("T_COMMENTS").Text(), "comments of B-2");
    EXPECT_EQ(onPage("G_ENGINE2~TYPE").ItemCount(), 2);
    EXPECT_EQ(onPage("G_ENGINE1~SN").Text(), "0");
    EXPECT_EQ(onPage("G_ENGINE2~INSTALL_DATE").Text(), "2008-02-01");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.last().text,
              "Invalid engine 1 SER detected (12-345).\n\nPlease enter a new engine SER.");
    press(VK::F5);
    EXPECT_EQ(storedRecord("B-2").engine(0).ser(), "0");
    EXPECT_EQ(storedRecord("B-2").engine(1).ser(), QString());  // untouched
    press(VK::Escape);
    EXPECT_EQ(pageName(), "MenuWindow");
}

TEST_F(AircraftPage, F5StoresWithoutAskingATypeChosenIsCopiedAndAnotherAircraftAsksToSave) {
    put("A-1", "001234");
    put("B-2");
    openPage();
    // The options change elsewhere meanwhile; a save without edits must not undo that.
    AircraftRecord elsewhere = storedRecord("A-1");
    EngineRecord e = elsewhere.engine(0);
    e.setOption(EngineOption::EraseBearingData, true);
    elsewhere.setEngine(0, e);
    QSettings().setValue("AircraftInfo/A-1", elsewhere.toByteArray());
    press(VK::F5);
    EXPECT_EQ(storedRecord("A-1"), elsewhere);

    onPage("T_COMMENTS").SetText("new comments");
    onPage("G_ENGINE2~TYPE").SetText("CF6-80");
    click("B_SAVE");
    EXPECT_TRUE(dialogs.messages.empty());
    const AircraftRecord saved = storedRecord("A-1");
    EXPECT_EQ(saved.comments(), "new comments");
    EXPECT_EQ(saved.engine(1).type(), "CF6-80");
    EXPECT_EQ(saved.engine(0).ser(), "001234");  // untouched: kept as stored

    // Taking an edit back after a save is an edit too.
    onPage("T_COMMENTS").SetText("comments of A-1");
    press(VK::F5);
    EXPECT_EQ(storedRecord("A-1").comments(), "comments of A-1");

    // A type chosen for one engine is copied to the other, and stored only with the next save.
    pick("G_ENGINE1~TYPE", "CFM56-7");
    EXPECT_EQ(onPage("G_ENGINE2~TYPE").Text(), "CFM56-7");
    pick("G_ENGINE2~TYPE", "CFM56-3");
    EXPECT_EQ(onPage("G_ENGINE1~TYPE").Text(), "CFM56-3");
    EXPECT_EQ(storedRecord("A-1").engine(1).type(), "CF6-80");

    // Choosing another aircraft after an edit asks to save.
    onPage("G_ENGINE1~INSTALL_DATE").SetText("edited");
    dialogs.questionAnswers = {QMessageBox::No};
    pick("TAIL_NUMBER", "B-2");
    EXPECT_EQ(dialogs.messages, (Boxes{{MessageKind::Question, "Save", "Save Changes"}}));
    EXPECT_EQ(storedRecord("A-1").engine(0).installDate(), "2008-01-01");
    EXPECT_EQ(onPage("T_COMMENTS").Text(), "comments of B-2");
    EXPECT_EQ(onPage("G_ENGINE1~INSTALL_DATE").Text(), "2008-01-01");
    EXPECT_EQ(QSettings().value("LastAircraft").toString(), "B-2");

    onPage("G_ENGINE2~SN").SetText("4711");
    dialogs.questionAnswers = {QMessageBox::Yes};
    pick("TAIL_NUMBER", "A-1");
    EXPECT_EQ(storedRecord("B-2").engine(1).ser(), "4711");
    EXPECT_EQ(onPage("T_COMMENTS").Text(), "comments of A-1");
}

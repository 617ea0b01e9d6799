// The aircraft page as the main window runs it: the page shown in an info area, its events and
// hot keys handled as the main window's handler does.
#include <QAbstractButton>

#include "register/TolmAircraftCommands.h"
#include "tests/register/RegisterFixture.h"
#include "toolkit/KeyCodes.h"

using namespace tolm;

namespace {

// Stands in for the main window: shows pages and hands the register's events to the commands.
class HostWindow : public ZafWindow {
public:
    ZafWindow* ShowPage(const QString& name, const QString& subtitle, const QString&) {
        delete page;
        page = new ZafWindow(name);
        Object().Add(page);
        SetTitle(subtitle);
        hotKeys = {{VK::Escape, 10001}};
        return page;
    }
    ZafEventType Event(const ZafEventStruct& event) override {
        if (event.isRawKeyDown() && hotKeys.value(event.key) != 0) {
            return Event(ZafEventStruct(hotKeys.value(event.key), event.source, this));
        }
        switch (event.type) {
            case 10005:
                if (commands.OpenAircraftPage(
                        [this](const QString& n, const QString& s, const QString& h) {
                            return ShowPage(n, s, h);
                        })) {
                    hotKeys.insert(TolmAircraftCommands::PageHotKeys());
                }
                return 0;
            case 10010:
                return commands.SaveAircraftPage();
            case 10017:
                return commands.AircraftChosen();
            case 10031:
                return commands.EngineTypeChosen(event);
            default:
                return ZafWindow::Event(event);
        }
    }
    TolmAircraftCommands commands;
    QPointer<ZafWindow> page;
    QMap<int, ZafEventType> hotKeys;
};

class Page : public RegisterTest {
protected:
    void open() {
        zafWindowManager()->Add(&host);
        host.Event(ZafEventStruct(10005));
        ASSERT_TRUE(host.page);
    }
    ZafObject get(const char* id) const { return host.page->Get(QLatin1String(id)); }
    void key(int vk) {
        press(vk, host.page);
        testenv::pump();
    }
    void pick(const char* list, const char* item) {
        choose(get(list), QLatin1String(item));
        testenv::pump();
    }
    HostWindow host;
};

}  // namespace

TEST_F(Page, OpensOnTheLastAircraftShowingABadSerAsZeroThatASaveWrites) {
    put(QStringLiteral("A-1"));
    put(QStringLiteral("B-2"), QStringLiteral("12-345"), QString());
    QSettings().setValue(QStringLiteral("LastAircraft"), QStringLiteral("B-2"));
    open();
    EXPECT_EQ(host.Title(), QStringLiteral("Aircraft Information"));
    EXPECT_EQ(get("TAIL_NUMBER").Text(), QStringLiteral("B-2"));
    EXPECT_EQ(get("T_COMMENTS").Text(), QStringLiteral("comments of B-2"));
    EXPECT_EQ(get("G_ENGINE2~TYPE").ItemCount(), 2);
    EXPECT_EQ(get("G_ENGINE1~SN").Text(), QStringLiteral("0"));
    EXPECT_EQ(get("G_ENGINE2~INSTALL_DATE").Text(), QStringLiteral("2008-02-01"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.last().text, QStringLiteral("Invalid engine 1 SER detected (12-345).\n\n"
                                                  "Please enter a new engine SER."));
    key(VK::F5);
    EXPECT_EQ(storedRecord(QStringLiteral("B-2")).engine(0).ser(), QStringLiteral("0"));
    EXPECT_EQ(storedRecord(QStringLiteral("B-2")).engine(1).ser(), QString());  // untouched
}

TEST_F(Page, ChoosingAnotherAircraftAfterAnEditAsksToSave) {
    put(QStringLiteral("A-1"));
    const AircraftRecord b = put(QStringLiteral("B-2"));
    open();
    get("G_ENGINE1~INSTALL_DATE").SetText(QStringLiteral("edited"));
    dialogs.questionAnswers = {QMessageBox::No};
    pick("TAIL_NUMBER", "B-2");
    EXPECT_EQ(lastBox(), std::make_tuple(MessageKind::Question, QStringLiteral("Save"),
                                         QStringLiteral("Save Changes")));
    EXPECT_EQ(storedRecord(QStringLiteral("A-1")).engine(0).installDate(),
              QStringLiteral("2008-01-01"));
    EXPECT_EQ(host.commands.Page().Record(), b);
    EXPECT_EQ(get("T_COMMENTS").Text(), QStringLiteral("comments of B-2"));
    EXPECT_EQ(setting("LastAircraft"), QStringLiteral("B-2"));

    get("G_ENGINE2~SN").SetText(QStringLiteral("4711"));
    dialogs.questionAnswers = {QMessageBox::Yes};
    pick("TAIL_NUMBER", "A-1");
    EXPECT_EQ(storedRecord(QStringLiteral("B-2")).engine(1).ser(), QStringLiteral("4711"));
    EXPECT_EQ(host.commands.Page().Record().identifier(), QStringLiteral("A-1"));
}

TEST_F(Page, F5StoresWithoutAskingAndNothingWithoutEdits) {
    put(QStringLiteral("A-1"), QStringLiteral("001234"));
    open();
    // The options change elsewhere meanwhile; a save without edits must not undo that.
    AircraftRecord elsewhere = storedRecord(QStringLiteral("A-1"));
    EngineRecord e = elsewhere.engine(0);
    e.setOption(EngineOption::EraseBearingData, true);
    elsewhere.setEngine(0, e);
    QSettings().setValue(QStringLiteral("AircraftInfo/A-1"), elsewhere.toByteArray());
    key(VK::F5);
    EXPECT_EQ(storedRecord(QStringLiteral("A-1")), elsewhere);

    get("T_COMMENTS").SetText(QStringLiteral("new comments"));
    get("G_ENGINE2~TYPE").SetText(QStringLiteral("CF6-80"));
    get("B_SAVE").as<QAbstractButton>()->click();
    testenv::pump();
    EXPECT_TRUE(dialogs.messages.empty());
    const AircraftRecord saved = storedRecord(QStringLiteral("A-1"));
    EXPECT_EQ(saved.comments(), QStringLiteral("new comments"));
    EXPECT_EQ(saved.engine(1).type(), QStringLiteral("CF6-80"));
    EXPECT_EQ(saved.engine(0).ser(), QStringLiteral("001234"));  // untouched: kept as stored

    // Taking an edit back after a save is an edit too.
    get("T_COMMENTS").SetText(QStringLiteral("comments of A-1"));
    key(VK::F5);
    EXPECT_EQ(storedRecord(QStringLiteral("A-1")).comments(), QStringLiteral("comments of A-1"));
}

TEST_F(Page, AnEngineTypeChosenForOneEngineIsCopiedToTheOther) {
    put(QStringLiteral("A-1"));
    open();
    const QByteArray before = stored(QStringLiteral("A-1"));
    pick("G_ENGINE1~TYPE", "CFM56-7");
    EXPECT_EQ(get("G_ENGINE2~TYPE").Text(), QStringLiteral("CFM56-7"));
    pick("G_ENGINE2~TYPE", "CFM56-3");
    EXPECT_EQ(get("G_ENGINE1~TYPE").Text(), QStringLiteral("CFM56-3"));
    EXPECT_EQ(get("G_ENGINE2~TYPE").Text(), QStringLiteral("CFM56-3"));
    EXPECT_EQ(stored(QStringLiteral("A-1")), before);  // chosen, not saved
}

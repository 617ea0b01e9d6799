// Events: dispatching and closing, modal runs, timers, the notice usable over a modal run, and
// the two program classes: help buttons and groups that do not wrap around. That timers tick
// during a modal run, the download dialog shows as it runs to its end.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/BRIXButton.h"
#include "toolkit/BRIXGroup.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/UserDialogs.h"
#include "toolkit/ZafTimer.h"

namespace {

// A window or dialog that records what it receives (keys as their negative codes) and answers
// from a script; what the script answers with S_UNKNOWN goes on to the toolkit's handling.
template <class Base>
class Scripted : public Base {
public:
    explicit Scripted(const QString& name = QString()) : Base(name) {}
    ZafEventType Event(const ZafEventStruct& event) override {
        if (!event.isRaw() || event.isRawKeyDown()) {
            received.push_back(event.isRaw() ? -event.key : event.type);
        }
        if (const ZafEventType r = answer ? answer(event) : S_UNKNOWN; r != S_UNKNOWN) {
            return r;
        }
        return Base::Event(event);
    }
    bool QueryClose() override { return mayClose; }
    std::vector<int> received;
    std::function<ZafEventType(const ZafEventStruct&)> answer;
    bool mayClose = true;
};
using RecordingWindow = Scripted<ZafWindow>;
using ScriptedDialog = Scripted<ZafDialogWindow>;

ZafWindowManager& windows() {
    return *zafWindowManager();
}

class GroupTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        window = new ZafWindow("GroupWindow");
        zafWindowManager()->Add(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    QWidget* widget(const char* name) const { return window->Get(QLatin1String(name)).widget(); }
    QWidget* focusAfter(const char* start, ZafEventType move, const char* group) {
        widget(start)->setFocus();
        auto* g = window->Get(QLatin1String(group)).as<ZafGroup>();
        lastResult = g->Event(ZafEventStruct(move));
        return QApplication::focusWidget();
    }
    ZafWindow* window = nullptr;
    ZafEventType lastResult = 0;
};

}  // namespace

// Keys and clicks count as input for the inactivity check; Return and the arrows, the logical
// moves of fields and groups, are checked where those use them.
TEST(EventClassification, InputTypesAndLogicalCodes) {
    ZafEventStruct key = ZafEventStruct::rawKeyDown(VK::F5);
    EXPECT_EQ(key.InputType(), E_KEY);
    key.message = WinMsg::SysKeyUp;
    EXPECT_EQ(key.InputType(), E_KEY);
    ZafEventStruct mouse(E_OSEVENT);
    mouse.message = 0x00A1;  // non-client button down
    EXPECT_EQ(mouse.InputType(), E_MOUSE);
    ZafEventStruct tick(E_OSEVENT);
    tick.message = WinMsg::Timer;
    EXPECT_EQ(tick.InputType(), 0);
    EXPECT_EQ(ZafEventStruct(10004).InputType(), 0);

    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F9), 120);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_A), 'A');
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_5, true), 101);
}

TEST_F(ToolkitTest, KeysNoObjectTookAndButtonsReachTheirWindow) {
    auto* window = new RecordingWindow("LookupWindow");
    windows().Add(window);
    auto* field = window->Get("FIELD").as<QLineEdit>();
    QTest::keyClick(field, Qt::Key_X);   // typed into the field
    QTest::keyClick(field, Qt::Key_F5);  // the field does not use it
    QTest::keyClick(field, Qt::Key_Escape);
    testenv::pump();
    EXPECT_EQ(field->text(), "x");
    EXPECT_EQ(window->received, (std::vector<int>{-116, -27}));

    // Buttons send their event to their window or the one enclosing it.
    auto* outer = new RecordingWindow();
    auto* inner = new ZafWindow("LookupWindow");
    outer->Object().Add(inner);
    windows().Add(outer);  // front window, but not the first button's
    window->Get("B_SEND").as<QAbstractButton>()->click();
    testenv::pump();
    EXPECT_EQ(window->received, (std::vector<int>{-116, -27, 12345}));
    EXPECT_TRUE(outer->received.empty());
    inner->Get("B_SEND").as<QAbstractButton>()->click();
    testenv::pump();
    EXPECT_EQ(outer->received, std::vector<int>{12345});

    // An event for an object that is gone is dropped.
    QObject* gone = new QObject(window);
    ZafEventStruct late(4711, nullptr, gone);
    delete gone;
    EXPECT_EQ(windows().Event(late), S_UNKNOWN);
    EXPECT_EQ(window->received, (std::vector<int>{-116, -27, 12345}));
}

TEST_F(ToolkitTest, UnknownEventsGoToTheWindowsBehindAndCloseAsksRemovesAndDestroysAfterwards) {
    QPointer<RecordingWindow> first = new RecordingWindow();
    QPointer<RecordingWindow> second = new RecordingWindow();
    first->setObjectName("First");
    windows().Add(first);
    windows().Add(second);
    EXPECT_EQ(windows().Get("First"), first.data());

    // Unknown application events are offered to the windows behind.
    first->answer = [](const ZafEventStruct& e) { return e.type == 10020 ? 0 : S_UNKNOWN; };
    EXPECT_EQ(windows().Event(ZafEventStruct(10020)), 0);
    EXPECT_EQ(first->received, std::vector<int>{10020});
    EXPECT_EQ(second->received, std::vector<int>{10020});

    second->mayClose = false;
    EXPECT_NE(windows().Event(ZafEventStruct(S_CLOSE, nullptr, second)), S_NO_WINDOW);
    EXPECT_TRUE(second);
    EXPECT_TRUE(windows().Contains(second));

    second->mayClose = true;
    EXPECT_NE(windows().Event(ZafEventStruct(S_CLOSE, nullptr, second)), S_NO_WINDOW);
    EXPECT_FALSE(second);
    EXPECT_EQ(windows().Event(ZafEventStruct(S_CLOSE)), S_NO_WINDOW);  // goes to the front window
    EXPECT_FALSE(first);
    EXPECT_EQ(windows().Count(), 0);
    EXPECT_EQ(windows().Event(ZafEventStruct(10000)), S_NO_WINDOW);

    // A window closing inside its own handler is destroyed afterwards.
    QPointer<RecordingWindow> window = new RecordingWindow();
    windows().Add(window);
    window->answer = [&](const ZafEventStruct& e) {
        if (e.type == 10000) {
            // Like a hot key: the handler passes a close to itself and carries on.
            const ZafEventType r = window->Event(ZafEventStruct(S_CLOSE));
            EXPECT_TRUE(window);
            window->setObjectName("still here");
            return r;
        }
        return S_UNKNOWN;
    };
    EXPECT_EQ(windows().Event(ZafEventStruct(10000)), S_NO_WINDOW);
    EXPECT_FALSE(window);
}

TEST_F(ToolkitTest, ModalRunEndsOnAResultOtherThanContinueOkCloseBoxRemovalOrExit) {
    ZafEventManager& events = *zafEventManager();
    ScriptedDialog dialog("PlainDialog");
    const auto click = [&dialog](const char* button) {
        dialog.Get(QLatin1String(button)).as<QAbstractButton>()->click();
    };
    dialog.answer = [&](const ZafEventStruct& e) {
        if (e.type == 777) {  // a long operation that pumps events itself while OK is pressed
            click("B_OK");
            testenv::pump();
            return S_CONTINUE;
        }
        return e.type == 10 ? S_CONTINUE : e.type == 20 ? 4242 : S_UNKNOWN;
    };
    events.Put(ZafEventStruct(10, nullptr, &dialog));  // handled, keeps running
    events.Put(ZafEventStruct(30, nullptr, &dialog));  // not known: keeps running
    events.Put(ZafEventStruct(20, nullptr, &dialog));  // ends it
    events.Put(ZafEventStruct(40, nullptr, &dialog));  // never seen
    EXPECT_EQ(dialog.RunModal(), 4242);
    EXPECT_EQ(dialog.received, (std::vector<int>{10, 30, 20}));
    EXPECT_FALSE(windows().Contains(&dialog));
    EXPECT_FALSE(dialog.Running());
    EXPECT_EQ(drain(), std::vector<ZafEventType>{40});

    QTimer::singleShot(0, [&] { click("B_OK"); });
    EXPECT_EQ(dialog.RunModal(), S_DIALOG_OK);
    // The OK pressed in another loop still ends the run once the operation returns.
    QTimer::singleShot(0, [&] { click("B_OTHER"); });
    EXPECT_EQ(dialog.RunModal(), S_DIALOG_OK);

    // System-range events go to the dialog even without a target.
    events.Put(ZafEventStruct(S_DIALOG_OK));
    EXPECT_EQ(dialog.RunModal(), S_DIALOG_OK);

    // The window system's close box ends it, not with OK.
    QTimer::singleShot(0, [&] { dialog.close(); });
    EXPECT_EQ(dialog.RunModal(), S_CLOSE);

    QTimer::singleShot(0, [&] { windows().Subtract(&dialog); });
    EXPECT_EQ(dialog.RunModal(), S_CLOSE);

    events.Put(ZafEventStruct(S_EXIT));
    EXPECT_EQ(dialog.RunModal(), S_EXIT);
    EXPECT_EQ(drain(), std::vector<ZafEventType>{S_EXIT});  // handed on to the loops outside
}

TEST_F(ToolkitTest, TimerSkipsARecipientStillBusyWithTheLastTick) {
    RecordingWindow recipient;
    ZafTimer timer(100, 10000);
    timer.Add(&recipient);
    int nested = 0;
    recipient.answer = [&](const ZafEventStruct&) {
        if (nested++ == 0) {
            timer.Tick();  // as when a message box inside the handler lets the timer fire
        }
        return 0;
    };
    timer.Tick();
    EXPECT_EQ(recipient.received.size(), 1u);
    timer.Subtract(&recipient);
    timer.Tick();
    EXPECT_EQ(recipient.received.size(), 1u);
}

// The connection set-up shows its notice while a modal dialog (the erase dialog) runs: the
// notice's Abort must take the click, not the dialog that was modal before it.
TEST_F(ToolkitTest, TheAbortableNoticeTakesItsClickOverAModalDialog) {
    QDialog modal;
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&modal));
    const std::unique_ptr<AbortableNotice> notice =
        userDialogs().showAbortable(" TOLM for QUOR ", "Establishing connection...", "Abort");
    QPushButton* abort = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
            for (QAbstractButton* b : box->buttons()) {
                abort = qobject_cast<QPushButton*>(b);
            }
        }
    }
    ASSERT_NE(abort, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(abort->window()));
    EXPECT_EQ(QApplication::activeModalWidget(), abort->window());
    QTest::mouseClick(abort, Qt::LeftButton);
    EXPECT_TRUE(notice->aborted());
}

// A BRIXGroup stops at both ends, also under the arrow keys; a plain group wraps around.
TEST_F(GroupTest, ArrowMovesStopAtTheEndsOfABrixGroupWrapInAPlainOneAndSpareFields) {
    EXPECT_EQ(focusAfter("C3", L_NEXT, "G_STOPS"), widget("C3"));
    EXPECT_EQ(lastResult, S_UNKNOWN);
    EXPECT_EQ(focusAfter("C1", L_PREVIOUS, "G_STOPS"), widget("C1"));
    EXPECT_EQ(lastResult, S_UNKNOWN);
    EXPECT_EQ(focusAfter("C1", L_NEXT, "G_STOPS"), widget("C2"));
    EXPECT_EQ(focusAfter("C3", L_PREVIOUS, "G_STOPS"), widget("C2"));
    EXPECT_EQ(focusAfter("W3", L_NEXT, "G_WRAPS"), widget("W1"));
    EXPECT_EQ(focusAfter("W1", L_PREVIOUS, "G_WRAPS"), widget("W3"));

    widget("C3")->setFocus();
    QTest::keyClick(widget("C3"), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), widget("C3"));
    QTest::keyClick(widget("C3"), Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), widget("C2"));

    // Fields in a group keep the arrow keys that move their cursor.
    auto* group = new ZafGroup(window);
    window->layout()->addWidget(group);
    auto* edit = new QLineEdit("abc", group);
    auto* number = new QSpinBox(group);
    auto* text = new QPlainTextEdit("one\ntwo", group);
    group->show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(edit->cursorPosition(), 2);
    QTest::keyClick(edit, Qt::Key_Down);  // the group's move, as in a group of check boxes
    EXPECT_EQ(QApplication::focusWidget(), number);
    QTest::keyClick(number, Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), number);

    text->setFocus();
    QTest::keyClick(text, Qt::Key_Down);
    QTest::keyClick(text, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), text);
    EXPECT_EQ(text->textCursor().blockNumber(), 0);
    delete group;
}

TEST_F(GroupTest, HelpButtonShowsItsFileAndHidesTheTargetWhenTheFileIsMissing) {
    auto* button = window->Get("B_HELP").as<BRIXButton>();
    ASSERT_NE(button, nullptr);
    ZafObject target = window->Get("HELP_TEXT");
    const QString name =
        QStringLiteral("toolkit-test-help-%1.txt").arg(QCoreApplication::applicationPid());
    const QString path = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Downloads the bearing data.\n");
    file.close();

    button->SetHelpFile(target, name);
    button->Event(ZafEventStruct(S_CURRENT));
    EXPECT_EQ(target.Text(), "Downloads the bearing data.\n");
    EXPECT_TRUE(target.Visible());
    EXPECT_EQ(button->HighlightNormal(), (ZafPaletteEntry{7, 254}));
    button->Event(ZafEventStruct(S_NON_CURRENT));
    EXPECT_EQ(button->HighlightNormal(), (ZafPaletteEntry{253, 254}));

    QFile::remove(path);
    button->Event(ZafEventStruct(S_CURRENT_2));
    EXPECT_FALSE(target.Visible());  // no old text left showing

    // The focus itself makes the button current.
    ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
    widget("C1")->setFocus();
    button->setFocus();
    EXPECT_TRUE(target.Visible());
    EXPECT_EQ(target.Text(), QString());
    QFile::remove(path);
}

// The two program classes of the toolkit: help buttons and groups that do not wrap around.
#include <QApplication>
#include <QFile>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>

#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/BRIXButton.h"
#include "toolkit/BRIXGroup.h"

namespace {

class GroupTest : public ToolkitTest {
protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        window = new ZafWindow(QStringLiteral("GroupWindow"));
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
    auto* edit = new QLineEdit(QStringLiteral("abc"), group);
    auto* number = new QSpinBox(group);
    auto* text = new QPlainTextEdit(QStringLiteral("one\ntwo"), group);
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
    auto* button = window->Get(QStringLiteral("B_HELP")).as<BRIXButton>();
    ASSERT_NE(button, nullptr);
    ZafObject target = window->Get(QStringLiteral("HELP_TEXT"));
    const QString name =
        QStringLiteral("toolkit-test-help-%1.txt").arg(QCoreApplication::applicationPid());
    const QString path = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Downloads the bearing data.\n");
    file.close();

    button->SetHelpFile(target, name);
    button->Event(ZafEventStruct(S_CURRENT));
    EXPECT_EQ(target.Text(), QStringLiteral("Downloads the bearing data.\n"));
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

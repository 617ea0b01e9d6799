// Operations on objects: texts, fonts, menus, items, children, files and display.
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>

#include "tests/support/FakeDialogs.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/ZafDisplay.h"
#include "toolkit/ZafFileDialog.h"
#include "toolkit/ZafWindow.h"

namespace {
std::vector<ZafEventType> drainTypes() {
    std::vector<ZafEventType> types;
    ZafEventStruct e;
    while (zafEventManager()->Get(e, ZafEventManager::Q_NO_WAIT) == 0) {
        if (!e.isRaw()) {
            types.push_back(e.type);
        }
    }
    return types;
}
}  // namespace

TEST_F(ToolkitTest, TextsOfEveryKindOfObject) {
    QWidget root;
    auto* combo = new QComboBox(&root);
    combo->setEditable(true);
    auto* spin = new QSpinBox(&root);
    spin->setRange(0, 999999);
    auto* list = new QListWidget(&root);
    ZafObject(combo).SetText(QStringLiteral("CFM56-9"));  // not among the items
    EXPECT_EQ(ZafObject(combo).Text(), QStringLiteral("CFM56-9"));
    ZafObject(spin).SetText(QStringLiteral("012345"));
    EXPECT_EQ(ZafObject(spin).Text(), QStringLiteral("12345"));
    ZafObject(list).AddItem(QStringLiteral("A"));
    ZafObject(list).AddItem(QStringLiteral("B"));
    ZafObject(list).SetText(QStringLiteral("B"));
    EXPECT_EQ(ZafObject(list).Text(), QStringLiteral("B"));
    EXPECT_EQ(ZafObject(list).SelectedItem(), 1);
    EXPECT_TRUE(drainTypes().empty());  // setting texts sends nothing
}

// Menu items found by path send their events in the main window's tests.
TEST_F(ToolkitTest, ADisabledMenuGreysItsTitleInTheBar) {
    QMenuBar bar;
    QMenu* menu = bar.addMenu(QStringLiteral("&File"));
    menu->setObjectName(QStringLiteral("PDI_FILE"));
    ZafObject m = ZafObject(&bar).Get(QStringLiteral("PDI_FILE"));
    ASSERT_TRUE(m);
    m.SetDisabled(true);
    EXPECT_FALSE(menu->menuAction()->isEnabled());
    m.SetDisabled(false);
    EXPECT_TRUE(menu->menuAction()->isEnabled());
}

TEST_F(ToolkitTest, ListItemsSendTheirEventOnlyWhenTheUserChooses) {
    QComboBox combo;
    ZafObject c(&combo);
    c.AddItem(QStringLiteral("CFM56-3"), 10031);
    c.AddItem(QStringLiteral("CFM56-7"), 10031);
    c.SetItemSelected(1);
    EXPECT_TRUE(drainTypes().empty());
    Q_EMIT combo.activated(0);  // what the user's choice raises
    EXPECT_EQ(drainTypes(), std::vector<ZafEventType>{10031});
    c.ClearItems();
    EXPECT_EQ(c.ItemCount(), 0);

    QListWidget list;
    ZafObject l(&list);
    l.AddItem(QStringLiteral("HB-IJK"), 10017);
    l.AddItem(QStringLiteral("HB-IJL"), 10017);
    l.SetItemSelected(0);
    EXPECT_TRUE(drainTypes().empty());
    list.setCurrentRow(1);  // as a click would
    EXPECT_EQ(drainTypes(), std::vector<ZafEventType>{10017});
    EXPECT_EQ(l.Text(), QStringLiteral("HB-IJL"));
}

// Adding and removing children: the main window does it with each page it shows.
TEST_F(ToolkitTest, ChildrenAreCountedInOrder) {
    ZafWindow window(QStringLiteral("LookupWindow"));
    ZafObject group = window.Get(QStringLiteral("G_FIRST"));
    EXPECT_EQ(group.Count(), 2);
    EXPECT_EQ(group.Child(0).Identifier(), QStringLiteral("NAME"));
    EXPECT_EQ(group.Child(1).Identifier(), QStringLiteral("FIELD"));
    EXPECT_FALSE(group.Child(2));
}

TEST_F(ToolkitTest, FontsByNumberAndTheNumberThatKeepsTheResourceFont) {
    ZafDisplay& display = *zafDisplay();
    const int a = display.RegisterFont(QStringLiteral("Arial"), 12, 1, 1);
    const int b = display.RegisterFont(QStringLiteral("Arial"), 8, 0, 0);
    EXPECT_NE(a, b);
    EXPECT_NE(a, ZafDisplay::kKeepFont);
    EXPECT_TRUE(display.Font(a).bold());
    EXPECT_TRUE(display.Font(a).italic());
    EXPECT_FALSE(display.Font(b).bold());

    ZafWindow window(QStringLiteral("LookupWindow"));
    ZafObject prompt = window.Get(QStringLiteral("PROMPT"));
    prompt.SetFont(b);
    EXPECT_EQ(prompt.widget()->font().pointSize(), 8);
    prompt.SetFont(ZafDisplay::kKeepFont);
    EXPECT_EQ(prompt.widget()->font().pointSize(), 8);
    display.DestroyFont(a);
    EXPECT_FALSE(display.HasFont(a));
    display.DestroyFont(b);
}

TEST_F(ToolkitTest, CentringClipsToTheScreen) {
    ZafWindow window;
    const QSize screen = zafDisplay()->ScreenSize();
    window.resize(screen.width() + 500, 100);
    window.Center();
    EXPECT_EQ(window.width(), screen.width());
    EXPECT_EQ(window.x(), 0);
    EXPECT_EQ(window.y(), (screen.height() - 100) / 2);
}

TEST(FileDialog, CancelHasItsOwnCodeAndTheNameFitsTheBuffer) {
    FakeDialogs dialogs;
    ZafFileDialog dialog;
    dialog.SetFilter(QStringLiteral("*.csv"));
    EXPECT_EQ(dialog.RunModal(), S_FILE_DIALOG_CANCEL);
    dialogs.openFileAnswers.push_back(QStringLiteral("/data/aircraft.csv"));
    EXPECT_EQ(dialog.RunModal(), S_DIALOG_OK);
    EXPECT_EQ(dialog.FileName(), QStringLiteral("/data/aircraft.csv"));
    EXPECT_EQ(dialog.FileName(6), QStringLiteral("/data"));
}

TEST(CommandLine, QuotedRunsAreOneWord) {
    EXPECT_EQ(SplitCommandLine(QStringLiteral("\"C:/Program Files/tolm.exe\" -l1  -pvrkzt")),
              (QStringList{QStringLiteral("C:/Program Files/tolm.exe"), QStringLiteral("-l1"),
                           QStringLiteral("-pvrkzt")}));
    EXPECT_EQ(SplitCommandLine(QStringLiteral("tolm \"\" -s")),
              (QStringList{QStringLiteral("tolm"), QString(), QStringLiteral("-s")}));
    EXPECT_TRUE(SplitCommandLine(QStringLiteral("   ")).isEmpty());
}

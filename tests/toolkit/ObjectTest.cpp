// Operations on objects: texts, fonts, menus, items, children, files and display.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryFile>
#include <QTextEdit>
#include <functional>

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

// Every kind of object the forms use: the text Qt gave it, a text set and read back, and
// disabling and selecting where the kind has them. Each object is wired to send an event first,
// and setting sends nothing.
TEST_F(ToolkitTest, EachKindOfObjectTakesItsTextAndStates) {
    struct Kind {
        const char* name;
        std::function<QObject*(QWidget* root)> make;
        const char* initial;
        const char* set;
        const char* expected;
        bool selectable = false;
        bool disables = true;
    };
    const auto combo = [](QWidget* root, bool editable) {
        auto* c = new QComboBox(root);
        c->setEditable(editable);
        c->addItems({QStringLiteral("CFM56-3"), QStringLiteral("CFM56-7")});
        return c;
    };
    const Kind kinds[] = {
        {"label", [](QWidget* r) { return new QLabel(QStringLiteral("Tail"), r); }, "Tail",
         "Engine", "Engine"},
        {"line edit", [](QWidget* r) { return new QLineEdit(QStringLiteral("HB-IJK"), r); },
         "HB-IJK", "HB-IJL", "HB-IJL"},
        {"plain text", [](QWidget* r) { return new QPlainTextEdit(QStringLiteral("a"), r); }, "a",
         "line 1\nline 2", "line 1\nline 2"},
        {"rich text", [](QWidget* r) { return new QTextEdit(QStringLiteral("<b>a</b>"), r); }, "a",
         "<i>b</i>", "<i>b</i>"},
        {"push button", [](QWidget* r) { return new QPushButton(QStringLiteral("Select ALL"), r); },
         "Select ALL", "Clear ALL", "Clear ALL", true},
        {"check box", [](QWidget* r) { return new QCheckBox(QStringLiteral("Left"), r); }, "Left",
         "Right", "Right", true},
        {"radio button", [](QWidget* r) { return new QRadioButton(QStringLiteral("Left"), r); },
         "Left", "Right", "Right", true},
        {"action", [](QWidget* r) { return new QAction(QStringLiteral("Print"), r); }, "Print",
         "Print all", "Print all", true},
        {"menu", [](QWidget* r) { return new QMenu(QStringLiteral("&File"), r); }, "&File",
         "&Aircraft", "&Aircraft"},
        {"editable combo box", [&](QWidget* r) { return combo(r, true); }, "CFM56-3", "CFM56-9",
         "CFM56-9"},
        {"fixed combo box", [&](QWidget* r) { return combo(r, false); }, "CFM56-3", "CFM56-7",
         "CFM56-7"},
        {"fixed combo box, no such item", [&](QWidget* r) { return combo(r, false); }, "CFM56-3",
         "CFM56-9", "CFM56-3"},
        {"spin box",
         [](QWidget* r) {
             auto* s = new QSpinBox(r);
             s->setRange(0, 999999);
             s->setValue(7);
             return s;
         },
         "7", "1234567", "999999"},
        {"decimal spin box",
         [](QWidget* r) {
             auto* s = new QDoubleSpinBox(r);
             s->setLocale(QLocale::c());
             s->setValue(1.25);
             return s;
         },
         "1.25", "2.5", "2.50"},
        {"list",
         [](QWidget* r) {
             auto* l = new QListWidget(r);
             l->addItems({QStringLiteral("HB-IJK"), QStringLiteral("HB-IJL")});
             l->setCurrentRow(0);
             return l;
         },
         "HB-IJK", "HB-IJL", "HB-IJL"},
        {"group box", [](QWidget* r) { return new QGroupBox(QStringLiteral("Engine 1"), r); },
         "Engine 1", "Engine 2", "Engine 2"},
        {"tab set",
         [](QWidget* r) {
             auto* t = new QTabWidget(r);
             t->addTab(new QWidget, QStringLiteral("Engine 1"));
             t->addTab(new QWidget, QStringLiteral("Engine 2"));
             t->setCurrentIndex(1);
             return t;
         },
         "Engine 2", "Right engine", "Right engine"},
        {"window",
         [](QWidget* r) {
             auto* w = new QWidget(r, Qt::Window);
             w->setWindowTitle(QStringLiteral("Add Aircraft"));
             return w;
         },
         "Add Aircraft", "Remove Aircraft", "Remove Aircraft"},
        {"no widget", [](QWidget* r) { return new QObject(r); }, "", "text", "", false, false},
        {"no object", [](QWidget*) { return nullptr; }, "", "text", "", false, false},
    };
    QWidget root;
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        ZafObject o(k.make(&root));
        o.SetSendMessage(10001);
        EXPECT_EQ(o.Text().toStdString(), k.initial);
        o.SetText(QString::fromUtf8(k.set));
        EXPECT_EQ(o.Text().toStdString(), k.expected);
        o.SetDisabled(true);
        EXPECT_EQ(o.Disabled(), k.disables);
        o.SetSelected(true);
        EXPECT_EQ(o.Selected(), k.selectable);
    }
    EXPECT_TRUE(drainTypes().empty());
}

// A later user function replaces an earlier one, and an empty one removes it, also from inside.
TEST_F(ToolkitTest, AFieldHasOneUserFunction) {
    QLineEdit edit;
    ZafObject field(&edit);
    std::vector<std::pair<char, ZafEventType>> calls;
    const auto recorder = [&calls](char name) {
        return [&calls, name](ZafObject, ZafEventType event) {
            calls.emplace_back(name, event);
            return event;
        };
    };
    QFocusEvent focusIn(QEvent::FocusIn);
    const auto confirmAndFocus = [&] {
        Q_EMIT edit.returnPressed();
        QCoreApplication::sendEvent(&edit, &focusIn);
    };
    using Calls = std::vector<std::pair<char, ZafEventType>>;

    field.SetUserFunction(recorder('a'));
    field.SetUserFunction(recorder('b'));
    confirmAndFocus();
    EXPECT_EQ(calls, (Calls{{'b', L_SELECT}, {'b', S_CURRENT}}));

    calls.clear();
    field.SetUserFunction({});
    confirmAndFocus();
    EXPECT_TRUE(calls.empty());

    field.SetUserFunction([&](ZafObject self, ZafEventType event) {
        self.SetUserFunction({});
        calls.emplace_back('c', event);  // after its removal
        return event;
    });
    confirmAndFocus();
    EXPECT_EQ(calls, (Calls{{'c', L_SELECT}}));
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

    // Saving over an existing file: the dialog itself does not ask; that is the program's part.
    QTemporaryFile existing;
    ASSERT_TRUE(existing.open());
    ZafFileDialog save(ZafFileDialog::Mode::Save);
    dialogs.saveFileAnswers.push_back(existing.fileName());
    EXPECT_EQ(save.RunModal(), S_DIALOG_OK);
    EXPECT_EQ(save.FileName(), existing.fileName());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(CommandLine, QuotedRunsAreOneWord) {
    EXPECT_EQ(SplitCommandLine(QStringLiteral("\"C:/Program Files/tolm.exe\" -l1  -pvrkzt")),
              (QStringList{QStringLiteral("C:/Program Files/tolm.exe"), QStringLiteral("-l1"),
                           QStringLiteral("-pvrkzt")}));
    EXPECT_EQ(SplitCommandLine(QStringLiteral("tolm \"\" -s")),
              (QStringList{QStringLiteral("tolm"), QString(), QStringLiteral("-s")}));
    EXPECT_TRUE(SplitCommandLine(QStringLiteral("   ")).isEmpty());
}

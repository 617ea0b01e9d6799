// Window resource files, windows loaded by name and their objects found; operations on objects:
// texts, fonts, menus, items, files and display.
#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTextEdit>

#include "tests/support/FakeDialogs.h"
#include "tests/toolkit/ToolkitFixture.h"
#include "toolkit/ZafDisplay.h"
#include "toolkit/ZafFileDialog.h"

TEST(ResourceStorage, ReportsAMissingFileAndAFileThatIsNoBundle) {
    QTemporaryDir dir;
    ZafStorage missing(dir.filePath("QUOR.znc"));
    EXPECT_TRUE(missing.Error());

    QFile junk(dir.filePath("junk.znc"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a resource bundle, just some text\n");
    junk.close();
    ZafStorage notBundle(junk.fileName());
    EXPECT_TRUE(notBundle.Error());

    UserPersist reader(&notBundle);
    EXPECT_FALSE(reader.Contains("LookupWindow"));
    EXPECT_EQ(reader.Load("LookupWindow", nullptr), nullptr);
}

TEST_F(ToolkitTest, EachLoadGivesAWindowByNameWhoseObjectsAreFoundDepthFirstAndByPath) {
    ZafWindow window("LookupWindow");
    ASSERT_NE(window.Form(), nullptr);
    EXPECT_EQ(window.objectName(), "LookupWindow");
    EXPECT_EQ(window.Title(), "Lookup");
    // An object written with the toolkit's class name is built on its Qt widget.
    ZafObject prompt = window.Get("PROMPT");
    ASSERT_TRUE(prompt);
    EXPECT_NE(prompt.as<QLabel>(), nullptr);
    EXPECT_EQ(prompt.Text(), "made from the toolkit class name");

    ZafWindow unknown("NoSuchWindow");
    EXPECT_EQ(unknown.Form(), nullptr);

    // Depth first: the NAME inside the first group comes before the one beside it.
    EXPECT_EQ(window.Get("NAME").Text(), "first nested");
    EXPECT_EQ(window.Get("G_SECOND~NAME").Text(), "second nested");
    EXPECT_EQ(window.Get("G_FIRST~NAME").Text(), "first nested");
    EXPECT_FALSE(window.Get("G_SECOND~FIELD"));
    EXPECT_FALSE(window.Get("NO_SUCH~NAME"));
    EXPECT_FALSE(window.Get("MISSING"));
    // Children in the order of the form (the main window adds and removes its pages).
    ZafObject group = window.Get("G_FIRST");
    EXPECT_EQ(group.Count(), 2);
    EXPECT_EQ(group.Child(1).Identifier(), "FIELD");
    EXPECT_FALSE(group.Child(2));

    // Each load gives an independent window.
    auto* other = new ZafWindow("LookupWindow");
    other->Get("FIELD").SetText("edited");
    EXPECT_EQ(window.Get("FIELD").Text(), QString());
    ZafObject handle = other->Get("FIELD");
    delete other;
    EXPECT_FALSE(handle);  // handles turn empty with their object
    EXPECT_TRUE(window.Get("FIELD"));
}

// Every kind of object whose text is not simply its widget's text property, and the buttons and
// menu items that become checkable to be selected: the text Qt gave it, a text set and read back,
// and disabling and selecting where the kind has them. Each object is wired to send an event
// first, and setting sends nothing.
TEST_F(ToolkitTest, EachKindOfObjectTakesItsTextAndStates) {
    QWidget root;
    const auto combo = [&root](bool editable) {
        auto* c = new QComboBox(&root);
        c->setEditable(editable);
        c->addItems({"CFM56-3", "CFM56-7"});
        return c;
    };
    auto* spin = new QSpinBox(&root);
    spin->setRange(0, 999999);
    spin->setValue(7);
    auto* decimal = new QDoubleSpinBox(&root);
    decimal->setLocale(QLocale::c());
    decimal->setValue(1.25);
    auto* list = new QListWidget(&root);
    list->addItems({"HB-IJK", "HB-IJL"});
    list->setCurrentRow(0);
    auto* tabs = new QTabWidget(&root);
    tabs->addTab(new QWidget, "Engine 1");
    tabs->addTab(new QWidget, "Engine 2");
    tabs->setCurrentIndex(1);
    auto* window = new QWidget(&root, Qt::Window);
    window->setWindowTitle("Add Aircraft");
    struct Kind {
        const char* name;
        QObject* object;
        const char* initial;
        const char* set;
        const char* expected;
        bool selectable = false;
        bool disables = true;
    };
    const Kind kinds[] = {
        {"rich text", new QTextEdit("<b>a</b>", &root), "a", "<i>b</i>", "<i>b</i>"},
        {"push button", new QPushButton("Select ALL", &root), "Select ALL", "Clear ALL",
         "Clear ALL", true},
        {"action", new QAction("Print", &root), "Print", "Print all", "Print all", true},
        {"editable combo box", combo(true), "CFM56-3", "CFM56-9", "CFM56-9"},
        {"fixed combo box", combo(false), "CFM56-3", "CFM56-7", "CFM56-7"},
        {"fixed combo box, no such item", combo(false), "CFM56-3", "CFM56-9", "CFM56-3"},
        {"spin box", spin, "7", "1234567", "999999"},
        {"decimal spin box", decimal, "1.25", "2.5", "2.50"},
        {"list", list, "HB-IJK", "HB-IJL", "HB-IJL"},
        {"tab set", tabs, "Engine 2", "Right engine", "Right engine"},
        {"window", window, "Add Aircraft", "Remove Aircraft", "Remove Aircraft"},
        {"no widget", new QObject(&root), "", "text", "", false, false},
        {"no object", nullptr, "", "text", "", false, false},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        ZafObject o(k.object);
        o.SetSendMessage(10001);
        EXPECT_EQ(o.Text().toStdString(), k.initial);
        o.SetText(QString::fromUtf8(k.set));
        EXPECT_EQ(o.Text().toStdString(), k.expected);
        o.SetDisabled(true);
        EXPECT_EQ(o.Disabled(), k.disables);
        o.SetSelected(true);
        EXPECT_EQ(o.Selected(), k.selectable);
    }
    EXPECT_TRUE(drain().empty());
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
TEST_F(ToolkitTest, ADisabledMenuGreysItsTitleAndListItemsSendOnlyTheUsersChoice) {
    QMenuBar bar;
    QMenu* menu = bar.addMenu("&File");
    menu->setObjectName("PDI_FILE");
    ZafObject m = ZafObject(&bar).Get("PDI_FILE");
    ASSERT_TRUE(m);
    m.SetDisabled(true);
    EXPECT_FALSE(menu->menuAction()->isEnabled());
    m.SetDisabled(false);
    EXPECT_TRUE(menu->menuAction()->isEnabled());

    // List items send their event only when the user chooses.
    QComboBox combo;
    ZafObject c(&combo);
    c.AddItem("CFM56-3", 10031);
    c.AddItem("CFM56-7", 10031);
    c.SetItemSelected(1);
    EXPECT_TRUE(drain().empty());
    Q_EMIT combo.activated(0);  // what the user's choice raises
    EXPECT_EQ(drain(), std::vector<ZafEventType>{10031});
    c.ClearItems();
    EXPECT_EQ(c.ItemCount(), 0);

    QListWidget list;
    ZafObject l(&list);
    l.AddItem("HB-IJK", 10017);
    l.AddItem("HB-IJL", 10017);
    l.SetItemSelected(0);
    EXPECT_TRUE(drain().empty());
    list.setCurrentRow(1);  // as a click would
    EXPECT_EQ(drain(), std::vector<ZafEventType>{10017});
    EXPECT_EQ(l.Text(), "HB-IJL");
}

TEST_F(ToolkitTest, DisplayFontsByNumberKeepingTheResourceFontAndCentringOnTheScreen) {
    ZafDisplay& display = *zafDisplay();
    const int a = display.RegisterFont("Arial", 12, 1, 1);
    const int b = display.RegisterFont("Arial", 8, 0, 0);
    EXPECT_NE(a, b);
    EXPECT_TRUE(display.Font(a).bold());
    EXPECT_TRUE(display.Font(a).italic());

    ZafWindow window("LookupWindow");
    ZafObject prompt = window.Get("PROMPT");
    prompt.SetFont(b);
    EXPECT_EQ(prompt.widget()->font().pointSize(), 8);
    prompt.SetFont(ZafDisplay::kKeepFont);
    EXPECT_EQ(prompt.widget()->font().pointSize(), 8);
    display.DestroyFont(a);
    display.DestroyFont(b);

    // Centring clips to the screen.
    ZafWindow wide;
    const QSize screen = display.ScreenSize();
    wide.resize(screen.width() + 500, 100);
    wide.Center();
    EXPECT_EQ(wide.width(), screen.width());
    EXPECT_EQ(wide.x(), 0);
    EXPECT_EQ(wide.y(), (screen.height() - 100) / 2);
}

TEST(FileDialog, CancelHasItsOwnCodeAndTheNameFitsTheBuffer) {
    FakeDialogs dialogs;
    ZafFileDialog dialog;
    dialog.SetFilter("*.csv");
    EXPECT_EQ(dialog.RunModal(), S_FILE_DIALOG_CANCEL);
    dialogs.openFileAnswers.push_back("/data/aircraft.csv");
    EXPECT_EQ(dialog.RunModal(), S_DIALOG_OK);
    EXPECT_EQ(dialog.FileName(), "/data/aircraft.csv");
    EXPECT_EQ(dialog.FileName(6), "/data");

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
    EXPECT_EQ(SplitCommandLine("\"C:/Program Files/tolm.exe\" -l1  -pvrkzt"),
              (QStringList{"C:/Program Files/tolm.exe", "-l1", "-pvrkzt"}));
    EXPECT_EQ(SplitCommandLine("tolm \"\" -s"), (QStringList{"tolm", QString(), "-s"}));
    EXPECT_TRUE(SplitCommandLine("   ").isEmpty());
}

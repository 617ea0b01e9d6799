// Window resource files, loading windows by name and finding their objects.
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include "tests/toolkit/ToolkitFixture.h"

TEST(ResourceStorage, ReportsAMissingFileAndAFileThatIsNoBundle) {
    QTemporaryDir dir;
    ZafStorage missing(dir.filePath(QStringLiteral("QUOR.znc")));
    EXPECT_TRUE(missing.Error());

    QFile junk(dir.filePath(QStringLiteral("junk.znc")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a resource bundle, just some text\n");
    junk.close();
    ZafStorage notBundle(junk.fileName());
    EXPECT_TRUE(notBundle.Error());

    UserPersist reader(&notBundle);
    EXPECT_FALSE(reader.Contains(QStringLiteral("LookupWindow")));
    EXPECT_EQ(reader.Load(QStringLiteral("LookupWindow"), nullptr), nullptr);
}

TEST_F(ToolkitTest, EachLoadGivesAWindowByNameWhoseObjectsAreFoundDepthFirstAndByPath) {
    ZafWindow window(QStringLiteral("LookupWindow"));
    ASSERT_NE(window.Form(), nullptr);
    EXPECT_EQ(window.objectName(), QStringLiteral("LookupWindow"));
    EXPECT_EQ(window.Title(), QStringLiteral("Lookup"));
    // An object written with the toolkit's class name is built on its Qt widget.
    ZafObject prompt = window.Get(QStringLiteral("PROMPT"));
    ASSERT_TRUE(prompt);
    EXPECT_NE(prompt.as<QLabel>(), nullptr);
    EXPECT_EQ(prompt.Text(), QStringLiteral("made from the toolkit class name"));

    ZafWindow unknown(QStringLiteral("NoSuchWindow"));
    EXPECT_EQ(unknown.Form(), nullptr);

    // Depth first: the NAME inside the first group comes before the one beside it.
    EXPECT_EQ(window.Get(QStringLiteral("NAME")).Text(), QStringLiteral("first nested"));
    EXPECT_EQ(window.Get(QStringLiteral("G_SECOND~NAME")).Text(), QStringLiteral("second nested"));
    EXPECT_EQ(window.Get(QStringLiteral("G_FIRST~NAME")).Text(), QStringLiteral("first nested"));
    EXPECT_FALSE(window.Get(QStringLiteral("G_SECOND~FIELD")));
    EXPECT_FALSE(window.Get(QStringLiteral("NO_SUCH~NAME")));
    EXPECT_FALSE(window.Get(QStringLiteral("MISSING")));
    // Children in the order of the form (the main window adds and removes its pages).
    ZafObject group = window.Get(QStringLiteral("G_FIRST"));
    EXPECT_EQ(group.Count(), 2);
    EXPECT_EQ(group.Child(1).Identifier(), QStringLiteral("FIELD"));
    EXPECT_FALSE(group.Child(2));

    // Each load gives an independent window.
    auto* other = new ZafWindow(QStringLiteral("LookupWindow"));
    other->Get(QStringLiteral("FIELD")).SetText(QStringLiteral("edited"));
    EXPECT_EQ(window.Get(QStringLiteral("FIELD")).Text(), QString());
    ZafObject handle = other->Get(QStringLiteral("FIELD"));
    delete other;
    EXPECT_FALSE(handle);  // handles turn empty with their object
    EXPECT_TRUE(window.Get(QStringLiteral("FIELD")));
}

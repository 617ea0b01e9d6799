// Configuration defaults, the data directory, fonts, privilege names and platform locations; the
// start options and the level they verify to.
#include <gtest/gtest.h>

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include "app/CommandLine.h"
#include "core/Config.h"
#include "core/HelpTexts.h"
#include "core/PlatformPaths.h"
#include "tests/support/TestEnvironment.h"

using namespace tolm;

namespace {

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override { testenv::clearSettings(); }
};

int levelOf(const QStringList& arguments) {
    return StartOptions::parse(arguments).verifiedLevel();
}

}  // namespace

TEST_F(ConfigTest, FirstStartWritesEveryDefaultAndStoredValuesStayUnlessTheyReadAsUnset) {
    InitDefaults();
    QSettings s;
    EXPECT_EQ(s.value("Port").toInt(), 4242);
    EXPECT_EQ(s.value("IP Address").toString(), "192.168.0.1");
    EXPECT_EQ(s.value("ConnectTimeout").toInt(), 150);
    EXPECT_TRUE(s.contains("LinkTrace"));
    EXPECT_FALSE(readLinkTrace());
    EXPECT_EQ(s.value("DataDir").toString(), defaultDataDirectory());
    EXPECT_EQ(s.value("EngineType_0").toString(), "CFM56-3");
    EXPECT_EQ(s.value("EngineType_1").toString(), "CFM56-7");
    EXPECT_TRUE(s.contains("LastAircraft"));
    EXPECT_EQ(s.value("LastAircraft").toString(), QString());
    EXPECT_EQ(s.value("Version").toString(), QStringLiteral("2.1.3"));
    EXPECT_EQ(s.value("Main Window").toString(), QString());
    EXPECT_EQ(s.value("Download").toString(),
              "Before starting the download please ensure:\r\n(1) The unit is powered on\r\n"
              "(2) The unit front panel display is switched off\r\n"
              "(3) The cable is plugged into the front connector of the unit");
    EXPECT_EQ(s.value("Other Functions").toString(),
              "Downloaded data on the computer's disk can be displayed and inspected");
    // The aircraft page's text is checked where the page shows it.
    EXPECT_TRUE(
        s.value("Clear Memory").toString().endsWith("(3) Do a \"memory clear\" procedure."));
    EXPECT_TRUE(s.value("Utilities").toString().contains("192.168.0.[2-254]"));
    EXPECT_FALSE(s.contains("PrivTimeout"));  // written only when the event loop starts

    s.setValue("Port", 0);
    s.setValue("ConnectTimeout", 0);
    s.setValue("IP Address", "127.0.0.1");
    s.setValue("Download", "my own notes");
    s.setValue("Main Window", "Main Window Text");
    s.setValue("Version", "1.0.0");
    s.setValue("LinkTrace", "true");
    InitDefaults();
    EXPECT_TRUE(readLinkTrace());
    EXPECT_EQ(s.value("Port").toInt(), 4242);
    EXPECT_EQ(s.value("ConnectTimeout").toInt(), 0);
    EXPECT_EQ(s.value("IP Address").toString(), "127.0.0.1");
    EXPECT_EQ(s.value("Download").toString(), HelpTexts::builtIn("Download"));
    EXPECT_EQ(s.value("Main Window").toString(), QString());
    EXPECT_EQ(s.value("Version").toString(), "2.1.3");
}

TEST_F(ConfigTest, DataDirectoryPlatformLocationsFontGroupsAndUnknownPrivilegeLevels) {
    EXPECT_EQ(dataDirectory(), QDir(defaultDataDirectory()).absolutePath());
    EXPECT_EQ(QSettings().value("DataDir").toString(), defaultDataDirectory());

    QTemporaryDir work;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    QSettings().setValue("DataDir", "relative/data");
    EXPECT_EQ(dataDirectory(), QDir(work.path()).absoluteFilePath("relative/data"));
    QDir::setCurrent(before);

#ifdef Q_OS_WIN
    EXPECT_EQ(defaultDataDirectory(), "C:/QUOR-data");
    EXPECT_EQ(backupImagePath(), "C:/quor-image.dat");
    EXPECT_EQ(temporaryArchiveParent(), "C:/TEMP");
#else
    EXPECT_EQ(defaultDataDirectory(), testenv::home() + "/QUOR-data");
    EXPECT_EQ(backupImagePath(), testenv::home() + "/quor-image.dat");
    EXPECT_EQ(temporaryArchiveParent(), QDir::tempPath());
#endif
    const QDateTime when(QDate(2008, 7, 16), QTime(15, 24, 5));
    EXPECT_TRUE(backupImageFallbackPath(when).endsWith("/quor-image-20080716152405.dat"));

    // The font groups, and no name for a privilege level the program does not know.
    FontSpec font;
    readFontSpec(kSmallFontGroup, font);
    EXPECT_EQ(font.family, QStringLiteral("Arial"));
    EXPECT_EQ(font.pointSize, 8);
    EXPECT_EQ(font.weight, 0);
    QSettings().setValue("MidFontPointSize", 14);
    readFontSpec(kMidFontGroup, font);
    EXPECT_EQ(font.pointSize, 14);
    EXPECT_EQ(font.weight, 1);
    EXPECT_EQ(font.slant, 1);
    FontSpec untouched{QStringLiteral("Keep"), 1, 2, 3};
    readFontSpec(4, untouched);
    EXPECT_EQ(untouched.family, QStringLiteral("Keep"));

    EXPECT_EQ(privilegeName(3), QString());
    EXPECT_EQ(privilegeName(-1), QString());
}

TEST_F(ConfigTest, StartOptionsAreMatchedByPrefixAndLevelsNeedTheirPasswords) {
    const StartOptions o = StartOptions::parse(
        {"-x-15", "-y 20px", "-sanything", "-X5", "x9", "-l", "-p", "-lone", "-trace"});
    EXPECT_EQ(o.left, -15);
    EXPECT_EQ(o.top, 20);  // like "%d": blanks before, anything after the digits
    EXPECT_TRUE(o.unrestricted);
    EXPECT_TRUE(o.linkTrace);
    EXPECT_FALSE(StartOptions::parse({"-T", "t"}).linkTrace);
    EXPECT_EQ(o.requestedLevel, kLevelFlightLine);
    EXPECT_TRUE(o.password.isEmpty());

    // A later option of the same kind wins.
    EXPECT_EQ(StartOptions::parse({"-x1", "-x2"}).left, 2);

    // Levels need their passwords, compared whole and folded for Latin-1 capitals only.
    EXPECT_EQ(levelOf({}), kLevelFlightLine);
    EXPECT_EQ(levelOf({"-l1"}), kLevelFlightLine);
    EXPECT_EQ(levelOf({"-l1", "-pvrkzt"}), kLevelAdministrator);
    EXPECT_EQ(levelOf({"-pvrkzt", "-l1"}), kLevelAdministrator);
    EXPECT_EQ(levelOf({"-l1", "-pVrkzt"}), kLevelFlightLine);
    EXPECT_EQ(levelOf({"-l1", "-pvrkzt "}), kLevelFlightLine);
    EXPECT_EQ(levelOf({"-l0", "-pvrkzt"}), kLevelFlightLine);
    EXPECT_EQ(levelOf({"-l0", "-pWQPD_MZTA"}), kLevelFactory);
    EXPECT_EQ(levelOf({"-l0", "-pwqpd_Mzta"}), kLevelFactory);
    EXPECT_EQ(levelOf({"-l0", "-pWQPD_MZT"}), kLevelFlightLine);
    EXPECT_EQ(levelOf({"-l1", "-pWQPD_MZTA"}), kLevelFlightLine);
    // Levels the program does not know give Flight Line, whatever the password.
    EXPECT_EQ(levelOf({"-l3", "-pvrkzt"}), kLevelFlightLine);
    EXPECT_EQ(levelOf({"-l-1", "-pWQPD_MZTA"}), kLevelFlightLine);

    const QString longPassword = QStringLiteral("a-password-of-more-than-16-characters");
    QSettings().setValue("Password", longPassword);
    EXPECT_EQ(levelOf({"-l1", "-p" + longPassword}), kLevelAdministrator);
    EXPECT_EQ(levelOf({"-l1", "-p" + longPassword.left(16)}), kLevelFlightLine);

    EXPECT_EQ(foldLatin1Case("AZ_az09"), "az_az09");
    // À..Ö and Ø..Þ fold; × (between them), ß and Ÿ do not.
    EXPECT_EQ(foldLatin1Case(QStringLiteral("\u00C0\u00D6\u00D7\u00D8\u00DE\u00DF\u0178")),
              QStringLiteral("\u00E0\u00F6\u00D7\u00F8\u00FE\u00DF\u0178"));
}

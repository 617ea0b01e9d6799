// The start options and the level they verify to.
#include <gtest/gtest.h>

#include <QSettings>

#include "app/CommandLine.h"
#include "core/Config.h"
#include "tests/support/TestEnvironment.h"

using namespace tolm;

namespace {

int levelOf(const QStringList& arguments) {
    return StartOptions::parse(arguments).verifiedLevel();
}

}  // namespace

TEST(CommandLine, OptionsAreMatchedByPrefixAndLevelsNeedTheirPasswords) {
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
    testenv::clearSettings();
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
    testenv::clearSettings();

    EXPECT_EQ(foldLatin1Case("AZ_az09"), "az_az09");
    // À..Ö and Ø..Þ fold; × (between them), ß and Ÿ do not.
    EXPECT_EQ(foldLatin1Case(QStringLiteral("\u00C0\u00D6\u00D7\u00D8\u00DE\u00DF\u0178")),
              QStringLiteral("\u00E0\u00F6\u00D7\u00F8\u00FE\u00DF\u0178"));
}

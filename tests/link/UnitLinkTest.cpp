// Connection set-up and the part-number check against the simulated unit, with a scripted user.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <map>

#include "link/CommandTable.h"
#include "link/ui/UnitLink.h"
#include "tests/link/LinkTestSupport.h"
#include "tests/support/FakeDialogs.h"

using namespace tolm;
using quorsim::FaultKind;
using quorsim::PartNumbers;

namespace {

const QString kTitle = QStringLiteral(" TOLM for QUOR ");
const QString kFailed = QStringLiteral("Failed to establish a connection to the unit");

struct StatusBar : LinkStatusDisplay {
    std::map<QString, QString> fields;
    void setFieldText(const QString& field, const QString& text) override { fields[field] = text; }
};

class UnitLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.start());
        QSettings().setValue(QStringLiteral("ConnectTimeout"), 1);
        link.setAddress(QStringLiteral("127.0.0.1"), sim.port());
        link.setPartNumberWaitMs(2000);
    }
    QString field(const char* name) { return bar.fields[QLatin1String(name)]; }
    QString status() { return field(LinkStatusDisplay::kStatusField); }
    QString partNumber() { return field(LinkStatusDisplay::kPartNumberField); }
    QString serial() { return field(LinkStatusDisplay::kSerialNumberField); }

    quorsim::UnitSimulator sim;
    FakeDialogs dialogs;
    StatusBar bar;
    UnitLink link{bar};
};

}  // namespace

TEST_F(UnitLinkTest, ConnectsOnceThenOnlyAsksForPartNumbersUntilTheUnitRestarts) {
    ASSERT_TRUE(link.EstablishUnitLink());
    EXPECT_TRUE(link.communicationOk());
    EXPECT_TRUE(link.compatible());
    EXPECT_FALSE(link.mainUploadMode());  // what each state enables: in the main window's tests
    EXPECT_EQ(status(), "Communication OK!");
    EXPECT_EQ(partNumber(), "PNR: 731-400-000-2C");
    EXPECT_EQ(serial(), "");
    EXPECT_EQ(link.partNumbers().mainSoftware(), "731-402-000-1B");
    EXPECT_EQ(dialogs.noticeTexts, QStringList{"Establishing connection..."});
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(QFile::exists(link.context().responseFileName()));  // decoded and deleted

    ASSERT_TRUE(link.EstablishUnitLink());
    EXPECT_EQ(dialogs.noticeTexts.size(), 1);
    EXPECT_EQ(sim.connectionsAccepted(), 1);
    const auto commands = sim.unit().commands();
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[1].code, CMD_GET_PART_NUMBERS);
    EXPECT_EQ(commands[1].payload, std::vector<quint32>{0});

    // A unit restarted between two download presses is reconnected silently.
    const quint16 port = sim.port();
    sim.stop();
    ASSERT_TRUE(sim.start(port));
    ASSERT_TRUE(link.EstablishUnitLink());
    EXPECT_TRUE(link.compatible());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.noticeTexts.size(), 2);
    EXPECT_EQ(sim.connectionsAccepted(), 2);
    EXPECT_TRUE(link.stop(UnitLink::kExitWaitMs));
}

TEST_F(UnitLinkTest, IncompatibleSoftwareIsNamedAndMainUploadModeStaysSet) {
    PartNumbers numbers = PartNumbers::incompatible();
    numbers.unit = "ABCDEFGHIJKLMNOP";  // 16 characters: the record keeps 15
    sim.unit().setPartNumbers(numbers);
    ASSERT_TRUE(link.EstablishUnitLink());
    EXPECT_TRUE(link.communicationOk());
    EXPECT_FALSE(link.compatible());
    EXPECT_EQ(partNumber(), "PNR: ABCDEFGHIJKLMNO");
    EXPECT_EQ(
        dialogs.messages,
        (Boxes{{MessageKind::Warning, kTitle,
                "This version of TOLM is not compatible with the software currently installed "
                "in the unit.\n\nMain Software PNR: 731-402-000-0F\nDSP Software PNR: "
                "731-403-000-4A\nDSP Config. Table PNR: 731-406-000-4D"}}));

    dialogs.clear();
    sim.unit().setPartNumbers(PartNumbers::mainUploadMode());
    ASSERT_TRUE(link.EstablishUnitLink());
    EXPECT_TRUE(link.mainUploadMode());
    EXPECT_FALSE(link.compatible());
    EXPECT_EQ(partNumber(), "Main Upload Mode");
    EXPECT_TRUE(dialogs.messages.empty());
    sim.unit().setPartNumbers(PartNumbers::compatible());
    ASSERT_TRUE(link.EstablishUnitLink());
    EXPECT_TRUE(link.mainUploadMode());
    EXPECT_TRUE(link.compatible());
}

TEST_F(UnitLinkTest, NoUnitMeansOneAttemptPerSecondOfConnectTimeout) {
    link.setAddress(QStringLiteral("127.0.0.1"), linktest::deadPort());
    QSettings().setValue(QStringLiteral("ConnectTimeout"), 0);
    EXPECT_FALSE(link.EstablishUnitLink());
    EXPECT_EQ(link.context().connectAttempts.load(), 1);
    EXPECT_EQ(dialogs.messages, (Boxes{{MessageKind::Warning, kTitle, kFailed}}));
    EXPECT_EQ(status(), kFailed);
    EXPECT_EQ(partNumber(), "PNR: ???");
    EXPECT_EQ(serial(), "SER: ???");
    EXPECT_FALSE(link.communicationOk());

    // Abort while connecting: no further box, and a negative setting is one attempt too.
    link.stop(UnitLink::kExitWaitMs);
    QSettings().setValue(QStringLiteral("ConnectTimeout"), -4);
    dialogs.clear();
    dialogs.abortAfterPolls = 3;
    EXPECT_FALSE(link.EstablishUnitLink());
    EXPECT_EQ(link.context().connectAttempts.load(), 1);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(status(), kFailed + " - Aborted!");
    EXPECT_EQ(partNumber(), "PNR: ???");
}

TEST_F(UnitLinkTest, TimedOutQueryIsWithdrawnAndTheNextGetsItsOwnAnswer) {
    link.setPartNumberWaitMs(1000);
    sim.unit().addFault({FaultKind::SlowAnswer, CMD_GET_PART_NUMBERS, 2500});
    EXPECT_FALSE(link.EstablishUnitLink());
    EXPECT_EQ(status(), "Unable to communicate with the unit");
    EXPECT_EQ(partNumber(), "");
    EXPECT_EQ(dialogs.messages, (Boxes{{MessageKind::Warning, kTitle, kFailed}}));

    // The late answer would carry the old part numbers; the unit now reports others.
    PartNumbers numbers = PartNumbers::compatible();
    numbers.unit = "731-400-000-9Z";
    sim.unit().setPartNumbers(numbers);
    ASSERT_TRUE(link.EstablishUnitLink());
    EXPECT_EQ(partNumber(), "PNR: 731-400-000-9Z");
    EXPECT_EQ(sim.connectionsAccepted(), 2);
}

TEST_F(UnitLinkTest, DecodePNReportsMissingAndShortFilesAndDeletesThem) {
    // The name lies in the user's home, which may hold a "%1" that must stay as it is.
    link.context().setResponseFileName(QStringLiteral("/nonexistent/p%1x/QUOR-1"));
    link.DecodePN();
    EXPECT_EQ(dialogs.messages, (Boxes{{MessageKind::Critical, "DecodePN()",
                                        "Failed to open /nonexistent/p%1x/QUOR-1 (error = 5)"}}));

    QFile f(QDir::tempPath() + "/tolm-short-pn");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(12 + 283, 'x'));
    f.close();
    link.context().setResponseFileName(f.fileName());
    link.DecodePN();
    EXPECT_EQ(dialogs.last(), (ShownMessage{MessageKind::Critical, "File Format Error",
                                            "Error decoding Part Number message"}));
    EXPECT_FALSE(f.exists());
    EXPECT_EQ(link.partNumbers().bytes(), PartNumberRecord().bytes());  // all zero
}

// A download as the user makes it, from the main menu against the simulated unit, to Done.
#include <QDir>
#include <QRegularExpression>

#include "app/FlightIndexNotes.h"
#include "download/ui/BRIXAutoDownload.h"
#include "link/CommandTable.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/download/SimulatedAircraft.h"
#include "toolkit/KeyCodes.h"

using namespace tolm;

namespace {

class DownloadFlow : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        dataDir = testenv::freshDirectory(QStringLiteral("flow-data"));
        QSettings().setValue("DataDir", dataDir);
        store({EngineOption::DownloadBearingData, EngineOption::EraseBearingData,
               EngineOption::EraseBearingDefectHistory, EngineOption::EraseAccelDefectHistory});
        // F5 in each dialog once it is there and, for the download, once it has finished.
        userStep = [this] {
            ZafWindow* front = zafWindowManager()->Front();
            if (!front || front == window) {
                return;
            }
            if (front->objectName() == QStringLiteral("AircraftInfoDialog")) {
                ++confirmations;
                dialogTitle = front->Title();
                dialogHelp = front->HelpContext();
                front->Get("T_COMMENTS").SetText("edited");
                zafEventManager()->Put(ZafEventStruct::rawKeyDown(confirmKey, front));
            } else if (auto* download = qobject_cast<BRIXAutoDownload*>(front);
                       download && download->Finished() && status.isEmpty()) {
                status = download->StatusText();
                zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, front));
            }
        };
    }

    static void store(std::initializer_list<EngineOption> options) {
        QSettings().setValue("AircraftInfo/HB-IJK",
                             simulatedAircraft("HB-IJK", options).toByteArray());
    }

    QStringList rawFiles(int engine) const {
        return QDir(dataDir + QStringLiteral("/HB-IJK_data/engine_%1").arg(engine))
            .entryList({"*.raw", "*.txt"}, QDir::Files, QDir::Name);
    }

    QString dataDir;
    int confirmKey = VK::F5;
    int confirmations = 0;
    QString dialogTitle, dialogHelp;
    QString status;  // the download dialog's last line
};

}  // namespace

TEST_F(DownloadFlow, DownloadFromTheMainMenuFilesAndErasesBothEngines) {
    open();
    toMainMenu();
    press(VK::F5);  // Download
    EXPECT_EQ(confirmations, 1);
    EXPECT_EQ(dialogTitle, " TOLM for QUOR  - Download");
    EXPECT_EQ(dialogHelp, "HelpAutoDownload");
    EXPECT_EQ(QSettings().value("LastAircraft").toString(), "HB-IJK");
    // The lines and the order of the commands are the dialog's and the sequence's; the window
    // adds the part numbers asked for first, the record confirmed, and the summary of the filing.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Processing complete: [1-9][0-9]* new flights, "
                                                  "0 already filed$"))
                    .match(status)
                    .hasMatch())
        << status.toStdString();
    EXPECT_TRUE(dialogs.messages.empty());
    for (int engine = 1; engine <= 2; ++engine) {
        const QStringList files = rawFiles(engine);
        ASSERT_EQ(files.size(), 4) << engine;
        EXPECT_TRUE(files[0].startsWith(QStringLiteral("ESN88912%1_cb_").arg(engine + 2)));
        EXPECT_TRUE(sim.unit().bearingDataErased(engine));
    }
    ASSERT_EQ(sim.unit().commands().size(), 9u);
    EXPECT_EQ(sim.unit().commands()[0].code, CMD_GET_PART_NUMBERS);
    EXPECT_EQ(pageName(), "MenuWindow");
    EXPECT_FALSE(aircraftMenuEnabled());
}

// Cancelled in the aircraft dialog, a download sends and stores nothing. An unerased unit's
// flights come again: counted as already filed, each listed as held by two files.
TEST_F(DownloadFlow, ACancelDownloadsNothingAndAnUnerasedUnitsFlightsCountAsAlreadyFiled) {
    store({EngineOption::DownloadBearingData});
    confirmKey = VK::F8;
    QSettings().setValue("LastAircraft", "gone");
    const QByteArray before = QSettings().value("AircraftInfo/HB-IJK").toByteArray();
    open();
    toMainMenu();
    press(VK::F5);
    EXPECT_EQ(confirmations, 1);
    EXPECT_TRUE(status.isEmpty());
    ASSERT_EQ(sim.unit().commands().size(), 1u);
    EXPECT_EQ(sim.unit().commands()[0].code, CMD_GET_PART_NUMBERS);
    EXPECT_EQ(field("STATUS"), "Communication OK!");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(rawFiles(1).isEmpty());
    EXPECT_FALSE(aircraftMenuEnabled());  // closed again afterwards at Flight Line
    EXPECT_EQ(QSettings().value("AircraftInfo/HB-IJK").toByteArray(), before);
    EXPECT_EQ(QSettings().value("LastAircraft").toString(), "gone");

    confirmKey = VK::F5;
    press(VK::F5);
    const QRegularExpressionMatch first =
        QRegularExpression(QStringLiteral("^Processing complete: (\\d+) new flights, 0 already "
                                          "filed$"))
            .match(status);
    ASSERT_TRUE(first.hasMatch()) << status.toStdString();
    status.clear();
    press(VK::F5);
    EXPECT_EQ(status, QStringLiteral("Processing complete: 0 new flights, %1 already filed")
                          .arg(first.captured(1)));

    const viewer::FlightNotes notes = flightNotesFromIndex(dataDir);
    ASSERT_EQ(notes.size(), 2 * first.captured(1).toInt());
    for (const viewer::FlightNote& note : notes) {
        EXPECT_EQ(note.copiesText, "in 2 files");
    }
}

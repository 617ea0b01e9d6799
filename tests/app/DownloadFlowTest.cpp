// A download as the user makes it: Download on the main menu, the aircraft confirmed in its
// dialog, the ten steps against the simulated unit, Done.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtEndian>

#include "app/FlightIndexNotes.h"
#include "download/ui/BRIXAutoDownload.h"
#include "link/CommandTable.h"
#include "register/TolmAircraftSettings.h"
#include "sim/image/FlightImage.h"
#include "tests/app/MainWindowFixture.h"
#include "toolkit/KeyCodes.h"

using namespace tolm;

namespace {

class DownloadFlow : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        dataDir = testenv::freshDirectory(QStringLiteral("flow-data"));
        QSettings().setValue(QStringLiteral("DataDir"), dataDir);

        AircraftRecord record;
        record.setIdentifier(QStringLiteral("HB-IJK"));
        for (int e = 0; e < 2; ++e) {
            EngineRecord engine;
            engine.setType(QStringLiteral("CFM56-7"));
            engine.setSer(QStringLiteral("88912%1").arg(e + 3));
            engine.setOption(EngineOption::EraseBearingData, true);
            engine.setOption(EngineOption::EraseBearingDefectHistory, true);
            engine.setOption(EngineOption::EraseAccelDefectHistory, true);
            record.setEngine(e, engine);
        }
        TolmAircraftSettings().storeAircraft(record.identifier(), record);

        // The user at the keyboard: F5 in each dialog once it is there and, for the download,
        // once it has finished.
        QObject::connect(&user, &QTimer::timeout, [this] { act(); });
        user.start(5);
    }
    void TearDown() override {
        user.stop();
        MainWindowFixture::TearDown();
    }

    void act() {
        ZafWindow* front = zafWindowManager()->Front();
        if (!front || front == window) {
            return;
        }
        if (front->objectName() == QStringLiteral("AircraftInfoDialog")) {
            ++confirmations;
            dialogTitle = front->Title();
            dialogHelp = front->HelpContext();
            front->Get(QStringLiteral("T_COMMENTS")).SetText(QStringLiteral("edited"));
            zafEventManager()->Put(ZafEventStruct::rawKeyDown(confirmKey, front));
        } else if (auto* download = qobject_cast<BRIXAutoDownload*>(front);
                   download && download->Finished() && steps.isEmpty()) {
            for (int e = 0; e < 2; ++e) {
                for (int kind = 0; kind < 5; ++kind) {
                    steps << download->StepText(e, kind);
                }
            }
            status = download->StatusText();
            button = download->ButtonText();
            zafEventManager()->Put(ZafEventStruct::rawKeyDown(VK::F5, front));
        }
    }

    QStringList rawFiles(int engine) const {
        return QDir(dataDir + QStringLiteral("/HB-IJK_data/engine_%1").arg(engine))
            .entryList({QStringLiteral("*.raw"), QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    }

    QString dataDir;
    QTimer user;
    int confirmKey = VK::F5;
    int confirmations = 0;
    QString dialogTitle, dialogHelp;
    QStringList steps;
    QString status;
    QString button;
};

}  // namespace

TEST_F(DownloadFlow, DownloadFromTheMainMenuFilesAndErasesBothEngines) {
    open();
    toMainMenu();
    press(VK::F5);  // Download
    EXPECT_EQ(confirmations, 1);
    EXPECT_EQ(dialogTitle, QStringLiteral(" TOLM for QUOR  - Download"));
    EXPECT_EQ(dialogHelp, QStringLiteral("HelpAutoDownload"));
    EXPECT_EQ(QSettings().value(QStringLiteral("LastAircraft")).toString(),
              QStringLiteral("HB-IJK"));
    ASSERT_EQ(steps.size(), 10);
    for (const QString& step : steps) {
        EXPECT_TRUE(step.endsWith(QStringLiteral("Completed"))) << step.toStdString();
    }
    EXPECT_EQ(steps[0], QStringLiteral("Download Bearing Data.............Completed"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Processing complete: [1-9][0-9]* new flights, "
                                                  "0 already filed$"))
                    .match(status)
                    .hasMatch())
        << status.toStdString();
    EXPECT_EQ(button, QStringLiteral("Done (F5)"));
    EXPECT_TRUE(dialogs.messages.empty());

    // Each engine's files, its raw file holding that engine's own image.
    for (int engine = 1; engine <= 2; ++engine) {
        const QStringList files = rawFiles(engine);
        ASSERT_EQ(files.size(), 4) << engine;
        EXPECT_TRUE(files[0].startsWith(QStringLiteral("ESN88912%1_cb_").arg(engine + 2)));
        ASSERT_TRUE(files[1].endsWith(QStringLiteral(".raw")));
        QFile raw(dataDir + QStringLiteral("/HB-IJK_data/engine_%1/").arg(engine) + files[1]);
        ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
        const QByteArray head = raw.read(0x94);
        ASSERT_EQ(head.size(), 0x94);
        EXPECT_EQ(qFromLittleEndian<qint32>(head.constData() + 0x28), engine);
        const auto image = quorsim::FlightImage::generate(1, engine);
        for (int b = 0; b < 20; ++b) {
            EXPECT_EQ(qFromLittleEndian<qint32>(head.constData() + 0x44 + 4 * b),
                      image.flightNumber(b))
                << engine << " " << b;
        }
    }
    // The unit was asked for part numbers, then each engine was downloaded and erased in turn.
    std::vector<std::pair<quint32, quint32>> sent;  // code, engine
    for (const auto& c : sim.unit().commands()) {
        sent.emplace_back(c.code, c.payload.empty() ? 0 : c.payload[0]);
    }
    std::vector<std::pair<quint32, quint32>> expected{{CMD_GET_PART_NUMBERS, 0}};
    for (const quint32 engine : {1u, 2u}) {
        for (const quint32 code :
             {CMD_DOWNLOAD_BEARING_DATA, CMD_ERASE_BEARING_DATA, CMD_ERASE_BEARING_DEFECT_HISTORY,
              CMD_ERASE_ACCEL_DEFECT_HISTORY}) {
            expected.emplace_back(code, engine);
        }
    }
    EXPECT_EQ(sent, expected);
    EXPECT_TRUE(sim.unit().bearingDataErased(1));
    EXPECT_TRUE(sim.unit().bearingDataErased(2));
    // The response file is gone and the main menu is back, the aircraft menu as it was.
    EXPECT_TRUE(window->unitLink().context().responseFileName().isEmpty() ||
                !QFile::exists(window->unitLink().context().responseFileName()));
    EXPECT_EQ(pageName(), QStringLiteral("MenuWindow"));
    EXPECT_FALSE(aircraftMenuEnabled());
}

TEST_F(DownloadFlow, CancellingTheAircraftDialogDownloadsAndStoresNothing) {
    confirmKey = VK::F8;
    QSettings().setValue(QStringLiteral("LastAircraft"), QStringLiteral("gone"));
    const QByteArray before =
        QSettings().value(QStringLiteral("AircraftInfo/HB-IJK")).toByteArray();
    open();
    toMainMenu();
    press(VK::F5);
    EXPECT_EQ(confirmations, 1);
    EXPECT_TRUE(steps.isEmpty());
    ASSERT_EQ(sim.unit().commands().size(), 1u);
    EXPECT_EQ(sim.unit().commands()[0].code, CMD_GET_PART_NUMBERS);
    EXPECT_EQ(sim.connectionsAccepted(), 1);
    EXPECT_EQ(field("STATUS"), QStringLiteral("Communication OK!"));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(rawFiles(1).isEmpty());
    EXPECT_FALSE(aircraftMenuEnabled());  // closed again afterwards at Flight Line
    EXPECT_EQ(QSettings().value(QStringLiteral("AircraftInfo/HB-IJK")).toByteArray(), before);
    EXPECT_EQ(QSettings().value(QStringLiteral("LastAircraft")).toString(), QStringLiteral("gone"));
}

// A unit that was not erased gives its flights again: the second download's last line counts
// them as already filed, and the flight list marks each as held by two files.
TEST_F(DownloadFlow, ASecondDownloadOfAnUnerasedUnitCountsItsFlightsAsAlreadyFiled) {
    AircraftRecord record = TolmAircraftSettings().loadAircraft(QStringLiteral("HB-IJK"));
    for (int e = 0; e < 2; ++e) {
        EngineRecord engine = record.engine(e);
        engine.setOption(EngineOption::EraseBearingData, false);
        engine.setOption(EngineOption::EraseBearingDefectHistory, false);
        engine.setOption(EngineOption::EraseAccelDefectHistory, false);
        record.setEngine(e, engine);
    }
    TolmAircraftSettings().storeAircraft(record.identifier(), record);
    open();
    toMainMenu();
    press(VK::F5);
    const QRegularExpressionMatch first =
        QRegularExpression(QStringLiteral("^Processing complete: (\\d+) new flights, 0 already "
                                          "filed$"))
            .match(status);
    ASSERT_TRUE(first.hasMatch()) << status.toStdString();
    steps.clear();
    press(VK::F5);
    EXPECT_EQ(status, QStringLiteral("Processing complete: 0 new flights, %1 already filed")
                          .arg(first.captured(1)));

    const viewer::FlightNotes notes = flightNotesFromIndex(dataDir);
    ASSERT_EQ(notes.size(), 2 * first.captured(1).toInt());
    for (const viewer::FlightNote& note : notes) {
        EXPECT_EQ(note.copiesText, QStringLiteral("in 2 files"));
    }
}

// Finding flights on disk, listing them for a choice of aircraft, engine and memory, and reading
// the chosen ones.
#include <QFile>
#include <QSettings>

#include "register/TolmAircraftSettings.h"
#include "tests/viewer/ViewerFixture.h"
#include "viewer/RegisteredAircraft.h"

using namespace tolm::viewer;
using viewertest::kBlock;
using viewertest::kHeader;
using viewertest::TestRawFile;
using Selection = ViewerTest;

namespace {

QList<int> numbers(const QList<FlightListElement>& flights) {
    QList<int> n;
    for (const FlightListElement& f : flights) {
        n.append(f.flightNumber);
    }
    return n;
}

}  // namespace

// Flights by falling number, equal numbers in the order of the scan; each flight reads its own
// block, of the memory chosen (the second file holds flight 600 in both).
TEST_F(Selection, FlightsAreSortedAndEachReadsItsOwnBlockOfTheMemoryChosen) {
    TestRawFile a, b;
    a.flight(3, 500).flight(7, 600).steadyValue(3, 10, 0, 3.5f).steadyValue(7, 10, 0, 7.5f);
    b.flight(2, 500).flight(4, 600).flight(5, 600, 1);
    b.steadyValue(2, 10, 0, 2.0f).steadyValue(4, 10, 0, 4.0f).steadyValue(5, 10, 0, 5.0f);
    const QString path = a.write(rawPath("HB-IJK", 1, "a.raw"));
    b.write(rawPath("HB-IJK", 1, "b.raw"));
    TestRawFile().write(rawPath("HB-IJK", 1, "empty.raw"));  // all slots empty: adds nothing

    const ScanResult result = scan();
    EXPECT_TRUE(result.errors.isEmpty());
    ASSERT_EQ(numbers(result.flights), (QList<int>{600, 600, 600, 500, 500}));
    EXPECT_EQ(result.flights[0].slot, 7);
    EXPECT_EQ(result.flights[0].path, path);
    EXPECT_EQ(result.flights[0].aircraft, "HB-IJK");
    EXPECT_EQ(result.flights[3].path, path);

    FlightSelection selection(result.flights, {}, 0);
    QList<FlightDataElement> chosen = selection.accept({0, 1, 2, 3, 4}).flights;
    ASSERT_EQ(chosen.size(), 4);
    EXPECT_EQ(chosen[0].block(), a.bytes().mid(kHeader + 7 * kBlock, kBlock));
    EXPECT_EQ(chosen[0].header().bytes(), a.bytes().first(kHeader));
    QList<float> values;
    for (const FlightDataElement& f : chosen) {
        values << f.steadyValue(10, 0);
    }
    EXPECT_EQ(values, (QList<float>{7.5f, 4.0f, 3.5f, 2.0f}));

    selection.setMemoryType(1);  // the post-defect block of the repeated flight, not the other
    chosen = selection.accept({0, 1}).flights;
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0].memoryType(), 1);
    EXPECT_EQ(chosen[0].steadyValue(10, 0), 5.0f);
    EXPECT_EQ(FlightSelection(result.flights, {}, 2).memoryType(), 1);  // any but 0: post-defect
}

TEST_F(Selection, TenFlightsAreAcceptedAndElevenRefusedWithoutReadingAny) {
    TestRawFile file;
    for (int slot = 0; slot < 11; ++slot) {
        file.flight(slot, 100 + slot);
    }
    file.write(rawPath("HB-IJK", 1, "a.raw"));
    const FlightSelection selection(scan().flights, {}, 0);

    const AcceptResult ten = selection.accept({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_TRUE(ten.accepted);
    EXPECT_EQ(ten.flights.size(), 10);
    EXPECT_EQ(ten.flights[0].flightNumber(), 110);

    const AcceptResult eleven = selection.accept({10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0});
    EXPECT_FALSE(eleven.accepted);
    EXPECT_TRUE(eleven.flights.isEmpty());
}

TEST_F(Selection, AFileCutShortKeepsTheFlightsBeforeItsCutAndIsStillSorted) {
    TestRawFile file;
    for (int slot = 0; slot < 20; ++slot) {
        file.flight(slot, 10 + slot);
    }
    TestRawFile().flight(0, 1).write(rawPath("HB-IJK", 1, "a.raw"));
    file.write(rawPath("HB-IJK", 1, "b.raw"), kHeader + 5 * kBlock + 1000);  // inside block 5
    file.write(rawPath("HB-IJK", 1, "c.raw"), kHeader - 1);

    const ScanResult result = scan();
    EXPECT_EQ(numbers(result.flights), (QList<int>{14, 13, 12, 11, 10, 1}));
    ASSERT_EQ(result.errors.size(), 2);
    EXPECT_EQ(result.errors[0].title(), "Error - SelectDialog::ExtractFlightInfo");
    EXPECT_EQ(result.errors[0].text(), "Failed to read data block: b.raw");
    EXPECT_EQ(result.errors[1].text(), "Failed to read header block: c.raw");

    // The same from the header alone: a file of exactly 20 blocks and no trailer is complete.
    const FlightInfo whole =
        RawFlightReader::flightInfo(file.bytes(), kHeader + 20 * kBlock, "p", "n", {});
    EXPECT_EQ(whole.flights.size(), 20);
    EXPECT_FALSE(whole.error);
    const FlightInfo none = RawFlightReader::flightInfo(file.bytes(), kHeader, "p", "n", {});
    EXPECT_TRUE(none.flights.isEmpty());
    EXPECT_EQ(none.error->message, "Failed to read data block");
}

TEST_F(Selection, FilesOfAnEarlierFormatAnywhereGiveOneWarning) {
    for (const char* aircraft : {"A", "B", "C"}) {
        TestRawFile().magic(0x12345678).flight(0, 9).write(rawPath(aircraft, 2, "old.raw"));
    }
    TestRawFile().flight(0, 5).write(rawPath("B", 1, "new.raw"));

    const ScanResult result = scan();
    EXPECT_EQ(numbers(result.flights), QList<int>{5});
    EXPECT_EQ(result.incompatibleFiles.size(), 3);
    EXPECT_TRUE(result.errors.isEmpty());
    EXPECT_TRUE(result.showIncompatibleWarning());
    EXPECT_EQ(ScanResult::kIncompatibleTitle, "Error");
    EXPECT_EQ(ScanResult::kIncompatibleText,
              "The TOLM found files generated by an earlier version of TOLM whose file format is "
              "not compatible with the current application. These files have been ignored.");
}

TEST_F(Selection, OnlyDirectoriesAndRawFilesOfAnyCaseAreScannedAndTheCurrentDirectoryStays) {
    TestRawFile().flight(0, 2).write(rawPath("A", 2, "a.raw"));  // "A_data" with engine 2 only
    TestRawFile().flight(0, 1).write(rawPath("B", 2, "b.raw"));
    // Files copied from a station whose file system ignores case keep any case of the suffix.
    TestRawFile().flight(0, 4).write(rawPath("B", 2, "C.RAW"));
    TestRawFile().flight(0, 5).write(rawPath("B", 2, "d.Raw"));
    TestRawFile().flight(0, 6).write(rawPath("B", 2, "e.raw.bak"));
    QFile(data.path() + "/x_data").open(QIODevice::WriteOnly);           // a plain file "x_data"
    QFile(data.path() + "/B_data/engine_1").open(QIODevice::WriteOnly);  // a plain "engine_1"
    QDir().mkpath(data.path() + "/B_data/engine_2/dir.raw");             // a directory named *.raw
    const QString before = QDir::currentPath();
    const QString deep = data.path() + "/" + QString(120, 'd') + "/" + QString(120, 'e');
    const QString longPath = TestRawFile().flight(0, 3).write(deep + "/C_data/engine_1/c.raw");
    ASSERT_GT(longPath.size(), 256);  // never cut
    EXPECT_EQ(DataDirectoryScan::scan(deep).flights[0].path, longPath);

    const ScanResult result = scan();
    EXPECT_EQ(QDir::currentPath(), before);
    EXPECT_TRUE(result.errors.isEmpty());
    ASSERT_EQ(numbers(result.flights), (QList<int>{5, 4, 2, 1}));
    EXPECT_EQ(result.flights[2].engine, 1);  // as the header says
    EXPECT_TRUE(DataDirectoryScan::scan(data.path() + "/none").flights.isEmpty());
}

TEST_F(Selection, PercentSignsInTheDataDirectoryAndAircraftAreTakenAsTheyAre) {
    // A "%1" in the folder or the aircraft once became the engine number, and the flights
    // under it were silently left out.
    const QString root = data.path() + "/p%1x%2";
    const QString first = TestRawFile().flight(0, 7).write(root + "/HB%1_data/engine_1/a.raw");
    const QString second = TestRawFile().flight(0, 8).write(root + "/HB%3_data/engine_2/b.raw");

    const ScanResult result = DataDirectoryScan::scan(root);
    EXPECT_TRUE(result.errors.isEmpty());
    ASSERT_EQ(numbers(result.flights), (QList<int>{8, 7}));
    EXPECT_EQ(result.flights[0].path, second);
    EXPECT_EQ(result.flights[1].path, first);
}

TEST_F(Selection, AircraftComboRememberedChoicesAndItemTexts) {
    TestRawFile("N2").flight(0, 40).write(rawPath("N2", 1, "a.raw"));
    TestRawFile("N1").flight(0, 50).flight(1, 30, 1).write(rawPath("N1", 1, "a.raw"));
    TestRawFile("N2", 2).flight(0, 1234).write(rawPath("N2", 2, "a.raw"));
    const QDateTime when(QDate(2008, 3, 5), QTime(14, 7, 9));
    QFile file(rawPath("N2", 2, "a.raw"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
    file.close();

    // The remembered aircraft is no longer on disk: the first one, by first appearance.
    tolm::TolmAircraftSettings().setLastAircraft("GONE");
    FlightSelection selection = FlightSelection::fromSettings(scan().flights);
    EXPECT_EQ(selection.aircraft(), (QStringList{"N2", "N1"}));
    EXPECT_EQ(selection.currentAircraft(), "N2");
    EXPECT_EQ(selection.engine(), 1);
    selection.setEngine(2);
    ASSERT_EQ(selection.items().size(), 1);
    EXPECT_EQ(selection.items()[0].text, "1234           05.03.08 14:07:09");

    selection.setAircraft(1);
    selection.setEngine(1);
    selection.setMemoryType(1);
    EXPECT_EQ(QSettings().value("Plot2D_MemType").toUInt(), 1u);
    ASSERT_EQ(selection.items().size(), 1);
    EXPECT_EQ(selection.accept({0}).flights[0].flightNumber(), 30);
    EXPECT_EQ(tolm::TolmAircraftSettings().lastAircraft(), "N1");

    const FlightSelection again = FlightSelection::fromSettings(scan().flights);
    EXPECT_EQ(again.currentAircraft(), "N1");
    EXPECT_EQ(again.memoryType(), 1);
}

TEST_F(Selection, AFlightThatCannotBeReadIsReportedAndLeftOut) {
    TestRawFile file;
    file.flight(0, 1).flight(1, 2).flight(2, 3).flight(3, 4);
    const QString path = file.write(rawPath("HB-IJK", 1, "a.raw"));
    const QString other = TestRawFile().flight(0, 9).write(rawPath("HB-IJK", 1, "b.raw"));
    const QList<FlightListElement> flights = scan().flights;  // 9, 4, 3, 2, 1

    QList<FlightListElement> changed = flights;
    changed[1].slot = 2;  // slot 2 holds flight 3, not 4
    changed[2].path = path + ".gone";
    AcceptResult result = FlightSelection(changed, {}, 0).accept({0, 1, 2, 3});
    EXPECT_TRUE(result.accepted);
    ASSERT_EQ(result.flights.size(), 2);
    EXPECT_EQ(result.flights[1].flightNumber(), 2);
    ASSERT_EQ(result.errors.size(), 2);
    EXPECT_EQ(result.errors[0].title(), "Error - SelectDialog::ExtractFlightData");
    EXPECT_EQ(result.errors[0].text(), "Invalid data block index: " + path);
    EXPECT_EQ(result.errors[1].text(), "Failed to open file: " + path + ".gone");

    TestRawFile().magic(1).write(other);
    file.write(path, kHeader + 2 * kBlock);
    result = FlightSelection(flights, {}, 0).accept({0, 4, 2});
    ASSERT_EQ(result.errors.size(), 2);
    EXPECT_EQ(result.errors[0].message, "Invalid file format");
    EXPECT_EQ(result.errors[1].message, "Failed to read data block");
    EXPECT_EQ(result.flights.size(), 1);
}

TEST_F(Selection, EngineDetailsComeFromTheRegisterOrAreEmpty) {
    tolm::AircraftRecord record;
    record.setIdentifier("HB-IJK");
    tolm::EngineRecord engine;
    engine.setType("CFM56-7");
    engine.setSer("889123");
    engine.setInstallDate("05/03/2008");
    record.setEngine(1, engine);
    tolm::TolmAircraftSettings().storeAircraft("HB-IJK", record);

    const RegisteredAircraft registered = RegisteredAircraft::load();
    EXPECT_EQ(registered.engines("HB-IJK")[1], (EngineDetails{"CFM56-7", "889123", "05/03/2008"}));
    EXPECT_EQ(registered.engines("HB-IJK")[0], EngineDetails{});
    EXPECT_EQ(registered.engines("hb-ijk")[1], EngineDetails{});
}

// The flight index's notes: the copies of one flight make one row that names how many files
// hold it and opens the copy listed first; with every copy shown each file has its row again.
// The alarm mark follows the row in both cases.
TEST_F(Selection, CopiesOfAFlightMakeOneRowUnlessEveryCopyIsShownAndAlarmsAreMarked) {
    const auto element = [](const char* path, int slot, int flight) {
        FlightListElement f;
        f.path = QLatin1String(path);
        f.aircraft = "N1";
        f.engine = 1;
        f.flightNumber = flight;
        f.slot = slot;
        f.modified = QDateTime(QDate(2008, 3, 5), QTime(14, 7, 9)).toLocalTime();
        return f;
    };
    const QList<FlightListElement> flights{element("/d/a.raw", 2, 77), element("/d/b.raw", 0, 77),
                                           element("/d/b.raw", 1, 60), element("/d/c.raw", 4, 77)};
    FlightSelection selection(flights, {}, 0);
    selection.setNotes({{{"/d/a.raw", 2}, {5, "Alarm 3 (4R 3B)", "in 3 files"}},
                        {{"/d/b.raw", 0}, {5, "Alarm 3 (4R 3B)", "in 3 files"}},
                        {{"/d/c.raw", 4}, {5, "Alarm 3 (4R 3B)", "in 3 files"}},
                        {{"/d/b.raw", 1}, {6, QString(), QString()}}});
    EXPECT_EQ(
        selection.items(),
        (QList<FlightItem>{{"77             05.03.08 14:07:09  Alarm 3 (4R 3B)  in 3 files", 0},
                           {"60             05.03.08 14:07:09", 2}}));
    selection.setShowCopies(true);
    EXPECT_EQ(selection.items(),
              (QList<FlightItem>{{"77             05.03.08 14:07:09  Alarm 3 (4R 3B)", 0},
                                 {"77             05.03.08 14:07:09  Alarm 3 (4R 3B)", 1},
                                 {"60             05.03.08 14:07:09", 2},
                                 {"77             05.03.08 14:07:09  Alarm 3 (4R 3B)", 3}}));
    // A flight the index does not know stays a row of its own, unmarked.
    selection.setShowCopies(false);
    selection.setNotes({});
    EXPECT_EQ(selection.items().size(), 4);
}

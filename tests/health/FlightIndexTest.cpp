// The flight index over the raw files the download writes: blocks with their levels and values,
// copies of one flight, the download's tally, files that change, go or cannot be indexed.
#include <QFileInfo>
#include <QStandardPaths>

#include "health/RawFileIndexReader.h"
#include "tests/health/HealthFixture.h"

using namespace tolm::health;
using quorsim::FlightImage;

namespace {

QList<DistinctFlight> flightsOf(FlightIndex& index, int parameter = -1) {
    IndexResult<QList<DistinctFlight>> flights = index.flights(RowFilter{}, parameter);
    EXPECT_TRUE(flights.ok()) << flights.error().toStdString();
    return flights.ok() ? flights.value() : QList<DistinctFlight>{};
}

const DistinctFlight* find(const QList<DistinctFlight>& flights, int number, int memory) {
    const auto f = std::find_if(flights.begin(), flights.end(), [&](const DistinctFlight& d) {
        return d.flightNumber == number && d.memory == memory;
    });
    return f == flights.end() ? nullptr : &*f;
}

}  // namespace

TEST_F(HealthTest, EveryUsedBlockIsIndexedWithItsLevelsAndValues) {
    FlightImage image = generated(11, 2);
    const int used = usedBlocks(image)[0];
    image.block(used).alarmLevels = {2, 3, 4, 1, 3, 4};
    const QString raw = file(image, kMarch5, "HB-IJK", "123/45");
    FlightIndex index(data, database);
    const QList<DistinctFlight> flights = flightsOf(index, 13);  // N2-4R

    ASSERT_EQ(flights.size(), usedBlocks(image).size());
    for (int b : usedBlocks(image)) {
        SCOPED_TRACE(b);
        const quorsim::FlightBlock& block = image.block(b);
        const DistinctFlight* f = find(flights, block.flightNumber, int(block.memory));
        ASSERT_TRUE(f);
        EXPECT_EQ(f->serial, 12345);  // the name's ESN012345
        EXPECT_EQ(f->copies,
                  (QList<FlightCopy>{{raw, b, "HB-IJK", 2, kMarch5.toSecsSinceEpoch()}}));
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(f->alarms.inRawOrder()[i], qint32(block.alarmLevels[i]));
        }
        for (int r = 0; r < 26; ++r) {
            EXPECT_EQ(f->values[r], block.steadyState[r].values[13]) << r;
        }
    }
    const DistinctFlight* alarmed =
        find(flights, image.flightNumber(used), int(image.memory(used)));
    ASSERT_TRUE(alarmed);
    // The raw order: 4R current and historic, 3B current and historic, 4L current and historic.
    EXPECT_EQ(alarmed->alarms.current(Bearing::R4), 2);
    EXPECT_EQ(alarmed->alarms.historic(Bearing::R4), 3);
    EXPECT_EQ(alarmed->alarms.current(Bearing::B3), 4);
    EXPECT_EQ(alarmed->alarms.historic(Bearing::B3), 1);
    EXPECT_EQ(alarmed->alarms.current(Bearing::L4), 3);
    EXPECT_EQ(alarmed->alarms.mark(), "Alarm 3 (4L)");
    // Without a parameter the values are not read back.
    EXPECT_TRUE(std::isnan(flightsOf(index).first().values[0]));

    // A mark names the highest current level and its bearings.
    EXPECT_EQ(AlarmLevels({2, 3, 4, 1, 2, 4}).mark(), "Alarm 2 (4R 4L)");
    EXPECT_EQ(AlarmLevels({4, 1, 3, 1, 4, 1}).mark(), "Alarm 3 (3B)");
    EXPECT_EQ(AlarmLevels({4, 1, 4, 2, 4, 3}).mark(), "");   // historic levels only
    EXPECT_EQ(AlarmLevels({0, 4, 5, 4, -1, 4}).mark(), "");  // unknown values are no alarm
    EXPECT_EQ(AlarmLevels({4, 1, 4, 2, 4, 3}).highestHistoric(), 3);
    EXPECT_EQ(AlarmLevels::currentText(2), "Level 2");
    EXPECT_EQ(AlarmLevels::currentText(0), "No Event");
    EXPECT_EQ(AlarmLevels::historicText(0), "No Fault");
}

TEST_F(HealthTest, CopiesOfOneFlightAreOneFlightHeldByEveryFile) {
    const FlightImage first = generated(21, 1);
    FlightIndex index(data, database);
    const QString a = file(first, kMarch5);
    IndexResult<DownloadTally> tally = index.update({a});
    ASSERT_TRUE(tally.ok());
    const int used = int(usedBlocks(first).size());
    EXPECT_EQ(tally.value(), (DownloadTally{used, 0}));

    // The unit was not erased: the next download gives the same flights again, with one block
    // changed (same number, other bytes), one flight new and one moved to the other memory.
    FlightImage second = first;
    const QList<int> blocks = usedBlocks(first);
    second.block(blocks[0]).steadyState[4].values[10] += 1.0f;
    second.setFlightNumber(blocks[1], 99999);
    second.setMemory(blocks[2], 1 - first.memory(blocks[2]));
    const QString b = file(second, kApril9);
    tally = index.update({b});
    ASSERT_TRUE(tally.ok());
    EXPECT_EQ(tally.value(), (DownloadTally{3, used - 3}));
    EXPECT_EQ(tally.value().text(),
              QStringLiteral("3 new flights, %1 already filed").arg(used - 3));
    EXPECT_EQ((DownloadTally{1, 1}).text(), "1 new flight, 1 already filed");
    EXPECT_EQ((DownloadTally{12, 8}).text(), "12 new flights, 8 already filed");
    // The tally of a download is the same however often it is asked for.
    EXPECT_EQ(index.update({b}).value(), tally.value());

    const QList<DistinctFlight> flights = flightsOf(index);
    EXPECT_EQ(flights.size(), used + 3);
    int shared = 0;
    for (const DistinctFlight& f : flights) {
        if (f.fileCount() == 2) {
            ++shared;
            EXPECT_EQ(f.copiesText(), "in 2 files");
            // Earliest download first; each copy names its own file.
            EXPECT_EQ(f.copies[0].path, a);
            EXPECT_EQ(f.copies[1].path, b);
            EXPECT_EQ(f.firstFiled(), kMarch5.toSecsSinceEpoch());
        } else {
            EXPECT_EQ(f.copiesText(), "");
        }
    }
    EXPECT_EQ(shared, used - 3);
    const DistinctFlight* changed =
        find(flights, first.flightNumber(blocks[0]), first.memory(blocks[0]));
    ASSERT_TRUE(changed);
    EXPECT_EQ(changed->fileCount(), 1);

    // The selection's choice of aircraft, engine and memory, and the list's order.
    RowFilter filter{.serial = {}, .aircraft = "HB-IJK", .engineNumber = 1, .memory = 1};
    QList<DistinctFlight> listed = index.flights(filter).value();
    DistinctFlight::sortForList(listed);
    ASSERT_FALSE(listed.isEmpty());
    for (int i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(listed[i].memory, 1);
        EXPECT_TRUE(i == 0 || listed[i - 1].flightNumber >= listed[i].flightNumber);
    }
    filter.engineNumber = 2;
    EXPECT_TRUE(index.flights(filter).value().isEmpty());
}

TEST_F(HealthTest, ChangedFilesAreReadAgainAndVanishedOnesDropped) {
    const QString a = file(generated(31, 1), kMarch5);
    const QString b = file(generated(32, 1), kApril9);
    FlightIndex index(data, database);
    ScanReport report = index.scan().value();
    EXPECT_EQ(report.filesRead, 2);
    EXPECT_TRUE(report.rebuilt);  // a database that was not there is made
    report = index.scan().value();
    EXPECT_EQ(report.filesRead, 0);
    EXPECT_EQ(report.filesUnchanged, 2);
    EXPECT_FALSE(report.rebuilt);

    // The same name now holds another download (a second download in the same minute).
    const FlightImage replacement = generated(33, 1);
    QFile::remove(a);
    ASSERT_EQ(file(replacement, kMarch5), a);
    QFile::remove(b);
    report = index.scan().value();
    EXPECT_EQ(report.filesRead, 1);
    EXPECT_EQ(report.filesDropped, 1);
    const QList<DistinctFlight> flights = flightsOf(index, 0);
    ASSERT_EQ(flights.size(), usedBlocks(replacement).size());
    for (const DistinctFlight& f : flights) {
        EXPECT_EQ(f.copies.size(), 1);
        EXPECT_EQ(f.copies[0].path, a);
        EXPECT_EQ(f.values[7], replacement.block(f.copies[0].slot).steadyState[7].values[0]);
    }

    // A file changed in place, same size: its modification time tells.
    patch(a, 788 + 4 * 26, QByteArray(4, '\0'));  // the value 1 of record 0 of block 0
    QFile(a).setFileTime(QDateTime::currentDateTimeUtc().addSecs(5),
                         QFileDevice::FileModificationTime);
    EXPECT_EQ(index.scan().value().filesRead, 1);

    // A new index object on the same database reads nothing again.
    FlightIndex again(data, database);
    report = again.scan().value();
    EXPECT_EQ(report.filesRead, 0);
    EXPECT_EQ(report.filesUnchanged, 1);
}

TEST_F(HealthTest, FilesThatCannotBeIndexedAreListedWithTheirReasons) {
    const FlightImage image = generated(41, 1);
    const QString good = file(image, kMarch5);
    const QString shortFile = file(generated(42, 1), kApril9);
    cut(shortFile, 788 + 5 * 142652 + 100);
    const QString old = file(generated(43, 2), kMarch5, "HB-OLD", "1");
    patch(old, 0, QByteArray("\x01\x02\x03\x04", 4));  // another magic number
    const QString engine3 = file(generated(44, 2), kMarch5, "HB-BAD", "2");
    patch(engine3, 0x28, QByteArray("\x03\0\0\0", 4));
    const QString tiny = data + "/HB-IJK_data/engine_2/ESN000007_fd_x.raw";
    QDir().mkpath(QFileInfo(tiny).path());
    patch(tiny, 0, "QUOR");

    FlightIndex index(data, database);
    ASSERT_TRUE(index.scan().ok());
    const QList<SkippedFile> skipped = index.skippedFiles().value();
    EXPECT_EQ(skipped, (QList<SkippedFile>{
                           {engine3, "Damaged: engine number 3"},
                           {shortFile, "Cut short: 714148 of 2853852 bytes"},
                           {tiny, "Cut short: 4 of 2853852 bytes"},
                           {old, "Not a raw flight-data file of this version of TOLM"},
                       }));
    const QList<DistinctFlight> flights = flightsOf(index);
    ASSERT_EQ(flights.size(), usedBlocks(image).size());
    for (const DistinctFlight& f : flights) {
        EXPECT_EQ(f.copies[0].path, good);
    }

    // The file was still being written: complete now, the next scan picks it up.
    QFile::remove(shortFile);
    file(generated(42, 1), kApril9);
    EXPECT_EQ(index.scan().value().filesRead, 1);
    EXPECT_EQ(index.skippedFiles().value().size(), 3);
    EXPECT_GT(flightsOf(index).size(), usedBlocks(image).size());

    // A file replaced while it is read is left out until the next scan.
    const QString raw = file(generated(51, 1), kMarch5);
    const FileReading reading = RawFileIndexReader::read(raw, [&] {
        QFile::remove(raw);
        file(generated(52, 1), kMarch5);
    });
    EXPECT_FALSE(reading.file);
    ASSERT_TRUE(reading.skipped);
    EXPECT_EQ(reading.skipped->reason, "Changed while it was read");
    EXPECT_TRUE(RawFileIndexReader::read(raw).file);

    EXPECT_EQ(RawFileIndexReader::read(data + "/none.raw").skipped->reason, "Cannot be opened");
    EXPECT_EQ(RawFileIndexReader::serialFromFileName(u"ESN012345_fd_20080305_1407.raw"), 12345);
    EXPECT_EQ(RawFileIndexReader::serialFromFileName(u"ESN_fd.raw"), kUnknownSerial);
    EXPECT_EQ(RawFileIndexReader::serialFromFileName(u"flight.raw"), kUnknownSerial);
    EXPECT_EQ(RawFileIndexReader::serialFromFileName(u"ESN99999999999_fd.raw"), kUnknownSerial);
}

TEST_F(HealthTest, TwoStationsOnOneSharedDataDirectoryKeepTheirOwnIndexes) {
    // Each station's index is its own database; the data directory holds raw files only.
    FlightIndex mine(data, database);
    FlightIndex theirs(data, root + "/other-cache/index.sqlite");
    const QString raw = file(generated(61, 1), kMarch5);
    cut(raw, 788 + 3 * 142652);  // the other station is still writing it
    ASSERT_TRUE(mine.scan().ok());
    ASSERT_TRUE(theirs.scan().ok());
    EXPECT_EQ(mine.skippedFiles().value().size(), 1);
    QFile::remove(raw);
    file(generated(61, 1), kMarch5);
    for (FlightIndex* index : {&mine, &theirs}) {
        EXPECT_EQ(index->scan().value().filesRead, 1);
        EXPECT_TRUE(index->skippedFiles().value().isEmpty());
        EXPECT_EQ(flightsOf(*index).size(), usedBlocks(generated(61, 1)).size());
    }
    EXPECT_EQ(QDir(data).entryList(QDir::Files | QDir::Hidden), QStringList());

    // By default the index lives in the cache location, one database per data directory.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    EXPECT_TRUE(FlightIndex::defaultPath(data).startsWith(cache + "/flight-index/"));
    EXPECT_NE(FlightIndex::defaultPath(data), FlightIndex::defaultPath(root));
    EXPECT_EQ(FlightIndex(data).databasePath(), FlightIndex::defaultPath(data));
}

// The index's database: each parameter's values of a file in one piece with its sum, block hashes
// over every value, the same rows and errors through SQLite's interface or Qt's, and a damaged
// index made afresh from the raw files without a question.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <functional>

#include "health/FileRecord.h"
#include "health/IndexDatabase.h"
#include "health/IndexStore.h"
#include "health/RawFileIndexReader.h"
#include "tests/health/HealthFixture.h"

using namespace tolm::health;
using quorsim::FlightImage;

namespace {

// The raw file's layout, written out here again rather than taken from the program.
constexpr qint64 kHeader = 788, kBlockSize = 142652;

// The reading of raw-file bytes held in memory.
FileReading parse(const QByteArray& bytes) {
    return RawFileIndexReader::parse(QStringLiteral("/m/ESN000001_fd.raw"),
                                     FileStamp{bytes.size(), 0, 0},
                                     [&bytes](qint64 at, char* out, qsizetype n) {
                                         if (at + n > bytes.size()) {
                                             return false;
                                         }
                                         std::memcpy(out, bytes.constData() + at, std::size_t(n));
                                         return true;
                                     });
}

// Runs the body on a connection of the test's own to the database, as another process would.
void connected(const QString& database, const std::function<void(QSqlDatabase&)>& body) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other process");
        db.setDatabaseName(database);
        ASSERT_TRUE(db.open());
        body(db);
        db.close();
    }
    QSqlDatabase::removeDatabase("other process");
}

void tamper(const QString& database, const QStringList& statements) {
    connected(database, [&](QSqlDatabase& db) {
        for (const QString& s : statements) {
            EXPECT_TRUE(QSqlQuery(db).exec(s)) << s.toStdString();
        }
    });
}

}  // namespace

TEST_F(HealthTest, EachParametersValuesAreOnePieceInBlockOrderAndABlocksHashCoversEachValue) {
    const FlightImage image = generated(91, 1);
    const QString raw = file(image);
    const IndexedFile f = *RawFileIndexReader::read(raw).file;
    const QList<int> used = usedBlocks(image);
    ASSERT_EQ(f.blocks.size(), used.size());
    const FileRecord::ValueSums sums = FileRecord::valueSums(f);
    for (int p = 0; p < kSteadyParameters; ++p) {
        SCOPED_TRACE(p);
        const QByteArray piece = FileRecord::values(f, p).toByteArray();
        ASSERT_EQ(piece.size(), used.size() * 104);
        for (qsizetype i = 0; i < used.size(); ++i) {
            const RecordValues values = FileRecord::valuesOf(piece, i);
            for (int r = 0; r < kSteadyRecords; ++r) {
                ASSERT_EQ(values[r], image.block(used[i]).steadyState[r].values[p]) << i << r;
            }
        }
        // The sum the reader took is the one a row's piece is checked against.
        EXPECT_EQ(FileRecord::sumOfValues(piece), sums[p]);
    }

    // A block's hash covers each of its values and header entries.
    const QByteArray bytes = testenv::fileBytes(raw);
    const IndexedFile before = *parse(bytes).file;
    ASSERT_GE(before.blocks.size(), 2);
    const int slot = before.blocks[1].slot;
    const auto changedAt = [&](qint64 at) {
        QByteArray changed = bytes;
        changed[at] = char(changed[at] ^ 0x40);
        const IndexedFile after = *parse(changed).file;
        QList<qsizetype> differ;
        for (qsizetype i = 0; i < after.blocks.size(); ++i) {
            if (after.blocks[i].hash != before.blocks[i].hash) {
                differ.append(i);
            }
        }
        return differ;
    };
    // The first and last value of every parameter, the carried word, an alarm level.
    for (int p = 0; p < kSteadyParameters; ++p) {
        const qint64 run = kHeader + slot * kBlockSize + p * 104;
        EXPECT_EQ(changedAt(run), QList<qsizetype>{1}) << p;
        EXPECT_EQ(changedAt(run + 103), QList<qsizetype>{1}) << p;
    }
    EXPECT_EQ(changedAt(0x94 + 4 * slot), QList<qsizetype>{1});
    EXPECT_EQ(changedAt(0x134 + 24 * slot + 20), QList<qsizetype>{1});
}

TEST_F(HealthTest, RowsAreTheSameAndAWaitIsBusyWrittenThroughSQLiteOrThroughQt) {
    const FlightImage image = generated(93, 2);
    FlightImage none = generated(94, 1);
    for (int b = 0; b < FlightImage::kFlightBlocks; ++b) {
        none.setFlightNumber(b, 0);
    }
    const IndexedFile full = *RawFileIndexReader::read(file(image)).file;
    const IndexedFile empty = *RawFileIndexReader::read(file(none, kApril9, "HB-NIL", "5")).file;
    ASSERT_TRUE(empty.blocks.isEmpty());
    for (const bool direct : {true, false}) {
        SCOPED_TRACE(direct ? "SQLite" : "Qt");
        const QString path = root + (direct ? "/direct" : "/qt");
        IndexDatabase db(path + ".sqlite");
        // A new database has no journal: a write waits while another connection reads it.
        IndexDatabase busy(path + "-busy.sqlite", 50);
        ASSERT_TRUE(db.open() && busy.open());
        // Debian's SQL driver runs the system's SQLite, the one this program is linked with.
        EXPECT_TRUE(db.writesDirectly());
        if (!direct) {
            db.writeThroughQt();
            busy.writeThroughQt();
        }
        IndexStore store(db);
        {
            IndexDatabase::Transaction transaction(db);
            store.putFile(empty);
            store.putFile(full);
            store.putFile(full);  // replaces the row
            transaction.commit();
        }
        db.seal();
        EXPECT_EQ(store.stamps(),
                  (QHash<QString, FileStamp>{{full.path, full.stamp}, {empty.path, empty.stamp}}));
        for (int p : {0, 13, 19}) {
            const QList<FlightRow> rows = store.rows(RowFilter{}, p);
            ASSERT_EQ(rows.size(), full.blocks.size());
            for (qsizetype i = 0; i < rows.size(); ++i) {
                EXPECT_EQ(rows[i].aircraft, "HB-IJK");
                EXPECT_EQ(rows[i].hash, full.blocks[i].hash);
                EXPECT_EQ(rows[i].values[25], image.block(rows[i].slot).steadyState[25].values[p]);
            }
        }

        connected(path + "-busy.sqlite", [&](QSqlDatabase& other) {
            QSqlQuery read(other);
            ASSERT_TRUE(read.exec("BEGIN"));
            ASSERT_TRUE(read.exec("SELECT count(*) FROM files") && read.next());
            try {
                IndexStore(busy).putFile(full);
                ADD_FAILURE() << "the write did not wait";
            } catch (const IndexError& e) {
                EXPECT_TRUE(e.busy) << e.what.toStdString();
            }
            read.finish();
            ASSERT_TRUE(read.exec("COMMIT"));
        });
    }
}

// An index filed from one raw file, whose database the tests damage.
class IndexRepair : public HealthTest {
protected:
    void SetUp() override {
        HealthTest::SetUp();
        file(image, kMarch5);
        FlightIndex index(data, database);
        ASSERT_EQ(index.scan().value().filesRead, 1);
    }

    // A fresh index over the tampered database gives every flight and tells if it was made afresh.
    void expectWholeIndex(bool rebuilt, const char* after = "") {
        SCOPED_TRACE(after);
        FlightIndex index(data, database);
        IndexResult<ScanReport> report = index.scan();
        ASSERT_TRUE(report.ok()) << report.error().toStdString();
        EXPECT_EQ(report.value().rebuilt, rebuilt);
        expectFlights(index);
    }
    void expectFlights(FlightIndex& index) {
        IndexResult<QList<DistinctFlight>> flights = index.flights(RowFilter{}, 10);
        ASSERT_TRUE(flights.ok()) << flights.error().toStdString();
        ASSERT_EQ(flights.value().size(), usedBlocks(image).size());
        for (const DistinctFlight& f : flights.value()) {
            EXPECT_EQ(f.values[25], image.block(f.copies[0].slot).steadyState[25].values[10]);
        }
    }

    FlightImage image = generated(71, 1);
};

TEST_F(IndexRepair, RowsThatDoNotHoldWhatTheIndexWroteMakeItAfresh) {
    // Blobs of another length, and values or identities changed behind the index's back (a
    // whole parameter's values swapped, the aircraft or the time of writing altered).
    for (const char* damage :
         {"UPDATE files SET v10 = x'0102'", "UPDATE files SET blocks = 'four'",
          "UPDATE files SET v10 = zeroblob(3000)", "UPDATE files SET v10 = v11",
          "UPDATE files SET aircraft = 'HB-XYZ'", "UPDATE files SET written = written + 60",
          // A file said to be left out, or with an empty reason (both found by fuzzing).
          "UPDATE files SET reason = 'gone'", "UPDATE files SET reason = ''"}) {
        SCOPED_TRACE(damage);
        tamper(database, {damage});
        FlightIndex index(data, database);
        expectFlights(index);
        EXPECT_EQ(index.flights(RowFilter{}).value().first().copies[0].aircraft, "HB-IJK");
        EXPECT_EQ(index.lastDownloads().value().value(889123), kMarch5.toSecsSinceEpoch());
        EXPECT_TRUE(index.skippedFiles().value().isEmpty());
        // An empty reason reads as none: the row still says what the index wrote.
        EXPECT_EQ(index.scan().value().rebuilt,
                  std::string(damage).find("''") == std::string::npos);
    }
}

TEST_F(IndexRepair, ALockedDatabaseIsBusyADamagedOneIsMadeAfreshAndOneNotMadeIsAnError) {
    // Locked by another process: busy, not damaged.
    connected(database, [&](QSqlDatabase& other) {
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));
        FlightIndex index(data, database, 50);
        const IndexResult<QList<DistinctFlight>> flights = index.flights(RowFilter{});
        EXPECT_FALSE(flights.ok());
        EXPECT_TRUE(flights.error().contains("locked")) << flights.error().toStdString();
        ASSERT_TRUE(lock.exec("COMMIT"));
    });
    expectWholeIndex(false);  // kept as it was

    // Garbled, cut short, of another version or missing: made afresh.
    cut(database, 0);
    patch(database, 0, QByteArray(8192, '\x5a'));
    QFile::remove(database + "-wal");
    expectWholeIndex(true, "garbage bytes");
    tamper(database, {"PRAGMA wal_checkpoint(TRUNCATE)", "PRAGMA journal_mode=DELETE"});
    cut(database, QFileInfo(database).size() / 2);
    expectWholeIndex(true, "cut short");
    tamper(database,
           {QStringLiteral("PRAGMA user_version=%1").arg(IndexDatabase::kSchemaVersion + 1)});
    expectWholeIndex(true, "another schema version");
    for (const char* suffix : {"", "-wal", "-shm"}) {
        QFile::remove(database + suffix);
    }
    expectWholeIndex(true, "missing");

    // A query that fails makes it afresh and answers all the same.
    FlightIndex index(data, database);
    ASSERT_TRUE(index.scan().ok());
    tamper(database, {"ALTER TABLE files RENAME COLUMN v10 TO w10"});
    expectFlights(index);
    EXPECT_TRUE(index.scan().value().rebuilt);

    // One that cannot be made (its folder is a file) gives an error value.
    const QString blocked = root + "/blocked";
    patch(blocked, 0, "x");
    FlightIndex nowhere(data, blocked + "/index.sqlite");
    const IndexResult<ScanReport> report = nowhere.scan();
    EXPECT_FALSE(report.ok());
    EXPECT_FALSE(report.error().isEmpty());
    EXPECT_FALSE(nowhere.flights(RowFilter{}).ok());
}

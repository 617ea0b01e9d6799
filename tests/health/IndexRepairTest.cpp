// A damaged index is made afresh from the raw files without a question: a file that is not a
// database, one of another schema version, a table that has gone, rows that do not hold what
// the index wrote. A database that cannot be made at all gives an error value.
#include <QSqlDatabase>
#include <QSqlQuery>

#include "health/IndexDatabase.h"
#include "tests/health/HealthFixture.h"

using namespace tolm::health;
using quorsim::FlightImage;

namespace {

// Runs statements on the index's database through a connection of the test's own.
void tamper(const QString& database, const QStringList& statements) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "tamper");
        db.setDatabaseName(database);
        ASSERT_TRUE(db.open());
        for (const QString& s : statements) {
            QSqlQuery q(db);
            EXPECT_TRUE(q.exec(s)) << s.toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("tamper");
}

}  // namespace

class IndexRepair : public HealthTest {
protected:
    void SetUp() override {
        HealthTest::SetUp();
        raw = file(image, kMarch5);
        FlightIndex index(data, database);
        ASSERT_EQ(index.scan().value().filesRead, 1);
    }

    // A fresh index object over the tampered database: it must still give every flight with its
    // values, and tell whether it was made afresh.
    void expectWholeIndex(bool rebuilt) {
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
    QString raw;
};

TEST_F(IndexRepair, GarbageBytesInTheDatabaseFileMakeItAfresh) {
    QFile f(database);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(8192, '\x5a'));
    f.close();
    QFile::remove(database + "-wal");
    expectWholeIndex(true);
}

TEST_F(IndexRepair, ADatabaseCutShortIsMadeAfresh) {
    tamper(database, {"PRAGMA wal_checkpoint(TRUNCATE)", "PRAGMA journal_mode=DELETE"});
    cut(database, QFileInfo(database).size() / 2);
    expectWholeIndex(true);
}

TEST_F(IndexRepair, AnotherSchemaVersionIsMadeAfresh) {
    tamper(database,
           {QStringLiteral("PRAGMA user_version=%1").arg(IndexDatabase::kSchemaVersion + 1)});
    expectWholeIndex(true);
}

TEST_F(IndexRepair, AMissingDatabaseIsMade) {
    for (const char* suffix : {"", "-wal", "-shm"}) {
        QFile::remove(database + suffix);
    }
    expectWholeIndex(true);
}

TEST_F(IndexRepair, AQueryThatFailsMakesItAfreshAndAnswersAllTheSame) {
    FlightIndex index(data, database);
    ASSERT_TRUE(index.scan().ok());
    tamper(database, {"ALTER TABLE files RENAME COLUMN v10 TO w10"});
    expectFlights(index);
    EXPECT_TRUE(index.scan().value().rebuilt);
}

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

TEST_F(IndexRepair, ADatabaseLockedByAnotherProcessIsBusyNotDamaged) {
    const QString connection = QStringLiteral("other process");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        other.setDatabaseName(database);
        ASSERT_TRUE(other.open());
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));
        FlightIndex index(data, database, 50);
        const IndexResult<QList<DistinctFlight>> flights = index.flights(RowFilter{});
        EXPECT_FALSE(flights.ok());
        EXPECT_TRUE(flights.error().contains("locked")) << flights.error().toStdString();
        ASSERT_TRUE(lock.exec("COMMIT"));
        other.close();
    }
    QSqlDatabase::removeDatabase(connection);
    expectWholeIndex(false);  // kept as it was
}

TEST_F(IndexRepair, ADatabaseThatCannotBeMadeGivesAnErrorValue) {
    // Its folder is a file: nothing can be made there.
    const QString blocked = root + QStringLiteral("/blocked");
    QFile b(blocked);
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.close();
    FlightIndex index(data, blocked + QStringLiteral("/index.sqlite"));
    const IndexResult<ScanReport> report = index.scan();
    EXPECT_FALSE(report.ok());
    EXPECT_FALSE(report.error().isEmpty());
    EXPECT_FALSE(index.flights(RowFilter{}).ok());
}

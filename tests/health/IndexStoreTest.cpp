// The index's rows against the raw files they come from: each parameter's values of a file in one
// piece as the reader lays them out, the sums the reader takes equal to those taken again from a
// row, block hashes over every value and header entry, and the same rows and errors whether they
// are written through SQLite's own interface or through Qt's.
#include <QSqlDatabase>
#include <QSqlQuery>

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

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

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

}  // namespace

TEST_F(HealthTest, EachParametersValuesOfAFileAreOnePieceInBlockOrder) {
    const FlightImage image = generated(91, 1);
    const IndexedFile f = *RawFileIndexReader::read(file(image)).file;
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
}

TEST_F(HealthTest, ABlocksHashCoversEachOfItsValuesAndHeaderEntries) {
    const QByteArray bytes = bytesOf(file(generated(92, 1)));
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

TEST_F(HealthTest, RowsAreTheSameWrittenThroughSQLiteOrThroughQt) {
    const FlightImage image = generated(93, 2);
    FlightImage none = generated(94, 1);
    for (int b = 0; b < FlightImage::kFlightBlocks; ++b) {
        none.setFlightNumber(b, 0);
    }
    const IndexedFile full = *RawFileIndexReader::read(file(image)).file;
    const IndexedFile empty = *RawFileIndexReader::read(file(none, QStringLiteral("HB-NIL"),
                                                             QStringLiteral("5"), kApril9))
                                   .file;
    ASSERT_TRUE(empty.blocks.isEmpty());
    for (const bool direct : {true, false}) {
        SCOPED_TRACE(direct ? "SQLite" : "Qt");
        IndexDatabase db(root + (direct ? "/direct.sqlite" : "/qt.sqlite"));
        ASSERT_TRUE(db.open());
        // Debian's SQL driver runs the system's SQLite, the one this program is linked with.
        EXPECT_TRUE(db.writesDirectly());
        if (!direct) {
            db.writeThroughQt();
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
    }
}

TEST_F(HealthTest, AWriteThatMustWaitForAReaderIsBusyEitherWay) {
    const IndexedFile f = *RawFileIndexReader::read(file(generated(95, 1))).file;
    for (const bool direct : {true, false}) {
        SCOPED_TRACE(direct ? "SQLite" : "Qt");
        const QString path = root + (direct ? "/direct.sqlite" : "/qt.sqlite");
        IndexDatabase db(path, 50);
        ASSERT_TRUE(db.open());
        if (!direct) {
            db.writeThroughQt();
        }
        // A new database has no journal: a row goes into the file only once no other
        // connection reads it.
        const QString connection = QStringLiteral("reader");
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            other.setDatabaseName(path);
            ASSERT_TRUE(other.open());
            QSqlQuery read(other);
            ASSERT_TRUE(read.exec("BEGIN"));
            ASSERT_TRUE(read.exec("SELECT count(*) FROM files") && read.next());
            try {
                IndexStore(db).putFile(f);
                ADD_FAILURE() << "the write did not wait";
            } catch (const IndexError& e) {
                EXPECT_TRUE(e.busy) << e.what.toStdString();
            }
            read.finish();
            ASSERT_TRUE(read.exec("COMMIT"));
            other.close();
        }
        QSqlDatabase::removeDatabase(connection);
    }
}

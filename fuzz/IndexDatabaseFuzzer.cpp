// Any bytes as the flight index's database file, or any values written into the rows of a good
// one: the index is used as it is when it is intact and made afresh from the raw files when it is
// not, so that it always gives the flights of the data directory with their values; never a
// crash, never other flights.
// Input: one byte of mode (bit 0: 0 the rest is the database file; 1 the rest changes a good
// database: a byte picks the column (blocks, v0 to v19, serial, path, reason), the rest is the
// value written into every row, as a blob or, with bit 1 of the mode, as text).
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstring>

#include "core/ByteOrder.h"
#include "fuzz/FuzzSupport.h"
#include "health/FlightIndex.h"

using fuzz::check;
using namespace tolm::health;

namespace {

constexpr qint64 kHeader = 788, kBlockSize = 142652;
constexpr qint64 kFileSize = kHeader + 20 * kBlockSize + 24;
constexpr int kFlights = 7;

QString database;
QByteArray goodDatabase;

// One raw file of seven flights whose A4R (value 10) of record r in slot s is s + r / 100.
void writeDataDirectory() {
    QByteArray file(kFileSize, '\0');
    auto* p = reinterpret_cast<unsigned char*>(file.data());
    tolm::storeLe32(p, 0xAEEAAEED);
    std::memcpy(p + 4, "HB-FUZ", 6);
    tolm::storeLeI32(p + 40, 1);
    for (int s = 0; s < kFlights; ++s) {
        tolm::storeLeI32(p + 68 + 4 * s, 100 + s);
        for (int r = 0; r < 26; ++r) {
            tolm::storeLeF32(p + kHeader + s * kBlockSize + 4 * (10 * 26 + r), s + r / 100.0f);
        }
    }
    const QString folder = fuzz::dataDirectory() + QStringLiteral("/HB-FUZ_data/engine_1");
    QDir().mkpath(folder);
    fuzz::writeFile(folder + QStringLiteral("/ESN000042_fd_20080305_1407.raw"), file);
}

void removeDatabase() {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        QFile::remove(database + QLatin1String(suffix));
    }
}

void tamper(const QString& column, const QByteArray& value, bool asText) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "tamper");
        db.setDatabaseName(database);
        check(db.open(), "the good database does not open");
        QSqlQuery q(db);
        q.prepare(QStringLiteral("UPDATE files SET %1 = ?").arg(column));
        q.addBindValue(asText ? QVariant(QString::fromUtf8(value)) : QVariant(value));
        q.exec();  // a value the schema refuses changes nothing
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase("tamper");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::setUp(argc, argv);
    database = fuzz::home() + QStringLiteral("/cache/index.sqlite");
    writeDataDirectory();
    {
        FlightIndex index(fuzz::dataDirectory(), database);
        check(index.scan().ok(), "the good database cannot be made");
    }
    goodDatabase = fuzz::readFile(database);
    check(!goodDatabase.isEmpty() && !QFile::exists(database + "-wal"),
          "the good database is not whole in its file");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const quint8 mode = in.byte();
    removeDatabase();
    if ((mode & 1) == 0) {
        fuzz::writeFile(database, in.rest());
    } else {
        fuzz::writeFile(database, goodDatabase);
        const QStringList columns = {"blocks", "serial", "path", "reason", "written"};
        const quint8 pick = in.byte();
        const QString column =
            pick < 20 ? QStringLiteral("v%1").arg(pick) : columns[(pick - 20) % columns.size()];
        tamper(column, in.rest(), mode & 2);
    }

    FlightIndex index(fuzz::dataDirectory(), database);
    const IndexResult<QList<DistinctFlight>> flights = index.flights(RowFilter{}, 10);
    check(flights.ok(), "the index cannot be used", flights.error());
    const IndexResult<QList<SkippedFile>> skipped = index.skippedFiles();
    check(skipped.ok() && skipped.value().isEmpty(), "a good raw file is listed as left out");
    // A tampered serial or time of writing stays until the raw file changes: the rows are what
    // the index wrote, only their meaning is wrong. Everything else must be the data directory's.
    if (flights.value().size() != kFlights) {
        fuzz::fail("the index holds other flights than the data directory");
    }
    for (const DistinctFlight& f : flights.value()) {
        const int s = f.copies.first().slot;
        check(s >= 0 && s < kFlights && f.flightNumber == 100 + s, "a flight is not the file's");
        for (int r = 0; r < 26; ++r) {
            check(f.values[r] == s + r / 100.0f, "a flight's values are not the file's");
        }
    }
    return 0;
}

// The aircraft import on any text, as a whole file and line by line (each line alone as a file
// of its own). Afterwards the register holds exactly the usable identifiers imported, each found
// under its key with a record whose texts begin its line's fields, "LastAircraft" names the last
// one, each has its two engine folders, and nothing was written outside the data directory.
// Input: one byte (bit 0: line by line), then the file.
#include <QDir>
#include <QSet>
#include <QSettings>
#include <QTextStream>

#include "formats/AircraftIdentifier.h"
#include "fuzz/FuzzSupport.h"
#include "register/AircraftImport.h"
#include "register/TolmAircraftSettings.h"

using fuzz::check;
using tolm::AircraftRecord;

namespace {

// At most this many characters of each field reach the record.
constexpr int kFieldLimit[] = {15, 9, 15, 9, 19, 15, 9, 19, 1023};

void clearRegister() {
    QSettings store;
    store.clear();
}

// The stored bytes of a text field begin the line's field, cut to its limit.
void checkField(const QByteArray& stored, const QStringList& fields, int f) {
    const QByteArray given = fields.value(f).left(kFieldLimit[f]).toLocal8Bit();
    check(given.startsWith(stored), "a stored field is not the beginning of its field",
          QStringLiteral("field %1: \"%2\"").arg(f).arg(QString::fromLocal8Bit(stored)));
}

void checkRecord(const AircraftRecord& r, const QStringList& fields) {
    checkField(r.identifierBytes(), fields, 0);
    checkField(r.shopIdBytes(), fields, 1);
    for (int e = 0; e < 2; ++e) {
        checkField(r.engine(e).typeBytes(), fields, 2 + 3 * e);
        checkField(r.engine(e).serBytes(), fields, 3 + 3 * e);
        checkField(r.engine(e).installDateBytes(), fields, 4 + 3 * e);
    }
    checkField(r.commentsBytes(), fields, 8);
}

// Imports one file into an empty register and checks what it left.
void importAndCheck(const QByteArray& text) {
    clearRegister();
    fuzz::clearHome();
    const QString path = fuzz::home() + QStringLiteral("/aircraft.csv");
    fuzz::writeFile(path, text);
    const QStringList before = fuzz::entriesUnder(fuzz::home());

    const std::optional<tolm::AircraftImportResult> result =
        tolm::importAircraftFile(path, fuzz::dataDirectory());
    check(result.has_value(), "an existing file was not opened");

    tolm::TolmAircraftSettings settings;
    const QStringList stored = settings.aircraftIdentifiers();
    const QSet<QString> distinct(stored.begin(), stored.end());
    check(result->imported >= stored.size(), "more aircraft stored than imported");
    check(distinct.size() == stored.size(), "an identifier is listed twice");
    check((result->imported == 0) == stored.isEmpty(), "imported aircraft are not in the register");
    check(stored.isEmpty() || stored.contains(settings.lastAircraft()),
          "\"LastAircraft\" names an aircraft that was not imported");

    // Every file and folder the import made lies in the data directory: one folder per aircraft
    // with its two engine folders (the settings store's folder aside).
    QStringList expected = before;
    for (const QString& id : stored) {
        check(tolm::isUsableAircraftId(id), "an unusable identifier was stored", id);
        const AircraftRecord record = settings.loadAircraft(id);
        check(record.identifier() == id, "a record is stored under another identifier", id);
        for (int e = 0; e < 2; ++e) {
            check(record.engine(e).option(tolm::EngineOption::DownloadBearingData) ||
                      result->imported > stored.size(),
                  "a newly imported engine is not downloaded");
        }
        const QString folder = QStringLiteral("data/%1_data").arg(id);
        expected << folder << folder + QStringLiteral("/engine_1")
                 << folder + QStringLiteral("/engine_2");
    }
    expected.sort();
    expected.removeDuplicates();
    QStringList found = fuzz::entriesUnder(fuzz::home());
    found.removeIf([](const QString& e) { return e.startsWith(QLatin1String(".config")); });
    expected.removeIf([](const QString& e) { return e.startsWith(QLatin1String(".config")); });
    check(found == expected, "the import wrote something other than the engine folders",
          found.join(QLatin1Char(' ')));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const bool lineByLine = input.byte() & 1;
    const QByteArray text = input.rest();
    if (!lineByLine) {
        importAndCheck(text);
        return 0;
    }
    QByteArrayList lines;
    for (const QByteArray& piece : text.split('\n')) {
        lines << piece.split('\r');  // a line ends at "\n", "\r\n" or a lone "\r"
    }
    for (const QByteArray& line : lines) {
        importAndCheck(line);
        tolm::TolmAircraftSettings settings;
        const QStringList stored = settings.aircraftIdentifiers();
        check(stored.size() <= 1, "one line stored more than one aircraft");
        if (!stored.isEmpty()) {
            // Decoded as the import decodes its file (a byte-order mark chooses UTF-16 or -32).
            QTextStream stream(line);
            stream.setEncoding(QStringConverter::System);
            const QString decoded = stream.readAll();
            checkRecord(settings.loadAircraft(stored.first()),
                        decoded.split(QLatin1Char(','), Qt::KeepEmptyParts));
        }
    }
    return 0;
}

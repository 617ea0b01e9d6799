#include "register/AircraftImport.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include "core/Config.h"
#include "formats/AircraftIdentifier.h"
#include "register/RegisterLog.h"
#include "register/TolmAircraftSettings.h"

namespace tolm {

namespace {

// The most characters taken from each field of a line.
enum Field { Identifier, ShopId, Type1, Ser1, Date1, Type2, Ser2, Date2, Comments, FieldCount };
constexpr int kFieldLimit[FieldCount] = {15, 9, 15, 9, 19, 15, 9, 19, 1023};

AircraftRecord recordFromFields(const QStringList& fields) {
    auto field = [&fields](Field f) { return fields.value(f).left(kFieldLimit[f]); };
    AircraftRecord record;
    record.setIdentifier(field(Identifier));
    record.setShopId(field(ShopId));
    const Field engineFields[2][3] = {{Type1, Ser1, Date1}, {Type2, Ser2, Date2}};
    for (int i = 0; i < 2; ++i) {
        EngineRecord engine;
        engine.setType(field(engineFields[i][0]));
        engine.setSer(field(engineFields[i][1]));
        engine.setInstallDate(field(engineFields[i][2]));
        record.setEngine(i, engine);
    }
    record.setComments(field(Comments));
    return record;
}

}  // namespace

std::optional<AircraftImportResult> importAircraftFile(const QString& path,
                                                       const QString& dataDirectory) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcRegister) << "import file" << path << "does not open:" << file.errorString();
        return std::nullopt;
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::System);
    AircraftImportResult result;
    TolmAircraftSettings settings;
    // A line ends at "\n", "\r\n" or a lone "\r" (classic Mac line ends), so that no line is
    // joined to the next one: readLine() ends lines at the first two only.
    QStringList pending;
    while (!pending.isEmpty() || !in.atEnd()) {
        if (pending.isEmpty()) {
            pending = in.readLine().split(QLatin1Char('\r'));
        }
        const QString line = pending.takeFirst();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const QStringList fields = line.split(QLatin1Char(','), Qt::KeepEmptyParts);
        if (fields.value(Identifier).isEmpty()) {
            continue;
        }
        AircraftRecord record = recordFromFields(fields);
        // The key is the identifier as the record holds it, so that both always agree.
        const QString identifier = record.identifier();
        if (!isUsableAircraftId(identifier)) {
            qCWarning(lcRegister) << "import skips the aircraft identifier" << identifier;
            result.refusedIdentifiers << identifier;
            continue;
        }
        settings.storeAircraft(identifier, record);
        settings.setLastAircraft(identifier);
        for (int engineNumber = 1; engineNumber <= 2; ++engineNumber) {
            const QString folder = engineDataPath(dataDirectory, identifier, engineNumber);
            if (!QDir().mkpath(folder)) {
                qCWarning(lcRegister) << "cannot create" << folder;
            }
        }
        ++result.imported;
    }
    return result;
}

Notice ImportAircraft(const QString& path) {
    const QString title = QStringLiteral("Import Aircraft");
    const std::optional<AircraftImportResult> result = importAircraftFile(path, dataDirectory());
    if (!result) {
        return Notice::critical(title, QStringLiteral("Unable to open '%1'").arg(path));
    }
    if (result->refusedIdentifiers.isEmpty()) {
        return Notice::information(title,
                                   QStringLiteral("Aircraft Information successfully imported!"));
    }
    QStringList quoted;
    for (const QString& identifier : result->refusedIdentifiers) {
        quoted << QLatin1Char('"') + identifier + QLatin1Char('"');
    }
    return Notice::warning(
        title, QStringLiteral("Aircraft Information imported, but %1 line(s) skipped because of "
                              "an invalid aircraft ID: %2\n\nAn aircraft ID must not be \".\" "
                              "or \"..\" nor contain control characters or any of "
                              "/ \\ < > : \" | ? *")
                   .arg(QString::number(result->refusedIdentifiers.size()),
                        quoted.join(QStringLiteral(", "))));
}

}  // namespace tolm

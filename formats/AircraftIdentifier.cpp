#include "formats/AircraftIdentifier.h"

namespace tolm {

bool isUsableAircraftId(const QString& identifier) {
    if (identifier.isEmpty() || identifier == QLatin1String(".") ||
        identifier == QLatin1String("..")) {
        return false;
    }
    static const QString forbidden = QStringLiteral("/\\<>:\"|?*");
    for (const QChar c : identifier) {
        if (c.unicode() < 0x20 || c.category() == QChar::Other_Control || forbidden.contains(c)) {
            return false;
        }
    }
    return true;
}

QString aircraftDataPath(const QString& dataDirectory, const QString& identifier) {
    return QStringLiteral("%1/%2_data").arg(dataDirectory, identifier);
}

QString engineDataPath(const QString& dataDirectory, const QString& identifier, int engineNumber) {
    return aircraftDataPath(dataDirectory, identifier) +
           QStringLiteral("/engine_%1").arg(engineNumber);
}

}  // namespace tolm

#include "app/RegisterCount.h"

#include <QSettings>

namespace tolm {

int aircraftCount() {
    QSettings s;
    s.beginGroup(QStringLiteral("AircraftInfo"));
    return static_cast<int>(s.childKeys().size());
}

int engineTypeCount() {
    int count = 0;
    for (const QString& key : QSettings().childKeys()) {
        if (key.startsWith(QLatin1String("EngineType_"))) {
            ++count;
        }
    }
    return count;
}

}  // namespace tolm

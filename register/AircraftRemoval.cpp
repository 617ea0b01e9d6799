#include "register/AircraftRemoval.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/Config.h"
#include "formats/AircraftIdentifier.h"
#include "register/RegisterLog.h"
#include "register/TolmAircraftSettings.h"

namespace tolm {

bool removeAircraftData(const QString& dataDirectory, const QString& identifier) {
    if (!isUsableAircraftId(identifier)) {
        qCWarning(lcRegister) << "no data folder is deleted for the aircraft identifier"
                              << identifier;
        return false;
    }
    const QString path = aircraftDataPath(dataDirectory, identifier);
    const QFileInfo info(path);
    if (info.isSymLink()) {
        return QFile::remove(path);
    }
    if (!info.isDir()) {
        return true;
    }
    // Links inside are removed as links: removeRecursively does not descend into them.
    const bool removed = QDir(path).removeRecursively();
    if (!removed) {
        qCWarning(lcRegister) << "could not fully delete" << path;
    }
    return removed;
}

std::optional<Notice> RemoveAircraft(const QString& identifier) {
    TolmAircraftSettings settings;
    if (!settings.containsAircraft(identifier)) {
        return std::nullopt;
    }
    std::optional<Notice> problem;
    if (!removeAircraftData(dataDirectory(), identifier)) {
        problem =
            Notice::critical(QStringLiteral("Error"),
                             QStringLiteral("Unable to fully delete this aircraft directory"));
    }
    settings.removeAircraft(identifier);
    return problem;
}

}  // namespace tolm

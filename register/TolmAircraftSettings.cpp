#include "register/TolmAircraftSettings.h"

#include <algorithm>

#include "formats/AircraftIdentifier.h"
#include "register/RegisterLog.h"

namespace tolm {

namespace {

const QString kLastAircraftKey = QStringLiteral("LastAircraft");
const QString kEngineTypePrefix = QStringLiteral("EngineType_");

QString engineTypeKey(int number) {
    return kEngineTypePrefix + QString::number(number);
}

}  // namespace

TolmAircraftSettings::TolmAircraftSettings() : group_(QStringLiteral("AircraftInfo")) {}

QString TolmAircraftSettings::aircraftKey(const QString& identifier) const {
    return group_ + QLatin1Char('/') + identifier;
}

void TolmAircraftSettings::storeAircraft(const QString& identifier, AircraftRecord& record) {
    // An identifier with "/" (a record read from an older register may hold one) would land the
    // record in a group of its own or on the group itself, where the register never finds it.
    if (!isUsableAircraftId(identifier)) {
        qCWarning(lcRegister) << "not storing a record under the aircraft identifier" << identifier;
        return;
    }
    if (!settings_.contains(aircraftKey(identifier))) {
        for (int i = 0; i < 2; ++i) {
            EngineRecord engine = record.engine(i);
            engine.setOption(EngineOption::DownloadBearingData, true);
            record.setEngine(i, engine);
        }
    }
    settings_.setValue(aircraftKey(identifier), record.toByteArray());
}

AircraftRecord TolmAircraftSettings::loadAircraft(const QString& identifier) {
    if (identifier.isEmpty()) {
        return AircraftRecord();
    }
    return AircraftRecord::fromByteArray(settings_.value(aircraftKey(identifier)).toByteArray());
}

bool TolmAircraftSettings::containsAircraft(const QString& identifier) {
    return !identifier.isEmpty() && settings_.contains(aircraftKey(identifier));
}

void TolmAircraftSettings::removeAircraft(const QString& identifier) {
    if (!identifier.isEmpty()) {
        settings_.remove(aircraftKey(identifier));
    }
}

QStringList TolmAircraftSettings::aircraftIdentifiers() {
    return settings_.childKeys(group_);
}

int TolmAircraftSettings::countAircraft() {
    return static_cast<int>(aircraftIdentifiers().size());
}

int TolmAircraftSettings::initialAircraft() {
    const QStringList identifiers = aircraftIdentifiers();
    if (identifiers.isEmpty()) {
        return -1;
    }
    return static_cast<int>(std::max<qsizetype>(0, identifiers.indexOf(lastAircraft())));
}

QString TolmAircraftSettings::lastAircraft() {
    return settings_.value(kLastAircraftKey).toString();
}

void TolmAircraftSettings::setLastAircraft(const QString& identifier) {
    settings_.setValue(kLastAircraftKey, identifier);
}

QStringList TolmAircraftSettings::engineTypes() {
    QStringList names;
    for (int n = 0; settings_.contains(engineTypeKey(n)); ++n) {
        names << settings_.value(engineTypeKey(n)).toString();
    }
    return names;
}

int TolmAircraftSettings::countEngineTypes() {
    const QStringList keys = settings_.childKeys();
    return static_cast<int>(std::count_if(keys.begin(), keys.end(), [](const QString& key) {
        return key.startsWith(kEngineTypePrefix, Qt::CaseSensitive);
    }));
}

void TolmAircraftSettings::setEngineType(int number, const QString& name) {
    settings_.setValue(engineTypeKey(number), name);
}

void TolmAircraftSettings::removeEngineType(const QString& name) {
    int n = 0;
    while (settings_.contains(engineTypeKey(n)) &&
           settings_.value(engineTypeKey(n)).toString() != name) {
        ++n;
    }
    settings_.remove(engineTypeKey(n));  // a name not found points past the last key: nothing goes
    for (int m = n + 1; settings_.contains(engineTypeKey(m)); ++m) {
        settings_.setValue(engineTypeKey(m - 1), settings_.value(engineTypeKey(m)));
        settings_.remove(engineTypeKey(m));
    }
}

AircraftRecord loadAircraft(const QByteArray& identifier) {
    TolmAircraftSettings settings;
    return settings.loadAircraft(QString::fromLocal8Bit(identifier));
}

}  // namespace tolm

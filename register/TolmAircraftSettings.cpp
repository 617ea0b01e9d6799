#include "register/TolmAircraftSettings.h"

#include <QCoreApplication>
#include <algorithm>

#include "register/RegisterLog.h"

namespace tolm {

namespace {

const QString kLastAircraftKey = QStringLiteral("LastAircraft");
const QString kEngineTypePrefix = QStringLiteral("EngineType_");

QString engineTypeKey(int number) {
    return kEngineTypePrefix + QString::number(number);
}

}  // namespace

TolmAircraftSettings::TolmAircraftSettings()
    : QSettings(QCoreApplication::organizationName(), QCoreApplication::applicationName()),
      group_(QStringLiteral("AircraftInfo")) {}

QString TolmAircraftSettings::aircraftKey(const QString& identifier) const {
    return group_ + QLatin1Char('/') + identifier;
}

void TolmAircraftSettings::storeAircraft(const QString& identifier, AircraftRecord& record) {
    if (identifier.isEmpty()) {
        qCWarning(lcRegister) << "not storing a record without an aircraft identifier";
        return;
    }
    if (!contains(aircraftKey(identifier))) {
        for (int i = 0; i < 2; ++i) {
            EngineRecord engine = record.engine(i);
            engine.setOption(EngineOption::DownloadBearingData, true);
            record.setEngine(i, engine);
        }
    }
    setValue(aircraftKey(identifier), record.toByteArray());
}

AircraftRecord TolmAircraftSettings::loadAircraft(const QString& identifier) {
    if (identifier.isEmpty()) {
        return AircraftRecord();
    }
    return AircraftRecord::fromByteArray(value(aircraftKey(identifier)).toByteArray());
}

bool TolmAircraftSettings::containsAircraft(const QString& identifier) {
    return !identifier.isEmpty() && contains(aircraftKey(identifier));
}

void TolmAircraftSettings::removeAircraft(const QString& identifier) {
    if (!identifier.isEmpty()) {
        remove(aircraftKey(identifier));
    }
}

QStringList TolmAircraftSettings::aircraftIdentifiers() {
    beginGroup(group_);
    const QStringList keys = childKeys();
    endGroup();
    return keys;
}

int TolmAircraftSettings::countAircraft() {
    return static_cast<int>(aircraftIdentifiers().size());
}

int TolmAircraftSettings::fillAircraftList(ZafObject list, ZafEventType event) {
    list.ClearItems();
    const QStringList identifiers = aircraftIdentifiers();
    for (const QString& identifier : identifiers) {
        list.AddItem(identifier, event);
    }
    if (!identifiers.isEmpty()) {
        list.SetItemSelected(0);
        if (const qsizetype last = identifiers.indexOf(lastAircraft()); last > 0) {
            list.SetItemSelected(0, false);
            list.SetItemSelected(static_cast<int>(last));
        }
    }
    return static_cast<int>(identifiers.size());
}

QString TolmAircraftSettings::lastAircraft() {
    return value(kLastAircraftKey).toString();
}

void TolmAircraftSettings::setLastAircraft(const QString& identifier) {
    setValue(kLastAircraftKey, identifier);
}

QStringList TolmAircraftSettings::engineTypes() {
    QStringList names;
    for (int n = 0; contains(engineTypeKey(n)); ++n) {
        names << value(engineTypeKey(n)).toString();
    }
    return names;
}

void TolmAircraftSettings::fillEngineTypeList(ZafObject list, ZafEventType event) {
    list.ClearItems();
    for (const QString& name : engineTypes()) {
        list.AddItem(name, event);
    }
}

int TolmAircraftSettings::countEngineTypes() {
    const QStringList keys = childKeys();
    return static_cast<int>(std::count_if(keys.begin(), keys.end(), [](const QString& key) {
        return key.startsWith(kEngineTypePrefix, Qt::CaseSensitive);
    }));
}

void TolmAircraftSettings::setEngineType(int number, const QString& name) {
    setValue(engineTypeKey(number), name);
}

void TolmAircraftSettings::removeEngineType(const QString& name) {
    int n = 0;
    while (contains(engineTypeKey(n)) && value(engineTypeKey(n)).toString() != name) {
        ++n;
    }
    remove(engineTypeKey(n));  // a name not found points past the last key: nothing goes
    for (int m = n + 1; contains(engineTypeKey(m)); ++m) {
        setValue(engineTypeKey(m - 1), value(engineTypeKey(m)));
        remove(engineTypeKey(m));
    }
}

AircraftRecord loadAircraft(const QByteArray& identifier) {
    TolmAircraftSettings settings;
    return settings.loadAircraft(QString::fromLocal8Bit(identifier));
}

}  // namespace tolm

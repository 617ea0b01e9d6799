#include "core/Config.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "core/ConnectionSettings.h"
#include "core/HelpTexts.h"
#include "core/PlatformPaths.h"
#include "core/SettingsStore.h"

namespace tolm {

namespace {

int currentLevel = kLevelFlightLine;

}  // namespace

QString versionText() {
    return QStringLiteral("%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionPatch);
}

QString programPartNumber() {
    return QStringLiteral("741-508-10%1-%2%3")
        .arg(kVersionMajor)
        .arg(kVersionMinor)
        .arg(kVersionPatch, 2, 10, QLatin1Char('0'));
}

void setSettingsIdentity() {
    QCoreApplication::setOrganizationName(QStringLiteral("Korvel"));
    QCoreApplication::setApplicationName(QStringLiteral("QUOR"));
}

void InitDefaults() {
    HelpTexts::writeBuiltIn();
    ConnectionSettings::writeDefaults();
    SettingsStore s;
    const struct {
        const char* key;
        QString value;
    } strings[] = {
        {"EngineType_0", QStringLiteral("CFM56-3")},
        {"EngineType_1", QStringLiteral("CFM56-7")},
        {"LastAircraft", QString()},
        {"DataDir", defaultDataDirectory()},
    };
    for (const auto& d : strings) {
        if (s.value(QLatin1String(d.key)).toString().isEmpty()) {
            s.setValue(QLatin1String(d.key), d.value);
        }
    }
    if (!s.contains(QStringLiteral("LinkTrace"))) {
        s.setValue(QStringLiteral("LinkTrace"), 0);
    }
    s.setValue(QStringLiteral("Version"), versionText());
}

QString dataDirectory() {
    SettingsStore s;
    if (!s.contains(QStringLiteral("DataDir"))) {
        s.setValue(QStringLiteral("DataDir"), defaultDataDirectory());
    }
    const QString dir = s.value(QStringLiteral("DataDir"), defaultDataDirectory()).toString();
    return QFileInfo(dir).absoluteFilePath();
}

void readFontSpec(int group, FontSpec& font) {
    const char* prefix = nullptr;
    int size = 0, weight = 0, slant = 0;
    switch (group) {
        case kNormalFontGroup:
            prefix = "NormalFont", size = 12, weight = 1, slant = 1;
            break;
        case kSmallFontGroup:
            prefix = "SmallFont", size = 8, weight = 0, slant = 0;
            break;
        case kMidFontGroup:
            prefix = "MidFont", size = 10, weight = 1, slant = 1;
            break;
        default:
            return;
    }
    const QString key = QLatin1String(prefix);
    SettingsStore s;
    font.family = s.value(key, QStringLiteral("Arial")).toString();
    font.pointSize = s.value(key + QLatin1String("PointSize"), size).toInt();
    font.weight = s.value(key + QLatin1String("Weight"), weight).toInt();
    font.slant = s.value(key + QLatin1String("Slant"), slant).toInt();
}

int privilegeLevel() {
    return currentLevel;
}

void setPrivilegeLevel(int level) {
    currentLevel = level;
}

QString privilegeName(int level) {
    switch (level) {
        case kLevelFactory:
            return QStringLiteral("Korvel");
        case kLevelAdministrator:
            return QStringLiteral("Administrator");
        case kLevelFlightLine:
            return QStringLiteral("Flight Line");
        default:
            return QString();
    }
}

int readPrivTimeout() {
    SettingsStore s;
    if (!s.contains(QStringLiteral("PrivTimeout"))) {
        s.setValue(QStringLiteral("PrivTimeout"), 900);
    }
    return s.value(QStringLiteral("PrivTimeout")).toInt();
}

bool readLinkTrace() {
    return SettingsStore().value(QStringLiteral("LinkTrace"), 0).toBool();
}

}  // namespace tolm

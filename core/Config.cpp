#include "core/Config.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "core/PlatformPaths.h"

namespace tolm {

namespace {

int currentLevel = kLevelFlightLine;

struct HelpSection {
    const char* key;
    const char* placeholder;  // what older versions left in an unedited section
    const char* text;
};

const HelpSection kHelpSections[] = {
    {"Main Window", "Main Window Text", ""},
    {"Download", "Download Text",
     "Before starting the download please ensure:\r\n"
     "(1) The unit is powered on\r\n"
     "(2) The unit front panel display is switched off\r\n"
     "(3) The cable is plugged into the front connector of the unit"},
    {"Aircraft Information", "Aircraft Info Text",
     "First make the selection of the Aircraft Identifier and then of the related engine "
     "types. Supply the serial number of the engines, and, if available, the installation date. "
     "Click on the \"Save Changes\" button or push the \"F5\" key to apply the changes."},
    {"Clear Memory", "Clear Memory Text",
     "For each engine, approximately 3 minutes are necessary to erase the memory in the unit. "
     "Make sure not to remove the connector during this operation.\r\n\r\n"
     "If there is a power interruption during the procedure to erase the data, the related "
     "memory can become unserviceable. As this can also have an effect on the subsequent "
     "downloads, do the procedure that follows to make sure that the memory is empty:\r\n\r\n"
     "(1) Remove the connector from the QUOR front panel.\r\n"
     "(2) Start the unit power supply.\r\n"
     "(3) Do a \"memory clear\" procedure."},
    {"Other Functions", "Other Function Text",
     "Downloaded data on the computer's disk can be displayed and inspected"},
    {"Utilities", "Utility functions text",
     "In the communication box the IP address 192.168.0.1 is the default IP address of the "
     "unit.  Make sure the IP address of your computer is 192.168.0.[2-254] and the subnet "
     "mask is 255.255.255.0"},
};

void writeHelpSections(QSettings& s) {
    for (const HelpSection& h : kHelpSections) {
        s.setValue(QLatin1String(h.key), QString::fromLatin1(h.text));
    }
}

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
    QSettings s;
    if (!s.allKeys().isEmpty()) {
        // Sections left empty or holding an old placeholder are refreshed like all others:
        // every section ends up with the built-in text below.
        for (const HelpSection& h : kHelpSections) {
            const QString v = s.value(QLatin1String(h.key)).toString();
            if (v.isEmpty() || v == QLatin1String(h.placeholder)) {
                s.setValue(QLatin1String(h.key), QString::fromLatin1(h.text));
            }
        }
    }
    writeHelpSections(s);

    if (s.value(QStringLiteral("Port")).toInt() == 0) {
        s.setValue(QStringLiteral("Port"), 4242);
    }
    const struct {
        const char* key;
        QString value;
    } strings[] = {
        {"IP Address", QStringLiteral("192.168.0.1")}, {"EngineType_0", QStringLiteral("CFM56-3")},
        {"EngineType_1", QStringLiteral("CFM56-7")},   {"LastAircraft", QString()},
        {"DataDir", defaultDataDirectory()},
    };
    for (const auto& d : strings) {
        if (s.value(QLatin1String(d.key)).toString().isEmpty()) {
            s.setValue(QLatin1String(d.key), d.value);
        }
    }
    if (!s.contains(QStringLiteral("ConnectTimeout"))) {
        s.setValue(QStringLiteral("ConnectTimeout"), 150);
    }
    if (!s.contains(QStringLiteral("LinkTrace"))) {
        s.setValue(QStringLiteral("LinkTrace"), 0);
    }
    s.setValue(QStringLiteral("Version"), versionText());
}

QString dataDirectory() {
    QSettings s;
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
    QSettings s;
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

QString storedPassword() {
    return QSettings().value(QStringLiteral("Password"), QStringLiteral("vrkzt")).toString();
}

QStringList helpSectionKeys() {
    QStringList keys;
    for (const HelpSection& h : kHelpSections) {
        keys << QLatin1String(h.key);
    }
    return keys;
}

QString builtInHelpText(const QString& section) {
    for (const HelpSection& h : kHelpSections) {
        if (section == QLatin1String(h.key)) {
            return QString::fromLatin1(h.text);
        }
    }
    return QString();
}

int readPrivTimeout() {
    QSettings s;
    if (!s.contains(QStringLiteral("PrivTimeout"))) {
        s.setValue(QStringLiteral("PrivTimeout"), 900);
    }
    return s.value(QStringLiteral("PrivTimeout")).toInt();
}

bool readLinkTrace() {
    return QSettings().value(QStringLiteral("LinkTrace"), 0).toBool();
}

}  // namespace tolm

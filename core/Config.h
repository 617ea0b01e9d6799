#pragma once
// The configuration every part of the program reads: the settings store's identity and keys,
// their defaults, the data directory, the font groups, the privilege level and the version.
#include <QString>
#include <QStringList>

#include "core/PasswordSettings.h"

namespace tolm {

// Version of the program and its own part number.
inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 1;
inline constexpr int kVersionPatch = 3;
QString versionText();        // "2.1.3"
QString programPartNumber();  // "741-508-102-103"
inline constexpr const char* kBuildDate = "Jul 16 2008";
inline constexpr const char* kBuildTime = "15:24:05";

inline constexpr const char* kProductTitle = " TOLM for QUOR ";

// Fixes where the settings store lives (organisation "Korvel", application "QUOR").
void setSettingsIdentity();

// Writes the help sections and every missing default; run once when the main window is built.
void InitDefaults();

// Absolute path of the data directory (setting "DataDir"); the directory is not created.
QString dataDirectory();

struct FontSpec {
    QString family;
    int pointSize = 0;
    int weight = 0;
    int slant = 0;
};
inline constexpr int kNormalFontGroup = 1;
inline constexpr int kSmallFontGroup = 2;
inline constexpr int kMidFontGroup = 3;
// Fills the record from the settings of one font group; any other group leaves it unchanged.
void readFontSpec(int group, FontSpec& font);

// Privilege levels: 0 factory, 1 Administrator, 2 Flight Line. GUI thread only.
inline constexpr int kLevelFactory = 0;
inline constexpr int kLevelAdministrator = 1;
inline constexpr int kLevelFlightLine = 2;
int privilegeLevel();
void setPrivilegeLevel(int level);
QString privilegeName(int level);

// Inactivity time-out in seconds ("PrivTimeout"); written as 900 when absent.
int readPrivTimeout();

// Whether every run records a link trace ("LinkTrace"; 0, off, by default).
bool readLinkTrace();

}  // namespace tolm

#pragma once
// The options the program is started with: window position ("-x", "-y"), privilege level ("-l")
// with its password ("-p"), "-s", which keeps the main menu's Download and Clear Memory
// buttons enabled whatever the state of the unit link, and "-t", which records a link trace.
#include <QString>
#include <QStringList>
#include <optional>

namespace tolm {

struct StartOptions {
    std::optional<int> left;
    std::optional<int> top;
    int requestedLevel = 2;  // Flight Line unless "-l" says otherwise
    QString password;
    bool unrestricted = false;
    bool linkTrace = false;

    // Reads the words that follow the program name. Each word is matched against the prefixes
    // "-x", "-y", "-l", "-p", "-s", "-t" in that order (case-sensitive); words matching none are
    // ignored, and a number that does not parse leaves its value as it was.
    static StartOptions parse(const QStringList& arguments);

    // The level the program starts at: "-l1" needs the stored password, "-l0" the factory
    // access code; anything else, or a wrong password, gives Flight Line.
    int verifiedLevel() const;
};

// The factory access code compared without regard to case.
bool matchesFactoryCode(const QString& text);
// Folds A-Z and the Latin-1 capitals (0xC0-0xD6, 0xD8-0xDE) to lower case; nothing else.
QString foldLatin1Case(const QString& text);

}  // namespace tolm

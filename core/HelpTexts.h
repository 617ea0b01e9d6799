#pragma once
// The six help sections the pages show in their text areas: their keys in the settings store,
// the texts written at every start, and what the store holds now.
#include <QString>
#include <QStringList>

namespace tolm {

struct HelpTexts {
    static QStringList sections();
    static QString builtIn(const QString& section);
    // The section's text as the store holds it.
    static QString stored(const QString& section);
    // Writes every section's built-in text (at start).
    static void writeBuiltIn();
};

}  // namespace tolm

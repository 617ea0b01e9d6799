#pragma once
// What the program knows of a listed flight beyond its own file, from the flight index: which
// flight it is (the same engine, flight number, memory and block bytes in other files make the
// same flight), how many files hold it, and its alarm mark. The selection only shows these
// texts; whoever keeps the index makes them.
#include <QHash>
#include <QPair>
#include <QString>
#include <functional>

namespace tolm::viewer {

struct FlightNote {
    quint64 identity = 0;  // the same for every copy of a flight; 0: not known
    QString alarmMark;     // e.g. "Alarm 3 (4R 3B)"; empty without a current alarm
    QString copiesText;    // e.g. "in 3 files"; empty when one file holds the flight
    bool operator==(const FlightNote&) const = default;
};

// By a listed flight's absolute file path and block slot.
using FlightNoteKey = QPair<QString, int>;
using FlightNotes = QHash<FlightNoteKey, FlightNote>;
// Makes the notes of the flights on file (none when the index cannot tell).
using FlightNotesSource = std::function<FlightNotes()>;

}  // namespace tolm::viewer

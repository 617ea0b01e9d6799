#include "viewer/FlightSelection.h"

#include <QSet>
#include <algorithm>

#include "viewer/CFormat.h"
#include "viewer/SelectionSettings.h"

namespace tolm::viewer {

QString FlightSelection::tooManyText() {
    return QStringLiteral("Too many flights selected. Maximum allowed is %1").arg(kMaxFlights);
}

FlightSelection::FlightSelection(QList<FlightListElement> flights, const QString& lastAircraft,
                                 int memoryType, Remember remember)
    : flights_(std::move(flights)), memoryType_(memoryType == 0 ? 0 : 1), remember_(remember) {
    for (const FlightListElement& f : flights_) {
        if (!aircraft_.contains(f.aircraft, Qt::CaseSensitive)) {
            aircraft_.append(f.aircraft);
        }
    }
    if (!aircraft_.isEmpty()) {
        aircraftIndex_ = std::max(0, int(aircraft_.indexOf(lastAircraft)));
    }
}

FlightSelection FlightSelection::fromSettings(QList<FlightListElement> flights) {
    return FlightSelection(std::move(flights), SelectionSettings::lastAircraft(),
                           SelectionSettings::memoryType(), Remember::Yes);
}

void FlightSelection::setAircraft(int index) {
    if (index >= 0 && index < aircraft_.size()) {
        aircraftIndex_ = index;
    }
}

void FlightSelection::setEngine(int engine) {
    if (engine == 1 || engine == 2) {
        engine_ = engine;
    }
}

void FlightSelection::setMemoryType(int memoryType) {
    memoryType_ = memoryType == 0 ? 0 : 1;
    if (remember_ == Remember::Yes) {
        SelectionSettings::setMemoryType(memoryType_);
    }
}

QString FlightSelection::itemText(const FlightListElement& flight) {
    return cFormatText("%-15d", flight.flightNumber) +
           flight.modified.toLocalTime().toString(QStringLiteral("dd.MM.yy hh:mm:ss"));
}

QString FlightSelection::itemText(const FlightListElement& flight, const FlightNote& note,
                                  bool countCopies) {
    QString text = itemText(flight);
    for (const QString& mark : {note.alarmMark, countCopies ? note.copiesText : QString()}) {
        if (!mark.isEmpty()) {
            text += QStringLiteral("  ") + mark;
        }
    }
    return text;
}

QList<FlightItem> FlightSelection::items() const {
    QList<FlightItem> rows;
    QSet<quint64> listed;
    const QString aircraft = currentAircraft();
    for (int i = 0; i < flights_.size(); ++i) {
        const FlightListElement& f = flights_[i];
        if (f.flightNumber == 0 || f.aircraft != aircraft || f.engine != engine_ ||
            f.memoryType != memoryType_) {
            continue;
        }
        const FlightNote note = notes_.value(FlightNoteKey(f.path, f.slot));
        if (!showCopies_ && note.identity != 0) {
            // Copies of one flight follow the first, which was filed first (files are scanned
            // in name order, and a file's name holds its time of writing).
            if (listed.contains(note.identity)) {
                continue;
            }
            listed.insert(note.identity);
        }
        rows.append(FlightItem{itemText(f, note, !showCopies_), i});
    }
    return rows;
}

AcceptResult FlightSelection::accept(QList<int> chosenRows) const {
    if (remember_ == Remember::Yes) {
        SelectionSettings::setLastAircraft(currentAircraft());
    }
    AcceptResult result;
    std::sort(chosenRows.begin(), chosenRows.end());
    chosenRows.erase(std::unique(chosenRows.begin(), chosenRows.end()), chosenRows.end());
    if (chosenRows.size() > kMaxFlights) {
        return result;
    }
    result.accepted = true;
    const QList<FlightItem> rows = items();
    for (int row : chosenRows) {
        if (row < 0 || row >= rows.size()) {
            continue;
        }
        Outcome<FlightDataElement> read =
            RawFlightReader::ExtractFlightData(flights_[rows[row].flight]);
        if (read.ok()) {
            result.flights.append(std::move(read).value());
        } else {
            result.errors.append(read.error());
        }
    }
    return result;
}

}  // namespace tolm::viewer

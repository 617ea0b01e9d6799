#pragma once
// The flight selection behind the selection dialog: the aircraft it offers, the engine and memory
// choices, the flights it lists for them, and the OK step that reads the chosen flights.
#include <QList>
#include <QString>
#include <QStringList>

#include "viewer/FlightDataElement.h"
#include "viewer/FlightNotes.h"
#include "viewer/RawFlightReader.h"

namespace tolm::viewer {

// One FLIGHT_LIST row: its text and the flight (position in flights()) it stands for.
struct FlightItem {
    QString text;
    int flight = 0;
    bool operator==(const FlightItem&) const = default;
};

struct AcceptResult {
    bool accepted = false;  // false: too many flights; nothing read, the dialog stays open
    QList<FlightDataElement> flights;  // the chosen flights that could be read, in list order
    QList<ReadError> errors;           // one per chosen flight that could not be read
};

class FlightSelection {
public:
    static constexpr int kMaxFlights = 10;
    static inline const QString kTooManyTitle = QStringLiteral("Error");
    static QString tooManyText();  // "Too many flights selected. Maximum allowed is 10"
    // Shown by the plot window when the data directory holds no flight at all.
    static inline const QString kNoDataTitle = QStringLiteral(" TOLM for QUOR ");
    static inline const QString kNoDataText = QStringLiteral("No data exists for plotting");

    enum class Remember { No, Yes };
    // Starts on engine 1, the given memory type, and the remembered aircraft when it has flights
    // (else the first aircraft). With Remember::Yes the memory type and, on OK, the aircraft
    // are written to the settings store.
    FlightSelection(QList<FlightListElement> flights, const QString& lastAircraft, int memoryType,
                    Remember remember = Remember::No);
    // The same, starting from what the settings store remembers.
    static FlightSelection fromSettings(QList<FlightListElement> flights);

    const QList<FlightListElement>& flights() const { return flights_; }
    bool hasFlights() const { return !flights_.isEmpty(); }

    // The aircraft that have flights, in order of their first appearance in the list.
    const QStringList& aircraft() const { return aircraft_; }
    int aircraftIndex() const { return aircraftIndex_; }  // -1 when there is none
    QString currentAircraft() const { return aircraft_.value(aircraftIndex_); }
    void setAircraft(int index);
    int engine() const { return engine_; }
    void setEngine(int engine);  // 1 or 2
    int memoryType() const { return memoryType_; }
    void setMemoryType(int memoryType);  // 0 pre-defect, anything else post-defect

    // What the flight index knows of the flights: their alarm marks and copies.
    void setNotes(FlightNotes notes) { notes_ = std::move(notes); }
    const FlightNotes& notes() const { return notes_; }
    // Every copy of a flight in a row of its own, or (the default) one row per flight that
    // names how many files hold it; the row opens the copy filed first.
    void setShowCopies(bool show) { showCopies_ = show; }
    bool showCopies() const { return showCopies_; }

    // The rows for the current aircraft, engine and memory type, highest flight number first.
    QList<FlightItem> items() const;
    static QString itemText(const FlightListElement& flight);
    // The row's text with its marks: the alarm mark, and the files that hold it when copies
    // are not shown.
    static QString itemText(const FlightListElement& flight, const FlightNote& note,
                            bool countCopies);

    // OK with the given rows of items() chosen. More than 10 are refused.
    AcceptResult accept(QList<int> chosenRows) const;

private:
    QList<FlightListElement> flights_;
    QStringList aircraft_;
    int aircraftIndex_ = -1;
    int engine_ = 1;
    int memoryType_ = 0;
    Remember remember_;
    FlightNotes notes_;
    bool showCopies_ = false;
};

}  // namespace tolm::viewer

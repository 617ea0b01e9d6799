#pragma once
// One chosen flight: copies of its raw file's header and of its own data block, and the values
// that the plots read from them. Values outside the block's ranges read as zero.
#include <QByteArray>
#include <QString>
#include <array>

#include "viewer/RawFileHeader.h"

namespace tolm::viewer {

inline constexpr int kSamplesPerRecord = 1024;
inline constexpr int kSteadyRecords = 26;
inline constexpr int kSteadyRows = 20;
inline constexpr int kTransientRecords = 10;
inline constexpr int kTransientRows = 10;
// Acceleration in G of one sample count (the double nearest to 100 / 32767.5).
inline constexpr double kGPerCount = 0.0030518043793392844;

using RecordSamples = std::array<qint16, kSamplesPerRecord>;

class FlightDataElement {
public:
    // block: the 142652 bytes of data block `slot` of the file at `path`.
    FlightDataElement(RawFileHeader header, QByteArray block, int slot, QString path);

    QString aircraft() const { return header_.aircraft(); }
    int engine() const { return header_.engineNumber(); }
    int flightNumber() const { return header_.flightNumber(slot_); }
    int memoryType() const { return header_.memory(slot_); }
    int slot() const { return slot_; }
    const QString& path() const { return path_; }
    const RawFileHeader& header() const { return header_; }
    const QByteArray& block() const { return block_; }

    // Row 0..19 of steady-state record 0..25.
    float steadyValue(int row, int record) const;
    // Row 0..9 of transient record 0..9 of bin 0..3.
    float transientValue(int row, int bin, int record) const;
    // Average row 0..9 of bin 0..3.
    float transientAverage(int row, int bin) const;
    RecordSamples steadySamples(int record) const;
    RecordSamples transientSamples(int bin, int record) const;

    // "Suspect" when a steady A4R value (row 10 of the 26 records) is negative, or when any of
    // the 400 transient values is.
    bool steadySuspect() const;
    bool transientSuspect() const;

private:
    float floatAt(qsizetype offset) const;
    RecordSamples samplesAt(qsizetype offset) const;

    RawFileHeader header_;
    QByteArray block_;
    int slot_;
    QString path_;
};

}  // namespace tolm::viewer

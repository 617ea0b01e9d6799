#pragma once
// The 788-byte header of a raw flight-data file, decoded from its little-endian bytes: magic,
// aircraft identifier, engine number, time of writing, and per data block the flight number
// (0 = empty block) and the memory (0 pre-defect, 1 post-defect).
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

#include "formats/RawFlightFileLayout.h"

namespace tolm::viewer {

class RawFileHeader {
public:
    // The header at the start of the bytes; none when they are fewer than 788.
    static std::optional<RawFileHeader> parse(QByteArrayView bytes);

    bool hasCurrentFormat() const { return magic() == raw::kMagic; }
    quint32 magic() const;
    // Text up to its terminator, never beyond its 17-byte field.
    QString aircraft() const { return text(raw::kIdentifierOffset); }
    QString engineType() const { return text(raw::kEngineTypeOffset); }
    qint32 engineNumber() const { return word(raw::kEngineNumberOffset); }
    qint32 writtenAt() const { return word(raw::kWrittenOffset); }  // seconds since 1970 UTC
    // Slot 0..19; 0 outside.
    qint32 flightNumber(int slot) const { return slotWord(raw::kFlightNumbersOffset, slot); }
    qint32 memory(int slot) const { return slotWord(raw::kMemoriesOffset, slot); }

    const QByteArray& bytes() const { return bytes_; }

private:
    explicit RawFileHeader(QByteArray bytes) : bytes_(std::move(bytes)) {}
    qint32 word(int offset) const;
    qint32 slotWord(int offset, int slot) const;
    QString text(int offset) const;

    QByteArray bytes_;  // exactly 788
};

}  // namespace tolm::viewer

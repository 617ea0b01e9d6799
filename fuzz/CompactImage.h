#pragma once
// A compact input that expands into a whole flight-data image (2,876,628 bytes), so that the
// fuzzer mutates the fields the download reads rather than megabytes. Layout, from the front:
//   shape (1 byte)   bits 0-2: 0-4 the whole image; 5 longer by 1-256 bytes (the next byte + 1);
//                    6 cut short to the next 3 bytes (little-endian) modulo the image's size;
//                    7 no expansion: everything after the aircraft is the image as it stands.
//                    Bit 3: engine 2 instead of engine 1.
//   aircraft         identifier (17 bytes), shop ID (11), engine type (17), SER (11), copied into
//                    the register's record as they are (terminated or not)
//   engine header    12 words
//   20 summaries     of 10 words each: flight number, the word carried into the raw file, memory,
//                    six alarm levels, Campbell data selector
//   fill             the rest, repeated from offset 0 over the whole image before the fields
//                    above are put in their places (zeros when empty)
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "formats/AircraftRecord.h"

namespace fuzz {

struct ExpandedImage {
    QByteArray image;
    tolm::AircraftRecord aircraft;
    int engineIndex = 0;
};

ExpandedImage expandImage(const std::uint8_t* data, std::size_t size);

// The compact form of a whole image with this aircraft; the fill is `fillBytes` bytes of the
// image taken from `fillFrom` on.
QByteArray compactImage(const QByteArray& image, const tolm::AircraftRecord& aircraft,
                        int engineIndex, qsizetype fillFrom, qsizetype fillBytes);

}  // namespace fuzz

#pragma once
// The flight-data image: the unit's answer to the download command as the link files it (host
// byte order, block headers left in place). The program reads it at these fixed offsets.
#include <QtGlobal>

namespace tolm::image {

// Whole image.
inline constexpr int kDataHeaderOffset = 12;  // after the response header (size, ack, count)
inline constexpr int kDataHeaderSize = 56;    // block header + 12 engine header words
inline constexpr int kEngineWordsOffset = 8;  // in the data header
inline constexpr int kEngineWords = 12;
inline constexpr int kFlightBlocksOffset = 68;
inline constexpr int kFlightBlocks = 20;
inline constexpr int kFlightBlockSize = 143828;
inline constexpr qint64 kImageSize = kFlightBlocksOffset + qint64(kFlightBlocks) * kFlightBlockSize;
static_assert(kDataHeaderOffset + kDataHeaderSize == kFlightBlocksOffset);
static_assert(kEngineWordsOffset + 4 * kEngineWords == kDataHeaderSize);
static_assert(kImageSize == 2876628);

// Engine header words.
inline constexpr int kTotalFlightsWord = 1;
inline constexpr int kTotalHoursWord = 2;
inline constexpr int kTotalMinutesWord = 3;
inline constexpr int kCountWord = 4;  // carried into the raw file, not interpreted
inline constexpr int kAccelSourceWord = 5;
inline constexpr int kFirstAlarmWord = 6;
// Six alarm levels, here and in every flight block, in this order:
inline constexpr int kAlarmLevels = 6;
inline constexpr int k4RCurrent = 0, k4RHistoric = 1, k3BCurrent = 2, k3BHistoric = 3,
                     k4LCurrent = 4, k4LHistoric = 5;

// Flight block, offsets from its start.
inline constexpr int kFlightNumberOffset = 0x18;  // 0: empty block
inline constexpr int kCarriedWordOffset = 0x1C;   // carried into the raw file, not interpreted
inline constexpr int kMemoryOffset = 0x20;        // 0 pre-defect, 1 post-defect
inline constexpr int kAlarmLevelsOffset = 0x24;
inline constexpr int kSteadyStateOffset = 0x44;
inline constexpr int kTransientOffset = 0xDA04;
inline constexpr int kCampbellSelectorOffset = 0x22384;
inline constexpr int kBandsOffset = 0x22390;  // 40 (Fs, Fw) float pairs
inline constexpr int kCampbellSetsOffset = 0x224D0;

inline constexpr int kSamples = 1024;  // 16-bit samples of one time history

// Steady-state record r at kSteadyStateOffset + r * kSteadyStateRecordSize.
inline constexpr int kSteadyStateRecords = 26;
inline constexpr int kSteadyStateRecordSize = 2144;
inline constexpr int kSteadyStateValues = 20;  // floats at +0
inline constexpr int kSteadyStateSamplesOffset = 88;

// Transient group m ("TOC", "TOD", "AOD", "AOA"): 10 average floats at +0, then records.
inline constexpr int kTransientGroups = 4;
inline constexpr int kTransientGroupSize = 21088;
inline constexpr int kTransientRecordsOffset = 48;
inline constexpr int kTransientRecords = 10;
inline constexpr int kTransientRecordSize = 2104;
inline constexpr int kTransientValues = 10;  // floats at +0 of a record, and the averages
inline constexpr int kTransientSamplesOffset = 48;

// Campbell data.
inline constexpr int kCampbellBands = 40;
inline constexpr int kCampbellSets = 5;
inline constexpr int kCampbellSetSize = 664;
inline constexpr int kCampbellSetValues = 6;  // CN1_4L CN2_4L CDN_4L FN1_4L FN2_4L FDN_4L
inline constexpr int kBandValues = 4;         // A_4L F_4L K1_4L K2_4L, after the six values

static_assert(kAlarmLevelsOffset + 4 * kAlarmLevels + 8 == kSteadyStateOffset);
static_assert(kSteadyStateSamplesOffset + 2 * kSamples + 8 == kSteadyStateRecordSize);
static_assert(4 * kSteadyStateValues + 8 == kSteadyStateSamplesOffset);
static_assert(kSteadyStateOffset + kSteadyStateRecords * kSteadyStateRecordSize ==
              kTransientOffset);
static_assert(kTransientSamplesOffset + 2 * kSamples + 8 == kTransientRecordSize);
static_assert(kTransientRecordsOffset + kTransientRecords * kTransientRecordSize ==
              kTransientGroupSize);
static_assert(kTransientOffset + kTransientGroups * kTransientGroupSize == kCampbellSelectorOffset);
static_assert(kCampbellSelectorOffset + 4 + 8 == kBandsOffset);
static_assert(kBandsOffset + kCampbellBands * 2 * 4 == kCampbellSetsOffset);
static_assert(4 * (kCampbellSetValues + kCampbellBands * kBandValues) == kCampbellSetSize);
static_assert(kCampbellSetsOffset + kCampbellSets * kCampbellSetSize + 12 == kFlightBlockSize);

}  // namespace tolm::image

#pragma once
// The raw flight-data file: one per download and engine, little-endian, read back by the viewer.
// A 788-byte header, 20 data blocks, a 24-byte trailer. The magic number identifies the format.
#include <QtGlobal>

namespace tolm::raw {

inline constexpr quint32 kMagic = 0xAEEAAEED;
inline constexpr int kHeaderSize = 788;
inline constexpr int kDataBlocks = 20;
inline constexpr int kDataBlockSize = 142652;
inline constexpr int kTrailerSize = 24;  // the engine's six alarm levels
inline constexpr qint64 kFileSize =
    kHeaderSize + qint64(kDataBlocks) * kDataBlockSize + kTrailerSize;
static_assert(kFileSize == 2853852);

// Header.
inline constexpr int kMagicOffset = 0x000;
inline constexpr int kTextWidth = 17;  // NUL-terminated, rest zero
inline constexpr int kIdentifierOffset = 0x004;
inline constexpr int kEngineTypeOffset = 0x015;
inline constexpr int kEngineNumberOffset = 0x028;  // after two zero bytes
inline constexpr int kTotalHoursOffset = 0x02C;
inline constexpr int kTotalMinutesOffset = 0x030;
inline constexpr int kCountOffset = 0x034;
inline constexpr int kAccelSourceOffset = 0x038;
inline constexpr int kWrittenOffset = 0x03C;  // seconds since 1970-01-01 00:00 UTC
inline constexpr int kTotalFlightsOffset = 0x040;
inline constexpr int kFlightNumbersOffset = 0x044;  // i32[20]
inline constexpr int kCarriedWordsOffset = 0x094;   // i32[20]
inline constexpr int kMemoriesOffset = 0x0E4;       // i32[20]
inline constexpr int kAlarmLevelsOffset = 0x134;    // i32[20][6]
static_assert(kEngineTypeOffset + kTextWidth + 2 == kEngineNumberOffset);
static_assert(kFlightNumbersOffset + 4 * kDataBlocks == kCarriedWordsOffset);
static_assert(kCarriedWordsOffset + 4 * kDataBlocks == kMemoriesOffset);
static_assert(kMemoriesOffset + 4 * kDataBlocks == kAlarmLevelsOffset);
static_assert(kAlarmLevelsOffset + 4 * 6 * kDataBlocks == kHeaderSize);

// Data block.
inline constexpr int kSteadyValuesOffset = 0x00000;       // f32[20][26]: (value, record)
inline constexpr int kSteadySamplesOffset = 0x00820;      // i16[26][1024]
inline constexpr int kTransientValuesOffset = 0x0D820;    // f32[10][4][10]: (value, group, record)
inline constexpr int kTransientAveragesOffset = 0x0DE60;  // f32[10][4]: (value, group)
inline constexpr int kTransientSamplesOffset = 0x0DF00;   // i16[4 x 10][1024]: group, record
inline constexpr int kSelectorOffset = 0x21F00;
inline constexpr int kCampbellSetsOffset = 0x22044;  // after 320 zero bytes; sets as imaged
static_assert(kSteadyValuesOffset + 4 * 20 * 26 == kSteadySamplesOffset);
static_assert(kSteadySamplesOffset + 2 * 26 * 1024 == kTransientValuesOffset);
static_assert(kTransientValuesOffset + 4 * 10 * 4 * 10 == kTransientAveragesOffset);
static_assert(kTransientAveragesOffset + 4 * 10 * 4 == kTransientSamplesOffset);
static_assert(kTransientSamplesOffset + 2 * 40 * 1024 == kSelectorOffset);
static_assert(kSelectorOffset + 4 + 320 == kCampbellSetsOffset);
static_assert(kCampbellSetsOffset + 5 * 664 == kDataBlockSize);

}  // namespace tolm::raw

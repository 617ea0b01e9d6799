#pragma once
// The values one flight block of the simulated unit holds, as plain data. The simulator's
// image writer puts them on the wire in the order of the flight-data image.
#include <QtGlobal>
#include <array>

namespace quorsim {

inline constexpr int kSamples = 1024;  // one time history
inline constexpr int kSteadyStateRecords = 26;
inline constexpr int kSteadyStateValues = 20;
inline constexpr int kTransientGroups = 4;  // "TOC", "TOD", "AOD", "AOA"
inline constexpr int kTransientRecords = 10;
inline constexpr int kTransientValues = 10;
inline constexpr int kCampbellBands = 40;
inline constexpr int kCampbellSets = 5;
inline constexpr int kCampbellSetValues = 6;
inline constexpr int kBandValues = 4;  // A_4L, F_4L, K1_4L, K2_4L
inline constexpr int kAlarmLevels = 6;

struct SteadyStateRecord {
    std::array<float, kSteadyStateValues> values{};  // columns A4R_avg .. N2-3B
    std::array<qint16, kSamples> samples{};
};

struct TransientRecord {
    std::array<float, kTransientValues> values{};  // columns A4R .. N2-3B
    std::array<qint16, kSamples> samples{};
};

struct TransientGroup {
    std::array<float, kTransientValues> averages{};
    std::array<TransientRecord, kTransientRecords> records{};
};

struct CampbellSet {
    // CN1_4L, CN2_4L, CDN_4L, FN1_4L, FN2_4L, FDN_4L
    std::array<float, kCampbellSetValues> values{};
    std::array<std::array<float, kBandValues>, kCampbellBands> bands{};
};

struct FlightBlock {
    std::array<quint32, 4> unusedWords{};
    qint32 flightNumber = 0;  // 0: empty block
    quint32 carriedWord = 0;  // kept by the program without being interpreted
    quint32 memory = 0;       // 0 pre-defect, 1 post-defect
    // 4R current, 4R historic, 3B current, 3B historic, 4L current, 4L historic
    std::array<quint32, kAlarmLevels> alarmLevels{};
    std::array<SteadyStateRecord, kSteadyStateRecords> steadyState{};
    std::array<TransientGroup, kTransientGroups> transient{};
    quint32 campbellSelector = 0;
    std::array<std::array<float, 2>, kCampbellBands> bands{};  // (Fs, Fw)
    std::array<CampbellSet, kCampbellSets> campbell{};
    std::array<quint32, 3> unusedTail{};
};

}  // namespace quorsim

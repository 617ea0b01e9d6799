#pragma once
// The six alarm levels of one flight block, in the raw file's order: 4R current, 4R historic,
// 3B current, 3B historic, 4L current, 4L historic. A level of 1 to 3 is an alarm ("Level %1");
// 4 is none, and any other value is unknown and no alarm either.
#include <QString>
#include <array>

namespace tolm::health {

enum class Bearing { R4, L4, B3 };  // 4R, 4L, 3B, in the order the tables list them

class AlarmLevels {
public:
    static constexpr int kCount = 6;
    static constexpr int kNone = 0;  // what highest...() gives when no level is 1 to 3

    AlarmLevels() { levels_.fill(4); }
    explicit AlarmLevels(const std::array<qint32, kCount>& inRawOrder) : levels_(inRawOrder) {}

    qint32 current(Bearing b) const { return levels_[2 * position(b)]; }
    qint32 historic(Bearing b) const { return levels_[2 * position(b) + 1]; }
    const std::array<qint32, kCount>& inRawOrder() const { return levels_; }

    static bool isAlarm(qint32 level) { return level >= 1 && level <= 3; }
    // The highest current (historic) level of 1 to 3 over 4R, 4L and 3B; kNone when none is.
    int highestCurrent() const;
    int highestHistoric() const;
    bool hasCurrentAlarm() const { return highestCurrent() != kNone; }

    // The flight list's mark: "Alarm 3 (4R 3B)" with the highest current level and the bearings
    // at that level; empty when no current level is 1 to 3.
    QString mark() const;
    // A table's word for a highest level as the download's report header words levels:
    // "Level %1", or for none "No Event" (current) and "No Fault" (historic).
    static QString currentText(int highest);
    static QString historicText(int highest);
    static QString bearingName(Bearing b);  // "4R", "4L", "3B"

    bool operator==(const AlarmLevels&) const = default;

private:
    // Place of a bearing's current level, halved, in the raw order 4R, 3B, 4L.
    static int position(Bearing b) { return b == Bearing::R4 ? 0 : b == Bearing::B3 ? 1 : 2; }

    std::array<qint32, kCount> levels_;
};

inline constexpr std::array<Bearing, 3> kBearings = {Bearing::R4, Bearing::L4, Bearing::B3};

}  // namespace tolm::health

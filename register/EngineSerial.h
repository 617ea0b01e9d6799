#pragma once
// Engine serial numbers (SER): up to six digits when valid; an engine whose bearing data is to
// be downloaded needs one of at least three characters.
#include <QString>
#include <optional>

#include "core/Notice.h"
#include "formats/AircraftRecord.h"

namespace tolm {

inline constexpr int kMaxSerDigits = 6;
inline constexpr int kMinSerLength = 3;

bool isValidSer(const QString& ser);

// The SER to show for engine number 1 or 2: the stored one when valid, otherwise "0" with a
// warning that asks for a new one.
struct CheckedSer {
    QString shown;
    std::optional<Notice> warning;
};
CheckedSer checkedSer(int engineNumber, const QString& ser);

// The error naming the first engine with "download bearing data" on whose SER is shorter than
// the minimum; none when every such SER is long enough.
std::optional<Notice> shortSerialNumber(const AircraftRecord& record);

}  // namespace tolm

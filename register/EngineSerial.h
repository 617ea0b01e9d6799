#pragma once
// Engine serial numbers (SER): up to six digits when valid; an engine whose bearing data is to
// be downloaded needs one of at least three characters.
#include <QString>

#include "register/AircraftRecord.h"

namespace tolm {

inline constexpr int kMaxSerDigits = 6;
inline constexpr int kMinSerLength = 3;

bool isValidSer(const QString& ser);

// The SER to show for engine number 1 or 2: the stored one when valid, otherwise "0" after a
// warning that asks for a new one.
QString checkedSer(int engineNumber, const QString& ser);

// False, after an error box naming the first such engine, when an engine with "download bearing
// data" on has a SER shorter than the minimum.
bool serialNumbersLongEnough(const AircraftRecord& record);

}  // namespace tolm

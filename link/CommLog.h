#pragma once
// The communication log: five-line records of the link thread's state changes and failures,
// appended to "tolmCom.log" in the user's home directory.
#include <QDateTime>
#include <QString>

namespace tolm {

QString commLogPath();
// "2008-07-16T15:24:05.7": local date and time, a full stop, milliseconds without leading zeros.
QString commLogTime(const QDateTime& when);
// Appends one record stamped with the program's clock. 0, or 1 when the log cannot be opened
// (the record is then dropped).
int LogCommStatus(const QString& message, int statusCode);

}  // namespace tolm

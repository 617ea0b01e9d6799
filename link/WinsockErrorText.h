#pragma once
#include <QString>

namespace tolm {

// The prefix, ": ", and the text of a Winsock error code, or "unknown error (ec = <code>)" for
// a code the table does not hold. Code 0 has an empty text.
QString WinsockErrorText(const QString& prefix, int code);

}  // namespace tolm

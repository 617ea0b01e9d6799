#pragma once
// printf-style formatting exactly as the C library does it in the "C" locale, whatever locale
// the process runs in (Qt sets the user's locale at start, which would turn "9.5367" into
// "9,5367"). Texts that the user reads or saves with a printf format go through here.
#include <QByteArray>
#include <QString>

namespace tolm::viewer {

#if defined(__GNUC__)
#define TOLM_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define TOLM_PRINTF_FORMAT(f, a)
#endif

// The bytes that printf would write.
QByteArray cFormat(const char* format, ...) TOLM_PRINTF_FORMAT(1, 2);
// The same, as text (the bytes read as local 8-bit text).
QString cFormatText(const char* format, ...) TOLM_PRINTF_FORMAT(1, 2);

}  // namespace tolm::viewer

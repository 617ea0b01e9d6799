#include "viewer/CFormat.h"

#include <cstdarg>
#include <cstdio>

#include <locale.h>

namespace tolm::viewer {

namespace {

#if defined(_WIN32)
_locale_t cLocale() {
    static const _locale_t locale = _create_locale(LC_ALL, "C");
    return locale;
}

QByteArray vFormat(const char* format, va_list args) {
    va_list count;
    va_copy(count, args);
    const int n = _vscprintf_l(format, cLocale(), count);
    va_end(count);
    if (n <= 0) {
        return QByteArray();
    }
    QByteArray out(n + 1, '\0');
    _vsnprintf_l(out.data(), out.size(), format, cLocale(), args);
    out.chop(1);
    return out;
}
#else
// Switches the calling thread to the "C" locale for one formatting call.
class CLocaleScope {
public:
    CLocaleScope() : previous_(uselocale(cLocale())) {}
    ~CLocaleScope() { uselocale(previous_); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    static locale_t cLocale() {
        static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        return locale;
    }
    locale_t previous_;
};

QByteArray vFormat(const char* format, va_list args) {
    const CLocaleScope scope;
    char small[128];
    va_list first;
    va_copy(first, args);
    const int n = std::vsnprintf(small, sizeof small, format, first);
    va_end(first);
    if (n < 0) {
        return QByteArray();
    }
    if (n < int(sizeof small)) {
        return QByteArray(small, n);
    }
    QByteArray out(n + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.chop(1);
    return out;
}
#endif

}  // namespace

QByteArray cFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    QByteArray out = vFormat(format, args);
    va_end(args);
    return out;
}

QString cFormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const QByteArray out = vFormat(format, args);
    va_end(args);
    return QString::fromLocal8Bit(out);
}

}  // namespace tolm::viewer

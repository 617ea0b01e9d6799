#include "app/CommandLine.h"

#include "core/Config.h"

namespace tolm {

namespace {

const char* const kFactoryAccessCode = "WQPD_MZTA";

// Reads a decimal integer the way "%d" does: leading blanks, an optional sign, then at least one
// digit; whatever follows the digits is ignored. False when there is no number.
bool scanInt(QStringView text, int& value) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 result = 0;
    const qsizetype firstDigit = i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        if (result < (qint64(1) << 32)) {
            result = result * 10 + (text[i].unicode() - u'0');
        }
        ++i;
    }
    if (i == firstDigit) {
        return false;
    }
    value = static_cast<int>(negative ? -result : result);
    return true;
}

}  // namespace

StartOptions StartOptions::parse(const QStringList& arguments) {
    StartOptions options;
    for (const QString& argument : arguments) {
        const QStringView rest = QStringView(argument).mid(2);
        int number = 0;
        if (argument.startsWith(QLatin1String("-x"))) {
            if (scanInt(rest, number)) {
                options.left = number;
            }
        } else if (argument.startsWith(QLatin1String("-y"))) {
            if (scanInt(rest, number)) {
                options.top = number;
            }
        } else if (argument.startsWith(QLatin1String("-l"))) {
            if (scanInt(rest, number)) {
                options.requestedLevel = number;
            }
        } else if (argument.startsWith(QLatin1String("-p"))) {
            // Compared whole, however long it is.
            if (!rest.isEmpty()) {
                options.password = rest.toString();
            }
        } else if (argument.startsWith(QLatin1String("-s"))) {
            options.unrestricted = true;
        } else if (argument.startsWith(QLatin1String("-t"))) {
            options.linkTrace = true;
        }
    }
    return options;
}

int StartOptions::verifiedLevel() const {
    switch (requestedLevel) {
        case kLevelAdministrator:
            return password == storedPassword() ? kLevelAdministrator : kLevelFlightLine;
        case kLevelFactory:
            return matchesFactoryCode(password) ? kLevelFactory : kLevelFlightLine;
        default:
            // Flight Line, and any level the program does not know.
            return kLevelFlightLine;
    }
}

QString foldLatin1Case(const QString& text) {
    QString folded = text;
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if ((u >= u'A' && u <= u'Z') || (u >= 0xC0 && u <= 0xD6) || (u >= 0xD8 && u <= 0xDE)) {
            c = QChar(char16_t(u + 0x20));
        }
    }
    return folded;
}

bool matchesFactoryCode(const QString& text) {
    return foldLatin1Case(text) == foldLatin1Case(QLatin1String(kFactoryAccessCode));
}

}  // namespace tolm

#include "sim/TraceScript.h"

#include <QDate>
#include <QFile>
#include <algorithm>

namespace quorsim {

namespace {

using Ending = ScriptedAnswer::Ending;

// The time at the start of every record: 2008-07-16T15:24:05.007, 'd' a decimal digit.
constexpr char kTimePattern[] = "dddd-dd-ddTdd:dd:dd.ddd";
constexpr qsizetype kTimeLength = sizeof kTimePattern - 1;
constexpr qint64 kMsPerDay = 86400000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Milliseconds on a scale of its own (differences are all that count), or nothing.
std::optional<qint64> readTime(const QByteArray& text) {
    if (text.size() != kTimeLength) {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < kTimeLength; ++i) {
        if (kTimePattern[i] == 'd' ? !isDigit(text[i]) : text[i] != kTimePattern[i]) {
            return std::nullopt;
        }
    }
    const auto number = [&](int at, int digits) {
        int value = 0;
        for (int i = 0; i < digits; ++i) {
            value = value * 10 + (text[at + i] - '0');
        }
        return value;
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const int hours = number(11, 2), minutes = number(14, 2), seconds = number(17, 2);
    if (!date.isValid() || hours > 23 || minutes > 59 || seconds > 59) {
        return std::nullopt;
    }
    return date.toJulianDay() * kMsPerDay + ((hours * 60 + minutes) * 60 + seconds) * 1000 +
           number(20, 3);
}

std::optional<QByteArray> readHex(const QByteArray& text) {
    if (text.isEmpty() || text.size() % 2 != 0 ||
        !std::all_of(text.begin(), text.end(), isHexDigit)) {
        return std::nullopt;
    }
    return QByteArray::fromHex(text);
}

quint32 be32(const QByteArray& b) {
    return quint32(quint8(b[0])) << 24 | quint32(quint8(b[1])) << 16 | quint32(quint8(b[2])) << 8 |
           quint32(quint8(b[3]));
}

// The answer being read: begun by a "send", not yet whole nor ended.
struct OpenAnswer {
    ScriptedAnswer answer;
    qint64 sentAt = 0;
    qint64 lastMs = 0;  // of the latest piece
    qint64 received = 0;
    QByteArray sizeWord;  // the first four bytes, as they come

    // Offsets never run backwards, even when the clock did.
    qint64 offset(qint64 at) const { return std::max(lastMs, at - sentAt); }
    bool whole() const {
        return sizeWord.size() == 4 && received >= qint64(std::max<quint32>(be32(sizeWord), 4));
    }
};

}  // namespace

TraceScript TraceScript::parse(const QByteArray& text) {
    TraceScript script;
    std::optional<OpenAnswer> open;
    const auto end = [&](Ending ending, qint64 atMs) {
        open->answer.ending = ending;
        open->answer.endAtMs = atMs;
        script.answers_.push_back(std::move(open->answer));
        open.reset();
    };
    int number = 0;
    for (QByteArray line : text.split('\n')) {
        ++number;
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        const qsizetype timeEnd = line.indexOf(' ');
        const std::optional<qint64> at = readTime(line.left(timeEnd));
        if (!at || timeEnd < 0) {
            script.problem(number,
                           at ? QStringLiteral("no event") : QStringLiteral("no time stamp"));
            continue;
        }
        const qsizetype eventEnd = line.indexOf(' ', timeEnd + 1);
        const QByteArray event = line.mid(timeEnd + 1, eventEnd < 0 ? -1 : eventEnd - timeEnd - 1);
        const QByteArray rest = eventEnd < 0 ? QByteArray() : line.mid(eventEnd + 1);

        if (event == "send") {
            if (open) {
                end(Ending::Whole, open->lastMs);  // the program went on to its next command
            }
            open.emplace();
            open->sentAt = *at;
            if (const auto command = readHex(rest)) {
                open->answer.command = *command;
            } else {
                script.problem(number, QStringLiteral("a command that is not hexadecimal"));
            }
        } else if (event == "recv") {
            const std::optional<QByteArray> bytes = readHex(rest);
            if (!bytes) {
                script.problem(number, QStringLiteral("received bytes that are not hexadecimal"));
            } else if (!open) {
                script.problem(number, QStringLiteral("received bytes without a command"));
            } else {
                open->lastMs = open->offset(*at);
                open->answer.pieces.push_back({open->lastMs, *bytes});
                open->received += bytes->size();
                open->sizeWord += bytes->left(4 - open->sizeWord.size());
                if (open->whole()) {
                    end(Ending::Whole, open->lastMs);
                }
            }
        } else if (event == "timeout" || event == "closed" || event == "error" ||
                   event == "abort" || event == "fail" || event == "end") {
            if (open) {
                const Ending ending = event == "timeout"  ? Ending::Silence
                                      : event == "closed" ? Ending::Close
                                      : event == "error"  ? Ending::Reset
                                                          : Ending::GiveUp;
                end(ending, open->offset(*at));
            }
        } else if (event != "start" && event != "connect" && event != "drain" && event != "close") {
            script.problem(number, QStringLiteral("unknown event"));
        }
    }
    if (open) {
        end(Ending::Silence, open->lastMs);  // the trace ends before the answer does
    }
    return script;
}

std::optional<TraceScript> TraceScript::load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = file.errorString();
        }
        return std::nullopt;
    }
    return parse(file.readAll());
}

void TraceScript::problem(int line, const QString& what) {
    if (problemCount_++ < kMaxProblemsKept) {
        problems_.push_back({line, what});
    }
}

}  // namespace quorsim

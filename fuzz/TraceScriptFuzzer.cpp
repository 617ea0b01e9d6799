// Any bytes as a link trace handed to "quor-sim --replay": the simulator's reader takes every
// input, and every answer it reads is one the simulator can serve - bytes it holds came from
// the input's hexadecimal, no piece is empty, times never run backwards or below zero, an
// ending is never before the answer's last bytes, and an answer that ends whole holds all the
// bytes its size word announces unless the program went on to another command. Each unreadable
// line is counted once, in order.
#include <algorithm>

#include "fuzz/FuzzSupport.h"
#include "sim/TraceScript.h"

using fuzz::check;
using quorsim::ScriptedAnswer;
using quorsim::TraceScript;

namespace {

quint32 announced(const QByteArray& bytes) {
    const auto b = [&](int i) { return quint32(quint8(bytes[i])); };
    return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}

void checkAnswer(const ScriptedAnswer& a, bool last) {
    qint64 at = 0;
    QByteArray all;
    for (const ScriptedAnswer::Piece& p : a.pieces) {
        check(!p.bytes.isEmpty(), "an empty piece");
        check(p.atMs >= at, "a piece earlier than the one before",
              QStringLiteral("%1 ms after %2 ms").arg(p.atMs).arg(at));
        at = p.atMs;
        all += p.bytes;
    }
    check(a.endAtMs >= at, "an answer ends before its last bytes");
    if (a.ending == ScriptedAnswer::Ending::Whole && last) {
        check(all.size() >= 4 && all.size() >= qint64(std::max<quint32>(announced(all), 4)),
              "an answer taken as whole lacks bytes it announces",
              QStringLiteral("%1 bytes").arg(all.size()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::setUp(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const TraceScript script = TraceScript::parse(text);

    const qsizetype lines = text.count('\n') + 1;
    check(qsizetype(script.answers().size()) <= text.count(" send"),
          "more answers than commands in the trace");
    qint64 bytes = 0;
    for (std::size_t i = 0; i < script.answers().size(); ++i) {
        const ScriptedAnswer& a = script.answers()[i];
        checkAnswer(a, i + 1 == script.answers().size());
        bytes += a.command.size();
        for (const ScriptedAnswer::Piece& p : a.pieces) {
            bytes += p.bytes.size();
        }
    }
    check(bytes * 2 <= qint64(size), "more bytes read than the input's hexadecimal holds");

    check(script.problemCount() >= int(script.problems().size()) &&
              int(script.problems().size()) <= TraceScript::kMaxProblemsKept,
          "problems counted and kept disagree");
    check(script.problemCount() <= lines, "more problems than lines");
    int previous = 0;
    for (const TraceScript::Problem& p : script.problems()) {
        check(p.line > previous && p.line <= lines, "a problem's line is out of order or range",
              QString::number(p.line));
        check(!p.what.isEmpty(), "a problem without its reason");
        previous = p.line;
    }
    return 0;
}

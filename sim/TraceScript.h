#pragma once
// A link trace read as a script of the unit's answers, for replaying a fault: for each command
// the program sent, the bytes the unit answered with and when, and how the answer ended. The
// simulator's own reader of the trace's lines; it shares nothing with the program's writer.
//
// What it takes from a trace: "send" begins an answer; each "recv" adds its bytes at its time
// after the "send"; the answer is whole once it holds as many bytes as its first four announce.
// An answer that is not whole ends where the trace shows why: "timeout" (the unit fell silent),
// "closed" (the unit closed the connection), "error" (the connection broke), or "abort", "fail"
// or "end" (the program gave up on it). Every other event, and "#" notes, are passed over; a
// line that cannot be read is reported and passed over.
#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

namespace quorsim {

struct ScriptedAnswer {
    enum class Ending {
        Whole,    // the whole answer came; the connection carries the next command
        Silence,  // nothing more came: the unit is silent until the program closes
        Close,    // the unit closed the connection at endAtMs
        Reset,    // the connection broke at endAtMs
        GiveUp,   // the program gave up at endAtMs: nothing more is sent, and the unit drops
                  // the connection then unless the program has closed it first
    };
    struct Piece {
        qint64 atMs = 0;  // after the command; never earlier than the piece before
        QByteArray bytes;
    };

    QByteArray command;  // as the trace recorded it
    std::vector<Piece> pieces;
    Ending ending = Ending::Whole;
    qint64 endAtMs = 0;  // not before the last piece
};

class TraceScript {
public:
    struct Problem {
        int line = 0;  // counted from 1
        QString what;
    };
    // Problems beyond this many are counted, not kept.
    static constexpr int kMaxProblemsKept = 20;

    // Reads any bytes; what cannot be read is reported in problems().
    static TraceScript parse(const QByteArray& text);
    // Reads a trace file; nothing when it cannot be read (the reason goes to error).
    static std::optional<TraceScript> load(const QString& path, QString* error = nullptr);

    const std::vector<ScriptedAnswer>& answers() const { return answers_; }
    const std::vector<Problem>& problems() const { return problems_; }
    int problemCount() const { return problemCount_; }

private:
    void problem(int line, const QString& what);

    std::vector<ScriptedAnswer> answers_;
    std::vector<Problem> problems_;
    int problemCount_ = 0;
};

}  // namespace quorsim

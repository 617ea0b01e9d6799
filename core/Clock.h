#pragma once
// The program's one source of the current time. Tests replace it to drive time-outs, the
// inactivity check and file time stamps without waiting.
#include <QDateTime>

namespace tolm {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const { return QDateTime::currentDateTime(); }
};

// The clock in use; the system clock unless a test installed another.
const Clock& clock();
// Installs a clock (nullptr restores the system clock). The caller keeps ownership.
void setClock(const Clock* clock);

// A clock that stands still until it is moved.
class ManualClock : public Clock {
public:
    explicit ManualClock(QDateTime start) : now_(std::move(start)) {}
    QDateTime now() const override { return now_; }
    void set(QDateTime t) { now_ = std::move(t); }
    void advanceSeconds(qint64 s) { now_ = now_.addSecs(s); }
    void advanceMs(qint64 ms) { now_ = now_.addMSecs(ms); }

private:
    QDateTime now_;
};

}  // namespace tolm

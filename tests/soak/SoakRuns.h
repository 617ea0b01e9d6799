#pragma once
// What the soaks share: their runs, whose plans are drawn from a seed that is printed so that a
// soak can be repeated (TOLM_SOAK_RUNS, default 200; TOLM_SOAK_SEED, default from the clock),
// and the erases, which no run may send where they do not belong.
#include <QDateTime>
#include <QElapsedTimer>
#include <cstdarg>
#include <cstdio>
#include <random>

#include "link/CommandTable.h"

namespace soak {

inline constexpr quint32 kEraseCodes[3] = {tolm::CMD_ERASE_BEARING_DATA,
                                           tolm::CMD_ERASE_BEARING_DEFECT_HISTORY,
                                           tolm::CMD_ERASE_ACCEL_DEFECT_HISTORY};

inline int environmentNumber(const char* name, int fallback) {
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok ? v : fallback;
}

struct Runs {
    explicit Runs(const char* soakName)
        : name(soakName),
          count(environmentNumber("TOLM_SOAK_RUNS", 200)),
          seed(quint32(environmentNumber("TOLM_SOAK_SEED",
                                         int(QDateTime::currentMSecsSinceEpoch() & 0x7FFFFFFF)))),
          rng(seed) {
        say("%d runs, seed %u (TOLM_SOAK_SEED=%u repeats them)", count, seed, seed);
        clock.start();
    }
    quint32 below(quint32 n) { return quint32(rng() % n); }

    // A line of the soak's output, seen at once.
    [[gnu::format(printf, 2, 3)]] void say(const char* format, ...) const {
        std::printf("%s: ", name);
        va_list args;
        va_start(args, format);
        std::vprintf(format, args);
        va_end(args);
        std::printf("\n");
        std::fflush(stdout);
    }

    const char* const name;
    const int count;
    const quint32 seed;
    std::mt19937 rng;
    QElapsedTimer clock;
};

}  // namespace soak

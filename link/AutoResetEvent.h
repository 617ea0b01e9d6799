#pragma once
// An event that resets itself when a wait consumes it: set() lets exactly one wait through,
// whether it is already waiting or comes later. Starts not signalled.
#include <condition_variable>
#include <mutex>

namespace tolm {

class AutoResetEvent {
public:
    static constexpr int kInfinite = -1;

    void set();
    void reset();
    // Waits at most timeoutMs (kInfinite: without limit). True when the event was signalled;
    // the signal is then consumed.
    bool wait(int timeoutMs);
    // A wait that does not wait.
    bool poll() { return wait(0); }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool signalled_ = false;
};

}  // namespace tolm

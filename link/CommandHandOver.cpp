#include "link/CommandHandOver.h"

#include <chrono>

namespace tolm {

CommandHandOver::Ticket CommandHandOver::submit(const std::function<void()>& fill,
                                                int receiveLimitMs) {
    std::lock_guard lock(mutex_);
    if (phase_ == Phase::Stopped) {
        return {0, Refusal::NoThread};
    }
    if (inFlight_ != 0) {
        return {0, Refusal::CommandInFlight};
    }
    if (fill) {
        fill();
    }
    inFlight_ = ++last_;
    receiveLimitMs_ = receiveLimitMs;
    changed_.notify_all();
    return {inFlight_, Refusal::None};
}

void CommandHandOver::withdraw(Generation g) {
    std::lock_guard lock(mutex_);
    if (g != 0 && inFlight_ == g) {
        withdrawn_ = g;
    }
}

void CommandHandOver::withdrawCurrent() {
    std::lock_guard lock(mutex_);
    if (inFlight_ != 0) {
        withdrawn_ = inFlight_;
    }
}

bool CommandHandOver::inFlight() const {
    std::lock_guard lock(mutex_);
    return inFlight_ != 0;
}

CommandHandOver::Generation CommandHandOver::current() const {
    std::lock_guard lock(mutex_);
    return inFlight_;
}

CommandHandOver::Generation CommandHandOver::last() const {
    std::lock_guard lock(mutex_);
    return last_;
}

bool CommandHandOver::reported(Generation g) const {
    std::lock_guard lock(mutex_);
    return g != 0 && g <= last_ && inFlight_ != g;
}

bool CommandHandOver::waitReported(Generation g, int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return g != 0 && g <= last_ && inFlight_ != g; });
}

bool CommandHandOver::waitIdle(int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return inFlight_ == 0; });
}

CommandHandOver::Phase CommandHandOver::phase() const {
    std::lock_guard lock(mutex_);
    return phase_;
}

CommandHandOver::Phase CommandHandOver::waitWhileConnecting(int timeoutMs) const {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                      [&] { return phase_ != Phase::Connecting; });
    return phase_;
}

void CommandHandOver::threadStarting() {
    std::lock_guard lock(mutex_);
    phase_ = Phase::Connecting;
    inFlight_ = 0;
    taken_ = 0;
    withdrawn_ = 0;
    changed_.notify_all();
}

void CommandHandOver::threadServing() {
    std::lock_guard lock(mutex_);
    if (phase_ == Phase::Connecting) {
        phase_ = Phase::Serving;
        changed_.notify_all();
    }
}

std::optional<CommandHandOver::Taken> CommandHandOver::take() {
    std::lock_guard lock(mutex_);
    if (inFlight_ == 0 || taken_ == inFlight_) {
        return std::nullopt;
    }
    taken_ = inFlight_;
    return Taken{inFlight_, receiveLimitMs_};
}

bool CommandHandOver::abortRequested(Generation g) const {
    std::lock_guard lock(mutex_);
    return g != 0 && withdrawn_ == g;
}

bool CommandHandOver::currentWithdrawn() const {
    std::lock_guard lock(mutex_);
    return inFlight_ != 0 && withdrawn_ == inFlight_;
}

void CommandHandOver::report(Generation g) {
    std::lock_guard lock(mutex_);
    if (inFlight_ == g) {
        inFlight_ = 0;
        changed_.notify_all();
    }
}

void CommandHandOver::threadEnded() {
    std::lock_guard lock(mutex_);
    phase_ = Phase::Stopped;
    inFlight_ = 0;
    changed_.notify_all();
}

}  // namespace tolm

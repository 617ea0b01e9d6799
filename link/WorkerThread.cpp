#include "link/WorkerThread.h"

#include <chrono>

#include "link/LinkLog.h"

namespace tolm {

WorkerThread::~WorkerThread() {
    if (!thread_.joinable()) {
        return;
    }
    if (wait(kDestructionWaitMs)) {
        thread_.join();
    } else {
        qCCritical(lcLink, "a worker thread did not end within %d ms; it is left behind",
                   kDestructionWaitMs);
        thread_.detach();
    }
}

bool WorkerThread::start(std::function<int()> entry) {
    std::unique_lock lock(state_->mutex);
    if (state_->running) {
        return false;
    }
    if (thread_.joinable()) {
        // The previous thread has returned from its entry routine; only its last steps remain.
        lock.unlock();
        thread_.join();
        lock.lock();
    }
    state_->running = true;
    state_->exitCode = kStillActive;
    thread_ = std::thread([state = state_, entry = std::move(entry)] {
        const int code = entry();
        {
            std::lock_guard done(state->mutex);
            state->exitCode = code;
            state->running = false;
        }
        state->ended.notify_all();
    });
    return true;
}

bool WorkerThread::isRunning() const {
    std::lock_guard lock(state_->mutex);
    return state_->running;
}

bool WorkerThread::wait(int timeoutMs) {
    std::unique_lock lock(state_->mutex);
    return state_->ended.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [this] { return !state_->running; });
}

void WorkerThread::leaveBehind() {
    if (thread_.joinable()) {
        qCWarning(lcLink) << "a worker thread that did not end is left behind";
        thread_.detach();
    }
}

int WorkerThread::exitCode() const {
    std::lock_guard lock(state_->mutex);
    return state_->exitCode;
}

}  // namespace tolm

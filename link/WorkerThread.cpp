#include "link/WorkerThread.h"

#include <chrono>

namespace tolm {

WorkerThread::~WorkerThread() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool WorkerThread::start(std::function<int()> entry) {
    std::unique_lock lock(mutex_);
    if (running_) {
        return false;
    }
    if (thread_.joinable()) {
        // The previous thread has returned from its entry routine; only its last steps remain.
        lock.unlock();
        thread_.join();
        lock.lock();
    }
    running_ = true;
    exitCode_ = kStillActive;
    thread_ = std::thread([this, entry = std::move(entry)] {
        const int code = entry();
        {
            std::lock_guard done(mutex_);
            exitCode_ = code;
            running_ = false;
        }
        ended_.notify_all();
    });
    return true;
}

bool WorkerThread::isRunning() const {
    std::lock_guard lock(mutex_);
    return running_;
}

bool WorkerThread::wait(int timeoutMs) {
    std::unique_lock lock(mutex_);
    return ended_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return !running_; });
}

int WorkerThread::exitCode() const {
    std::lock_guard lock(mutex_);
    return exitCode_;
}

}  // namespace tolm

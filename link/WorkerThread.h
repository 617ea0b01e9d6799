#pragma once
// A thread that runs one entry routine and keeps its result as the exit code.
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace tolm {

class WorkerThread {
public:
    // What exitCode() reads while the thread runs.
    static constexpr int kStillActive = 259;

    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    // Waits for a running thread to end.
    ~WorkerThread();

    // Starts entry on a new thread; false (and nothing started) while the previous one runs.
    bool start(std::function<int()> entry);
    bool isRunning() const;
    // Waits at most timeoutMs for the thread to end; true when it has ended (or never ran).
    bool wait(int timeoutMs);
    int exitCode() const;

private:
    std::thread thread_;
    mutable std::mutex mutex_;
    std::condition_variable ended_;
    bool running_ = false;
    int exitCode_ = 0;
};

}  // namespace tolm

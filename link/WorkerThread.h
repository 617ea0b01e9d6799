#pragma once
// A thread that runs one entry routine and keeps its result as the exit code.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace tolm {

class WorkerThread {
public:
    // What exitCode() reads while the thread runs.
    static constexpr int kStillActive = 259;
    // How long destruction waits for a running thread before it leaves it behind.
    static constexpr int kDestructionWaitMs = 3000;

    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    // Waits at most kDestructionWaitMs for a running thread to end; a thread that is still
    // running then is left behind (detached) rather than waited for without end.
    ~WorkerThread();

    // Starts entry on a new thread; false (and nothing started) while the previous one runs.
    bool start(std::function<int()> entry);
    bool isRunning() const;
    // Waits at most timeoutMs for the thread to end; true when it has ended (or never ran).
    bool wait(int timeoutMs);
    int exitCode() const;
    // Gives up a thread that did not end when asked to: it is detached and runs on by itself.
    // Whatever it uses must then outlive it.
    void leaveBehind();

private:
    // Shared with the thread, so that a thread left behind never touches freed memory.
    struct State {
        mutable std::mutex mutex;
        std::condition_variable ended;
        bool running = false;
        int exitCode = 0;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
    std::thread thread_;
};

}  // namespace tolm

#pragma once
// A thread of its own for work where only the newest request matters (the working-file record
// of the last generation, the check of the script being typed): one job runs at a time, and a
// job handed over while one runs waits, replacing any job still waiting.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#ifdef __linux__
#include <pthread.h>
#include <sched.h>
#endif

namespace korvex::platform {

enum class ThreadPriority {
    Normal,
    Idle,  ///< yields the processor to everything else, the windows above all
};

template <typename Job>
class LatestJobThread {
public:
    /// Starts the thread, which runs `work` on every job it takes.
    explicit LatestJobThread(std::function<void(Job&)> work,
                             ThreadPriority priority = ThreadPriority::Normal)
        : work_(std::move(work)), thread_([this, priority] { run(priority); }) {}
    /// Drops a waiting job, lets a running one finish, and ends the thread.
    ~LatestJobThread() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
            pending_.reset();
        }
        wake_.notify_all();
        thread_.join();
    }
    LatestJobThread(const LatestJobThread&) = delete;
    LatestJobThread& operator=(const LatestJobThread&) = delete;

    /// Hands `job` over; a job still waiting is out of date, and is dropped.
    void post(Job job) {
        {
            const std::lock_guard lock(mutex_);
            pending_ = std::move(job);
        }
        wake_.notify_all();
    }

    /// Drops the job waiting, if any; a running one goes on.
    void dropPending() {
        bool idle = false;
        {
            const std::lock_guard lock(mutex_);
            pending_.reset();
            idle = !running_;
        }
        if (idle) {
            idle_.notify_all();
        }
    }

    bool isIdle() const {
        const std::lock_guard lock(mutex_);
        return !running_ && !pending_;
    }

    /// Blocks until no job runs and none waits.
    void waitForIdle() {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return !running_ && !pending_; });
    }

private:
    void run(ThreadPriority priority) {
#ifdef __linux__
        if (priority == ThreadPriority::Idle) {
            const sched_param idle{};
            pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
        }
#else
        (void)priority;
#endif
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
            if (stopping_) {
                return;
            }
            Job job = std::move(*pending_);
            pending_.reset();
            running_ = true;
            lock.unlock();

            work_(job);

            lock.lock();
            running_ = false;
            if (!pending_) {
                idle_.notify_all();
            }
        }
    }

    std::function<void(Job&)> work_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;  // a job waits, or the thread is to stop
    std::condition_variable idle_;  // nothing runs and nothing waits
    std::optional<Job> pending_;
    bool running_ = false;
    bool stopping_ = false;
    std::thread thread_;  // last: it starts once everything above exists
};

}  // namespace korvex::platform

// Runs several simulated programs' work at once, as the processes of a real
// machine would: each piece of work on a thread of its own, exactly one
// running at a time, switching at every file access and wherever one waits
// for a lock another holds. Where it switches is drawn from a seed, so a
// failing order can be run again.
#pragma once
#include <condition_variable>
#include <functional>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "platform/sim/SimMachine.h"

namespace tidemark::testing {

class Interleaver {
public:
    Interleaver(sim::SimMachine& machine, unsigned seed) : machine_(machine), random_(seed) {
        machine_.files.onAccess = [this] { switchPoint(); };
        machine_.locks.onContention = [this] { return waitForOthers(); };
    }
    ~Interleaver() {
        machine_.files.onAccess = nullptr;
        machine_.locks.onContention = nullptr;
    }
    Interleaver(const Interleaver&) = delete;
    Interleaver& operator=(const Interleaver&) = delete;

    // Runs every task to its end, interleaved.
    void run(const std::vector<std::function<void()>>& tasks) {
        if (tasks.empty()) return;
        std::unique_lock<std::mutex> lock(mutex_);
        done_.assign(tasks.size(), false);
        std::vector<std::thread> threads;
        for (std::size_t i = 0; i < tasks.size(); ++i) {
            threads.emplace_back([this, i, &tasks] {
                {
                    std::unique_lock<std::mutex> mine(mutex_);
                    changed_.wait(mine, [&] { return current_ == static_cast<int>(i); });
                }
                self() = static_cast<int>(i);
                tasks[i]();
                self() = -1;
                std::lock_guard<std::mutex> mine(mutex_);
                done_[i] = true;
                current_ = pick(-1);
                changed_.notify_all();
            });
        }
        current_ = pick(-1);
        changed_.notify_all();
        changed_.wait(lock, [&] { return current_ == -1; });
        lock.unlock();
        for (auto& t : threads) t.join();
    }

private:
    static int& self() {
        thread_local int index = -1;
        return index;
    }

    // A random unfinished task other than `except`; -1 when there is none.
    int pick(int except) {
        std::vector<int> ready;
        for (std::size_t i = 0; i < done_.size(); ++i)
            if (!done_[i] && static_cast<int>(i) != except) ready.push_back(static_cast<int>(i));
        if (ready.empty()) return -1;
        return ready[std::uniform_int_distribution<std::size_t>(0, ready.size() - 1)(random_)];
    }

    void handOver(int next) {
        std::unique_lock<std::mutex> lock(mutex_);
        const int me = self();
        current_ = next;
        changed_.notify_all();
        changed_.wait(lock, [&] { return current_ == me; });
    }

    // Before a file access: carry on, or let another task run first.
    void switchPoint() {
        if (self() < 0) return;
        int next;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            next = std::uniform_int_distribution<int>(0, 1)(random_) ? self() : pick(self());
        }
        if (next >= 0 && next != self()) handOver(next);
    }

    // A lock held by another task: let the others run. False when no other
    // task can run, so the wait would end by time-out.
    bool waitForOthers() {
        if (self() < 0) return false;
        int next;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            next = pick(self());
        }
        if (next < 0) return false;
        handOver(next);
        return true;
    }

    sim::SimMachine& machine_;
    std::mt19937 random_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<bool> done_;
    int current_ = -1;
};

} // namespace tidemark::testing

#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

/// Runs tasks in the order given on a thread of its own, so that work such as encoding a
/// file or measuring sound goes on beside the caller's. At most depth tasks wait: a slow
/// worker holds the caller back. A task's failure is raised again by the next Push or by
/// Finish, and the tasks still waiting are dropped.
class TWorkQueue
{
public:
    explicit TWorkQueue(std::size_t depth = 8);
    /// Drops the tasks still waiting and waits for the one under way.
    ~TWorkQueue();
    TWorkQueue(const TWorkQueue&) = delete;
    TWorkQueue& operator=(const TWorkQueue&) = delete;

    void Push(std::function<void()> task);
    /// Waits until every task given has run.
    void Finish();

private:
    void Run();
    void RaiseFailure();

    std::size_t FDepth;
    std::mutex FLock;
    std::condition_variable FChanged;
    std::deque<std::function<void()>> FQueue;
    bool FBusy = false;
    bool FStop = false;
    std::exception_ptr FFailure;
    std::thread FThread;
};

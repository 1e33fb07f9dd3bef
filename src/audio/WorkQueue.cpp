#include "audio/WorkQueue.h"

#include <utility>

TWorkQueue::TWorkQueue(std::size_t depth) : FDepth(depth), FThread([this] { Run(); }) {}

TWorkQueue::~TWorkQueue()
{
    {
        std::lock_guard<std::mutex> guard(FLock);
        FStop = true;
        FQueue.clear();
    }
    FChanged.notify_all();
    FThread.join();
}

void TWorkQueue::RaiseFailure()
{
    if (FFailure)
        std::rethrow_exception(std::exchange(FFailure, nullptr));
}

void TWorkQueue::Push(std::function<void()> task)
{
    std::unique_lock<std::mutex> guard(FLock);
    FChanged.wait(guard, [this] { return FQueue.size() < FDepth || FFailure; });
    RaiseFailure();
    FQueue.push_back(std::move(task));
    FChanged.notify_all();
}

void TWorkQueue::Finish()
{
    std::unique_lock<std::mutex> guard(FLock);
    FChanged.wait(guard, [this] { return (FQueue.empty() && !FBusy) || FFailure; });
    RaiseFailure();
}

void TWorkQueue::Run()
{
    std::unique_lock<std::mutex> guard(FLock);
    for (;;)
    {
        FChanged.wait(guard, [this] { return FStop || !FQueue.empty(); });
        if (FStop)
            return;
        std::function<void()> task = std::move(FQueue.front());
        FQueue.pop_front();
        FBusy = true;
        FChanged.notify_all();
        guard.unlock();
        std::exception_ptr failure;
        try
        {
            task();
        }
        catch (...)
        {
            failure = std::current_exception();
        }
        guard.lock();
        FBusy = false;
        if (failure)
        {
            FFailure = failure;
            FQueue.clear();
        }
        FChanged.notify_all();
    }
}

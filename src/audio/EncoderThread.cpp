#include "audio/EncoderThread.h"

#include "audio/AudioFileWriter.h"

#include <utility>

namespace
{
/// Chunks that may wait for the encoder.
constexpr std::size_t MaxWaiting = 4;
} // namespace

TEncoderThread::TEncoderThread(TAudioFileWriter& writer)
    : FWriter(writer), FThread([this] { Run(); })
{
}

TEncoderThread::~TEncoderThread()
{
    {
        std::lock_guard<std::mutex> guard(FLock);
        FStop = true;
        FQueue.clear();
    }
    FChanged.notify_all();
    FThread.join();
}

void TEncoderThread::RaiseFailure()
{
    if (FFailure)
        std::rethrow_exception(std::exchange(FFailure, nullptr));
}

void TEncoderThread::Push(TChunk&& chunk)
{
    std::unique_lock<std::mutex> guard(FLock);
    FChanged.wait(guard, [this] { return FQueue.size() < MaxWaiting || FFailure; });
    RaiseFailure();
    FQueue.push_back(std::move(chunk));
    FChanged.notify_all();
}

void TEncoderThread::WriteWhole(std::vector<std::int32_t>&& samples)
{
    Push(TChunk{std::move(samples), {}});
}

void TEncoderThread::WriteFloat(std::vector<float>&& samples)
{
    Push(TChunk{{}, std::move(samples)});
}

void TEncoderThread::Finish()
{
    std::unique_lock<std::mutex> guard(FLock);
    FChanged.wait(guard, [this] { return (FQueue.empty() && !FBusy) || FFailure; });
    RaiseFailure();
}

void TEncoderThread::Run()
{
    std::unique_lock<std::mutex> guard(FLock);
    for (;;)
    {
        FChanged.wait(guard, [this] { return FStop || !FQueue.empty(); });
        if (FStop)
            return;
        TChunk chunk = std::move(FQueue.front());
        FQueue.pop_front();
        FBusy = true;
        FChanged.notify_all();
        guard.unlock();
        std::exception_ptr failure;
        try
        {
            if (!chunk.Whole.empty())
                FWriter.WriteWhole(chunk.Whole.data(), chunk.Whole.size() / 2);
            else
                FWriter.WriteFloat(chunk.Float.data(), chunk.Float.size() / 2);
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

#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

class TAudioFileWriter;

/// Hands interleaved chunks of samples to a writer on a thread of its own, so that encoding
/// (FLAC, Ogg Vorbis) runs beside the work that makes the sound. The chunks are written in
/// the order given; a failure of the writer is raised again by the next Write or by Finish.
/// At most a few chunks wait: a slow encoder holds the sound's maker back.
class TEncoderThread
{
public:
    explicit TEncoderThread(TAudioFileWriter& writer);
    /// Whatever still waits is dropped.
    ~TEncoderThread();
    TEncoderThread(const TEncoderThread&) = delete;
    TEncoderThread& operator=(const TEncoderThread&) = delete;

    /// Whole-number samples (WriteWhole) or floating-point ones (WriteFloat), taken over.
    void WriteWhole(std::vector<std::int32_t>&& samples);
    void WriteFloat(std::vector<float>&& samples);
    /// Waits until everything given is written.
    void Finish();

private:
    struct TChunk
    {
        std::vector<std::int32_t> Whole;
        std::vector<float> Float;
    };
    void Push(TChunk&& chunk);
    void Run();
    void RaiseFailure();

    TAudioFileWriter& FWriter;
    std::mutex FLock;
    std::condition_variable FChanged;
    std::deque<TChunk> FQueue;
    bool FBusy = false;
    bool FStop = false;
    std::exception_ptr FFailure;
    std::thread FThread;
};

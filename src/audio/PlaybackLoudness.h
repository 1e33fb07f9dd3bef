#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class TSynthesizer;

/// Measures, on a thread of its own, how loud a song sounds as the synthesiser plays it, so
/// that playback can be brought to the loudness of the export without a pass before the
/// first note. The thread has a synthesiser of its own (made on first use with the SoundFont
/// given, and made again when that changes). A song given while another is being measured
/// takes its place: the older one is given up.
class TPlaybackLoudness
{
public:
    /// Called on the measuring thread with the song's integrated loudness (LUFS; -HUGE_VAL
    /// for silence) and the number Measure returned for it.
    using TResult = std::function<void(unsigned request, double lufs)>;

    explicit TPlaybackLoudness(TResult result);
    /// Gives up what is being measured and waits for the thread.
    ~TPlaybackLoudness();
    TPlaybackLoudness(const TPlaybackLoudness&) = delete;
    TPlaybackLoudness& operator=(const TPlaybackLoudness&) = delete;

    /// Measures the Standard MIDI File bytes with soundFont; returns the request's number.
    /// A song that cannot be rendered gets no result.
    unsigned Measure(std::string midiBytes, std::string soundFont);

private:
    void Run();

    TResult FResult;
    std::mutex FLock;
    std::condition_variable FWake;
    std::optional<std::string> FPending;
    std::string FSoundFont;
    unsigned FRequest = 0;
    bool FStop = false;
    std::unique_ptr<TSynthesizer> FSynth;
    std::string FSynthSoundFont;
    std::thread FThread;
};

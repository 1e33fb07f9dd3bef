#include "audio/PlaybackLoudness.h"

#include "audio/AudioError.h"
#include "audio/OfflineRenderer.h"
#include "audio/Synthesizer.h"

#include <utility>

TPlaybackLoudness::TPlaybackLoudness(TResult result)
    : FResult(std::move(result)), FThread([this] { Run(); })
{
}

TPlaybackLoudness::~TPlaybackLoudness()
{
    {
        std::lock_guard lock(FLock);
        FStop = true;
    }
    FWake.notify_all();
    FThread.join();
}

unsigned TPlaybackLoudness::Measure(std::string midiBytes, std::string soundFont)
{
    unsigned request = 0;
    {
        std::lock_guard lock(FLock);
        FPending = std::move(midiBytes);
        FSoundFont = std::move(soundFont);
        request = ++FRequest;
    }
    FWake.notify_all();
    return request;
}

void TPlaybackLoudness::Run()
{
    for (;;)
    {
        std::string midi;
        std::string soundFont;
        unsigned request = 0;
        {
            std::unique_lock lock(FLock);
            FWake.wait(lock, [this] { return FStop || FPending.has_value(); });
            if (FStop)
                return;
            midi = std::move(*FPending);
            FPending.reset();
            soundFont = FSoundFont;
            request = FRequest;
        }
        // Given up as soon as another song waits, or the program ends.
        const auto keepGoing = [this, request](double)
        {
            std::lock_guard lock(FLock);
            return !FStop && FRequest == request;
        };
        try
        {
            if (!FSynth || FSynthSoundFont != soundFont)
            {
                FSynth.reset();
                TSynthOptions options;
                options.SoundFont = soundFont;
                FSynth = std::make_unique<TSynthesizer>(options);
                FSynthSoundFont = soundFont;
            }
            const TLoudness loudness = MeasureMidiLoudness(*FSynth, midi, keepGoing);
            if (keepGoing(1.0))
                FResult(request, loudness.Lufs);
        }
        catch (const std::exception&)
        {
            // Cancelled, or nothing to measure with: playback keeps the gain it has.
        }
    }
}

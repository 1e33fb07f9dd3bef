// Measures what the sound layer's figures need and a test cannot decide by itself: how long
// the SoundFont takes to load, and how soon sound follows Play once it has. Live playback
// goes to the null output, which renders in real time like a sound card; a real card adds
// its buffer (period size x periods) on top.
#include "audio/MediaPlayer.h"
#include "audio/Synthesizer.h"
#include "base/TempDir.h"
#include "midi/MidiData.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <exception>
#include <thread>
#include <vector>

using TClock = std::chrono::steady_clock;

namespace
{
double LoadMilliseconds(bool dynamic)
{
    TSynthOptions options;
    options.DynamicSampleLoading = dynamic;
    TSynthesizer synth(options);
    return synth.LoadTime().count() * 1000;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main()
{
    try
    {
        std::vector<double> dynamicLoads;
        std::vector<double> fullLoads;
        for (int i = 0; i < 5; ++i)
        {
            dynamicLoads.push_back(LoadMilliseconds(true));
            fullLoads.push_back(LoadMilliseconds(false));
        }
        std::printf("SoundFont load, %s\n", DefaultSoundFont);
        std::printf("  dynamic sample loading: median %.1f ms (of 5)\n", Median(dynamicLoads));
        std::printf("  all samples loaded:     median %.1f ms (of 5)\n", Median(fullLoads));

        TSynthesizer synth;
        synth.WaitUntilLoaded();
        std::atomic<TClock::rep> heard{0};
        TOutputOptions output;
        output.Driver = "null";
        output.BlockObserver = [&](const float* left, const float* right, int frames)
        {
            if (heard.load() != 0)
                return;
            for (int i = 0; i < frames; ++i)
                if (std::fabs(left[i]) > 1e-4f || std::fabs(right[i]) > 1e-4f)
                {
                    heard = TClock::now().time_since_epoch().count();
                    return;
                }
        };
        TTempDir temp;
        TMidiData midi;
        midi.SetTrackCount(1);
        midi.AddTempo(0, 0, 120);
        midi.AddProgramChange(0, 0, 0, 1);
        midi.AddNote(0, 0, 384, 0, 60, 100);
        midi.SaveToFile(temp.TempMidiFile());

        TMediaPlayer player(synth, output);
        std::vector<double> latencies;
        for (int i = 0; i < 20; ++i)
        {
            player.Close();
            player.SetFileName(temp.TempMidiFile());
            player.Open();
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            heard = 0;
            const TClock::time_point start = TClock::now();
            player.Play();
            while (heard.load() == 0 && TClock::now() - start < std::chrono::seconds(1))
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            const TClock::time_point at{TClock::duration(heard.load())};
            latencies.push_back(std::chrono::duration<double, std::milli>(at - start).count());
        }
        player.Close();
        const double buffer = 1000.0 * output.PeriodSize * output.Periods / 44100;
        std::printf("Play to the first sounding block (null output, period %d frames)\n",
                    output.PeriodSize);
        std::printf("  median %.1f ms, worst %.1f ms (of 20); a sound card adds its buffer, "
                    "%d x %d frames = %.1f ms\n",
                    Median(latencies), *std::max_element(latencies.begin(), latencies.end()),
                    output.PeriodSize, output.Periods, buffer);
        return 0;
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "audio_probe: %s\n", e.what());
        return 1;
    }
}

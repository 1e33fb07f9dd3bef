#include "audio/MediaPlayer.h"
#include "audio/OfflineRenderer.h"
#include "audio/Synthesizer.h"
#include "base/Exceptions.h"
#include "base/StopSignals.h"
#include "base/TempDir.h"
#include "cli/Args.h"
#include "cli/Commands.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"
#include "render/RenderSong.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <unistd.h>

namespace
{
std::string Clock(double seconds)
{
    const int tenths = static_cast<int>(std::lround(seconds * 10));
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d.%d", tenths / 600, tenths / 10 % 60, tenths % 10);
    return text;
}

/// The file's format and loudness from the command line: the format by --format or else by
/// the output's extension; WAV unless it says otherwise.
TRenderOptions RenderOptions(const TArgs& args, const std::string& out)
{
    TRenderOptions options;
    if (const auto name = args.Value("--format"))
    {
        const auto format = AudioFormatFromName(*name);
        if (!format)
            throw EUsageError("--format must be wav, flac or ogg, not '" + *name + "'");
        options.Format = *format;
    }
    else if (const auto format = AudioFormatFromPath(out))
        options.Format = *format;
    options.Bits = static_cast<int>(args.Number("--bits", 16, 24, 16));
    if (options.Bits != 16 && options.Bits != 24)
        throw EUsageError("--bits must be 16 or 24");
    if (options.Format == TAudioFormat::Ogg && args.Has("--bits"))
        throw EUsageError("--bits applies to WAV and FLAC, not Ogg Vorbis");
    options.Normalize = !args.Has("--no-normalize");
    options.Target.Lufs = static_cast<double>(args.Number("--loudness", -40, -5, -14));
    if (!options.Normalize && args.Has("--loudness"))
        throw EUsageError("--loudness and --no-normalize exclude each other");
    return options;
}
/// Loading a SoundFont cannot be interrupted, and one on a slow file system may take any
/// time: a stop request ends the command at once, leaving the loader behind. Nothing is on
/// disk yet that would need removing.
void WaitForSoundFont(const TSynthesizer& synth)
{
    while (!synth.LoadFinished())
    {
        if (StopSignal() != 0)
        {
            std::fprintf(stderr, "%s\n", EStopped(StopSignal()).what());
            std::fflush(stderr);
            std::_Exit(128 + StopSignal());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}
} // namespace

int CmdRender(const std::vector<std::string>& words)
{
    const TArgs args(words,
                     {"--repeat", "--soundfont", "--sample-rate", "--pattern-dir", "--format",
                      "--bits", "--loudness"},
                     {"--gm-reset", "--no-normalize", "--stems"});
    const std::string out = args.Required("-o");
    args.Input();
    const TRenderOptions renderOptions = RenderOptions(args, out);
    const bool stems = args.Has("--stems");
    if (stems && renderOptions.Format == TAudioFormat::Ogg)
        throw EUsageError("--stems writes WAV or FLAC files, not Ogg Vorbis");
    TSynthOptions options;
    options.SoundFont = args.Value("--soundfont").value_or("");
    options.SampleRate = static_cast<int>(args.Number("--sample-rate", 8000, 96000, 44100));
    options.PartOutputs = stems;
    RefuseOutputOverInput(out, args.Input());
    if (!options.SoundFont.empty())
        RefuseOutputOverInput(out, options.SoundFont);
    // The SoundFont loads while the song is rendered to MIDI.
    TSynthesizer synth(options);
    const std::string midiBytes = RenderForPlayback(args, 0).SaveToString();
    WaitForSoundFont(synth);

    const bool live = ::isatty(STDERR_FILENO);
    const auto start = std::chrono::steady_clock::now();
    const auto progress = [&](double done)
    {
        // Ctrl+C gives up between two blocks, leaving nothing behind.
        ThrowIfStopped();
        if (live)
            std::fprintf(stderr, "\rrendering %s: %3d%%", out.c_str(),
                         static_cast<int>(done * 100));
        return true;
    };
    // With --stems, a file per part beside OUT ("song - Bajo.wav"); the mix is not written.
    const std::vector<TStemFile> parts =
        stems ? SongStemFiles(out, [](int track) { return std::string(TrackPartName(track)); })
              : std::vector<TStemFile>{};
    for (const TStemFile& part : parts)
        RefuseOutputOverInput(part.Path, args.Input());
    const TRenderResult result =
        stems ? RenderMidiStems(synth, midiBytes, parts, renderOptions, progress)
              : RenderMidiToFile(synth, midiBytes, out, renderOptions, progress);
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double seconds = static_cast<double>(result.Frames) / result.SampleRate;
    std::fprintf(stderr, "%srendered %s: %s of audio at %d Hz in %.2f s (%.0fx real time)\n",
                 live ? "\r" : "", out.c_str(), Clock(seconds).c_str(), result.SampleRate, took,
                 took > 0 ? seconds / took : 0.0);
    if (result.Normalized)
        std::fprintf(stderr, "loudness %.1f LUFS, true peak %.1f dBTP (gain %+.1f dB)\n",
                     result.After.Lufs, result.After.TruePeakDb, result.GainDb);
    return 0;
}

int CmdPlay(const std::vector<std::string>& words)
{
    const TArgs args(words,
                     {"--unit", "--repeat", "--soundfont", "--audio-driver", "--pattern-dir"},
                     {"--gm-reset"});
    args.Input();
    if (args.Has("--unit") && args.Has("--repeat"))
        throw EUsageError("--repeat does not apply to a single unit (--unit)");
    const long long unitEntry = args.Number("--unit", 1, MaxFileEntries - 1, 0);
    // Ctrl+C ends the command through its destructors, which remove the temporary directory
    // (main catches the stop signals).
    TSynthOptions options;
    options.SoundFont = args.Value("--soundfont").value_or("");
    TSynthesizer synth(options);
    const TMidiData midi = RenderForPlayback(args, unitEntry);
    WaitForSoundFont(synth);
    TTempDir temp;
    midi.SaveToFile(temp.TempMidiFile());

    TOutputOptions output;
    output.Driver = args.Value("--audio-driver").value_or("");
    TMediaPlayer player(synth, output);
    player.SetFileName(temp.TempMidiFile());
    player.Open();
    if (!StopSignal())
        player.Play();
    std::fprintf(stderr, "playing %s through %s (Ctrl+C stops)\n", args.Input().c_str(),
                 player.DriverName().c_str());
    while (player.Playing() && !StopSignal())
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    player.Close();
    if (StopSignal())
    {
        std::fprintf(stderr, "stopped\n");
        return 130;
    }
    return 0;
}

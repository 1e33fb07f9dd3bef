#include "AudioTestSupport.h"

#include "audio/Synthesizer.h"
#include "base/FileIO.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include <ebur128.h>
#include <sndfile.h>

namespace
{
std::uint32_t LE(const std::string& s, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(s[at + static_cast<std::size_t>(i)]);
    return v;
}
} // namespace

TWav ReadWav(const std::string& path)
{
    TWav wav;
    const std::string data = ReadWholeFile(path);
    EXPECT_GE(data.size(), 44u) << path;
    if (data.size() < 44)
        return wav;
    EXPECT_EQ(data.substr(0, 4), "RIFF");
    EXPECT_EQ(LE(data, 4, 4), data.size() - 8);
    EXPECT_EQ(data.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(LE(data, 16, 4), 16u);
    EXPECT_EQ(LE(data, 20, 2), 1u) << "PCM";
    wav.Channels = static_cast<int>(LE(data, 22, 2));
    wav.SampleRate = static_cast<int>(LE(data, 24, 4));
    EXPECT_EQ(LE(data, 28, 4), static_cast<std::uint32_t>(wav.SampleRate * wav.Channels * 2));
    EXPECT_EQ(LE(data, 32, 2), static_cast<std::uint32_t>(wav.Channels * 2));
    EXPECT_EQ(LE(data, 34, 2), 16u);
    EXPECT_EQ(data.substr(36, 4), "data");
    EXPECT_EQ(LE(data, 40, 4), data.size() - 44);
    wav.Samples.resize((data.size() - 44) / 2);
    std::memcpy(wav.Samples.data(), data.data() + 44, wav.Samples.size() * 2);
    return wav;
}

double Rms(const TWav& wav, double fromSeconds, double toSeconds, int channel)
{
    const auto clampFrame = [&](double t)
    { return std::min(wav.Frames(), static_cast<std::size_t>(std::max(0.0, t) * wav.SampleRate)); };
    const std::size_t from = clampFrame(fromSeconds);
    const std::size_t to = clampFrame(toSeconds);
    double sum = 0;
    std::size_t n = 0;
    for (std::size_t f = from; f < to; ++f)
        for (int c = 0; c < wav.Channels; ++c)
        {
            if (channel >= 0 && c != channel)
                continue;
            const double x = wav.Samples[f * static_cast<std::size_t>(wav.Channels) +
                                         static_cast<std::size_t>(c)] /
                             32768.0;
            sum += x * x;
            ++n;
        }
    return n ? std::sqrt(sum / static_cast<double>(n)) : 0.0;
}

double FirstSound(const TWav& wav, double level)
{
    for (std::size_t i = 0; i < wav.Samples.size(); ++i)
        if (std::abs(wav.Samples[i] / 32768.0) > level)
            return static_cast<double>(i / static_cast<std::size_t>(wav.Channels)) / wav.SampleRate;
    return -1;
}

double LastSound(const TWav& wav, double level)
{
    for (std::size_t i = wav.Samples.size(); i-- > 0;)
        if (std::abs(wav.Samples[i] / 32768.0) > level)
            return static_cast<double>(i / static_cast<std::size_t>(wav.Channels) + 1) /
                   wav.SampleRate;
    return 0;
}

double SecondsAt(const TMidiData& midi, std::int64_t tick)
{
    // Tempo events of all tracks, by tick: FF 51 tt tt tt.
    std::map<std::int64_t, double> tempo;
    for (int t = 0; t < midi.TrackCount(); ++t)
        for (int i = 0; i < midi.GetTrack(t)->Count(); ++i)
        {
            const TMidiEvent& e = *midi.GetTrack(t)->Get(i);
            if (e.DataSize() == 5 && e.Data[0] == 0xFF && e.Data[1] == 0x51)
                tempo[e.Time] = ((e.Data[2] << 16) | (e.Data[3] << 8) | e.Data[4]) / 1e6;
        }
    double seconds = 0;
    double perQuarter = 0.5;
    std::int64_t at = 0;
    for (const auto& [time, value] : tempo)
    {
        if (time >= tick)
            break;
        seconds += static_cast<double>(time - at) / midi.Division * perQuarter;
        at = time;
        perQuarter = value;
    }
    return seconds + static_cast<double>(tick - at) / midi.Division * perQuarter;
}

std::int64_t LastTick(const TMidiData& midi)
{
    std::int64_t last = 0;
    for (int t = 0; t < midi.TrackCount(); ++t)
        for (int i = 0; i < midi.GetTrack(t)->Count(); ++i)
        {
            const TMidiEvent& e = *midi.GetTrack(t)->Get(i);
            last = std::max<std::int64_t>(last, e.Time + std::max(e.Duration, 0));
        }
    return last;
}

TScratchDir::TScratchDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "audio-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        FPath = pattern;
    EXPECT_FALSE(FPath.empty());
}

TScratchDir::~TScratchDir()
{
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
}

std::vector<std::string> TScratchDir::List() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(FPath))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool HaveDefaultSoundFont()
{
    std::error_code ec;
    return std::filesystem::exists(DefaultSoundFont, ec);
}

TReadBack ReadBack(const std::string& path)
{
    TReadBack result;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    EXPECT_NE(file, nullptr) << path << ": " << sf_strerror(nullptr);
    if (!file)
        return result;
    result.Format = info.format;
    result.SampleRate = info.samplerate;
    result.Channels = info.channels;
    result.Samples.resize(static_cast<std::size_t>(info.frames * info.channels));
    EXPECT_EQ(sf_readf_float(file, result.Samples.data(), info.frames), info.frames);
    sf_close(file);
    return result;
}

void Measure(const TReadBack& sound, double& lufs, double& truePeakDb)
{
    ebur128_state* state = ebur128_init(static_cast<unsigned>(sound.Channels),
                                        static_cast<unsigned long>(sound.SampleRate),
                                        EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK);
    ASSERT_NE(state, nullptr);
    ebur128_add_frames_float(state, sound.Samples.data(), sound.Frames());
    ebur128_loudness_global(state, &lufs);
    double peak = 0;
    for (int c = 0; c < sound.Channels; ++c)
    {
        double channel = 0;
        ebur128_true_peak(state, static_cast<unsigned>(c), &channel);
        peak = std::max(peak, channel);
    }
    truePeakDb = 20 * std::log10(peak);
    ebur128_destroy(&state);
}

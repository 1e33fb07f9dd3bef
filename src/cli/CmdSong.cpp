#include "cli/Args.h"
#include "cli/Commands.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

int CmdNew(const std::vector<std::string>& words)
{
    const TArgs args(words, {"--units", "--pattern-dir"}, {});
    if (!args.Positional().empty())
        throw EUsageError("new takes no input file");
    const std::string out = args.Required("-o");
    const long long units = args.Number("--units", 0, MaxEditorEntries - 1, 1);
    LoadLibraries(args);

    TMusicProject song;
    song.NewSong();
    while (song.Count() > 1)
        song.Items.Delete(song.Count() - 1);
    for (long long i = 0; i < units; ++i)
        song.Items.Add(std::make_unique<TMunit>(4, 4));
    song.SaveToFile(out);
    return 0;
}

namespace
{
/// Bytes of a name or path that a terminal would act on (below 0x20, and 0x7F) as \xNN.
std::string Printable(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F)
        {
            out += c;
            continue;
        }
        static const char* const hex = "0123456789ABCDEF";
        out += "\\x";
        out += hex[byte >> 4];
        out += hex[byte & 0x0F];
    }
    return out;
}

const char* ScaleName(int scale)
{
    return scale == 0 ? "major" : "minor";
}

const char* TrackName(int track)
{
    static const char* const names[TrackCount] = {"Melodia", "Acomp. 1", "Acomp. 2", "Bajo",
                                                  "Bateria"};
    return names[track];
}

std::string RomanDegree(int degree)
{
    static const char* const numerals[] = {"I", "II", "III", "IV", "V", "VI"};
    if (degree >= 1 && degree <= 6)
        return numerals[degree - 1];
    std::string other = "?";
    other += std::to_string(degree);
    return other;
}

void PrintProperty(const TMuprop& p)
{
    std::printf("  key %d, %s, tempo %d", p.Key, ScaleName(p.Scale), p.Tempo);
    std::printf(", 7th chords %s, alt snare %s, octave up %s\n", p.Use7th ? "on" : "off",
                p.AltSnare ? "on" : "off", p.OctaveUp ? "on" : "off");
    static const char* const slots[PatternSlotCount] = {"Acomp. 1", "Acomp. 2", "Bajo", "Bateria"};
    for (int i = 0; i < PatternSlotCount; ++i)
        std::printf("  pattern %-8s \"%s\"\n", slots[i], Printable(p.GetPatternName(i)).c_str());
    for (int i = 0; i < TrackCount; ++i)
    {
        const TTrackSetting& t = p.GetTrack(i);
        std::printf("  track %-8s instrument %3d volume %3d pan %3d reverb %3d chorus %3d\n",
                    TrackName(i), t.Instrument, t.Volume, t.Pan, t.Reverb, t.Chorus);
    }
}

void PrintUnit(const TMunit& u)
{
    std::printf("  flags: fill %d, cadence %d, short notes %d, harmony %d\n", u.Fill, u.Cadence,
                u.ShortNotes, u.HarmonyVoice);
    for (int b = 0; b < u.BarCount; ++b)
    {
        std::string chords;
        for (int k = 0; k < u.BeatsPerBar; ++k)
        {
            if (k > 0)
                chords += ' ';
            chords += RomanDegree(u.GetChord(b, k));
        }
        std::string rhythm;
        std::string melody;
        for (int s = 0; s < u.StepsPerBar(); ++s)
        {
            rhythm += u.GetRhythm(b, s);
            if (u.GetRhythm(b, s) == RhythmOnset)
            {
                if (!melody.empty())
                    melody += ' ';
                melody += std::to_string(u.GetMelody(b, s));
            }
        }
        std::printf("  bar %d: chords %-15s rhythm %s melody [%s]\n", b + 1, chords.c_str(),
                    rhythm.c_str(), melody.c_str());
    }
}
} // namespace

int CmdInfo(const std::vector<std::string>& words)
{
    const TArgs args(words, {"--pattern-dir"}, {});
    TMusicProject song;
    LoadSong(song, args.Input());
    std::printf("%s: %d entries\n", Printable(args.Input()).c_str(), song.Count());
    int unitNumber = 0;
    for (int i = 0; i < song.Count(); ++i)
    {
        if (const TMuprop* p = song.PropertyAt(i))
        {
            std::printf("entry %d: properties\n", i);
            PrintProperty(*p);
        }
        else if (const TMunit* u = song.UnitAt(i))
        {
            std::printf("entry %d: unit Ptn.%d\n", i, ++unitNumber);
            PrintUnit(*u);
        }
    }
    return 0;
}

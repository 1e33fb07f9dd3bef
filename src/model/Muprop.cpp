#include "model/Muprop.h"

#include "base/Bytes.h"
#include "base/Exceptions.h"
#include "base/Text.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <istream>
#include <ostream>

const char* const QuarterNoteArpeggioUtf8 = "4\xE5\x88\x86\xE9\x9F\xB3\xE7\xAC\xA6\xE3\x82\xA2\xE3"
                                            "\x83\xAB\xE3\x83\x9A\xE3\x82\xB8\xE3\x82\xAA";
const char* const QuarterNoteArpeggioShiftJis =
    "\x34\x95\xAA\x89\xB9\x95\x84\x83\x41\x83\x8B\x83\x79\x83\x57\x83\x49";

namespace
{
struct TTrackDefault
{
    int Instrument, Volume, Pan, Reverb, Chorus;
};

constexpr std::array<TTrackDefault, TrackCount> TrackDefaults = {{
    {68, 100, 64, 40, 20}, // Melody: oboe
    {16, 80, 32, 40, 20},  // Acomp. 1: drawbar organ
    {4, 80, 96, 40, 20},   // Acomp. 2: electric piano
    {34, 100, 64, 20, 20}, // Bass: picked bass
    {0, 100, 64, 40, 0},   // Drums: standard kit
}};

// Property record, 640 bytes:
//   0 version(4)  4 Scale(4)  8 Key(4)  12 Tempo(4)  16 Use7th(4)  20 AltSnare(4)
//  24 OctaveUp(4) 28 reserved(37)
//  65 five track blocks of 8 bytes: Instrument Volume Pan Reverb Chorus 0 0 0
// 105 reserved(23)  128 four pattern names of 64 bytes  384 reserved(256)
constexpr std::size_t TrackBlocksAt = 65;
constexpr std::size_t NamesAt = 128;
constexpr std::size_t NameField = 64;

int ClampedDataByte(int value)
{
    return std::clamp(value, 0, 127);
}
} // namespace

const char* TrackPartName(int track)
{
    static constexpr std::array<const char*, TrackCount> Names = {
        Core::Tr("Melodía"), Core::Tr("Acomp. 1"), Core::Tr("Acomp. 2"), Core::Tr("Bajo"),
        Core::Tr("Batería")};
    return Names[static_cast<std::size_t>(std::clamp(track, 0, TrackCount - 1))];
}

int DrumKitProgram(int instrument)
{
    if (instrument < 0 || instrument >= static_cast<int>(DrumKitTable.size()))
        instrument = 0;
    return DrumKitTable[static_cast<std::size_t>(instrument)] - 1;
}

TMuprop::TMuprop()
{
    Reset();
}

void TMuprop::Reset()
{
    Scale = 0;
    Key = 0;
    Tempo = 120;

    PatternNames = {};
    if (BackPatterns.Count() > 0)
    {
        PatternNames[0] = BackPatterns.Names[0];
        PatternNames[1] = BackPatterns.Names[0];
        for (const std::string& name : BackPatterns.Names)
        {
            if (name == QuarterNoteArpeggioUtf8 || name == QuarterNoteArpeggioShiftJis)
            {
                PatternNames[1] = name;
                break;
            }
        }
    }
    if (BassPatterns.Count() > 0)
        PatternNames[2] = BassPatterns.Names[0];
    if (DrumPatterns.Count() > 0)
        PatternNames[3] = DrumPatterns.Names[0];

    for (int i = 0; i < TrackCount; ++i)
    {
        const TTrackDefault& d = TrackDefaults[static_cast<std::size_t>(i)];
        TTrackSetting& t = GetTrack(i);
        t.Instrument = d.Instrument;
        t.Volume = d.Volume;
        t.Pan = d.Pan;
        t.Reverb = d.Reverb;
        t.Chorus = d.Chorus;
    }
}

const std::string& TMuprop::GetPatternName(int index) const
{
    return PatternNames[static_cast<std::size_t>(index)];
}

void TMuprop::SetPatternName(int index, const std::string& name)
{
    PatternNames[static_cast<std::size_t>(index)] = name;
}

void TMuprop::ReadFromStream(std::istream& stream)
{
    std::uint8_t r[PropertyRecordSize];
    ReadExact(stream, r, sizeof r);
    if (GetInt32LE(r) != 1)
        throw EReadError(Core::Tr("a property record of an unknown version"));

    Scale = r[4] != 0 ? 1 : 0;
    Key = GetInt32LE(r + 8);
    Tempo = GetInt32LE(r + 12);
    Use7th = r[16];
    AltSnare = r[20];
    OctaveUp = r[24];
    for (int i = 0; i < TrackCount; ++i)
    {
        const std::uint8_t* b = r + TrackBlocksAt + 8 * static_cast<std::size_t>(i);
        TTrackSetting& t = GetTrack(i);
        t.Instrument = b[0];
        t.Volume = b[1];
        t.Pan = b[2];
        t.Reverb = b[3];
        t.Chorus = b[4];
    }
    for (int i = 0; i < PatternSlotCount; ++i)
    {
        const char* field =
            reinterpret_cast<const char*>(r + NamesAt + NameField * static_cast<std::size_t>(i));
        const std::size_t length = strnlen(field, NameField);
        PatternNames[static_cast<std::size_t>(i)].assign(field, length);
    }
}

void TMuprop::WriteToStream(std::ostream& stream) const
{
    std::uint8_t r[PropertyRecordSize] = {};
    PutInt32LE(r, 1);
    PutInt32LE(r + 4, Scale);
    PutInt32LE(r + 8, Key);
    PutInt32LE(r + 12, Tempo);
    PutInt32LE(r + 16, Use7th);
    PutInt32LE(r + 20, AltSnare);
    PutInt32LE(r + 24, OctaveUp);
    for (int i = 0; i < TrackCount; ++i)
    {
        std::uint8_t* b = r + TrackBlocksAt + 8 * static_cast<std::size_t>(i);
        const TTrackSetting& t = GetTrack(i);
        b[0] = static_cast<std::uint8_t>(t.Instrument);
        b[1] = static_cast<std::uint8_t>(t.Volume);
        b[2] = static_cast<std::uint8_t>(t.Pan);
        b[3] = static_cast<std::uint8_t>(t.Reverb);
        b[4] = static_cast<std::uint8_t>(t.Chorus);
    }
    for (int i = 0; i < PatternSlotCount; ++i)
    {
        // A name that would not leave room for its zero byte is cut on a character boundary.
        const std::string name = CutName(PatternNames[static_cast<std::size_t>(i)]);
        // The record is zero-filled, so the byte after the name ends it.
        // NOLINTNEXTLINE(bugprone-not-null-terminated-result)
        std::memcpy(r + NamesAt + NameField * static_cast<std::size_t>(i), name.data(),
                    name.size());
    }
    WriteExact(stream, r, sizeof r);
}

void TMuprop::EmitTrackSetup(TMidiData& midi, std::int32_t tick, const TMuprop* previous) const
{
    if (midi.TrackCount() < TrackCount)
        midi.SetTrackCount(TrackCount);
    if (previous == nullptr || previous->Tempo != Tempo)
        midi.AddTempo(0, tick, Tempo);

    for (int i = 0; i < TrackCount; ++i)
    {
        const int channel = TrackChannel(i);
        const TTrackSetting& t = GetTrack(i);
        const TTrackSetting* p = previous != nullptr ? &previous->GetTrack(i) : nullptr;
        if (p == nullptr || p->Instrument != t.Instrument)
        {
            const int program =
                i == DrumTrack ? DrumKitProgram(t.Instrument) : ClampedDataByte(t.Instrument);
            midi.AddProgramChange(i, tick, channel, program + 1);
        }
        if (p == nullptr || p->Volume != t.Volume)
            midi.AddControlChange(i, tick, channel, 7, ClampedDataByte(t.Volume));
        if (p == nullptr || p->Pan != t.Pan)
            midi.AddControlChange(i, tick, channel, 10, ClampedDataByte(t.Pan));
        if (p == nullptr || p->Reverb != t.Reverb)
            midi.AddControlChange(i, tick, channel, 91, ClampedDataByte(t.Reverb));
        if (p == nullptr || p->Chorus != t.Chorus)
            midi.AddControlChange(i, tick, channel, 93, ClampedDataByte(t.Chorus));
    }
}

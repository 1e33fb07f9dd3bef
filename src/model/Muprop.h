#pragma once

#include "model/SongItem.h"

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>

class TMidiData;

constexpr int TrackCount = 5;
constexpr int PatternSlotCount = 4;
/// The tracks: the melody, then the accompaniment parts of the four pattern slots.
constexpr int MelodyTrack = 0;
constexpr int BackingTrack1 = 1;
constexpr int BackingTrack2 = 2;
constexpr int BassTrack = 3;
constexpr int DrumTrack = 4;
constexpr int DrumChannel = 9;

/// Bytes of one property record in project files.
constexpr int PropertyRecordSize = 640;

/// Ten 1-based programs of the drum kits, indexed by the drum track's Instrument.
constexpr std::array<int, 10> DrumKitTable = {1, 9, 17, 25, 26, 33, 41, 49, 57, 128};

/// MIDI channel of a track: the track index, except the drums on channel 9.
constexpr int TrackChannel(int track)
{
    return track == DrumTrack ? DrumChannel : track;
}

/// A track's part as the windows name it ("Melodía", "Acomp. 1", ... "Batería"), marked for
/// translation.
const char* TrackPartName(int track);

/// 0-based program byte of the drum kit index; a kit outside 0..9 plays kit 0.
int DrumKitProgram(int instrument);

/// Per-track settings: program (or drum kit index), volume, pan, reverb, chorus.
class TTrackSetting
{
public:
    std::int32_t Instrument = 0;
    std::int32_t Volume = 0;
    std::int32_t Pan = 0;
    std::int32_t Reverb = 0;
    std::int32_t Chorus = 0;

    void SetInstrument(std::int32_t value) { Instrument = value; }
    void SetVolume(std::int32_t value) { Volume = value; }
    void SetPan(std::int32_t value) { Pan = value; }
    void SetReverb(std::int32_t value) { Reverb = value; }
    void SetChorus(std::int32_t value) { Chorus = value; }
};

/// A property set: key, scale, tempo, options, accompaniment patterns and five tracks.
class TMuprop : public TSongItem
{
public:
    TMuprop();

    std::array<TTrackSetting, TrackCount> Tracks;
    /// Acomp. 1, Acomp. 2, Bass, Drums; index n drives track n + 1.
    std::array<std::string, PatternSlotCount> PatternNames;
    std::uint8_t Scale = 0; ///< 0 major, 1 minor
    std::int32_t Key = 0;
    std::int32_t Tempo = 120;
    std::uint8_t Use7th = 0;
    std::uint8_t AltSnare = 0;
    std::uint8_t OctaveUp = 0;

    /// Scale, key, tempo, pattern names and the fifteen track values; not the three flags.
    void Reset();

    TTrackSetting& GetTrack(int index) { return Tracks[static_cast<std::size_t>(index)]; }
    const TTrackSetting& GetTrack(int index) const
    {
        return Tracks[static_cast<std::size_t>(index)];
    }
    const std::string& GetPatternName(int index) const;
    void SetPatternName(int index, const std::string& name);
    void SetUse7th(std::uint8_t value) { Use7th = value; }
    void SetAltSnare(std::uint8_t value) { AltSnare = value; }
    void SetOctaveUp(std::uint8_t value) { OctaveUp = value; }

    /// One 640-byte property record; a wrong version or a short stream raises EReadError
    /// and leaves the object unchanged.
    void ReadFromStream(std::istream& stream);
    void WriteToStream(std::ostream& stream) const;

    /// Tempo, program and controller events at tick, only those that differ from previous
    /// (all 26 when previous is null).
    void EmitTrackSetup(TMidiData& midi, std::int32_t tick, const TMuprop* previous) const;
};

/// The quarter-note arpeggio pattern name, in UTF-8 and in Shift-JIS.
extern const char* const QuarterNoteArpeggioUtf8;
extern const char* const QuarterNoteArpeggioShiftJis;

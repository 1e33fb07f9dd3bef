#include "notation/MusicXmlWriter.h"

#include "base/FileIO.h"
#include "base/Text.h"
#include "midi/MidiData.h"
#include "model/Muprop.h"
#include "notation/Engraving.h"
#include "notation/MxlContainer.h"
#include "notation/NoteValues.h"
#include "notation/ScoreBuilder.h"
#include "notation/Spelling.h"
#include "render/TrackNames.h"

#include <algorithm>
#include <array>
#include <set>
#include <string_view>

namespace
{
/// Text for an element or an attribute value: valid UTF-8 of characters XML allows (a bad
/// byte, U+FFFE and U+FFFF become U+FFFD; other control characters than tab and newline are
/// dropped), with the five XML specials escaped.
std::string Escape(const std::string& raw)
{
    const std::string text = ValidUtf8(raw);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        switch (c)
        {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            if (text.compare(i, 2, "\xEF\xBF") == 0 && i + 2 < text.size() &&
                (text[i + 2] == '\xBE' || text[i + 2] == '\xBF'))
            {
                out += "\xEF\xBF\xBD";
                i += 2;
            }
            else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n')
                out += c;
            break;
        }
    }
    return out;
}

/// An indented XML text, one element per line.
class TXml
{
public:
    void Open(const std::string& tag) { Line("<" + tag + ">"), ++FDepth; }
    void Close(const std::string& name) { --FDepth, Line("</" + name + ">"); }
    void Leaf(const std::string& name, const std::string& text)
    {
        Line("<" + name + ">" + Escape(text) + "</" + name + ">");
    }
    void Leaf(const std::string& name, int value) { Leaf(name, std::to_string(value)); }
    void Empty(const std::string& tag) { Line("<" + tag + "/>"); }
    void Line(const std::string& text)
    {
        Text.append(static_cast<std::size_t>(2 * FDepth), ' ');
        Text += text;
        Text += '\n';
    }
    std::string Text;

private:
    int FDepth = 0;
};

/// A stretch of one voice inside one bar: a note's part (tied to what comes before or
/// after it across a bar line) or, without pitches, a rest. Positions in divisions of the
/// bar.
struct TSegment
{
    int Start = 0;
    int Length = 0;
    const TScoreNote* Note = nullptr;
    bool TiedFromBefore = false;
    bool TiedToAfter = false;
};

/// Bar `bar` of a voice: its notes cut at the bar lines, the gaps filled with rests.
std::vector<TSegment> BarSegments(const std::vector<TScoreNote>* voice, int bar)
{
    if (voice == nullptr)
        return {};
    const int barStart = bar * DivisionsPerBar;
    const int barEnd = barStart + DivisionsPerBar;
    std::vector<TSegment> segments;
    int position = barStart;
    for (const TScoreNote& note : *voice)
    {
        const int end = note.Start + note.Length;
        if (end <= barStart || note.Start >= barEnd)
            continue;
        const int from = std::max(note.Start, std::max(barStart, position));
        const int to = std::min(end, barEnd);
        if (to <= from)
            continue;
        if (from > position)
            segments.push_back({position - barStart, from - position});
        segments.push_back({from - barStart, to - from, &note, note.Start<barStart, end> barEnd});
        position = to;
    }
    if (position < barEnd && !segments.empty())
        segments.push_back({position - barStart, barEnd - position});
    return segments;
}

/// A voice as written on a staff: its staff (1 or 2), its MusicXML number and its notes
/// (none: a staff's rests). A voice that is not always written is left out of the bars
/// where it has no notes.
struct TStaffVoice
{
    int Staff = 1;
    int Number = 1;
    const std::vector<TScoreNote>* Notes = nullptr;
    bool Always = true;
};

/// One written value of a voice in a bar, with what the engraver marks on it.
struct TWritten
{
    const TSegment* Segment = nullptr;
    TNoteValue Value;
    int Position = 0;
    bool TieStop = false;
    bool TieStart = false;
    bool First = false;
    const char* Tuplet = nullptr;
    bool Bracket = false;
};

const char* ArticulationName(TArticulation articulation)
{
    switch (articulation)
    {
    case TArticulation::Staccato:
        return "staccato";
    case TArticulation::Staccatissimo:
        return "staccatissimo";
    case TArticulation::None:
        break;
    }
    return nullptr;
}

struct TPartWriter
{
    TXml& Xml;
    const TScore& Score;
    int Track;
    int Fifths = 0;
    bool Minor = false;
    TStaffLayout Layout;
    /// Per bar of the song: written an octave lower under an 8va mark.
    std::vector<bool> Ottava;

    bool Percussion() const { return Track == DrumTrack; }
    bool Top() const { return Track == MelodyTrack; }

    void Write();
    void Prepare();
    void WriteMeasure(const TScoreUnit& unit, const std::vector<TStaffVoice>& voices, int bar,
                      int number, const TScoreUnit* before);
    void WriteAttributes(const TScoreUnit& unit, bool first, bool keyChanges);
    void WriteDirections(const TScoreUnit& unit, int bar, const TScoreUnit* before);
    void WriteOctaveShift(const char* type);
    std::vector<TStaffVoice> StaffVoices(const TScoreUnit& unit) const;
    void WriteVoice(const TScoreUnit& unit, int bar, const TStaffVoice& voice,
                    const std::vector<TSegment>& segments, bool stems);
    void WriteHarmonies(const TScoreUnit& unit, int bar, int from, int to);
    void WriteValue(const TWritten& written, const TStaffVoice& voice, bool stems);
    void WritePitch(int pitch, bool chord, const TWritten& written, const TStaffVoice& voice,
                    bool stems);
};

void TPartWriter::Prepare()
{
    Layout = Score.Layouts[static_cast<std::size_t>(Track)];
    std::vector<std::vector<int>> barPitches;
    for (const TScoreUnit& unit : Score.Units)
    {
        const std::size_t first = barPitches.size();
        barPitches.resize(first + static_cast<std::size_t>(unit.Bars));
        for (const TScoreVoice& voice : unit.Parts[static_cast<std::size_t>(Track)])
            for (const TScoreNote& note : voice.Notes)
            {
                const auto bar = first + static_cast<std::size_t>(note.Start / DivisionsPerBar);
                if (bar < barPitches.size())
                    barPitches[bar].insert(barPitches[bar].end(), note.Pitches.begin(),
                                           note.Pitches.end());
            }
    }
    Ottava = Top() ? OttavaBars(barPitches) : std::vector<bool>(barPitches.size(), false);
}

void TPartWriter::Write()
{
    Prepare();
    int number = 1;
    const TScoreUnit* before = nullptr;
    for (const TScoreUnit& unit : Score.Units)
    {
        const std::vector<TStaffVoice> voices = StaffVoices(unit);
        for (int bar = 0; bar < unit.Bars; ++bar)
            WriteMeasure(unit, voices, bar, number++, bar == 0 ? before : &unit);
        before = &unit;
    }
}

std::vector<TStaffVoice> TPartWriter::StaffVoices(const TScoreUnit& unit) const
{
    // Voices 1 to 4 on the upper staff, 5 to 8 on the lower; each staff is written in
    // every bar by its first voice at least.
    std::vector<TStaffVoice> out;
    const bool always = Top() || Percussion();
    for (int staff = 1; staff <= Layout.Staves; ++staff)
    {
        const int first = staff == 1 ? 1 : 5;
        int number = first;
        for (const TScoreVoice& voice : unit.Parts[static_cast<std::size_t>(Track)])
            if (voice.Staff == staff)
            {
                out.push_back({staff, number, &voice.Notes, always || number == first});
                ++number;
            }
        if (number == first)
            out.push_back({staff, first, nullptr, true});
    }
    return out;
}

void TPartWriter::WriteOctaveShift(const char* type)
{
    Xml.Open("direction placement=\"above\"");
    Xml.Open("direction-type");
    Xml.Empty(std::string("octave-shift type=\"") + type + "\" size=\"8\"");
    Xml.Close("direction-type");
    Xml.Close("direction");
}

void TPartWriter::WriteMeasure(const TScoreUnit& unit, const std::vector<TStaffVoice>& voices,
                               int bar, int number, const TScoreUnit* before)
{
    const bool first = number == 1;
    const bool last = &unit == &Score.Units.back() && bar == unit.Bars - 1;
    Xml.Open("measure number=\"" + std::to_string(number) + "\"");
    if (bar == 0 && !first)
        Xml.Empty("print new-system=\"yes\"");
    const bool keyChanges =
        before != nullptr && (before->Key != unit.Key || before->Minor != unit.Minor);
    if (first || keyChanges)
        WriteAttributes(unit, first, keyChanges);
    if (first && Score.RepeatCount > 1)
    {
        Xml.Open("barline location=\"left\"");
        Xml.Leaf("bar-style", "heavy-light");
        Xml.Empty("repeat direction=\"forward\"");
        Xml.Close("barline");
    }
    if (Top())
        WriteDirections(unit, bar, first ? nullptr : before);
    const auto index = static_cast<std::size_t>(number - 1);
    const bool ottava = index < Ottava.size() && Ottava[index];
    if (ottava && (index == 0 || !Ottava[index - 1]))
        WriteOctaveShift("down");
    // The voices this bar writes, each with its stretches of the bar.
    std::vector<std::pair<const TStaffVoice*, std::vector<TSegment>>> written;
    for (const TStaffVoice& voice : voices)
        if (std::vector<TSegment> segments = BarSegments(voice.Notes, bar);
            voice.Always || !segments.empty())
            written.emplace_back(&voice, std::move(segments));
    for (const auto& [voice, segments] : written)
    {
        if (voice != written.front().first)
        {
            Xml.Open("backup");
            Xml.Leaf("duration", DivisionsPerBar);
            Xml.Close("backup");
        }
        const int staff = voice->Staff;
        const bool stems =
            std::count_if(written.begin(), written.end(),
                          [staff](const auto& v) { return v.first->Staff == staff; }) > 1;
        WriteVoice(unit, bar, *voice, segments, stems);
    }
    if (ottava && (index + 1 >= Ottava.size() || !Ottava[index + 1]))
        WriteOctaveShift("stop");
    if (last && Top() && Score.RepeatCount > 2)
    {
        // Two plays are what a repeat sign says by itself; more are written out.
        Xml.Open("direction placement=\"above\"");
        Xml.Open("direction-type");
        Xml.Leaf("words", std::to_string(Score.RepeatCount) + " veces");
        Xml.Close("direction-type");
        Xml.Close("direction");
    }
    if (last)
    {
        Xml.Open("barline location=\"right\"");
        Xml.Leaf("bar-style", "light-heavy");
        if (Score.RepeatCount > 1)
            Xml.Empty("repeat direction=\"backward\" times=\"" + std::to_string(Score.RepeatCount) +
                      "\"");
        Xml.Close("barline");
    }
    Xml.Close("measure");
}

void TPartWriter::WriteAttributes(const TScoreUnit& unit, bool first, bool keyChanges)
{
    Xml.Open("attributes");
    if (first)
        Xml.Leaf("divisions", DivisionsPerBeat);
    if (!Percussion() && (first || keyChanges))
    {
        Fifths = KeyFifths(unit.Key);
        Minor = unit.Minor;
        Xml.Open("key");
        Xml.Leaf("fifths", Fifths);
        Xml.Leaf("mode", Minor ? "minor" : "major");
        Xml.Close("key");
    }
    if (first)
    {
        Xml.Open("time");
        Xml.Leaf("beats", QuarterNotesPerBar);
        Xml.Leaf("beat-type", 4);
        Xml.Close("time");
        if (Layout.Staves > 1)
            Xml.Leaf("staves", Layout.Staves);
        for (int staff = 0; staff < Layout.Staves; ++staff)
        {
            const TClef& clef = Layout.Clefs[staff];
            Xml.Open(Layout.Staves > 1 ? "clef number=\"" + std::to_string(staff + 1) + "\""
                                       : std::string("clef"));
            Xml.Leaf("sign", clef.Sign);
            if (clef.Line > 0)
                Xml.Leaf("line", clef.Line);
            if (clef.OctaveChange != 0)
                Xml.Leaf("clef-octave-change", clef.OctaveChange);
            Xml.Close("clef");
        }
    }
    Xml.Close("attributes");
}

void TPartWriter::WriteDirections(const TScoreUnit& unit, int bar, const TScoreUnit* before)
{
    if (bar == 0)
    {
        Xml.Open("direction placement=\"above\"");
        Xml.Open("direction-type");
        Xml.Leaf("rehearsal", unit.Name);
        Xml.Close("direction-type");
        Xml.Close("direction");
    }
    if (bar == 0 && (before == nullptr || before->Tempo != unit.Tempo))
    {
        Xml.Open("direction placement=\"above\"");
        Xml.Open("direction-type");
        Xml.Open("metronome");
        Xml.Leaf("beat-unit", "quarter");
        Xml.Leaf("per-minute", unit.Tempo);
        Xml.Close("metronome");
        Xml.Close("direction-type");
        Xml.Empty("sound tempo=\"" + std::to_string(unit.Tempo) + "\"");
        Xml.Close("direction");
    }
}

void TPartWriter::WriteHarmonies(const TScoreUnit& unit, int bar, int from, int to)
{
    for (const TScoreChord& chord : unit.Chords)
    {
        const int at = chord.Start - bar * DivisionsPerBar;
        if (at < from || at >= to)
            continue;
        Xml.Open("harmony");
        Xml.Open("root");
        Xml.Leaf("root-step", std::string(1, chord.Symbol.RootStep));
        if (chord.Symbol.RootAlter != 0)
            Xml.Leaf("root-alter", chord.Symbol.RootAlter);
        Xml.Close("root");
        Xml.Line(std::string("<kind text=\"") + ScoreChordSuffix(chord.Symbol.Kind) + "\">" +
                 MusicXmlKindName(chord.Symbol.Kind) + "</kind>");
        if (at > from)
            Xml.Leaf("offset", at - from);
        Xml.Close("harmony");
    }
}

void TPartWriter::WriteVoice(const TScoreUnit& unit, int bar, const TStaffVoice& voice,
                             const std::vector<TSegment>& segments, bool stems)
{
    const bool chords = Top() && voice.Number == 1;
    if (segments.empty())
    {
        if (chords)
            WriteHarmonies(unit, bar, 0, DivisionsPerBar);
        Xml.Open("note");
        Xml.Empty("rest measure=\"yes\"");
        Xml.Leaf("duration", DivisionsPerBar);
        Xml.Leaf("voice", voice.Number);
        if (Layout.Staves > 1)
            Xml.Leaf("staff", voice.Staff);
        Xml.Close("note");
        return;
    }
    const TBarGrid grid = unit.BarGrid(Track, bar);
    std::vector<TWritten> values;
    for (const TSegment& segment : segments)
    {
        const auto split =
            SplitIntoNoteValues(segment.Start, segment.Length, segment.Note == nullptr, grid);
        int position = segment.Start;
        for (std::size_t i = 0; i < split.size(); ++i)
        {
            values.push_back({&segment, split[i], position, i > 0 || segment.TiedFromBefore,
                              i + 1 < split.size() || segment.TiedToAfter,
                              i == 0 && !segment.TiedFromBefore});
            position += split[i].Length;
        }
    }
    // The triplets of a beat are one group, bracketed where it holds a rest or a quarter.
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        if (!values[i].Value.Triplet || values[i].Position % DivisionsPerBeat != 0)
            continue;
        std::size_t end = i;
        bool bracket = false;
        while (end < values.size() && values[end].Value.Triplet &&
               values[end].Position / DivisionsPerBeat == values[i].Position / DivisionsPerBeat)
        {
            bracket = bracket || values[end].Segment->Note == nullptr ||
                      values[end].Value.Length > TripletStep;
            ++end;
        }
        values[i].Tuplet = "start";
        values[i].Bracket = bracket;
        values[end - 1].Tuplet = end - 1 == i ? nullptr : "stop";
    }
    for (const TWritten& written : values)
    {
        if (chords)
            WriteHarmonies(unit, bar, written.Position, written.Position + written.Value.Length);
        WriteValue(written, voice, stems);
    }
}

void TPartWriter::WriteValue(const TWritten& written, const TStaffVoice& voice, bool stems)
{
    if (written.Segment->Note != nullptr)
    {
        bool chord = false;
        for (const int pitch : written.Segment->Note->Pitches)
        {
            WritePitch(pitch, chord, written, voice, stems);
            chord = true;
        }
        return;
    }
    Xml.Open("note");
    Xml.Empty("rest");
    WritePitch(-1, false, written, voice, stems);
}

/// The note's elements after its pitch (a rest's, for pitch -1) in the schema's order; the
/// caller has opened the note and written its pitch when there is one.
void TPartWriter::WritePitch(int pitch, bool chord, const TWritten& written,
                             const TStaffVoice& voice, bool stems)
{
    const TNoteValue& value = written.Value;
    const bool rest = pitch < 0;
    const TDrumNotation drum = DrumNotation(pitch);
    if (!rest)
    {
        Xml.Open("note");
        if (chord)
            Xml.Empty("chord");
        if (Percussion())
        {
            Xml.Open("unpitched");
            Xml.Leaf("display-step", std::string(1, drum.Step));
            Xml.Leaf("display-octave", drum.Octave);
            Xml.Close("unpitched");
        }
        else
        {
            const TSpelledPitch spelled = SpellPitch(pitch, Fifths, Minor);
            Xml.Open("pitch");
            Xml.Leaf("step", std::string(1, spelled.Step));
            if (spelled.Alter != 0)
                Xml.Leaf("alter", spelled.Alter);
            Xml.Leaf("octave", spelled.Octave);
            Xml.Close("pitch");
        }
    }
    Xml.Leaf("duration", value.Length);
    const bool tieStop = !rest && written.TieStop;
    const bool tieStart = !rest && written.TieStart;
    if (tieStop)
        Xml.Empty("tie type=\"stop\"");
    if (tieStart)
        Xml.Empty("tie type=\"start\"");
    if (Percussion() && !rest)
        Xml.Empty("instrument id=\"P5-I" + std::to_string(pitch + 1) + "\"");
    Xml.Leaf("voice", voice.Number);
    Xml.Leaf("type", value.Type);
    if (value.Dotted)
        Xml.Empty("dot");
    if (value.Triplet)
    {
        Xml.Open("time-modification");
        Xml.Leaf("actual-notes", 3);
        Xml.Leaf("normal-notes", 2);
        Xml.Close("time-modification");
    }
    if (stems && !rest)
        Xml.Leaf("stem", voice.Number == 1 || voice.Number == 5 ? "up" : "down");
    if (Percussion() && !rest && std::string_view(drum.Head) != "normal")
        Xml.Leaf("notehead", drum.Head);
    if (Layout.Staves > 1)
        Xml.Leaf("staff", voice.Staff);
    const char* articulation =
        !rest && written.First ? ArticulationName(written.Segment->Note->Articulation) : nullptr;
    const bool tuplet = written.Tuplet != nullptr && !chord;
    if (tieStop || tieStart || tuplet || articulation != nullptr)
    {
        Xml.Open("notations");
        if (tieStop)
            Xml.Empty("tied type=\"stop\"");
        if (tieStart)
            Xml.Empty("tied type=\"start\"");
        if (tuplet)
            Xml.Empty(std::string("tuplet type=\"") + written.Tuplet + "\"" +
                      (std::string_view(written.Tuplet) == "start"
                           ? std::string(" bracket=\"") + (written.Bracket ? "yes" : "no") + "\""
                           : std::string()));
        if (articulation != nullptr)
        {
            Xml.Open("articulations");
            Xml.Empty(articulation);
            Xml.Close("articulations");
        }
        Xml.Close("notations");
    }
    Xml.Close("note");
}

/// A drum's name in the part list.
std::string DrumName(int key)
{
    const TDrumNotation drum = DrumNotation(key);
    if (drum.Name[0] != '\0')
        return drum.Name;
    std::string name = "Percusión ";
    return name += std::to_string(key);
}

void WritePartList(TXml& xml, const TScore& score, int parts)
{
    xml.Open("part-list");
    for (int t = 0; t < parts; ++t)
    {
        const auto i = static_cast<std::size_t>(t);
        std::string id = "P";
        id += std::to_string(t + 1);
        xml.Open("score-part id=\"" + id + "\"");
        // The instrument the song plays, as its lists name it, the part's role beside it.
        const std::string instrument =
            score.Instruments[i].empty() ? ScorePartName(t) : score.Instruments[i];
        xml.Leaf("part-name", t == DrumTrack
                                  ? std::string(ScorePartName(t)) + " (" + instrument + ")"
                                  : instrument);
        xml.Leaf("part-abbreviation", ScorePartName(t));
        const int program = score.Programs[i] + 1;
        if (t == DrumTrack)
        {
            // A part that strikes nothing still names an instrument for readers to play.
            std::set<int> keys = score.DrumKeys;
            if (keys.empty())
                keys.insert(36);
            for (const int key : keys)
            {
                xml.Open("score-instrument id=\"" + id + "-I" + std::to_string(key + 1) + "\"");
                xml.Leaf("instrument-name", DrumName(key));
                xml.Close("score-instrument");
            }
            for (const int key : keys)
            {
                xml.Open("midi-instrument id=\"" + id + "-I" + std::to_string(key + 1) + "\"");
                xml.Leaf("midi-channel", DrumChannel + 1);
                xml.Leaf("midi-program", program);
                xml.Leaf("midi-unpitched", key + 1);
                xml.Close("midi-instrument");
            }
        }
        else
        {
            xml.Open("score-instrument id=\"" + id + "-I1\"");
            xml.Leaf("instrument-name", instrument);
            xml.Close("score-instrument");
            xml.Open("midi-instrument id=\"" + id + "-I1\"");
            xml.Leaf("midi-channel", TrackChannel(t) + 1);
            xml.Leaf("midi-program", program);
            xml.Close("midi-instrument");
        }
        xml.Close("score-part");
    }
    xml.Close("part-list");
}
} // namespace

const char* ScorePartName(int track)
{
    return track >= 0 && track < TrackCount ? PartName(track) : "";
}

std::string WriteMusicXml(const TScore& score)
{
    TXml xml;
    xml.Line(R"(<?xml version="1.0" encoding="UTF-8" standalone="no"?>)");
    xml.Line(R"(<!DOCTYPE score-partwise PUBLIC "-//Recordare//DTD MusicXML 4.0 Partwise//EN" )"
             R"("http://www.musicxml.org/dtds/partwise.dtd">)");
    xml.Open(R"(score-partwise version="4.0")");
    xml.Open("work");
    xml.Leaf("work-title", score.Title);
    xml.Close("work");
    xml.Open("identification");
    xml.Open("encoding");
    xml.Leaf("software", "Lyravane 1999");
    xml.Close("encoding");
    xml.Close("identification");
    const int parts = score.FullScore ? TrackCount : 1;
    WritePartList(xml, score, parts);
    for (int t = 0; t < parts; ++t)
    {
        xml.Open("part id=\"P" + std::to_string(t + 1) + "\"");
        TPartWriter writer{xml, score, t, 0, false, {}, {}};
        writer.Write();
        xml.Close("part");
    }
    xml.Close("score-partwise");
    return std::move(xml.Text);
}

std::string ScoreTitleFromPath(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

void SaveScoreFile(const TMusicProject& project, const std::string& fileName,
                   const std::string& title, int repeatCount, bool fullScore)
{
    const std::string xml = WriteMusicXml(BuildScore(project, title, repeatCount, fullScore));
    WriteFileAtomically(fileName, ScoreFileBytes(xml, fileName));
}

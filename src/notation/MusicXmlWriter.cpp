#include "notation/MusicXmlWriter.h"

#include "base/FileIO.h"
#include "base/Text.h"
#include "midi/MidiData.h"
#include "model/Muprop.h"
#include "notation/MxlContainer.h"
#include "notation/NoteValues.h"
#include "notation/ScoreBuilder.h"
#include "notation/Spelling.h"
#include "render/TrackNames.h"

#include <algorithm>
#include <array>
#include <numeric>

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

/// Where the drum key is written on the percussion staff, and its note head.
struct TDrumPlace
{
    int Key;
    char Step;
    int Octave;
    const char* Head;
};

constexpr std::array<TDrumPlace, 22> DrumPlaces = {{
    {35, 'E', 4, ""},         {36, 'F', 4, ""},  {37, 'C', 5, "x"},       {38, 'C', 5, ""},
    {39, 'D', 5, "x"},        {40, 'C', 5, ""},  {41, 'G', 4, ""},        {42, 'G', 5, "x"},
    {43, 'A', 4, ""},         {44, 'D', 4, "x"}, {45, 'B', 4, ""},        {46, 'G', 5, "circle-x"},
    {47, 'D', 5, ""},         {48, 'E', 5, ""},  {49, 'A', 5, "x"},       {50, 'F', 5, ""},
    {51, 'F', 5, "x"},        {52, 'A', 5, "x"}, {53, 'F', 5, "diamond"}, {54, 'E', 5, "x"},
    {56, 'E', 5, "triangle"}, {57, 'A', 5, "x"},
}};

TDrumPlace DrumPlace(int key)
{
    for (const TDrumPlace& place : DrumPlaces)
        if (place.Key == key)
            return place;
    return {key, 'C', 5, "x"};
}

/// A stretch of one voice inside one bar: a note's part (tied to what comes before or
/// after it across a bar line) or, without pitches, a rest. Positions in sixteenths of the
/// bar.
struct TSegment
{
    int Start = 0;
    int Length = 0;
    const std::vector<int>* Pitches = nullptr;
    bool TiedFromBefore = false;
    bool TiedToAfter = false;
};

/// Bar `bar` of a voice: its notes cut at the bar lines, the gaps filled with rests.
std::vector<TSegment> BarSegments(const TScoreVoice& voice, int bar)
{
    const int barStart = bar * SixteenthsPerBar;
    const int barEnd = barStart + SixteenthsPerBar;
    std::vector<TSegment> segments;
    int position = barStart;
    for (const TScoreNote& note : voice)
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
        segments.push_back(
            {from - barStart, to - from, &note.Pitches, note.Start<barStart, end> barEnd});
        position = to;
    }
    if (position < barEnd && !segments.empty())
        segments.push_back({position - barStart, barEnd - position});
    return segments;
}

struct TPartWriter
{
    TXml& Xml;
    const TScore& Score;
    int Track;
    int Fifths = 0;
    bool Minor = false;

    bool Percussion() const { return Track == DrumTrack; }
    bool Top() const { return Track == MelodyTrack; }

    void Write();
    void WriteMeasure(const TScoreUnit& unit, int bar, int number, const TScoreUnit* before);
    void WriteAttributes(const TScoreUnit& unit, bool first, bool keyChanges);
    void WriteDirections(const TScoreUnit& unit, int bar, const TScoreUnit* before);
    void WriteVoice(const TScoreUnit& unit, int bar, int voice, int voices);
    void WriteHarmonies(const TScoreUnit& unit, int bar, int from, int to);
    void WriteValue(const TSegment& segment, const TNoteValue& value, bool tieStop, bool tieStart,
                    int voice, int voices);
    void WritePitch(int pitch, bool chord, const TNoteValue& value, bool tieStop, bool tieStart,
                    int voice, int voices);
    const char* Clef() const;
};

const char* TPartWriter::Clef() const
{
    if (Percussion())
        return "percussion";
    // A part that lies mostly below middle C reads in the bass clef.
    long long sum = 0;
    long long count = 0;
    for (const TScoreUnit& unit : Score.Units)
        for (const TScoreVoice& voice : unit.Parts[static_cast<std::size_t>(Track)])
            for (const TScoreNote& note : voice)
            {
                sum = std::accumulate(note.Pitches.begin(), note.Pitches.end(), sum);
                count += static_cast<long long>(note.Pitches.size());
            }
    return count > 0 && sum < 60 * count ? "F" : "G";
}

void TPartWriter::Write()
{
    int number = 1;
    const TScoreUnit* before = nullptr;
    for (const TScoreUnit& unit : Score.Units)
    {
        for (int bar = 0; bar < unit.Bars; ++bar)
            WriteMeasure(unit, bar, number++, bar == 0 ? before : &unit);
        before = &unit;
    }
}

void TPartWriter::WriteMeasure(const TScoreUnit& unit, int bar, int number,
                               const TScoreUnit* before)
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
    const auto& voices = unit.Parts[static_cast<std::size_t>(Track)];
    const int voiceCount = std::max(1, static_cast<int>(voices.size()));
    for (int v = 0; v < voiceCount; ++v)
    {
        if (v > 0)
        {
            Xml.Open("backup");
            Xml.Leaf("duration", SixteenthsPerBar);
            Xml.Close("backup");
        }
        WriteVoice(unit, bar, v, voiceCount);
    }
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
        Xml.Leaf("divisions", SixteenthsPerBeat);
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
        Xml.Open("clef");
        const std::string sign = Clef();
        Xml.Leaf("sign", sign);
        if (sign != "percussion")
            Xml.Leaf("line", sign == "F" ? 4 : 2);
        Xml.Close("clef");
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
        const int at = chord.Start - bar * SixteenthsPerBar;
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

void TPartWriter::WriteVoice(const TScoreUnit& unit, int bar, int voice, int voices)
{
    const auto& parts = unit.Parts[static_cast<std::size_t>(Track)];
    const std::vector<TSegment> segments =
        voice < static_cast<int>(parts.size())
            ? BarSegments(parts[static_cast<std::size_t>(voice)], bar)
            : std::vector<TSegment>{};
    const bool chords = Top() && voice == 0;
    if (segments.empty())
    {
        if (chords)
            WriteHarmonies(unit, bar, 0, SixteenthsPerBar);
        Xml.Open("note");
        Xml.Empty("rest measure=\"yes\"");
        Xml.Leaf("duration", SixteenthsPerBar);
        Xml.Leaf("voice", voice + 1);
        Xml.Close("note");
        return;
    }
    for (const TSegment& segment : segments)
    {
        const bool rest = segment.Pitches == nullptr;
        const auto values = SplitIntoNoteValues(segment.Start, segment.Length, rest);
        int position = segment.Start;
        for (std::size_t i = 0; i < values.size(); ++i)
        {
            if (chords)
                WriteHarmonies(unit, bar, position, position + values[i].Length);
            const bool tieStop = i > 0 || segment.TiedFromBefore;
            const bool tieStart = i + 1 < values.size() || segment.TiedToAfter;
            WriteValue(segment, values[i], tieStop, tieStart, voice, voices);
            position += values[i].Length;
        }
    }
}

void TPartWriter::WriteValue(const TSegment& segment, const TNoteValue& value, bool tieStop,
                             bool tieStart, int voice, int voices)
{
    if (segment.Pitches == nullptr)
    {
        Xml.Open("note");
        Xml.Empty("rest");
        Xml.Leaf("duration", value.Length);
        Xml.Leaf("voice", voice + 1);
        Xml.Leaf("type", value.Type);
        Xml.Close("note");
        return;
    }
    bool chord = false;
    for (const int pitch : *segment.Pitches)
    {
        WritePitch(pitch, chord, value, tieStop, tieStart, voice, voices);
        chord = true;
    }
}

void TPartWriter::WritePitch(int pitch, bool chord, const TNoteValue& value, bool tieStop,
                             bool tieStart, int voice, int voices)
{
    Xml.Open("note");
    if (chord)
        Xml.Empty("chord");
    const TDrumPlace drum = DrumPlace(pitch);
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
    Xml.Leaf("duration", value.Length);
    if (tieStop)
        Xml.Empty("tie type=\"stop\"");
    if (tieStart)
        Xml.Empty("tie type=\"start\"");
    if (Percussion())
        Xml.Empty("instrument id=\"P5-I" + std::to_string(pitch + 1) + "\"");
    Xml.Leaf("voice", voice + 1);
    Xml.Leaf("type", value.Type);
    if (value.Dotted)
        Xml.Empty("dot");
    if (voices > 1)
        Xml.Leaf("stem", voice == 0 ? "up" : "down");
    if (Percussion() && drum.Head[0] != '\0')
        Xml.Leaf("notehead", drum.Head);
    if (tieStop || tieStart)
    {
        Xml.Open("notations");
        if (tieStop)
            Xml.Empty("tied type=\"stop\"");
        if (tieStart)
            Xml.Empty("tied type=\"start\"");
        Xml.Close("notations");
    }
    Xml.Close("note");
}

void WritePartList(TXml& xml, const TScore& score, int parts)
{
    xml.Open("part-list");
    for (int t = 0; t < parts; ++t)
    {
        std::string id = "P";
        id += std::to_string(t + 1);
        std::string tag = "score-part id=\"";
        tag += id;
        tag += '"';
        xml.Open(tag);
        xml.Leaf("part-name", ScorePartName(t));
        const int program = score.Programs[static_cast<std::size_t>(t)] + 1;
        if (t == DrumTrack)
        {
            for (const int key : score.DrumKeys)
            {
                const std::string instrument = id + "-I" + std::to_string(key + 1);
                xml.Open("score-instrument id=\"" + instrument + "\"");
                xml.Leaf("instrument-name", "GM " + std::to_string(key));
                xml.Close("score-instrument");
            }
            for (const int key : score.DrumKeys)
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
            xml.Leaf("instrument-name", ScorePartName(t));
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
        TPartWriter writer{xml, score, t};
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

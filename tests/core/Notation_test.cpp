#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicFunctions.h"
#include "model/MusicProject.h"
#include "notation/Engraving.h"
#include "notation/MusicXmlWriter.h"
#include "notation/MxlContainer.h"
#include "notation/NoteValues.h"
#include "notation/ScoreBuilder.h"
#include "notation/Spelling.h"
#include "render/TrackNames.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace
{
/// Sharps or flats the signature gives a letter.
int SignatureAlter(int fifths, char letter)
{
    const std::string sharps = "FCGDAEB";
    const std::string flats = "BEADGCF";
    if (fifths > 0)
        return static_cast<int>(sharps.find(letter)) < fifths ? 1 : 0;
    return static_cast<int>(flats.find(letter)) < -fifths ? -1 : 0;
}

int Semitones(const TSpelledPitch& p)
{
    static const int natural[] = {9, 11, 0, 2, 4, 5, 7}; // A..G
    return 12 * (p.Octave + 1) + natural[p.Step - 'A'] + p.Alter;
}

int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

/// A song of one property set (key, minor) and `units` units of chord I with no notes.
std::unique_ptr<TMusicProject> EmptySong(int units, int key = 0, bool minor = false)
{
    auto song = std::make_unique<TMusicProject>();
    song->Items.Clear();
    auto property = std::make_unique<TMuprop>();
    property->Key = key;
    property->Scale = minor ? 1 : 0;
    song->Items.Add(std::move(property));
    for (int i = 0; i < units; ++i)
    {
        auto unit = std::make_unique<TMunit>(4, 4);
        for (int bar = 0; bar < 4; ++bar)
        {
            unit->SetChordRun(bar, 0, 1);
            unit->SetBarRhythm(bar, "........");
        }
        song->Items.Add(std::move(unit));
    }
    song->AttachProperties();
    return song;
}
} // namespace

// Every major and minor key: the signature, the tonic's name, each scale note on its own
// letter with the signature's sign, and in minor the raised seventh a sharp (or natural).
TEST(NotationSpelling, AllTwentyFourKeys)
{
    const int expected[12] = {0, -5, 2, -3, 4, -1, -6, 1, -4, 3, -2, 5};
    const char* majorNames[12] = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};
    const char* minorNames[12] = {"Am",  "Bbm", "Bm", "Cm",  "C#m", "Dm",
                                  "Ebm", "Em",  "Fm", "F#m", "Gm",  "G#m"};
    for (int key = 0; key < 12; ++key)
    {
        const int fifths = KeyFifths(key);
        EXPECT_EQ(fifths, expected[key]) << key;
        EXPECT_EQ(KeyFifths(key + 24), fifths);
        EXPECT_EQ(KeyName(key, false), majorNames[key]);
        EXPECT_EQ(KeyName(key, true), minorNames[key]);
        for (const bool minor : {false, true})
        {
            std::set<char> letters;
            for (const int step : {0, 2, 4, 5, 7, 9, 11})
            {
                const int pitch = 60 + key + step;
                const TSpelledPitch p = SpellPitch(pitch, fifths, minor);
                letters.insert(p.Step);
                EXPECT_EQ(p.Alter, SignatureAlter(fifths, p.Step)) << key << " " << step;
                EXPECT_EQ(Semitones(p), pitch);
            }
            EXPECT_EQ(letters.size(), 7U) << key;
            if (!minor)
                continue;
            // The leading tone of the relative minor: a semitone under its tonic (key - 3).
            const TSpelledPitch tonic = SpellPitch(60 + key + 9, fifths, true);
            const TSpelledPitch leading = SpellPitch(60 + key + 8, fifths, true);
            EXPECT_EQ((tonic.Step - 'A' + 6) % 7, leading.Step - 'A') << key;
            EXPECT_EQ(leading.Alter, SignatureAlter(fifths, leading.Step) + 1) << key;
        }
    }
    // Every pitch of the keyboard keeps its sound and takes one sign at most.
    for (int fifths = -6; fifths <= 5; ++fifths)
        for (int pitch = 0; pitch < 128; ++pitch)
        {
            const TSpelledPitch p = SpellPitch(pitch, fifths, false);
            EXPECT_EQ(Semitones(p), pitch);
            EXPECT_LE(std::abs(p.Alter), 1);
            EXPECT_EQ(Semitones(SpellPitch(pitch, fifths, true)), pitch);
        }
    EXPECT_EQ(SpellPitch(66, 1, false).Step, 'F');  // F sharp in G major
    EXPECT_EQ(SpellPitch(70, -1, false).Alter, -1); // B flat in F major
    EXPECT_EQ(SpellPitch(60, 4, true).Octave, 3);   // B sharp 3, C sharp minor's seventh
    EXPECT_EQ(SpellPitch(67, 5, true).Alter, 2);    // F double sharp in G sharp minor
    EXPECT_EQ(SpellPitch(62, -6, false).Step, 'D'); // D natural in G flat major
}

// The symbol names the chord the backing patterns sound: the pattern's C, E, G and (in the
// seventh bars) B moved onto the degree give exactly the kind's intervals over its root.
TEST(NotationSpelling, ChordKindsMatchThePatternNotes)
{
    const int kindIntervals[7][4] = {{0, 4, 7, -1}, {0, 3, 7, -1}, {0, 3, 6, -1}, {0, 4, 7, 11},
                                     {0, 3, 7, 10}, {0, 4, 7, 10}, {0, 3, 6, 10}};
    for (int scale = 0; scale < 2; ++scale)
        for (int degree = 1; degree <= 6; ++degree)
            for (const bool use7th : {false, true})
            {
                const TChordSymbol chord = ScoreChordSymbol(degree, 0, scale, use7th);
                const int root = PitchClass(ChordRootOffset(degree, scale));
                const int* intervals = kindIntervals[static_cast<int>(chord.Kind)];
                int i = 0;
                for (const int note : {0, 4, 7, 11})
                {
                    if (note == 11 && !use7th)
                        break;
                    EXPECT_EQ(PitchClass(PatternNoteForChord(degree, scale, note) - root),
                              intervals[i++])
                        << "scale " << scale << " degree " << degree;
                }
            }
    const auto name = [](int degree, int key, int scale, bool seventh)
    { return ScoreChordName(ScoreChordSymbol(degree, key, scale, seventh)); };
    EXPECT_EQ(name(1, 0, 0, false) + name(2, 0, 0, false) + name(5, 0, 0, false), "CDmG");
    EXPECT_EQ(name(1, 0, 0, true) + name(5, 0, 0, true) + name(6, 0, 0, true), "Cmaj7G7Am7");
    EXPECT_EQ(name(1, 0, 1, false) + name(2, 0, 1, false) + name(5, 0, 1, false), "AmBdimE");
    EXPECT_EQ(name(2, 0, 1, true) + name(5, 0, 1, true), "Bm7b5E7");
    EXPECT_EQ(name(4, 7, 0, false) + name(5, 5, 0, true), "CC7");   // IV of G, V of F
    EXPECT_EQ(name(4, 5, 0, false) + name(5, 6, 1, false), "BbBb"); // IV of F, V of E flat minor
    EXPECT_EQ(name(5, 9, 1, false), "C#");                          // V of F sharp minor
}

// The bar editor's chord tips use these symbols: in every key the root is the pitch the
// accompaniment plays for the chord.
TEST(NotationSpelling, ChordRootsAreTheRenderedRootsInEveryKey)
{
    const int stepClass[7] = {0, 2, 4, 5, 7, 9, 11};
    for (int key = -12; key <= 12; ++key)
        for (int scale = 0; scale < 2; ++scale)
            for (int degree = 1; degree <= 6; ++degree)
            {
                const TChordSymbol chord = ScoreChordSymbol(degree, key, scale, false);
                const auto letter = std::string_view("CDEFGAB").find(chord.RootStep);
                ASSERT_NE(letter, std::string_view::npos);
                EXPECT_EQ(PitchClass(stepClass[letter] + chord.RootAlter),
                          PitchClass(key + PatternNoteForChord(degree, scale, 0)))
                    << "key " << key << " scale " << scale << " degree " << degree;
            }
}

// Values keep the beats visible and always add up; rests take no dots; a triplet beat takes
// triplet values; the lead sheet's syncopation is a quarter. Lengths in sixteenths (6
// divisions) unless the grid says otherwise.
TEST(NotationValues, SplitAtBeatsAndHalfBar)
{
    constexpr int S = SixteenthStep;
    const TBarGrid swung = {TripletStep, SixteenthStep, TripletStep, ThirtySecondStep};
    const auto lengths = [](int start, int length, bool rest, const TBarGrid& grid = StraightBar)
    {
        std::vector<int> out;
        for (const TNoteValue& v : SplitIntoNoteValues(start, length, rest, grid))
            out.push_back(v.Length);
        return out;
    };
    EXPECT_EQ(lengths(0, 16 * S, false), (std::vector<int>{16 * S}));
    EXPECT_EQ(lengths(0, 12 * S, false), (std::vector<int>{12 * S}));
    EXPECT_EQ(lengths(0, 12 * S, true), (std::vector<int>{8 * S, 4 * S}));
    EXPECT_EQ(lengths(4 * S, 8 * S, false),
              (std::vector<int>{4 * S, 4 * S})); // not across the middle
    EXPECT_EQ(lengths(8 * S, 8 * S, false), (std::vector<int>{8 * S}));
    EXPECT_EQ(lengths(2 * S, 4 * S, false), (std::vector<int>{4 * S})); // the "and" of 1: a quarter
    EXPECT_EQ(lengths(6 * S, 4 * S, false), (std::vector<int>{2 * S, 2 * S})); // of 2: tied
    EXPECT_EQ(lengths(0, 7 * S, false), (std::vector<int>{6 * S, S}));
    EXPECT_EQ(lengths(6 * S, 10 * S, false), (std::vector<int>{2 * S, 8 * S}));
    EXPECT_EQ(lengths(S, 15 * S, true), (std::vector<int>{S, 2 * S, 4 * S, 8 * S}));
    EXPECT_EQ(lengths(S, 3 * S, true), (std::vector<int>{S, 2 * S}));
    EXPECT_EQ(lengths(S, 3 * S, false), (std::vector<int>{3 * S}));
    EXPECT_EQ(lengths(0, 16, false, swung), (std::vector<int>{16}));     // triplet quarter
    EXPECT_EQ(lengths(8, 40, false, swung), (std::vector<int>{16, 24})); // tied into beat 2
    EXPECT_EQ(lengths(16, 8, true, swung), (std::vector<int>{8}));
    EXPECT_EQ(lengths(0, 48, false, swung), (std::vector<int>{48})); // covers the beats
    EXPECT_EQ(lengths(75, 9, false, swung), (std::vector<int>{9}));  // dotted 32nd grid
    for (const TBarGrid& grid : {StraightBar, swung})
        for (int start = 0; start < DivisionsPerBar; start += 3)
            for (int length = 3; start + length <= DivisionsPerBar; length += 3)
                for (const bool rest : {false, true})
                {
                    const auto onGrid = [&grid](int at)
                    {
                        const int beat = std::min(at / DivisionsPerBeat, 3);
                        return at % DivisionsPerBeat % grid[static_cast<std::size_t>(beat)] == 0;
                    };
                    if (!onGrid(start) || !onGrid(start + length))
                        continue;
                    int position = start;
                    for (const TNoteValue& v : SplitIntoNoteValues(start, length, rest, grid))
                    {
                        const int beat = position / DivisionsPerBeat;
                        const bool triplet = IsTripletStep(grid[static_cast<std::size_t>(beat)]);
                        EXPECT_FALSE(rest && v.Dotted);
                        // Triplet values stay in a triplet beat; a plain value there covers it.
                        if (v.Triplet)
                        {
                            EXPECT_TRUE(triplet && position + v.Length <= (beat + 1) * 24);
                        }
                        else if (triplet)
                        {
                            EXPECT_TRUE(position % 24 == 0 && v.Length >= 24);
                        }
                        if (position != 0 && position < 48 && !(position == 12 && v.Length == 24))
                        {
                            EXPECT_LE(position + v.Length, 48) << start << "+" << length;
                        }
                        position += v.Length;
                    }
                    EXPECT_EQ(position, start + length);
                }
}

// A note held over the bar line is tied, rests fill the bars, and a song played three times
// is written once between repeat bar lines.
TEST(NotationScore, TiesRestsAndRepeats)
{
    auto song = EmptySong(2, 7);
    TMunit& unit = *song->UnitAt(1);
    unit.SetBarRhythm(0, "...*----");
    unit.SetBarRhythm(1, "--.*....");
    unit.SetMelody(0, 3, 11); // F sharp, the seventh of G
    unit.SetMelody(1, 3, 4);
    TScore score = BuildScore(*song, "Canción & <otra>", 3, false);
    ASSERT_EQ(score.Units.size(), 2U);
    ASSERT_EQ(score.Units[0].Parts[MelodyTrack].size(), 1U);
    std::vector<TScoreNote>& melody = score.Units[0].Parts[MelodyTrack][0].Notes;
    ASSERT_EQ(melody.size(), 2U);
    EXPECT_EQ(melody[0].Start, 36);
    EXPECT_EQ(melody[0].Length, 60); // a melody note ends with its bar, as it sounds
    EXPECT_EQ(melody[0].Pitches, std::vector<int>{60 + 7 + 11});
    const std::string inBar = WriteMusicXml(score);
    EXPECT_EQ(Count(inBar, "<tie type=\"start\"/>"), 1); // the 8th tied to the half on beat 3
    EXPECT_EQ(Count(inBar, "<tied type=\"stop\"/>"), 1);

    melody[0].Length = 84; // held over the bar line, to the rest on beat 2
    const std::string xml = WriteMusicXml(score);
    EXPECT_NE(xml.find("<work-title>Canción &amp; &lt;otra&gt;</work-title>"), std::string::npos);
    // A name that is not UTF-8, or holds what XML forbids, still makes a well-formed file.
    for (const auto& [title, written] : std::vector<std::pair<std::string, std::string>>{
             {"caf\xE9", "caf\uFFFD"},
             {"a\xEF\xBF\xBF"
              "b\xEF\xBF\xBE",
              "a\uFFFDb\uFFFD"},
             {"\xED\xA0\x80x\x01", "\uFFFD\uFFFD\uFFFDx"}})
    {
        score.Title = title;
        EXPECT_NE(WriteMusicXml(score).find("<work-title>" + written + "</work-title>"),
                  std::string::npos)
            << title;
    }
    EXPECT_EQ(Count(xml, "<tie type=\"start\"/>"), 2);
    EXPECT_EQ(Count(xml, "<tie type=\"stop\"/>"), 2);
    EXPECT_EQ(Count(xml, "<step>F</step>\n          <alter>1</alter>"), 3);
    EXPECT_EQ(Count(xml, "<fifths>1</fifths>"), 1);
    EXPECT_EQ(Count(xml, "<measure number="), 8);
    EXPECT_EQ(Count(xml, "<rest measure=\"yes\"/>"), 6);
    EXPECT_EQ(Count(xml, "<repeat direction=\"forward\"/>"), 1);
    EXPECT_EQ(Count(xml, "<repeat direction=\"backward\" times=\"3\"/>"), 1);
    EXPECT_EQ(Count(xml, "<words>3 veces</words>"), 1);
    EXPECT_EQ(Count(xml, "<print new-system=\"yes\"/>"), 1);
    EXPECT_EQ(
        Count(xml, "<rehearsal>Ptn.1</rehearsal>") + Count(xml, "<rehearsal>Ptn.2</rehearsal>"), 2);
    // One chord symbol per unit (chord I throughout), G major.
    EXPECT_EQ(Count(xml, "<root-step>G</root-step>"), 2);
    // Bar 1: rest, rest, then the note from the second eighth of beat 2, tied on.
    const auto bar =
        xml.substr(xml.find("<measure number=\"1\""),
                   xml.find("<measure number=\"2\"") - xml.find("<measure number=\"1\""));
    EXPECT_EQ(Count(bar, "<rest/>"), 2);
    EXPECT_EQ(Count(bar, "<type>half</type>"), 1);

    const std::string once = WriteMusicXml(BuildScore(*song, "x", 1, false));
    EXPECT_EQ(Count(once, "<repeat "), 0);
    const std::string twice = WriteMusicXml(BuildScore(*song, "x", 2, false));
    EXPECT_EQ(Count(twice, "times=\"2\""), 1);
    EXPECT_EQ(Count(twice, "<words>"), 0);
}

// The harmony voice is the melody part's second voice; a full score has five parts with the
// drums on a percussion staff (no patterns are loaded here, so they rest).
TEST(NotationScore, HarmonyVoiceAndFullScore)
{
    auto song = EmptySong(1, 0, true);
    TMunit& unit = *song->UnitAt(1);
    unit.SetHarmonyVoice(1);
    unit.SetBarRhythm(0, "*-*-*-*-");
    const TScore score = BuildScore(*song, "t", 1, true);
    const auto& voices = score.Units[0].Parts[MelodyTrack];
    ASSERT_EQ(voices.size(), 2U);
    EXPECT_EQ(voices[1].Notes.size(), 4U);
    const std::string xml = WriteMusicXml(score);
    EXPECT_EQ(Count(xml, "<score-part id="), 5);
    EXPECT_EQ(Count(xml, "<sign>percussion</sign>"), 1);
    EXPECT_EQ(Count(xml, "<mode>minor</mode>"), 4); // not on the percussion staff
    EXPECT_EQ(Count(xml, "<backup>"), 4);
    EXPECT_EQ(Count(xml, "<stem>down</stem>"), 4);
    // Parts are named by the instrument the song plays, the role as the abbreviation.
    EXPECT_NE(xml.find("<part-name>" + InstrumentName(*song->PropertyAt(0), MelodyTrack) +
                       "</part-name>\n      <part-abbreviation>Melodía</part-abbreviation>"),
              std::string::npos);
    EXPECT_NE(xml.find("<part-name>Batería (STANDARD)</part-name>"), std::string::npos);
    EXPECT_NE(xml.find("<root-step>A</root-step>"), std::string::npos);
}

// The .mxl container: a zip a reader can walk, the mimetype stored first, the score deflated
// and inflating back to the text, with the known CRC of a known text.
TEST(NotationMxl, ZipLayoutAndDeflatedScore)
{
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926U);
    std::string xml = "<score-partwise>";
    for (int i = 0; i < 200; ++i)
        xml += "<measure number=\"" + std::to_string(i) + "\"/>";
    xml += "</score-partwise>";
    const std::string zip = ScoreFileBytes(xml, "/tmp/Song.MXL");
    EXPECT_EQ(ScoreFileBytes(xml, "a.musicxml"), xml);
    ASSERT_GT(zip.size(), 22U);
    EXPECT_LT(zip.size(), xml.size() / 2);
    EXPECT_EQ(zip.substr(0, 4), std::string("PK\x03\x04", 4));
    EXPECT_EQ(zip[8], 0); // mimetype stored
    EXPECT_EQ(zip.substr(30, 8), "mimetype");
    EXPECT_EQ(zip.substr(38, 34), "application/vnd.recordare.musicxml");
    EXPECT_NE(zip.find("META-INF/container.xml"), std::string::npos);
    EXPECT_EQ(zip.substr(zip.size() - 22, 4), std::string("PK\x05\x06", 4));
    EXPECT_EQ(static_cast<unsigned char>(zip[zip.size() - 22 + 10]), 3); // entries

    // The last local entry is the score: walk to it and inflate it.
    const std::size_t at = zip.rfind(std::string("PK\x03\x04", 4));
    const auto byte = [&](std::size_t i)
    { return static_cast<std::uint32_t>(static_cast<std::uint8_t>(zip[i])); };
    const auto u16 = [&](std::size_t i) { return byte(i) | byte(i + 1) << 8; };
    const auto u32 = [&](std::size_t i) { return u16(i) | u16(i + 2) << 16; };
    EXPECT_EQ(u16(at + 8), 8); // deflated
    EXPECT_EQ(zip.substr(at + 30, u16(at + 26)), "score.musicxml");
    EXPECT_EQ(u32(at + 14), Crc32(xml));
    ASSERT_EQ(u32(at + 22), xml.size());
    std::string inflated(xml.size(), '\0');
    z_stream stream{};
    ASSERT_EQ(inflateInit2(&stream, -MAX_WBITS), Z_OK);
    const std::size_t data = at + 30 + u16(at + 26) + u16(at + 28);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(&zip[data]));
    stream.avail_in = u32(at + 18);
    stream.next_out = reinterpret_cast<Bytef*>(inflated.data());
    stream.avail_out = static_cast<uInt>(inflated.size());
    EXPECT_EQ(inflate(&stream, Z_FINISH), Z_STREAM_END);
    inflateEnd(&stream);
    EXPECT_EQ(inflated, xml);
}

// Named tracks: a name event first in every track, nothing else changed.
TEST(NotationTrackNames, NameEveryTrackFirst)
{
    TMuprop property;
    property.GetTrack(DrumTrack).Instrument = 1;
    EXPECT_EQ(ExportTrackName(property, MelodyTrack), "Melodía: Oboe");
    EXPECT_EQ(ExportTrackName(property, DrumTrack), "Batería: ROOM");
    TMidiData midi;
    property.EmitTrackSetup(midi, 0, nullptr);
    const std::string plain = midi.SaveToString();
    AddTrackNames(midi, property);
    for (int t = 0; t < TrackCount; ++t)
    {
        const auto& first = *midi.GetTrack(t)->Items().front();
        EXPECT_EQ(first.Data[0], 0xFF);
        EXPECT_EQ(first.Data[1], 0x03);
        EXPECT_EQ(std::string(first.Data.begin() + 2, first.Data.end()),
                  ExportTrackName(property, t));
    }
    EXPECT_GT(midi.SaveToString().size(), plain.size());
}

// The engraver's choices: the grid a beat's onsets fit, the value and articulation of a
// detached note, the bars under an 8va mark, the staves of a part, the drum map.
TEST(NotationEngraving, GridValuesOctavesStavesAndDrums)
{
    // Onsets in ticks at 384 per beat; a strum lands a few ticks late.
    const std::vector<std::pair<std::vector<int>, int>> beats = {
        {{0, 192}, SixteenthStep},
        {{0, 96, 288}, SixteenthStep},
        {{0, 256}, TripletStep},
        {{0, 131, 262}, TripletStep},
        {{0, 48, 96, 144}, ThirtySecondStep},
        {{0, 320}, SixteenthTripletStep},
        {{}, SixteenthStep},
        {{5, 11}, SixteenthStep}};
    for (const auto& [offsets, step] : beats)
        EXPECT_EQ(BeatStep(offsets, 384), step) << offsets.size();

    struct Case
    {
        double Played;
        int Start;
        int Room;
        int Step;
        int Length;
        TArticulation Articulation;
    };
    const std::vector<Case> cases = {
        {11.5, 0, 12, SixteenthStep, 12, TArticulation::None},     // legato eighth
        {7.2, 12, 12, SixteenthStep, 12, TArticulation::Staccato}, // short eighth
        {7.2, 12, 24, SixteenthStep, 12, TArticulation::Staccato}, // not tied over the beat
        {18, 0, 24, SixteenthStep, 24, TArticulation::Staccato},   // accented quarter
        {2, 6, 6, SixteenthStep, 6, TArticulation::Staccatissimo}, // a stab in a run
        {5, 0, 12, SixteenthStep, 12, TArticulation::Staccato},    // a bass's short eighth
        {6, 0, 48, SixteenthStep, 6, TArticulation::None},         // a sixteenth, then rests
        {24, 0, 48, SixteenthStep, 24, TArticulation::None},       // quarter, then a rest
        {35, 0, 96, SixteenthStep, 36, TArticulation::None},       // dotted quarter
        {82, 0, 96, SixteenthStep, 84, TArticulation::None},       // to its end, then a rest
        {30, 0, 24, SixteenthStep, 24, TArticulation::None},       // never past the room
        {14, 0, 16, TripletStep, 16, TArticulation::None},         // triplet quarter
        {5, 16, 8, TripletStep, 8, TArticulation::Staccato},       // short triplet eighth
        {4, 8, 24, TripletStep, 8, TArticulation::Staccato},       // the boogie's offbeat
    };
    for (const Case& c : cases)
    {
        const TWrittenLength written = WrittenLength(c.Played, c.Start, c.Room, c.Step);
        EXPECT_EQ(written.Length, c.Length) << c.Played;
        EXPECT_EQ(written.Articulation, c.Articulation) << c.Played;
    }

    // Two high bars, a low one, one high bar alone, an empty bar inside a high run.
    const std::vector<int> high = {84, 86, 88, 91};
    EXPECT_EQ(OttavaBars({high, high, {60, 64}, high, {62}}),
              (std::vector<bool>{true, true, false, false, false}));
    EXPECT_EQ(OttavaBars({high, {}, high, {}}), (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(OttavaBars({{72, 76}, {72, 79}}), (std::vector<bool>{false, false}));

    const auto clefs = [](TPartRole role, int program, int lowest, int highest)
    {
        const TStaffLayout layout = ChooseStaves(role, program, lowest, highest);
        std::string out;
        for (int i = 0; i < layout.Staves; ++i)
            out += std::string(layout.Clefs[i].Sign) + std::to_string(layout.Clefs[i].OctaveChange);
        return out;
    };
    EXPECT_EQ(clefs(TPartRole::Bass, 33, 28, 50), "F-1");
    EXPECT_EQ(clefs(TPartRole::Backing, 25, 40, 64), "G-1"); // a guitar
    EXPECT_EQ(clefs(TPartRole::Backing, 0, 57, 79), "G0");
    EXPECT_EQ(clefs(TPartRole::Backing, 0, 40, 64), "F0");
    EXPECT_EQ(clefs(TPartRole::Backing, 0, 46, 72), "G0F0"); // B flat 2 to C5: both hands
    EXPECT_EQ(clefs(TPartRole::Drums, 0, 35, 81), "percussion0");

    std::set<std::string> places;
    for (int key = 35; key <= 81; ++key)
    {
        const TDrumNotation drum = DrumNotation(key);
        EXPECT_NE(std::string(drum.Name), "") << key;
        EXPECT_TRUE(places.insert(drum.Step + std::to_string(drum.Octave) + drum.Head).second)
            << key << " shares its place and head";
    }
    EXPECT_EQ(std::string(DrumNotation(63).Name), "Conga abierta");
    EXPECT_EQ(std::string(DrumNotation(42).Head), "x");
}

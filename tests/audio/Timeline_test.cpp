#include "audio/Timeline.h"
#include "midi/MidiData.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace
{
constexpr double Rate = 44100;
constexpr std::int32_t Bar = 1536;

bool IsOn(const TTimedMessage& m)
{
    return (m.Data[0] & 0xF0) == 0x90 && m.Data[2] > 0;
}
bool IsOff(const TTimedMessage& m)
{
    return (m.Data[0] & 0xF0) == 0x80 || ((m.Data[0] & 0xF0) == 0x90 && m.Data[2] == 0);
}

/// A one-bar loop at 240 bpm (one second a bar) after a lead-in bar at 120: a note on the
/// first beat, the same key struck again on the second beat while the first still sounds,
/// and a note held across the end of the bar.
TMidiData LoopSong()
{
    TMidiData midi;
    midi.SetTrackCount(2);
    midi.AddGMSystemOn(0, 0);
    midi.AddTempo(0, 0, 120);
    midi.AddTempo(0, Bar, 240);
    midi.AddProgramChange(1, Bar, 0, 1);
    midi.AddNote(1, Bar, 384, 0, 60, 100);
    midi.AddNote(1, Bar + 384, 384, 0, 60, 100);
    midi.AddNote(1, Bar + 3 * 384, 768, 0, 67, 100);
    return midi;
}

/// Plays the messages in order and fails on a note struck while it already sounds or
/// released while silent; returns how many notes still sound at the end.
int CheckNotePairs(const std::vector<TTimedMessage>& messages)
{
    std::map<std::pair<int, int>, int> sounding;
    for (const TTimedMessage& m : messages)
    {
        const std::pair<int, int> key(m.Data[0] & 0x0F, m.Data[1]);
        if (IsOn(m))
        {
            EXPECT_EQ(sounding[key]++, 0) << "note " << key.second << " doubled at " << m.Frame;
        }
        else if (IsOff(m))
        {
            EXPECT_EQ(sounding[key]--, 1) << "note " << key.second << " released twice";
        }
    }
    int left = 0;
    for (const auto& [key, count] : sounding)
        left += count;
    return left;
}
} // namespace

TEST(TimelineTest, LaysTheSequenceOutThroughItsTempoChanges)
{
    const TMidiData midi = LoopSong();
    const TTimeline whole(midi, Rate);
    // The lead-in bar at 120 bpm lasts 2 s, a bar at 240 bpm 1 s; the held note ends 3/4
    // of a bar after the second bar starts.
    EXPECT_EQ(whole.FrameAt(Bar), 88200u);
    EXPECT_EQ(whole.FrameAt(2 * Bar), 88200u + 44100u);
    EXPECT_EQ(whole.ToTick(), 2 * Bar + 384);
    EXPECT_EQ(whole.Frames(), 88200u + 44100u + 11025u);
    EXPECT_EQ(whole.TickAt(88200 + 22050), Bar + 768);
    EXPECT_EQ(whole.TickAt(0), 0);
    EXPECT_EQ(whole.TickAt(10'000'000), whole.ToTick()) << "clamped to the end";
    // Meta events are not sent; the sysex is, first.
    ASSERT_FALSE(whole.Messages().empty());
    EXPECT_EQ(whole.Messages().front().Data[0], 0xF0);
    for (const TTimedMessage& m : whole.Messages())
        EXPECT_NE(m.Data[0], 0xFF);
    EXPECT_EQ(CheckNotePairs(whole.Messages()), 0);
}

TEST(TimelineTest, ReleasesComeBeforeStrikesOfTheirTickButAfterNotesOfNoLength)
{
    TMidiData midi;
    midi.SetTrackCount(1);
    midi.AddNote(0, 0, 384, 0, 60, 100);
    midi.AddNote(0, 384, 384, 0, 60, 100); // struck again as the first ends
    midi.AddNote(0, 384, 0, 0, 62, 100);   // a note of no length
    const TTimeline timeline(midi, Rate);
    std::vector<std::string> order;
    for (const TTimedMessage& m : timeline.Messages())
        if (m.Tick == 384)
            order.push_back((IsOn(m) ? "on " : "off ") + std::to_string(m.Data[1]));
    EXPECT_EQ(order, (std::vector<std::string>{"off 60", "on 60", "on 62", "off 62"}));
    EXPECT_EQ(CheckNotePairs(timeline.Messages()), 0);
}

TEST(TimelineTest, TwoPassesOfALoopJoinWithoutGapOrDoubledNote)
{
    const TMidiData midi = LoopSong();
    const TTimeline first(midi, Rate, 0, 2 * Bar);
    const TTimeline pass(midi, Rate, Bar, 2 * Bar);
    // The held note is released exactly at the loop point, in both kinds of pass.
    for (const TTimeline* t : {&first, &pass})
    {
        ASSERT_FALSE(t->Messages().empty());
        const TTimedMessage& last = t->Messages().back();
        EXPECT_TRUE(IsOff(last));
        EXPECT_EQ(last.Data[1], 67);
        EXPECT_EQ(last.Frame, t->Frames());
    }
    EXPECT_EQ(first.Frames(), 88200u + 44100u);
    EXPECT_EQ(pass.Frames(), 44100u);
    EXPECT_EQ(pass.FrameAt(Bar), 0u);
    EXPECT_EQ(pass.TickAt(0), Bar);

    // Played one after the other: the second pass starts on the frame the first ends, and
    // its first note falls one bar (44100 frames) after the first pass's first note.
    std::vector<TTimedMessage> joined = first.Messages();
    for (TTimedMessage m : pass.Messages())
    {
        m.Frame += first.Frames();
        joined.push_back(std::move(m));
    }
    std::vector<std::uint64_t> strikes;
    for (const TTimedMessage& m : joined)
        if (IsOn(m) && m.Data[1] == 60)
            strikes.push_back(m.Frame);
    ASSERT_EQ(strikes.size(), 4u);
    EXPECT_EQ(strikes[2] - strikes[0], 44100u) << "gap at the loop point";
    EXPECT_EQ(CheckNotePairs(joined), 0);

    // The tempo before the stretch holds inside it.
    EXPECT_EQ(pass.FrameAt(Bar + 384), 11025u);
}

TEST(TimelineTest, EmptyAndOddSequencesGiveEmptyTimelines)
{
    const TMidiData empty;
    const TTimeline none(empty, Rate);
    EXPECT_TRUE(none.Messages().empty());
    EXPECT_EQ(none.Frames(), 0u);
    EXPECT_EQ(none.TickAt(100), 0);

    // A stretch past the end, a backwards one, a note never released.
    TMidiData midi;
    midi.SetTrackCount(1);
    midi.AddNote(0, 0, 384, 0, 60, 100);
    midi.GetTrack(0)->Items().back()->Duration = -1;
    const TTimeline unreleased(midi, Rate);
    EXPECT_EQ(unreleased.Messages().size(), 1u);
    const TTimeline clipped(midi, Rate, 0, 192);
    ASSERT_EQ(clipped.Messages().size(), 2u) << "a stretch releases even a note with none";
    EXPECT_EQ(clipped.Messages().back().Tick, 192);
    const TTimeline backwards(midi, Rate, 500, 100);
    EXPECT_TRUE(backwards.Messages().empty());
    EXPECT_EQ(backwards.Frames(), 0u);
}

// The count-in moves the song a bar (at its first tempo) later and reads as its first tick;
// the metronome clicks every beat of the stretch, louder and higher on each bar's first.
TEST(TimelineTest, ClicksCountInABarAndMarkEveryBeat)
{
    const TMidiData midi = LoopSong(); // 120 bpm for a bar, then 240
    const TTimeline plain(midi, Rate);
    for (const bool countIn : {false, true})
    {
        SCOPED_TRACE(countIn ? "count-in" : "metronome alone");
        TTimeline timeline(midi, Rate);
        timeline.AddClicks(countIn, true, 384);
        const std::uint64_t lead = countIn ? 88200 : 0; // four beats at 120
        EXPECT_EQ(timeline.LeadFrames(), lead);
        EXPECT_EQ(timeline.Frames(), plain.Frames() + lead);
        EXPECT_EQ(timeline.TickAt(lead / 2), 0) << "the count-in shows the song's start";
        EXPECT_EQ(timeline.TickAt(lead + 22050), plain.TickAt(22050));
        std::vector<std::pair<std::uint64_t, int>> clicks;
        std::vector<std::uint64_t> song;
        for (const TTimedMessage& m : timeline.Messages())
            if ((m.Data[0] & 0x0F) == ClickChannel && IsOn(m))
                clicks.emplace_back(m.Frame, m.Data[1]);
            else if ((m.Data[0] & 0x0F) != ClickChannel)
                song.push_back(m.Frame);
        ASSERT_EQ(song.size(), plain.Messages().size());
        for (std::size_t i = 0; i < song.size(); ++i)
            EXPECT_EQ(song[i], plain.Messages()[i].Frame + lead);
        // Count-in 4, then 4 beats at 120 and 4 at 240 (the last note ends a beat later: 1).
        const std::size_t counted = countIn ? 4 : 0;
        ASSERT_EQ(clicks.size(), counted + 9);
        for (std::size_t beat = 0; beat < clicks.size(); ++beat)
            EXPECT_EQ(clicks[beat].second, beat % 4 == 0 ? 84 : 77) << beat;
        EXPECT_EQ(clicks[counted].first, lead);
        EXPECT_EQ(clicks[counted + 4].first, lead + 88200) << "the second bar at 120 bpm";
        EXPECT_EQ(clicks[counted + 5].first, lead + 88200 + 11025) << "then beats at 240";
        EXPECT_EQ(CheckNotePairs(timeline.Messages()), 0);
    }
}

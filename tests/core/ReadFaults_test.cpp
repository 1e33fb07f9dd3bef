// Reading files that are not what they should be: a FIFO, a file larger than its kind can
// be, a MIDI file timed in SMPTE frames. Each reader refuses at once, naming the file and
// what was wrong, and never waits for a writer.

#include "SmfBytes.h"
#include "base/Exceptions.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"
#include "model/SongBytes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
class ReadFaultsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Dir = fs::temp_directory_path() / ("lyravane-read-" + std::to_string(::getpid()));
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }
    std::string Path(const std::string& name) const { return (Dir / name).string(); }

    /// The message read raises, or "" when it raises nothing. A read still waiting after
    /// five seconds fails the test; a writer is then opened and closed to set it free.
    static std::string Failure(const std::string& fifo, const std::function<void()>& read)
    {
        auto result = std::async(std::launch::async,
                                 [&read]
                                 {
                                     try
                                     {
                                         read();
                                     }
                                     catch (const ELyravaneError& error)
                                     {
                                         return std::string(error.what());
                                     }
                                     return std::string();
                                 });
        if (result.wait_for(std::chrono::seconds(5)) == std::future_status::timeout)
        {
            ADD_FAILURE() << "the reader waits for a writer of " << fifo;
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
        return result.get();
    }

    fs::path Dir;
};

std::string WriteWhole(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}
} // namespace

TEST_F(ReadFaultsTest, EveryReaderRefusesAFifoAtOnce)
{
    const std::string fifo = Path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string refused = "Cannot open file \"" + fifo + "\". Not a regular file";

    TMusicProject song;
    EXPECT_EQ(Failure(fifo, [&] { song.LoadFromFile(fifo); }), refused);
    TArrangeList index;
    EXPECT_EQ(Failure(fifo, [&] { index.LoadIndex(fifo, Dir.string()); }), refused);
    TMidiData pattern;
    EXPECT_EQ(Failure(fifo, [&] { pattern.LoadFromFile(fifo); }), refused);
}

TEST_F(ReadFaultsTest, AProjectFileIsAtMostAHeaderAndFiftyPropertyRecords)
{
    TMusicProject largest;
    largest.Items.Clear();
    for (int i = 0; i < MaxFileEntries; ++i)
        largest.Items.Add(std::make_unique<TMuprop>());
    const std::string bytes = ToBytes(largest);
    ASSERT_EQ(bytes.size(), MaxProjectFileSize);

    TMusicProject song;
    song.LoadFromFile(WriteWhole(Path("largest.lvp"), bytes));
    EXPECT_EQ(song.Count(), MaxFileEntries);

    const std::string over = WriteWhole(Path("over.lvp"), bytes + '\0');
    try
    {
        song.LoadFromFile(over);
        FAIL() << "a byte beyond the largest song was read";
    }
    catch (const EFOpenError& error)
    {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + over +
                      "\". The file is too large (more than 32400 bytes)");
    }
}

TEST_F(ReadFaultsTest, SmpteTimingIsRefusedAndTicksPerQuarterNoteUpTo32767Read)
{
    const std::string track =
        Chunk(Bytes({0x00, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0}) + EndOfTrack);
    TMidiData midi;
    try
    {
        // 25 frames a second, 40 ticks a frame: the top bit of the division set.
        midi.LoadFromString(Header(1, 1, 0xE728) + track);
        FAIL() << "an SMPTE-timed file was read as ticks per quarter note";
    }
    catch (const EInvalidMidiFile& error)
    {
        EXPECT_EQ(std::string(error.what()), "Invalid MIDI file");
        EXPECT_EQ(error.Cause(), "SMPTE timing is not supported");
    }

    midi.LoadFromString(Header(1, 1, 0x7FFF) + track);
    ASSERT_EQ(midi.GetTrack(0)->Count(), 1);
    EXPECT_EQ(midi.GetTrack(0)->Get(0)->Duration, 480 * 384 / 0x7FFF);
}

TEST_F(ReadFaultsTest, ABrokenPatternOrSongFileNamesItselfInTheCause)
{
    const std::string pattern = WriteWhole(Path("p.mid"), Header(2, 1, 96));
    TMidiData midi;
    try
    {
        midi.LoadFromFile(pattern);
        FAIL();
    }
    catch (const EInvalidMidiFile& error)
    {
        EXPECT_EQ(std::string(error.what()), "Invalid MIDI file");
        EXPECT_EQ(error.Cause(), pattern + ": format 2, not 0 or 1");
    }

    const std::string song = WriteWhole(Path("s.lvp"), std::string(400, 'x'));
    try
    {
        TMusicProject().LoadFromFile(song);
        FAIL();
    }
    catch (const EReadError& error)
    {
        EXPECT_EQ(MessageWithCause(error), "Stream read error (" + song + ": not a song file)");
    }
}

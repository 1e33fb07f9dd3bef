#include "audio/AbstractMediaPlayer.h"
#include "audio/SongPlayer.h"
#include "base/TempDir.h"
#include "midi/MidiData.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
class TSilentPlayer : public TAbstractMediaPlayer
{
public:
    void Close() override {}
    void SetFileName(const std::string&) override {}
    void Open() override {}
    void Play() override {}
    bool Playing() const override { return false; }
};
} // namespace

TEST(SongPlayerTest, TheTemporaryFileLastsAsLongAsTheSongPlayer)
{
    const TTempDir dir;
    TSilentPlayer player;
    const std::string file = dir.TempMidiFile();
    {
        TSongPlayer songPlayer(&player, file);
        songPlayer.Play([](TMidiData& midi) { midi.SetTrackCount(1); });
        EXPECT_TRUE(std::filesystem::exists(file));
    }
    EXPECT_FALSE(std::filesystem::exists(file));
}

#include "MainFormParts.h"
#include "MainFormTestAccess.h"
#include "UiFakes.h"

#include "model/Muprop.h"
#include "model/MusicProject.h"
#include "model/SongBytes.h"
#include "ui/FormMixer.h"
#include "ui/Settings.h"

#include <QAbstractButton>
#include <QAction>
#include <QSlider>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace
{
TFormMixer* OpenMixer(TLyravaneMainForm& form)
{
    Action(form, "Action_MusicMixer")->trigger();
    return form.findChild<TFormMixer*>(QStringLiteral("FormMixer"));
}
} // namespace

// Mute and solo silence channels of what plays and leave the song alone; solo wins over the
// parts not soloed, and the drums' mute is channel 9.
TEST(MixerTest, MuteAndSoloSilenceChannelsNotTheSong)
{
    TFormFixture f;
    TLyravaneMainForm& form = f.Create();
    TFormMixer* mixer = OpenMixer(form);
    ASSERT_NE(mixer, nullptr);
    EXPECT_TRUE(mixer->isVisible());
    const std::string before = SongWithLocksToBytes(Song(form));

    const struct
    {
        std::vector<int> Muted, Soloed;
        std::uint16_t Channels;
    } cases[] = {
        {{}, {}, 0},
        {{DrumTrack}, {}, 1U << DrumChannel},
        {{MelodyTrack, 3}, {}, 0b1001},
        {{}, {BackingTrack1}, static_cast<std::uint16_t>(0b1101 | 1U << DrumChannel)},
        {{BackingTrack1}, {BackingTrack1, DrumTrack}, 0b1111},
    };
    for (const auto& c : cases)
    {
        for (int t = 0; t < TrackCount; ++t)
        {
            const auto i = static_cast<std::size_t>(t);
            mixer->Mutes[i]->setChecked(std::count(c.Muted.begin(), c.Muted.end(), t) != 0);
            mixer->Solos[i]->setChecked(std::count(c.Soloed.begin(), c.Soloed.end(), t) != 0);
        }
        EXPECT_EQ(f.Player.Muted, c.Channels);
    }
    EXPECT_EQ(SongWithLocksToBytes(Song(form)), before) << "mute and solo are not song edits";
    EXPECT_FALSE(Song(form).Modified);
}

// A volume moved in the mixer is a song edit (undone as one), shown on the property page and
// sent to what plays; an undo shows the old value in the mixer.
TEST(MixerTest, AVolumeIsAnUndoableEditHeardAtOnce)
{
    TFormFixture f;
    f.Services.CreatePropertyPage = nullptr;
    TLyravaneMainForm& form = f.Create();
    TFormMixer* mixer = OpenMixer(form);
    const int old = Song(form).PropertyAt(0)->GetTrack(BassTrack).Volume;
    mixer->Volumes[BassTrack]->setValue(old - 30);
    EXPECT_EQ(Song(form).PropertyAt(0)->GetTrack(BassTrack).Volume, old - 30);
    ASSERT_FALSE(f.Player.Controls.empty());
    EXPECT_EQ(f.Player.Controls.back(), (std::array<int, 3>{TrackChannel(BassTrack), 7, old - 30}));
    EXPECT_TRUE(Song(form).Modified);

    Action(form, "Action_EditUndo")->trigger();
    EXPECT_EQ(Song(form).PropertyAt(0)->GetTrack(BassTrack).Volume, old);
    EXPECT_EQ(mixer->Volumes[BassTrack]->value(), old);
    EXPECT_FALSE(Song(form).Modified);
}

// Claqueta and Metrónomo reach the player with each play and are kept in settings.
TEST(MixerTest, CountInAndMetronomeGoWithEachPlayAndAreKept)
{
    TFormFixture f;
    TLyravaneMainForm& form = f.Create();
    Action(form, "Action_MusicCountIn")->setChecked(true);
    Action(form, "Action_MusicPlay")->trigger();
    EXPECT_TRUE(f.Player.Clicks.CountIn);
    EXPECT_FALSE(f.Player.Clicks.Metronome);
    Action(form, "Action_MusicMetronome")->setChecked(true);
    Action(form, "Action_MusicPlay")->trigger();
    EXPECT_TRUE(f.Player.Clicks.Metronome);
    const TClicks kept = ReadClickSettings(f.Services.SettingsPath);
    EXPECT_TRUE(kept.CountIn);
    EXPECT_TRUE(kept.Metronome);
}

// The play cursor, the playing tab's marker and the status bar while the song or a unit
// plays; the loop, "Reproducir desde aquí" and the space bar.
#include "MainFormTestAccess.h"
#include "PlaceholderPages.h"
#include "UiFakes.h"

#include "midi/MidiData.h"
#include "model/Munit.h"
#include "ui/Settings.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace
{
constexpr std::int32_t Bar = 1536;

/// A new song with two units: tabs "Composition", "Ptn.1", "Ptn.2".
TLyravaneMainForm& TwoUnitSong(TFormFixture& f)
{
    TLyravaneMainForm& form = f.Create();
    ResizeSong(form, 3);
    return form;
}

/// Where the bar editor shows the play cursor; -1 (nowhere) before a unit has been shown.
double Cursor(TLyravaneMainForm& form)
{
    const auto* editor = form.findChild<QWidget*>(QStringLiteral("FormMusicMeasures"));
    return editor != nullptr ? static_cast<const TPlaceholderUnitPage*>(editor)->PlayCursor : -1;
}

std::string Status(TLyravaneMainForm& form)
{
    return form.statusBar()->currentMessage().toStdString();
}
} // namespace

class PlayPositionTest : public ::testing::Test
{
protected:
    TFormFixture F;
};

TEST_F(PlayPositionTest, CursorMarkerAndStatusFollowThePlayAndGoAtItsEnd)
{
    TLyravaneMainForm& form = TwoUnitSong(F);
    const std::vector<std::string> plain = F.TabTexts();
    Action(form, "Action_MusicPlay")->trigger();
    // The second unit, halfway through its third bar, 14.5 s into a 24 s song.
    F.Player.At.Tick = 4 * Bar + 2 * Bar + Bar / 2;
    F.Player.At.Seconds = 14.5;
    F.Player.At.TotalSeconds = 24;
    form.Playback().Refresh();
    EXPECT_EQ(F.TabTexts(), (std::vector<std::string>{"Composition", "Ptn.1", "\u25B6 Ptn.2"}));
    EXPECT_EQ(Status(form), "Reproduciendo Ptn.2 \u00B7 comp\u00E1s 3 \u00B7 0:14 / 0:24");
    EXPECT_LT(Cursor(form), 0) << "the tab shown is not the one playing";
    form.TabControl1->setCurrentIndex(2);
    form.Playback().Refresh();
    EXPECT_DOUBLE_EQ(Cursor(form), 2.5);

    // The window follows by itself, at least 20 times a second.
    EXPECT_LE(form.Playback().RefreshMilliseconds(), 50);
    F.Player.At.Tick = 0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return F.TabTexts()[1] == "\u25B6 Ptn.1"; }, 1000));
    EXPECT_EQ(F.TabTexts()[2], "Ptn.2") << "one marker at a time";
    EXPECT_LT(Cursor(form), 0);

    // Parar takes all three away; so does the end of the song.
    Action(form, "Action_MusicStop")->trigger();
    EXPECT_EQ(F.TabTexts(), plain);
    EXPECT_EQ(Status(form), "");
    EXPECT_LT(Cursor(form), 0);
    Action(form, "Action_MusicPlay2")->trigger();
    F.Player.At.Tick = Bar;
    form.Playback().Refresh();
    EXPECT_DOUBLE_EQ(Cursor(form), 1.0);
    F.Player.IsPlaying = false;
    EXPECT_TRUE(QTest::qWaitFor([&] { return F.TabTexts() == plain; }, 1000));
    EXPECT_EQ(Status(form), "");
    EXPECT_LT(Cursor(form), 0);

    // Another play through the same player (a pattern preview) is not followed.
    Action(form, "Action_MusicPlay2")->trigger();
    form.Playback().Refresh();
    ASSERT_NE(F.TabTexts(), plain);
    form.Playback().Player().Play([](TMidiData& midi) { midi.SetTrackCount(1); });
    form.Playback().Refresh();
    EXPECT_EQ(F.TabTexts(), plain);
    EXPECT_TRUE(Action(form, "Action_MusicStop")->isEnabled());
}

TEST_F(PlayPositionTest, RepeatLoopsTheUnitAndRendersEachNextPassAfresh)
{
    TLyravaneMainForm& form = TwoUnitSong(F);
    QAction* loop = Action(form, "Action_MusicLoop");
    EXPECT_TRUE(loop->isCheckable());
    EXPECT_EQ(loop->shortcut(), QKeySequence(Qt::Key_F8));
    form.TabControl1->setCurrentIndex(1);
    Inside(form).IncludeReset = true;
    loop->trigger();
    ASSERT_TRUE(loop->isChecked());
    F.Player.Calls.clear();
    Action(form, "Action_MusicPlay2")->trigger();
    // After the lead-in bar, the unit's four bars over and over.
    ASSERT_FALSE(F.Player.Calls.empty());
    EXPECT_EQ(F.Player.Calls.back(), "PlayLoop:1536-7680");

    // Near the end of a pass the unit is rendered again, once a pass, with its edits.
    F.Player.Calls.clear();
    F.Player.At = {true, 7000, 1536, 7680, 4.1, 4.5, 0};
    form.Playback().Refresh();
    EXPECT_TRUE(F.Player.Calls.empty()) << "not yet";
    const std::string before = F.Player.OpenedBytes;
    TMunit& unit = *Song(form).UnitAt(1);
    unit.SetRhythm(1, 0, unit.GetRhythm(1, 0) == RhythmOnset ? RhythmRest : RhythmOnset);
    unit.SetMelody(1, 0, 7);
    F.Player.At.Seconds = 4.3;
    form.Playback().Refresh();
    form.Playback().Refresh();
    EXPECT_EQ(F.Player.Calls, (std::vector<std::string>{"QueueLoopPass"}));
    EXPECT_NE(F.Player.QueuedBytes, before) << "the edit is in the next pass";
    F.Player.At.Pass = 1;
    F.Player.At.Seconds = 1.0;
    form.Playback().Refresh();
    EXPECT_EQ(F.Player.Calls.size(), 1u);
    F.Player.At.Seconds = 4.4;
    form.Playback().Refresh();
    EXPECT_EQ(F.Player.Calls.size(), 2u);

    // Unchecked: the unit plays once.
    loop->trigger();
    F.Player.Calls.clear();
    Action(form, "Action_MusicPlay2")->trigger();
    EXPECT_EQ(F.Player.Calls.back(), "Play");
}

TEST_F(PlayPositionTest, PlayFromHereStartsAtTheCurrentTabsUnit)
{
    TLyravaneMainForm& form = TwoUnitSong(F);
    EXPECT_EQ(Action(form, "Action_MusicPlayFromHere")->shortcut(),
              QKeySequence(Qt::SHIFT | Qt::Key_F6));
    Action(form, "Action_MusicPlay")->trigger();
    const std::string whole = F.Player.OpenedBytes;
    form.TabControl1->setCurrentIndex(2);
    Action(form, "Action_MusicPlayFromHere")->trigger();
    EXPECT_EQ(F.Player.Calls.back(), "Play");
    EXPECT_LT(F.Player.OpenedBytes.size(), whole.size()) << "one unit of two";
    F.Player.At.Tick = 0;
    form.Playback().Refresh();
    EXPECT_EQ(F.TabTexts()[2], "\u25B6 Ptn.2");
    EXPECT_DOUBLE_EQ(Cursor(form), 0.0);
    // With the lead-in, the unit starts a bar later and the lead-in counts as its start.
    Inside(form).IncludeReset = true;
    Action(form, "Action_MusicPlayFromHere")->trigger();
    F.Player.At.Tick = Bar + Bar / 4;
    form.Playback().Refresh();
    EXPECT_DOUBLE_EQ(Cursor(form), 0.25);
    EXPECT_EQ(F.Player.OpenedBytes.find(std::string("\xF0\x05\x7E\x7F\x09\x01\xF7", 7)) <
                  F.Player.OpenedBytes.size(),
              true)
        << "General MIDI System On in the lead-in";
}

TEST_F(PlayPositionTest, SpaceBarRepeatsTheLastPlayOrStopsUnlessTheFocusUsesIt)
{
    TLyravaneMainForm& form = TwoUnitSong(F);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    // The start-up priming plays first; it is no play command.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !F.Player.Calls.empty(); }, 2000));
    F.Player.IsPlaying = false;
    form.TabControl1->setCurrentIndex(1);
    Inside(form).RefreshCommandStates();
    form.TabControl1->setFocus();
    F.Player.Calls.clear();
    QTest::keyClick(form.TabControl1, Qt::Key_Space);
    ASSERT_FALSE(F.Player.Calls.empty());
    EXPECT_EQ(F.Player.Calls.back(), "Play") << "before any play command: the song";
    const std::string song = F.Player.OpenedBytes;
    QTest::keyClick(form.TabControl1, Qt::Key_Space);
    EXPECT_EQ(F.Player.Calls.back(), "Close");
    EXPECT_FALSE(F.Player.IsPlaying);

    QTest::keyClick(form.TabControl1, Qt::Key_F5);
    QTest::keyClick(form.TabControl1, Qt::Key_Space);
    EXPECT_FALSE(F.Player.IsPlaying);
    QTest::keyClick(form.TabControl1, Qt::Key_Space);
    EXPECT_TRUE(F.Player.IsPlaying);
    EXPECT_LT(F.Player.OpenedBytes.size(), song.size()) << "the unit again";

    // A focused control that uses the space bar keeps it; Return and Enter press a button.
    QPushButton button(PagePanel(form));
    QCheckBox box(PagePanel(form));
    QRadioButton radio(PagePanel(form));
    QComboBox list(PagePanel(form));
    list.addItems({QStringLiteral("I"), QStringLiteral("IV")});
    QSpinBox spin(PagePanel(form));
    QLineEdit field(PagePanel(form));
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] { ++clicks; });
    for (QWidget* control :
         std::initializer_list<QWidget*>{&button, &box, &radio, &list, &spin, &field})
    {
        control->show();
        control->setFocus();
        F.Player.Calls.clear();
        QTest::keyClick(control, Qt::Key_Space);
        EXPECT_TRUE(F.Player.Calls.empty()) << control->metaObject()->className();
    }
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(box.isChecked());
    EXPECT_TRUE(radio.isChecked());
    EXPECT_TRUE(list.view()->isVisible()) << "the list opens";
    list.hidePopup();
    EXPECT_EQ(field.text(), QStringLiteral(" "));
    button.setFocus();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter})
    {
        const int before = clicks;
        QTest::keyClick(&button, key);
        EXPECT_TRUE(QTest::qWaitFor([&] { return clicks == before + 1; }, 2000)) << key;
    }
    EXPECT_TRUE(F.Player.Calls.empty());
}

TEST_F(PlayPositionTest, TheAudioOutputSettingsAreReadTrimmed)
{
    const QString ini = F.Path(QStringLiteral("sound.ini"));
    EXPECT_EQ(ReadAudioOutputSettings(ini).Driver, "") << "missing: FluidSynth's default";
    {
        QSettings settings(ini, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Sound/AudioDriver"), QStringLiteral(" file "));
        settings.setValue(QStringLiteral("Sound/AudioFile"), QStringLiteral("/tmp/canción.wav"));
    }
    const TAudioOutputSettings audio = ReadAudioOutputSettings(ini);
    EXPECT_EQ(audio.Driver, "file");
    EXPECT_EQ(audio.FileName, "/tmp/canci\xC3\xB3n.wav");
}

TEST_F(PlayPositionTest, ThePrimingNeverCutsAPlayThatCameFirst)
{
    bool ready = false;
    F.Services.PlayerReady = [&ready] { return ready; };
    TLyravaneMainForm& form = F.Create();
    Inside(form).FormShow();
    Action(form, "Action_MusicPlay")->trigger();
    const std::string song = F.Player.OpenedBytes;
    ready = true;
    QTest::qWait(600); // the priming looks again every 250 ms
    EXPECT_EQ(F.Player.OpenedBytes, song);
    EXPECT_TRUE(F.Player.IsPlaying);
}

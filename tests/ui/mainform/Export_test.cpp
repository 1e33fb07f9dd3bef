// The exports beyond the song's MIDI file: the MusicXML score, a unit's MIDI file from the tab
// menu, the file a dragged tab carries, and the track names option.
#include "MainFormTestAccess.h"
#include "UiFakes.h"

#include "base/FileIO.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "render/RenderSong.h"
#include "render/TrackNames.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTabBar>
#include <QUrl>

#include <gtest/gtest.h>

#include <unistd.h>

namespace
{
class ExportTest : public ::testing::Test
{
protected:
    TFormFixture F;

    /// A window with its song saved as tune.lvp.
    TLyravaneMainForm& CreateWithSong()
    {
        TLyravaneMainForm& form = F.Create();
        Inside(form).SaveProjectFile(F.Path(QStringLiteral("tune.lvp")));
        return form;
    }

    std::string Read(const QString& name) const
    {
        return ReadWholeFile(F.Path(name).toStdString());
    }
};

/// The unit as "Reproducir partitura" renders it without the lead-in, named or not.
std::string UnitBytes(const TMunit& unit, bool names)
{
    TMidiData midi;
    RenderUnitPlayback(unit, midi, false);
    if (names)
        AddTrackNames(midi, *unit.Property);
    return midi.SaveToString();
}
} // namespace

// A new song's score is titled as the window names the song, not by the file written.
TEST_F(ExportTest, NewSongScoreIsUntitled)
{
    TLyravaneMainForm& form = F.Create();
    F.FileDialogs.Answers = {F.Path(QStringLiteral("lead.musicxml"))};
    Action(form, "Action_FileOutputScore")->trigger();
    EXPECT_NE(Read(QStringLiteral("lead.musicxml")).find("<work-title>Sin título</work-title>"),
              std::string::npos);
}

TEST_F(ExportTest, ScoreDialogChoosesLeadSheetOrFullScoreAndWritesTheChosenFile)
{
    TLyravaneMainForm& form = CreateWithSong();
    F.FileDialogs.Answers = {std::nullopt};
    Action(form, "Action_FileOutputScore")->trigger();
    ASSERT_EQ(F.FileDialogs.Requests.size(), 1u);
    EXPECT_EQ(F.FileDialogs.Requests[0].FileName, F.Path(QStringLiteral("tune.musicxml")));
    EXPECT_EQ(F.FileDialogs.Requests[0].DefaultExt.toStdString(), "musicxml");
    EXPECT_FALSE(F.FileDialogs.Requests[0].CheckText.isEmpty()) << "the full-score check box";
    EXPECT_FALSE(F.FileDialogs.Requests[0].Checked) << "a lead sheet unless asked";
    EXPECT_FALSE(QFileInfo::exists(F.Path(QStringLiteral("tune.musicxml"))));

    F.FileDialogs.Answers = {F.Path(QStringLiteral("lead.musicxml"))};
    Action(form, "Action_FileOutputScore")->trigger();
    const std::string lead = Read(QStringLiteral("lead.musicxml"));
    EXPECT_EQ(lead.rfind("<?xml", 0), 0u);
    EXPECT_NE(lead.find("<work-title>tune</work-title>"), std::string::npos);
    EXPECT_NE(lead.find("<part-abbreviation>Melodía</part-abbreviation>"), std::string::npos);
    EXPECT_EQ(lead.find("<part id=\"P2\">"), std::string::npos);
    EXPECT_EQ(form.statusBar()->currentMessage().toStdString(), "Exportado: lead.musicxml");
    EXPECT_TRUE(F.MessageBoxes.Shown.empty()) << "no question besides the file dialog";

    F.FileDialogs.Answers = {F.Path(QStringLiteral("full.musicxml"))};
    F.FileDialogs.CheckAnswers = {true};
    Action(form, "Action_FileOutputScore")->trigger();
    EXPECT_NE(Read(QStringLiteral("full.musicxml")).find("<part id=\"P5\">"), std::string::npos);
    // The choice is offered again as it was left, and the compressed form goes by extension.
    F.FileDialogs.Answers = {F.Path(QStringLiteral("full.mxl"))};
    Action(form, "Action_FileOutputScore")->trigger();
    EXPECT_TRUE(F.FileDialogs.Requests.back().Checked);
    const std::string zip = Read(QStringLiteral("full.mxl"));
    EXPECT_EQ(zip.rfind("PK", 0), 0u);
    EXPECT_NE(zip.find("META-INF/container.xml"), std::string::npos);
}

TEST_F(ExportTest, TabMenuExportsTheUnitAsItPlaysWithoutTheLeadIn)
{
    TLyravaneMainForm& form = CreateWithSong();
    Inside(form).IncludeReset = true;
    {
        const auto menu = Inside(form).MakeTabMenu(0);
        ASSERT_EQ(menu->actions().size(), 2);
        EXPECT_EQ(menu->actions()[0], Action(form, "Action_FileOutputMidi"));
        EXPECT_FALSE(Action(form, "Action_TabOutputUnitMidi")->isEnabled());
    }
    const auto menu = Inside(form).MakeTabMenu(1);
    QAction* unitExport = menu->actions()[1];
    EXPECT_EQ(unitExport->text().toStdString(), "Exportar partitura a MIDI...");
    ASSERT_TRUE(unitExport->isEnabled());
    F.FileDialogs.Answers = {F.Path(QStringLiteral("unit.mid"))};
    unitExport->trigger();
    ASSERT_EQ(F.FileDialogs.Requests.size(), 1u);
    EXPECT_EQ(F.FileDialogs.Requests[0].FileName, F.Path(QStringLiteral("tune Ptn.1.mid")));
    const TMunit& unit = *Song(form).UnitAt(1);
    EXPECT_EQ(Read(QStringLiteral("unit.mid")), UnitBytes(unit, false));

    Inside(form).MidiTrackNames = true;
    F.FileDialogs.Answers = {F.Path(QStringLiteral("named.mid"))};
    Inside(form).MakeTabMenu(1)->actions()[1]->trigger();
    EXPECT_EQ(Read(QStringLiteral("named.mid")), UnitBytes(unit, true));
}

TEST_F(ExportTest, SongExportNamesTracksOnlyWithTheOption)
{
    TLyravaneMainForm& form = CreateWithSong();
    TMidiData plain;
    RenderSong(Song(form), plain, 1, false);
    F.FileDialogs.Answers = {F.Path(QStringLiteral("plain.mid"))};
    Action(form, "Action_FileOutputMidi")->trigger();
    EXPECT_EQ(Read(QStringLiteral("plain.mid")), plain.SaveToString());

    Inside(form).MidiTrackNames = true;
    F.FileDialogs.Answers = {F.Path(QStringLiteral("named.mid"))};
    Action(form, "Action_FileOutputMidi")->trigger();
    const std::string named = Read(QStringLiteral("named.mid"));
    EXPECT_NE(named.find("Melod\xC3\xAD"
                         "a: Oboe"),
              std::string::npos);
    AddTrackNames(plain, Song(form));
    EXPECT_EQ(named, plain.SaveToString());
}

TEST_F(ExportTest, DraggedTabCarriesItsMidiFileFromTheTemporaryFolder)
{
    TLyravaneMainForm& form = CreateWithSong();
    // While the unit plays its tab reads "▶ Ptn.1": the file keeps the unit's plain name.
    form.TabControl1->setTabText(1, QStringLiteral("\u25B6 Ptn.1"));
    const auto unitData = Inside(form).MakeTabDragData(1);
    ASSERT_NE(unitData, nullptr);
    ASSERT_EQ(unitData->urls().size(), 1);
    const QString unitFile = unitData->urls()[0].toLocalFile();
    EXPECT_EQ(QFileInfo(unitFile).fileName().toStdString(), "tune Ptn.1.mid");
    EXPECT_EQ(QFileInfo(unitFile).absolutePath(),
              QFileInfo(F.Path(QStringLiteral("x"))).absolutePath());
    EXPECT_EQ(ReadWholeFile(unitFile.toStdString()), UnitBytes(*Song(form).UnitAt(1), false));

    const auto songData = Inside(form).MakeTabDragData(0);
    ASSERT_NE(songData, nullptr);
    TMidiData song;
    RenderSong(Song(form), song, 1, false);
    EXPECT_EQ(ReadWholeFile(songData->urls()[0].toLocalFile().toStdString()), song.SaveToString());
    EXPECT_EQ(Inside(form).MakeTabDragData(Song(form).Count()), nullptr);
}

TEST_F(ExportTest, TrackNamesSettingIsOffUntilSetAndKept)
{
    TLyravaneMainForm& form = F.Create();
    EXPECT_FALSE(Inside(form).MidiTrackNames);
    Inside(form).MidiTrackNames = true;
    F.Destroy();
    EXPECT_TRUE(QSettings(F.Services.SettingsPath, QSettings::IniFormat)
                    .value(QStringLiteral("MidiTrackNames"))
                    .toBool());
    EXPECT_TRUE(Inside(F.Create()).MidiTrackNames);
}

TEST_F(ExportTest, NoExportReplacesTheOpenSongUnderAnyName)
{
    TLyravaneMainForm& form = CreateWithSong();
    const QString song = F.Path(QStringLiteral("tune.lvp"));
    const QString link = F.Path(QStringLiteral("hard.lvp"));
    ASSERT_EQ(::link(song.toUtf8().constData(), link.toUtf8().constData()), 0);
    const std::string bytes = ReadWholeFile(song.toStdString());
    const auto menu = Inside(form).MakeTabMenu(1);
    const std::vector<QAction*> exports = {
        form.findChild<QAction*>(QStringLiteral("Action_FileOutputMidi")),
        form.findChild<QAction*>(QStringLiteral("Action_FileOutputScore")),
        form.findChild<QAction*>(QStringLiteral("Action_FileOutputAudio")), menu->actions()[1]};
    for (QAction* command : exports)
        for (const QString& answer : {song, link})
        {
            ASSERT_NE(command, nullptr);
            F.MessageBoxes.Shown.clear();
            F.FileDialogs.Answers = {answer};
            command->trigger();
            ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u) << command->objectName().toStdString();
            EXPECT_EQ(F.MessageBoxes.Shown[0].Text,
                      QStringLiteral("«%1» es el archivo de la canción abierta. Elija otro "
                                     "nombre para exportar.")
                          .arg(QFileInfo(answer).fileName()));
            EXPECT_EQ(ReadWholeFile(song.toStdString()), bytes);
        }
}

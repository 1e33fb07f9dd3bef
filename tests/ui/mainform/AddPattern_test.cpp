#include "UiFakes.h"

#include "MainFormTestAccess.h"
#include "PlaceholderPages.h"
#include "base/FileIO.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "midi/PatternCheck.h"
#include "ui/FileDialogs.h"
#include "ui/FormAddPattern.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStatusBar>

#include <gtest/gtest.h>

// "Añadir patrón": the dialog, and the window's copy into the user's library.

namespace
{
/// A drum pattern of the given bars, one hit per beat.
std::string DrumFile(int bars)
{
    TMidiData midi;
    midi.SetTrackCount(2);
    for (int beat = 0; beat < 4 * bars; ++beat)
        midi.AddNote(1, beat * 384, 100, 9, 36 + beat % 3 * 2, 70 + beat % 2 * 30);
    return midi.SaveToString();
}

class AddPatternTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        // The libraries are the process's: put back what main() loaded.
        LoadPatternLibraries(LYRAVANE_BIN_DIR "/PATTERN");
    }
    TFormFixture F;
};
} // namespace

TEST_F(AddPatternTest, AGoodFileJoinsTheUsersLibraryAndTheLists)
{
    TLyravaneMainForm& form = F.Create();
    const int before = DrumPatterns.Count();
    const QString file =
        F.WriteBytes(QStringLiteral("clave.mid"), QByteArray::fromStdString(DrumFile(4)));

    ASSERT_TRUE(Inside(form).AddUserPatternFile(ToFsPath(file), TPatternKind::Drum, "Mi Clave"));
    EXPECT_TRUE(F.MessageBoxes.Shown.empty());
    ASSERT_EQ(DrumPatterns.Count(), before + 1);
    EXPECT_EQ(DrumPatterns.Names.back(), "Mi Clave");
    const std::string copy = DrumPatterns.FindPatternFile("mi clave");
    EXPECT_EQ(copy, ToFsPath(F.Path(QStringLiteral("data/PATTERN/USER/DRUMU001.MID"))));
    EXPECT_EQ(ReadWholeFile(copy), DrumFile(4));
    EXPECT_EQ(static_cast<TPlaceholderPropertyPage*>(PropertyPage(form))->Reloads, 1);
    EXPECT_EQ(form.statusBar()->currentMessage(),
              QStringLiteral("Patrón «Mi Clave» añadido a la lista de batería."));

    // The next start reads it from the index the window wrote.
    LoadPatternLibraries(LYRAVANE_BIN_DIR "/PATTERN",
                         ToFsPath(F.Path(QStringLiteral("data/PATTERN"))));
    EXPECT_EQ(DrumPatterns.Count(), before + 1);
    EXPECT_EQ(DrumPatterns.FindPatternFile("Mi Clave"), copy);
}

TEST_F(AddPatternTest, AFaultIsShownExactlyAndNothingIsAdded)
{
    TLyravaneMainForm& form = F.Create();
    const int before = BassPatterns.Count();
    const QString file =
        F.WriteBytes(QStringLiteral("short.mid"), QByteArray::fromStdString(DrumFile(2)));

    EXPECT_FALSE(Inside(form).AddUserPatternFile(ToFsPath(file), TPatternKind::Bass, "Corto"));
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
    // The check's own report (the core's tests hold its sentences), begun with a capital.
    const QString shown = F.MessageBoxes.Shown[0].Text;
    const QString report =
        QString::fromStdString(CheckPatternBytes(DrumFile(2), TPatternKind::Bass).Report());
    EXPECT_EQ(shown.compare(report.trimmed(), Qt::CaseInsensitive), 0) << shown.toStdString();
    EXPECT_TRUE(shown.front().isUpper()) << shown.toStdString();

    // A name the library has, and no file at all.
    const QString good =
        F.WriteBytes(QStringLiteral("good.mid"), QByteArray::fromStdString(DrumFile(4)));
    EXPECT_FALSE(
        Inside(form).AddUserPatternFile(ToFsPath(good), TPatternKind::Bass, BassPatterns.Names[0]));
    EXPECT_FALSE(Inside(form).AddUserPatternFile("", TPatternKind::Bass, "Nada"));
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 3u);
    EXPECT_TRUE(F.MessageBoxes.Shown[1].Text.startsWith(QStringLiteral("Ya hay un patrón")));
    EXPECT_EQ(F.MessageBoxes.Shown[2].Text, QStringLiteral("Elija el archivo MIDI del patrón"));
    EXPECT_EQ(BassPatterns.Count(), before);
    EXPECT_FALSE(QFile::exists(F.Path(QStringLiteral("data/PATTERN/USER/BASS00.DAT"))));
}

TEST_F(AddPatternTest, DialogProposesTheFileNameAndClosesOnlyWhenAdded)
{
    std::vector<std::string> calls;
    bool succeed = false;
    TFormAddPattern dialog(&F.FileDialogs,
                           [&](const std::string& path, TPatternKind kind, const std::string& name)
                           {
                               calls.push_back(path + "|" + std::to_string(static_cast<int>(kind)) +
                                               "|" + name);
                               return succeed;
                           });
    F.FileDialogs.Answers.push_back(QStringLiteral("/tmp/ritmos/Rumba Lenta.mid"));
    dialog.Browse();
    EXPECT_EQ(dialog.EditFile->text(), QStringLiteral("/tmp/ritmos/Rumba Lenta.mid"));
    EXPECT_EQ(dialog.EditName->text(), QStringLiteral("Rumba Lenta"));
    ASSERT_EQ(F.FileDialogs.Requests.size(), 1u);
    EXPECT_FALSE(F.FileDialogs.Requests[0].Save);

    dialog.ComboBoxKind->setCurrentIndex(2);
    dialog.show();
    dialog.TryAdd();
    EXPECT_TRUE(dialog.isVisible()); // refused: stays open for a correction
    succeed = true;
    dialog.TryAdd();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(calls, (std::vector<std::string>{"/tmp/ritmos/Rumba Lenta.mid|2|Rumba Lenta",
                                               "/tmp/ritmos/Rumba Lenta.mid|2|Rumba Lenta"}));
}

// "Exportar a audio..." and the export and SoundFont options, with the real synthesiser.
#include "UiFakes.h"

#include "audio/Synthesizer.h"
#include "base/FileIO.h"
#include "ui/FormOption.h"
#include "ui/Settings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include <sys/stat.h>

namespace
{
class AudioExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(DefaultSoundFont))
            GTEST_FAIL() << "No SoundFont at " << DefaultSoundFont;
    }

    /// The names in the fixture's folder, hidden ones too, but the settings.
    QStringList Files() const
    {
        QStringList names = QDir(F.Dir.path()).entryList(QDir::Files | QDir::Hidden);
        names.removeAll(QStringLiteral("settings.ini"));
        names.removeAll(QStringLiteral("$$$.mid"));
        return names;
    }

    /// Runs the export; act sees the progress dialog each time the event loop turns.
    void Export(TLyravaneMainForm& form, const std::function<void(QProgressDialog&)>& act,
                const char* action = "Action_FileOutputAudio")
    {
        QTimer watch;
        watch.setInterval(10);
        QObject::connect(&watch, &QTimer::timeout,
                         [&]
                         {
                             if (auto* progress = form.findChild<QProgressDialog*>(
                                     QStringLiteral("ExportProgress")))
                                 act(*progress);
                         });
        watch.start();
        // Through the action, as the menu runs it: a failure becomes a message.
        form.findChild<QAction*>(QString::fromLatin1(action))->trigger();
    }

    TFormFixture F;
};
} // namespace

TEST_F(AudioExportTest, ExportRendersAsTheCommandLineDoesBehindAProgressDialog)
{
    TLyravaneMainForm& form = F.Create();
    form.show();
    const QString song = F.Path(QStringLiteral("song.lvp"));
    Inside(form).SaveProjectFile(song);
    Inside(form).RepeatCount = 2;
    const QString wav = F.Path(QStringLiteral("song.wav"));
    F.FileDialogs.Answers = {wav};
    bool modal = false;
    int highest = 0;
    bool pictured = false;
    Export(form,
           [&](QProgressDialog& progress)
           {
               modal = progress.isVisible() && progress.windowModality() == Qt::WindowModal;
               highest = std::max(highest, progress.value());
               const QString shots = qEnvironmentVariable("LYRAVANE_SCREENSHOT_DIR");
               if (!pictured && !shots.isEmpty() && progress.value() >= 40)
               {
                   progress.grab().save(shots + QStringLiteral("/export-progress.png"));
                   pictured = true;
               }
           });
    ASSERT_EQ(F.FileDialogs.Requests.size(), 1u);
    EXPECT_EQ(F.FileDialogs.Requests[0].Filter,
              QStringLiteral("WAV (*.wav)|*.wav|FLAC (*.flac)|*.flac|Ogg Vorbis (*.ogg)|*.ogg|"));
    EXPECT_EQ(F.FileDialogs.Requests[0].FileName, F.Path(QStringLiteral("song.wav")));
    EXPECT_TRUE(modal);
    EXPECT_GE(highest, 50) << "the dialog followed the rendering";
    EXPECT_TRUE(F.MessageBoxes.Shown.empty());
    EXPECT_EQ(form.statusBar()->currentMessage(), QStringLiteral("Exportado: song.wav"));
    EXPECT_EQ(Files(), (QStringList{QStringLiteral("song.lvp"), QStringLiteral("song.wav")}));

    // The same bytes as lyravane-cli render with the same repeats, normalised by default.
    const QString cliWav = F.Path(QStringLiteral("cli.wav"));
    QProcess cli;
    cli.start(QStringLiteral(LYRAVANE_BIN_DIR "/lyravane-cli"),
              {QStringLiteral("render"), song, QStringLiteral("-o"), cliWav,
               QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--pattern-dir"),
               QStringLiteral(LYRAVANE_BIN_DIR "/PATTERN")});
    ASSERT_TRUE(cli.waitForFinished(120000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const std::string ours = ReadWholeFile(wav.toStdString(), 1 << 30);
    EXPECT_GT(ours.size(), 44u);
    EXPECT_TRUE(ours == ReadWholeFile(cliWav.toStdString(), 1 << 30)) << "the files differ";
}

TEST_F(AudioExportTest, CancelledOrFailedExportLeavesTheOldFileAndNothingElse)
{
    TLyravaneMainForm& form = F.Create();
    form.show();
    const QString target = F.WriteBytes(QStringLiteral("song.ogg"), "the old file");
    F.FileDialogs.Answers = {target};
    Export(form,
           [](QProgressDialog& progress)
           {
               if (auto* cancel = progress.findChild<QPushButton*>())
                   cancel->click();
           });
    EXPECT_TRUE(F.MessageBoxes.Shown.empty());
    EXPECT_EQ(form.statusBar()->currentMessage(), QStringLiteral("Exportación cancelada"));
    EXPECT_EQ(ReadWholeFile(target.toStdString()), "the old file");
    EXPECT_EQ(Files(), QStringList{QStringLiteral("song.ogg")});

    // SIGHUP (or SIGTERM, Ctrl+C) while it is written: cancelled, nothing left beside the
    // target, and then the signal does what it would have done (here: what the test set).
    static volatile std::sig_atomic_t hangUps = 0;
    struct sigaction counter
    {
    };
    struct sigaction before
    {
    };
    counter.sa_handler = [](int) { hangUps = hangUps + 1; };
    ::sigaction(SIGHUP, &counter, &before);
    F.FileDialogs.Answers = {target};
    Export(form,
           [](QProgressDialog&)
           {
               if (hangUps == 0)
                   std::raise(SIGHUP);
           });
    ::sigaction(SIGHUP, &before, nullptr);
    EXPECT_EQ(hangUps, 1) << "the signal is raised again once the export has cleaned up";
    EXPECT_EQ(form.statusBar()->currentMessage(), QStringLiteral("Exportación cancelada"));
    EXPECT_EQ(ReadWholeFile(target.toStdString()), "the old file");
    EXPECT_EQ(Files(), QStringList{QStringLiteral("song.ogg")});

    // A folder that is not there: the reason in a message, nothing written.
    F.FileDialogs.Answers = {F.Path(QStringLiteral("missing/song.flac"))};
    Export(form, [](QProgressDialog&) {});
    ASSERT_EQ(F.MessageBoxes.Shown.size(), 1u);
    EXPECT_TRUE(F.MessageBoxes.Shown[0].Text.contains(QStringLiteral("missing/song.flac")))
        << F.MessageBoxes.Shown[0].Text.toStdString();
    EXPECT_EQ(Files(), QStringList{QStringLiteral("song.ogg")});
}

TEST_F(AudioExportTest, OptionsChangeTheLoudnessAndLoadAnotherSoundFontInTheBackground)
{
    TSynthesizer synth;
    F.Services.Synth = &synth;
    TLyravaneMainForm& form = F.Create();
    form.show();
    const QString junk = F.WriteBytes(QStringLiteral("junk.sf2"), "not a SoundFont");
    const QString other = F.Path(QStringLiteral("other.sf2"));
    std::filesystem::create_symlink(DefaultSoundFont, other.toStdString());

    const auto runDialog = [&](const QString& soundFont, bool normalize)
    {
        F.FileDialogs.Answers = {soundFont};
        QTimer::singleShot(
            0, &form,
            [&]
            {
                auto* dialog = qobject_cast<TFormOption*>(QApplication::activeModalWidget());
                ASSERT_NE(dialog, nullptr);
                EXPECT_EQ(dialog->SoundFont, QString::fromStdString(synth.SoundFontPath()));
                dialog->CheckNormalize->setChecked(normalize);
                dialog->ComboLoudness->setCurrentIndex(2);
                dialog->ButtonChooseSoundFont->click();
                dialog->ButtonOk->click();
            });
        Action(form, "Action_MusicOption")->trigger();
    };

    // Not a SoundFont: a message once it has been tried, and the one in use stays.
    runDialog(junk, false);
    EXPECT_EQ(ReadExportSettings(F.Services.SettingsPath).Normalize, false);
    EXPECT_EQ(ReadExportSettings(F.Services.SettingsPath).LoudnessLufs, -23);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !F.MessageBoxes.Shown.empty(); }, 20000));
    EXPECT_EQ(F.MessageBoxes.Shown[0].Text,
              QStringLiteral("No se pudo cargar el SoundFont junk.sf2; se sigue usando "
                             "FluidR3_GM.sf2."));
    EXPECT_EQ(F.MessageBoxes.Shown[0].Details,
              junk + QStringLiteral(" no es un archivo SoundFont (.sf2 o .sf3). Instale el "
                                    "paquete fluid-soundfont-gm o elija otro SoundFont en "
                                    "Opciones."));
    EXPECT_EQ(synth.SoundFontPath(), DefaultSoundFont);
    EXPECT_TRUE(ReadSoundFontSetting(F.Services.SettingsPath).isEmpty());

    // A FIFO would hold the loader, and every play after it, for ever: refused at once.
    const QString fifo = F.Path(QStringLiteral("fifo.sf2"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    runDialog(fifo, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return F.MessageBoxes.Shown.size() == 2; }, 20000));
    EXPECT_TRUE(F.MessageBoxes.Shown[1].Details.contains(QStringLiteral("no es un archivo normal")))
        << F.MessageBoxes.Shown[1].Details.toStdString();
    EXPECT_EQ(synth.SoundFontPath(), DefaultSoundFont);

    runDialog(other, true);
    EXPECT_EQ(form.statusBar()->currentMessage(),
              QStringLiteral("Cargando el SoundFont other.sf2..."));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return form.statusBar()->currentMessage() ==
                   QStringLiteral("SoundFont listo: other.sf2");
        },
        20000));
    EXPECT_EQ(synth.SoundFontPath(), other.toStdString());
    EXPECT_EQ(ReadSoundFontSetting(F.Services.SettingsPath), other);
    EXPECT_EQ(F.MessageBoxes.Shown.size(), 2u);
    F.Destroy();
}

// "Exportar pistas de audio..." writes a file per part named after the song and the part, the
// same bytes as lyravane-cli render --stems.
TEST_F(AudioExportTest, PartsExportAsTheCommandLineDoes)
{
    TLyravaneMainForm& form = F.Create();
    const QString song = F.Path(QStringLiteral("song.lvp"));
    Inside(form).SaveProjectFile(song);
    F.FileDialogs.Answers = {F.Path(QStringLiteral("song.flac"))};
    Export(
        form, [](QProgressDialog&) {}, "Action_FileOutputStems");
    EXPECT_TRUE(F.MessageBoxes.Shown.empty());
    const QStringList parts = {
        QStringLiteral("song - Acomp. 1.flac"), QStringLiteral("song - Acomp. 2.flac"),
        QStringLiteral("song - Bajo.flac"),     QStringLiteral("song - Batería.flac"),
        QStringLiteral("song - Melodía.flac"),  QStringLiteral("song.lvp")};
    ASSERT_EQ(Files(), parts);

    QProcess cli;
    cli.start(QStringLiteral(LYRAVANE_BIN_DIR "/lyravane-cli"),
              {QStringLiteral("render"), song, QStringLiteral("-o"),
               F.Path(QStringLiteral("cli.flac")), QStringLiteral("--stems"),
               QStringLiteral("--pattern-dir"), QStringLiteral(LYRAVANE_BIN_DIR "/PATTERN")});
    ASSERT_TRUE(cli.waitForFinished(120000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_TRUE(ReadWholeFile(F.Path(QStringLiteral("song - Bajo.flac")).toStdString(), 1 << 30) ==
                ReadWholeFile(F.Path(QStringLiteral("cli - Bajo.flac")).toStdString(), 1 << 30));
}

#include "midi/MidiData.h"
#include "midi/PatternCheck.h"
#include "model/Munit.h"
#include "model/Muprop.h"
#include "model/MusicProject.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
struct TRun
{
    int Status = -1;
    std::string Out; // standard output and standard error together
};

/// lyravane-cli with the test's pattern library; environment ("NAME=value") set for it alone.
TRun Cli(const std::string& arguments,
         const std::string& environment = "XDG_DATA_HOME=/nonexistent")
{
    const std::string command = "env " + environment + " " + std::string(LYRAVANE_BIN_DIR) +
                                "/lyravane-cli " + arguments + " --pattern-dir " +
                                LYRAVANE_TEST_DATA + "/vectors/PATTERN 2>&1";
    TRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.Out.append(buffer, n);
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class CliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Dir = fs::temp_directory_path() /
              ("lyravane-cli-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }
    std::string Path(const std::string& name) const { return (Dir / name).string(); }
    fs::path Dir;
};
} // namespace

TEST_F(CliTest, NewWritesADefaultSongWithTheRequestedUnits)
{
    ASSERT_EQ(Cli("new -o " + Path("one.lvp")).Status, 0);
    EXPECT_EQ(fs::file_size(Path("one.lvp")), 1296u);

    ASSERT_EQ(Cli("new -o " + Path("four.lvp") + " --units 4").Status, 0);
    TMusicProject song;
    song.LoadFromFile(Path("four.lvp"));
    ASSERT_EQ(song.Count(), 5);
    EXPECT_NE(song.PropertyAt(0), nullptr);
    for (int i = 1; i < 5; ++i)
        EXPECT_NE(song.UnitAt(i), nullptr);
    // The defaults come from the libraries of --pattern-dir.
    EXPECT_FALSE(song.PropertyAt(0)->GetPatternName(0).empty());
}

TEST_F(CliTest, InfoSummarisesPropertiesAndUnits)
{
    ASSERT_EQ(Cli("new -o " + Path("s.lvp") + " --units 2").Status, 0);
    const TRun info = Cli("info " + Path("s.lvp"));
    ASSERT_EQ(info.Status, 0) << info.Out;
    EXPECT_NE(info.Out.find("3 entries"), std::string::npos) << info.Out;
    EXPECT_NE(info.Out.find("tempo 120"), std::string::npos);
    EXPECT_NE(info.Out.find("unit Ptn.2"), std::string::npos);
    EXPECT_NE(info.Out.find("chords IV IV IV IV"), std::string::npos);
    EXPECT_NE(info.Out.find("rhythm ........"), std::string::npos);
}

TEST_F(CliTest, BadInputGetsAMessageAndNoOutputFile)
{
    TRun run = Cli("new -o " + Path("x.lvp") + " --units 49");
    EXPECT_NE(run.Status, 0);
    EXPECT_NE(run.Out.find("--units"), std::string::npos) << run.Out;
    EXPECT_FALSE(fs::exists(Path("x.lvp")));

    run = Cli("new -o " + Path("x.lvp") + " --units two");
    EXPECT_EQ(run.Status, 2);
    EXPECT_FALSE(fs::exists(Path("x.lvp")));

    run = Cli("info " + Path("missing.lvp"));
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Out.find("Cannot open file"), std::string::npos) << run.Out;

    std::ofstream(Path("junk.lvp")) << "not a song at all";
    run = Cli("info " + Path("junk.lvp"));
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Out.find("Stream read error"), std::string::npos) << run.Out;

    run = Cli("frobnicate");
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Out.find("unknown command"), std::string::npos);

    run = Cli("new -o " + Path("y.lvp") + " --colour blue");
    EXPECT_EQ(run.Status, 2);
    EXPECT_FALSE(fs::exists(Path("y.lvp")));

    // A missing main index file is an error, not an empty library.
    const std::string noPatterns = std::string(LYRAVANE_BIN_DIR) + "/lyravane-cli new -o " +
                                   Path("z.lvp") + " --pattern-dir " + Path("nowhere") + " 2>&1";
    EXPECT_NE(std::system(noPatterns.c_str()), 0);
    EXPECT_FALSE(fs::exists(Path("z.lvp")));
}

TEST_F(CliTest, CheckPatternPrintsTheReportOfTheDesktopCheck)
{
    // A shipped pattern of each kind passes under its own kind.
    const std::string shipped = std::string(LYRAVANE_TEST_DATA) + "/../../data/PATTERN/";
    const TRun bass = Cli("check-pattern " + shipped + "BASS01.MID --kind bass");
    EXPECT_EQ(bass.Status, 0) << bass.Out;
    EXPECT_EQ(bass.Out.rfind("el patrón de bajo se puede usar: 4 compases, ", 0), 0u) << bass.Out;

    // Two bars of bass: the fault in words, status 1.
    TMidiData two;
    two.SetTrackCount(2);
    for (int beat = 0; beat < 8; ++beat)
        two.AddNote(1, beat * 384, 300, 0, 30, 70 + beat);
    two.SaveToFile(Path("two.mid"));
    const TRun faulty = Cli("check-pattern " + Path("two.mid") + " --kind bass");
    EXPECT_EQ(faulty.Status, 1);
    // The check's own report, whose sentences the core's tests hold.
    EXPECT_EQ(faulty.Out, CheckPattern(two, TPatternKind::Bass).Report());

    // Bass keys under 35 are no drums.
    const TRun drum = Cli("check-pattern " + Path("two.mid") + " --kind drum");
    EXPECT_EQ(drum.Status, 1);
    EXPECT_NE(drum.Out.find("no es un instrumento de percusión"), std::string::npos) << drum.Out;

    EXPECT_EQ(Cli("check-pattern " + Path("two.mid") + " --kind piano").Status, 2);
    EXPECT_EQ(Cli("check-pattern " + Path("two.mid")).Status, 2);
    const TRun missing = Cli("check-pattern " + Path("none.mid") + " --kind back");
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Out.find("none.mid"), std::string::npos) << missing.Out;
}

TEST_F(CliTest, TheUsersLibraryIsReadAndAMissingPatternIsNamed)
{
    // A drum pattern in the data folder's library, as "Añadir patrón..." leaves it.
    TMidiData clave;
    clave.SetTrackCount(2);
    for (int beat = 0; beat < 16; ++beat)
        clave.AddNote(1, beat * 384, 100, 9, 75, 90);
    clave.SaveToFile(Path("clave.mid"));
    const std::string data = Path("data");
    AddUserPattern(data + "/lyravane/PATTERN", TPatternKind::Drum, Path("clave.mid"), "Mi Clave");

    ASSERT_EQ(Cli("new -o " + Path("s.lvp")).Status, 0);
    TMusicProject song;
    song.LoadFromFile(Path("s.lvp"));
    song.PropertyAt(0)->PatternNames[3] = "Mi Clave";
    song.PropertyAt(0)->PatternNames[2] = "Nadie";
    song.SaveToFile(Path("s.lvp"));

    const TRun run =
        Cli("export " + Path("s.lvp") + " -o " + Path("s.mid"), "XDG_DATA_HOME=" + data);
    ASSERT_EQ(run.Status, 0) << run.Out;
    EXPECT_EQ(run.Out, "lyravane-cli: warning: the pattern \"Nadie\" of Bajo (entry 0) is in no "
                       "pattern library; that part is silent\n");
    TMidiData midi;
    midi.LoadFromFile(Path("s.mid"));
    int claves = 0;
    for (int i = 0; i < midi.GetTrack(4)->Count(); ++i)
        claves +=
            midi.GetTrack(4)->Get(i)->Status() == 0x99 && midi.GetTrack(4)->Get(i)->Data[1] == 75;
    EXPECT_GT(claves, 0) << "the user's drum pattern plays";
}

#include "base/Exceptions.h"
#include "base/FileIO.h"
#include "base/TempDir.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"
#include "midi/PatternCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

// The check of a pattern file the user adds, and the copy into the user's library.

namespace
{
/// A pattern of the given bars: one note per beat on key, each a quarter note long.
TMidiData Pattern(int bars, int key = 36)
{
    TMidiData midi;
    midi.SetTrackCount(2);
    for (int beat = 0; beat < 4 * bars; ++beat)
        midi.AddNote(1, beat * 384, 300, 0, key, 60 + beat % 3 * 20);
    return midi;
}

std::vector<std::string> Problems(const TMidiData& midi, TPatternKind kind)
{
    std::vector<std::string> texts;
    for (const TMessage& problem : CheckPatternBytes(midi.SaveToString(), kind).Problems)
        texts.push_back(problem.Str());
    return texts;
}

class UserPatternTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        BackPatterns.Clear();
        BassPatterns.Clear();
        DrumPatterns.Clear();
        BassPatterns.LoadIndexText("BASS01.MID | Bajo Pop 8\n", "/opt/PATTERN");
    }
    void TearDown() override { BassPatterns.Clear(); }
    std::string Source(const TMidiData& midi, const std::string& name = "in.mid") const
    {
        const std::string path = Temp.Path() + "/" + name;
        WriteFileAtomically(path, midi.SaveToString());
        return path;
    }
    TTempDir Temp;
};
} // namespace

TEST(PatternCheckTest, FourBarsOfNotesPassForEveryKind)
{
    for (TPatternKind kind : {TPatternKind::Back, TPatternKind::Bass, TPatternKind::Drum})
    {
        const TPatternCheck check = CheckPatternBytes(Pattern(4).SaveToString(), kind);
        EXPECT_TRUE(check.Usable()) << check.Report();
        EXPECT_EQ(check.Bars, 4);
        EXPECT_EQ(check.Notes, 16);
    }
    EXPECT_EQ(CheckPatternBytes(Pattern(4).SaveToString(), TPatternKind::Drum).Report(),
              "el patrón de batería se puede usar: 4 compases, 16 notas\n");
}

TEST(PatternCheckTest, ReportsWrongBarCountsInWords)
{
    EXPECT_EQ(Problems(Pattern(2), TPatternKind::Bass),
              (std::vector<std::string>{"el patrón de bajo tiene 2 compases; se esperan 4"}));
    EXPECT_EQ(
        Problems(Pattern(1), TPatternKind::Back),
        (std::vector<std::string>{"el patrón de acompañamiento tiene 1 compás; se esperan 4"}));
    EXPECT_EQ(Problems(Pattern(5), TPatternKind::Drum).at(0),
              "el patrón de batería tiene 5 compases; se esperan 4");
    TMidiData empty;
    empty.SetTrackCount(2);
    EXPECT_EQ(Problems(empty, TPatternKind::Bass),
              (std::vector<std::string>{"el archivo no tiene notas"}));
}

TEST(PatternCheckTest, NotesOverBarLinesDrumKeysAndMetreAreFaults)
{
    TMidiData midi = Pattern(4, 30);
    midi.AddNote(1, BarTicks - 100, 200, 0, 38, 90); // over the line into bar 2
    const TPatternCheck drums = CheckPatternBytes(midi.SaveToString(), TPatternKind::Drum);
    ASSERT_FALSE(drums.Usable());
    const std::string report = drums.Report();
    EXPECT_EQ(report.rfind("el patrón de batería no se puede usar:\n", 0), 0u) << report;
    EXPECT_NE(report.find("- la nota 38 del compás 1 pasa la barra del compás\n"),
              std::string::npos)
        << report;
    // Sixteen notes on key 30: three named, the rest counted.
    EXPECT_NE(report.find("- la nota 30 del compás 1 no es un instrumento de percusión de "
                          "General MIDI (35 a 81)\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("- y 13 notas más como estas\n"), std::string::npos) << report;
    // Key 30 is a fine pitch for a bass line.
    EXPECT_EQ(Problems(Pattern(4, 30), TPatternKind::Bass).size(), 0u);

    TMidiData waltz = Pattern(4);
    TMidiEvent* signature = waltz.InsertEvent(0, 0);
    signature->Data = {0xFF, 0x58, 3, 2, 24, 8};
    EXPECT_EQ(Problems(waltz, TPatternKind::Back),
              (std::vector<std::string>{"el compás es 3/4; se espera 4/4"}));
}

TEST(PatternCheckTest, BrokenBytesAndUnendedNotesAreReportedNotThrown)
{
    const TPatternCheck garbage = CheckPatternBytes("RIFF....WAVE", TPatternKind::Back);
    ASSERT_EQ(garbage.Problems.size(), 1u);
    EXPECT_EQ(garbage.Problems[0].Str().rfind("el archivo no es un MIDI que se pueda leer (", 0),
              0u);

    // Key 36 starts at tick 0 and never ends; key 38 sounds in bar 4.
    const std::string bytes("MThd\0\0\0\6\0\1\0\1\x01\x80"
                            "MTrk\0\0\0\x11"
                            "\0\x90\x24\x40"
                            "\xA4\0\x90\x26\x40"
                            "\x64\x80\x26\x40"
                            "\0\xFF\x2F\0",
                            14 + 8 + 17);
    const TPatternCheck check = CheckPatternBytes(bytes, TPatternKind::Bass);
    ASSERT_EQ(check.Problems.size(), 1u);
    EXPECT_EQ(check.Problems[0].Str(), "la nota 36 del compás 1 no termina");
    EXPECT_EQ(check.Bars, 4);
}

TEST(PatternCheckTest, KindWordsAndNewNames)
{
    TPatternKind kind{};
    ASSERT_TRUE(ParsePatternKind("drum", kind));
    EXPECT_EQ(kind, TPatternKind::Drum);
    EXPECT_FALSE(ParsePatternKind("Drum", kind));
    EXPECT_FALSE(ParsePatternKind("", kind));

    TArrangeList library;
    library.LoadIndexText("A.MID | Bajo Pop 8\n", "/opt/PATTERN");
    EXPECT_EQ(CheckNewPatternName("  Mi Bajo  ", library), "Mi Bajo");
    EXPECT_EQ(CheckNewPatternName("Añoranza", library), "Añoranza");
    for (const char* bad : {"", "   ", "a|b", "a\nb", "bajo pop 8"})
        EXPECT_THROW(CheckNewPatternName(bad, library), ELyravaneError) << bad;
    EXPECT_THROW(CheckNewPatternName(std::string(64, 'x'), library), ELyravaneError);
    EXPECT_EQ(CheckNewPatternName(std::string(63, 'x'), library), std::string(63, 'x'));
}

TEST_F(UserPatternTest, AddCopiesTheFileAndAppendsItsIndexLine)
{
    const std::string userDir = Temp.Path() + "/data/PATTERN";
    const std::string first =
        AddUserPattern(userDir, TPatternKind::Bass, Source(Pattern(4)), " Mi Bajo ");
    EXPECT_EQ(first, userDir + "/USER/BASSU001.MID");
    EXPECT_EQ(ReadWholeFile(first), Pattern(4).SaveToString());
    EXPECT_EQ(ReadWholeFile(userDir + "/USER/BASS00.DAT"), "USER/BASSU001.MID | Mi Bajo\n");

    // An index written by hand without a final line break keeps its last line.
    WriteFileAtomically(userDir + "/USER/BASS00.DAT", "USER/BASSU001.MID | Mi Bajo");
    const std::string second =
        AddUserPattern(userDir, TPatternKind::Bass, Source(Pattern(4, 40)), "Otro");
    EXPECT_EQ(second, userDir + "/USER/BASSU002.MID");
    EXPECT_EQ(ReadWholeFile(userDir + "/USER/BASS00.DAT"),
              "USER/BASSU001.MID | Mi Bajo\nUSER/BASSU002.MID | Otro\n");

    // What was written loads as the user's library.
    const std::string shipped = Temp.Path() + "/share/PATTERN";
    std::filesystem::create_directories(shipped);
    for (const char* index : {"/BACK00.DAT", "/BASS00.DAT", "/DRUM00.DAT"})
        WriteFileAtomically(shipped + index, "X.MID | Shipped\n");
    LoadPatternLibraries(shipped, userDir);
    EXPECT_EQ(BassPatterns.Names, (std::vector<std::string>{"Shipped", "Mi Bajo", "Otro"}));
    TMidiData loaded;
    loaded.LoadFromFile(BassPatterns.FindPatternFile("otro"));
    EXPECT_TRUE(CheckPattern(loaded, TPatternKind::Bass).Usable());
}

TEST_F(UserPatternTest, AFaultyFileOrNameAddsNothing)
{
    const std::string userDir = Temp.Path() + "/data/PATTERN";
    try
    {
        AddUserPattern(userDir, TPatternKind::Bass, Source(Pattern(2)), "Corto");
        FAIL() << "a two-bar bass pattern was added";
    }
    catch (const ELyravaneError& e)
    {
        EXPECT_EQ(std::string(e.what()), "el patrón de bajo no se puede usar:\n"
                                         "- el patrón de bajo tiene 2 compases; se esperan 4\n");
    }
    EXPECT_THROW(AddUserPattern(userDir, TPatternKind::Bass, Source(Pattern(4)), "BAJO POP 8"),
                 ELyravaneError);
    EXPECT_THROW(AddUserPattern(userDir, TPatternKind::Bass, Temp.Path() + "/none.mid", "X"),
                 EFOpenError);
    EXPECT_FALSE(std::filesystem::exists(userDir + "/USER/BASSU001.MID"));
    EXPECT_FALSE(std::filesystem::exists(userDir + "/USER/BASS00.DAT"));
}

TEST_F(UserPatternTest, CopiesAddingAtOnceKeepEveryLineAndFile)
{
    // Several processes on one data folder: each pattern gets a file of its own and exactly
    // one index line, and every file in the folder is listed.
    const std::string userDir = Temp.Path() + "/data/PATTERN";
    const std::string source = Source(Pattern(4));
    constexpr int Copies = 4;
    constexpr int Each = 8;
    std::vector<pid_t> children;
    for (int c = 0; c < Copies; ++c)
    {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
        {
            int status = 0;
            for (int i = 0; i < Each; ++i)
                try
                {
                    AddUserPattern(userDir, TPatternKind::Drum, source,
                                   "P" + std::to_string(c) + "-" + std::to_string(i));
                }
                catch (...)
                {
                    status = 1;
                }
            std::_Exit(status);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children)
    {
        int status = -1;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "an add failed";
    }
    std::vector<std::string> listed;
    std::set<std::string> names;
    std::istringstream index(ReadWholeFile(userDir + "/USER/DRUM00.DAT"));
    for (std::string line; std::getline(index, line);)
    {
        listed.push_back(line.substr(0, line.find(" | ")));
        names.insert(line.substr(line.find(" | ") + 3));
    }
    EXPECT_EQ(names.size(), std::size_t{Copies * Each});
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(userDir + "/USER"))
        if (entry.path().extension() == ".MID")
            files.push_back("USER/" + entry.path().filename().string());
    std::sort(listed.begin(), listed.end());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(listed, files) << "each file listed once, and no file unlisted";
}

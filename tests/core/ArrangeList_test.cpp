#include "base/Exceptions.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{
const std::string Dir = "/opt/lyr/PATTERN";

TArrangeList Load(std::string_view text)
{
    TArrangeList list;
    list.LoadIndexText(text, Dir);
    return list;
}

/// A scratch directory removed with its contents at the end of the test.
class TScratchDir
{
public:
    explicit TScratchDir(const std::string& name)
        : Path(fs::temp_directory_path() / (name + "_" + std::to_string(::getpid())))
    {
        fs::remove_all(Path);
        fs::create_directories(Path);
    }
    ~TScratchDir() { fs::remove_all(Path); }

    void Write(const std::string& relative, const std::string& text) const
    {
        fs::create_directories((Path / relative).parent_path());
        std::ofstream(Path / relative, std::ios::binary) << text;
    }

    fs::path Path;
};
} // namespace

TEST(ArrangeListTest, SplitsFileAndNameAtTheFirstBarAndTrimsBoth)
{
    const TArrangeList list = Load("BACK01.MID | Pop Strum\r\n"
                                   "\t USER\\sub\\x.mid \x01|\tSlow  Waltz \x7F\r\n"
                                   "a.mid | one | two\r\n"
                                   "no bar here\r\n"
                                   "b.mid|\r\n");
    const std::vector<std::string> names = {"Pop Strum", "Slow  Waltz \x7F", "one | two", "", ""};
    const std::vector<std::string> files = {Dir + "/BACK01.MID", Dir + "/USER/sub/x.mid",
                                            Dir + "/a.mid", Dir, Dir + "/b.mid"};
    EXPECT_EQ(list.Names, names);
    EXPECT_EQ(list.FileNames, files);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_TRUE(list.NamesPattern(0));
    EXPECT_FALSE(list.NamesPattern(3)); // no bar: no file
    EXPECT_TRUE(list.NamesPattern(4));
    EXPECT_FALSE(list.NamesPattern(5));
}

TEST(ArrangeListTest, DisplayNameIsSixtyFourCharactersThenTrimmedThenAtMost63Bytes)
{
    const std::string a63(63, 'A');
    const std::string x62(62, 'x');
    std::string accents; // 40 two-byte characters
    for (int i = 0; i < 40; ++i)
        accents += "\xC3\xA9";
    const TArrangeList list = Load("f| " + a63 + "TAIL\n"               // blank counts among the 64
                                   + "f|" + std::string(70, 'B') + "\n" // 64 characters, 63 bytes
                                   + "f| " + x62 + " tail\n" // cut leaves a blank, trimmed
                                   + "f|" + accents + "\n");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Names[0], a63);
    EXPECT_EQ(list.Names[1], std::string(63, 'B'));
    EXPECT_EQ(list.Names[2], x62);
    EXPECT_EQ(list.Names[3], accents.substr(0, 62)); // whole characters only
}

TEST(ArrangeListTest, LineBreaksOfEveryKindAndEmptyLines)
{
    struct TCase
    {
        std::string Text;
        std::vector<std::string> Names;
    };
    const std::vector<TCase> cases = {
        {"", {}},
        {"a|A", {"A"}},
        {"a|A\n", {"A"}},
        {"a|A\r\n", {"A"}},
        {"a|A\r", {"A"}},
        {"\n", {""}},
        {"a|A\nb|B\rc|C\r\nd|D", {"A", "B", "C", "D"}},
        {"a|A\n\nb|B\n", {"A", "", "B"}},
        {"a|A\r\rb|B", {"A", "", "B"}},
        {"a|A\r\n\r\nb|B\r\n\r\n", {"A", "", "B", ""}},
        {"a|A\n\r", {"A", ""}}, // LF then CR: two breaks
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Load(c.Text).Names, c.Names) << '"' << c.Text << '"';
}

TEST(ArrangeListTest, EmptyLineNamesNoPatternButIsFound)
{
    TArrangeList list = Load("a.mid|Alpha\n\nb.mid|Beta\n");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.FileNames[1], Dir);
    EXPECT_EQ(list.IndexOf(""), 1);
    EXPECT_FALSE(list.NamesPattern(1));
    EXPECT_EQ(list.FindPatternFile(""), "");
    EXPECT_EQ(list.FindPatternFile("missing"), "");
    // Not on disk: given back as listed, so the load that follows names the file.
    EXPECT_EQ(list.FindPatternFile("BETA"), Dir + "/b.mid");

    // A second load appends; Clear empties both lists.
    list.LoadIndexText("c.mid|Gamma", Dir);
    EXPECT_EQ(list.IndexOf("gamma"), 3);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(list.Names.empty());
}

TEST(ArrangeListTest, IndexOfIgnoresAsciiCaseAndTakesTheFirstMatch)
{
    const TArrangeList list = Load("1|Pop Strum\n2|Rock\n3|POP STRUM\n4|\xC3\x89t\xC3\xA9\n");
    EXPECT_EQ(list.IndexOf("pop strum"), 0);
    EXPECT_EQ(list.IndexOf("POP STRUM"), 0);
    EXPECT_EQ(list.IndexOf("rOCK"), 1);
    EXPECT_EQ(list.IndexOf("Roc"), -1);
    EXPECT_EQ(list.IndexOf("None"), -1);
    EXPECT_EQ(list.IndexOf("\xC3\x89t\xC3\xA9"), 3);
    EXPECT_EQ(list.IndexOf("\xC3\xA9t\xC3\xA9"), -1); // only ASCII letters fold
}

TEST(ArrangeListTest, ResolvePatternFileMatchesEachComponentIgnoringCase)
{
    TScratchDir dir("lyravane_resolve");
    dir.Write("PATTERN/USER/UDrum01.MID", "x");
    const std::string root = dir.Path.string();
    const std::string exact = root + "/PATTERN/USER/UDrum01.MID";
    EXPECT_EQ(ResolvePatternFile(exact), exact);
    EXPECT_EQ(ResolvePatternFile(root + "/PATTERN/user/udrum01.mid"), exact);
    EXPECT_EQ(ResolvePatternFile(root + "//pattern/USER/UDRUM01.mid"), exact);
    const std::string missing = root + "/PATTERN/user/udrum02.mid";
    EXPECT_EQ(ResolvePatternFile(missing), missing);
}

TEST(ArrangeListTest, LibrariesHoldShippedEntriesThenEachUserFileThatCanBeRead)
{
    TScratchDir dir("lyravane_libraries");
    const std::string pattern = (dir.Path / "PATTERN").string();
    dir.Write("PATTERN/BACK00.DAT", "BACK01.MID | Pop Strum\r\nBACK02.MID | Ballad\r\n");
    dir.Write("PATTERN/BASS00.DAT", "BASS01.MID | Walk\r\n");
    dir.Write("PATTERN/DRUM00.DAT", "DRUM01.MID | Beat\r\n");

    LoadPatternLibraries(pattern);
    EXPECT_EQ(BackPatterns.Names, (std::vector<std::string>{"Pop Strum", "Ballad"}));
    EXPECT_EQ(BassPatterns.Names, (std::vector<std::string>{"Walk"}));
    EXPECT_EQ(DrumPatterns.Names, (std::vector<std::string>{"Beat"}));
    EXPECT_EQ(BassPatterns.FileNames[0], pattern + "/BASS01.MID");

    // User files: back readable, bass unreadable (a directory), drums readable.
    dir.Write("PATTERN/USER/BACK00.DAT", "USER\\UBACK01.MID | User Pad\nBACK01.MID | POP STRUM");
    fs::create_directories(dir.Path / "PATTERN/USER/BASS00.DAT");
    dir.Write("PATTERN/USER/drum00.dat", "USER\\udrum01.mid | User Beat\n");
    dir.Write("PATTERN/USER/UBACK01.MID", "x");
    dir.Write("PATTERN/USER/UDRUM01.MID", "x");

    LoadPatternLibraries(pattern);
    EXPECT_EQ(BackPatterns.Names,
              (std::vector<std::string>{"Pop Strum", "Ballad", "User Pad", "POP STRUM"}));
    EXPECT_EQ(BassPatterns.Names, (std::vector<std::string>{"Walk"}));
    EXPECT_EQ(DrumPatterns.Names, (std::vector<std::string>{"Beat", "User Beat"}));
    EXPECT_EQ(BackPatterns.IndexOf("pop strum"), 0); // the shipped entry wins
    EXPECT_EQ(BackPatterns.FileNames[2], pattern + "/USER/UBACK01.MID");
    EXPECT_EQ(DrumPatterns.FindPatternFile("user beat"), pattern + "/USER/UDRUM01.MID");

    // A shipped index file is required.
    fs::remove(dir.Path / "PATTERN/DRUM00.DAT");
    EXPECT_THROW(LoadPatternLibraries(pattern), EFOpenError);
    BackPatterns.Clear();
    BassPatterns.Clear();
    DrumPatterns.Clear();
}

TEST(ArrangeListTest, UserDataLibraryComesAfterTheOneBesideTheProgram)
{
    TScratchDir dir("lyravane_user_data");
    const std::string pattern = (dir.Path / "share/PATTERN").string();
    const std::string userData = (dir.Path / "data/PATTERN").string();
    dir.Write("share/PATTERN/BACK00.DAT", "BACK01.MID | Pop\n");
    dir.Write("share/PATTERN/BASS00.DAT", "BASS01.MID | Walk\n");
    dir.Write("share/PATTERN/DRUM00.DAT", "DRUM01.MID | Beat\n");
    dir.Write("share/PATTERN/USER/BACK00.DAT", "USER/UBACK01.MID | Beside\n");
    dir.Write("data/PATTERN/USER/BACK00.DAT", "USER/BACKU001.MID | Mine\nUSER/B.MID | beside\n");
    // Unreadable (a directory): ignored, the others still load.
    fs::create_directories(dir.Path / "data/PATTERN/USER/BASS00.DAT");
    dir.Write("data/PATTERN/USER/DRUM00.DAT", "USER/DRUMU001.MID | My Beat");

    LoadPatternLibraries(pattern, userData);
    EXPECT_EQ(BackPatterns.Names, (std::vector<std::string>{"Pop", "Beside", "Mine", "beside"}));
    EXPECT_EQ(BassPatterns.Names, (std::vector<std::string>{"Walk"}));
    EXPECT_EQ(DrumPatterns.Names, (std::vector<std::string>{"Beat", "My Beat"}));
    // Each library's files lie under its own PATTERN folder; a name listed twice finds the
    // earlier entry.
    EXPECT_EQ(BackPatterns.FileNames[1], pattern + "/USER/UBACK01.MID");
    EXPECT_EQ(BackPatterns.FileNames[2], userData + "/USER/BACKU001.MID");
    EXPECT_EQ(BackPatterns.IndexOf("BESIDE"), 1);

    // Without the folder, or with one that does not exist, only the program's libraries.
    LoadPatternLibraries(pattern, (dir.Path / "nowhere").string());
    EXPECT_EQ(BackPatterns.Count(), 2);
    LoadPatternLibraries(pattern);
    EXPECT_EQ(BackPatterns.Count(), 2);
    BackPatterns.Clear();
    BassPatterns.Clear();
    DrumPatterns.Clear();
}

TEST(ArrangeListTest, ReferenceLibraryLoadsAndEveryListedPatternReads)
{
    LoadPatternLibraries(LYRAVANE_TEST_DATA "/vectors/PATTERN");
    EXPECT_EQ(BackPatterns.Count(), 5);
    EXPECT_EQ(BassPatterns.Count(), 2);
    EXPECT_EQ(DrumPatterns.Count(), 2);
    // A Shift-JIS name is kept as its bytes.
    EXPECT_EQ(BackPatterns.Names[1].substr(0, 3), "4\x95\xAA");
    EXPECT_EQ(BackPatterns.IndexOf("pop strum"), 0);

    for (const TArrangeList* library : {&BackPatterns, &BassPatterns, &DrumPatterns})
    {
        for (const std::string& name : library->Names)
        {
            const std::string file = library->FindPatternFile(name);
            ASSERT_FALSE(file.empty()) << name;
            TMidiData midi;
            midi.LoadFromFile(file);
            int notes = 0;
            for (const auto& track : midi.Tracks)
                for (const auto& event : *track)
                    if ((event->Status() & 0xF0) == 0x90)
                    {
                        ++notes;
                        EXPECT_GT(event->Duration, 0) << name;
                    }
            EXPECT_GT(notes, 0) << name;
        }
    }
    BackPatterns.Clear();
    BassPatterns.Clear();
    DrumPatterns.Clear();
}

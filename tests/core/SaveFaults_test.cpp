// Saves and exports that fail part-way: the file system full, a file size limit, no
// permission, a read-only file or file system, a directory in the way. Each must leave the
// previous file byte for byte as it was, leave no temporary file behind, and raise
// EFCreateError naming the file and the system's reason.
//
// Every save runs in a child process, so that a file size limit, a change of user or a
// private mount stays there. The tests run as root in CI, where file modes do not bind:
// the child then drops to the unprivileged user "nobody" for the permission cases, and the
// file system cases mount a small tmpfs or a read-only bind mount in a mount namespace of
// its own. Where neither is possible the case is skipped and says why.

#include "base/Exceptions.h"
#include "midi/MidiData.h"
#include "model/Munit.h"
#include "model/MusicProject.h"
#include "model/SongBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
constexpr const char* Skip = "SKIP: ";
constexpr uid_t Nobody = 65534;

/// One of the two writers, with the bytes of an old file and a new content larger than
/// the old one, so a fault part-way strikes after some bytes went out.
struct TWriter
{
    std::string Name;
    std::string OldBytes;
    std::function<void(const std::string&)> Save;
    std::size_t NewSize = 0;
};

TWriter ProjectWriter()
{
    TWriter writer;
    writer.Name = "Project";
    TMusicProject old;
    writer.OldBytes = ToBytes(old);

    auto song = std::make_shared<TMusicProject>();
    for (int i = 0; i < 40; ++i)
        song->Items.Add(std::make_unique<TMunit>());
    writer.NewSize = ToBytes(*song).size();
    writer.Save = [song](const std::string& path) { song->SaveToFile(path); };
    return writer;
}

TWriter MidiWriter()
{
    TWriter writer;
    writer.Name = "Midi";
    TMidiData old;
    for (int i = 0; i < 3; ++i)
        old.AddNote(0, i * 384, 300, 0, 60 + i, 100);
    writer.OldBytes = old.SaveToString();

    auto midi = std::make_shared<TMidiData>();
    for (int i = 0; i < 4000; ++i)
        midi->AddNote(i % 5, i * 96, 90, i % 5, 40 + i % 50, 90);
    writer.NewSize = midi->SaveToString().size();
    writer.Save = [midi](const std::string& path) { midi->SaveToFile(path); };
    return writer;
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> Listing(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Join(const std::vector<std::string>& names)
{
    std::string text;
    for (const auto& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

/// Runs body in a child process and returns what it reports: empty when every check
/// held, else the failures, or Skip and the reason the case cannot run here.
std::string InChild(const std::function<std::string()>& body)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return "pipe failed";
    const pid_t pid = ::fork();
    if (pid < 0)
        return "fork failed";
    if (pid == 0)
    {
        ::close(pipeFds[0]);
        std::string report;
        try
        {
            report = body();
        }
        catch (const std::exception& error)
        {
            report = std::string("unexpected exception: ") + error.what();
        }
        const char* p = report.data();
        std::size_t left = report.size();
        while (left > 0)
        {
            const ssize_t n = ::write(pipeFds[1], p, left);
            if (n <= 0)
                break;
            p += n;
            left -= static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string report;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        report += " (the child process died)";
    return report;
}

/// Saves to target, which must fail with EFCreateError for reason; then oldFile must hold
/// oldBytes and dir exactly the names listed.
std::string ExpectCleanFailure(const TWriter& writer, const std::string& target, int reason,
                               const fs::path& oldFile, const fs::path& dir,
                               const std::vector<std::string>& names)
{
    std::string problems;
    try
    {
        writer.Save(target);
        problems += "the save succeeded; ";
    }
    catch (const EFCreateError& error)
    {
        const std::string expected =
            "Cannot create file \"" + target + "\". " + std::strerror(reason);
        if (error.what() != expected)
            problems +=
                "message \"" + std::string(error.what()) + "\", expected \"" + expected + "\"; ";
    }
    catch (const std::exception& error)
    {
        problems += "wrong exception: " + std::string(error.what()) + "; ";
    }
    if (ReadBytes(oldFile) != writer.OldBytes)
        problems += "the old file changed; ";
    const std::vector<std::string> now = Listing(dir);
    if (now != names)
        problems += "the directory holds [" + Join(now) + "], expected [" + Join(names) + "]; ";
    return problems;
}

/// In a child running as root, becomes "nobody", for whom file modes bind.
std::string DropRoot()
{
    if (::geteuid() != 0)
        return {};
    if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
        return std::string(Skip) + "cannot switch to an unprivileged user: " + std::strerror(errno);
    return {};
}

/// In a child, gives it a mount namespace of its own, so its mounts vanish with it.
std::string PrivateMounts()
{
    if (::unshare(CLONE_NEWNS) != 0)
        return std::string(Skip) + "no private mount namespace here (" + std::strerror(errno) +
               "); needs root";
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return std::string(Skip) + "cannot make the mounts private: " + std::strerror(errno);
    return {};
}

class SaveFaultTest : public ::testing::TestWithParam<TWriter (*)()>
{
protected:
    void SetUp() override
    {
        Writer = GetParam()();
        // A parameterised test's name holds a '/', which made a folder inside a folder, and
        // the outer one stayed behind; mkdtemp makes a single fresh one.
        std::string pattern = (fs::temp_directory_path() / "lyravane-savefaults-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr) << std::strerror(errno);
        Dir = pattern;
        fs::permissions(Dir, fs::perms(0755));
        Target = (Dir / "song.out").string();
    }

    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(Dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(Dir, ec);
    }

    void WriteOld(mode_t mode = 0644)
    {
        WriteBytes(Target, Writer.OldBytes);
        ASSERT_EQ(::chmod(Target.c_str(), mode), 0);
    }

    /// Reports a child's findings: skipped, passed, or failed with what it found.
    static void Check(const std::string& report)
    {
        if (report.rfind(Skip, 0) == 0)
            GTEST_SKIP() << report.substr(std::strlen(Skip));
        EXPECT_EQ(report, "");
    }

    /// Saves as user "nobody", who must be refused for want of permission.
    void CheckRefusedToAnUnprivilegedUser()
    {
        Check(InChild(
            [&]() -> std::string
            {
                std::string skip = DropRoot();
                if (!skip.empty())
                    return skip;
                return ExpectCleanFailure(Writer, Target, EACCES, Target, Dir, {"song.out"});
            }));
    }

    TWriter Writer;
    fs::path Dir;
    std::string Target;
};

TEST_P(SaveFaultTest, ASaveThatSucceedsReplacesTheFileAndKeepsItsMode)
{
    // The control case: the harness sees a replacement when there is one.
    WriteOld(0640);
    Check(InChild(
        [&]() -> std::string
        {
            Writer.Save(Target);
            std::string problems;
            const std::string now = ReadBytes(Target);
            if (now.size() != Writer.NewSize || now == Writer.OldBytes)
                problems += "the file was not replaced; ";
            struct stat info
            {
            };
            if (::stat(Target.c_str(), &info) != 0 || (info.st_mode & 07777) != 0640)
                problems += "the mode changed; ";
            if (Listing(Dir) != std::vector<std::string>{"song.out"})
                problems += "left behind: " + Join(Listing(Dir)) + "; ";
            return problems;
        }));
}

TEST_P(SaveFaultTest, AFullFileSystemLeavesTheOldFile)
{
    Check(InChild(
        [&]() -> std::string
        {
            std::string skip = PrivateMounts();
            if (!skip.empty())
                return skip;
            if (::mount("tmpfs", Dir.c_str(), "tmpfs", 0, "size=64k") != 0)
                return std::string(Skip) + "cannot mount a tmpfs: " + std::strerror(errno);
            WriteBytes(Target, Writer.OldBytes);
            // Fill what is left, so the new file runs out of room part-way.
            const std::string filler = (Dir / "filler").string();
            const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT, 0644);
            const std::string block(512, 'x');
            while (::write(fd, block.data(), block.size()) > 0)
            {
            }
            ::close(fd);
            return ExpectCleanFailure(Writer, Target, ENOSPC, Target, Dir, {"filler", "song.out"});
        }));
}

TEST_P(SaveFaultTest, AFileSizeLimitStopsTheWritePartWay)
{
    WriteOld();
    Check(InChild(
        [&]() -> std::string
        {
            // Past the limit write() fails with EFBIG instead of killing the process.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{1000, 1000};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return std::string(Skip) + "cannot limit the file size";
            return ExpectCleanFailure(Writer, Target, EFBIG, Target, Dir, {"song.out"});
        }));
}

TEST_P(SaveFaultTest, ADirectoryWithoutWritePermissionLeavesTheOldFile)
{
    // The old file itself may be written; only the directory refuses the new one.
    WriteOld(0666);
    fs::permissions(Dir, fs::perms(0555));
    CheckRefusedToAnUnprivilegedUser();
}

TEST_P(SaveFaultTest, AReadOnlyFileIsNotReplaced)
{
    WriteOld(0444);
    fs::permissions(Dir, fs::perms(0777));
    CheckRefusedToAnUnprivilegedUser();
}

TEST_P(SaveFaultTest, AReadOnlyFileSystemLeavesTheOldFile)
{
    WriteOld();
    Check(InChild(
        [&]() -> std::string
        {
            std::string skip = PrivateMounts();
            if (!skip.empty())
                return skip;
            if (::mount(Dir.c_str(), Dir.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
                ::mount(nullptr, Dir.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
                    0)
                return std::string(Skip) +
                       "cannot make a read-only bind mount: " + std::strerror(errno);
            return ExpectCleanFailure(Writer, Target, EROFS, Target, Dir, {"song.out"});
        }));
}

TEST_P(SaveFaultTest, ADirectoryInTheWayIsLeftAsItWas)
{
    // The target's name is taken by a directory.
    fs::create_directory(Target);
    WriteBytes(Dir / "song.out" / "inside", Writer.OldBytes);
    Check(InChild(
        [&]() -> std::string
        {
            return ExpectCleanFailure(Writer, Target, EISDIR, Dir / "song.out" / "inside", Dir,
                                      {"song.out"});
        }));
    EXPECT_EQ(Listing(Target), std::vector<std::string>{"inside"});
}

TEST_P(SaveFaultTest, AFileWhereTheDirectoryShouldBeIsLeftAsItWas)
{
    // The target's directory is in fact a file: the old song.
    WriteOld();
    const std::string below = Target + "/new.out";
    Check(
        InChild([&]() -> std::string
                { return ExpectCleanFailure(Writer, below, ENOTDIR, Target, Dir, {"song.out"}); }));
}

TEST_P(SaveFaultTest, ALinkIsFollowedAndTheFileKeepsItsOwnerAndGroup)
{
    // The link stays a link; the file it points to gets the new content, in its own
    // directory, with the owner and group it had.
    fs::create_directory(Dir / "real");
    const fs::path real = Dir / "real" / "song.out";
    WriteBytes(real, Writer.OldBytes);
    const bool root = ::geteuid() == 0;
    if (root)
    {
        ASSERT_EQ(::chown(real.c_str(), Nobody, Nobody), 0);
    }
    fs::create_symlink("real/song.out", Target);
    Check(InChild(
        [&]() -> std::string
        {
            Writer.Save(Target);
            std::string problems;
            if (!fs::is_symlink(Target))
                problems += "the link was replaced; ";
            if (ReadBytes(real).size() != Writer.NewSize)
                problems += "the linked file was not replaced; ";
            if (Listing(Dir / "real") != std::vector<std::string>{"song.out"})
                problems += "left behind: " + Join(Listing(Dir / "real")) + "; ";
            struct stat info
            {
            };
            if (root && (::stat(real.c_str(), &info) != 0 || info.st_uid != Nobody ||
                         info.st_gid != Nobody))
                problems += "the owner or group changed; ";
            return problems;
        }));
}

TEST_P(SaveFaultTest, AFileWithSeveralHardLinksIsReplacedUnderTheSavedNameOnly)
{
    WriteOld();
    const fs::path other = Dir / "other.out";
    fs::create_hard_link(Target, other);
    Check(InChild(
        [&]() -> std::string
        {
            Writer.Save(Target);
            std::string problems;
            if (ReadBytes(Target).size() != Writer.NewSize)
                problems += "the saved name was not replaced; ";
            if (ReadBytes(other) != Writer.OldBytes)
                problems += "the other name changed; ";
            return problems;
        }));
}

TEST_P(SaveFaultTest, TheLongestLegalNameIsSaved)
{
    const std::string name = std::string(251, 'n') + ".out";
    Check(InChild(
        [&]() -> std::string
        {
            Writer.Save((Dir / name).string());
            return Listing(Dir) == std::vector<std::string>{name} ? "" : "not saved as named";
        }));
}

TEST_P(SaveFaultTest, APipeOrADeviceIsWrittenIntoNotReplaced)
{
    // A reader at the other end of a named pipe gets the whole file.
    const fs::path pipe = Dir / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    Check(InChild(
        [&]() -> std::string
        {
            std::string received;
            std::thread reader([&] { received = ReadBytes(pipe); });
            Writer.Save(pipe.string());
            if (!fs::is_fifo(pipe))
            {
                // The reader waits on a pipe nobody can reach any more.
                reader.detach();
                return "the pipe was replaced";
            }
            reader.join();
            if (received.size() != Writer.NewSize)
                return "the reader got " + std::to_string(received.size()) + " bytes";
            return Listing(Dir) == std::vector<std::string>{"pipe"} ? "" : "a file was left";
        }));
    // A device node of our own, so that a fault replaces nothing of the system's.
    const fs::path null = Dir / "null";
    if (::mknod(null.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
        GTEST_SKIP() << "cannot make a device node: " << std::strerror(errno);
    Check(InChild(
        [&]() -> std::string
        {
            Writer.Save(null.string());
            return fs::is_character_file(null) ? "" : "the device was replaced";
        }));
}

std::string WriterName(const ::testing::TestParamInfo<TWriter (*)()>& info)
{
    return info.param().Name;
}

INSTANTIATE_TEST_SUITE_P(Writers, SaveFaultTest, ::testing::Values(&ProjectWriter, &MidiWriter),
                         WriterName);
} // namespace

TEST(StaleTemporaryFilesTest, ASaveRemovesOnlyItsKindsLeftOversNobodyWrites)
{
    const fs::path dir =
        fs::temp_directory_path() / ("lyravane-stale-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const auto age = [&](const std::string& name, bool old)
    {
        WriteBytes(dir / name, "x");
        const timespec past{::time(nullptr) - 2 * 3600, 0};
        const timespec times[2] = {past, past};
        if (old)
            ::utimensat(AT_FDCWD, (dir / name).c_str(), times, 0);
    };
    age(".song.lvp.Ab12Cd", true);  // a killed save's: goes
    age(".play.wav.XYZ123", true);  // the file output's: goes
    age(".song.lvp.Qw12Er", false); // recent: may be a save of another version under way
    age(".bashrc.backup", true);    // not ours
    age("song.lvp.Ab12Cd", true);   // not hidden
    age(".notes.txt.Ab12Cd", true); // not a kind we write
    age(".held.mid.Zz99Yy", true);  // its save still holds its lock
    const int held = ::open((dir / ".held.mid.Zz99Yy").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    TMidiData midi;
    midi.SaveToFile((dir / "out.mid").string());
    ::close(held);
    EXPECT_EQ(Listing(dir),
              (std::vector<std::string>{".bashrc.backup", ".held.mid.Zz99Yy", ".notes.txt.Ab12Cd",
                                        ".song.lvp.Qw12Er", "out.mid", "song.lvp.Ab12Cd"}));
    fs::remove_all(dir);
}

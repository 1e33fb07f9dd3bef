#include "base/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(TempDirTest, PrivateDirectoryInsideTheSystemTemporaryDirectory)
{
    std::string path;
    {
        TTempDir temp;
        path = temp.Path();
        EXPECT_EQ(fs::path(path).parent_path(), fs::temp_directory_path());
        struct stat info
        {
        };
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700u) << "nobody else may read or place files there";
        EXPECT_EQ(temp.TempMidiFile(), path + "/$$$.mid");

        std::ofstream(temp.TempMidiFile()) << "MThd";
        EXPECT_TRUE(fs::exists(temp.TempMidiFile()));
    }
    EXPECT_FALSE(fs::exists(path)) << "removed, with the MIDI file in it, at the end";
}

TEST(TempDirTest, EveryRunGetsADirectoryOfItsOwn)
{
    TTempDir a;
    TTempDir b;
    EXPECT_NE(a.Path(), b.Path());
    EXPECT_NE(a.TempMidiFile(), b.TempMidiFile());
}

namespace
{
/// Runs body in a child process with TMPDIR set to tmp; returns its wait status.
template <typename TBody> int InChildWithTmpDir(const fs::path& tmp, TBody body)
{
    const pid_t pid = ::fork();
    if (pid == 0)
    {
        ::setenv("TMPDIR", tmp.c_str(), 1);
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}
} // namespace

TEST(TempDirTest, TerminationRemovesTheDirectoryAndFoldersOfDeadProcessesGo)
{
    TTempDir scratch;
    const fs::path tmp = scratch.Path();
    // A process ended by SIGTERM or SIGHUP still removes its directory, and dies of the
    // signal as before.
    for (const int signal : {SIGTERM, SIGHUP})
    {
        const int status = InChildWithTmpDir(tmp,
                                             [signal]
                                             {
                                                 TTempDir temp;
                                                 temp.RemoveWhenTerminated();
                                                 std::ofstream(temp.TempMidiFile()) << "MThd";
                                                 std::raise(signal);
                                             });
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_TRUE(fs::is_empty(tmp)) << "signal " << signal;
    }

    // A directory left by a process that is gone goes when the next one is made; that of a
    // living process, another program's or another user's stays.
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string dead = "lyravane-" + std::to_string(gone) + "-aB3dE6";
    const std::string alive = "lyravane-" + std::to_string(::getpid()) + "-aB3dE6";
    const std::string other = "lyravane-savefaults-aB3dE6";
    const std::string others = "lyravane-" + std::to_string(gone) + "-zZ9yY8";
    // Its process still holds the lock: one of another pid namespace sharing the folder.
    const std::string locked = "lyravane-" + std::to_string(gone) + "-lL7kK6";
    for (const auto& name : {dead, alive, other, others, locked})
        fs::create_directory(tmp / name);
    const int lock = ::open((tmp / locked).c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    std::ofstream(tmp / dead / "$$$.mid") << "MThd";
    const bool root = ::geteuid() == 0;
    if (root)
    {
        ASSERT_EQ(::chown((tmp / others).c_str(), 65534, 65534), 0);
    }
    InChildWithTmpDir(tmp, [] { TTempDir temp; });
    EXPECT_FALSE(fs::exists(tmp / dead));
    EXPECT_TRUE(fs::exists(tmp / alive));
    EXPECT_TRUE(fs::exists(tmp / other));
    EXPECT_EQ(fs::exists(tmp / others), root) << "only ours";
    EXPECT_TRUE(fs::exists(tmp / locked));
    ::close(lock);
}

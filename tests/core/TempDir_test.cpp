#include "base/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

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

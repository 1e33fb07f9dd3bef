#include "AudioTestSupport.h"

#include "base/FileIO.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <sndfile.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{
const std::string Cli = std::string(LYRAVANE_BIN_DIR) + "/lyravane-cli";

/// lyravane-cli with its standard error in errFile and TMPDIR set to tmpDir.
pid_t Start(const std::vector<std::string>& args, const std::string& errFile,
            const std::string& tmpDir)
{
    std::vector<std::string> words{Cli};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    std::vector<std::string> env{"TMPDIR=" + tmpDir};
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("TMPDIR=", 0) != 0)
            env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, Cli.c_str(), &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int Wait(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

struct TRun
{
    int Status;
    std::string Errors;
};

TRun RunCli(const std::vector<std::string>& args, const TScratchDir& dir)
{
    const std::string err =
        dir.Path() + "/../" + std::filesystem::path(dir.Path()).filename().string() + ".err";
    const int status = Wait(Start(args, err, dir.Path()));
    TRun run{status, ReadWholeFile(err)};
    std::filesystem::remove(err);
    return run;
}
} // namespace

TEST(CliAudioTest, RenderWritesAWavAtTheSampleRateAsked)
{
    if (!HaveDefaultSoundFont())
        GTEST_FAIL() << "No SoundFont (package fluid-soundfont-gm)";
    TScratchDir dir;
    const std::string wav = dir.File("song.wav");
    const TRun run = RunCli({"render", Vectors + "/compose/out_0.lvp", "-o", wav, "--sample-rate",
                             "22050", "--gm-reset", "--pattern-dir", Vectors + "/PATTERN"},
                            dir);
    ASSERT_EQ(run.Status, 0) << run.Errors;
    EXPECT_NE(run.Errors.find("rendered " + wav), std::string::npos) << run.Errors;
    const TWav audio = ReadWav(wav);
    EXPECT_EQ(audio.SampleRate, 22050);
    EXPECT_EQ(audio.Channels, 2);
    EXPECT_GT(audio.Seconds(), 5.0);
    EXPECT_GT(Rms(audio, 0, audio.Seconds()), 0.01);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"song.wav"}) << "no temporary file left";
}

TEST(CliAudioTest, RenderTakesTheFormatAndLoudnessAsked)
{
    if (!HaveDefaultSoundFont())
        GTEST_FAIL() << "No SoundFont (package fluid-soundfont-gm)";
    TScratchDir dir;
    // --format wins over a name that says nothing; the loudness is measured independently.
    const std::string out = dir.File("song.out");
    const TRun run =
        RunCli({"render", Vectors + "/compose/out_0.lvp", "-o", out, "--format", "flac", "--bits",
                "24", "--loudness", "-23", "--pattern-dir", Vectors + "/PATTERN"},
               dir);
    ASSERT_EQ(run.Status, 0) << run.Errors;
    EXPECT_NE(run.Errors.find("rendered " + out), std::string::npos) << run.Errors;
    EXPECT_NE(run.Errors.find("loudness -23.0 LUFS"), std::string::npos) << run.Errors;
    const TReadBack sound = ReadBack(out);
    EXPECT_EQ(sound.Format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    double lufs = 0;
    double peak = 0;
    Measure(sound, lufs, peak);
    EXPECT_NEAR(lufs, -23.0, 0.5);
    EXPECT_LE(peak, -1.0);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"song.out"});

    // Mistakes are refused before anything is written.
    const std::vector<std::vector<std::string>> mistakes = {
        {"-o", dir.File("a.wav"), "--format", "mp3"},
        {"-o", dir.File("a.wav"), "--bits", "20"},
        {"-o", dir.File("a.ogg"), "--bits", "24"},
        {"-o", dir.File("a.wav"), "--loudness", "-14", "--no-normalize"},
    };
    for (const auto& mistake : mistakes)
    {
        std::vector<std::string> args = {"render", Vectors + "/compose/out_0.lvp"};
        args.insert(args.end(), mistake.begin(), mistake.end());
        const TRun refused = RunCli(args, dir);
        EXPECT_EQ(refused.Status, 2) << refused.Errors;
        EXPECT_NE(refused.Errors.find("usage:"), std::string::npos) << refused.Errors;
    }
    EXPECT_EQ(dir.List(), std::vector<std::string>{"song.out"});
}

TEST(CliAudioTest, RenderWithoutSoundFontSaysWhatIsMissingAndWritesNothing)
{
    TScratchDir dir;
    const TRun run =
        RunCli({"render", Vectors + "/compose/out_0.lvp", "-o", dir.File("song.wav"), "--soundfont",
                "/nonexistent/GM.sf2", "--pattern-dir", Vectors + "/PATTERN"},
               dir);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Errors, "lyravane-cli render: No SoundFont found at /nonexistent/GM.sf2: "
                          "install the package fluid-soundfont-gm or choose a SoundFont\n");
    EXPECT_TRUE(dir.List().empty());
    // Without FluidSynth itself: the reason, raised from the loader's once-only setup, reaches
    // the command's message and exit status (not an abort).
    ::setenv("LYRAVANE_FLUIDSYNTH_LIBRARY", "libfluidsynth-not-here.so.3", 1);
    const TRun lost = RunCli({"render", Vectors + "/compose/out_0.lvp", "-o", dir.File("song.wav"),
                              "--pattern-dir", Vectors + "/PATTERN"},
                             dir);
    ::unsetenv("LYRAVANE_FLUIDSYNTH_LIBRARY");
    EXPECT_EQ(lost.Status, 1);
    EXPECT_NE(lost.Errors.find("install the package libfluidsynth3"), std::string::npos)
        << lost.Errors;
    EXPECT_TRUE(dir.List().empty());
}

TEST(CliAudioTest, PlayStopsCleanlyOnCtrlC)
{
    if (!HaveDefaultSoundFont())
        GTEST_FAIL() << "No SoundFont (package fluid-soundfont-gm)";
    TScratchDir dir;
    const std::string err =
        dir.File("../" + std::filesystem::path(dir.Path()).filename().string() + ".play.err");
    const pid_t pid = Start({"play", Vectors + "/compose/out_0.lvp", "--audio-driver", "null",
                             "--pattern-dir", Vectors + "/PATTERN"},
                            err, dir.Path());
    // Wait until it plays, then interrupt it as Ctrl+C would.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (ReadWholeFile(err).find("playing") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ::kill(pid, SIGINT);
    const int status = Wait(pid);
    const std::string errors = ReadWholeFile(err);
    std::filesystem::remove(err);
    EXPECT_EQ(status, 130) << errors;
    EXPECT_NE(errors.find("playing"), std::string::npos) << errors;
    EXPECT_NE(errors.find("stopped"), std::string::npos) << errors;
    // Its private temporary directory, "$$$.mid" and all, is gone.
    EXPECT_TRUE(dir.List().empty());
}

TEST(CliAudioTest, RenderStoppedBySignalsLeavesNoTemporaryFile)
{
    if (!HaveDefaultSoundFont())
        GTEST_FAIL() << "No SoundFont (package fluid-soundfont-gm)";
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
    {
        TScratchDir dir;
        const std::string err =
            dir.File("../" + std::filesystem::path(dir.Path()).filename().string() + ".err");
        const pid_t pid =
            Start({"render", Vectors + "/compose/out_0.lvp", "-o", dir.File("song.wav"), "--repeat",
                   "4", "--sample-rate", "96000", "--pattern-dir", Vectors + "/PATTERN"},
                  err, dir.Path());
        // Stop it once the WAV file is being written beside its target.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (dir.List().empty() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_FALSE(dir.List().empty()) << "the rendering never started writing";
        ::kill(pid, signal);
        const int status = Wait(pid);
        const std::string errors = ReadWholeFile(err);
        std::filesystem::remove(err);
        EXPECT_EQ(status, 128 + signal) << errors;
        EXPECT_NE(errors.find("lyravane-cli render: stopped by SIG"), std::string::npos) << errors;
        EXPECT_TRUE(dir.List().empty()) << "left behind: " << dir.List().front();
    }
}

TEST(CliAudioTest, ASoundFontThatIsAFifoIsRefusedAtOnce)
{
    // Opening a FIFO nobody writes to waits for ever: it must never reach the loader.
    TScratchDir dir;
    const std::string base =
        dir.File("../" + std::filesystem::path(dir.Path()).filename().string());
    const std::string soundFont = base + ".sf2";
    const std::string err = base + ".load.err";
    ASSERT_EQ(::mkfifo(soundFont.c_str(), 0600), 0);
    const std::string song = Vectors + "/compose/out_0.lvp";
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"play", song, "--audio-driver", "null"},
          std::vector<std::string>{"render", song, "-o", dir.File("song.wav")}})
    {
        std::vector<std::string> args = command;
        args.insert(args.end(), {"--soundfont", soundFont, "--pattern-dir", Vectors + "/PATTERN"});
        const pid_t pid = Start(args, err, dir.Path());
        int status = -1;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (::waitpid(pid, &status, WNOHANG) == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (std::chrono::steady_clock::now() >= deadline)
        {
            ADD_FAILURE() << command[0] << " waits on the FIFO";
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
        }
        const std::string errors = ReadWholeFile(err);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status << ": " << errors;
        EXPECT_NE(errors.find("is not a regular file"), std::string::npos) << errors;
    }
    std::filesystem::remove(err);
    std::filesystem::remove(soundFont);
    EXPECT_TRUE(dir.List().empty());
}

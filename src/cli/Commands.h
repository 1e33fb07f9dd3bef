#pragma once

#include <string>
#include <vector>

class TArgs;
class TMidiData;
class TMusicProject;

// Each command takes the words after its name and returns the exit status.
int CmdNew(const std::vector<std::string>& words);
int CmdInfo(const std::vector<std::string>& words);
int CmdCompose(const std::vector<std::string>& words);
int CmdRandomize(const std::vector<std::string>& words);
int CmdExport(const std::vector<std::string>& words);
int CmdPreview(const std::vector<std::string>& words);
int CmdRender(const std::vector<std::string>& words);
int CmdPlay(const std::vector<std::string>& words);
int CmdCheckPattern(const std::vector<std::string>& words);

// Shared by the commands.

/// Loads the three pattern libraries of --pattern-dir, else of the PATTERN directory beside
/// the executable, else of the installed one (a missing main index file is an error), then
/// the user's additions in their data folder (UserDataDir()/PATTERN/USER).
void LoadLibraries(const TArgs& args);
/// Names on standard error each pattern the song asks for that no library lists.
void WarnOfMissingPatterns(const TMusicProject& song);
/// Loads a song from a project file, with its units attached to their property sets.
void LoadSong(TMusicProject& song, const std::string& path);
/// The song (unitEntry 0) or the single unit of that entry, as playback and export render
/// it, with --repeat, --gm-reset and --track-names; loads the libraries of --pattern-dir and the
/// input song.
TMidiData RenderForPlayback(const TArgs& args, long long unitEntry);
/// Refuses an output that is the same file as input (under any name): the command would
/// replace what it reads with a file of another kind.
void RefuseOutputOverInput(const std::string& output, const std::string& input);

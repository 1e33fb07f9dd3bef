#pragma once

#include <string>

struct TScore;

/// The score as a MusicXML 4.0 score-partwise document (UTF-8): a lead sheet (the melody
/// with chord symbols) or, for a full score, the four accompaniment parts after it, the
/// drums as a percussion part of General MIDI keys. Each unit starts a new system with its
/// name as a rehearsal mark; a song played more than once is written once between repeat
/// bar lines that give the count.
std::string WriteMusicXml(const TScore& score);

/// The part names, in track order: "Melodía", "Acomp. 1", "Acomp. 2", "Bajo", "Batería".
const char* ScorePartName(int track);

class TMusicProject;

/// The title a score takes from a file name: its last component without the extension.
std::string ScoreTitleFromPath(const std::string& path);

/// Writes the song's score to fileName through a temporary file (see TSafeFile): MusicXML
/// text, or a compressed .mxl container when the name ends in ".mxl". Raises what rendering
/// and writing raise; the pattern libraries must be loaded.
void SaveScoreFile(const TMusicProject& project, const std::string& fileName,
                   const std::string& title, int repeatCount, bool fullScore);

#pragma once

#include "audio/AbstractMediaPlayer.h"

#include <QSettings>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>

/// The program's settings, "Vemora"/"LYRV1999" of the current user (the registry on
/// Windows, an INI file elsewhere); an INI file at iniPath instead when it is not empty.
std::unique_ptr<QSettings> OpenLyravaneSettings(const QString& iniPath);

/// The program's folder for the user's own data (QStandardPaths::AppDataLocation), where the
/// recovery files and the user's pattern library live.
QString UserDataFolder();

/// The song plays 1 to MaxRepeatCount times ("RepeatCount").
constexpr int MaxRepeatCount = 4;

/// The playing options of the "Opciones" dialog, kept as "RepeatCount" and "IncludeReset",
/// and whether exported MIDI files name their tracks ("MidiTrackNames", off unless set).
struct TPlaybackSettings
{
    std::int32_t RepeatCount = 1;
    bool IncludeReset = false;
    bool MidiTrackNames = false;
};

/// Reading stops at the first value that is missing or of the wrong type; what was read
/// before it stays. A repeat count outside 1 to 4 reads as 1.
TPlaybackSettings ReadPlaybackSettings(const QString& iniPath);
/// A failure is not reported: the old values stay.
void WritePlaybackSettings(const QString& iniPath, const TPlaybackSettings& values);

/// "Playback/CountIn" and "Playback/Metronome" ("Claqueta", "Metrónomo"), off unless set.
TClicks ReadClickSettings(const QString& iniPath);
void WriteClickSettings(const QString& iniPath, TClicks clicks);

/// "View/SongOverview": "Vista de la canción" is on; off unless set.
bool ReadSongOverviewSetting(const QString& iniPath);
void WriteSongOverviewSetting(const QString& iniPath, bool on);

/// "Recovery/IntervalSeconds": how long after a change the song with unsaved changes is
/// written to its recovery file, in seconds; 60 when missing or not a number, at least 5 and
/// at most a day (86,400).
int ReadRecoveryInterval(const QString& iniPath);

/// The live audio output: "Sound/AudioDriver", a FluidSynth audio driver name (empty: the
/// default, pulseaudio then alsa; "file": real time into a WAV file), and "Sound/AudioFile",
/// that file (empty: "fluidsynth.wav" in the current directory). Both trimmed.
struct TAudioOutputSettings
{
    std::string Driver;
    std::string FileName;
};
TAudioOutputSettings ReadAudioOutputSettings(const QString& iniPath);
/// How "Exportar a audio..." writes: "Export/Normalize" (on when missing) and
/// "Export/LoudnessLufs", one of ExportLoudnessChoices (the first when missing or another).
struct TExportSettings
{
    bool Normalize = true;
    int LoudnessLufs = -14;
};
inline constexpr int ExportLoudnessChoices[] = {-14, -16, -23};

TExportSettings ReadExportSettings(const QString& iniPath);
void WriteExportSettings(const QString& iniPath, const TExportSettings& values);

/// "SoundFont": the SoundFont file the synthesiser loads; empty when none was chosen.
QString ReadSoundFontSetting(const QString& iniPath);
void WriteSoundFontSetting(const QString& iniPath, const QString& path);

/// "Window/Scale": the size of the window and its dialogs, in percent, one of the choices;
/// 100 when missing or not one of them. It takes effect at the next start.
inline constexpr int WindowScaleChoices[] = {100, 125, 150, 200};
int ReadWindowScale(const QString& iniPath);
/// "Language": "" (the system's), "es" or "en"; anything else reads as "".
QString ReadLanguageSetting(const QString& iniPath);
void WriteLanguageSetting(const QString& iniPath, const QString& language);
void WriteWindowScale(const QString& iniPath, int percent);
/// The largest choice at or below percent at which a window of size (at 100 %) fits an area
/// of size (screen pixels); 100 when none larger does.
int FittingWindowScale(int percent, QSize window, QSize area);

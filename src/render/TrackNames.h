#pragma once

#include <string>

class TMidiData;
class TMuprop;
class TMusicProject;

/// The part a track plays, as the window names it: "Melodía", "Acomp. 1", "Acomp. 2", "Bajo",
/// "Batería" (UTF-8); track 0 to 4.
const char* PartName(int track);

/// A track's instrument as the instrument lists name it, without its program number: "Oboe",
/// "STANDARD" (a drum kit outside the list plays the first kit).
std::string InstrumentName(const TMuprop& property, int track);

/// The name a track of the property set gets in an exported file: "Melodía", "Acomp. 1",
/// "Acomp. 2", "Bajo" or "Batería", then ": " and its instrument as the instrument lists
/// name it ("Melodía: Oboe", "Batería: STANDARD"). UTF-8.
std::string ExportTrackName(const TMuprop& property, int track);

/// Puts a track name meta event (type 03) before everything else in each of the five
/// tracks, named for the property set. An option of the export: without it the file has no
/// names.
void AddTrackNames(TMidiData& midi, const TMuprop& property);
/// The same, named for the song's first property set; a song without one gets no names.
void AddTrackNames(TMidiData& midi, const TMusicProject& song);

#pragma once

#include "base/Message.h"

#include <string>
#include <string_view>
#include <vector>

class TArrangeList;
class TMidiData;

/// The three kinds of accompaniment pattern.
enum class TPatternKind
{
    Back,
    Bass,
    Drum
};

/// Every pattern holds this many bars of 4/4.
constexpr int PatternBarCount = 4;

/// The kind's word on the command line ("back", "bass", "drum"); false for anything else.
bool ParsePatternKind(std::string_view word, TPatternKind& kind);
/// The kind in Spanish, as the reports name it: "acompañamiento", "bajo", "batería".
const char* PatternKindName(TPatternKind kind);
/// The kind's index file name, "BACK00.DAT" and so on.
const char* PatternIndexFile(TPatternKind kind);
/// The process-wide library of the kind.
TArrangeList& PatternLibrary(TPatternKind kind);

/// What a pattern file was found to hold, and what keeps it from being used.
struct TPatternCheck
{
    TPatternKind Kind = TPatternKind::Back;
    int Bars = 0;
    int Notes = 0;
    /// Each fault in a sentence of its own (Spanish, no final full stop); empty when usable.
    std::vector<TMessage> Problems;

    bool Usable() const { return Problems.empty(); }
    /// The whole report: a line saying whether the pattern can be used, then one line per
    /// fault. The program's window and lyravane-cli check-pattern show the same text.
    std::string Report() const;
    /// The same, its words to be translated in the window.
    TMessage ReportMessage() const;
};

/// Checks a loaded pattern against the rules the renderer relies on: 4/4, four bars, notes
/// that end inside their bar, drum keys that General MIDI defines.
TPatternCheck CheckPattern(const TMidiData& midi, TPatternKind kind);
/// Checks the bytes of a Standard MIDI File; a file that cannot be read is one fault.
TPatternCheck CheckPatternBytes(std::string_view bytes, TPatternKind kind);

/// The display name a pattern may be added under, trimmed; raises ELyravaneError saying why
/// when it is empty, too long, holds '|' or a control character, or the library has it.
std::string CheckNewPatternName(std::string_view name, const TArrangeList& library);

/// Copies a usable pattern file into userPatternDir/USER under a new file name and appends
/// its line to the kind's index there, creating folders and index as needed. The source is
/// read once and checked again; a fault raises ELyravaneError with the report, a file that
/// cannot be read EFOpenError, a write failure EFCreateError. Returns the new file's path.
std::string AddUserPattern(const std::string& userPatternDir, TPatternKind kind,
                           const std::string& sourcePath, std::string_view name);

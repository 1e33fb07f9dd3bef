#pragma once

#include <string>
#include <string_view>
#include <vector>

/// A pattern library: display names and pattern file paths, in the order read.
class TArrangeList
{
public:
    /// Full path of each pattern file, "/" separators.
    std::vector<std::string> FileNames;
    /// Display name of each pattern (bytes as stored in the index file).
    std::vector<std::string> Names;

    int Count() const { return static_cast<int>(FileNames.size()); }
    void Clear();

    /// Appends the entries of one index file. Paths are made relative to patternDir (the
    /// PATTERN directory); backslashes in the file are separators. Raises EFOpenError.
    void LoadIndex(const std::string& indexPath, const std::string& patternDir);
    /// Appends the entries of index text already in memory.
    void LoadIndexText(std::string_view text, const std::string& patternDir);

    /// Position of name, ASCII letter case ignored, first match; -1 when absent.
    int IndexOf(std::string_view name) const;

    /// Whether entry index names a pattern file: a line with an empty file name lists only
    /// the PATTERN directory, and a part that uses such an entry stays silent.
    bool NamesPattern(int index) const;
    /// The pattern file of the named entry as found on disk (ResolvePatternFile); empty
    /// when the name is not listed or its entry names no pattern file.
    std::string FindPatternFile(std::string_view name) const;

private:
    /// Per entry read from an index file: 1 when its file name was empty.
    std::vector<unsigned char> FNoFile;
};

/// The path of a listed pattern file as it exists on disk: as written, or when that does
/// not exist a case-insensitive match of each component (pattern sets brought from Windows).
std::string ResolvePatternFile(const std::string& path);

/// The three process-wide libraries.
extern TArrangeList BackPatterns;
extern TArrangeList BassPatterns;
extern TArrangeList DrumPatterns;

/// Clears the libraries and loads BACK00.DAT, BASS00.DAT, DRUM00.DAT from patternDir
/// (a failure raises EFOpenError), then the same names under patternDir/USER/, then under
/// userPatternDir/USER/ when userPatternDir is given (the user's own library in their data
/// folder, its file names relative to userPatternDir); each user index is skipped silently
/// when missing or unreadable.
void LoadPatternLibraries(const std::string& patternDir, const std::string& userPatternDir = {});

/// The PATTERN directory: beside the program, else ../share/lyravane/PATTERN (installed).
std::string FindPatternDir(const std::string& programDir);

#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

class TArrangeList;
class TMidiData;

/// The pattern sequences one rendering uses, each file read at most once while the cache
/// lives. A song of many units plays the same few files over and over. The libraries must
/// not change while a cache lives: it remembers what each name found.
class TPatternCache
{
public:
    TPatternCache();
    ~TPatternCache();
    TPatternCache(const TPatternCache&) = delete;
    TPatternCache& operator=(const TPatternCache&) = delete;

    /// The pattern the library lists under name (ASCII case ignored, first match), loaded;
    /// null when the name is not listed or its entry names no file, so the part is silent.
    /// A file that cannot be read raises EFOpenError, a malformed one EInvalidMidiFile.
    const TMidiData* Find(const TArrangeList& library, std::string_view name);

    /// The pattern in fileName (as listed; found on disk by ResolvePatternFile), read on the
    /// first request.
    const TMidiData& Load(const std::string& fileName);

    /// How many files have been read so far.
    int FilesRead() const { return FFilesRead; }

private:
    std::unordered_map<std::string, std::unique_ptr<TMidiData>> FPatterns;
    /// What a name found in a library (null: nothing), so each name is looked up once.
    std::map<std::pair<const TArrangeList*, std::string>, const TMidiData*> FFound;
    int FFilesRead = 0;
};

#include "render/PatternCache.h"

#include "midi/ArrangeList.h"
#include "midi/MidiData.h"

TPatternCache::TPatternCache() = default;
TPatternCache::~TPatternCache() = default;

const TMidiData* TPatternCache::Find(const TArrangeList& library, std::string_view name)
{
    auto key = std::make_pair(&library, std::string(name));
    auto found = FFound.find(key);
    if (found != FFound.end())
        return found->second;
    const int index = library.IndexOf(name);
    const TMidiData* pattern = nullptr;
    if (index >= 0 && library.NamesPattern(index))
        pattern = &Load(library.FileNames[static_cast<std::size_t>(index)]);
    FFound.emplace(std::move(key), pattern);
    return pattern;
}

const TMidiData& TPatternCache::Load(const std::string& fileName)
{
    auto found = FPatterns.find(fileName);
    if (found != FPatterns.end())
        return *found->second;
    // Loaded aside and kept only when the whole file was good: a failed load leaves
    // nothing behind that a later request could mistake for the pattern.
    auto pattern = std::make_unique<TMidiData>();
    pattern->LoadFromFile(ResolvePatternFile(fileName));
    ++FFilesRead;
    return *FPatterns.emplace(fileName, std::move(pattern)).first->second;
}

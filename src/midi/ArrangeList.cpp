#include "midi/ArrangeList.h"

#include "base/Exceptions.h"
#include "base/FileIO.h"
#include "base/Text.h"

#include <algorithm>
#include <filesystem>
#include <limits>

TArrangeList BackPatterns;
TArrangeList BassPatterns;
TArrangeList DrumPatterns;

namespace
{
constexpr std::size_t DisplayNameChars = 64;

std::string JoinPath(const std::string& dir, std::string_view name)
{
    std::string path = dir;
    if (!path.empty() && path.back() != '/')
        path.push_back('/');
    path.append(name);
    return path;
}

/// The name in dir that equals name with ASCII letter case ignored; the smallest such
/// name when several do, so the choice does not depend on the order of the directory.
std::string FindIgnoringCase(const std::string& dir, std::string_view name)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator it(dir.empty() ? fs::path(".") : fs::path(dir), ec);
    std::string match;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec))
    {
        std::string candidate = it->path().filename().string();
        if (SameTextIgnoringCase(candidate, name) && (match.empty() || candidate < match))
            match = std::move(candidate);
    }
    return match;
}
} // namespace

void TArrangeList::Clear()
{
    FileNames.clear();
    Names.clear();
    FNoFile.clear();
}

void TArrangeList::LoadIndex(const std::string& indexPath, const std::string& patternDir)
{
    LoadIndexText(ReadWholeFile(indexPath, MaxDataFileSize), patternDir);
}

void TArrangeList::LoadIndexText(std::string_view text, const std::string& patternDir)
{
    // Entries added to the public lists by other means name whatever file they say.
    FNoFile.resize(FileNames.size(), 0);

    std::size_t pos = 0;
    while (pos < text.size())
    {
        // Lines end in CR LF, LF or CR; the break after the last line ends it and starts
        // nothing, while an empty line between two others is an entry of its own.
        std::string_view line;
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
        {
            line = text.substr(pos);
            pos = text.size();
        }
        else
        {
            line = text.substr(pos, end - pos);
            pos = end + 1;
            if (text[end] == '\r' && pos < text.size() && text[pos] == '\n')
                ++pos;
        }

        // A zero byte ends the text of its line: file names and display names end there
        // wherever they go (the project file keeps a name up to its zero byte).
        line = line.substr(0, line.find('\0'));

        std::string fileName;
        std::string name;
        const std::size_t bar = line.find('|');
        if (bar != std::string_view::npos)
        {
            fileName = TrimBlanks(line.substr(0, bar));
            std::replace(fileName.begin(), fileName.end(), '\\', '/');
            // The display part is read as 64 characters and then trimmed; the cut to 63
            // bytes lets every name fit the 64-byte field of the project file.
            const std::string shown = CutName(line.substr(bar + 1), DisplayNameChars,
                                              std::numeric_limits<std::size_t>::max());
            name = CutName(TrimBlanks(shown));
        }

        FileNames.push_back(fileName.empty() ? patternDir : JoinPath(patternDir, fileName));
        Names.push_back(std::move(name));
        FNoFile.push_back(fileName.empty() ? 1 : 0);
    }
}

int TArrangeList::IndexOf(std::string_view name) const
{
    for (std::size_t i = 0; i < Names.size(); ++i)
    {
        if (SameTextIgnoringCase(Names[i], name))
            return static_cast<int>(i);
    }
    return -1;
}

bool TArrangeList::NamesPattern(int index) const
{
    if (index < 0 || index >= Count())
        return false;
    const auto i = static_cast<std::size_t>(index);
    if (i < FNoFile.size() && FNoFile[i] != 0)
        return false;
    return !FileNames[i].empty();
}

std::string TArrangeList::FindPatternFile(std::string_view name) const
{
    const int index = IndexOf(name);
    if (!NamesPattern(index))
        return {};
    return ResolvePatternFile(FileNames[static_cast<std::size_t>(index)]);
}

std::string ResolvePatternFile(const std::string& path)
{
    std::error_code ec;
    if (path.empty() || std::filesystem::exists(path, ec))
        return path;

    // Walk the path one component at a time, taking each as written when it exists and
    // otherwise the entry of its directory that differs only in letter case.
    std::string resolved;
    std::size_t pos = 0;
    if (path.front() == '/')
    {
        resolved = "/";
        pos = 1;
    }
    while (pos < path.size())
    {
        std::size_t slash = path.find('/', pos);
        if (slash == std::string::npos)
            slash = path.size();
        const std::string_view component = std::string_view(path).substr(pos, slash - pos);
        pos = slash + 1;
        if (component.empty())
            continue;

        std::string candidate = JoinPath(resolved, component);
        if (!std::filesystem::exists(candidate, ec))
        {
            const std::string match = FindIgnoringCase(resolved, component);
            // Nothing matches: the caller gets the path as listed, so its error names it.
            if (match.empty())
                return path;
            candidate = JoinPath(resolved, match);
        }
        resolved = std::move(candidate);
    }
    return resolved;
}

void LoadPatternLibraries(const std::string& patternDir, const std::string& userPatternDir)
{
    struct TLibrary
    {
        TArrangeList* List;
        const char* IndexFile;
    };
    const TLibrary libraries[] = {{&BackPatterns, "BACK00.DAT"},
                                  {&BassPatterns, "BASS00.DAT"},
                                  {&DrumPatterns, "DRUM00.DAT"}};

    for (const TLibrary& library : libraries)
        library.List->Clear();
    for (const TLibrary& library : libraries)
        library.List->LoadIndex(ResolvePatternFile(JoinPath(patternDir, library.IndexFile)),
                                patternDir);

    // The user's additions are optional, each file on its own: those beside the program
    // first, then those in the user's data folder.
    std::vector<std::string> userLibraries = {patternDir};
    if (!userPatternDir.empty())
        userLibraries.push_back(userPatternDir);
    for (const std::string& base : userLibraries)
    {
        const std::string userDir = JoinPath(base, "USER");
        for (const TLibrary& library : libraries)
        {
            try
            {
                library.List->LoadIndex(ResolvePatternFile(JoinPath(userDir, library.IndexFile)),
                                        base);
            }
            catch (const ELyravaneError&)
            {
            }
        }
    }
}

std::string FindPatternDir(const std::string& programDir)
{
    return FindProgramData(programDir, "PATTERN", true);
}

#include "midi/PatternCheck.h"

#include "base/Exceptions.h"
#include "base/FileIO.h"
#include "base/Text.h"
#include "midi/ArrangeList.h"
#include "midi/MidiData.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace
{
// General MIDI defines percussion on keys 35 (acoustic bass drum) to 81 (open triangle).
constexpr int LowestDrumKey = 35;
constexpr int HighestDrumKey = 81;
// A report names this many faults of one sort; the rest are counted.
constexpr int MaxFaultsOfASort = 3;
constexpr std::size_t MaxNameBytes = 63;

struct TKindInfo
{
    const char* Word;
    const char* Name;
    const char* IndexFile;
    const char* FilePrefix;
};
constexpr std::array<TKindInfo, 3> Kinds = {
    {{"back", Core::Tr("acompañamiento"), "BACK00.DAT", "BACK"},
     {"bass", Core::Tr("bajo"), "BASS00.DAT", "BASS"},
     {"drum", Core::Tr("batería"), "DRUM00.DAT", "DRUM"}}};

const TKindInfo& Info(TPatternKind kind)
{
    return Kinds[static_cast<std::size_t>(kind)];
}

/// Faults of one sort: the first few in full, then how many more.
class TFaultList
{
public:
    explicit TFaultList(std::vector<TMessage>& problems) : FProblems(problems) {}
    void Add(TMessage text)
    {
        if (++FCount <= MaxFaultsOfASort)
            FProblems.push_back(std::move(text));
    }
    /// Says how many notes with the fault were left out.
    void Close()
    {
        const int more = FCount - MaxFaultsOfASort;
        if (more > 0)
            FProblems.push_back(more > 1 ? Msg(Core::Tr("y %1 notas más como estas"), more)
                                         : Msg(Core::Tr("y %1 notas más como esta"), more));
        FCount = 0;
    }

private:
    std::vector<TMessage>& FProblems;
    int FCount = 0;
};

void CheckTimeSignatures(const TMidiData& midi, std::vector<TMessage>& problems)
{
    for (const auto& track : midi.Tracks)
        for (const auto& e : *track)
            if (e->DataSize() >= 4 && e->Data[0] == 0xFF && e->Data[1] == 0x58)
            {
                const int numerator = e->Data[2];
                const int denominator = e->Data[3] < 8 ? 1 << e->Data[3] : 0;
                if (numerator != 4 || denominator != 4)
                {
                    problems.push_back(
                        Msg(Core::Tr("el compás es %1/%2; se espera 4/4"), numerator, denominator));
                    return;
                }
            }
}

bool IsNoteOn(const TMidiEvent& e)
{
    return (e.Status() & 0xF0) == 0x90 && e.DataSize() == 3 && e.Data[2] > 0;
}
} // namespace

bool ParsePatternKind(std::string_view word, TPatternKind& kind)
{
    for (std::size_t i = 0; i < Kinds.size(); ++i)
        if (word == Kinds[i].Word)
        {
            kind = static_cast<TPatternKind>(i);
            return true;
        }
    return false;
}

const char* PatternKindName(TPatternKind kind)
{
    return Info(kind).Name;
}

const char* PatternIndexFile(TPatternKind kind)
{
    return Info(kind).IndexFile;
}

TArrangeList& PatternLibrary(TPatternKind kind)
{
    switch (kind)
    {
    case TPatternKind::Bass:
        return BassPatterns;
    case TPatternKind::Drum:
        return DrumPatterns;
    default:
        return BackPatterns;
    }
}

TMessage TPatternCheck::ReportMessage() const
{
    // The lines' frames ("%1\n", "- %1\n%2") are not words: no translation has them.
    const TMessage kind = Msg(PatternKindName(Kind));
    if (Usable())
        return Msg("%1\n", Msg(Core::Tr("el patrón de %1 se puede usar: %2 compases, %3 notas"),
                               kind, Bars, Notes));
    TMessage lines = Verbatim("");
    for (std::size_t i = Problems.size(); i-- > 0;)
        lines = Msg("- %1\n%2", Problems[i], std::move(lines));
    return Msg("%1\n%2", Msg(Core::Tr("el patrón de %1 no se puede usar:"), kind),
               std::move(lines));
}

std::string TPatternCheck::Report() const
{
    return ReportMessage().Str();
}

TPatternCheck CheckPattern(const TMidiData& midi, TPatternKind kind)
{
    TPatternCheck check;
    check.Kind = kind;
    CheckTimeSignatures(midi, check.Problems);

    const std::int64_t bar = midi.BarLength();
    std::int64_t lastEnd = 0;
    TFaultList open(check.Problems);
    TFaultList across(check.Problems);
    TFaultList drums(check.Problems);
    for (const auto& track : midi.Tracks)
        for (const auto& e : *track)
        {
            if (!IsNoteOn(*e))
                continue;
            ++check.Notes;
            const int key = e->Data[1];
            const std::int64_t start = e->Time;
            const long long barNumber = start / bar + 1;
            if (e->Duration < 0)
            {
                open.Add(Msg(Core::Tr("la nota %1 del compás %2 no termina"), key, barNumber));
                lastEnd = std::max(lastEnd, start + 1);
                continue;
            }
            const std::int64_t end = start + std::max<std::int64_t>(e->Duration, 1);
            lastEnd = std::max(lastEnd, end);
            if ((end - 1) / bar != start / bar)
                across.Add(Msg(Core::Tr("la nota %1 del compás %2 pasa la barra del compás"), key,
                               barNumber));
            if (kind == TPatternKind::Drum && (key < LowestDrumKey || key > HighestDrumKey))
                drums.Add(Msg(Core::Tr("la nota %1 del compás %2 no es un instrumento de percusión "
                                       "de General MIDI (%3 a %4)"),
                              key, barNumber, LowestDrumKey, HighestDrumKey));
        }
    open.Close();
    across.Close();
    drums.Close();

    check.Bars = static_cast<int>((lastEnd + bar - 1) / bar);
    if (check.Notes == 0)
        check.Problems.insert(check.Problems.begin(), Msg(Core::Tr("el archivo no tiene notas")));
    else if (check.Bars != PatternBarCount)
        check.Problems.insert(
            check.Problems.begin(),
            Msg(check.Bars == 1 ? Core::Tr("el patrón de %1 tiene %2 compás; se esperan %3")
                                : Core::Tr("el patrón de %1 tiene %2 compases; se esperan %3"),
                Msg(PatternKindName(kind)), check.Bars, PatternBarCount));
    return check;
}

TPatternCheck CheckPatternBytes(std::string_view bytes, TPatternKind kind)
{
    TMidiData midi;
    try
    {
        midi.LoadFromString(bytes);
    }
    catch (const EInvalidMidiFile& e)
    {
        TPatternCheck check;
        check.Kind = kind;
        check.Problems.push_back(
            Msg(Core::Tr("el archivo no es un MIDI que se pueda leer (%1)"), e.Message()));
        return check;
    }
    return CheckPattern(midi, kind);
}

std::string CheckNewPatternName(std::string_view name, const TArrangeList& library)
{
    std::string trimmed(TrimBlanks(name));
    if (trimmed.empty())
        throw ELyravaneError(Core::Tr("el patrón necesita un nombre"));
    if (trimmed.size() > MaxNameBytes)
        throw ELyravaneError(Msg(Core::Tr("el nombre es demasiado largo: %1 bytes; caben %2"),
                                 trimmed.size(), MaxNameBytes));
    for (const char c : trimmed)
        if (c == '|' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            throw ELyravaneError(
                Core::Tr("el nombre no puede llevar «|» ni caracteres de control"));
    if (library.IndexOf(trimmed) >= 0)
        throw ELyravaneError(Msg(Core::Tr("ya hay un patrón llamado «%1»"), trimmed));
    return trimmed;
}

std::string AddUserPattern(const std::string& userPatternDir, TPatternKind kind,
                           const std::string& sourcePath, std::string_view name)
{
    namespace fs = std::filesystem;
    const std::string shown = CheckNewPatternName(name, PatternLibrary(kind));
    const std::string bytes = ReadWholeFile(sourcePath);
    const TPatternCheck check = CheckPatternBytes(bytes, kind);
    if (!check.Usable())
        throw ELyravaneError(check.ReportMessage());

    const fs::path userDir = fs::path(userPatternDir) / "USER";
    std::error_code ec;
    fs::create_directories(userDir, ec);
    if (ec)
        throw EFCreateError(userDir.string(), ec.message());

    // Two copies of the program may add patterns at once: the choice of a file name and the
    // index's read-modify-write happen under one lock, which the system lets go of when its
    // holder ends, however it ends.
    const TFileLock lock((userDir / ".index.lock").string());

    // A free 8.3 name of the kind, BACKU001.MID, BACKU002.MID ..., taken by creating it, so
    // that no writer that skips the lock can take it too.
    std::string fileName;
    for (int n = 1; n <= 999 && fileName.empty(); ++n)
    {
        char candidate[16];
        std::snprintf(candidate, sizeof candidate, "%sU%03d.MID", Info(kind).FilePrefix, n);
        const int fd = ::open((userDir / candidate).c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd >= 0)
        {
            ::close(fd);
            fileName = candidate;
        }
        else if (errno != EEXIST)
            throw EFCreateError((userDir / candidate).string(), std::strerror(errno));
    }
    if (fileName.empty())
        throw ELyravaneError(Msg(Core::Tr("la biblioteca del usuario ya tiene 999 patrones de %1"),
                                 Msg(PatternKindName(kind))));

    const fs::path target = userDir / fileName;
    try
    {
        WriteFileAtomically(target.string(), bytes);
        const std::string indexPath = (userDir / PatternIndexFile(kind)).string();
        std::string index;
        if (fs::exists(indexPath, ec))
            index = ReadWholeFile(indexPath);
        if (!index.empty() && index.back() != '\n' && index.back() != '\r')
            index.push_back('\n');
        index += "USER/" + fileName + " | " + shown + "\n";
        WriteFileAtomically(indexPath, index);
    }
    catch (...)
    {
        fs::remove(target, ec); // no file without its index line
        throw;
    }
    return target.string();
}
